#include "loader/packer.h"

#include "loader/container.h"
#include "loader/peimage.h"
#include "loader/resources.h"
#include "loader/textcodec.h"

namespace vyk {

namespace {

bool SetVersionStrings(ResourceNode& resources, const PackInput& in, std::string& error) {
    std::u16string arguments, packageCode, productCode;
    if (!Utf8ToUtf16(in.arguments, arguments)) {
        error = "the Arguments text is not UTF-8";
        return false;
    }
    Utf8ToUtf16(FormatGuid(in.packageCode), packageCode);
    Utf8ToUtf16(FormatGuid(in.productCode), productCode);
    std::vector<ResourceNode*> leaves = FindResourceLeaves(resources, kResourceTypeVersion);
    if (leaves.empty()) {
        error = "the loader has no version information";
        return false;
    }
    for (ResourceNode* leaf : leaves) {
        VersionNode root;
        if (!ParseVersionInfo(leaf->data.data(), leaf->data.size(), root, error)) {
            error = "damaged version information: " + error;
            return false;
        }
        if (!SetVersionString(root, u"Arguments", arguments) ||
            !SetVersionString(root, u"PackageCode", packageCode) ||
            !SetVersionString(root, u"ProductCode", productCode)) {
            error = "the loader's version information has no string table";
            return false;
        }
        leaf->data = BuildVersionInfo(root);
        if (leaf->data.empty()) {
            error = "the version strings are too long";
            return false;
        }
    }
    return true;
}

} // namespace

bool PackInstaller(const PackInput& in, std::vector<uint8_t>& out, std::string& error) {
    PeFile pe;
    if (!pe.Parse(in.loader, error))
        return false;
    if (pe.FindSection(kStubSectionName) || pe.FindSection(kArchiveSectionName)) {
        error = "the loader is packed already";
        return false;
    }
    // A process loads libraries of its own kind only: such an installer
    // would always end in a load failure. Bytes that are no image at all are
    // the engine's own affair.
    const ImageFormat engineFormat = DetectImageFormat(in.engine.data(), in.engine.size());
    const ImageFormat loaderFormat = pe.Is64Bit() ? ImageFormat::Pe32Plus : ImageFormat::Pe32;
    if (engineFormat != ImageFormat::Unknown && engineFormat != loaderFormat) {
        error = pe.Is64Bit() ? "the engine is a 32-bit library but the loader is 64-bit"
                             : "the engine is a 64-bit library but the loader is 32-bit";
        return false;
    }

    ResourceNode resources;
    if (!ReadResources(pe, resources, error) || !SetVersionStrings(resources, in, error))
        return false;

    std::vector<PackEntry> entries;
    uint32_t id = 1;
    for (const auto& extra : in.extraEntries)
        entries.push_back({id++, 0, extra.data(), extra.size(), 0, kAttributeArchive});
    entries.push_back({kEngineIdLow, kEngineIdHigh, in.engine.data(), in.engine.size(),
                       in.engineTime, in.engineAttributes});
    std::vector<uint8_t> stub;
    if (!BuildStubContainer(entries, in.stub, stub, error))
        return false;

    std::vector<uint8_t> trailer;
    if (!EncodeTrailer(in.trailer, in.trailerEncoding, trailer, error))
        return false;

    // The old resource section stays where it is (sections must stay
    // contiguous in memory) but is no longer referred to; the tree is laid
    // out anew after the added sections.
    const uint32_t oldResources = pe.DirectoryRva(kDirResource);
    if (!pe.AddSection(kStubSectionName, std::move(stub), kReadOnlyDataSection, error) ||
        !pe.AddSection(kArchiveSectionName,
                       BuildArchiveSection(in.packageCode, in.archive.data(), in.archive.size()),
                       kReadOnlyDataSection, error))
        return false;
    const uint32_t rva = pe.NextSectionRva();
    std::vector<uint8_t> rsrc = BuildResourceSection(resources, rva);
    const uint32_t rsrcSize = uint32_t(rsrc.size());
    for (size_t i = 0; i < pe.Sections().size(); ++i) {
        const Section& s = pe.Sections()[i];
        if (s.virtualAddress == oldResources && s.Name() == ".rsrc")
            pe.RenameSection(i, ".rsrcold");
    }
    if (!pe.AddSection(".rsrc", std::move(rsrc), kReadOnlyDataSection, error))
        return false;
    if (!pe.SetDirectory(kDirResource, rva, rsrcSize)) {
        error = "no room for the resource directory";
        return false;
    }

    out = pe.Build();
    out.insert(out.end(), trailer.begin(), trailer.end());
    return true;
}

} // namespace vyk
