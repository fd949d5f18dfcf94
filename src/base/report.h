// Messages to the user. Readers and writers report through a Reporter: the
// Windows program shows message boxes (or writes the test message log), the
// native tools print to stderr, and tests record what was reported.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Icon and button flags with the platform's message-box values, so the
// Windows layer passes them straight through.
namespace mb {
inline constexpr uint32_t kOk = 0x0;
inline constexpr uint32_t kOkCancel = 0x1;
inline constexpr uint32_t kYesNoCancel = 0x3;
inline constexpr uint32_t kYesNo = 0x4;
inline constexpr uint32_t kIconError = 0x10;
inline constexpr uint32_t kIconQuestion = 0x20;
inline constexpr uint32_t kIconWarning = 0x30;
inline constexpr uint32_t kIconInformation = 0x40;
inline constexpr uint32_t kButtonMask = 0xF;
inline constexpr uint32_t kIconMask = 0xF0;
} // namespace mb

// Answers with the platform's values.
namespace answer {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
} // namespace answer

// Captions and texts shared by many readers.
inline constexpr const char* kDataVersionText = "Invalid data, maybe software version problem.";
inline constexpr const char* kDataVersionCaption = "Data Error";

// The error-report text: the platform's text without trailing blanks and
// full stops, " (Error Code: ", the platform number, "/", our operation code,
// ")." . A file name, when given, leads in double quotes with ", ".
std::string FormatErrorReport(const std::string& platformText, int platformNumber, int code);
std::string FormatFileErrorReport(const std::string& name, const std::string& platformText,
                                  int platformNumber, int code);

class Reporter {
public:
    virtual ~Reporter() = default;

    // Shows a modal message; returns the answer (answer::k*).
    virtual int Show(const std::string& text, const std::string& caption, uint32_t flags) = 0;
    // The platform's current error number and the text for a number.
    virtual int LastErrorNumber();
    virtual std::string ErrorText(int number);

    void ShowErrorText(const std::string& text);
    void ReportError(int code);
    void ReportFileError(int code, const std::string& name);
    void ReportDataVersionError();
    void ReportFolderNotFound(const std::string& path);
};

// Records every message and answers from a list; used by tests and tools.
class RecordingReporter : public Reporter {
public:
    struct Entry {
        std::string text, caption;
        uint32_t flags;
    };
    std::vector<Entry> entries;
    std::vector<int> answers; // consumed in order; default answer afterwards
    int errorNumber = 0;

    int Show(const std::string& text, const std::string& caption, uint32_t flags) override;
    int LastErrorNumber() override { return errorNumber; }
    std::string ErrorText(int number) override;
};

// Prints messages to stderr as "caption: text"; answers with the default.
class StderrReporter : public Reporter {
public:
    int Show(const std::string& text, const std::string& caption, uint32_t flags) override;
};

// The default button's answer for a set of buttons.
int DefaultAnswer(uint32_t flags);

} // namespace orv
