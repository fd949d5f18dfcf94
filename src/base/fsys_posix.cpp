// POSIX file-system calls for the native builds (tests, tools, fuzzers).
#ifndef _WIN32
#include "base/fsys.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::fsys {

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == kSep)
        return folder + name;
    return folder + kSep + name;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0;
}
bool RemoveFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}
bool RemoveDir(const std::string& path) {
    return rmdir(path.c_str()) == 0;
}

bool IsLink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool ListDir(const std::string& folder, bool dirs, std::vector<std::string>& names) {
    names.clear();
    DIR* d = opendir(folder.c_str());
    if (!d)
        return false;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..")
            continue;
        struct stat st;
        if (lstat(Join(folder, n).c_str(), &st) != 0)
            continue;
        if (dirs ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode))
            names.push_back(n);
    }
    closedir(d);
    return true;
}

bool CopyFileTo(const std::string& from, const std::string& to, bool overwrite) {
    if (!overwrite && FileExists(to)) {
        errno = EEXIST;
        return false;
    }
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    std::FILE* out = std::fopen(to.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    std::vector<char> buf(1 << 16);
    bool ok = true;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0)
        if (std::fwrite(buf.data(), 1, n, out) != n) {
            ok = false;
            break;
        }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    ok = (std::fclose(out) == 0) && ok;
    struct stat st;
    if (ok && stat(from.c_str(), &st) == 0)
        chmod(to.c_str(), st.st_mode & 0777);
    return ok;
}

bool MoveReplace(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

bool ClearReadOnly(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return false;
    return chmod(path.c_str(), (st.st_mode & 0777) | S_IWUSR) == 0;
}

bool FileSize(const std::string& path, int64_t& size) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = st.st_size;
    return true;
}

int64_t FileAge(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return -1;
    return st.st_mtime;
}

std::string TempFolder() {
    const char* t = getenv("TMPDIR");
    std::string s = t && *t ? t : "/tmp";
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

std::string ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return std::string(buf, static_cast<size_t>(n));
}

int LastErrorNumber() {
    return errno;
}
std::string ErrorText(int number) {
    return std::strerror(number);
}

} // namespace orv::fsys
#endif
