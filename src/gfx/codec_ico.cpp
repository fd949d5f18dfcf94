// Windows ICO files: a directory of images, each a DIB with an AND mask or a
// complete PNG file. One image is chosen and decoded.
#include "gfx/codec_detail.h"

#include <string>
#include <vector>

namespace orv::gfx::detail {
namespace {

struct IconEntry {
    int width = 0;  // directory byte as stored (0 stands for 256)
    int height = 0; // likewise
    int colors = 0; // colour count byte
    uint32_t bytes = 0;
    uint32_t offset = 0;
};

// Chooses the image the way the launcher's icon is chosen: each image is
// named "<width> X <height> <colours> Colors" from its directory bytes;
// among the images whose name begins with "32 X 32", else "48 X 48", else
// "16 X 16", else all of them, the one with the most data bytes wins (the
// first of equals). Matching the names by prefix, as that rule does, also
// counts for example a 16 x 160 image as "16 X 16".
size_t ChooseIconImage(const std::vector<IconEntry>& entries) {
    static constexpr const char* kPreferred[] = {"32 X 32", "48 X 48", "16 X 16"};
    std::vector<std::string> names;
    for (const IconEntry& e : entries)
        names.push_back(std::to_string(e.width) + " X " + std::to_string(e.height) + " " +
                        std::to_string(e.colors) + " Colors");
    const size_t none = entries.size();
    for (const char* prefix : kPreferred) {
        size_t best = none;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (names[i].rfind(prefix, 0) != 0)
                continue;
            if (best == none || entries[i].bytes > entries[best].bytes)
                best = i;
        }
        if (best != none)
            return best;
    }
    size_t best = 0;
    for (size_t i = 1; i < entries.size(); ++i)
        if (entries[i].bytes > entries[best].bytes)
            best = i;
    return best;
}

} // namespace

bool DecodeIco(const uint8_t* data, size_t size, const DecodeTarget& t) {
    constexpr size_t kHeader = 6;
    constexpr size_t kEntry = 16;
    if (size < kHeader)
        return t.Fail("Icon: file too short");
    if (Le16(data) != 0 || Le16(data + 2) != 1)
        return t.Fail("Icon: not an icon file");
    const size_t count = Le16(data + 4);
    if (count == 0)
        return t.Fail("Icon: the file holds no images");
    if (size < kHeader + kEntry * count)
        return t.Fail("Icon: image directory is cut off");

    std::vector<IconEntry> entries(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + kHeader + kEntry * i;
        IconEntry& entry = entries[i];
        entry.width = e[0];
        entry.height = e[1];
        entry.colors = e[2];
        entry.bytes = Le32(e + 8);
        entry.offset = Le32(e + 12);
        if (entry.bytes == 0 || static_cast<uint64_t>(entry.offset) + entry.bytes > size)
            return t.Fail("Icon: image " + std::to_string(i + 1) +
                          " is empty or lies outside the file");
    }

    const IconEntry& chosen = entries[ChooseIconImage(entries)];
    const uint8_t* image = data + chosen.offset;
    if (HasPngSignature(image, chosen.bytes))
        return DecodePng(image, chosen.bytes, t);
    return DecodeDib(image, chosen.bytes, 0, DibKind::Icon, t);
}

} // namespace orv::gfx::detail
