// Texts typed by the user are in the platform's ANSI code page.
#include "publish/publish.h"

#include <windows.h>

namespace orv::publish {

std::u16string AnsiToUtf16(const std::string& text) {
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
    return std::u16string(w.begin(), w.end());
}

} // namespace orv::publish
