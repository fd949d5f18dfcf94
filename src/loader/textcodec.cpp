#include "loader/textcodec.h"

#include <cstdint>

namespace vyk {

namespace {

// Decodes one code point at s[i]; false for malformed input.
bool NextCodePoint(std::string_view s, size_t& i, uint32_t& cp) {
    const uint8_t b0 = uint8_t(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        ++i;
        return true;
    }
    size_t len;
    uint32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (s.size() - i < len)
        return false;
    for (size_t k = 1; k < len; ++k) {
        const uint8_t b = uint8_t(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return false;
        cp = cp << 6 | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    i += len;
    return true;
}

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

bool Utf8ToUtf16(std::string_view in, std::u16string& out) {
    out.clear();
    for (size_t i = 0; i < in.size();) {
        uint32_t cp;
        if (!NextCodePoint(in, i, cp))
            return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return true;
}

std::string Utf16ToUtf8(std::u16string_view in) {
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        uint32_t cp = in[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
            in[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | cp >> 6);
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | cp >> 12);
            out += char(0x80 | (cp >> 6 & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | cp >> 18);
            out += char(0x80 | (cp >> 12 & 0x3F));
            out += char(0x80 | (cp >> 6 & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

bool Utf8ToCp1252(std::string_view in, std::string& out) {
    out.clear();
    for (size_t i = 0; i < in.size();) {
        uint32_t cp;
        if (!NextCodePoint(in, i, cp))
            return false;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += char(cp);
            continue;
        }
        bool found = false;
        for (int k = 0; k < 32 && !found; ++k) {
            if (kCp1252High[k] && kCp1252High[k] == cp) {
                out += char(0x80 + k);
                found = true;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

} // namespace vyk
