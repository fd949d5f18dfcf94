// Text conversions the packer needs on every platform: UTF-8 to and from
// UTF-16, and UTF-8 to Windows-1252 for ANSI trailers.
#pragma once

#include <string>
#include <string_view>

namespace vyk {

// False for bytes that are not well-formed UTF-8 (overlong forms, surrogates,
// values above U+10FFFF).
bool Utf8ToUtf16(std::string_view in, std::u16string& out);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view in);
// False when a character has no Windows-1252 byte.
bool Utf8ToCp1252(std::string_view in, std::string& out);

} // namespace vyk
