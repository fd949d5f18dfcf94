// The seed corpus of the picture fuzz target: one small file per decoder
// path, each the format index byte followed by the picture. The samples are
// built here; with ORVEXA_WRITE_GFX_SEEDS set the test writes them into the
// corpus folder. Every run checks that every checked-in seed still decodes.
#include "gfx/codecs.h"

#include "picture_builders.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orv::gfx {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

struct Sample {
    const char* name;
    PictureFormat format;
    Bytes bytes;
};

std::vector<Sample> Samples() {
    std::vector<Sample> out;
    const std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // Mixed picture for the encoders.
    Image mixed{5, 4, {}};
    for (int i = 0; i < 20; ++i)
        mixed.pixels.push_back(static_cast<uint32_t>(i) * 0x0C0D0E0Fu |
                               (i % 3 ? 0xFF000000 : 0x40000000));
    Bytes png, bmp;
    EncodePng(mixed, png);
    EncodeBmp(mixed, bmp);
    out.push_back({"png-rgba", PictureFormat::Png, png});
    out.push_back({"bmp-32-alpha", PictureFormat::Bitmap, bmp});
    out.push_back(
        {"png-palette-trns", PictureFormat::Png,
         test::MakePng({4, 2, PNG_COLOR_TYPE_PALETTE, 2, true, {0x1B, 0xE4}, pal, {0, 128}})});
    out.push_back({"png-gray16", PictureFormat::Png,
                   test::MakePng({2, 1, PNG_COLOR_TYPE_GRAY, 16, false, {1, 2, 3, 4}})});
    out.push_back({"bmp-8", PictureFormat::Bitmap,
                   test::MakeBmp({40, 3, 2, 8, 0, 0, pal, {}, {1, 2, 3, 0, 3, 2, 1, 0}})});
    out.push_back(
        {"bmp-4-core", PictureFormat::Bitmap,
         test::MakeBmp({12, 3, 2, 4, 0, 0, pal, {}, {0x12, 0x30, 0, 0, 0x32, 0x10, 0, 0}})});
    out.push_back(
        {"bmp-1-topdown", PictureFormat::Bitmap,
         test::MakeBmp(
             {40, 9, -2, 1, 0, 0, {0, 0xFFFFFF}, {}, {0xAA, 0x80, 0, 0, 0x55, 0, 0, 0}})});
    out.push_back(
        {"bmp-16-565", PictureFormat::Bitmap,
         test::MakeBmp(
             {40, 2, 1, 16, 3, 0, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0x1F, 0x00}})});
    out.push_back({"bmp-rle8", PictureFormat::Bitmap,
                   test::MakeBmp({40, 4, 3, 8, 1, 0, pal, {}, {3, 1, 5, 2, 0, 0, 0, 3, 3, 2, 1,
                                                               0, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1}})});
    out.push_back(
        {"bmp-rle4", PictureFormat::Bitmap,
         test::MakeBmp({40, 4, 2, 4, 2, 0, pal, {}, {4, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 1}})});
    Bytes rows24 = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0};
    out.push_back(
        {"ico-24-mask-and-png", PictureFormat::Icon,
         test::MakeIco(
             {{2, 2, 24, test::MakeIconDib(2, 2, 24, {}, rows24, {0, 0, 0, 0, 0x40, 0, 0, 0})},
              {32, 32, 32, png}})});
    test::JpegParts jpeg{8, 8, 3};
    for (int i = 0; i < 64; ++i)
        jpeg.samples.insert(jpeg.samples.end(),
                            {static_cast<uint8_t>(i * 4), 0x80, static_cast<uint8_t>(255 - i)});
    jpeg.quality = 75;
    out.push_back({"jpeg-rgb", PictureFormat::Jpeg, test::MakeJpeg(jpeg)});
    jpeg.progressive = true;
    out.push_back({"jpeg-progressive", PictureFormat::Jpeg, test::MakeJpeg(jpeg)});
    test::JpegParts cmyk{8, 8, 4};
    cmyk.samples.assign(8 * 8 * 4, 0x40);
    cmyk.quality = 75;
    out.push_back({"jpeg-cmyk", PictureFormat::Jpeg, test::MakeJpeg(cmyk)});
    test::GifParts gif{
        4,
        3,
        pal,
        {{1, 1, 2, 2, true, {}, 3, {0, 1, 3, 2}}, {0, 0, 1, 1, false, {0xFFFFFF}, -1, {0}}}};
    out.push_back({"gif-offset-transparent", PictureFormat::Gif, test::MakeGif(gif)});
    // Metafile headers: a placeable WMF and an EMF.
    Bytes wmf;
    test::Put32(wmf, 0x9AC6CDD7);
    for (uint32_t v : {0u, 0u, 0u, 100u, 50u, 1440u, 0u, 0u})
        test::Put16(wmf, v);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(wmf[i] | wmf[i + 1] << 8);
    test::Put16(wmf, sum);
    for (uint32_t v : {1u, 9u, 0x300u, 12u, 0u, 0u, 3u, 0u, 0u, 3u, 0u, 0u})
        test::Put16(wmf, v);
    out.push_back({"wmf-placeable", PictureFormat::Metafile, wmf});
    Bytes emf;
    test::Put32(emf, 1);
    test::Put32(emf, 88);
    while (emf.size() < 40)
        test::Put32(emf, 0);
    test::Put32(emf, 0x464D4520);
    test::Put32(emf, 0x10000);
    test::Put32(emf, 88);
    while (emf.size() < 88)
        test::Put32(emf, 0);
    out.push_back({"emf", PictureFormat::Metafile, emf});
    return out;
}

fs::path CorpusFolder() {
    return fs::path(ORVEXA_TEST_DATA) / ".." / "fuzz" / "corpus" / "gfx_picture";
}

TEST(SeedCorpus, SamplesAndCheckedInSeedsDecode) {
    const std::vector<Sample> samples = Samples();
    for (const Sample& s : samples) {
        std::string error;
        EXPECT_TRUE(DecodePicture(s.format, s.bytes.data(), s.bytes.size(), nullptr, &error))
            << s.name << ": " << error;
    }
    if (std::getenv("ORVEXA_WRITE_GFX_SEEDS")) {
        fs::create_directories(CorpusFolder());
        for (const Sample& s : samples) {
            std::ofstream file(CorpusFolder() / s.name, std::ios::binary);
            file.put(static_cast<char>(s.format));
            file.write(reinterpret_cast<const char*>(s.bytes.data()),
                       static_cast<std::streamsize>(s.bytes.size()));
        }
    }
    size_t seeds = 0;
    for (const auto& entry : fs::directory_iterator(CorpusFolder())) {
        std::ifstream file(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        ASSERT_FALSE(bytes.empty()) << entry.path();
        std::string error;
        EXPECT_TRUE(DecodePicture(static_cast<PictureFormat>(bytes[0] % 6), bytes.data() + 1,
                                  bytes.size() - 1, nullptr, &error))
            << entry.path() << ": " << error;
        ++seeds;
    }
    EXPECT_GE(seeds, samples.size())
        << "seed files are missing; write them with ORVEXA_WRITE_GFX_SEEDS=1";
}

} // namespace
} // namespace orv::gfx
