// The special-folder table: names usable as folder tokens such as
// [ProgramFiles], in their fixed order, each with the platform's CSIDL.
#pragma once

#include <string>

namespace orv {

struct TSpecialFolderInfo {
    int csidl;
    const char* name;
};

inline constexpr int kSpecialFolderCount = 57;
extern const TSpecialFolderInfo kSpecialFolders[kSpecialFolderCount];

// Index of a name in the table (exact, case-sensitive, first match), or -1.
int FindSpecialFolder(const std::string& name);

// The table index named by a token: text longer than 2 characters that
// begins with "[" and ends with "]" and whose inner name is in the table;
// otherwise -1. Tokens are recognised only as the whole text.
int ParseFolderToken(const std::string& text);

} // namespace orv
