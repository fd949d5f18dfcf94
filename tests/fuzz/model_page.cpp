// Feeds arbitrary bytes to the page record reader. A page that reads is
// written from the model and read again: the second reading must hold the
// same objects and write the same bytes.
#include "model/dump.h"
#include "model/page.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ViewStream in(data, size);
    RecordingReporter r;
    TPageRecord page;
    bool ok = ReadPageRecord(in, page, r);
    Check(ok ? r.entries.empty() : r.entries.size() == 1, "one report for each failure");
    if (!ok)
        return 0;
    MemoryStream first;
    Check(WritePageRecord(first, page, r), "a page that reads can be written");
    first.Seek(0);
    TPageRecord again;
    Check(ReadPageRecord(first, again, r), "a written page reads");
    Check(again.Root->SameContent(*page.Root), "same objects");
    MemoryStream second;
    Check(WritePageRecord(second, again, r), "written again");
    Check(second.Data() == first.Data(), "same bytes");
    Check(DumpPage(again) == DumpPage(page), "same dump");
    return 0;
}
