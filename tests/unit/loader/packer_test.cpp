#include "loader/container.h"
#include "loader/packer.h"
#include "loader/peimage.h"
#include "loader/resources.h"
#include "test_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace vyk {
namespace {

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = uint8_t(rng());
    return v;
}

const Guid kPackage = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

PackInput BasicInput(bool pe32plus) {
    PackInput in;
    in.loader = test::BuildTestImage({.pe32plus = pe32plus});
    in.engine = RandomBytes(100000, 1);
    in.engineTime = 0x01DA000011112222;
    in.engineAttributes = 0x21;
    in.extraEntries = {RandomBytes(5000, 2)};
    in.archive = RandomBytes(3000, 3);
    in.arguments = "/lang:de caf\xC3\xA9";
    in.trailer = "/log";
    in.trailerEncoding = TrailerEncoding::Utf16;
    in.packageCode = kPackage;
    return in;
}

class FileSink : public EngineSink {
public:
    EntryHeader header;
    std::vector<uint8_t> data;
    uint32_t Create(const EntryHeader& h) override {
        header = h;
        return 0;
    }
    uint32_t Write(const uint8_t* b, size_t n, size_t& w) override {
        data.insert(data.end(), b, b + n);
        w = n;
        return 0;
    }
    uint32_t Finish(const EntryHeader&) override { return 0; }
};

uint64_t AlignUp(uint64_t v, uint32_t a) {
    return (v + a - 1) / a * a;
}

// Every case runs on a 32-bit (PE32) and a 64-bit (PE32+) loader image.
class PackFormat : public ::testing::TestWithParam<bool> {
protected:
    bool Pe32Plus() const { return GetParam(); }
    PackInput Input() const { return BasicInput(Pe32Plus()); }
};

INSTANTIATE_TEST_SUITE_P(Formats, PackFormat, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "PE32plus" : "PE32"; });

TEST_P(PackFormat, PackedImageHasAValidLayoutAndCarriesTheStub) {
    const PackInput in = Input();
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(PackInstaller(in, out, error)) << error;

    // The headers, read back by the test's own reader.
    test::RawHeaders before, h;
    ASSERT_TRUE(test::ReadRawHeaders(in.loader, before, error)) << error;
    ASSERT_TRUE(test::ReadRawHeaders(out, h, error)) << error;
    EXPECT_EQ(h.pe32plus, Pe32Plus());
    EXPECT_EQ(h.machine, before.machine);
    EXPECT_EQ(h.optSize, before.optSize);
    EXPECT_EQ(h.imageBase, Pe32Plus() ? test::kTestImageBase64 : test::kTestImageBase32);
    EXPECT_EQ(h.sizeOfHeaders, before.sizeOfHeaders);
    std::vector<std::string> names;
    for (const auto& s : h.sections)
        names.push_back(s.name);
    EXPECT_EQ(names, (std::vector<std::string>{".text", ".rdata", ".rsrcold", ".reloc", ".vykstub",
                                               ".vykarch", ".rsrc"}));
    // The section table lies in the headers, before any section's data.
    EXPECT_LE(h.tableOffset + 40 * h.sections.size(), h.sizeOfHeaders);
    // The image stays contiguous in memory, as the system requires, and the
    // raw data of each section is aligned, in the file and apart.
    uint64_t nextRva = h.sections[0].virtualAddress;
    uint64_t nextRaw = h.sizeOfHeaders;
    for (const auto& s : h.sections) {
        EXPECT_EQ(s.virtualAddress, nextRva) << s.name;
        nextRva = AlignUp(uint64_t(s.virtualAddress) + s.virtualSize, h.sectionAlign);
        EXPECT_EQ(s.rawOffset % h.fileAlign, 0u) << s.name;
        EXPECT_EQ(s.rawSize % h.fileAlign, 0u) << s.name;
        EXPECT_GE(s.rawOffset, nextRaw) << s.name;
        EXPECT_LE(uint64_t(s.rawOffset) + s.rawSize, out.size()) << s.name;
        nextRaw = uint64_t(s.rawOffset) + s.rawSize;
    }
    EXPECT_EQ(h.sizeOfImage, nextRva);
    uint32_t added = 0;
    for (size_t i = 4; i < h.sections.size(); ++i)
        added += h.sections[i].rawSize;
    EXPECT_EQ(h.sizeOfInitData, before.sizeOfInitData + added);
    EXPECT_EQ(h.numDirs, 16u);
    EXPECT_EQ(h.dirs[kDirResource][0], h.sections[6].virtualAddress);
    EXPECT_EQ(h.dirs[kDirResource][1], h.sections[6].virtualSize);

    // The stub container starts at the section's raw offset, and the
    // loader's look-up over the mapped headers alone finds it there.
    const test::RawSection& stubSection = h.sections[4];
    EXPECT_EQ(Le32(out.data() + stubSection.rawOffset + kOffMagic), kContainerMagic);
    StubLocation stub;
    ASSERT_EQ(FindStubSection(out.data(), h.sizeOfHeaders, stub), ImageCheck::Ok);
    EXPECT_EQ(stub.rawOffset, stubSection.rawOffset);
    EXPECT_EQ(stub.rawSize, stubSection.rawSize);
    MemorySource src(out.data() + stub.rawOffset, stub.rawSize);
    FileSink sink;
    ASSERT_EQ(UnpackEngine(src, sink), err::kOk);
    EXPECT_EQ(sink.data, in.engine);
    EXPECT_EQ(sink.header.fileTime, in.engineTime);
    EXPECT_EQ(sink.header.attributes, in.engineAttributes);

    const uint8_t* a = out.data() + h.sections[5].rawOffset;
    EXPECT_EQ(Le32(a + kOffMagic), kContainerMagic);
    EXPECT_EQ(Le32(a + kOffVersion), kContainerVersion);
    EXPECT_EQ(std::memcmp(a + kOffPackageCode, kPackage.data(), 16), 0);
    EXPECT_EQ(std::vector<uint8_t>(a + 64, a + 64 + in.archive.size()), in.archive);

    PeFile pe;
    ASSERT_TRUE(pe.Parse(out, error)) << error;
    EXPECT_EQ(pe.Is64Bit(), Pe32Plus());
    ResourceNode res;
    ASSERT_TRUE(ReadResources(pe, res, error)) << error;
    auto leaves = FindResourceLeaves(res, kResourceTypeVersion);
    ASSERT_EQ(leaves.size(), 1u);
    VersionNode version;
    ASSERT_TRUE(ParseVersionInfo(leaves[0]->data.data(), leaves[0]->data.size(), version, error));
    std::u16string value;
    ASSERT_TRUE(GetVersionString(version, u"Arguments", value));
    EXPECT_EQ(value, u"/lang:de caf\u00E9");
    ASSERT_TRUE(GetVersionString(version, u"PackageCode", value));
    EXPECT_EQ(value, u"{04030201-0605-0807-090A-0B0C0D0E0F10}");
    ASSERT_TRUE(GetVersionString(version, u"FileDescription", value));
    EXPECT_EQ(value, u"Installer");
    // Other resources come along unchanged.
    ASSERT_FALSE(res.children.empty());
    EXPECT_TRUE(res.children[0].named);
    EXPECT_EQ(res.children[0].name, u"BLOB");
    EXPECT_EQ(res.children[0].children[0].children[0].data, (std::vector<uint8_t>{1, 2, 3, 4, 5}));

    const std::vector<uint8_t> frame = {'|', 0, '>', 0};
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), out.end() - 4));
}

