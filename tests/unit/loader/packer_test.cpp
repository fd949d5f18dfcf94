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

PackInput BasicInput() {
    PackInput in;
    in.loader = test::BuildTestImage();
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

TEST(PackInstaller, TheLoaderFindsAndUnpacksWhatWasPacked) {
    const PackInput in = BasicInput();
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(PackInstaller(in, out, error)) << error;

    PeFile pe;
    ASSERT_TRUE(pe.Parse(out, error)) << error;
    std::vector<std::string> names;
    for (const Section& s : pe.Sections())
        names.push_back(s.Name());
    EXPECT_EQ(names, (std::vector<std::string>{".text", ".rdata", ".rsrcold", ".reloc", ".vykstub",
                                               ".vykarch", ".rsrc"}));
    // The image stays contiguous in memory, as the system requires.
    uint32_t next = pe.Sections()[0].virtualAddress;
    for (const Section& s : pe.Sections()) {
        EXPECT_EQ(s.virtualAddress, next) << s.Name();
        next = (s.virtualAddress + s.virtualSize + 0xFFF) & ~0xFFFu;
    }
    const size_t opt = 0x40 + 24;
    EXPECT_EQ(Le32(out.data() + opt + 56), next); // size of image

    StubLocation stub;
    ASSERT_EQ(FindStubSection(out.data(), out.size(), stub), ImageCheck::Ok);
    EXPECT_EQ(stub.rawOffset, pe.FindSection(".vykstub")->rawOffset);
    MemorySource src(out.data() + stub.rawOffset, stub.rawSize);
    FileSink sink;
    ASSERT_EQ(UnpackEngine(src, sink), err::kOk);
    EXPECT_EQ(sink.data, in.engine);
    EXPECT_EQ(sink.header.fileTime, in.engineTime);
    EXPECT_EQ(sink.header.attributes, in.engineAttributes);

    const Section* arch = pe.FindSection(".vykarch");
    ASSERT_NE(arch, nullptr);
    const uint8_t* a = out.data() + arch->rawOffset;
    EXPECT_EQ(Le32(a + kOffMagic), kContainerMagic);
    EXPECT_EQ(Le32(a + kOffVersion), kContainerVersion);
    EXPECT_EQ(std::memcmp(a + kOffPackageCode, kPackage.data(), 16), 0);
    EXPECT_EQ(std::vector<uint8_t>(a + 64, a + 64 + in.archive.size()), in.archive);

    EXPECT_EQ(pe.DirectoryRva(kDirResource), pe.FindSection(".rsrc")->virtualAddress);
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

TEST(PackInstaller, ChecksumCoversTheImage) {
    PackInput in = BasicInput();
    in.trailerEncoding = TrailerEncoding::None;
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(PackInstaller(in, out, error)) << error;
    const size_t field = 0x40 + 24 + 64;
    const uint32_t stored = Le32(out.data() + field);
    PutLe32(out.data() + field, 0);
    EXPECT_EQ(PeChecksum(out), stored);
}

TEST(PackInstaller, RefusesWhatItCannotPack) {
    struct Case {
        const char* name;
        std::vector<uint8_t> loader;
        const char* error;
    };
    std::vector<uint8_t> packed;
    std::string error;
    ASSERT_TRUE(PackInstaller(BasicInput(), packed, error)) << error;
    std::vector<uint8_t> pe32plus = test::BuildTestImage();
    PutLe16(pe32plus.data() + 0x40 + 24, 0x20B);
    // The last section's virtual size wraps the 32-bit address space.
    std::vector<uint8_t> wrapping = test::BuildTestImage();
    PutLe32(wrapping.data() + 0x138 + 40 * 3 + 8, 0xFFFF000C);
    // Sections aligned more finely than the file: raw data would overlap.
    std::vector<uint8_t> fine = test::BuildTestImage();
    PutLe32(fine.data() + 0x40 + 24 + 32, 0x100);
    const std::vector<Case> cases = {
        {"packed twice", packed, "packed already"},
        {"not an executable", std::vector<uint8_t>(4096, 'x'), "no MZ and PE"},
        {"64-bit image", pe32plus, "not a 32-bit"},
        {"section beyond 2 GiB", wrapping, "beyond 2 GiB"},
        {"section alignment below file alignment", fine, "bad alignment"},
        {"no version block", test::BuildTestImage({false, 0}), "no version information"},
        {"no room for section headers", test::BuildTestImage({true, 11}), "no room"},
    };
    for (const auto& c : cases) {
        PackInput in = BasicInput();
        in.loader = c.loader;
        std::vector<uint8_t> out;
        error.clear();
        EXPECT_FALSE(PackInstaller(in, out, error)) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
    PackInput fits = BasicInput();
    fits.loader = test::BuildTestImage({true, 10}); // exactly 17 headers fit
    EXPECT_TRUE(PackInstaller(fits, packed, error)) << error;
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
