// Feeds arbitrary bytes to the project file reader as the editor reads it
// (summaries, a password prompt). A project that reads is saved with its
// page records copied from the same bytes, read back, and must describe the
// same pages; every page record that lies inside the input is parsed too.
#include "model/page.h"
#include "model/project.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace orv;
using namespace orv::model;

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// A failed read reports exactly once, a successful one not at all.
void CheckReports(bool ok, const RecordingReporter& r) {
    Check(ok ? r.entries.empty() : r.entries.size() == 1, "one report for each failure");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ViewStream in(data, size);
    RecordingReporter r;
    TAuProject project;
    ProjectReadOptions options;
    options.readSummaries = true;
    options.askPassword = [](const std::string&, const std::string&, std::string& answer) {
        answer = "x";
        return true;
    };
    bool ok = ReadProjectStream(project, in, "fuzz.aru", r, options);
    CheckReports(ok, r);
    if (!ok) {
        Check(project.Pages.empty(), "a failed read leaves an empty project");
        return 0;
    }

    // Parse the page records that lie inside the input (a few of them).
    for (size_t i = 0; i < project.Pages.size() && i < 4; ++i) {
        const TFormData& e = *project.Pages[i];
        if (e.Position < 0 || e.Length < 0 || static_cast<uint64_t>(e.Position) + e.Length > size)
            continue;
        ViewStream page(data + e.Position, static_cast<size_t>(e.Length));
        TPageRecord rec;
        RecordingReporter pr;
        CheckReports(ReadPageRecord(page, rec, pr), pr);
    }

    // Save with the input as the old file: entries outside it fail the save.
    MemoryStream out;
    RecordingReporter wr;
    std::vector<PageSpan> spans;
    ProjectWriteOptions wo;
    wo.reuseHeader = true;
    in.Seek(0);
    bool saved = WriteProjectStream(project, out, &in, "out.aru", wr, wo, spans);
    CheckReports(saved, wr);
    if (!saved)
        return 0;
    MemoryStream back(out.Data());
    TAuProject again;
    RecordingReporter rr;
    Check(ReadProjectStream(again, back, "out.aru", rr, options), "a written project reads");
    Check(again.Pages.size() == project.Pages.size(), "same page count");
    for (size_t i = 0; i < project.Pages.size(); ++i) {
        const TFormData& a = *project.Pages[i];
        const TFormData& b = *again.Pages[i];
        Check(a.Name == b.Name && a.Summary == b.Summary, "same page entries");
        Check(b.Position == spans[i].Position && b.Length == spans[i].Length, "new positions");
        Check(b.Length == a.Length, "same record length");
        const auto& o = out.Data();
        Check(std::equal(o.begin() + b.Position, o.begin() + b.Position + b.Length,
                         data + a.Position),
              "page record copied unchanged");
    }
    Check(again.OnStart == project.OnStart && again.ApplicationTitle == project.ApplicationTitle,
          "same settings");
    return 0;
}
