// The demo's pictures, drawn pixel by pixel with integer arithmetic only, so
// every build of the tool produces the same bytes.
#pragma once

#include "gfx/codecs.h"

#include <cstdint>
#include <vector>

namespace orv::demo {

// A wide banner of soft diagonal bands (for a stretched background).
gfx::Image BannerImage();
// A small seamless tile (for a tiled background).
gfx::Image TileImage();
// A round emblem with a transparent surround.
gfx::Image LogoImage(int size);
// A large colourful poster (for scrolling).
gfx::Image PosterImage();
// Tab icons: 0 square, 1 disc, 2 triangle.
gfx::Image TabIconImage(int which);

// A one-image icon file (32-bit colour with an AND mask) of the image.
std::vector<uint8_t> EncodeIco(const gfx::Image& image);
// A mono 16-bit PCM wave file: a short two-tone chime.
std::vector<uint8_t> ChimeWave();

} // namespace orv::demo
