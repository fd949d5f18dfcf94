#include "model/page.h"

#include "model/codes.h"
#include "model/io.h"

namespace orv::model {

using detail::Dumper;
using detail::Reader;
using detail::Writer;
namespace minsize = detail::minsize;

namespace {
std::unique_ptr<TAuObject> BlankRoot() {
    auto root = std::make_unique<TAuObject>(TAuObjectKind::Panel);
    root->Align = 5; // client
    PanelProps& panel = root->As<PanelProps>();
    panel.BackColor = color::kBtnFace;
    panel.Border = 0;
    panel.Back.Caption.clear();
    panel.Back.Border = 0;
    return root;
}
} // namespace

TPageRecord::TPageRecord() : Root(BlankRoot()) {}

void ResetPageRecord(TPageRecord& page, const std::string& caption) {
    page.Caption = caption;
    page.BorderIcons = bordericon::kSystemMenu | bordericon::kMinimize | bordericon::kMaximize;
    page.BorderStyle = 2;
    page.PositionBy = 0;
    page.PositionMargin = 0;
    page.Position = 1;
    page.WindowState = 0;
    page.FormStyle = 0;
    page.Transparent = false;
    page.TransparentColor = 0;
    page.Alpha = 100;
    page.Fade = true;
    page.FadeInStep = 10;
    page.FadeOutStep = 10;
    page.PageIcon.Clear();
    page.OnShow.clear();
    page.OnClose.clear();
    page.MenuBarItems.clear();
    page.StatusBarHeight = 19;
    page.StatusBarPanels.clear();
    page.Left = 0;
    page.Top = 0;
    page.Width = 696;
    page.Height = 480;
    page.Root = BlankRoot();
    page.StatusBarFont = page.Root->As<PanelProps>().Font;
}

std::unique_ptr<TPageRecord> MakeBlankPage(const std::string& caption) {
    auto p = std::make_unique<TPageRecord>();
    p->Caption = caption;
    return p;
}

namespace detail {
namespace {

// The page settings before the root's record.
template <class IO> void PageSettings(IO& io, TPageRecord& p) {
    io.Version();
    io.Str("Caption", p.Caption);
    io.U8("BorderIcons", p.BorderIcons);
    io.U8("BorderStyle", p.BorderStyle);
    io.U8("PositionBy", p.PositionBy);
    io.I32("PositionMargin", p.PositionMargin);
    io.U8("Position", p.Position);
    io.U8("WindowState", p.WindowState);
    io.U8("FormStyle", p.FormStyle);
    io.Bool("Transparent", p.Transparent);
    io.Color("TransparentColor", p.TransparentColor);
    io.I32("Alpha (%)", p.Alpha);
    io.Bool("Fade", p.Fade);
    io.I32("FadeInStep (%)", p.FadeInStep);
    io.I32("FadeOutStep (%)", p.FadeOutStep);
    io.Picture("PageIcon", p.PageIcon);
    io.Actions("OnShow", p.OnShow);
    io.Actions("OnClose", p.OnClose);
    io.MenuItems("MenuBarItems", p.MenuBarItems);
    io.I32("StatusBarHeight", p.StatusBarHeight);
    io.Font("StatusBarFont", p.StatusBarFont);
    io.List("StatusBarPanels", p.StatusBarPanels, minsize::kStatusPanel,
            [&](auto& sp) { io.StatusPanel(sp); });
    io.I32("Left", p.Left);
    io.I32("Top", p.Top);
    io.I32("Width", p.Width);
    io.I32("Height", p.Height);
}

} // namespace

void PageRecord(Reader& io, TPageRecord& p) {
    io.Guard(code::kReadPage, [&] {
        PageSettings(io, p);
        auto root = std::make_unique<TAuObject>();
        ObjectRecord(io, *root, nullptr);
        // Every page's objects sit in a root Panel.
        if (root->Kind() != TAuObjectKind::Panel)
            io.Fail(msg::kUnknownKind, msg::kErrorCaption, mb::kIconError | mb::kOk);
        p.Root = std::move(root);
    });
}

void PageRecord(Writer& io, const TPageRecord& p) {
    io.Guard(code::kWritePage, [&] {
        if (!p.Root || p.Root->Kind() != TAuObjectKind::Panel)
            throw StreamError("page root is not a panel");
        PageSettings(io, const_cast<TPageRecord&>(p));
        ObjectRecord(io, *p.Root);
    });
}

void PageSettingsDump(Dumper& io, const TPageRecord& p) {
    PageSettings(io, const_cast<TPageRecord&>(p));
}

} // namespace detail

bool WritePageRecord(Stream& s, const TPageRecord& page, Reporter& r) {
    Writer io(s, r);
    return io.Run([&] { detail::PageRecord(io, page); });
}

bool ReadPageRecord(Stream& s, TPageRecord& page, Reporter& r) {
    Reader io(s, r);
    TPageRecord tmp;
    if (!io.Run([&] { detail::PageRecord(io, tmp); }))
        return false;
    page = std::move(tmp);
    return true;
}

} // namespace orv::model
