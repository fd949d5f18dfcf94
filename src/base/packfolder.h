// A folder tree packed into a stream, as appended to single-file menus:
//   int32 S; S times (string name, packed sub-folder);
//   int32 F; F times (string name, int32 size, size bytes).
// The empty folder packs to 8 bytes (two int32 zeros).
#pragma once

#include "base/report.h"
#include "base/stream.h"

#include <string>
#include <vector>

namespace orv {

// Entries of a folder in the platform's order, skipping "." and "..": the
// sub-folders when wantFolders, otherwise the files; without includeLauncher
// a file named exactly "autorun.exe" is left out.
void ListFolder(const std::string& folder, bool wantFolders, bool includeLauncher,
                std::vector<std::string>& list);

// Packs folder at the stream's position. The launcher is left out (when
// includeLauncher is false) at the top level only. Returns false when a
// string, a sub-folder or a file fails; nothing is reported.
bool PackFolder(Stream& stream, const std::string& folder, bool includeLauncher);

// Unpacks into the existing folder. Every stored name must be a plain file
// name (no separators, ".", "..", drive colons or device names); counts,
// sizes and nesting are checked against the bytes that remain before
// anything is created. Every failure is reported once: a sub-folder or file
// that cannot be created with code 101 and its path, a rejected name or
// damaged data with a plain message.
bool UnpackFolder(Stream& stream, const std::string& folder, Reporter& reporter);

// Deletes every file of every sub-folder depth-first, then the files of the
// folder and the folder itself; failures are ignored. Refuses (returns
// false, deletes nothing) an empty path, a relative path or a drive root.
bool DeleteFolderTree(const std::string& folder);

// True when the folder does not exist or holds no entries.
bool IsFolderEmpty(const std::string& folder);

inline constexpr const char* kPackedDataDamagedText = "The packed project data is damaged.";

// Nesting limit of packed folders.
inline constexpr int kMaxPackDepth = 64;

} // namespace orv
