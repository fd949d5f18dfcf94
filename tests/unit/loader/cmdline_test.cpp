#include "loader/cmdline.h"
#include "loader/stubwriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vyk {
namespace {

TEST(LibraryFileName, FoldsTheProcessIdentifier) {
    struct Case {
        uint32_t pid;
        const char* want;
    } cases[] = {
        {0x12345, "Vyk-2344.dll"},    {0, "Vyk-0000.dll"},          {0xABCD, "Vyk-ABCD.dll"},
        {0xFFFF0000, "Vyk-FFFF.dll"}, {0xABCDABCD, "Vyk-0000.dll"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LibraryFileName(c.pid), c.want) << std::hex << c.pid;
}

TEST(OwnArguments, SkipsTheProgramName) {
    struct Case {
        const char *line, *want;
    } cases[] = {
        {"\"C:\\Program Files\\My App\\setup.exe\" /q", "/q"},
        {"setup.exe  /a  /b ", "/a  /b "},
        {"   setup.exe", ""},
        {"\"C:\\a b\\setup.exe\"", ""},
        {"\"C:\\a b\\setup.exe\"/q", "/q"},
        {"\"unterminated /q", ""},
        {"", ""},
        {"setup.exe\t/q", ""}, // only spaces separate
    };
    for (const auto& c : cases)
        EXPECT_EQ(OwnArguments(c.line), c.want) << c.line;
}

TEST(BuildEngineCommandLine, JoinsThePartsWithTheLoaderPath) {
    EXPECT_EQ(BuildEngineCommandLine("", "", "", "C:\\x\\setup.exe"), "   /d:\"C:\\x\\setup.exe\"");
    EXPECT_EQ(BuildEngineCommandLine("/lang:de", "/log", "/q", "C:\\a b\\s.exe"),
              "/lang:de /log /q /d:\"C:\\a b\\s.exe\"");
    EXPECT_EQ(BuildEngineCommandLine("", "", "/q", "C:\\a b\\s.exe"), "  /q /d:\"C:\\a b\\s.exe\"");
}

std::vector<uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(FindTrailer, ReadsTheThreeFrames) {
    const std::string u16 = std::string("<\0|\0a\0\xE9\0|\0>\0", 12);
    struct Case {
        const char* name;
        std::string file;
        TrailerEncoding encoding;
        std::string text;
    } cases[] = {
        {"ANSI", "MZ....<|/a \xE9|>", TrailerEncoding::Ansi, "/a \xE9"},
        {"UTF-8", "MZ....\xEF\xBB\xBF<|/a \xC3\xA9|>", TrailerEncoding::Utf8, "/a \xC3\xA9"},
        {"UTF-16", "MZ....\0\0" + u16, TrailerEncoding::Utf16, std::string("a\0\xE9\0", 4)},
        {"UTF-16 on an odd size", "MZ...." + std::string("\0", 1) + u16, TrailerEncoding::Utf16,
         std::string("a\0\xE9\0", 4)},
        {"empty text", "MZ....<||>", TrailerEncoding::Ansi, ""},
        {"last opening wins", "MZ..<|a<|b|>", TrailerEncoding::Ansi, "b"},
        {"cut at NUL", std::string("MZ..<|/a\0/b|>", 13), TrailerEncoding::Ansi, "/a"},
        {"no frame", "MZ....<|/a", TrailerEncoding::None, ""},
        {"closing only", "MZ....|>", TrailerEncoding::None, ""},
        {"shared bar is no frame", "MZ....<|>", TrailerEncoding::None, ""},
        {"opening too near the start", "M<|a|>", TrailerEncoding::None, ""},
        {"mark cut by the mapping start", "\xBB\xBF<|a|>", TrailerEncoding::Ansi, "a"},
        {"UTF-16 opening off the character grid",
         std::string("MZ.....<\0|\0a|\0>", 15) + std::string("\0", 1), TrailerEncoding::None, ""},
    };
    for (const auto& c : cases) {
        // Exactly sized buffers so that the sanitizer sees any overrun.
        std::vector<uint8_t> file = Bytes(c.file);
        const Trailer t = FindTrailer(file.data(), file.size());
        EXPECT_EQ(t.encoding, c.encoding) << c.name;
        EXPECT_EQ(std::string(t.text), c.text) << c.name;
    }
}

TEST(FindTrailer, RoundTripsWhatThePackerWrites) {
    const std::string text = "/lang:fr caf\xC3\xA9 \xE2\x82\xAC"; // café €
    struct Case {
        TrailerEncoding encoding;
        std::string want;
    } cases[] = {
        {TrailerEncoding::Ansi, "/lang:fr caf\xE9 \x80"},
        {TrailerEncoding::Utf8, text},
        {TrailerEncoding::Utf16,
         std::string("/\0l\0a\0n\0g\0:\0f\0r\0 \0c\0a\0f\0\xE9\0 \0\xAC\x20", 30)},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> file(70000, 'x');
        std::vector<uint8_t> trailer;
        std::string error;
        ASSERT_TRUE(EncodeTrailer(text, c.encoding, trailer, error)) << error;
        file.insert(file.end(), trailer.begin(), trailer.end());
        const size_t offset = size_t(TrailerMapOffset(file.size()));
        const Trailer t = FindTrailer(file.data() + offset, file.size() - offset);
        EXPECT_EQ(t.encoding, c.encoding);
        EXPECT_EQ(std::string(t.text), c.want);
    }
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(EncodeTrailer("\xE4\xB8\xAD", TrailerEncoding::Ansi, out, error)); // not in 1252
    EXPECT_FALSE(EncodeTrailer("\xC3", TrailerEncoding::Utf8, out, error));
}

TEST(TrailerMapOffset, StartsOnA64KiBBoundary) {
    EXPECT_EQ(TrailerMapOffset(100), 0u);
    EXPECT_EQ(TrailerMapOffset(65536), 0u);
    EXPECT_EQ(TrailerMapOffset(131071), 0u);
    EXPECT_EQ(TrailerMapOffset(131072), 65536u);
    EXPECT_EQ(TrailerMapOffset(200000), 131072u);
}

TEST(FormatReport, EndsWithALineFeedAndNeverOverflows) {
    char buf[kReportBufferSize + 16];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(FormatReport(buf, msg::kExtracting, 30u, "C:\\T\\Vyk-2344.dll"), 55u);
    EXPECT_STREQ(buf, "Error 30 while extracting VYK.DLL to C:\\T\\Vyk-2344.dll\n");

    std::memset(buf, '#', sizeof buf);
    const std::string longPath(5000, 'p');
    const size_t n = FormatReport(buf, msg::kLoading, 193u, longPath.c_str());
    EXPECT_EQ(n, kReportBufferSize - 1);
    EXPECT_EQ(buf[n - 1], '\n');
    EXPECT_EQ(buf[n], '\0');
    EXPECT_EQ(std::string(buf, 35), "Error 193 while loading VYK.DLL ppp");
    for (size_t i = kReportBufferSize; i < sizeof buf; ++i)
        ASSERT_EQ(buf[i], '#') << "overflow at " << i;
}

TEST(MessageLogLine, EscapesControlCharacters) {
    EXPECT_EQ(MessageLogLine("VYK Loader", "a\\b\tc\r\n", "MB_OK"),
              "MessageBox\tVYK Loader\ta\\\\b\\tc\\r\\n\tMB_OK\n");
}

TEST(Guid, FormatsAndParsesInPlatformOrder) {
    const Guid g = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                    0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(FormatGuid(g), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
    Guid back{};
    ASSERT_TRUE(ParseGuid("{12345678-9abc-def0-0123-456789abcdef}", back));
    EXPECT_EQ(back, g);
    for (const char* bad :
         {"12345678-9ABC-DEF0-0123-456789ABCDEF", "{12345678-9ABC-DEF0-0123-456789ABCDEG}",
          "{12345678+9ABC-DEF0-0123-456789ABCDEF}", ""})
        EXPECT_FALSE(ParseGuid(bad, back)) << bad;
}

} // namespace
} // namespace vyk
