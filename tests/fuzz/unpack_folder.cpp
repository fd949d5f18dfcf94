// Feeds arbitrary bytes to the packed-folder reader, unpacking into a
// scratch folder that is emptied after every input.
#include "base/fsys.h"
#include "base/packfolder.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
class Silent : public orv::Reporter {
public:
    int Show(const std::string&, const std::string&, uint32_t flags) override {
        return orv::DefaultAnswer(flags);
    }
};

const std::string& Scratch() {
    static std::string dir = [] {
        std::string d = orv::fsys::TempFolder() + "/orvexa-fuzz-unpack-" + std::to_string(getpid());
        orv::fsys::CreateDir(d);
        return d;
    }();
    return dir;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = Scratch();
    orv::ViewStream s(data, size);
    Silent r;
    orv::UnpackFolder(s, dir, r);
    // Empty the scratch folder again, keeping the folder itself.
    std::vector<std::string> names;
    orv::fsys::ListDir(dir, true, names);
    for (const auto& n : names)
        orv::DeleteFolderTree(orv::fsys::Join(dir, n));
    orv::fsys::ListDir(dir, false, names);
    for (const auto& n : names)
        orv::fsys::RemoveFile(orv::fsys::Join(dir, n));
    return 0;
}
