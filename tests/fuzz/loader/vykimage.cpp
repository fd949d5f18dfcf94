// PE headers (32- and 64-bit), resources and the version block of a loader
// image, and the packer that rewrites them: whatever the bytes, reading must
// stay inside them, and a packed result must read back in the same format
// with its own strings.
#include "loader/packer.h"
#include "loader/peimage.h"
#include "loader/resources.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vyk::StubLocation stub;
    vyk::FindStubSection(data, size, stub);

    std::vector<uint8_t> bytes(data, data + size);
    vyk::PeFile pe;
    std::string error;
    if (!pe.Parse(bytes, error))
        return 0;
    vyk::ResourceNode root;
    if (vyk::ReadResources(pe, root, error)) {
        for (vyk::ResourceNode* leaf : vyk::FindResourceLeaves(root, vyk::kResourceTypeVersion)) {
            vyk::VersionNode v;
            if (vyk::ParseVersionInfo(leaf->data.data(), leaf->data.size(), v, error))
                vyk::BuildVersionInfo(v);
        }
    }

    vyk::PackInput in;
    in.loader = std::move(bytes);
    in.engine = {1, 2, 3};
    in.arguments = "/x";
    in.stub.preset = 0;
    in.stub.dictSize = 4096;
    std::vector<uint8_t> out;
    if (!vyk::PackInstaller(in, out, error))
        return 0;
    vyk::PeFile packed;
    if (!packed.Parse(out, error) || packed.Is64Bit() != pe.Is64Bit() ||
        vyk::FindStubSection(out.data(), out.size(), stub) != vyk::ImageCheck::Ok)
        std::abort();
    vyk::ResourceNode again;
    if (!vyk::ReadResources(packed, again, error))
        std::abort();
    auto leaves = vyk::FindResourceLeaves(again, vyk::kResourceTypeVersion);
    if (leaves.empty())
        std::abort();
    vyk::VersionNode v;
    std::u16string value;
    if (!vyk::ParseVersionInfo(leaves[0]->data.data(), leaves[0]->data.size(), v, error) ||
        !vyk::GetVersionString(v, u"Arguments", value) || value != u"/x")
        std::abort();
    return 0;
}
