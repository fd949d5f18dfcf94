// Feeds arbitrary bytes to the picture decoders. The first byte picks the
// format (modulo 6, in the order of PictureFormat); the rest is the file.
// Besides not crashing, a decode must agree with a validation of the same
// bytes, and a decoded picture must survive both encoders unchanged.
#include "gfx/codecs.h"

#include <cstdlib>
#include <string>

namespace {

using orv::gfx::DecodeLimits;
using orv::gfx::DecodePicture;
using orv::gfx::Image;
using orv::gfx::PictureFormat;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckRoundTrip(const Image& image, bool png) {
    std::vector<uint8_t> bytes;
    Check(png ? orv::gfx::EncodePng(image, bytes) : orv::gfx::EncodeBmp(image, bytes));
    Image again;
    std::string error;
    Check(DecodePicture(png ? PictureFormat::Png : PictureFormat::Bitmap, bytes.data(),
                        bytes.size(), &again, &error));
    Check(again.width == image.width && again.height == image.height);
    Check(again.pixels == image.pixels);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const auto format = static_cast<PictureFormat>(data[0] % 6);
    ++data;
    --size;
    // Smaller limits than the program's keep each run fast; the checks are
    // the same code.
    const DecodeLimits limits{2048, 1 << 20};
    Image image;
    std::string error;
    const bool decoded = DecodePicture(format, data, size, &image, &error, limits);
    const bool valid = DecodePicture(format, data, size, nullptr, nullptr, limits);
    Check(decoded == valid);
    Check(decoded || !error.empty());
    PictureFormat sniffed;
    orv::gfx::SniffPictureFormat(data, size, sniffed);
    if (!decoded || image.Empty())
        return 0;
    Check(image.pixels.size() == static_cast<size_t>(image.width) * image.height);
    CheckRoundTrip(image, true);
    // A BMP whose alpha is zero everywhere reads back as opaque, by design.
    bool anyAlpha = false;
    for (uint32_t p : image.pixels)
        anyAlpha = anyAlpha || (p >> 24) != 0;
    if (anyAlpha)
        CheckRoundTrip(image, false);
    return 0;
}
