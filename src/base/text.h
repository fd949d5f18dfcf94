// Small text helpers with the platform's ASCII rules: names and paths are
// compared in upper case, blanks are trimmed as the platform's Trim does
// (every byte up to and including the space).
#pragma once

#include <string>
#include <string_view>

namespace orv {

std::string UpperAscii(std::string_view s);
bool SameTextAscii(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);
std::string TrimRight(std::string_view s);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
// Decimal text of a signed number, as written in messages.
std::string IntToStr(long long v);

} // namespace orv
