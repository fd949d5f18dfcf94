// The resource tree reader and the icon replacement's section rewrite on
// arbitrary input: as a resource section (read, lay out, read again and
// compare) and as an executable (32- or 64-bit) whose main icon is
// replaced; a rewritten executable must read back as the same kind of image.
#include "base/stream.h"
#include "pe/icon_replace.h"
#include "pe/pe_error.h"
#include "pe/pe_image.h"
#include "pe/resource_tree.h"

#include <cstddef>
#include <cstdint>

namespace {

orv::pe::IconFile SmallIcon() {
    orv::pe::IconFile icon;
    orv::pe::IconImage img;
    img.entry[0] = img.entry[1] = 16;
    img.data.assign(104, 0x5A);
    icon.images.push_back(img);
    return icon;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    if (size > (1u << 20))
        return 0;
    try {
        pe::ResourceSection sec{0x3000, 0, std::vector<uint8_t>(data, data + size)};
        pe::ResourceTree tree = pe::ParseResourceTree(sec);
        std::vector<uint8_t> again = pe::BuildResourceSection(tree, 0x3000);
        pe::ResourceTree back = pe::ParseResourceTree({0x3000, 0, again});
        if (back.types.size() != tree.types.size())
            __builtin_trap();
    } catch (const pe::PeError&) {
    }
    std::vector<uint8_t> exe(data, data + size);
    pe::Headers before;
    {
        ViewStream s(exe.data(), exe.size());
        if (pe::ReadHeaders(s, before, false) != pe::HeaderFault::None)
            before.magic = 0;
    }
    bool replaced = false;
    try {
        pe::ReplaceMainIconInImage(exe, SmallIcon());
        replaced = true;
    } catch (const pe::PeError&) {
    }
    if (!replaced)
        return 0;
    // A rewritten executable reads back with the new group.
    try {
        ViewStream s(exe.data(), exe.size());
        pe::Headers h;
        // Still the same kind of image (32- or 64-bit), with the same
        // optional header.
        if (pe::ReadHeaders(s, h, false) != pe::HeaderFault::None || h.magic != before.magic ||
            h.optionalSize != before.optionalSize || h.directoryOffset != before.directoryOffset)
            __builtin_trap();
        int i = pe::FindSectionHolding(h, h.resourceRva);
        if (i < 0)
            __builtin_trap();
        const pe::Section& section = h.sections[static_cast<size_t>(i)];
        pe::ResourceSection sec{section.virtualAddress, h.resourceRva - section.virtualAddress,
                                pe::ReadSectionBytes(s, h, section)};
        pe::ResourceTree tree = pe::ParseResourceTree(sec);
        pe::ResItem* group = tree.FindItem(pe::ResName::Id(14), pe::ResName::Name("MAINICON"));
        pe::ResItem* icon = tree.FindItem(pe::ResName::Id(3), pe::ResName::Id(1));
        bool found = false;
        for (const pe::ResLeaf& leaf : icon ? icon->leaves : std::vector<pe::ResLeaf>{})
            found = found || (leaf.language == pe::kLanguageUsEnglish && leaf.data.size() == 104);
        if (!group || !found)
            __builtin_trap();
    } catch (...) {
        __builtin_trap();
    }
    return 0;
}
