// Windows file-system calls. Paths arrive as ANSI strings and go to the wide
// functions, so names outside the code page's ASCII range work. This is the
// one file of the portable layers that includes <windows.h>: the stream and
// folder code above it stays platform-free.
#ifdef _WIN32
#include "base/fsys.h"

#include <windows.h>

namespace orv::fsys {

namespace {
std::wstring Wide(const std::string& s) {
    if (s.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}
std::string Narrow(const wchar_t* w) {
    int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string s(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}
DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str());
}
} // namespace

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + '\\' + name;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

bool FileExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr);
}
bool RemoveFile(const std::string& path) {
    return DeleteFileW(Wide(path).c_str());
}
bool RemoveDir(const std::string& path) {
    return RemoveDirectoryW(Wide(path).c_str());
}

bool IsLink(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool ListDir(const std::string& folder, bool dirs, std::vector<std::string>& names) {
    names.clear();
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Wide(Join(folder, "*")).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        bool isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir == dirs)
            names.push_back(Narrow(fd.cFileName));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return true;
}

bool CopyFileTo(const std::string& from, const std::string& to, bool overwrite) {
    return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), overwrite ? FALSE : TRUE);
}

bool MoveReplace(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool ClearReadOnly(const std::string& path) {
    DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    return SetFileAttributesW(Wide(path).c_str(), a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

bool FileSize(const std::string& path, int64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &d) ||
        (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    size = (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    return true;
}

int64_t FileAge(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &d))
        return -1;
    ULARGE_INTEGER t;
    t.LowPart = d.ftLastWriteTime.dwLowDateTime;
    t.HighPart = d.ftLastWriteTime.dwHighDateTime;
    // 100 ns ticks since 1601 to seconds since 1970.
    return static_cast<int64_t>(t.QuadPart / 10000000ULL) - 11644473600LL;
}

std::string TempFolder() {
    wchar_t buf[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    if (n == 0 || n > MAX_PATH)
        return {};
    std::string s = Narrow(buf);
    while (s.size() > 3 && (s.back() == '\\' || s.back() == '/'))
        s.pop_back();
    return s;
}

std::string ExecutablePath() {
    std::wstring buf(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0 || n >= buf.size())
        return {};
    buf.resize(n);
    return Narrow(buf.c_str());
}

int LastErrorNumber() {
    return static_cast<int>(GetLastError());
}

std::string ErrorText(int number) {
    wchar_t* msg = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(number), 0, reinterpret_cast<wchar_t*>(&msg), 0, nullptr);
    std::string s;
    if (n && msg)
        s = Narrow(msg);
    if (msg)
        LocalFree(msg);
    return s;
}

} // namespace orv::fsys
#endif
