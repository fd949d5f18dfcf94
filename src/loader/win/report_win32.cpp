#include "loader/cmdline.h"
#include "loader/win/loader_win32.h"

#include <cstdarg>

namespace vyk {

namespace {

constexpr UINT kReportFlags = MB_OK | MB_ICONERROR | MB_SERVICE_NOTIFICATION;
constexpr const char* kReportFlagsText = "MB_OK|MB_ICONERROR|MB_SERVICE_NOTIFICATION";
constexpr DWORD kLogPathMax = 1024;

// Appends the report to the test message log; false when there is none.
bool WriteMessageLog(const char* text) {
    wchar_t path[kLogPathMax];
    const DWORD n = GetEnvironmentVariableW(L"VYK_MESSAGE_LOG", path, kLogPathMax);
    if (n == 0 || n >= kLogPathMax)
        return false;
    const std::string line = MessageLogLine(msg::kCaption, text, kReportFlagsText);
    HANDLE f = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return true; // asked for a log: never fall back to a box nobody answers
    DWORD written = 0;
    WriteFile(f, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(f);
    return true;
}

} // namespace

void Report(const char* format, ...) {
    char text[kReportBufferSize];
    va_list ap;
    va_start(ap, format);
    FormatReportV(text, format, ap);
    va_end(ap);
    OutputDebugStringA(text);
    if (WriteMessageLog(text))
        return;
    MessageBoxA(nullptr, text, msg::kCaption, kReportFlags);
}

std::string ToAnsi(const std::wstring& s) {
    if (s.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, s.data(), int(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& s) {
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring out(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), out.data(), n);
    return out;
}

} // namespace vyk
