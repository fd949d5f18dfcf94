// The single-byte code page of the version strings ("040904E4": US English,
// Windows Latin-1) to and from UTF-16, the encoding the resource stores.
#pragma once

#include <string>
#include <string_view>

namespace orv::pe {

std::u16string Cp1252ToUtf16(std::string_view text);
// Characters outside the code page become '?'.
std::string Utf16ToCp1252(std::u16string_view text);

} // namespace orv::pe
