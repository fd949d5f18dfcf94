#include "model/actions.h"

#include "model/codes.h"
#include "model/io.h"

#include <type_traits>

namespace orv::model {

using detail::Dumper;
using detail::Nest;
using detail::Reader;
using detail::Writer;
namespace minsize = detail::minsize;

const char* ActionKindName(uint8_t code) {
    static const char* const kNames[kActionKindCount] = {
        "OpenRunFile",
        "VisitWebsite",
        "SendEmail",
        "PrintDocument",
        "Browse",
        "ClosePage",
        "Exit",
        "PlaySound",
        "StopSound",
        "ShowSubPage",
        "ShowSubPageModal",
        "GoToPage",
        "NextPage",
        "PreviousPage",
        "FirstPage",
        "LastPage",
        "ShowFullScreenBackground",
        "ObjectShowText",
        "ObjectShowImage",
        "ObjectLoadFile",
        "SetObjectFont",
        "SetObjectBackColor",
        "SetObjectEnable",
        "SetObjectVisible",
        "SetObjectAlpha",
        "Play",
        "Pause",
        "Stop",
        "Prev",
        "Next",
        "Back/First",
        "Step/Last",
        "DoSelectActions",
        "ShowLoginPage",
        "SubmitLoginPage",
        "SubmitLogin",
        "SetWindowState",
        "ApplicationMinimize",
        "ApplicationRestore",
        "ShowImage",
        "LaunchMedia",
        "LaunchSlideShow",
        "ShowMessage",
        "CopyFile",
        "IfThenElse",
        "LoadObjectFromFile",
        "SelectObjectOrItem",
        "UnselectObjectOrItem",
    };
    return code < kActionKindCount ? kNames[code] : "";
}

namespace detail {
namespace {

template <class IO, class L> void DescribeActions(IO& io, const char* name, L& list) {
    io.Record(code::kWriteActionList, code::kReadActionList, [&] {
        Nest nest(io.actionDepth);
        io.List(name, list, minsize::kAction, [&](auto& a) { io.Action(a); });
    });
}

template <class IO> void DescribeAction(IO& io, TAuAction& a) {
    io.Record(code::kWriteAction, code::kReadAction, [&] {
        io.Version();
        if constexpr (std::is_same_v<IO, Dumper>) {
            const char* kn = ActionKindName(a.Kind);
            io.Line("Kind", std::to_string(a.Kind) + " " + (*kn ? kn : "(none)"));
        } else {
            io.U8("Kind", a.Kind);
        }
        io.Str("Param1", a.Param1);
        io.Str("Param2", a.Param2);
        io.Str("Param3", a.Param3);
        io.Bool("Flag", a.Flag);
        io.I32("Number", a.Number);
        io.I32("PictureMark", a.PictureMark);
        if (a.PictureMark >= 1)
            io.Picture("Picture", a.Picture);
        io.I32("FontMark", a.FontMark);
        if (a.FontMark >= 1)
            io.Font("Font", a.Font);
        io.Actions("ThenActions", a.ThenActions);
        io.Actions("ElseActions", a.ElseActions);
    });
}

template <class IO> void DescribeMenuItem(IO& io, TMenuItem& m) {
    io.Record(code::kWriteMenuItem, code::kReadMenuItem, [&] {
        Nest nest(io.menuDepth);
        io.Version();
        io.Str("Caption", m.Caption);
        if constexpr (std::is_same_v<IO, Dumper>) {
            // The hint carries the item's name and its action list.
            io.Str("Hint.Name", ActionTextName(m.Hint));
            RecordingReporter quiet;
            TAuActions list;
            if (TextToActionList(m.Hint, list, quiet))
                io.Actions("Hint.Actions", list);
            else
                io.Line("Hint.Actions", "(damaged)");
        } else {
            io.Str("Hint", m.Hint);
        }
        io.I16("ShortCut", m.ShortCut);
        io.Bool("RadioItem", m.RadioItem);
        io.U8("GroupIndex", m.GroupIndex);
        io.Bool("Enabled", m.Enabled);
        io.Bool("Default", m.Default);
        io.Bool("Checked", m.Checked);
        io.Bool("AutoCheck", m.AutoCheck);
        io.Bool("Visible", m.Visible);
        io.Picture("Bitmap", m.Bitmap);
        io.MenuItems("Items", m.Items);
    });
}

template <class IO> void DescribeStatusPanel(IO& io, TStatusPanel& p) {
    io.Record(code::kWriteStatusPanel, code::kReadStatusPanel, [&] {
        io.Version();
        io.U8("Alignment", p.Alignment);
        io.Str("Text", p.Text);
        io.I32("Width", p.Width);
    });
}

template <class IO, class V> void DescribeMenuItems(IO& io, const char* name, V& items) {
    io.List(name, items, minsize::kMenuItem, [&](auto& m) { io.MenuItem(m); });
}

} // namespace

void Reader::Actions(const char* name, TAuActions& v) {
    DescribeActions(*this, name, v);
}
void Reader::Action(TAuAction& a) {
    // Reading a record replaces every field, the absent picture and font
    // included.
    a = TAuAction{};
    DescribeAction(*this, a);
}
void Reader::MenuItems(const char* name, std::vector<TMenuItem>& v) {
    DescribeMenuItems(*this, name, v);
}
void Reader::MenuItem(TMenuItem& m) {
    m = TMenuItem{};
    DescribeMenuItem(*this, m);
}
void Reader::StatusPanel(TStatusPanel& p) {
    DescribeStatusPanel(*this, p);
}

void Writer::Actions(const char* name, const TAuActions& v) {
    DescribeActions(*this, name, v);
}
void Writer::Action(const TAuAction& a) {
    DescribeAction(*this, const_cast<TAuAction&>(a));
}
void Writer::MenuItems(const char* name, const std::vector<TMenuItem>& v) {
    DescribeMenuItems(*this, name, v);
}
void Writer::MenuItem(const TMenuItem& m) {
    DescribeMenuItem(*this, const_cast<TMenuItem&>(m));
}
void Writer::StatusPanel(const TStatusPanel& p) {
    DescribeStatusPanel(*this, const_cast<TStatusPanel&>(p));
}

void Dumper::Actions(const char* name, const TAuActions& v) {
    DescribeActions(*this, name, v);
}
void Dumper::Action(const TAuAction& a) {
    DescribeAction(*this, const_cast<TAuAction&>(a));
}
void Dumper::MenuItems(const char* name, const std::vector<TMenuItem>& v) {
    DescribeMenuItems(*this, name, v);
}
void Dumper::MenuItem(const TMenuItem& m) {
    DescribeMenuItem(*this, const_cast<TMenuItem&>(m));
}
void Dumper::StatusPanel(const TStatusPanel& p) {
    DescribeStatusPanel(*this, const_cast<TStatusPanel&>(p));
}

} // namespace detail

// --------------------------------------------------------------- public

bool WriteActionList(Stream& s, const TAuActions& list, Reporter& r) {
    Writer io(s, r);
    return io.Run([&] { io.Actions("", list); });
}

bool ReadActionList(Stream& s, TAuActions& list, Reporter& r) {
    Reader io(s, r);
    TAuActions tmp;
    if (!io.Run([&] { io.Actions("", tmp); }))
        return false;
    list = std::move(tmp);
    return true;
}

bool WriteActionRecord(Stream& s, const TAuAction& a, Reporter& r) {
    Writer io(s, r);
    return io.Run([&] { io.Action(a); });
}

bool ReadActionRecord(Stream& s, TAuAction& a, Reporter& r) {
    Reader io(s, r);
    TAuAction tmp;
    if (!io.Run([&] { io.Action(tmp); }))
        return false;
    a = std::move(tmp);
    return true;
}

bool WriteMenuItem(Stream& s, const TMenuItem& item, Reporter& r) {
    Writer io(s, r);
    return io.Run([&] { io.MenuItem(item); });
}

bool ReadMenuItem(Stream& s, TMenuItem& item, Reporter& r) {
    Reader io(s, r);
    TMenuItem tmp;
    if (!io.Run([&] { io.MenuItem(tmp); }))
        return false;
    item = std::move(tmp);
    return true;
}

bool WriteStatusPanel(Stream& s, const TStatusPanel& p, Reporter& r) {
    Writer io(s, r);
    return io.Run([&] { io.StatusPanel(p); });
}

bool ReadStatusPanel(Stream& s, TStatusPanel& p, Reporter& r) {
    Reader io(s, r);
    TStatusPanel tmp;
    if (!io.Run([&] { io.StatusPanel(tmp); }))
        return false;
    p = std::move(tmp);
    return true;
}

bool ActionListToText(const std::string& name, const TAuActions& list, std::string& text,
                      Reporter& r) {
    MemoryStream m;
    Writer io(m, r);
    bool ok = io.Run([&] {
        io.Guard(code::kWriteMenuText, [&] {
            io.Actions("", list);
            std::string t;
            t.reserve(name.size() + 1 + m.Data().size());
            t = name;
            t += '\x01';
            t.append(m.Data().begin(), m.Data().end());
            text = std::move(t);
        });
    });
    return ok;
}

bool TextToActionList(const std::string& text, TAuActions& list, Reporter& r) {
    size_t sep = text.find('\x01');
    if (sep == std::string::npos || sep + 1 == text.size()) {
        list.clear();
        return true;
    }
    ViewStream v(text.data() + sep + 1, text.size() - sep - 1);
    Reader io(v, r);
    TAuActions tmp;
    if (!io.Run([&] { io.Guard(code::kReadMenuText, [&] { io.Actions("", tmp); }); }))
        return false;
    list = std::move(tmp);
    return true;
}

std::string ActionTextName(const std::string& text) {
    size_t sep = text.find('\x01');
    return sep == std::string::npos ? text : text.substr(0, sep);
}

} // namespace orv::model
