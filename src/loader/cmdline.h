// The pieces of the engine's command line and of the loader's reports that
// need no platform: the library file name, the loader's own arguments, the
// argument trailer at the end of the executable, the joined command line,
// and bounded report formatting.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vyk {

// Texts of the loader's reports. Each report ends with a line feed, which
// FormatReport adds.
namespace msg {
inline constexpr const char* kCaption = "VYK Loader";
inline constexpr const char* kModuleFileName = "GetModuleFileName() failed => %u";
inline constexpr const char* kNoMzSignature = "Executable has no valid MZ signature";
inline constexpr const char* kNoStubSection = "Executable has no .vykstub section";
inline constexpr const char* kTempPath = "GetTempPath() failed => %u";
inline constexpr const char* kExtracting = "Error %u while extracting VYK.DLL to %s";
inline constexpr const char* kLoading = "Error %u while loading VYK.DLL %s";
inline constexpr const char* kEntryPoint =
    "Error %u while retrieving VykRunInstaller() entry point from %s";
} // namespace msg

// Exit codes of the loader's own failures.
namespace exitcode {
inline constexpr int kNoPath = 255;   // own path or temporary folder
inline constexpr int kBadImage = 254; // image or stub section unusable
inline constexpr int kNoEngine = 249; // unpacking, loading or binding
} // namespace exitcode

// The engine's entry point. A 32-bit engine exports it with the decoration
// of the platform's standard API convention (@8: two 32-bit arguments); on
// 64-bit Windows there is one calling convention and no decoration.
inline constexpr const char* kEngineEntryName32 = "_VykRunInstallerA@8";
inline constexpr const char* kEngineEntryName64 = "VykRunInstallerA";
inline constexpr size_t kModulePathMax = 260;
inline constexpr size_t kReportBufferSize = 1032;
inline constexpr size_t kTempPathBufferSize = 1032;

// "Vyk-%04X.dll" with the high 16 bits of the process identifier exclusive-or
// its low 16 bits.
std::string LibraryFileName(uint32_t processId);

// The loader's own arguments: the process command line after leading spaces,
// the program name (up to the closing double quote when it starts with one,
// else up to the next space) and the spaces after it.
std::string_view OwnArguments(std::string_view commandLine);

enum class TrailerEncoding { None, Ansi, Utf8, Utf16 };

struct Trailer {
    TrailerEncoding encoding = TrailerEncoding::None;
    // The text between the frames, as stored: bytes in the ANSI code page,
    // UTF-8 without its mark, or UTF-16 little-endian. Cut at the first NUL
    // character, which would otherwise end the engine's command line early.
    std::string_view text;
};

// Looks for the argument trailer in the mapped end of the executable file
// (tail holds the last size bytes of the file).
Trailer FindTrailer(const uint8_t* tail, size_t size);

// Where the mapping of the file's end starts: the 64 KiB boundary at or
// below fileSize - 64 KiB (0 for small files).
uint64_t TrailerMapOffset(uint64_t fileSize);

// "%s %s %s" of the Arguments string, the trailer text and the loader's own
// arguments, then " /d:\"%s\"" with the loader's path.
std::string BuildEngineCommandLine(std::string_view arguments, std::string_view trailer,
                                   std::string_view own, std::string_view loaderPath);

// Formats a report into buf (kReportBufferSize characters with the
// terminator) and ends it with a line feed. A long text is cut so that the
// line feed still fits; returns the length.
size_t FormatReport(char* buf, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
size_t FormatReportV(char* buf, const char* format, va_list args);

// One line of the test message log: kind, caption, text and flags separated
// by tabs, with CR, LF, TAB and backslash in the texts written as \r, \n,
// \t and \\, ending in a line feed.
std::string MessageLogLine(std::string_view caption, std::string_view text, std::string_view flags);

} // namespace vyk
