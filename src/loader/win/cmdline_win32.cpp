#include "loader/cmdline.h"
#include "loader/win/loader_win32.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace vyk {

namespace {

std::string WideToAnsi(const wchar_t* s, size_t n) {
    return ToAnsi(std::wstring(s, n));
}

std::string Utf8ToAnsi(std::string_view s) {
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), wide.data(), n);
    return ToAnsi(wide);
}

std::string Utf16ToAnsi(std::string_view bytes) {
    // The mapping gives no alignment guarantee for the text: copy it.
    std::wstring wide(bytes.size() / 2, L'\0');
    std::memcpy(wide.data(), bytes.data(), wide.size() * 2);
    return ToAnsi(wide);
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_ && h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ && h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

} // namespace

std::string ReadArgumentsString(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return {};
    void* p = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &p, &len) || len < 4)
        return {};
    const WORD* pair = static_cast<const WORD*>(p);
    wchar_t key[64];
    std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\Arguments", unsigned(pair[0]),
                  unsigned(pair[1]));
    if (!VerQueryValueW(block.data(), key, &p, &len) || len == 0)
        return {};
    const wchar_t* value = static_cast<const wchar_t*>(p);
    return WideToAnsi(value, wcsnlen(value, len));
}

std::string ReadTrailerText(const std::wstring& path) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok())
        return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0)
        return {};
    Handle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping.ok())
        return {};
    const uint64_t offset = TrailerMapOffset(uint64_t(size.QuadPart));
    const size_t length = size_t(uint64_t(size.QuadPart) - offset);
    const void* view =
        MapViewOfFile(mapping.get(), FILE_MAP_READ, DWORD(offset >> 32), DWORD(offset), length);
    if (!view)
        return {};
    std::string text;
    const Trailer t = FindTrailer(static_cast<const uint8_t*>(view), length);
    switch (t.encoding) {
    case TrailerEncoding::Ansi:
        text.assign(t.text);
        break;
    case TrailerEncoding::Utf8:
        text = Utf8ToAnsi(t.text);
        break;
    case TrailerEncoding::Utf16:
        text = Utf16ToAnsi(t.text);
        break;
    case TrailerEncoding::None:
        break;
    }
    UnmapViewOfFile(view);
    return text;
}

} // namespace vyk
