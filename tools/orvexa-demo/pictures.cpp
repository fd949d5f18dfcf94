#include "pictures.h"

#include <algorithm>

namespace orv::demo {
namespace {

uint32_t Argb(int a, int r, int g, int b) {
    auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

gfx::Image Blank(int w, int h) {
    gfx::Image img;
    img.width = w;
    img.height = h;
    img.pixels.assign(static_cast<size_t>(w) * h, 0);
    return img;
}

// 0..255..0 over a period of 512.
int Triangle(int t) {
    t &= 511;
    return t < 256 ? t : 511 - t;
}

int ISqrt(int v) {
    int r = 0;
    while ((r + 1) * (r + 1) <= v)
        ++r;
    return r;
}

// Sine of whole degrees scaled to +-scale, by the rational approximation
// 4d(180-d) / (40500 - d(180-d)) on each half wave (error below 0.2%).
int SineDeg(int deg, int scale) {
    deg %= 360;
    int sign = 1;
    if (deg >= 180) {
        deg -= 180;
        sign = -1;
    }
    int64_t p = static_cast<int64_t>(deg) * (180 - deg);
    return sign * static_cast<int>(scale * 4 * p / (40500 - p));
}

void PutU16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}

void PutU32(std::vector<uint8_t>& v, uint32_t x) {
    PutU16(v, x & 0xFFFF);
    PutU16(v, x >> 16);
}

} // namespace

gfx::Image BannerImage() {
    gfx::Image img = Blank(320, 80);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            int band = Triangle((x + 2 * y) * 256 / 48);
            int glow = Triangle(x * 512 / img.width) / 4;
            img.At(x, y) = Argb(255, 20 + band * 50 / 255 + glow, 50 + band * 80 / 255 + glow,
                                120 + band * 110 / 255);
        }
    return img;
}

gfx::Image TileImage() {
    gfx::Image img = Blank(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            bool light = ((x / 16) + (y / 16)) % 2 == 0;
            bool diagonal = (x + y) % 16 == 0 || (x - y + 32) % 16 == 0;
            int v = light ? 236 : 212;
            img.At(x, y) = diagonal ? Argb(255, 180, 196, 224) : Argb(255, v, v, v + 8);
        }
    return img;
}

gfx::Image LogoImage(int size) {
    gfx::Image img = Blank(size, size);
    int r2 = size * size; // radius in doubled coordinates is size
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int dx = 2 * x + 1 - size, dy = 2 * y + 1 - size;
            int d2 = dx * dx + dy * dy;
            if (d2 > r2)
                continue;
            int d = ISqrt(d2) * 255 / size; // 0 centre .. 255 edge
            bool ring = d > 120 && d < 160;
            int alpha = d2 > r2 - 2 * size ? 128 : 255; // a soft rim
            img.At(x, y) = ring ? Argb(alpha, 255, 255, 255)
                                : Argb(alpha, 255, 200 - d / 3, 40 + (255 - d) / 4);
        }
    return img;
}

gfx::Image PosterImage() {
    gfx::Image img = Blank(480, 360);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            int dx = x - 240, dy = y - 180;
            int rings = Triangle(ISqrt(dx * dx + dy * dy) * 16);
            int r = x * 255 / (img.width - 1);
            int g = y * 255 / (img.height - 1);
            int b = 255 - (r + g) / 2;
            img.At(x, y) = Argb(255, (r * 3 + rings) / 4, (g * 3 + rings) / 4, (b * 3 + rings) / 4);
        }
    return img;
}

gfx::Image TabIconImage(int which) {
    gfx::Image img = Blank(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool inside = false;
            uint32_t c = 0;
            switch (which) {
            case 0:
                inside = x >= 2 && x < 14 && y >= 2 && y < 14;
                c = (x == 2 || x == 13 || y == 2 || y == 13) ? Argb(255, 0, 60, 140)
                                                             : Argb(255, 60, 140, 230);
                break;
            case 1: {
                int dx = 2 * x - 15, dy = 2 * y - 15;
                inside = dx * dx + dy * dy <= 14 * 14;
                c = Argb(255, 40, 170, 70);
                break;
            }
            default:
                // Apex at the top centre, base on row 13.
                inside = y >= 2 && y <= 13 && 2 * x >= 15 - (y - 2) && 2 * x <= 15 + (y - 2);
                c = Argb(255, 240, 140, 20);
                break;
            }
            if (inside)
                img.At(x, y) = c;
        }
    return img;
}

std::vector<uint8_t> EncodeIco(const gfx::Image& image) {
    const uint32_t w = static_cast<uint32_t>(image.width), h = static_cast<uint32_t>(image.height);
    const uint32_t maskStride = ((w + 31) / 32) * 4;
    const uint32_t dataSize = 40 + w * h * 4 + maskStride * h;
    std::vector<uint8_t> v;
    // Directory: reserved, type 1 (icon), one entry.
    PutU16(v, 0);
    PutU16(v, 1);
    PutU16(v, 1);
    v.push_back(static_cast<uint8_t>(w < 256 ? w : 0));
    v.push_back(static_cast<uint8_t>(h < 256 ? h : 0));
    v.push_back(0); // colour count
    v.push_back(0);
    PutU16(v, 1);  // planes
    PutU16(v, 32); // bits per pixel
    PutU32(v, dataSize);
    PutU32(v, 22); // data offset
    // The image: an info header whose height counts colour and mask rows.
    PutU32(v, 40);
    PutU32(v, w);
    PutU32(v, h * 2);
    PutU16(v, 1);
    PutU16(v, 32);
    PutU32(v, 0); // no compression
    PutU32(v, w * h * 4 + maskStride * h);
    for (int i = 0; i < 4; ++i)
        PutU32(v, 0);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x)
            PutU32(v, image.At(x, y)); // BGRA in memory order
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < image.width; ++x)
            if ((image.At(x, y) >> 24) == 0)
                row[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

std::vector<uint8_t> ChimeWave() {
    constexpr int kRate = 22050;
    constexpr int kSamples = kRate * 6 / 10;
    std::vector<uint8_t> v;
    v.insert(v.end(), {'R', 'I', 'F', 'F'});
    PutU32(v, 36 + kSamples * 2);
    v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutU32(v, 16);
    PutU16(v, 1); // PCM
    PutU16(v, 1); // mono
    PutU32(v, kRate);
    PutU32(v, kRate * 2);
    PutU16(v, 2);
    PutU16(v, 16);
    v.insert(v.end(), {'d', 'a', 't', 'a'});
    PutU32(v, kSamples * 2);
    for (int i = 0; i < kSamples; ++i) {
        // Two notes, the second a fifth above, each fading out.
        bool second = i >= kSamples / 2;
        int freq = second ? 1320 : 880;
        int k = second ? i - kSamples / 2 : i;
        int amplitude = 12000 * (kSamples / 2 - k) / (kSamples / 2);
        int deg = static_cast<int>(static_cast<int64_t>(k) * freq * 360 / kRate % 360);
        PutU16(v, static_cast<uint16_t>(static_cast<int16_t>(SineDeg(deg, amplitude))));
    }
    return v;
}

} // namespace orv::demo
