// Runs the independent PE readers the tests compare against: pefile (via
// tests/data/pe/dump_resources.py for resources and version strings, and
// tests/unit/pe/pe_headers.py for the headers) and icoutils' wrestool. Tests
// skip the comparison when a reader is not installed and say so.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

// The linker-made 64-bit launcher of the test data (make_fixtures.sh).
inline std::string Launcher64File() {
    return DataFile("launcher64.exe");
}

// The launcher fixture as the linkers make it, in both kinds of image:
// the same resources, with the layout, sections and checksum that a real
// link gives.
struct BuiltLauncher {
    const char* name;
    std::string path;
    const char* magic; // as pe_headers.py prints it
};
inline std::vector<BuiltLauncher> CompilerBuiltLaunchers() {
    return {{"PE32", DataFile("launcher.exe"), "0x10b"}, {"PE32+", Launcher64File(), "0x20b"}};
}

// pefile's view of the headers (see pe_headers.py); false when pefile is
// missing.
inline bool PefileHeaders(const std::string& file, std::string& listing, int& status) {
    std::string script = std::string(ORVEXA_TEST_DATA) + "/../unit/pe/pe_headers.py";
    status = RunCommand(Quote(script) + " " + Quote(file) + " 2>&1", listing);
    return status != 2;
}

// The rest of the line that starts with key and a blank, e.g.
// HeaderValue(listing, "magic") == "0x20b"; empty when there is none.
inline std::string HeaderValue(const std::string& listing, const std::string& key) {
    std::string text = "\n" + listing;
    size_t at = text.find("\n" + key + " ");
    if (at == std::string::npos)
        return {};
    size_t from = at + key.size() + 2;
    return text.substr(from, text.find('\n', from) - from);
}

inline bool HaveWrestool() {
    std::string out;
    return RunCommand("wrestool --version 2>/dev/null", out) == 0;
}

} // namespace orv::test
