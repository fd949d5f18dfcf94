// orvexa-demo: writes the bundled demo menu into a folder.
//
//   orvexa-demo OUTPUT_FOLDER
//
// The folder gets autorun.aru and the media files the pages use; publish it
// with orvexa-publish --launcher to add autorun.exe. Exit code 0 on success,
// 1 when writing failed, 2 on a wrong command line.
#include "base/report.h"
#include "demo.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]).empty() || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: orvexa-demo OUTPUT_FOLDER\n");
        return 2;
    }
    orv::StderrReporter reporter;
    if (!orv::demo::WriteDemoFolder(argv[1], reporter))
        return 1;
    std::printf("demo project written to %s\n", argv[1]);
    return 0;
}
