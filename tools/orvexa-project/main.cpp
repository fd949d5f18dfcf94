// orvexa-project: a command-line view of project files.
//
//   orvexa-project dump FOLDER_OR_FILE
//       prints the project settings, the page table and every page's object
//       tree with kinds, paths and action lists;
//   orvexa-project roundtrip IN OUT
//       reads a project with every page parsed into objects and writes it
//       back from the model (no page record is copied as bytes), keeping the
//       header key so the two files can be compared byte for byte.
//
// A damaged file gives its message on stderr and exit code 1.
#include "base/fsys.h"
#include "base/report.h"
#include "model/dump.h"
#include "model/project.h"

#include <cstdio>
#include <string>

using namespace orv;
using namespace orv::model;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: orvexa-project dump FOLDER_OR_FILE\n"
                         "       orvexa-project roundtrip IN OUT\n");
    return 2;
}

// A folder stands for the project file in it.
std::string ProjectFileOf(const std::string& path) {
    if (fsys::DirectoryExists(path))
        return fsys::Join(path, kProjectFileName);
    return path;
}

bool Load(TAuProject& project, const std::string& file, Reporter& r) {
    ProjectReadOptions o;
    o.readSummaries = true; // and nobody is asked for a password
    return ReadProjectFile(project, file, r, o);
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int Dump(const std::string& path) {
    StderrReporter r;
    std::string file = ProjectFileOf(path);
    TAuProject project;
    if (!Load(project, file, r))
        return 1;
    Print(DumpProject(project));
    for (size_t i = 0; i < project.Pages.size(); ++i) {
        Print("Page [" + std::to_string(i) + "] \"" + project.Pages[i]->Name + "\"\n");
        TPageRecord page;
        if (!ReadProjectPage(project, static_cast<int>(i), file, page, r))
            return 1;
        Print(DumpPage(page));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int RoundTrip(const std::string& in, const std::string& out) {
    StderrReporter r;
    std::string file = ProjectFileOf(in);
    TAuProject project;
    if (!Load(project, file, r))
        return 1;
    for (size_t i = 0; i < project.Pages.size(); ++i) {
        TPageRecord page;
        if (!ReadProjectPage(project, static_cast<int>(i), file, page, r))
            return 1;
        // The record goes out from the parsed page, not from the file's bytes;
        // the summary stays as it was read.
        auto cache = std::make_unique<MemoryStream>();
        if (!WritePageRecord(*cache, page, r))
            return 1;
        project.Pages[i]->Cache = std::move(cache);
    }
    ProjectWriteOptions o;
    o.reuseHeader = true;
    if (!WriteProjectFile(project, ProjectFileOf(out), "", r, o))
        return 1;
    std::printf("%zu pages written\n", project.Pages.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "dump")
        return Dump(argv[2]);
    if (argc == 4 && std::string(argv[1]) == "roundtrip")
        return RoundTrip(argv[2], argv[3]);
    return Usage();
}
