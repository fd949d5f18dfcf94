// A glyph source with no platform behind it: a built-in 5 x 8 pixel font
// (printable ASCII; other bytes draw a full block) scaled to any height,
// with a slant for italic and rotation by the escapement. Native tests,
// benchmarks and tools render effect text with it; its glyph edges fall
// between scratch samples, so the reduction gives real partial coverage.
//
// Each character is a cell 6 units wide and 10 units high (one blank unit
// row above and below the 8 glyph rows, one blank unit column on the
// right); a unit is height / 10 final pixels. At factor f the extent of n
// characters is (n * 6 * height * f div 10, height * f), and the edge of
// unit column g lies at g * height * f div 10.
#pragma once

#include "fxtext/glyphs.h"

#include <cstdint>

namespace orv::fx {

class TFxBlockFont final : public TFxGlyphSource {
public:
    explicit TFxBlockFont(int height = 16, gfx::ColorRef color = 0, bool italic = false)
        : height_(height > 0 ? height : 1), color_(color), italic_(italic) {}

    int Height() const { return height_; }
    void SetColor(gfx::ColorRef c) { color_ = c; }
    void SetItalic(bool italic) { italic_ = italic; }

    TFxSize Extent(std::string_view text, int factor) override;
    void Render(std::string_view text, int factor, int x, int y, TFxGrayBitmap& scratch) override;
    bool Italic() const override { return italic_; }
    int Escapement() const override { return escapement_; }
    void SetEscapement(int tenths) override { escapement_ = tenths; }
    gfx::ColorRef Color() const override { return color_; }

    // The glyph's column bits (bit 0 the top row) of a character: five
    // columns.
    static const uint8_t* Glyph(unsigned char c);

    // How many renderings ran (tests check that nothing was drawn).
    int Renderings() const { return renderings_; }

private:
    int height_;
    gfx::ColorRef color_;
    bool italic_;
    int escapement_ = 0;
    int renderings_ = 0;
};

} // namespace orv::fx
