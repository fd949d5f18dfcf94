// Windows-style path joining and relative names of project files. Stored
// names are relative to the project folder and usually begin with "\".
#pragma once

#include <string>

namespace orv {

// folder (one trailing "\" dropped) + "\" unless name begins with one +
// name; empty when either is empty.
std::string MakeProjectPath(const std::string& folder, const std::string& name);

// The rest of path after folder (compared in upper case), "\" when nothing
// is left; empty when path is not inside folder. The match must end at a
// folder boundary: C:\P does not claim C:\P2\a.mp3.
std::string MakeRelativePath(const std::string& folder, const std::string& path);

// Removes one trailing backslash (or slash), but keeps a drive root "C:\".
std::string ExcludeTrailingBackslash(const std::string& path);

// The part after the last "\" or "/" (the file name), and the part before it.
std::string ExtractFileName(const std::string& path);
std::string ExtractFileDir(const std::string& path);

// A path is absolute when it starts with a drive ("C:\"), a UNC prefix
// ("\\server"), or, natively, "/".
bool IsAbsolutePath(const std::string& path);

// A plain file or folder name that is safe to create inside a folder: not
// empty, not "." or "..", no separators, drive colons or control bytes,
// no trailing dot or blank, and none of the platform's device names.
bool IsPlainFileName(const std::string& name);

} // namespace orv
