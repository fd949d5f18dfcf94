// A fresh temporary folder for a test, deleted with everything in it.
#pragma once

#include "base/fsys.h"
#include "base/packfolder.h"

#include <atomic>
#include <cstdlib>
#include <string>

namespace orv::test {

class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        for (int i = 0;; ++i) {
            path_ = fsys::Join(fsys::TempFolder(), "orvexa-test-" + std::to_string(rand()) + "-" +
                                                       std::to_string(counter++));
            if (fsys::CreateDir(path_))
                break;
        }
    }
    ~TempDir() { DeleteFolderTree(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return fsys::Join(path_, name); }

private:
    std::string path_;
};

// Writes bytes to a file; returns false on failure.
inline bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = fsys::OpenFile(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline std::string ReadFile(const std::string& path) {
    std::FILE* f = fsys::OpenFile(path, "rb");
    if (!f)
        return {};
    std::string s;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    std::fclose(f);
    return s;
}

} // namespace orv::test
