#include "model/values.h"

#include "base/text.h"
#include "model/codes.h"
#include "model/io.h"

#include <limits>

namespace orv::model {

using detail::Reader;
using detail::Writer;

TFont ArialFont(int32_t size, uint8_t style, int32_t color) {
    TFont f;
    f.Name = "Arial";
    f.Size = size;
    f.Style = style;
    f.Color = color;
    return f;
}

namespace {
struct ClassEntry {
    PictureClass cls;
    const char* name;
    gfx::PictureFormat format;
};
constexpr ClassEntry kClasses[] = {
    {PictureClass::Bitmap, "TBitmap", gfx::PictureFormat::Bitmap},
    {PictureClass::Icon, "TIcon", gfx::PictureFormat::Icon},
    {PictureClass::Metafile, "TMetafile", gfx::PictureFormat::Metafile},
    {PictureClass::Jpeg, "TJPEGImage", gfx::PictureFormat::Jpeg},
    {PictureClass::Gif, "TGIFImage", gfx::PictureFormat::Gif},
    {PictureClass::Png, "TPNGObject", gfx::PictureFormat::Png},
};
} // namespace

const char* PictureClassName(PictureClass c) {
    for (const auto& e : kClasses)
        if (e.cls == c)
            return e.name;
    return "";
}

PictureClass PictureClassFromName(const std::string& name) {
    for (const auto& e : kClasses)
        if (SameTextAscii(name, e.name))
            return e.cls;
    return PictureClass::None;
}

std::string PictureDisplayName(const TPicture& p) {
    if (p.Empty())
        return "None";
    if (p.Class == PictureClass::Png)
        return "PNGImage";
    return std::string(PictureClassName(p.Class) + 1);
}

gfx::PictureFormat PictureFormatOf(PictureClass c) {
    for (const auto& e : kClasses)
        if (e.cls == c)
            return e.format;
    return gfx::PictureFormat::Bitmap;
}

PictureClass PictureClassOf(gfx::PictureFormat f) {
    for (const auto& e : kClasses)
        if (e.format == f)
            return e.cls;
    return PictureClass::None;
}

bool PictureFromFileBytes(std::vector<uint8_t> bytes, TPicture& out, std::string* error) {
    gfx::PictureFormat f;
    if (!gfx::SniffPictureFormat(bytes.data(), bytes.size(), f)) {
        if (error)
            *error = "unknown picture format";
        return false;
    }
    if (!gfx::DecodePicture(f, bytes.data(), bytes.size(), nullptr, error))
        return false;
    out.Class = PictureClassOf(f);
    out.Bytes = std::move(bytes);
    return true;
}

// ------------------------------------------------------------- walkers

namespace detail {

int32_t CheckedCount(size_t n) {
    if (n > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw StreamError("too many entries to store");
    return static_cast<int32_t>(n);
}

void Reader::Fail(const char* text, const char* caption, uint32_t flags) {
    r_.Show(text, caption, flags);
    throw Reported{};
}

void Reader::Version() {
    if (s_.ReadI32() != 0) {
        r_.ReportDataVersionError();
        throw Reported{};
    }
}

void Reader::Str(const char*, std::string& v) {
    Guard(code::kReadStr, [&] { v = s_.ReadString(); });
}

void Writer::Str(const char*, const std::string& v) {
    Guard(code::kWriteStr, [&] { s_.WriteString(v); });
}

void Reader::Font(const char*, TFont& v) {
    Guard(code::kReadFont, [&] {
        TFont f;
        Str("Name", f.Name);
        f.Color = s_.ReadI32();
        f.Size = s_.ReadI32();
        f.Charset = s_.ReadU8();
        f.Style = s_.ReadU8();
        v = std::move(f);
    });
}

void Writer::Font(const char*, const TFont& v) {
    Guard(code::kWriteFont, [&] {
        Str("Name", v.Name);
        s_.WriteI32(v.Color);
        s_.WriteI32(v.Size);
        s_.WriteU8(v.Charset);
        s_.WriteU8(v.Style);
    });
}

void Reader::Picture(const char*, TPicture& v) {
    Guard(code::kReadPicture, [&] {
        v.Clear();
        std::string name;
        Str("Class", name);
        if (name.empty())
            return;
        PictureClass cls = PictureClassFromName(name);
        if (cls == PictureClass::None)
            throw StreamError("unknown picture class");
        int32_t n = s_.ReadI32();
        std::vector<uint8_t> bytes = s_.ReadBytes(n);
        // A picture of no bytes is an empty picture of its class.
        if (bytes.empty())
            return;
        std::string why;
        if (!gfx::DecodePicture(PictureFormatOf(cls), bytes.data(), bytes.size(), nullptr, &why))
            throw StreamError("picture does not decode: " + why);
        v.Class = cls;
        v.Bytes = std::move(bytes);
    });
}

void Writer::Picture(const char*, const TPicture& v) {
    Guard(code::kWritePicture, [&] {
        if (v.Empty()) {
            Str("Class", "");
            return;
        }
        Str("Class", PictureClassName(v.Class));
        s_.WriteI32(CheckedCount(v.Bytes.size()));
        s_.WriteBytes(v.Bytes);
    });
}

void Reader::Effect(const char*, TFxEffect& v) {
    Guard(code::kReadTextEffect, [&] {
        TFxEffect e;
        DescribeEffect(*this, e);
        v = std::move(e);
    });
}

void Writer::Effect(const char*, const TFxEffect& v) {
    Guard(code::kWriteTextEffect, [&] { DescribeEffect(*this, const_cast<TFxEffect&>(v)); });
}

void Reader::Fade(const char*, TFadeSettings& v) {
    Guard(code::kReadFadeSettings, [&] {
        TFadeSettings f;
        f.Alpha = s_.ReadI32();
        f.MouseAlphaEnabled = s_.ReadBool();
        f.MouseOverAlpha = s_.ReadI32();
        f.Fade = s_.ReadBool();
        f.FadeInStep = s_.ReadI32();
        int32_t next = s_.ReadI32();
        if (next < 0) {
            f.Marker = next;
            f.MouseDownAlpha = s_.ReadI32();
            f.FadeOutStep = s_.ReadI32();
        } else {
            // The older form ends with FadeOutStep.
            f.FadeOutStep = next;
            f.MouseDownAlpha = 50;
            f.ShortForm = true;
        }
        v = f;
    });
}

void Writer::Fade(const char*, const TFadeSettings& v) {
    Guard(code::kWriteFadeSettings, [&] {
        s_.WriteI32(v.Alpha);
        s_.WriteBool(v.MouseAlphaEnabled);
        s_.WriteI32(v.MouseOverAlpha);
        s_.WriteBool(v.Fade);
        s_.WriteI32(v.FadeInStep);
        bool shortForm = v.ShortForm && v.MouseDownAlpha == 50 && v.FadeOutStep >= 0;
        if (shortForm) {
            s_.WriteI32(v.FadeOutStep);
            return;
        }
        s_.WriteI32(v.Marker < 0 ? v.Marker : -1);
        s_.WriteI32(v.MouseDownAlpha);
        s_.WriteI32(v.FadeOutStep);
    });
}

} // namespace detail

// --------------------------------------------------------- public pairs

namespace {
template <class T, class F> bool ReadValue(Stream& s, T& v, Reporter& r, F&& f) {
    Reader io(s, r);
    T tmp{};
    if (!io.Run([&] { f(io, tmp); }))
        return false;
    v = std::move(tmp);
    return true;
}
template <class F> bool WriteValue(Stream& s, Reporter& r, F&& f) {
    Writer io(s, r);
    return io.Run([&] { f(io); });
}
} // namespace

bool WriteStr(Stream& s, const std::string& v, Reporter& r) {
    return WriteValue(s, r, [&](Writer& io) { io.Str("", v); });
}
bool ReadStr(Stream& s, std::string& v, Reporter& r) {
    return ReadValue(s, v, r, [](Reader& io, std::string& t) { io.Str("", t); });
}
bool WriteFont(Stream& s, const TFont& v, Reporter& r) {
    return WriteValue(s, r, [&](Writer& io) { io.Font("", v); });
}
bool ReadFont(Stream& s, TFont& v, Reporter& r) {
    return ReadValue(s, v, r, [](Reader& io, TFont& t) { io.Font("", t); });
}
bool WritePicture(Stream& s, const TPicture& v, Reporter& r) {
    return WriteValue(s, r, [&](Writer& io) { io.Picture("", v); });
}
bool ReadPicture(Stream& s, TPicture& v, Reporter& r) {
    v.Clear();
    return ReadValue(s, v, r, [](Reader& io, TPicture& t) { io.Picture("", t); });
}
bool WriteTextEffect(Stream& s, const TFxEffect& v, Reporter& r) {
    return WriteValue(s, r, [&](Writer& io) { io.Effect("", v); });
}
bool ReadTextEffect(Stream& s, TFxEffect& v, Reporter& r) {
    return ReadValue(s, v, r, [](Reader& io, TFxEffect& t) { io.Effect("", t); });
}
bool WriteFadeSettings(Stream& s, const TFadeSettings& v, Reporter& r) {
    return WriteValue(s, r, [&](Writer& io) { io.Fade("", v); });
}
bool ReadFadeSettings(Stream& s, TFadeSettings& v, Reporter& r) {
    return ReadValue(s, v, r, [](Reader& io, TFadeSettings& t) { io.Fade("", t); });
}

} // namespace orv::model