TEST_P(PackFormat, ChecksumCoversTheImage) {
    PackInput in = Input();
    in.trailerEncoding = TrailerEncoding::None;
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(PackInstaller(in, out, error)) << error;
    test::RawHeaders h;
    ASSERT_TRUE(test::ReadRawHeaders(out, h, error)) << error;
    EXPECT_NE(h.checksum, 0u);
    PutLe32(out.data() + h.checksumOffset, 0);
    EXPECT_EQ(PeChecksum(out), h.checksum);
}

TEST_P(PackFormat, RefusesWhatItCannotPack) {
    struct Case {
        const char* name;
        std::vector<uint8_t> loader;
        const char* error;
        std::vector<uint8_t> engine = {};
    };
    const bool plus = Pe32Plus();
    const std::vector<uint8_t> image = test::BuildTestImage({.pe32plus = plus});
    test::RawHeaders h;
    std::string error;
    ASSERT_TRUE(test::ReadRawHeaders(image, h, error)) << error;
    auto patched = [&](size_t at, uint32_t value, bool word = false) {
        std::vector<uint8_t> v = image;
        if (word)
            PutLe16(v.data() + at, uint16_t(value));
        else
            PutLe32(v.data() + at, value);
        return v;
    };
    std::vector<uint8_t> packed;
    ASSERT_TRUE(PackInstaller(Input(), packed, error)) << error;
    const std::vector<Case> cases = {
        {"packed twice", packed, "packed already"},
        {"not an executable", std::vector<uint8_t>(4096, 'x'), "no MZ and PE"},
        {"ROM image", patched(test::kTestOptOffset, 0x107, true), "not a PE32 or PE32+"},
        // Long enough for the other format's fixed part, not for this one's.
        {"optional header cut short", patched(test::kTestPeOffset + 4 + 16, plus ? 100 : 94, true),
         "cut short"},
        // The last section's virtual size wraps the 32-bit address space.
        {"section beyond 2 GiB", patched(h.tableOffset + 40 * 3 + 8, 0xFFFF000C), "beyond 2 GiB"},
        // Sections aligned more finely than the file: raw data would overlap.
        {"section alignment below file alignment", patched(test::kTestOptOffset + 32, 0x100),
         "bad alignment"},
        {"no version block", test::BuildTestImage({.withVersion = false, .pe32plus = plus}),
         "no version information"},
        {"no room for section headers",
         test::BuildTestImage({.extraSections = 11, .pe32plus = plus}), "no room"},
        // A process loads only libraries of its own kind.
        {"engine of the other kind", image,
         plus ? "engine is a 32-bit library" : "engine is a 64-bit library",
         test::BuildTestImage({.pe32plus = !plus})},
    };
    for (const auto& c : cases) {
        PackInput in = Input();
        in.loader = c.loader;
        if (!c.engine.empty())
            in.engine = c.engine;
        std::vector<uint8_t> out;
        error.clear();
        EXPECT_FALSE(PackInstaller(in, out, error)) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
    PackInput fits = Input();
    fits.loader = test::BuildTestImage({.extraSections = 10, .pe32plus = plus}); // 17 headers
    fits.engine = test::BuildTestImage({.pe32plus = plus}); // an engine of the loader's kind
    EXPECT_TRUE(PackInstaller(fits, packed, error)) << error;
}

TEST_P(PackFormat, DirectoryBeyondTheCountIsAddedWhereThereIsRoom) {
    // Two directories declared; the header has room for sixteen.
    std::vector<uint8_t> image = test::BuildTestImage({.pe32plus = Pe32Plus()});
    PutLe32(image.data() + test::kTestOptOffset + (Pe32Plus() ? 108 : 92), 2);
    PeFile pe;
    std::string error;
    ASSERT_TRUE(pe.Parse(image, error)) << error;
    EXPECT_EQ(pe.DirectoryRva(kDirResource), 0u);
    ASSERT_TRUE(pe.SetDirectory(kDirResource, 0x5000, 0x123));
    EXPECT_FALSE(pe.SetDirectory(16, 1, 1));
    test::RawHeaders h;
    ASSERT_TRUE(test::ReadRawHeaders(pe.Build(), h, error)) << error;
    EXPECT_EQ(h.numDirs, 3u);
    EXPECT_EQ(h.dirs[kDirResource][0], 0x5000u);
    EXPECT_EQ(h.dirs[kDirResource][1], 0x123u);
}

TEST_P(PackFormat, StubLookUpOverTheImageHeaders) {
    const bool plus = Pe32Plus();
    std::vector<uint8_t> packed;
    std::string error;
    ASSERT_TRUE(PackInstaller(Input(), packed, error)) << error;
    test::RawHeaders h;
    ASSERT_TRUE(test::ReadRawHeaders(packed, h, error)) << error;
    const size_t stubHeader = h.tableOffset + 40 * 4;
    std::vector<uint8_t> zeroOffset = packed;
    PutLe32(zeroOffset.data() + stubHeader + 20, 0);
    std::vector<uint8_t> noPe = packed;
    noPe[test::kTestPeOffset + 1] = 'X';
    struct Case {
        const char* name;
        const std::vector<uint8_t>& bytes;
        size_t size;
        ImageCheck want;
    } cases[] = {
        {"packed", packed, packed.size(), ImageCheck::Ok},
        {"headers up to the stub's entry", packed, stubHeader + 40, ImageCheck::Ok},
        {"cut inside the stub's entry", packed, stubHeader + 39, ImageCheck::NoStubSection},
        {"stub with raw offset 0", zeroOffset, zeroOffset.size(), ImageCheck::NoStubSection},
        {"not packed", Input().loader, Input().loader.size(), ImageCheck::NoStubSection},
        {"no PE signature", noPe, noPe.size(), ImageCheck::NoSignature},
        {"shorter than the DOS header", packed, 63, ImageCheck::NoSignature},
    };
    for (const auto& c : cases) {
        StubLocation stub;
        EXPECT_EQ(FindStubSection(c.bytes.data(), c.size, stub), c.want) << c.name;
        if (c.want == ImageCheck::Ok) {
            EXPECT_EQ(stub.rawOffset, h.sections[4].rawOffset) << c.name;
        }
    }
    EXPECT_EQ(DetectImageFormat(packed.data(), packed.size()),
              plus ? ImageFormat::Pe32Plus : ImageFormat::Pe32);
}

TEST(VersionInfo, RoundTripsAndAddsMissingStrings) {
    const std::vector<uint8_t> bytes = BuildVersionInfo(test::LoaderVersionInfo());
    VersionNode root;
    std::string error;
    ASSERT_TRUE(ParseVersionInfo(bytes.data(), bytes.size(), root, error)) << error;
    EXPECT_EQ(BuildVersionInfo(root), bytes);
    EXPECT_EQ(Le16(bytes.data()), bytes.size());

    ASSERT_TRUE(SetVersionString(root, u"SpecialBuild", u"x"));
    std::u16string v;
    ASSERT_TRUE(GetVersionString(root, u"SpecialBuild", v));
    EXPECT_EQ(v, u"x");
    EXPECT_FALSE(GetVersionString(root, u"Missing", v));

    // Cut anywhere, the block claims more than there is and is refused.
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
        VersionNode r;
        EXPECT_FALSE(ParseVersionInfo(cut.data(), cut.size(), r, error)) << n;
    }
}

} // namespace
} // namespace vyk
