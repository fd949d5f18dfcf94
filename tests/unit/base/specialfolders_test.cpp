#include "base/specialfolders.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(SpecialFolders, TableOrderAndIdentifiersAreFixed) {
    struct Case {
        int index;
        const char* name;
        int csidl;
    } cases[] = {
        {0, "Desktop", 0x00},           {5, "Personal", 0x05},     {14, "MyVideo", 0x0E},
        {15, "DesktopDirectory", 0x10}, {35, "Windows", 0x24},     {37, "ProgramFiles", 0x26},
        {48, "Connections", 0x31},      {49, "CommonMusic", 0x35}, {56, "ComputersNearMe", 0x3D}};
    for (const auto& c : cases) {
        EXPECT_STREQ(kSpecialFolders[c.index].name, c.name);
        EXPECT_EQ(kSpecialFolders[c.index].csidl, c.csidl) << c.name;
    }
}

TEST(SpecialFolders, TokensAreWholeTextExactNames) {
    struct Case {
        const char* text;
        int want;
    } cases[] = {{"[Windows]", 35}, {"[System]", 36},      {"[windows]", -1},
                 {"[Temp]", -1},    {"C:\\[Windows]", -1}, {"[Windows]\\x", -1},
                 {"[]", -1},        {"Windows", -1},       {"[Personal]", 5}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseFolderToken(c.text), c.want) << c.text;
}

} // namespace
} // namespace orv
