#include "fxtext/mask.h"

#include "base/random.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace orv::fx {

void TFxGrayBitmap::Reset(int w, int h) {
    if (w <= 0 || h <= 0) {
        width = height = stride = 0;
        bits.clear();
        return;
    }
    width = w;
    height = h;
    stride = PaddedStride(w);
    bits.assign(static_cast<size_t>(stride) * static_cast<size_t>(h), 0);
}

int64_t RoundHalfEven(double v) {
    const double floor = std::floor(v);
    const double rest = v - floor;
    auto i = static_cast<int64_t>(floor);
    if (rest > 0.5 || (rest == 0.5 && (i & 1) != 0))
        ++i;
    return i;
}

TFxTextBox TextBoxOf(TFxSize scaled, int factor, bool italic, size_t length, int escapement) {
    const int64_t f = std::max(factor, 1);
    const int64_t bigW = std::max(scaled.width, 0);
    const int64_t bigH = std::max(scaled.height, 0);
    int64_t w = (bigW + f - 1) / f;
    const int64_t h = (bigH + f - 1) / f;
    // Room for the overhang of the last italic glyph.
    if (italic && length > 0)
        w += RoundHalfEven(static_cast<double>(w) / static_cast<double>(length) * 0.3);
    TFxTextBox box;
    if (escapement == 0) {
        box.width = static_cast<int>(std::min<int64_t>(w, INT32_MAX));
        box.height = static_cast<int>(std::min<int64_t>(h, INT32_MAX));
        return box;
    }
    // The box rotated about its centre; each corner rounded on its own.
    const double a = escapement * std::numbers::pi / 1800.0;
    const double theta = -a;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double hw = static_cast<double>(w) / 2.0;
    const double hh = static_cast<double>(h) / 2.0;
    const double corners[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    int64_t xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
        const double x = corners[i][0];
        const double y = corners[i][1];
        xs[i] = RoundHalfEven(x * c - y * s);
        ys[i] = RoundHalfEven(x * s + y * c);
    }
    const int64_t rotatedW = *std::max_element(xs, xs + 4) - *std::min_element(xs, xs + 4);
    const int64_t rotatedH = *std::max_element(ys, ys + 4) - *std::min_element(ys, ys + 4);
    box.width = static_cast<int>(std::min<int64_t>(rotatedW, INT32_MAX));
    box.height = static_cast<int>(std::min<int64_t>(rotatedH, INT32_MAX));
    // The reference point is the rotated top-left corner.
    box.originX = static_cast<int>(rotatedW / 2 + xs[0]);
    box.originY = static_cast<int>(rotatedH / 2 + ys[0]);
    return box;
}

// ---------------------------------------------------------------- the map

uint8_t* TFxMask::Line(int r) {
    if (r < 0 || r >= height_)
        throw TFxError(kInvalidLineText);
    return bits_.data() + static_cast<size_t>(r) * stride_;
}

const uint8_t* TFxMask::Line(int r) const {
    if (r < 0 || r >= height_)
        throw TFxError(kInvalidLineText);
    return bits_.data() + static_cast<size_t>(r) * stride_;
}

void TFxMask::SetSize(int w, int h) {
    if (w <= 0 || h <= 0) {
        width_ = height_ = stride_ = 0;
        bits_.clear();
        return;
    }
    width_ = w;
    height_ = h;
    stride_ = PaddedStride(w);
    bits_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(h), 0);
}

TFxTextBox TFxMask::Measure(TFxGlyphSource& source, std::string_view text) const {
    const int f = Factor();
    const TFxSize extent = source.Extent(text, f);
    if (text.empty()) {
        // Zero width; the height of the font, unrotated.
        const TFxTextBox box = TextBoxOf(extent, f, false, 0, 0);
        return TFxTextBox{0, box.height, 0, 0};
    }
    return TextBoxOf(extent, f, source.Italic(), text.size(), source.Escapement());
}

void TFxMask::Render(TFxGlyphSource& source, std::string_view text) {
    if (text.empty()) {
        SetSize(0, 0);
        return;
    }
    const int f = Factor();
    const TFxTextBox box = Measure(source, text);
    if (box.width <= 0 || box.height <= 0 || box.width > kMaxMaskSide ||
        box.height > kMaxMaskSide ||
        int64_t{box.width} * f * int64_t{box.height} * f > kMaxScratchPixels) {
        SetSize(0, 0);
        return;
    }
    // The scratch bitmap lives for this rendering only.
    TFxGrayBitmap scratch;
    scratch.Reset(box.width * f, box.height * f);
    source.Render(text, f, box.originX * f, box.originY * f, scratch);
    SetSize(box.width, box.height);
    Reduce(scratch);
}

