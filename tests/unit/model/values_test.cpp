#include "fixtures.h"
#include "model/values.h"

#include <gtest/gtest.h>

namespace orv::model {
namespace {

using test::PutI32;
using test::PutStr;
using test::ReportedCode;
using test::SamplePicture;
using Bytes = std::vector<uint8_t>;

template <class F> Bytes Written(F&& write) {
    MemoryStream m;
    RecordingReporter r;
    EXPECT_TRUE(write(m, r));
    EXPECT_TRUE(r.entries.empty());
    return m.Data();
}

TEST(ValueEncodings, StringsAreCountAndBytes) {
    EXPECT_EQ(Written([](Stream& s, Reporter& r) { return WriteStr(s, "", r); }),
              (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Written([](Stream& s, Reporter& r) { return WriteStr(s, "abc", r); }),
              (Bytes{3, 0, 0, 0, 0x61, 0x62, 0x63}));

    // Any byte survives, the field separator and line breaks included.
    std::string odd("a\x01\r\n\0\xFF", 6);
    MemoryStream m(Written([&](Stream& s, Reporter& r) { return WriteStr(s, odd, r); }));
    RecordingReporter r;
    std::string back;
    ASSERT_TRUE(ReadStr(m, back, r));
    EXPECT_EQ(back, odd);
}

TEST(ValueEncodings, DamagedStringsFailWithTheirCodeAndKeepTheTarget) {
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"cut inside the count", {3, 0}},
        {"fewer bytes than the count", {3, 0, 0, 0, 'a', 'b'}},
        {"negative count", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"huge count", {0xFF, 0xFF, 0xFF, 0x7F, 'a'}},
    };
    for (const auto& c : cases) {
        MemoryStream m(c.bytes);
        RecordingReporter r;
        std::string target = "kept";
        EXPECT_FALSE(ReadStr(m, target, r)) << c.what;
        EXPECT_EQ(target, "kept") << c.what;
        ASSERT_EQ(r.entries.size(), 1u) << c.what;
        EXPECT_EQ(ReportedCode(r), 5210) << c.what;
        EXPECT_EQ(r.entries[0].caption, "Error");
    }
}

TEST(ValueEncodings, PictureSlotWithoutPictureIsFourZeroBytes) {
    TPicture none;
    EXPECT_EQ(Written([&](Stream& s, Reporter& r) { return WritePicture(s, none, r); }),
              (Bytes{0, 0, 0, 0}));
    MemoryStream m(Bytes{0, 0, 0, 0, 0x2A});
    RecordingReporter r;
    TPicture p = SamplePicture(PictureClass::Png);
    ASSERT_TRUE(ReadPicture(m, p, r));
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(PictureDisplayName(p), "None");
    EXPECT_EQ(m.Position(), 4); // the next value follows at once
}

TEST(ValueEncodings, EveryPictureClassKeepsItsBytes) {
    const struct {
        PictureClass cls;
        const char* name;
        const char* display;
    } classes[] = {
        {PictureClass::Bitmap, "TBitmap", "Bitmap"},
        {PictureClass::Icon, "TIcon", "Icon"},
        {PictureClass::Metafile, "TMetafile", "Metafile"},
        {PictureClass::Jpeg, "TJPEGImage", "JPEGImage"},
        {PictureClass::Gif, "TGIFImage", "GIFImage"},
        {PictureClass::Png, "TPNGObject", "PNGImage"},
    };
    for (const auto& c : classes) {
        TPicture pic = SamplePicture(c.cls);
        Bytes want;
        PutStr(want, c.name);
        PutI32(want, static_cast<int32_t>(pic.Bytes.size()));
        want.insert(want.end(), pic.Bytes.begin(), pic.Bytes.end());
        EXPECT_EQ(Written([&](Stream& s, Reporter& r) { return WritePicture(s, pic, r); }), want)
            << c.name;

        MemoryStream m(want);
        RecordingReporter r;
        TPicture back;
        ASSERT_TRUE(ReadPicture(m, back, r)) << c.name << ": " << r.entries.at(0).text;
        EXPECT_EQ(back, pic) << c.name;
        EXPECT_EQ(PictureDisplayName(back), c.display);
    }
}

TEST(ValueEncodings, PictureClassNamesIgnoreCaseAndAreWrittenCanonically) {
    TPicture jpeg = SamplePicture(PictureClass::Jpeg);
    Bytes stored;
    PutStr(stored, "tjpegimage");
    PutI32(stored, static_cast<int32_t>(jpeg.Bytes.size()));
    stored.insert(stored.end(), jpeg.Bytes.begin(), jpeg.Bytes.end());
    MemoryStream m(stored);
    RecordingReporter r;
    TPicture back;
    ASSERT_TRUE(ReadPicture(m, back, r));
    EXPECT_EQ(back.Class, PictureClass::Jpeg);
    Bytes again = Written([&](Stream& s, Reporter& rr) { return WritePicture(s, back, rr); });
    EXPECT_EQ(std::string(again.begin() + 4, again.begin() + 14), "TJPEGImage");
}

TEST(ValueEncodings, BadPicturesFailWithCode5206) {
    Bytes png = SamplePicture(PictureClass::Png).Bytes;
    Bytes broken = png;
    broken.resize(png.size() / 2);
    auto stored = [](const std::string& cls, const Bytes& data, int32_t count) {
        Bytes b;
        PutStr(b, cls);
        PutI32(b, count);
        b.insert(b.end(), data.begin(), data.end());
        return b;
    };
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"unknown class", stored("TWhatever", png, static_cast<int32_t>(png.size()))},
        {"bytes that do not decode",
         stored("TPNGObject", broken, static_cast<int32_t>(broken.size()))},
        {"wrong class for the bytes", stored("TJPEGImage", png, static_cast<int32_t>(png.size()))},
        {"size beyond the data", stored("TPNGObject", png, 0x7FFFFFF0)},
        {"negative size", stored("TPNGObject", png, -1)},
    };
    for (const auto& c : cases) {
        MemoryStream m(c.bytes);
        RecordingReporter r;
        TPicture p = SamplePicture(PictureClass::Gif);
        EXPECT_FALSE(ReadPicture(m, p, r)) << c.what;
        EXPECT_TRUE(p.Empty()) << c.what; // reading clears the target first
        ASSERT_EQ(r.entries.size(), 1u) << c.what;
        EXPECT_EQ(ReportedCode(r), 5206) << c.what;
    }
}

