// Icon files and the "MAINICON" group of arbitrary executables: the icon
// file validation that guards the resource update, the group reader and the
// choice of the image to show.
#include "base/stream.h"
#include "pe/icons.h"
#include "pe/pe_error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    pe::IconFile icon;
    if (pe::ParseIconFile(data, size, icon)) {
        // What was accepted lies within the input and lays out again.
        size_t total = 0;
        for (const pe::IconImage& img : icon.images)
            total += img.data.size();
        std::vector<uint8_t> again = pe::MakeIconFile(icon);
        pe::IconFile back;
        if (!pe::ParseIconFile(again.data(), again.size(), back) ||
            back.images.size() != icon.images.size() ||
            again.size() != 6 + 16 * icon.images.size() + total)
            __builtin_trap();
    }
    pe::IconGroup group;
    if (pe::ParseIconGroup(data, size, group))
        pe::ChooseBestIcon(group);
    try {
        ViewStream s(data, size);
        if (pe::ReadMainIconGroup(s, group)) {
            int best = pe::ChooseBestIcon(group);
            if (best >= static_cast<int>(group.images.size()))
                __builtin_trap();
        }
    } catch (const pe::PeError&) {
    } catch (const StreamError&) {
    }
    return 0;
}
