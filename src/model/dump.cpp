#include "model/dump.h"

#include "model/io.h"

#include <cstdio>

namespace orv::model {

using detail::Dumper;

namespace detail {

namespace {
std::string Hex32(uint32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%08X", v);
    return b;
}

uint32_t Checksum(const uint8_t* p, size_t n) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) {
        h ^= p[i];
        h *= 16777619u;
    }
    return h;
}
} // namespace

std::string Dumper::Quote(const std::string& s) {
    std::string q = "\"";
    for (char ch : s) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\r':
            q += "\\r";
            break;
        case '\n':
            q += "\\n";
            break;
        case '\t':
            q += "\\t";
            break;
        case '\\':
            q += "\\\\";
            break;
        case '"':
            q += "\\\"";
            break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                char b[8];
                std::snprintf(b, sizeof b, "\\x%02X", c);
                q += b;
            } else {
                q += ch;
            }
        }
    }
    return q + "\"";
}

void Dumper::Line(const std::string& name, const std::string& value) {
    out.append(static_cast<size_t>(indent) * 2, ' ');
    out += name;
    out += ": ";
    out += value;
    out += '\n';
}

void Dumper::Open(const std::string& title) {
    out.append(static_cast<size_t>(indent) * 2, ' ');
    out += title;
    out += '\n';
    ++indent;
}

void Dumper::Color(const char* name, int32_t v) {
    Line(name, Hex32(static_cast<uint32_t>(v)));
}

void Dumper::F64(const char* name, double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", v);
    Line(name, b);
}

void Dumper::Raw(const char* name, const uint8_t* p, size_t n) {
    std::string v;
    for (size_t i = 0; i < n; ++i) {
        char b[4];
        std::snprintf(b, sizeof b, "%02X", p[i]);
        if (i)
            v += ' ';
        v += b;
    }
    Line(name, v);
}

void Dumper::Blob(const char* name, const std::string& v) {
    const size_t kShown = 200;
    std::string head = Quote(v.substr(0, kShown));
    Line(name, std::to_string(v.size()) + " bytes, sum " +
                   Hex32(Checksum(reinterpret_cast<const uint8_t*>(v.data()), v.size())) + ", " +
                   head + (v.size() > kShown ? "..." : ""));
}

void Dumper::Font(const char* name, const TFont& f) {
    std::string style;
    const char* names[4] = {"bold", "italic", "underline", "strikeout"};
    for (int i = 0; i < 4; ++i)
        if (f.Style & (1 << i))
            style += style.empty() ? names[i] : std::string("+") + names[i];
    if (f.Style & 0xF0)
        style += (style.empty() ? "" : "+") + Hex32(f.Style & 0xF0u);
    Line(name, Quote(f.Name) + ", " + std::to_string(f.Size) + "pt, color " +
                   Hex32(static_cast<uint32_t>(f.Color)) + ", charset " +
                   std::to_string(f.Charset) + (style.empty() ? "" : ", " + style));
}

void Dumper::Picture(const char* name, const TPicture& p) {
    if (p.Empty()) {
        Line(name, "None");
        return;
    }
    Line(name, std::string(PictureClassName(p.Class)) + ", " + std::to_string(p.Bytes.size()) +
                   " bytes, sum " + Hex32(Checksum(p.Bytes.data(), p.Bytes.size())));
}

void Dumper::Effect(const char* name, const TFxEffect& e) {
    Open(std::string(name) + ":");
    DescribeEffect(*this, const_cast<TFxEffect&>(e));
    Close();
}

void Dumper::Fade(const char* name, const TFadeSettings& f) {
    Open(std::string(name) + (f.ShortForm ? " (older form):" : ":"));
    I32("Alpha", f.Alpha);
    Bool("MouseAlphaEnabled", f.MouseAlphaEnabled);
    I32("MouseOverAlpha", f.MouseOverAlpha);
    Bool("Fade", f.Fade);
    I32("FadeInStep", f.FadeInStep);
    if (!f.ShortForm)
        I32("Marker", f.Marker);
    I32("MouseDownAlpha", f.MouseDownAlpha);
    I32("FadeOutStep", f.FadeOutStep);
    Close();
}