TEST(ValueEncodings, FontWhoseNameCannotBeReadLeavesTargetUnchanged) {
    TFont f = ArialFont(12, fontstyle::kBold | fontstyle::kUnderline, 0x123456);
    Bytes want;
    PutStr(want, "Arial");
    PutI32(want, 0x123456);
    PutI32(want, 12);
    want.push_back(1);
    want.push_back(5);
    EXPECT_EQ(Written([&](Stream& s, Reporter& r) { return WriteFont(s, f, r); }), want);

    TFont target;
    RecordingReporter r;
    MemoryStream cut(Bytes{9, 0, 0, 0, 'A', 'r'});
    EXPECT_FALSE(ReadFont(cut, target, r));
    EXPECT_EQ(target, TFont{});
    EXPECT_EQ(ReportedCode(r), 5210); // the name's own read reports

    MemoryStream whole(want);
    ASSERT_TRUE(ReadFont(whole, target, r));
    EXPECT_EQ(target, f);
}

TEST(ValueEncodings, TextEffectKeepsStoredValuesAndReadsNarrowValues) {
    TFxEffect e;
    Bytes b = Written([&](Stream& s, Reporter& r) { return WriteTextEffect(s, e, r); });
    // 12 int32 or colour fields, 8 booleans or bytes, and the empty picture.
    ASSERT_EQ(b.size(), 12u * 4 + 8 + 4);
    // Angle is the second field; store 0x0000FFFF there and an offset of 0xFE.
    b[4] = 0xFF;
    b[5] = 0xFF;
    size_t offsetX = 4 * 3 + 1 + 4 + 1 + 4 + 1 + 1 + 4 + 4 + 1 + 4 + 4 + 4 + 1;
    b[offsetX] = 0xFE;
    MemoryStream m(b);
    RecordingReporter r;
    TFxEffect back;
    ASSERT_TRUE(ReadTextEffect(m, back, r));
    EXPECT_EQ(back.Angle, 0x0000FFFF);
    EXPECT_EQ(back.AngleValue(), -1);
    EXPECT_EQ(back.Shadow.OffsetX, 0xFE);
    EXPECT_EQ(back.Shadow.OffsetXValue(), -2);
    EXPECT_EQ(back.Shadow.Alpha, 70);
    EXPECT_EQ(Written([&](Stream& s, Reporter& rr) { return WriteTextEffect(s, back, rr); }), b);

    MemoryStream cut(Bytes(b.begin(), b.begin() + 20));
    EXPECT_FALSE(ReadTextEffect(cut, back, r));
    EXPECT_EQ(ReportedCode(r, 0), 5204);
}

