// Checks under the platform itself: what the patches write is what the
// platform's version functions and resource loader read, the platform's
// update path and our section rewrite give the same resources, a rewritten
// program still starts, and a single-file menu built by orvexa-publish from
// this build's own Orvexa.exe unpacks, plays and cleans up after itself.
// The executables are 32-bit and 64-bit programs alike.
#include "base/fsys.h"
#include "base/packfolder.h"
#include "base/path.h"
#include "model/project.h"
#include "pe/icon_replace.h"
#include "pe/icons.h"
#include "pe/pe_error.h"
#include "pe/pe_image.h"
#include "pe/version_info.h"
#include "publish/publish.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv {
namespace {

std::string ProgramFolder() {
    return ExtractFileDir(fsys::ExecutablePath());
}

std::string Data(const std::string& name) {
    return fsys::Join(fsys::Join(ProgramFolder(), "publish-data"), name);
}

// This build is a 64-bit (PE32+) or a 32-bit (PE32) program.
constexpr bool kBuildIs64 = sizeof(void*) == 8;

// The compiler-built launcher fixture in both kinds of image. Both are
// patched and read; only the one of this build's own kind is started (a
// 64-bit system may lack the 32-bit layer, a 32-bit one cannot start a
// 64-bit program).
struct Launcher {
    const char* name;
    const char* file;
    bool is64;
};
constexpr Launcher kLaunchers[] = {{"PE32", "launcher.exe", false},
                                   {"PE32+", "launcher64.exe", true}};

std::wstring Wide(const std::string& s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.data(), n);
    w.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return w;
}

std::string ReadAll(const std::string& path) {
    FileStream f;
    if (!f.Open(path, FileStream::Mode::Read))
        return {};
    std::string s(static_cast<size_t>(f.Size()), '\0');
    f.ReadExact(s.data(), s.size());
    return s;
}

// A fresh folder in the temporary folder, removed with its content.
class Scratch {
public:
    Scratch() {
        path_ = fsys::Join(fsys::TempFolder(), "orvexa-publish-" +
                                                   std::to_string(GetCurrentProcessId()) + "-" +
                                                   std::to_string(counter_++));
        DeleteFolderTree(path_);
        fsys::CreateDir(path_);
    }
    ~Scratch() { DeleteFolderTree(path_); }
    std::string operator/(const std::string& name) const { return fsys::Join(path_, name); }
    const std::string& path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::string path_;
};

// The value as the platform's version functions give it.
std::wstring PlatformVersionString(const std::string& file, const wchar_t* key) {
    std::wstring wfile = Wide(file);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(wfile.c_str(), &handle);
    if (!size)
        return L"(no version information)";
    std::vector<uint8_t> data(size);
    if (!GetFileVersionInfoW(wfile.c_str(), 0, size, data.data()))
        return L"(unreadable)";
    std::wstring sub = std::wstring(L"\\StringFileInfo\\040904E4\\") + key;
    wchar_t* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), sub.c_str(), reinterpret_cast<void**>(&value), &len) || !value)
        return L"(missing)";
    return std::wstring(value);
}

// The images of "MAINICON" as the platform's loader finds them: for each
// group entry its icon resource's size, and whether an icon can be made.
struct LoadedGroup {
    bool found = false;
    std::vector<uint16_t> ids;
    std::vector<DWORD> sizes;
    bool iconCreated = false;
};

