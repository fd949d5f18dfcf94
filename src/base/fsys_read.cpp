// Reading a whole file, for both platforms (on the calls of fsys).
#include "base/fsys.h"

namespace orv::fsys {

bool ReadFileBytes(const std::string& path, int64_t maxSize, std::vector<uint8_t>& out) {
    int64_t size = 0;
    if (path.empty() || !FileExists(path) || !FileSize(path, size) || size < 0 || size > maxSize)
        return false;
    std::FILE* f = OpenFile(path, "rb");
    if (!f)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
    const bool ok = got == bytes.size() && !std::ferror(f);
    std::fclose(f);
    if (!ok)
        return false;
    out = std::move(bytes);
    return true;
}

} // namespace orv::fsys
