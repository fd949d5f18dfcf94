// Colours as the platform and the project file keep them: 0x00BBGGRR, red in
// the low byte. A stored colour with the top bit set names a system colour
// (index in the low byte) and is resolved through a table the caller
// supplies (the Windows layer fills it from the platform; tests use their
// own). Image pixels are 0xAARRGGBB; ToArgb and FromArgb convert.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv::gfx {

using ColorRef = uint32_t; // 0x00BBGGRR, always resolved (no system bit)

inline constexpr uint32_t kSystemColorFlag = 0x80000000u;

// System colour indexes used by the page objects' defaults.
inline constexpr int kSysColorWindow = 5;
inline constexpr int kSysColorWindowText = 8;
inline constexpr int kSysColorBtnFace = 15;
inline constexpr int kSysColorBtnShadow = 16;
inline constexpr int kSysColorBtnHighlight = 20;

// The stored forms of those colours (0xFF00000F and so on).
inline constexpr int32_t SystemColor(int index) {
    return static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(index & 0xFF));
}

inline constexpr bool IsSystemColor(int32_t stored) {
    return (static_cast<uint32_t>(stored) & kSystemColorFlag) != 0;
}

// The current values of the system colours, by index. An index beyond the
// table resolves to black, as the platform answers for unknown indexes.
struct SystemColorTable {
    const ColorRef* colors = nullptr;
    size_t count = 0;
    ColorRef Lookup(int index) const {
        return index >= 0 && static_cast<size_t>(index) < count ? colors[index] & 0xFFFFFF : 0;
    }
};

// A stored colour as RGB: system colours through the table, others with
// their top byte dropped.
inline ColorRef ResolveColor(int32_t stored, const SystemColorTable& table) {
    const uint32_t v = static_cast<uint32_t>(stored);
    return IsSystemColor(stored) ? table.Lookup(static_cast<int>(v & 0xFF)) : v & 0xFFFFFF;
}

inline constexpr ColorRef MakeColorRef(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
inline constexpr uint32_t RedOf(ColorRef c) {
    return c & 0xFF;
}
inline constexpr uint32_t GreenOf(ColorRef c) {
    return (c >> 8) & 0xFF;
}
inline constexpr uint32_t BlueOf(ColorRef c) {
    return (c >> 16) & 0xFF;
}

inline constexpr uint32_t ToArgb(ColorRef c, uint32_t alpha = 255) {
    return ((alpha & 0xFF) << 24) | (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c);
}
inline constexpr ColorRef FromArgb(uint32_t argb) {
    return MakeColorRef((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// Each channel (a + b) div 2: the mid colour of borders.
inline constexpr ColorRef MidColor(ColorRef a, ColorRef b) {
    return MakeColorRef((RedOf(a) + RedOf(b)) / 2, (GreenOf(a) + GreenOf(b)) / 2,
                        (BlueOf(a) + BlueOf(b)) / 2);
}

// The colour at position i of n steps from a to b: per channel
// a + Round((b - a) * i / max(n, 1)), rounded to nearest with halves to
// even, clamped to 0..255 (positions beyond n do not wrap).
ColorRef InterpolateColor(ColorRef a, ColorRef b, int64_t i, int64_t n);

} // namespace orv::gfx