LoadedGroup LoadGroup(const std::string& file) {
    LoadedGroup g;
    HMODULE m = LoadLibraryExW(Wide(file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m)
        return g;
    HRSRC r = FindResourceExW(m, MAKEINTRESOURCEW(14), L"MAINICON", 1033);
    if (r) {
        g.found = true;
        auto* dir = static_cast<const uint8_t*>(LockResource(LoadResource(m, r)));
        DWORD dirSize = SizeofResource(m, r);
        pe::IconGroup parsed;
        if (dir && pe::ParseIconGroup(dir, dirSize, parsed)) {
            for (const pe::GroupImage& image : parsed.images) {
                g.ids.push_back(image.id);
                HRSRC ir =
                    FindResourceExW(m, MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(image.id), 1033);
                g.sizes.push_back(ir ? SizeofResource(m, ir) : 0);
            }
            int id = LookupIconIdFromDirectoryEx(const_cast<uint8_t*>(dir), TRUE, 32, 32, 0);
            HRSRC ir = id ? FindResourceW(m, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3)) : nullptr;
            if (ir) {
                auto* bits = static_cast<uint8_t*>(LockResource(LoadResource(m, ir)));
                HICON icon = CreateIconFromResourceEx(bits, SizeofResource(m, ir), TRUE, 0x00030000,
                                                      32, 32, 0);
                g.iconCreated = icon != nullptr;
                if (icon)
                    DestroyIcon(icon);
            }
        }
    }
    FreeLibrary(m);
    return g;
}

// Runs a program and returns its exit code (or -1), with extra environment.
int RunProgram(const std::string& commandLine,
               const std::vector<std::pair<std::string, std::string>>& env = {},
               DWORD timeoutMs = 120000) {
    std::vector<std::pair<std::wstring, std::wstring>> saved;
    for (const auto& [name, value] : env) {
        wchar_t buf[32768];
        DWORD n = GetEnvironmentVariableW(Wide(name).c_str(), buf, 32768);
        saved.emplace_back(Wide(name), n ? std::wstring(buf, n) : std::wstring());
        SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
    }
    std::wstring cmd = Wide(commandLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    int result = -1;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi)) {
        if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(pi.hProcess, &code);
            result = static_cast<int>(code);
        } else {
            TerminateProcess(pi.hProcess, 99);
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    for (const auto& [name, value] : saved)
        SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
    return result;
}

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// The optional header's magic as our reader finds it; 0 when the file is
// not an image with a complete optional header.
uint16_t ImageMagic(const std::string& file) {
    FileStream f;
    pe::Headers h;
    if (!f.Open(file, FileStream::Mode::Read) ||
        pe::ReadHeaders(f, h, true) != pe::HeaderFault::None)
        return 0;
    return h.magic;
}

TEST(PublishUnderWindows, VersionFunctionsReadThePatchedStrings) {
    Scratch dir;
    for (const Launcher& l : kLaunchers) {
        SCOPED_TRACE(l.name);
        std::string exe = dir / "autorun.exe";
        ASSERT_TRUE(fsys::CopyFileTo(Data(l.file), exe, true));
        ASSERT_EQ(ImageMagic(exe), l.is64 ? pe::kPe32PlusMagic : pe::kPe32Magic);
        EXPECT_EQ(PlatformVersionString(exe, L"OriginalFilename"), L"Orvexa.exe    ");

        pe::SetVersionStrings(exe,
                              {{"OriginalFilename", u"autorun.exe", true},
                               {"FileDescription", u"Demo" + std::u16string(96, u' '), false}});
        EXPECT_EQ(PlatformVersionString(exe, L"OriginalFilename"), L"autorun.exe   ");
        EXPECT_EQ(PlatformVersionString(exe, L"FileDescription"), L"Demo" + std::wstring(96, L' '));
        EXPECT_EQ(PlatformVersionString(exe, L"FileVersion"), L"1.0.0.1");
        // Our reader and the platform's agree.
        EXPECT_EQ(pe::ReadVersionString(exe, "OriginalFilename"), "autorun.exe   ");

        pe::SetVersionStrings(exe, {{"OriginalFilename", std::string(15, ' ')}});
        EXPECT_EQ(PlatformVersionString(exe, L"OriginalFilename"), std::wstring(14, L' '));
    }
}