namespace {

void DumpObjectTree(Dumper& io, const TAuObject& o) {
    std::string path = ObjectPath(o);
    io.Open("Object " + Dumper::Quote(path) + ": " + KindName(o.Kind()));
    io.Str("Name", o.Name);
    io.Str("Hint", o.Hint);
    io.Bool("Enabled", o.Enabled);
    io.Bool("Visible", o.Visible);
    io.U8("Align", o.Align);
    io.Bool("Locked", o.Locked);
    io.Bool("WindowTitleBar", o.WindowTitleBar);
    io.I16("Cursor", o.Cursor);
    io.Line("Bounds", std::to_string(o.Left) + ", " + std::to_string(o.Top) + ", " +
                          std::to_string(o.Width) + ", " + std::to_string(o.Height));
    for (int i = 0; i < 6; ++i)
        io.Actions(kEventListNames[i], o.EventList(i));
    io.MenuItems("PopupMenu", o.PopupMenu);
    io.Open(std::string(KindName(o.Kind())) + " block:");
    KindBlock(io, const_cast<TKindProps&>(o.Props));
    io.Close();
    if (o.ChildCount() == 0) {
        io.Line("Children", "(none)");
    } else {
        io.Open("Children (" + std::to_string(o.ChildCount()) + ")");
        for (const auto& c : o.Children())
            DumpObjectTree(io, *c);
        io.Close();
    }
    io.Close();
}

void DumpSummary(Dumper& io, const TObjectInfo& n) {
    io.Open(Dumper::Quote(n.Name) + ": " + KindName(n.Kind));
    for (const auto& c : n.Children)
        DumpSummary(io, c);
    io.Close();
}

} // namespace

} // namespace detail

std::string DumpObject(const TAuObject& obj) {
    Dumper io;
    detail::DumpObjectTree(io, obj);
    return io.out;
}

std::string DumpActions(const TAuActions& list) {
    Dumper io;
    io.Actions("Actions", list);
    return io.out;
}

std::string DumpPage(const TPageRecord& page) {
    Dumper io;
    detail::PageSettingsDump(io, page);
    if (page.Root)
        detail::DumpObjectTree(io, *page.Root);
    return io.out;
}

std::string DumpProject(const TAuProject& p) {
    Dumper io;
    io.Open("Project:");
    io.Str("ApplicationTitle", p.ApplicationTitle);
    io.U8("Reserved1", p.Reserved1);
    io.F64("ReservedDate", p.ReservedDate);
    io.I32("Reserved2", p.Reserved2);
    io.Str("Reserved3", p.Reserved3);
    io.U8("Reserved4", p.Reserved4);
    io.Str("LauncherName", p.LauncherName);
    io.Str("IconName", p.IconName);
    io.Str("CDLabel", p.CDLabel);
    io.Str("ReservedText", p.ReservedText);
    io.Str("DataFileName", p.DataFileName);
    io.Line("ProjectPassword", p.ProjectPassword.empty() ? "(none)" : "(set)");
    io.Actions("OnStart", p.OnStart);
    io.Actions("OnExit", p.OnExit);
    io.Actions("ReservedList", p.ReservedList);
    io.Close();
    io.Open("Pages (" + std::to_string(p.Pages.size()) + ")");
    for (size_t i = 0; i < p.Pages.size(); ++i) {
        const TFormData& e = *p.Pages[i];
        io.Open("[" + std::to_string(i) + "] " + Dumper::Quote(e.Name) + " at " +
                std::to_string(e.Position) + ", " + std::to_string(e.Length) + " bytes" +
                (e.Cache ? " (cached)" : ""));
        detail::DumpSummary(io, e.Summary);
        io.Close();
    }
    io.Close();
    return io.out;
}

} // namespace orv::model
