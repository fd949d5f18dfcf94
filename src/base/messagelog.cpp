#include "base/messagelog.h"

#include "base/fsys.h"
#include "base/report.h"
#include "base/text.h"

#include <cstdlib>

namespace orv {

std::string EscapeLogText(const std::string& s) {
    std::string r;
    r.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '\r':
            r += "\\r";
            break;
        case '\n':
            r += "\\n";
            break;
        case '\t':
            r += "\\t";
            break;
        case '\\':
            r += "\\\\";
            break;
        default:
            r += c;
        }
    }
    return r;
}

std::string UnescapeLogText(const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            r += s[i];
            continue;
        }
        char n = s[++i];
        r += n == 'r' ? '\r' : n == 'n' ? '\n' : n == 't' ? '\t' : n;
    }
    return r;
}

std::string DescribeMessageFlags(uint32_t flags) {
    const char* icon = "None";
    switch (flags & mb::kIconMask) {
    case mb::kIconError:
        icon = "Error";
        break;
    case mb::kIconQuestion:
        icon = "Question";
        break;
    case mb::kIconWarning:
        icon = "Warning";
        break;
    case mb::kIconInformation:
        icon = "Information";
        break;
    }
    const char* buttons = "OK";
    switch (flags & mb::kButtonMask) {
    case mb::kOkCancel:
        buttons = "OKCancel";
        break;
    case 0x2:
        buttons = "AbortRetryIgnore";
        break;
    case mb::kYesNoCancel:
        buttons = "YesNoCancel";
        break;
    case mb::kYesNo:
        buttons = "YesNo";
        break;
    case 0x5:
        buttons = "RetryCancel";
        break;
    }
    return std::string(icon) + "," + buttons;
}

int ParseAnswer(const std::string& text) {
    if (SameTextAscii(text, "OK"))
        return answer::kOk;
    if (SameTextAscii(text, "Cancel"))
        return answer::kCancel;
    if (SameTextAscii(text, "Yes"))
        return answer::kYes;
    if (SameTextAscii(text, "No"))
        return answer::kNo;
    return 0;
}

MessageLog& MessageLog::Instance() {
    static MessageLog log(
        [] {
            const char* p = std::getenv("ORVEXA_MESSAGE_LOG");
            return std::string(p ? p : "");
        }(),
        [] {
            const char* a = std::getenv("ORVEXA_ANSWERS");
            return std::string(a ? a : "");
        }());
    return log;
}

MessageLog::MessageLog(std::string path, const std::string& answers) : path_(std::move(path)) {
    if (answers.empty())
        return;
    size_t pos = 0;
    for (;;) {
        size_t bar = answers.find('|', pos);
        answers_.push_back(answers.substr(pos, bar == std::string::npos ? bar : bar - pos));
        if (bar == std::string::npos)
            break;
        pos = bar + 1;
    }
}

bool MessageLog::Append(const std::string& kind, const std::string& caption,
                        const std::string& text, const std::string& detail) {
    std::FILE* f = fsys::OpenFile(path_, "ab");
    if (!f)
        return false;
    std::string line = kind + "\t" + EscapeLogText(caption) + "\t" + EscapeLogText(text) + "\t" +
                       EscapeLogText(detail) + "\n";
    bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
    return std::fclose(f) == 0 && ok;
}

std::optional<std::string> MessageLog::NextAnswer() {
    if (next_ >= answers_.size())
        return std::nullopt;
    return answers_[next_++];
}

int MessageLog::AskMessage(const std::string& text, const std::string& caption, uint32_t flags) {
    Append("message", caption, text, DescribeMessageFlags(flags));
    if (auto a = NextAnswer()) {
        int v = ParseAnswer(*a);
        if (v != 0)
            return v;
    }
    return DefaultAnswer(flags);
}

} // namespace orv
