// The action engine's platform under Wine: starting and waiting for a real
// program, the shell's error codes, the registry's file types, the special
// folders and the version conditions.
#include "player/actions.h"
#include "player/shell.h"

#include "../startup/scenario.h"
#include "base/fsys.h"
#include "base/messagelog.h"
#include "startup/startup.h"
#include "support/tempdir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace orv::player {
namespace {

constexpr char kChildMarker[] = "ORVEXA_ACTIONS_CHILD_MARKER";

// The platform of the program with the messages recorded.
class RecordingPlatform : public ActionPlatform {
public:
    Reporter& UI() override { return ui; }
    uint32_t ShellStart(const ShellRequest& r) override { return Real().ShellStart(r); }
    bool FileExists(const std::string& p) override { return Real().FileExists(p); }
    bool DirectoryExists(const std::string& p) override { return Real().DirectoryExists(p); }
    std::string FolderOfToken(const std::string& t) override { return Real().FolderOfToken(t); }
    std::string ClassesRootDefault(const std::string& k) override {
        return Real().ClassesRootDefault(k);
    }
    void PlatformVersion(int& a, int& b) override { Real().PlatformVersion(a, b); }
    void PlaySound(int c, const std::string& f, bool l) override { Real().PlaySound(c, f, l); }
    void StopSound(int c) override { Real().StopSound(c); }
    void MinimizeApplication() override {}
    void RestoreApplication() override {}
    bool ShowSubPage(int i, int m, bool c, int32_t a) override {
        return Real().ShowSubPage(i, m, c, a);
    }
    bool RunFileAction(const std::string& p, uint8_t k) override {
        return Real().RunFileAction(p, k);
    }
    static ActionPlatform& Real() { return DefaultActionPlatform(); }
    RecordingReporter ui;
};

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetActionPlatform(&platform);
        Startup().projectFolder = fsys::TempFolder();
    }
    void TearDown() override { SetActionPlatform(nullptr); }
    RecordingPlatform platform;
};

// Started by the waiting test below as a child process: sleeps, then
// leaves a marker file, so the parent can tell it waited for the end.
TEST(ChildProcess, WritesMarkerAfterADelay) {
    char marker[MAX_PATH] = "";
    if (!GetEnvironmentVariableA(kChildMarker, marker, MAX_PATH))
        GTEST_SKIP() << "runs only as the child of the waiting test";
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    // The marker, or with ORVEXA_ACTIONS_CHILD_NAMED set, the marker
    // followed by "-" and this program's file name (two copies of the
    // program then leave two markers).
    std::string path = marker;
    if (GetEnvironmentVariableA("ORVEXA_ACTIONS_CHILD_NAMED", nullptr, 0)) {
        std::string exe = fsys::ExecutablePath();
        path += "-" + exe.substr(exe.find_last_of('\\') + 1);
    }
    ASSERT_TRUE(test::WriteFile(path, "done"));
}

int g_ticks = 0;
bool g_waitShown = false, g_otherDisabled = false;
HWND g_other = nullptr;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ++g_ticks;
    HWND wait = FindWindowW(L"TOrvexaPleaseWait", L"Please Wait...");
    if (wait && IsWindowVisible(wait))
        g_waitShown = true;
    if (g_other && !IsWindowEnabled(g_other))
        g_otherDisabled = true;
}

TEST_F(PlatformTest, WaitingRunKeepsTheMessageLoopGoingUntilTheProgramEnds) {
    test::TempDir dir;
    std::string marker = dir / "marker.txt";
    SetEnvironmentVariableA(kChildMarker, marker.c_str());
    g_ticks = 0;
    g_waitShown = g_otherDisabled = false;
    // A window of the program, which takes no input while the wait lasts.
    g_other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                              nullptr, nullptr, nullptr);
    UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
    auto start = std::chrono::steady_clock::now();
    bool ok = ShellRun("open", fsys::ExecutablePath(),
                       "--gtest_filter=ChildProcess.WritesMarkerAfterADelay", true, SW_HIDE, "");
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    KillTimer(nullptr, timer);
    SetEnvironmentVariableA(kChildMarker, nullptr);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(platform.ui.entries.empty());
    EXPECT_TRUE(fsys::FileExists(marker)) << "returned before the program ended";
    EXPECT_GE(ms, 600);
    EXPECT_GT(g_ticks, 5) << "timers did not fire during the wait";
    EXPECT_TRUE(g_waitShown);
    EXPECT_TRUE(g_otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(g_other));
    EXPECT_FALSE(FindWindowW(L"TOrvexaPleaseWait", nullptr));
    DestroyWindow(g_other);
    g_other = nullptr;
}

TEST_F(PlatformTest, StartWithoutWaitingReturnsAtOnce) {
    test::TempDir dir;
    std::string marker = dir / "marker.txt";
    SetEnvironmentVariableA(kChildMarker, marker.c_str());
    auto start = std::chrono::steady_clock::now();
    bool ok = ShellRun("open", fsys::ExecutablePath(),
                       "--gtest_filter=ChildProcess.WritesMarkerAfterADelay", false, SW_HIDE, "");
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    SetEnvironmentVariableA(kChildMarker, nullptr);
    EXPECT_TRUE(ok);
    EXPECT_LT(ms, 600);
    // Let the child finish before its folder goes.
    for (int i = 0; i < 100 && !fsys::FileExists(marker); ++i)
        Sleep(50);
    EXPECT_TRUE(fsys::FileExists(marker));
}

