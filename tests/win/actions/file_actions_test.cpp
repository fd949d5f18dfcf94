// The full-screen actions and CopyFile on the platform: ShowImage's picture
// shrunk to the screen and centred on black, the slide show filling the
// screen, both closed by a key; a read-only file replaced when overwriting.
#include "player/actions.h"
#include "player/launchform.h"

#include "base/fsys.h"
#include "gfx/codecs.h"
#include "gfx/raster.h"
#include "player/action_params.h"
#include "startup/startup.h"
#include "support/tempdir.h"
#include "win/controls/control.h"

#include <windows.h>
// The action kind, not the platform function.
#undef CopyFile

#include <gtest/gtest.h>

namespace orv::player {
namespace {

model::TAuAction FileAction(model::TAuActionKind kind, const std::string& param1) {
    model::TAuAction a;
    a.Kind = static_cast<uint8_t>(kind);
    a.Param1 = param1;
    return a;
}

class FileActionsTest : public ::testing::Test {
protected:
    void SetUp() override { Startup().projectFolder = project.path(); }
    test::TempDir project, target;
};

// What the full-screen window showed, captured from inside its own loop.
gfx::Image g_shot;

void CALLBACK CaptureAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    HWND h = static_cast<HWND>(FullScreenWindowHandle());
    if (!h)
        return;
    KillTimer(nullptr, id);
    if (auto* w = dynamic_cast<win::WinControl*>(win::Window::FromHandle(h)))
        g_shot = w->Snapshot();
    PostMessageW(h, WM_KEYDOWN, 'A', 0);
}

TEST_F(FileActionsTest, ShowImageShrinksThePictureOntoBlackAndAKeyClosesIt) {
    // A wide picture: 2000 x 500, red.
    std::vector<uint8_t> png;
    ASSERT_TRUE(gfx::EncodePng(gfx::MakeImage(2000, 500, 0xFFFF0000), png));
    ASSERT_TRUE(fsys::CreateDir(project / "media"));
    ASSERT_TRUE(test::WriteFile(project / "media\\wide.png", std::string(png.begin(), png.end())));

    g_shot = {};
    SetTimer(nullptr, 0, 50, CaptureAndClose);
    EXPECT_TRUE(RunWindowlessAction(FileAction(model::TAuActionKind::ShowImage, "media\\wide.png"),
                                    nullptr));
    EXPECT_EQ(FullScreenWindowHandle(), nullptr);

    const int cw = GetSystemMetrics(SM_CXSCREEN), ch = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(g_shot.width, cw);
    ASSERT_EQ(g_shot.height, ch);
    const int h = 500 * cw / 2000, top = (ch - h) / 2;
    EXPECT_EQ(g_shot.At(cw / 2, top - 2) & 0xFFFFFF, 0x000000u);     // black above
    EXPECT_EQ(g_shot.At(cw / 2, top + 2) & 0xFFFFFF, 0xFF0000u);     // the picture
    EXPECT_EQ(g_shot.At(cw / 2, top + h - 3) & 0xFFFFFF, 0xFF0000u); // to its bottom
    EXPECT_EQ(g_shot.At(cw / 2, top + h + 2) & 0xFFFFFF, 0x000000u); // black below
    EXPECT_EQ(g_shot.At(1, ch / 2) & 0xFFFFFF, 0xFF0000u);           // full width
}

TEST_F(FileActionsTest, ShowImageOfAMissingOrDamagedFileShowsNothing) {
    ASSERT_TRUE(test::WriteFile(project / "notapicture.png", "plain text"));
    EXPECT_FALSE(
        RunWindowlessAction(FileAction(model::TAuActionKind::ShowImage, "none.png"), nullptr));
    EXPECT_FALSE(RunWindowlessAction(
        FileAction(model::TAuActionKind::ShowImage, "\\notapicture.png"), nullptr));
    EXPECT_FALSE(RunWindowlessAction(FileAction(model::TAuActionKind::ShowImage, ""), nullptr));
}

TEST_F(FileActionsTest, SlideShowFillsTheScreenWithTheFolderAndAKeyClosesIt) {
    ASSERT_TRUE(fsys::CreateDir(project / "slides"));
    for (const char* name : {"a.png", "b.png"}) {
        std::vector<uint8_t> png;
        ASSERT_TRUE(gfx::EncodePng(gfx::MakeImage(64, 48, 0xFF00FF00), png));
        ASSERT_TRUE(test::WriteFile(project / ("slides\\" + std::string(name)),
                                    std::string(png.begin(), png.end())));
    }
    auto settings = [](const std::string& folder, const std::string& interval) {
        std::string s;
        for (const std::string& f :
             {folder, std::string("N"), std::string("5"), std::string("2"), std::string("10"),
              std::string("1"), interval, std::string("0"), std::string("music.wav")})
            s += f + kFieldSeparator;
        return s;
    };
    g_shot = {};
    SetTimer(nullptr, 0, 1600, CaptureAndClose); // after the first picture's transition
    EXPECT_TRUE(RunWindowlessAction(
        FileAction(model::TAuActionKind::LaunchSlideShow, settings("slides", "1")), nullptr));
    EXPECT_EQ(FullScreenWindowHandle(), nullptr);
    const int cw = GetSystemMetrics(SM_CXSCREEN), ch = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(g_shot.width, cw);
    ASSERT_EQ(g_shot.height, ch);
    // Image style Stretch: the green picture covers the screen.
    EXPECT_EQ(g_shot.At(cw / 2, ch / 2) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(g_shot.At(2, 2) & 0xFFFFFF, 0x00FF00u);

    // A missing folder, an incomplete text and a missing media file show
    // nothing.
    EXPECT_FALSE(RunWindowlessAction(
        FileAction(model::TAuActionKind::LaunchSlideShow, settings("none", "1")), nullptr));
    EXPECT_FALSE(RunWindowlessAction(
        FileAction(model::TAuActionKind::LaunchSlideShow, "slides\x01N\x01"), nullptr));
    EXPECT_FALSE(
        RunWindowlessAction(FileAction(model::TAuActionKind::LaunchMedia, "missing.avi"), nullptr));
}

TEST_F(FileActionsTest, CopyFileReplacesAReadOnlyFileWhenOverwriting) {
    ASSERT_TRUE(test::WriteFile(project / "setup.txt", "new"));
    const std::string dest = target / "setup.txt";
    ASSERT_TRUE(test::WriteFile(dest, "old"));
    ASSERT_TRUE(SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string settings;
    for (const std::string& f : {std::string("setup.txt"), target.path(), std::string("Y"),
                                 std::string("N"), std::string(), std::string(), std::string("0"),
                                 std::string(), std::string(), std::string()})
        settings += f + kFieldSeparator;
    EXPECT_TRUE(RunWindowlessAction(FileAction(model::TAuActionKind::CopyFile, settings), nullptr));
    EXPECT_EQ(test::ReadFile(dest), "new");
}

} // namespace
} // namespace orv::player
