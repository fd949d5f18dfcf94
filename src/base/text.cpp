#include "base/text.h"

namespace orv {

namespace {
char Up(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool Blank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

std::string UpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = Up(c);
    return r;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Up(a[i]) != Up(b[i]))
            return false;
    return true;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && Blank(s[b]))
        ++b;
    while (e > b && Blank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && Blank(s[e - 1]))
        --e;
    return std::string(s.substr(0, e));
}

bool StartsWith(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}
bool EndsWith(std::string_view s, std::string_view x) {
    return s.size() >= x.size() && s.substr(s.size() - x.size()) == x;
}

std::string IntToStr(long long v) {
    return std::to_string(v);
}

} // namespace orv