TEST_F(PlatformTest, FailedStartsShowTheMappedText) {
    test::TempDir dir;
    struct Case {
        std::string file;
        bool wait;
        const char* text;
    } cases[] = {
        {dir / "missing.exe", false, "The specified file was not found."},
        {dir / "missing.exe", true, "The specified file was not found."},
        {dir / "no\\such\\folder\\x.exe", true, nullptr}, // file or path not found
    };
    for (const auto& c : cases) {
        platform.ui.entries.clear();
        EXPECT_FALSE(ShellRun("open", c.file, "", c.wait, SW_SHOWNORMAL, ""));
        ASSERT_EQ(platform.ui.entries.size(), 1u) << c.file;
        const auto& e = platform.ui.entries[0];
        if (c.text)
            EXPECT_EQ(e.text, c.text);
        else
            EXPECT_TRUE(e.text == "The specified path was not found." ||
                        e.text == "The specified file was not found.")
                << e.text;
        EXPECT_EQ(e.caption, "Error");
        EXPECT_EQ(e.flags, mb::kIconError);
    }
}

TEST_F(PlatformTest, FileAndFolderConditionsThroughSpecialFolders) {
    std::string windows = platform.FolderOfToken("[Windows]");
    ASSERT_FALSE(windows.empty());
    model::TAuAction a;
    a.Kind = static_cast<uint8_t>(model::TAuActionKind::IfThenElse);
    struct Case {
        int number;
        const char* p1;
        const char* p2;
        int want;
    } cases[] = {
        {0, "[Windows]", "win.ini", 1},    {0, "[Windows]", "\\no-such-file.zz", 0},
        {2, "[Windows]", "system32", 1},   {3, "[Windows]", "system32", 0},
        {0, "C:\\windows", "win.ini", -1}, {6, "", "", 1},
    };
    for (const auto& c : cases) {
        a.Number = c.number;
        a.Param1 = c.p1;
        a.Param2 = c.p2;
        bool r = false;
        bool ok = EvaluateCondition(a, nullptr, r);
        EXPECT_EQ(ok ? int(r) : -1, c.want) << c.number << " " << c.p1 << " " << c.p2;
    }
}

TEST_F(PlatformTest, ViewerConditionReadsTheClassesRoot) {
    // The test registers its own file type in the classes root and removes
    // it again.
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".orvxtest", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t type[] = L"OrvexaTest.File";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(type), sizeof type);
    RegCloseKey(key);
    model::TAuAction a;
    a.Kind = static_cast<uint8_t>(model::TAuActionKind::IfThenElse);
    a.Number = 4;
    a.Param1 = ".orvxtest (Test Document)";
    bool r = true;
    ASSERT_TRUE(EvaluateCondition(a, nullptr, r));
    EXPECT_FALSE(r) << "a type without an open command is no viewer";

    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"OrvexaTest.File\\shell\\open\\command", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t cmd[] = L"notepad.exe \"%1\"";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(cmd), sizeof cmd);
    RegCloseKey(key);
    ASSERT_TRUE(EvaluateCondition(a, nullptr, r));
    EXPECT_TRUE(r);
    a.Number = 5;
    ASSERT_TRUE(EvaluateCondition(a, nullptr, r));
    EXPECT_FALSE(r);

    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"OrvexaTest.File");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".orvxtest");
}

// The program's own platform: message boxes go through the interaction
// module, so the message log records them and the answers steer the
// branches.
TEST(ProgramPlatform, MessagesAndTheirAnswersThroughTheInteractionModule) {
    test::TempDir dir;
    std::string logPath = dir / "messages.log";
    _putenv_s("ORVEXA_MESSAGE_LOG", logPath.c_str());
    _putenv_s("ORVEXA_ANSWERS", "Cancel|No|Yes");
    // The log is read once per process; without it a real box would wait.
    ASSERT_TRUE(MessageLog::Instance().Active());
    SetActionPlatform(nullptr);

    auto message = [](const std::string& text, int option) {
        model::TAuAction a;
        a.Kind = static_cast<uint8_t>(model::TAuActionKind::ShowMessage);
        a.Param1 = text;
        a.Param2 = "Question";
        a.Number = option;
        return a;
    };
    model::TAuAction ask = message("Install now?", 4);
    ask.ThenActions = {message("then", 1)};
    ask.ElseActions = {message("else", 0)};
    RunWindowlessList({ask, ask, ask});
    auto lines = test::ReadLog(logPath);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "Install now?");
    EXPECT_EQ(lines[0].caption, "Question");
    EXPECT_EQ(lines[0].detail, "Question,YesNoCancel");
    EXPECT_EQ(lines[1].text, "Install now?"); // Cancel ran neither list
    EXPECT_EQ(lines[2].text, "else");
    EXPECT_EQ(lines[2].detail, "Warning,OK");
    EXPECT_EQ(lines[3].text, "Install now?");
    EXPECT_EQ(lines[4].text, "then");
    EXPECT_EQ(lines[4].detail, "Information,OK");
}

} // namespace
} // namespace orv::player
