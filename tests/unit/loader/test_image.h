// A small PE32 image built in the test: a few sections, a resource section
// with a version block, and a relocation section after it, as the linker
// lays out the loader.
#pragma once

#include "loader/resources.h"

#include <cstdint>
#include <vector>

namespace vyk::test {

// The loader's version block: fixed file information, one string table
// (040904E4) with FileDescription, Arguments (empty) and Comments, and the
// translation 0x0409/1252.
VersionNode LoaderVersionInfo();

struct ImageOptions {
    bool withVersion = true;
    int extraSections = 0; // further empty sections before the resources
};

std::vector<uint8_t> BuildTestImage(const ImageOptions& options = {});

} // namespace vyk::test