// The platform's update path and our section rewrite give the same
// resources, and the rewritten program still starts.
TEST(PublishUnderWindows, IconReplacementThroughBothPaths) {
    Scratch dir;
    pe::IconFile icon = pe::ReadIconFile(Data("new.ico"));
    for (const Launcher& l : kLaunchers)
        for (bool platform : {true, false}) {
            SCOPED_TRACE(std::string(l.name) +
                         (platform ? ", platform update" : ", section rewrite"));
            std::string exe = dir / (std::string(platform ? "platform" : "rewrite") +
                                     (l.is64 ? "64.exe" : "32.exe"));
            ASSERT_TRUE(fsys::CopyFileTo(Data(l.file), exe, true));
            if (platform)
                publish::ReplaceMainIcon(exe, Data("new.ico"));
            else
                pe::ReplaceMainIconInFile(exe, Data("new.ico"));

            EXPECT_EQ(ImageMagic(exe), l.is64 ? pe::kPe32PlusMagic : pe::kPe32Magic);
            LoadedGroup g = LoadGroup(exe);
            ASSERT_TRUE(g.found);
            ASSERT_EQ(g.ids.size(), icon.images.size());
            for (size_t i = 0; i < icon.images.size(); ++i) {
                EXPECT_EQ(g.ids[i], i + 1);
                EXPECT_EQ(g.sizes[i], icon.images[i].data.size());
            }
            EXPECT_TRUE(g.iconCreated);
            // Our reader sees the same group, and the versions are intact.
            pe::IconGroup ours;
            ASSERT_TRUE(pe::ReadMainIconGroup(exe, ours));
            EXPECT_EQ(ours.images.size(), icon.images.size());
            EXPECT_EQ(PlatformVersionString(exe, L"FileVersion"), L"1.0.0.1");
            void* shown = publish::CreateMainIcon(exe);
            EXPECT_NE(shown, nullptr);
            if (shown)
                DestroyIcon(static_cast<HICON>(shown));
            // The fixture program returns 0 when it runs.
            if (l.is64 == kBuildIs64) {
                EXPECT_EQ(RunProgram(Quoted(exe)), 0);
            }
        }
}

TEST(PublishUnderWindows, PlatformPathRefusesBeforeTouchingTheFile) {
    Scratch dir;
    std::string exe = dir / "autorun.exe";
    ASSERT_TRUE(fsys::CopyFileTo(Data("launcher.exe"), exe, true));
    std::string before = ReadAll(exe);
    std::string ico = ReadAll(Data("main.ico"));
    ico.resize(ico.size() - 1); // the last image reaches past the end
    {
        FileStream f;
        ASSERT_TRUE(f.Open(dir / "bad.ico", FileStream::Mode::Create));
        f.WriteExact(ico.data(), ico.size());
    }
    try {
        publish::ReplaceMainIcon(exe, dir / "bad.ico");
        FAIL() << "no error";
    } catch (const pe::ResourceUpdateError& e) {
        EXPECT_STREQ(e.what(), "Resource update error: Icon file is invalid");
    }
    EXPECT_EQ(ReadAll(exe), before);

    // A program without the group: the platform's look-up fails.
    std::string other = dir / "other.exe";
    ASSERT_TRUE(fsys::CopyFileTo(fsys::ExecutablePath(), other, true));
    try {
        publish::ReplaceMainIcon(other, Data("main.ico"));
        FAIL() << "no error";
    } catch (const pe::ResourceUpdateError& e) {
        EXPECT_EQ(
            std::string(e.what()).rfind("Resource update error: FindResource failed (1) (", 0), 0u)
            << e.what();
    }
}

std::vector<std::string> Folders(const std::string& folder) {
    std::vector<std::string> names;
    fsys::ListDir(folder, true, names);
    std::sort(names.begin(), names.end());
    return names;
}

