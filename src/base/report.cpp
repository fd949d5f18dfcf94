#include "base/report.h"

#include "base/fsys.h"

#include <cstdio>

namespace orv {

namespace {
std::string StripTrailingDots(std::string t) {
    while (!t.empty() && (t.back() == '.' || static_cast<unsigned char>(t.back()) <= ' '))
        t.pop_back();
    return t;
}
} // namespace

std::string FormatErrorReport(const std::string& platformText, int platformNumber, int code) {
    return StripTrailingDots(platformText) + " (Error Code: " + std::to_string(platformNumber) +
           "/" + std::to_string(code) + ").";
}

std::string FormatFileErrorReport(const std::string& name, const std::string& platformText,
                                  int platformNumber, int code) {
    return "\"" + name + "\", " + FormatErrorReport(platformText, platformNumber, code);
}

int Reporter::LastErrorNumber() {
    return fsys::LastErrorNumber();
}
std::string Reporter::ErrorText(int number) {
    return fsys::ErrorText(number);
}

void Reporter::ShowErrorText(const std::string& text) {
    Show(text, "Error", mb::kIconError | mb::kOk);
}

void Reporter::ReportError(int code) {
    int e = LastErrorNumber();
    ShowErrorText(FormatErrorReport(ErrorText(e), e, code));
}

void Reporter::ReportFileError(int code, const std::string& name) {
    int e = LastErrorNumber();
    ShowErrorText(FormatFileErrorReport(name, ErrorText(e), e, code));
}

void Reporter::ReportDataVersionError() {
    Show(kDataVersionText, kDataVersionCaption, mb::kIconInformation | mb::kOk);
}

void Reporter::ReportFolderNotFound(const std::string& path) {
    ShowErrorText("Directory \"" + path + "\" not found");
}

int DefaultAnswer(uint32_t flags) {
    switch (flags & mb::kButtonMask) {
    case mb::kOkCancel:
        return answer::kOk;
    case mb::kYesNo:
    case mb::kYesNoCancel:
        return answer::kYes;
    default:
        return answer::kOk;
    }
}

int RecordingReporter::Show(const std::string& text, const std::string& caption, uint32_t flags) {
    entries.push_back({text, caption, flags});
    if (!answers.empty()) {
        int a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    return DefaultAnswer(flags);
}

std::string RecordingReporter::ErrorText(int number) {
    return "Platform error " + std::to_string(number) + ".";
}

int StderrReporter::Show(const std::string& text, const std::string& caption, uint32_t flags) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return DefaultAnswer(flags);
}

} // namespace orv
