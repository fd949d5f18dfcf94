// The value encodings shared by every record of the project file: strings,
// fonts, pictures, the text-effect record and the fade settings record. Each
// has a write and a read operation on a stream; both return success and
// report their own failure once, with their operation code (codes.h).
#pragma once

#include "base/report.h"
#include "base/stream.h"
#include "gfx/codecs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::model {

// Colours: 0x00BBGGRR, or a system colour (top bit set, index in the low byte).
namespace color {
inline constexpr int32_t kBlack = 0x000000;
inline constexpr int32_t kWhite = 0xFFFFFF;
inline constexpr int32_t kGray = 0x808080;
inline constexpr int32_t kBlue = 0xFF0000;
inline constexpr int32_t kWindow = static_cast<int32_t>(0xFF000005);
inline constexpr int32_t kWindowText = static_cast<int32_t>(0xFF000008);
inline constexpr int32_t kBtnFace = static_cast<int32_t>(0xFF00000F);
inline constexpr int32_t kBtnShadow = static_cast<int32_t>(0xFF000010);
inline constexpr int32_t kBtnHighlight = static_cast<int32_t>(0xFF000014);
constexpr int32_t Rgb(int r, int g, int b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
} // namespace color

// Font style bits.
namespace fontstyle {
inline constexpr uint8_t kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;
}

struct TFont {
    std::string Name = "MS Sans Serif";
    int32_t Color = color::kWindowText;
    int32_t Size = 8; // points
    uint8_t Charset = 1;
    uint8_t Style = 0;
    bool operator==(const TFont&) const = default;
};

// Arial in the given size and style: the font most kinds start with.
TFont ArialFont(int32_t size, uint8_t style = 0, int32_t color = color::kWindowText);

// The six stored picture classes, and none.
enum class PictureClass : uint8_t { None, Bitmap, Icon, Metafile, Jpeg, Gif, Png };

// A picture keeps the bytes it was read from (a complete file of its class)
// and writes them back unchanged; it is decoded where it is drawn.
struct TPicture {
    PictureClass Class = PictureClass::None;
    std::vector<uint8_t> Bytes;

    bool Empty() const { return Class == PictureClass::None || Bytes.empty(); }
    void Clear() {
        Class = PictureClass::None;
        Bytes.clear();
    }
    bool operator==(const TPicture&) const = default;
};

// "TBitmap", "TIcon", "TMetafile", "TJPEGImage", "TGIFImage", "TPNGObject";
// empty for None.
const char* PictureClassName(PictureClass c);
// Looks a stored class name up ignoring letter case; None when unknown.
PictureClass PictureClassFromName(const std::string& name);
// "None" for an empty picture, else the class name without its "T", with
// PNG pictures shown as "PNGImage".
std::string PictureDisplayName(const TPicture& p);
// The codec format of a class (not None).
gfx::PictureFormat PictureFormatOf(PictureClass c);
PictureClass PictureClassOf(gfx::PictureFormat f);

// Text effect. Values are stored widened to int32 and kept as stored; the
// narrow readings (Angle as int16, shadow offsets as int8) are the accessors,
// and range clamping happens where the effect is drawn.
struct TFxGradual {
    bool Enabled = false;
    int32_t EndColor = color::kBlack;
    int32_t StartColor = color::kWhite;
    uint8_t Style = 0; // gsLeftToRight .. gsCenterToTB
    bool operator==(const TFxGradual&) const = default;
};

struct TFxShadow {
    int32_t Alpha = 70;
    int32_t Blur = 80;
    int32_t Color = 0x444444;
    bool Enabled = false;
    int32_t OffsetX = 2;
    int32_t OffsetY = 2;
    int8_t OffsetXValue() const { return static_cast<int8_t>(OffsetX & 0xFF); }
    int8_t OffsetYValue() const { return static_cast<int8_t>(OffsetY & 0xFF); }
    bool operator==(const TFxShadow&) const = default;
};

struct TFxTexture {
    bool Enabled = false;
    uint8_t Mode = 0; // tmTiled, tmStretched, tmCenter, tmNormal
    TPicture Picture;
    bool operator==(const TFxTexture&) const = default;
};

struct TFxEffect {
    int32_t Alpha = 100;
    int32_t Angle = 0;
    int32_t Blur = 0;
    bool HorzMirror = false;
    int32_t Noise = 0;
    bool Outline = false;
    int32_t Spray = 0;
    bool VertMirror = false;
    TFxGradual Gradual;
    TFxShadow Shadow;
    TFxTexture Texture;
    // The angle in degrees as the effect reads it: the low 16 bits, signed.
    int16_t AngleValue() const { return static_cast<int16_t>(Angle & 0xFFFF); }
    bool operator==(const TFxEffect&) const = default;
};

// Fade settings of the fading kinds. A record read in the older, shorter
// form (no marker, no MouseDownAlpha) is written back in that form while it
// can still hold the values; otherwise the current form is written.
struct TFadeSettings {
    int32_t Alpha = 100;
    bool MouseAlphaEnabled = false;
    int32_t MouseOverAlpha = 100;
    bool Fade = true;
    int32_t FadeInStep = 10;
    int32_t MouseDownAlpha = 50;
    int32_t FadeOutStep = 10;
    int32_t Marker = -1;    // the stored negative marker of the current form
    bool ShortForm = false; // read in the older form
    bool operator==(const TFadeSettings&) const = default;
};

// Byte sizes of the two stored forms of the fade settings record.
inline constexpr int kFadeSettingsShortSize = 18;
inline constexpr int kFadeSettingsSize = 26;

// The encodings. Each reports its own failure with its code and returns
// false; a reader assigns the target only when the whole value was read
// (ReadPicture clears the target first).
bool WriteStr(Stream& s, const std::string& v, Reporter& r);
bool ReadStr(Stream& s, std::string& v, Reporter& r);
bool WriteFont(Stream& s, const TFont& v, Reporter& r);
bool ReadFont(Stream& s, TFont& v, Reporter& r);
bool WritePicture(Stream& s, const TPicture& v, Reporter& r);
bool ReadPicture(Stream& s, TPicture& v, Reporter& r);
bool WriteTextEffect(Stream& s, const TFxEffect& v, Reporter& r);
bool ReadTextEffect(Stream& s, TFxEffect& v, Reporter& r);
bool WriteFadeSettings(Stream& s, const TFadeSettings& v, Reporter& r);
bool ReadFadeSettings(Stream& s, TFadeSettings& v, Reporter& r);

// A picture from the bytes of a picture file picked by the user: the class
// is recognised from the bytes, which must decode. False when they do not.
bool PictureFromFileBytes(std::vector<uint8_t> bytes, TPicture& out, std::string* error = nullptr);

} // namespace orv::model