TEST(ValueEncodings, FadeSettingsInBothForms) {
    TFadeSettings f;
    Bytes current;
    PutI32(current, 100);
    current.push_back(0);
    PutI32(current, 100);
    current.push_back(1);
    PutI32(current, 10);
    PutI32(current, -1);
    PutI32(current, 50);
    PutI32(current, 10);
    ASSERT_EQ(current.size(), static_cast<size_t>(kFadeSettingsSize));
    EXPECT_EQ(Written([&](Stream& s, Reporter& r) { return WriteFadeSettings(s, f, r); }), current);

    // The older form: five fields and FadeOutStep; the next value follows.
    Bytes old;
    PutI32(old, 60);
    old.push_back(1);
    PutI32(old, 90);
    old.push_back(0);
    PutI32(old, 7);
    PutI32(old, 12);
    ASSERT_EQ(old.size(), static_cast<size_t>(kFadeSettingsShortSize));
    Bytes withNext = old;
    PutI32(withNext, 0x11223344);
    MemoryStream m(withNext);
    RecordingReporter r;
    TFadeSettings back;
    ASSERT_TRUE(ReadFadeSettings(m, back, r));
    EXPECT_EQ(m.Position(), kFadeSettingsShortSize);
    EXPECT_EQ(m.ReadI32(), 0x11223344);
    EXPECT_EQ(back.Alpha, 60);
    EXPECT_TRUE(back.MouseAlphaEnabled);
    EXPECT_EQ(back.MouseOverAlpha, 90);
    EXPECT_FALSE(back.Fade);
    EXPECT_EQ(back.FadeInStep, 7);
    EXPECT_EQ(back.FadeOutStep, 12);
    EXPECT_EQ(back.MouseDownAlpha, 50);
    // Unchanged, it is written back in the form it was read in; once it holds
    // a value the older form cannot carry, in the current form.
    EXPECT_EQ(Written([&](Stream& s, Reporter& rr) { return WriteFadeSettings(s, back, rr); }),
              old);
    back.MouseDownAlpha = 40;
    EXPECT_EQ(
        Written([&](Stream& s, Reporter& rr) { return WriteFadeSettings(s, back, rr); }).size(),
        static_cast<size_t>(kFadeSettingsSize));
}

TEST(ValueEncodings, PicturesFromFilesAreRecognisedByTheirBytes) {
    TPicture p;
    ASSERT_TRUE(PictureFromFileBytes(SamplePicture(PictureClass::Gif).Bytes, p));
    EXPECT_EQ(p.Class, PictureClass::Gif);
    std::string why;
    EXPECT_FALSE(PictureFromFileBytes(Bytes{'n', 'o', 'p', 'e'}, p, &why));
    EXPECT_FALSE(why.empty());
}

} // namespace
} // namespace orv::model