// The whole road: orvexa-publish builds a single-file menu from a project
// folder; the menu unpacks itself into the next free "Orvexa" + N folder of
// the temporary folder, plays (here: a project without pages, which it
// reports), and removes the folder when it ends.
TEST(PublishUnderWindows, SingleFileMenuBuiltByThePublisherPlaysAndCleansUp) {
    std::string orvexa = fsys::Join(ProgramFolder(), "Orvexa.exe");
    std::string tool = fsys::Join(ProgramFolder(), "orvexa-publish.exe");
    if (!fsys::FileExists(orvexa))
        GTEST_SKIP() << "Orvexa.exe is not built beside the tests";
    ASSERT_TRUE(fsys::FileExists(tool));

    Scratch dir;
    std::string project = dir / "project";
    ASSERT_TRUE(fsys::CreateDir(project));
    model::TAuProject p;
    p.ApplicationTitle = "Single file test";
    RecordingReporter r;
    ASSERT_TRUE(model::WriteProjectFile(p, fsys::Join(project, "autorun.aru"), "", r));
    ASSERT_TRUE(fsys::CreateDir(fsys::Join(project, "Sub")));
    {
        FileStream f;
        ASSERT_TRUE(f.Open(fsys::Join(fsys::Join(project, "Sub"), "autorun.exe"),
                           FileStream::Mode::Create));
        f.WriteString("inner");
    }

    // The program publishes from itself, as a program of this build's kind.
    ASSERT_EQ(ImageMagic(orvexa), kBuildIs64 ? pe::kPe32PlusMagic : pe::kPe32Magic);
    // The launcher gets file information and an icon through the platform's
    // update functions, then becomes the single file.
    std::string menu = dir / "menu.exe";
    ASSERT_EQ(RunProgram(Quoted(tool) + " " + Quoted(project) + " --launcher " + Quoted(orvexa) +
                         " --file-info \"Demo menu\" ACME \"(c) 2026\" --icon " +
                         Quoted(Data("new.ico")) + " --single-file " + Quoted(menu)),
              0);
    ASSERT_TRUE(fsys::FileExists(menu));
    EXPECT_EQ(ImageMagic(menu), ImageMagic(orvexa));
    EXPECT_EQ(PlatformVersionString(menu, L"OriginalFilename"), std::wstring(14, L' '));
    EXPECT_EQ(PlatformVersionString(menu, L"FileDescription"),
              L"Demo menu" + std::wstring(91, L' '));
    EXPECT_EQ(PlatformVersionString(menu, L"CompanyName"), L"ACME" + std::wstring(96, L' '));
    LoadedGroup g = LoadGroup(menu);
    EXPECT_TRUE(g.found);
    EXPECT_EQ(g.ids.size(), 4u);
    EXPECT_TRUE(g.iconCreated);
    EXPECT_EQ(PlatformVersionString(fsys::Join(project, "autorun.exe"), L"OriginalFilename"),
              L"autorun.exe   ");

    // A private temporary folder where Orvexa0..2 are taken already.
    std::string temp = dir / "temp";
    ASSERT_TRUE(fsys::CreateDir(temp));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(fsys::CreateDir(fsys::Join(temp, "Orvexa" + std::to_string(i))));
    std::string log = dir / "messages.log";
    EXPECT_EQ(
        RunProgram(Quoted(menu), {{"TEMP", temp}, {"TMP", temp}, {"ORVEXA_MESSAGE_LOG", log}}), 0);

    // It found its project (unpacked from itself) and said it has no page.
    std::string messages = ReadAll(log);
    EXPECT_NE(messages.find("There is no page in the AutoRun CD project."), std::string::npos)
        << messages;
    EXPECT_EQ(messages.find("AutoRun CD Data file does not exist."), std::string::npos) << messages;
    // The folder it used is gone; the others are untouched.
    EXPECT_EQ(Folders(temp), (std::vector<std::string>{"Orvexa0", "Orvexa1", "Orvexa2"}));
}

} // namespace
} // namespace orv
