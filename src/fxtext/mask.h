// The coverage map of one rendered line (TFxMask): measuring,
// rendering at f times the size and reducing to final pixels, and the
// transformations of the effects (outline, blur, spray, mirroring).
// Coverage 0 is no ink, 255 full ink.
#pragma once

#include "fxtext/effect.h"
#include "fxtext/glyphs.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace orv::fx {

// The renderer's failures: the texts are fixed, callers show them.
class TFxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
inline constexpr const char* kInvalidLineText = "Invalid line!";
inline constexpr const char* kInvalidForegroundText = "Invalid foreground bitmap!";

// Limits of one rendering: a map wider or taller than kMaxMaskSide final
// pixels, or a scratch bitmap of more than kMaxScratchPixels samples, is not
// rendered (the map stays empty and nothing is drawn). Stored fonts and
// texts can ask for anything.
inline constexpr int kMaxMaskSide = 16384;
inline constexpr int64_t kMaxScratchPixels = 64LL * 1024 * 1024;

// The box of a measured line in final pixels and where the text's
// reference point lies in it (not (0, 0) only for rotated text).
struct TFxTextBox {
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    bool operator==(const TFxTextBox&) const = default;
};

// Steps 2 to 4 of measuring: from the extent (W, H) of the text in the font
// scaled by `factor`, the box in final pixels: w = (W + f - 1) div f,
// h = (H + f - 1) div f; italic text of `length` characters gains
// Round(w / length * 0.3); a non-zero escapement (tenths of a degree)
// rotates the box about its centre and gives the rotated box and origin.
TFxTextBox TextBoxOf(TFxSize scaled, int factor, bool italic, size_t length, int escapement);

// Round to the nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double v);

class TFxMask {
public:
    TFxMask() = default;

    TFxQuality Quality() const { return quality_; }
    // Takes effect at the next rendering.
    void SetQuality(TFxQuality q) { quality_ = q; }
    int Factor() const { return QualityFactor(quality_); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    const std::vector<uint8_t>& Bits() const { return bits_; }

    // Row r of the map; a row outside 0..Height()-1 raises TFxError
    // "Invalid line!".
    uint8_t* Line(int r);
    const uint8_t* Line(int r) const;
    uint8_t At(int x, int y) const { return bits_[static_cast<size_t>(y) * stride_ + x]; }

    // The map becomes w x h, all 0 (negative sizes give an empty map).
    void SetSize(int w, int h);

    // The box text takes in the source's font at this quality.
    TFxTextBox Measure(TFxGlyphSource& source, std::string_view text) const;
    // Renders text into the map: measured, drawn white on black into a
    // scratch bitmap at f times the size with the origin scaled, and
    // reduced. An empty text gives an empty map.
    void Render(TFxGlyphSource& source, std::string_view text);
    // The reduction step alone: scratch must be at least Width() * f by
    // Height() * f samples (after SetSize); each f x f block gives one
    // coverage byte by the rule of the quality.
    void Reduce(const TFxGrayBitmap& scratch);

    // The effects. Outline changes nothing on maps of fewer than 3 rows;
    // blur and spray take an amount of 1..100 (0 or less does nothing, more
    // counts as 100). Spray draws from the process's generator (Random).
    void Outline();
    void Blur(int amount);
    void Spray(int amount);
    void MirrorLeftRight();
    void MirrorTopBottom();

    // Copies map and quality.
    void Assign(const TFxMask& other) { *this = other; }

private:
    TFxQuality quality_ = kDefaultQuality;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<uint8_t> bits_;
};

} // namespace orv::fx
