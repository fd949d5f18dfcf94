// Icon files (.ico) and the icon group "MAINICON" of executables. An icon
// file is a 6-byte header (reserved, type, count N), N 16-byte entries
// (width, height, colour count, reserved, planes, bit count, byte size,
// file offset) and the images. In an executable the same images are icon
// resources, and a group resource lists them with 14-byte entries whose
// last field is the icon resource's number instead of a file offset.
#pragma once

#include "base/stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv::pe {

// Icon files larger than this are refused.
inline constexpr int64_t kMaxIconFileSize = 1048576;
inline constexpr const char* kMainIconName = "MAINICON";

struct IconImage {
    // The first 12 bytes of the directory entry: width, height, colour
    // count, reserved, planes (2), bit count (2), byte size (4).
    uint8_t entry[12] = {};
    std::vector<uint8_t> data;

    int Width() const { return entry[0]; }
    int Height() const { return entry[1]; }
    int ColorCount() const { return entry[2]; }
};

struct IconFile {
    uint16_t reserved = 0;
    uint16_t type = 1;
    std::vector<IconImage> images;
};

// Splits an icon file's bytes. False ("Icon file is invalid") when it is
// shorter than its header or directory, begins with "MZ", is not an icon
// (type 1) with at least one image, or an image is empty or reaches past
// the end (offset + size computed without overflow).
bool ParseIconFile(const uint8_t* data, size_t size, IconFile& icon);
// Reads and checks an icon file. Throws ResourceUpdateError: the file
// error, "Icon file is too large" or "Icon file is invalid".
IconFile ReadIconFile(const std::string& path);
// An icon file of the given images, laid out in order.
std::vector<uint8_t> MakeIconFile(const IconFile& icon);

// One image of an executable's icon group.
struct GroupImage {
    IconImage image;     // entry bytes as the group stores them, data from the icon resource
    uint16_t id = 0;     // the icon resource's number
    size_t dataSize = 0; // size of the icon resource
};

struct IconGroup {
    uint16_t reserved = 0;
    uint16_t type = 1;
    std::vector<GroupImage> images;
};

// Parses a group resource's bytes: false when shorter than its header or
// its N entries.
bool ParseIconGroup(const uint8_t* data, size_t size, IconGroup& group);
// The group resource bytes for images numbered first, first + 1, ...
std::vector<uint8_t> MakeIconGroup(uint16_t reserved, uint16_t type, const IconFile& icon,
                                   uint16_t firstId);

// "%d X %d %d Colors" of width, height and colour count.
std::string IconImageName(const IconImage& image);
// Among the images named "32 X 32...", else "48 X 48...", else "16 X 16...",
// else all, the one with the most data (the first of equals); -1 when the
// group is empty.
int ChooseBestIcon(const IconGroup& group);

// Reads the group "MAINICON" and its images from an executable. False when
// the file has no such group; images whose icon resource is missing are left
// out. Throws PeError: "Couldn't open: <file>", "unrecognized file format",
// "Not a PE (WIN32 Executable) file", "No resources in this file.", or a
// damaged resource directory.
bool ReadMainIconGroup(const std::string& file, IconGroup& group);
// The same from an executable image in a stream; a short read throws
// StreamError.
bool ReadMainIconGroup(Stream& s, IconGroup& group);

// The best image of the file's "MAINICON" group as a one-image icon file;
// empty when the file does not exist or has no such image. Throws as
// ReadMainIconGroup.
std::vector<uint8_t> LoadMainIcon(const std::string& file);

} // namespace orv::pe
