// Runs the independent PE readers the tests compare against: pefile (via
// tests/data/pe/dump_resources.py) and icoutils' wrestool. Tests skip the
// comparison when a reader is not installed and say so.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orv::test {

inline std::string DataFile(const std::string& name) {
    return std::string(ORVEXA_TEST_DATA) + "/pe/" + name;
}

// Output of a command, and its exit status.
inline int RunCommand(const std::string& command, std::string& output) {
    output.clear();
    std::FILE* p = popen(command.c_str(), "r");
    if (!p)
        return -1;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        output.append(buf, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

// pefile's listing of a file (see dump_resources.py); false when pefile is
// missing.
inline bool PefileListing(const std::string& file, std::string& listing, int& status) {
    status =
        RunCommand(Quote(DataFile("dump_resources.py")) + " " + Quote(file) + " 2>&1", listing);
    return status != 2;
}

inline bool HaveWrestool() {
    std::string out;
    return RunCommand("wrestool --version 2>/dev/null", out) == 0;
}

} // namespace orv::test