void TFxMask::Reduce(const TFxGrayBitmap& s) {
    const int f = Factor();
    if (Empty())
        return;
    if (s.width < width_ * f || s.height < height_ * f)
        throw TFxError("Scratch bitmap smaller than the map");
    const int w = width_;
    // aqLow: column sums of the two block rows over the whole scanline
    // first, then the sums of each block's two columns.
    std::vector<uint16_t> columns(f == 2 ? static_cast<size_t>(w) * 2 : 0);
    const size_t samples = columns.size();
    for (int y = 0; y < height_; ++y) {
        uint8_t* out = bits_.data() + static_cast<size_t>(y) * stride_;
        switch (f) {
        case 4: {
            const uint8_t* r0 = s.Row(4 * y);
            const uint8_t* r1 = s.Row(4 * y + 1);
            const uint8_t* r2 = s.Row(4 * y + 2);
            const uint8_t* r3 = s.Row(4 * y + 3);
            int x = 0;
            if constexpr (std::endian::native == std::endian::little) {
                // Two blocks at a time in one 64-bit word: the bytes of each
                // row paired into four 16-bit lanes (at most 4 * 510).
                constexpr uint64_t kLanes = 0x00FF00FF00FF00FFull;
                auto pairs = [](const uint8_t* p) {
                    uint64_t v;
                    std::memcpy(&v, p, sizeof v);
                    return (v & kLanes) + ((v >> 8) & kLanes);
                };
                for (; x + 1 < w; x += 2) {
                    const int k = 4 * x;
                    const uint64_t acc =
                        pairs(r0 + k) + pairs(r1 + k) + pairs(r2 + k) + pairs(r3 + k);
                    out[x] = static_cast<uint8_t>(((acc & 0xFFFF) + ((acc >> 16) & 0xFFFF)) >> 4);
                    out[x + 1] = static_cast<uint8_t>((((acc >> 32) & 0xFFFF) + (acc >> 48)) >> 4);
                }
            }
            for (; x < w; ++x) {
                const int k = 4 * x;
                unsigned sum = 0;
                for (int j = 0; j < 4; ++j)
                    sum += unsigned{r0[k + j]} + r1[k + j] + r2[k + j] + r3[k + j];
                out[x] = static_cast<uint8_t>(sum >> 4);
            }
            break;
        }
        case 3: {
            // The top-right and bottom-left samples count half, so a fully
            // covered block gives 254.
            const uint8_t* r0 = s.Row(3 * y);
            const uint8_t* r1 = s.Row(3 * y + 1);
            const uint8_t* r2 = s.Row(3 * y + 2);
            for (int x = 0; x < w; ++x) {
                const int k = 3 * x;
                const unsigned sum = unsigned{r0[k]} + r0[k + 1] + (r0[k + 2] >> 1) + r1[k] +
                                     r1[k + 1] + r1[k + 2] + (r2[k] >> 1) + r2[k + 1] + r2[k + 2];
                out[x] = static_cast<uint8_t>(sum >> 3);
            }
            break;
        }
        case 2: {
            const uint8_t* r0 = s.Row(2 * y);
            const uint8_t* r1 = s.Row(2 * y + 1);
            for (size_t i = 0; i < samples; ++i)
                columns[i] = static_cast<uint16_t>(r0[i] + r1[i]);
            const uint16_t* c = columns.data();
            for (int x = 0; x < w; ++x, c += 2)
                out[x] = static_cast<uint8_t>((c[0] + c[1]) >> 2);
            break;
        }
        default:
            std::memcpy(out, s.Row(y), static_cast<size_t>(w));
            break;
        }
    }
}

// ---------------------------------------------------------------- effects

void TFxMask::Outline() {
    if (height_ < 3 || width_ < 3)
        return;
    const std::vector<uint8_t> copy = bits_;
    const size_t st = static_cast<size_t>(stride_);
    for (int r = 1; r < height_ - 1; ++r) {
        const uint8_t* up = copy.data() + (r - 1) * st;
        const uint8_t* mid = copy.data() + r * st;
        const uint8_t* down = copy.data() + (r + 1) * st;
        uint8_t* out = bits_.data() + r * st;
        for (int k = 1; k < width_ - 1; ++k) {
            const int sum = std::abs(down[k + 1] - up[k - 1]) + std::abs(down[k] - up[k]) +
                            std::abs(mid[k + 1] - mid[k - 1]) + std::abs(down[k - 1] - up[k + 1]);
            out[k] = static_cast<uint8_t>(sum < 1024 ? sum >> 2 : 255);
        }
    }
}

