#include "player/action_params.h"

#include <limits>

namespace orv::player {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string TrimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

int32_t NumberField(const std::string& field, const char* what) {
    int32_t v = 0;
    if (!ParseDecimal(field, v))
        throw ActionError("The slide show setting \"" + std::string(what) +
                          "\" is not a number: \"" + field + "\".");
    return v;
}

} // namespace

bool ParseDecimal(std::string_view text, int32_t& value) {
    size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    while (n > i && IsBlank(text[n - 1]))
        --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == n)
        return false;
    int64_t v = 0;
    for (; i < n; ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min())
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool SplitFields(std::string_view text, size_t count, std::vector<std::string>& fields) {
    fields.clear();
    size_t pos = 0;
    for (size_t f = 0; f < count; ++f) {
        size_t sep = text.find(kFieldSeparator, pos);
        if (sep == std::string_view::npos)
            return false;
        fields.emplace_back(text.substr(pos, sep - pos));
        pos = sep + 1;
    }
    return true;
}

ParamParse ParseSlideShowSettings(std::string_view text, SlideShowSettings& s) {
    std::vector<std::string> f;
    if (!SplitFields(text, 9, f))
        return ParamParse::Incomplete;
    s.folder = f[0];
    s.loop = f[1] == "Y";
    s.style = NumberField(f[2], "Style");
    s.imageStyle = NumberField(f[3], "ImageStyle");
    s.step = NumberField(f[4], "Step");
    s.stepDelay = NumberField(f[5], "StepDelay");
    s.interval = NumberField(f[6], "Interval");
    s.backColor = NumberField(f[7], "Background Color");
    s.music = f[8];
    return ParamParse::Ok;
}

ParamParse ParseCopyFileSettings(std::string_view text, CopyFileSettings& s) {
    std::vector<std::string> f;
    if (!SplitFields(text, 10, f))
        return ParamParse::Incomplete;
    s.source = TrimBlanks(f[0]);
    s.target = TrimBlanks(f[1]);
    s.overwrite = f[2] == "Y";
    s.showMessage = f[3] == "Y";
    s.caption = TrimBlanks(f[4]);
    s.message = TrimBlanks(f[5]);
    s.yesNo = f[6] == "1";
    s.fileToOpen = TrimBlanks(f[7]);
    s.parameters = TrimBlanks(f[8]);
    s.startFolder = TrimBlanks(f[9]);
    return s.source.empty() ? ParamParse::Incomplete : ParamParse::Ok;
}

int PlayChannelOfToken(std::string_view token) {
    if (token == "[DefaultPlayer3]")
        return 2;
    if (token == "[DefaultPlayer2]")
        return 1;
    return 0;
}

int StopChannelOfToken(std::string_view token) {
    if (token == "[DefaultPlayer1]")
        return 0;
    if (token == "[DefaultPlayer2]")
        return 1;
    if (token == "[DefaultPlayer3]")
        return 2;
    return -1;
}

std::string ViewerExtension(std::string_view text) {
    size_t dot = text.find('.');
    if (dot == std::string_view::npos)
        return {};
    std::string_view ext = text.substr(dot);
    ext = ext.substr(0, ext.find(' '));
    ext = ext.substr(0, ext.find('('));
    return std::string(ext);
}

std::string ConditionPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    path += '\\';
    if (!name.empty() && name.front() == '\\')
        name.remove_prefix(1);
    path += name;
    return path;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string EscapeShellUrl(std::string_view url) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (char ch : url) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '"') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace orv::player
