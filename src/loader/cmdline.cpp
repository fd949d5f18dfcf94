#include "loader/cmdline.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace vyk {

std::string LibraryFileName(uint32_t processId) {
    char name[16];
    std::snprintf(name, sizeof name, "Vyk-%04X.dll", (processId >> 16 ^ processId) & 0xFFFF);
    return name;
}

std::string_view OwnArguments(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ')
        ++i;
    if (i < line.size() && line[i] == '"') {
        size_t close = line.find('"', i + 1);
        i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != ' ')
            ++i;
    }
    while (i < line.size() && line[i] == ' ')
        ++i;
    return line.substr(i);
}

uint64_t TrailerMapOffset(uint64_t fileSize) {
    constexpr uint64_t kGranule = 64 * 1024;
    if (fileSize <= kGranule)
        return 0;
    return (fileSize - kGranule) & ~(kGranule - 1);
}

namespace {

std::string_view CutAtNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

std::string_view CutAtNul16(std::string_view s) {
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        if (s[i] == 0 && s[i + 1] == 0)
            return s.substr(0, i);
    }
    return s;
}

} // namespace

Trailer FindTrailer(const uint8_t* tail, size_t size) {
    // The opening frame is looked for no closer than 2 bytes to the start of
    // the mapping.
    constexpr size_t kMinStart = 2;
    Trailer t;
    auto view = [&](size_t from, size_t to) {
        return std::string_view(reinterpret_cast<const char*>(tail) + from, to - from);
    };
    if (size >= 4 && tail[size - 2] == '|' && tail[size - 1] == '>') {
        const size_t end = size - 2; // text ends here
        for (size_t p = end - 2 + 1; p-- > kMinStart;) {
            if (tail[p] != '<' || tail[p + 1] != '|')
                continue;
            // The mark needs three whole bytes inside the mapping.
            const bool utf8 =
                p >= 3 && tail[p - 3] == 0xEF && tail[p - 2] == 0xBB && tail[p - 1] == 0xBF;
            t.encoding = utf8 ? TrailerEncoding::Utf8 : TrailerEncoding::Ansi;
            t.text = CutAtNul(view(p + 2, end));
            return t;
        }
        return t;
    }
    if (size >= 8 && tail[size - 4] == '|' && tail[size - 3] == 0 && tail[size - 2] == '>' &&
        tail[size - 1] == 0) {
        const size_t end = size - 4;
        // Characters are aligned on the end of the file.
        for (size_t p = end - 4 + 2; p >= kMinStart + 2;) {
            p -= 2;
            if (tail[p] == '<' && tail[p + 1] == 0 && tail[p + 2] == '|' && tail[p + 3] == 0) {
                t.encoding = TrailerEncoding::Utf16;
                t.text = CutAtNul16(view(p + 4, end));
                return t;
            }
        }
    }
    return t;
}

std::string BuildEngineCommandLine(std::string_view arguments, std::string_view trailer,
                                   std::string_view own, std::string_view loaderPath) {
    std::string s;
    s.reserve(arguments.size() + trailer.size() + own.size() + loaderPath.size() + 8);
    s.append(CutAtNul(arguments)).append(" ").append(CutAtNul(trailer)).append(" ");
    s.append(CutAtNul(own)).append(" /d:\"").append(CutAtNul(loaderPath)).append("\"");
    return s;
}

size_t FormatReport(char* buf, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    const size_t len = FormatReportV(buf, format, ap);
    va_end(ap);
    return len;
}

size_t FormatReportV(char* buf, const char* format, va_list args) {
    // Leave room for the line feed and the terminator. Some C libraries do
    // not terminate a cut text, so the terminator is placed here as well.
    if (std::vsnprintf(buf, kReportBufferSize - 1, format, args) < 0)
        buf[0] = '\0';
    buf[kReportBufferSize - 2] = '\0';
    size_t len = std::strlen(buf);
    buf[len++] = '\n';
    buf[len] = '\0';
    return len;
}

std::string MessageLogLine(std::string_view caption, std::string_view text,
                           std::string_view flags) {
    auto escape = [](std::string& out, std::string_view s) {
        for (char c : s) {
            switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
            }
        }
    };
    std::string line = "MessageBox\t";
    escape(line, caption);
    line += '\t';
    escape(line, text);
    line += '\t';
    line.append(flags);
    line += '\n';
    return line;
}

} // namespace vyk
