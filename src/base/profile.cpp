#include "base/profile.h"

#include "base/fsys.h"
#include "base/stream.h"
#include "base/text.h"

#include <cstdlib>

namespace orv {

namespace {
// A value in double quotes is read without them, as the platform does.
std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        return v.substr(1, v.size() - 2);
    return v;
}
} // namespace

bool IniFile::Load(const std::string& path) {
    lines_.clear();
    if (!fsys::FileExists(path))
        return true;
    FileStream f;
    if (!f.Open(path, FileStream::Mode::Read))
        return false;
    try {
        int64_t n = f.Size();
        std::string text(static_cast<size_t>(n), '\0');
        f.ReadExact(text.data(), text.size());
        Parse(text);
    } catch (const StreamError&) {
        return false;
    }
    return true;
}

void IniFile::Parse(const std::string& text) {
    lines_.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string raw =
            text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        Line l;
        l.raw = raw;
        std::string t = Trim(raw);
        if (!t.empty() && t.front() == '[') {
            size_t close = t.find(']');
            l.kind = Line::Section;
            l.section =
                Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        } else if (size_t eq = t.find('='); eq != std::string::npos && t.front() != ';') {
            l.kind = Line::Key;
            l.key = Trim(t.substr(0, eq));
            l.value = Trim(t.substr(eq + 1));
        }
        lines_.push_back(std::move(l));
    }
}

std::string IniFile::Text() const {
    std::string out;
    for (const Line& l : lines_) {
        out += l.raw;
        out += "\r\n";
    }
    return out;
}

bool IniFile::Save(const std::string& path) const {
    std::string tmp = path + ".tmp";
    {
        FileStream f;
        if (!f.Open(tmp, FileStream::Mode::Create))
            return false;
        std::string text = Text();
        bool ok = f.Write(text.data(), text.size()) == text.size() && f.Flush();
        ok = f.Close() && ok;
        if (!ok) {
            fsys::RemoveFile(tmp);
            return false;
        }
    }
    if (!fsys::MoveReplace(tmp, path)) {
        fsys::RemoveFile(tmp);
        return false;
    }
    return true;
}

bool IniFile::FindSection(const std::string& section, size_t& header, size_t& end) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Section || !SameTextAscii(lines_[i].section, section))
            continue;
        header = i;
        end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Line::Section)
            ++end;
        return true;
    }
    return false;
}

bool IniFile::HasSection(const std::string& section) const {
    size_t h, e;
    return FindSection(section, h, e);
}

bool IniFile::HasKey(const std::string& section, const std::string& key) const {
    size_t h, e;
    if (!FindSection(section, h, e))
        return false;
    for (size_t i = h + 1; i < e; ++i)
        if (lines_[i].kind == Line::Key && SameTextAscii(lines_[i].key, key))
            return true;
    return false;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    size_t h, e;
    if (!FindSection(section, h, e))
        return def;
    for (size_t i = h + 1; i < e; ++i)
        if (lines_[i].kind == Line::Key && SameTextAscii(lines_[i].key, key))
            return Unquote(lines_[i].value);
    return def;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::string v = Trim(ReadString(section, key, ""));
    if (v.empty())
        return def;
    // Decimal or, with a "0x"/"$" prefix, hexadecimal; anything else is the
    // default, as a malformed number in a hand-edited file should not count.
    const char* s = v.c_str();
    int base = 10;
    bool neg = false;
    if (*s == '-' || *s == '+') {
        neg = *s == '-';
        ++s;
    }
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s += 2;
    } else if (*s == '$') {
        base = 16;
        ++s;
    }
    if (!*s)
        return def;
    char* endp = nullptr;
    unsigned long long u = std::strtoull(s, &endp, base);
    if (*endp != '\0' || u > 0xFFFFFFFFull)
        return def;
    int64_t r = static_cast<int64_t>(u);
    if (base == 10 && !neg && r > 0x7FFFFFFF)
        return def;
    if (base == 10 && neg && r > 0x80000000LL)
        return def;
    uint32_t bits = static_cast<uint32_t>(neg ? -r : r);
    return static_cast<int>(bits);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    size_t h, e;
    if (!FindSection(section, h, e)) {
        if (!lines_.empty() && !Trim(lines_.back().raw).empty())
            lines_.push_back(Line{});
        Line s;
        s.kind = Line::Section;
        s.section = section;
        s.raw = "[" + section + "]";
        lines_.push_back(s);
        h = lines_.size() - 1;
        e = lines_.size();
    }
    for (size_t i = h + 1; i < e; ++i) {
        Line& l = lines_[i];
        if (l.kind == Line::Key && SameTextAscii(l.key, key)) {
            l.value = value;
            l.raw = l.key + "=" + value;
            return;
        }
    }
    // New keys go after the last non-blank line of the section.
    size_t at = e;
    while (at > h + 1 && Trim(lines_[at - 1].raw).empty())
        --at;
    Line k;
    k.kind = Line::Key;
    k.key = key;
    k.value = value;
    k.raw = key + "=" + value;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), k);
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace orv
