#include "player/action_params.h"

#include <gtest/gtest.h>

namespace orv::player {
namespace {

TEST(ActionParams, DecimalNumbers) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {" -7 ", true, -7},
        {"+5", true, 5},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"1.5", false, 0},
        {"0x10", false, 0},
        {"$10", false, 0},
        {"1 2", false, 0},
        {"abc", false, 0},
    };
    for (const auto& c : cases) {
        int32_t v = 0;
        EXPECT_EQ(ParseDecimal(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(ActionParams, SlideShowFields) {
    SlideShowSettings s;
    std::string text = "\\Pics\x01Y\x01"
                       "12\x01"
                       "3\x01"
                       "4\x01"
                       "50\x01"
                       "2\x01"
                       "16777215\x01"
                       "music.mp3\x01";
    ASSERT_EQ(ParseSlideShowSettings(text, s), ParamParse::Ok);
    EXPECT_EQ(s.folder, "\\Pics");
    EXPECT_TRUE(s.loop);
    EXPECT_EQ(s.style, 12);
    EXPECT_EQ(s.imageStyle, 3);
    EXPECT_EQ(s.step, 4);
    EXPECT_EQ(s.stepDelay, 50);
    EXPECT_EQ(s.interval, 2);
    EXPECT_EQ(s.backColor, 16777215);
    EXPECT_EQ(s.music, "music.mp3");

    // The last separator missing: not configured, no error.
    EXPECT_EQ(ParseSlideShowSettings(text.substr(0, text.size() - 1), s), ParamParse::Incomplete);
    EXPECT_EQ(ParseSlideShowSettings("", s), ParamParse::Incomplete);

    std::string bad = text;
    bad.replace(bad.find("50"), 2, "5O");
    try {
        ParseSlideShowSettings(bad, s);
        ADD_FAILURE() << "no error for a malformed number";
    } catch (const ActionError& e) {
        EXPECT_STREQ(e.what(), "The slide show setting \"StepDelay\" is not a number: \"5O\".");
    }
}

TEST(ActionParams, CopyFileFields) {
    CopyFileSettings s;
    std::string text = " \\Setup \x01[System]\x01Y\x01 \x01 Cap \x01Msg\x01"
                       "1\x01run.exe\x01/s\x01 Bin \x01";
    ASSERT_EQ(ParseCopyFileSettings(text, s), ParamParse::Ok);
    EXPECT_EQ(s.source, "\\Setup");
    EXPECT_EQ(s.target, "[System]");
    EXPECT_TRUE(s.overwrite);
    EXPECT_FALSE(s.showMessage);
    EXPECT_EQ(s.caption, "Cap");
    EXPECT_TRUE(s.yesNo);
    EXPECT_EQ(s.fileToOpen, "run.exe");
    EXPECT_EQ(s.parameters, "/s");
    EXPECT_EQ(s.startFolder, "Bin");
    EXPECT_EQ(ParseCopyFileSettings(" \x01x\x01Y\x01Y\x01\x01\x01"
                                    "0\x01\x01\x01\x01",
                                    s),
              ParamParse::Incomplete); // empty source
    EXPECT_EQ(ParseCopyFileSettings("a\x01x\x01", s), ParamParse::Incomplete);
}

TEST(ActionParams, ViewerExtension) {
    EXPECT_EQ(ViewerExtension(".pdf (Adobe Acrobat Document)"), ".pdf");
    EXPECT_EQ(ViewerExtension(".doc(Word)"), ".doc");
    EXPECT_EQ(ViewerExtension("Text .txt files"), ".txt");
    EXPECT_EQ(ViewerExtension("pdf"), "");
    EXPECT_EQ(ViewerExtension("."), ".");
}

TEST(ActionParams, ConditionPathAndLines) {
    EXPECT_EQ(ConditionPath("C:\\Windows\\", "a.txt"), "C:\\Windows\\a.txt");
    EXPECT_EQ(ConditionPath("C:\\Windows", "\\a.txt"), "C:\\Windows\\a.txt");
    EXPECT_EQ(ConditionPath("C:\\Windows", ""), "C:\\Windows\\");
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitLines(""), V{});
}

TEST(ActionParams, ChannelTokens) {
    EXPECT_EQ(PlayChannelOfToken("[DefaultPlayer1]"), 0);
    EXPECT_EQ(PlayChannelOfToken("[DefaultPlayer2]"), 1);
    EXPECT_EQ(PlayChannelOfToken("[DefaultPlayer3]"), 2);
    EXPECT_EQ(PlayChannelOfToken("[DefaultPlayer7]"), 0);
    EXPECT_EQ(StopChannelOfToken("[DefaultPlayer3]"), 2);
    EXPECT_EQ(StopChannelOfToken("[DefaultPlayer7]"), -1);
    EXPECT_EQ(StopChannelOfToken("[defaultplayer1]"), -1);
}

TEST(ActionParams, ShellUrlsCannotCloseTheirQuotes) {
    EXPECT_EQ(EscapeShellUrl("http://x/a b?q=%20"), "http://x/a b?q=%20");
    EXPECT_EQ(EscapeShellUrl("x\" & calc \"y"), "x%22 & calc %22y");
    EXPECT_EQ(EscapeShellUrl(std::string("a\r\nb\x7f", 5)), "a%0D%0Ab%7F");
}

} // namespace
} // namespace orv::player
