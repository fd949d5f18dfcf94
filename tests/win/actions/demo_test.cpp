// The demo menu played as a user would: tiles switch pages, the members'
// tile opens the login page, a wrong password and the unticked terms are
// answered with their messages, the right entries open the members' page,
// and the menu closes.
// The pointer and keyboard are replaced by messages posted to the
// player's windows from this process.
#include "../startup/scenario.h"
#include "base/fsys.h"
#include "support/tempdir.h"
#include "win/interact.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace orv {
namespace {

// Polls until f gives a non-null window, or 20 s pass.
HWND WaitFor(const std::function<HWND()>& f) {
    for (int i = 0; i < 400; ++i) {
        if (HWND h = f())
            return h;
        Sleep(50);
    }
    return nullptr;
}

HWND TopWindow(const wchar_t* title) {
    return WaitFor([&] {
        HWND h = FindWindowW(nullptr, title);
        return h && IsWindowVisible(h) ? h : nullptr;
    });
}

// The deepest child window of top under a client point of top.
HWND ChildAt(HWND top, POINT client) {
    POINT screen = client;
    ClientToScreen(top, &screen);
    HWND at = top;
    for (;;) {
        POINT p = screen;
        ScreenToClient(at, &p);
        HWND child = ChildWindowFromPointEx(at, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == at)
            return at;
        at = child;
    }
}

// A left click at a client point of top, posted to the window under it.
void ClickAt(HWND top, POINT client) {
    HWND target = ChildAt(top, client);
    POINT p = client;
    ClientToScreen(top, &p);
    ScreenToClient(target, &p);
    LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageW(target, WM_MOUSEMOVE, 0, at);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
}

struct Found {
    std::vector<HWND> edits;
    HWND login = nullptr, terms = nullptr;
};

BOOL CALLBACK Collect(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    wchar_t cls[32] = {}, text[64] = {};
    GetClassNameW(h, cls, 32);
    GetWindowTextW(h, text, 64);
    if (lstrcmpiW(cls, L"Edit") == 0)
        f->edits.push_back(h);
    else if (lstrcmpW(text, L"&Log in") == 0)
        f->login = h;
    else if (lstrcmpW(text, L"I accept the members' terms") == 0)
        f->terms = h;
    return TRUE;
}

// Sends a message to a window of the player and waits for the player to
// have handled everything that followed from it.
void SendAndSettle(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &result);
    Sleep(300);
}

TEST(Demo, PagesSwitchAndTheMembersLoginLeadsToTheMembersPage) {
    test::TempDir folder, shots;
    // The demo project, written by the demo tool, with the player beside it.
    auto made = test::RunProgram(test::ProgramFolder() + "\\orvexa-demo.exe",
                                 "\"" + folder.path() + "\"", folder / "tool.log", "", "");
    ASSERT_TRUE(made.finished);
    ASSERT_EQ(made.exitCode, 0u);
    const std::string exe = folder / "autorun.exe";
    ASSERT_TRUE(test::WriteAll(exe, test::ReadAll(test::OrvexaExe())));

    const std::string log = folder / "messages.log";
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", log.c_str());
    SetEnvironmentVariableA("ORVEXA_ANSWERS", "");
    SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", shots.path().c_str());
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.path().c_str(), &si, &pi));
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", nullptr);
    SetEnvironmentVariableA("ORVEXA_ANSWERS", nullptr);
    SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", nullptr);

    HWND main = TopWindow(L"Orvexa Demo - Welcome");
    ASSERT_NE(main, nullptr);
    Sleep(500); // the page fades in
    // The "Products >" tile (at 500, 156, 160 x 44) switches the page in
    // place; its "< Welcome" tile (at 16, 398) switches back.
    ClickAt(main, POINT{580, 178});
    ASSERT_EQ(TopWindow(L"Orvexa Demo - Products"), main);
    Sleep(300);
    ClickAt(main, POINT{96, 420});
    ASSERT_EQ(TopWindow(L"Orvexa Demo - Welcome"), main);
    Sleep(300);
    // The "Members..." tile: at (500, 294).
    ClickAt(main, POINT{580, 316});

    HWND login = TopWindow(L"Members' login");
    ASSERT_NE(login, nullptr);
    Sleep(300);
    Found f;
    EnumChildWindows(login, Collect, reinterpret_cast<LPARAM>(&f));
    ASSERT_EQ(f.edits.size(), 2u);
    // The user name above, the password below.
    auto top = [](HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return r.top;
    };
    if (top(f.edits[0]) > top(f.edits[1]))
        std::swap(f.edits[0], f.edits[1]);
    ASSERT_NE(f.login, nullptr);
    ASSERT_NE(f.terms, nullptr);

    // A wrong password: the retry message, the page stays.
    SendMessageW(f.edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"demo"));
    SendMessageW(f.edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"wrong"));
    SendAndSettle(f.login, BM_CLICK);
    ASSERT_TRUE(IsWindow(login));
    // The right password, but the terms are not accepted yet.
    SendMessageW(f.edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"orvexa"));
    SendAndSettle(f.login, BM_CLICK);
    ASSERT_TRUE(IsWindowVisible(login));
    // Accepted: the page closes and the members' page replaces the welcome.
    SendAndSettle(f.terms, BM_CLICK);
    SendAndSettle(f.login, BM_CLICK);

    HWND members = TopWindow(L"Orvexa Demo - Members");
    EXPECT_EQ(members, main); // the same window, switched in place
    PostMessageW(main, WM_CLOSE, 0, 0);
    const bool finished = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
    if (!finished)
        TerminateProcess(pi.hProcess, 99);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    ASSERT_TRUE(finished);
    EXPECT_EQ(code, 0u);

    std::vector<std::string> texts;
    for (const auto& line : test::ReadLog(log))
        texts.push_back(line.caption + ": " + line.text);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Invalid: Invalid Username or Password, please retry.",
                         "Members' terms: Please accept the members' terms first.",
                     }));
    std::vector<std::string> pictures;
    fsys::ListDir(shots.path(), false, pictures);
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(pictures,
              (std::vector<std::string>{"001-Welcome.png", "002-Products.png", "003-Welcome.png",
                                        "004-Login.png", "005-Members.png"}));
    // Keep the pictures for a look when asked.
    if (const char* keep = std::getenv("ORVEXA_TEST_SHOTS"))
        for (const auto& p : pictures)
            CopyFileA((shots / p).c_str(), (std::string(keep) + "\\" + p).c_str(), FALSE);
}

} // namespace
} // namespace orv
