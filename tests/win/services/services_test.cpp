// Platform services under Wine: version strings of the real executable,
// special-folder tokens, clipboard streams.
#include "win/services.h"

#include "base/fsys.h"
#include "base/stream.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace orv {
namespace {

std::string BinFolder() {
    std::string exe = fsys::ExecutablePath();
    return exe.substr(0, exe.find_last_of('\\'));
}

TEST(ReadVersionString, ProgramCarriesPaddedLauncherFields) {
    std::string exe = BinFolder() + "\\Orvexa.exe";
    ASSERT_TRUE(fsys::FileExists(exe));
    EXPECT_EQ(win::ReadVersionString(exe, "OriginalFilename"), "Orvexa.exe    ");
    EXPECT_FALSE(win::ReadVersionString(exe, "FileVersion").empty());
    for (const char* key : {"FileDescription", "CompanyName", "LegalCopyright"})
        EXPECT_EQ(win::ReadVersionString(exe, key).size(), 100u) << key;
    EXPECT_EQ(win::ReadVersionString(exe, "NoSuchKey"), "");
    // A file without version information, and a missing file.
    EXPECT_EQ(win::ReadVersionString(BinFolder() + "\\Default.ico", "FileVersion"), "");
    EXPECT_EQ(win::ReadVersionString(BinFolder() + "\\missing.exe", "FileVersion"), "");
}

TEST(ResolveFolderToken, OnlyExactTableNamesResolve) {
    char windir[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windir, MAX_PATH), 0u);
    EXPECT_TRUE(_stricmp(win::ResolveFolderToken("[Windows]").c_str(), windir) == 0)
        << win::ResolveFolderToken("[Windows]");
    EXPECT_FALSE(win::ResolveFolderToken("[System]").empty());
    for (const char* t : {"[windows]", "[Temp]", "C:\\[Windows]", "Windows", "[]"})
        EXPECT_EQ(win::ResolveFolderToken(t), "") << t;
}

TEST(ClipboardStream, RoundTripAndDamagedCount) {
    UINT format = RegisterClipboardFormatA("OrvexaTestStream");
    ASSERT_NE(format, 0u);
    MemoryStream out;
    out.WriteString("objects on the clipboard");
    ASSERT_TRUE(win::PutStreamOnClipboard(out, format));
    MemoryStream in;
    ASSERT_TRUE(win::GetStreamFromClipboard(in, format));
    EXPECT_EQ(in.Data(), out.Data());

    // A block whose stored count exceeds its size is refused.
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_NE(mem, nullptr);
    auto* p = static_cast<uint8_t*>(GlobalLock(mem));
    int32_t huge = 1 << 30;
    memcpy(p, &huge, 4);
    memcpy(p + 4, "abcd", 4);
    GlobalUnlock(mem);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_NE(SetClipboardData(format, mem), nullptr);
    CloseClipboard();
    MemoryStream bad;
    EXPECT_FALSE(win::GetStreamFromClipboard(bad, format));
    EXPECT_EQ(bad.Size(), 0);

    // No data of the format at all.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(win::GetStreamFromClipboard(bad, format));
}

TEST(CustomCursors, AllFifteenLoadFromTheProgram) {
    // The cursors live in Orvexa.exe; load them from there as start-up does
    // from its own module.
    HMODULE m =
        LoadLibraryExA((BinFolder() + "\\Orvexa.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(m, nullptr);
    for (int i = 1; i <= 15; ++i)
        EXPECT_NE(FindResourceA(m, ("Cursor" + std::to_string(i)).c_str(),
                                MAKEINTRESOURCEA(12) /* cursor group */),
                  nullptr)
            << i;
    EXPECT_NE(FindResourceA(m, "MAINICON", MAKEINTRESOURCEA(14) /* icon group */), nullptr);
    FreeLibrary(m);
}

} // namespace
} // namespace orv
