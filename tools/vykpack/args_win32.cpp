#include "args.h"

#include <windows.h>

#include <shellapi.h>

// The narrow arguments of a Windows program are in the ANSI code page; the
// wide command line has every character.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string s(size_t(n > 0 ? n : 1), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, s.data(), n, nullptr, nullptr);
        s.resize(s.size() - 1); // the terminator
        args.push_back(std::move(s));
    }
    LocalFree(wide);
    return args;
}
