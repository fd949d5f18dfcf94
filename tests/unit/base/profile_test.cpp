#include "base/profile.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(IniFile, NamesMatchIgnoringCaseAndFirstSpellingIsKept) {
    IniFile ini;
    ini.Parse("[Recent]\r\nFolder0=C:\\A\r\nname0=First\r\n");
    EXPECT_EQ(ini.ReadString("RECENT", "FOLDER0", ""), "C:\\A");
    EXPECT_EQ(ini.ReadString("recent", "Name0", ""), "First");
    ini.WriteString("RECENT", "FOLDER0", "C:\\B");
    ini.WriteString("RECENT", "FOLDER1", "C:\\C");
    EXPECT_EQ(ini.Text(), "[Recent]\r\nFolder0=C:\\B\r\nname0=First\r\nFOLDER1=C:\\C\r\n");
}

TEST(IniFile, WritingKeepsOtherSectionsKeysAndComments) {
    IniFile ini;
    ini.Parse("; made by hand\n[autorun]\nopen=old.exe\nshell\\x=keep\n\n[Other]\nA=1\n");
    ini.WriteString("AUTORUN", "OPEN", "autorun.exe");
    ini.WriteString("autorun", "LABEL", "CDROM");
    ini.WriteString("New", "K", "v");
    EXPECT_EQ(ini.Text(), "; made by hand\r\n[autorun]\r\nopen=autorun.exe\r\nshell\\x=keep\r\n"
                          "LABEL=CDROM\r\n\r\n[Other]\r\nA=1\r\n\r\n[New]\r\nK=v\r\n");
}

TEST(IniFile, ReadsTypedValuesWithDefaults) {
    IniFile ini;
    ini.Parse("[S]\nI= 42 \nH=0x10\nNeg=-7\nBad=12abc\nB=1\nZ=0\nQ=\"quoted text\"\n");
    struct Case {
        const char* key;
        int want;
    } cases[] = {{"I", 42}, {"H", 16}, {"Neg", -7}, {"Bad", 5}, {"Missing", 5}};
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadInteger("S", c.key, 5), c.want) << c.key;
    EXPECT_TRUE(ini.ReadBool("S", "B", false));
    EXPECT_FALSE(ini.ReadBool("S", "Z", true));
    EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
    EXPECT_EQ(ini.ReadString("S", "Q", ""), "quoted text");
    EXPECT_FALSE(ini.HasSection("T"));
    EXPECT_TRUE(ini.HasKey("s", "i"));
}

TEST(IniFile, SaveAndLoadRoundTrip) {
    test::TempDir d;
    std::string path = d / "Orvexa.ini";
    IniFile a;
    ASSERT_TRUE(a.Load(path)); // missing file is an empty profile
    a.WriteString("START", "DefaultPath", "C:\\Projects\\Menu");
    a.WriteBool("SETTINGS", "DISPLAYGRID", false);
    ASSERT_TRUE(a.Save(path));
    IniFile b;
    ASSERT_TRUE(b.Load(path));
    EXPECT_EQ(b.ReadString("start", "defaultpath", ""), "C:\\Projects\\Menu");
    EXPECT_FALSE(b.ReadBool("Settings", "DisplayGrid", true));
    EXPECT_FALSE(fsys::FileExists(path + ".tmp"));
}

} // namespace
} // namespace orv
