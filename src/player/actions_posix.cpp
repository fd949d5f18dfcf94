// Away from Windows the engine has no platform to act on: the default
// platform starts nothing, finds nothing and prints its messages.
#include "player/actions.h"

namespace orv::player {

namespace {

class NoPlatform : public ActionPlatform {
public:
    Reporter& UI() override { return reporter_; }
    uint32_t ShellStart(const ShellRequest&) override { return 2; }
    bool FileExists(const std::string&) override { return false; }
    bool DirectoryExists(const std::string&) override { return false; }
    std::string FolderOfToken(const std::string&) override { return {}; }
    std::string ClassesRootDefault(const std::string&) override { return {}; }
    void PlatformVersion(int& major, int& minor) override { major = minor = 0; }
    void PlaySound(int, const std::string&, bool) override {}
    void StopSound(int) override {}
    void MinimizeApplication() override {}
    void RestoreApplication() override {}
    bool ShowSubPage(int, int, bool, int32_t) override { return false; }
    bool RunFileAction(const std::string&, uint8_t) override { return false; }

private:
    StderrReporter reporter_;
};

} // namespace

ActionPlatform& DefaultActionPlatform() {
    static NoPlatform platform;
    return platform;
}

} // namespace orv::player
