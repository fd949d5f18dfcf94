// The test seam for modal interaction. When ORVEXA_MESSAGE_LOG names a file,
// nothing modal is shown: each interaction appends one line
//   kind<TAB>caption<TAB>text<TAB>icon-and-buttons
// (CR, LF, TAB and backslash in texts written as \r, \n, \t, \\) and takes
// its answer from ORVEXA_ANSWERS, a list separated by "|" consumed in order
// ("OK", "Yes", "No", "Cancel", or the text or path to return). With no
// answer left a dialog is cancelled and a message box gets its default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

std::string EscapeLogText(const std::string& s);
std::string UnescapeLogText(const std::string& s);

// "icon-and-buttons" of a message box: the icon name ("Error",
// "Information", "Warning", "Question" or "None"), a comma, the buttons
// ("OK", "OKCancel", "YesNo", "YesNoCancel", ...).
std::string DescribeMessageFlags(uint32_t flags);

class MessageLog {
public:
    // Reads ORVEXA_MESSAGE_LOG and ORVEXA_ANSWERS from the environment.
    static MessageLog& Instance();

    MessageLog(std::string path, const std::string& answers);

    bool Active() const { return !path_.empty(); }
    // Appends one line; returns false when the file cannot be written.
    bool Append(const std::string& kind, const std::string& caption, const std::string& text,
                const std::string& detail);
    // The next answer, if any is left.
    std::optional<std::string> NextAnswer();

    // A message box through the log: appends, then answers with the next
    // answer that names one of its buttons, or its default button.
    int AskMessage(const std::string& text, const std::string& caption, uint32_t flags);

private:
    std::string path_;
    std::vector<std::string> answers_;
    size_t next_ = 0;
};

// The answer value (answer::k*) for a text such as "Yes", or 0.
int ParseAnswer(const std::string& text);

} // namespace orv
