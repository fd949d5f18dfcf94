#include "base/path.h"

#include "base/text.h"

namespace orv {

namespace {
bool IsSep(char c) {
    return c == '\\' || c == '/';
}
} // namespace

std::string MakeProjectPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty())
        return {};
    std::string f = folder;
    if (f.back() == '\\')
        f.pop_back();
    if (name.front() == '\\')
        return f + name;
    return f + '\\' + name;
}

std::string MakeRelativePath(const std::string& folder, const std::string& path) {
    if (folder.empty() || path.size() < folder.size())
        return {};
    if (!SameTextAscii(path.substr(0, folder.size()), folder))
        return {};
    std::string rest = path.substr(folder.size());
    // The prefix must end at a folder boundary. A folder given with its
    // trailing backslash has already consumed the separator.
    bool folderEndsInSep = IsSep(folder.back());
    if (!rest.empty() && !folderEndsInSep && !IsSep(rest.front()))
        return {};
    if (rest.empty())
        return "\\";
    if (folderEndsInSep)
        return "\\" + rest;
    return rest;
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    if (path.size() > 1 && IsSep(path.back()) && !(path.size() == 3 && path[1] == ':'))
        return path.substr(0, path.size() - 1);
    return path;
}

std::string ExtractFileName(const std::string& path) {
    size_t p = path.find_last_of("\\/:");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ExtractFileDir(const std::string& path) {
    size_t p = path.find_last_of("\\/");
    if (p == std::string::npos)
        return {};
    if (p == 0)
        return path.substr(0, 1);
    if (p == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, p);
}

bool IsAbsolutePath(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && IsSep(path[2]))
        return true;
    if (path.size() >= 2 && IsSep(path[0]) && IsSep(path[1]))
        return true;
#ifndef _WIN32
    if (!path.empty() && path[0] == '/')
        return true;
#endif
    return false;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 255)
        return false;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|')
            return false;
    }
    if (name.back() == '.' || name.back() == ' ')
        return false;
    // Device names are reserved with any extension ("con.txt").
    std::string base = UpperAscii(name.substr(0, name.find('.')));
    static const char* const kDevices[] = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    for (const char* d : kDevices)
        if (base == d)
            return false;
    return true;
}

} // namespace orv
