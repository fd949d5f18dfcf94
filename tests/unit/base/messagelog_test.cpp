#include "base/messagelog.h"
#include "base/report.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(MessageLog, EscapesControlCharactersAndRoundTrips) {
    const std::string text = "line one\r\nline\ttwo \\ end";
    EXPECT_EQ(EscapeLogText(text), "line one\\r\\nline\\ttwo \\\\ end");
    EXPECT_EQ(UnescapeLogText(EscapeLogText(text)), text);
}

TEST(MessageLog, AppendsLinesAndAnswersInOrder) {
    test::TempDir d;
    MessageLog log(d / "log.txt", "No|C:\\picked|Cancel");
    EXPECT_EQ(log.AskMessage("Save?", "Question", mb::kIconQuestion | mb::kYesNo), answer::kNo);
    EXPECT_EQ(log.NextAnswer().value_or(""), "C:\\picked");
    EXPECT_EQ(log.AskMessage("Go on?", "Q", mb::kOkCancel), answer::kCancel);
    // Answers used up: the default button.
    EXPECT_EQ(log.AskMessage("Again?", "Q", mb::kYesNo), answer::kYes);
    EXPECT_FALSE(log.NextAnswer().has_value());
    EXPECT_EQ(test::ReadFile(d / "log.txt"), "message\tQuestion\tSave?\tQuestion,YesNo\n"
                                             "message\tQ\tGo on?\tNone,OKCancel\n"
                                             "message\tQ\tAgain?\tNone,YesNo\n");
}

TEST(Reporter, FormatsPlatformErrorsWithOperationCode) {
    RecordingReporter r;
    r.errorNumber = 5;
    r.ReportError(5507);
    r.ReportFileError(101, "C:\\T\\Sub");
    r.ReportDataVersionError();
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[0].text, "Platform error 5 (Error Code: 5/5507).");
    EXPECT_EQ(r.entries[0].caption, "Error");
    EXPECT_EQ(r.entries[1].text, "\"C:\\T\\Sub\", Platform error 5 (Error Code: 5/101).");
    EXPECT_EQ(r.entries[2].text, "Invalid data, maybe software version problem.");
    EXPECT_EQ(r.entries[2].caption, "Data Error");
    EXPECT_EQ(r.entries[2].flags, mb::kIconInformation);
}

} // namespace
} // namespace orv
