// Version information of executables: reading one string of the
// "040904E4" table, and patching strings in place. A version resource is a
// tree of nodes (length, value length, type, UTF-16 key, value, children);
// the launcher's strings are stored padded, so a patch overwrites the
// stored characters and never changes the size of anything.
#pragma once

#include "base/stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::pe {

// The string table used everywhere: US English, Windows Latin-1.
inline constexpr const char* kVersionTable = "040904E4";

// Where one string value sits in a version resource.
struct VersionValue {
    size_t offset = 0; // byte offset of the value's first character
    size_t room = 0;   // characters stored before the terminating zero
};

// Finds VS_VERSION_INFO \ StringFileInfo \ table \ key in a version
// resource. Keys compare ignoring the case of a-z. False when the path does
// not exist or the resource is damaged on the way.
bool FindVersionValue(const uint8_t* res, size_t size, std::string_view table, std::string_view key,
                      VersionValue& value);
std::u16string ReadVersionValue(const uint8_t* res, size_t size, const VersionValue& value);
// Writes at most value.room characters of text; a shorter text leaves the
// rest of the old value in place.
void WriteVersionValue(uint8_t* res, size_t size, const VersionValue& value,
                       std::u16string_view text);

// One string to patch. With padToRoom the text is padded with blanks to the
// stored length, so nothing of the old value stays.
struct VersionEdit {
    std::string key;
    std::u16string text;
    bool padToRoom = false;
};

// Patches the strings of the file's version resource in place. The file
// keeps its length and every byte outside the patched characters. All keys
// are looked up before anything is written, so a failure leaves the file as
// it was. Throws ResourceUpdateError.
void SetVersionStrings(const std::string& file, const std::vector<VersionEdit>& edits);
// The same with texts in the single-byte code page of the table.
void SetVersionStrings(const std::string& file,
                       const std::vector<std::pair<std::string, std::string>>& strings);

// The version resource of a file image in a stream: its bytes and the file
// position of its first byte. Throws ResourceUpdateError with the messages
// of the in-place patch.
std::vector<uint8_t> LocateVersionResource(Stream& s, int64_t& filePosition);

// The value of "StringFileInfo\040904E4\" + key, up to its terminating
// zero and converted to the code page; empty when the file does not exist,
// is no PE file, has no version information or lacks the key.
std::string ReadVersionString(const std::string& file, const std::string& key);
bool ReadVersionStringUtf16(const std::string& file, const std::string& key, std::u16string& value);
// The same from an executable image in a stream.
bool ReadVersionStringFrom(Stream& s, const std::string& key, std::u16string& value);

} // namespace orv::pe
