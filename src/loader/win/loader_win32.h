// The Windows half of VykLoader: reports, the private folder and file that
// receive the engine library, and the parts of the engine's command line
// that come from the loader's own file.
#pragma once

#include "loader/peimage.h"

#include <windows.h>

#include <string>

namespace vyk {

// Formats a report (cut to the report buffer, ending in a line feed), writes
// it to the debugger output and shows it in a message box captioned
// "VYK Loader" with the error icon and the service-notification flag; when
// VYK_MESSAGE_LOG names a file, a line is appended there instead of the box.
void Report(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string ToAnsi(const std::wstring& s);
std::wstring FromAnsi(const std::string& s);

// The "Arguments" string of the file's version block, in the ANSI code page;
// empty when there is none.
std::string ReadArgumentsString(const std::wstring& path);
// The argument trailer at the end of the file, converted to the ANSI code
// page; empty when there is none.
std::string ReadTrailerText(const std::wstring& path);

// The engine library on disk. It is written into a freshly made folder with
// a random name that only the current user may open, and the file stays
// open without write or delete sharing until it has been loaded. Remove()
// (also run by the destructor) deletes what was made, and nothing else.
class EngineFile {
public:
    EngineFile() = default;
    ~EngineFile() { Remove(); }
    EngineFile(const EngineFile&) = delete;
    EngineFile& operator=(const EngineFile&) = delete;

    // Unpacks the engine from the stub section of loaderPath into
    // <tempDir><private folder>\<fileName>; returns the unpacking result.
    DWORD Extract(const std::wstring& tempDir, const std::wstring& fileName,
                  const std::wstring& loaderPath, const StubLocation& stub);
    // The library path (the intended one when the folder could not be made).
    const std::wstring& Path() const { return path_; }
    // Closes the handle that guarded the file until it was loaded.
    void ReleaseHold();
    // Deletes the file (retrying while it is still locked) and the folder.
    void Remove();

private:
    DWORD CreatePrivateFolder(const std::wstring& tempDir);

    std::wstring folder_;
    std::wstring path_;
    HANDLE folderHandle_ = INVALID_HANDLE_VALUE;
    HANDLE hold_ = INVALID_HANDLE_VALUE;
    bool fileCreated_ = false;
};

} // namespace vyk
