// File-system calls on ANSI path strings. On Windows they go to the wide
// functions after converting from the ANSI code page (names are stored and
// shown as the user's code page bytes); natively they use POSIX calls, so
// the portable layers can be tested on Linux.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orv::fsys {

// The separator of the platform's paths.
#ifdef _WIN32
inline constexpr char kSep = '\\';
#else
inline constexpr char kSep = '/';
#endif

// folder + separator + name (no doubled separator).
std::string Join(const std::string& folder, const std::string& name);

std::FILE* OpenFile(const std::string& path, const char* mode);
bool FileExists(const std::string& path);      // a file, not a folder
bool DirectoryExists(const std::string& path); // a folder
bool CreateDir(const std::string& path);       // false when it exists or fails
bool RemoveFile(const std::string& path);
bool RemoveDir(const std::string& path); // only an empty folder
// Names of the entries of a folder in the platform's order, skipping "."
// and "..": sub-folders when dirs is true, otherwise files. Symbolic links
// and reparse points are listed as what they point to is never followed:
// they are left out, so packing and deleting never leave the tree.
bool ListDir(const std::string& folder, bool dirs, std::vector<std::string>& names);
// True when the path is a symbolic link or reparse point.
bool IsLink(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to, bool overwrite);
// Replaces `to` with `from` in one step (both on the same volume).
bool MoveReplace(const std::string& from, const std::string& to);
bool ClearReadOnly(const std::string& path);
bool FileSize(const std::string& path, int64_t& size);
// The whole content of a file of at most maxSize bytes. False when the file
// is missing, larger, or cannot be read to its end; out is then untouched.
bool ReadFileBytes(const std::string& path, int64_t maxSize, std::vector<uint8_t>& out);
// Modification time as seconds since 1970, or -1.
int64_t FileAge(const std::string& path);
// The temporary folder, without a trailing separator.
std::string TempFolder();
// Full path of the running executable.
std::string ExecutablePath();

// The platform's error number of the last failed call and its text.
int LastErrorNumber();
std::string ErrorText(int number);

} // namespace orv::fsys