void TFxMask::Blur(int amount) {
    if (amount <= 0 || Empty())
        return;
    amount = std::min(amount, kMaxBlur);
    // F = Round(A * 255 / 100), halves to even, in integers.
    int strength = amount * 255 / 100;
    const int rest = amount * 255 % 100;
    if (rest > 50 || (rest == 50 && (strength & 1) != 0))
        ++strength;

    // The 5 x 5 sum with clamped indexes is separable: first the sums of
    // five clamped columns in every row, then of five clamped rows.
    const int w = width_, h = height_;
    std::vector<uint16_t> across(static_cast<size_t>(w) * h);
    for (int r = 0; r < h; ++r) {
        const uint8_t* row = bits_.data() + static_cast<size_t>(r) * stride_;
        uint16_t* sums = across.data() + static_cast<size_t>(r) * w;
        // A running window: add the column entering on the right, drop the
        // one leaving on the left, both clamped into the row.
        unsigned s = 0;
        for (int j = -2; j <= 2; ++j)
            s += row[std::clamp(j, 0, w - 1)];
        for (int k = 0; k < w; ++k) {
            sums[k] = static_cast<uint16_t>(s);
            s += row[std::min(k + 3, w - 1)];
            s -= row[std::max(k - 2, 0)];
        }
    }
    std::vector<uint16_t> down(static_cast<size_t>(w));
    for (int r = 0; r < h; ++r) {
        const uint16_t* rows[5];
        for (int i = -2; i <= 2; ++i)
            rows[i + 2] = across.data() + static_cast<size_t>(std::clamp(r + i, 0, h - 1)) * w;
        for (int k = 0; k < w; ++k)
            down[static_cast<size_t>(k)] = static_cast<uint16_t>(
                rows[0][k] + rows[1][k] + rows[2][k] + rows[3][k] + rows[4][k]);
        uint8_t* out = bits_.data() + static_cast<size_t>(r) * stride_;
        if (strength == 255) {
            for (int k = 0; k < w; ++k)
                // Round(S / 25): S / 25 never ends in exactly one half.
                out[k] = static_cast<uint8_t>((down[static_cast<size_t>(k)] + 12) / 25);
        } else {
            for (int k = 0; k < w; ++k) {
                const int v = (down[static_cast<size_t>(k)] + 12) / 25;
                const int old = out[k];
                // Shifted with the sign kept: rounds toward minus infinity.
                out[k] = static_cast<uint8_t>(old + (((v - old) * strength) >> 8));
            }
        }
    }
}

void TFxMask::Spray(int amount) {
    if (amount <= 0 || Empty())
        return;
    amount = std::min(amount, kMaxSpray);
    const int w = width_, h = height_;
    for (int r = 0; r < h; ++r) {
        uint8_t* out = bits_.data() + static_cast<size_t>(r) * stride_;
        for (int k = 0; k < w; ++k) {
            // Three draws per pixel: the radius n, then the column and the
            // row offsets, each in 0..2n-1.
            const int n = static_cast<int>(Random::Next(static_cast<uint32_t>(amount) + 1));
            const int r1 = static_cast<int>(Random::Next(static_cast<uint32_t>(2 * n)));
            const int r2 = static_cast<int>(Random::Next(static_cast<uint32_t>(2 * n)));
            const int sk = std::clamp(k + n - r1, 0, w - 1);
            const int sr = std::clamp(r + n - r2, 0, h - 1);
            // Reads the map as already modified.
            out[k] = bits_[static_cast<size_t>(sr) * stride_ + static_cast<size_t>(sk)];
        }
    }
}

void TFxMask::MirrorLeftRight() {
    for (int r = 0; r < height_; ++r) {
        uint8_t* row = bits_.data() + static_cast<size_t>(r) * stride_;
        std::reverse(row, row + width_);
    }
}

void TFxMask::MirrorTopBottom() {
    for (int i = 0; i < height_ / 2; ++i) {
        uint8_t* a = bits_.data() + static_cast<size_t>(i) * stride_;
        uint8_t* b = bits_.data() + static_cast<size_t>(height_ - 1 - i) * stride_;
        std::swap_ranges(a, a + width_, b);
    }
}

} // namespace orv::fx
