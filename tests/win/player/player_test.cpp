// The player window under Wine: Orvexa.exe plays a project made with the
// model, writes snapshots of the pages it shows, and ends when its window
// is closed.
#include "../startup/scenario.h"

#include "gfx/codecs.h"
#include "model/project.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using model::TAuObject;
using model::TAuObjectKind;

// A page whose root panel is a left-to-right gradient from red to blue,
// with a status bar, a menu and a group box child.
std::unique_ptr<model::TPageRecord> GradientPage(const std::string& caption) {
    auto page = model::MakeBlankPage(caption);
    page->Fade = false;
    page->Width = 400;
    page->Height = 300;
    page->Position = 10; // left top corner
    auto& root = page->Root->As<model::PanelProps>();
    root.BackColor = 0x000000FF;        // red
    root.Back.GradientStyle = 3;        // left to right
    root.Back.GradientColor = 0xFF0000; // blue
    root.Back.Border = 0;
    root.Back.Caption = "";
    model::TStatusPanel panel;
    panel.Text = "Ready";
    panel.Width = 100;
    page->StatusBarPanels.push_back(panel);
    model::TMenuItem file;
    file.Caption = "&File";
    model::TMenuItem quit;
    quit.Caption = "E&xit";
    file.Items.push_back(quit);
    page->MenuBarItems.push_back(file);
    auto box = std::make_unique<TAuObject>(TAuObjectKind::GroupBox);
    box->Name = "GroupBox1";
    box->Left = 300;
    box->Top = 10;
    box->Width = 80;
    box->Height = 60;
    page->Root->AddChild(std::move(box));
    return page;
}

// goTo: the page the first page's OnShow list switches to, if any.
void WriteProject(const std::string& folder, const std::vector<std::string>& pageNames,
                  const std::string& goTo = "") {
    model::TAuProject p;
    RecordingReporter r;
    for (const auto& name : pageNames) {
        auto entry = std::make_unique<model::TFormData>();
        entry->Name = name;
        auto page = GradientPage(name + " caption");
        if (!goTo.empty() && p.Pages.empty()) {
            model::TAuAction a;
            a.Kind = static_cast<uint8_t>(model::TAuActionKind::GoToPage);
            a.Param1 = goTo;
            page->OnShow.push_back(a);
        }
        ASSERT_TRUE(model::StorePageInCache(*entry, *page, r));
        p.Pages.push_back(std::move(entry));
    }
    ASSERT_TRUE(model::WriteProjectFile(p, fsys::Join(folder, "autorun.aru"), "", r));
    ASSERT_TRUE(r.entries.empty());
}

struct Snapshot {
    std::string file;
    gfx::Image image;
};

std::vector<Snapshot> Snapshots(const std::string& dir) {
    std::vector<std::string> names;
    fsys::ListDir(dir, false, names);
    std::sort(names.begin(), names.end());
    std::vector<Snapshot> out;
    for (const auto& n : names) {
        std::string bytes = test::ReadAll(fsys::Join(dir, n));
        Snapshot s{n, {}};
        gfx::DecodePicture(gfx::PictureFormat::Png, reinterpret_cast<const uint8_t*>(bytes.data()),
                           bytes.size(), &s.image);
        out.push_back(std::move(s));
    }
    return out;
}

// Plays the project in folder until shots holds `snapshots` pictures, then
// closes the window titled caption; returns the process's exit code.
DWORD PlayUntil(const std::string& folder, const std::string& shots, const std::string& log,
                size_t snapshots, const wchar_t* caption) {
    std::string exe = fsys::Join(folder, "autorun.exe");
    EXPECT_TRUE(test::WriteAll(exe, test::ReadAll(test::OrvexaExe())));
    SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", shots.c_str());
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", log.c_str());
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.c_str(), &si, &pi);
    SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", nullptr);
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", nullptr);
    if (!started)
        return 0xFFFFFFFF;
    HWND window = nullptr;
    for (int i = 0; i < 300 && (!window || Snapshots(shots).size() < snapshots); ++i) {
        Sleep(50);
        window = FindWindowW(nullptr, caption);
    }
    EXPECT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}

TEST(Player, GoToPageSwitchesInPlaceAndSnapshotsEachPage) {
    test::TempDir folder, shots, logs;
    WriteProject(folder.path(), {"Welcome", "Second"}, "Second");
    // The window keeps its frame; the caption becomes the new page's.
    EXPECT_EQ(PlayUntil(folder.path(), shots.path(), logs / "log.txt", 2, L"Second caption"), 0u);
    auto snaps = Snapshots(shots.path());
    ASSERT_EQ(snaps.size(), 2u);
    EXPECT_EQ(snaps[0].file, "001-Welcome.png");
    EXPECT_EQ(snaps[1].file, "002-Second.png");
    EXPECT_EQ(snaps[1].image.width, snaps[0].image.width);
    EXPECT_TRUE(test::ReadLog(logs / "log.txt").empty());
}

TEST(Player, ShowsFirstPageWritesSnapshotAndEndsWhenClosed) {
    test::TempDir folder, shots, logs;
    WriteProject(folder.path(), {"Welcome", "Second"});
    std::string exe = fsys::Join(folder.path(), "autorun.exe");
    ASSERT_TRUE(test::WriteAll(exe, test::ReadAll(test::OrvexaExe())));

    SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", shots.path().c_str());
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", (logs / "log.txt").c_str());
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.path().c_str(), &si, &pi));
    SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", nullptr);
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", nullptr);

    // Wait for the window and its first snapshot, then close it as a user would.
    HWND window = nullptr;
    for (int i = 0; i < 200 && (!window || Snapshots(shots.path()).empty()); ++i) {
        Sleep(50);
        window = FindWindowW(nullptr, L"Welcome caption");
    }
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);

    EXPECT_TRUE(test::ReadLog(logs / "log.txt").empty());
    auto snaps = Snapshots(shots.path());
    ASSERT_EQ(snaps.size(), 1u);
    EXPECT_EQ(snaps[0].file, "001-Welcome.png");
    const gfx::Image& img = snaps[0].image;
    ASSERT_FALSE(img.Empty());
    // The gradient runs from red at the left to blue at the right; the
    // status bar takes the bottom.
    uint32_t left = img.At(2, 20), right = img.At(280, 20);
    EXPECT_GT((left >> 16) & 0xFF, 200u) << std::hex << left;
    EXPECT_LT(left & 0xFF, 60u) << std::hex << left;
    EXPECT_GT(right & 0xFF, (right >> 16) & 0xFF) << std::hex << right;
}

} // namespace
} // namespace orv
