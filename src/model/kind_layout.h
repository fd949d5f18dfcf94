// Internal: the stored layout of every kind's block and of the item records
// inside blocks, as templates over a walker (io.h). Shared by the model's
// reader, writer and dump, and by tests that walk every field.
#pragma once

#include "model/codes.h"
#include "model/io.h"
#include "model/kinds.h"

namespace orv::model::detail {

template <class IO> void ItemActions(IO& io, TObjectItemActions& a) {
    io.Actions("OnSelect", a.OnSelect);
    io.Actions("SelectActions", a.SelectActions);
}

template <class IO> void ListItem(IO& io, TListBoxItem& it) {
    io.Record(code::kWriteListItem, code::kReadListItem, [&] {
        io.Version();
        io.Str("Name", it.Name);
        io.Str("Caption", it.Caption);
        io.Picture("Icon", it.Icon);
        io.Bool("Selected", it.Selected);
        ItemActions(io, it.Actions);
    });
}

template <class IO> void ListViewItem(IO& io, TListViewItem& it) {
    io.Record(code::kWriteListViewItem, code::kReadListViewItem, [&] {
        Nest nest(io.itemDepth);
        io.Version();
        io.Str("Name", it.Name);
        io.Str("Caption", it.Caption);
        io.Picture("Icon", it.Icon);
        io.U8("Flag", it.Flag);
        io.Str("SubItems", it.SubItems);
        ItemActions(io, it.Actions);
        io.List("Items", it.Items, minsize::kListViewItem,
                [&](TListViewItem& x) { ListViewItem(io, x); });
    });
}

template <class IO> void ListColumn(IO& io, TListColumn& c) {
    io.Record(code::kWriteListColumn, code::kReadListColumn, [&] {
        io.Version();
        io.U8("Alignment", c.Alignment);
        io.Bool("AutoSize", c.AutoSize);
        io.Str("Caption", c.Caption);
        io.I32("ImageIndex", c.ImageIndex);
        io.I32("MaxWidth", c.MaxWidth);
        io.I32("MinWidth", c.MinWidth);
        io.I32("Tag", c.Tag);
        io.I32("Width", c.Width);
    });
}

template <class IO> void TreeNode(IO& io, TTreeNode& n) {
    io.Record(code::kWriteTreeNode, code::kReadTreeNode, [&] {
        Nest nest(io.nodeDepth);
        ListViewItem(io, n.Data);
        io.List("Nodes", n.Nodes, minsize::kTreeNode, [&](TTreeNode& x) { TreeNode(io, x); });
    });
}

template <class IO> void PanelBack(IO& io, TPanelBack& b) {
    io.Record(code::kWritePanelBack, code::kReadPanelBack, [&] {
        io.Version();
        io.Picture("BackImage", b.BackImage);
        io.Str("Caption", b.Caption);
        io.U8("Alignment", b.Alignment);
        io.U8("Layout", b.Layout);
        io.U8("BackImageStyle", b.BackImageStyle);
        io.U8("GradientStyle", b.GradientStyle);
        io.Color("GradientColor", b.GradientColor);
        io.U8("Border", b.Border);
        io.U8("BorderStyle", b.BorderStyle);
        io.Color("BorderColor", b.BorderColor);
        io.Color("ShadowColor", b.ShadowColor);
    });
}

template <class IO> void SlideSettings(IO& io, TSlideShowSettings& s) {
    io.Record(code::kWriteSlideShowSettings, code::kReadSlideShowSettings, [&] {
        io.U8("Reserved", s.Reserved);
        io.I32("Style", s.Style);
        io.I32("Step (%)", s.Step);
        io.I32("StepDelay (ms)", s.StepDelay);
        io.I32("Interval (ms)", s.Interval);
        io.I32("ImageStyle", s.ImageStyle);
        io.Color("BackColor", s.BackColor);
        io.Str("Reserved1", s.Reserved1);
        io.Str("Reserved2", s.Reserved2);
        io.I32("Reserved3", s.Reserved3);
    });
}

template <class IO> void ListBoxItems(IO& io, std::vector<TListBoxItem>& v) {
    io.List("Items", v, minsize::kListItem, [&](TListBoxItem& x) { ListItem(io, x); });
}

// ------------------------------------------------------------ blocks

template <class IO> void Block(IO& io, PanelProps& p) {
    PanelBack(io, p.Back);
    io.Color("BackColor", p.BackColor);
    io.U8("StandardBorder", p.Border);
    io.Font("Font", p.Font);
}

template <class IO> void Block(IO& io, TabNotebookProps& p) {
    io.Font("Font", p.Font);
    io.Color("BackColor", p.BackColor);
    io.I32("IconWidth", p.IconWidth);
    io.I32("IconHeight", p.IconHeight);
    io.I32("DefaultTabSheet", p.DefaultTabSheet);
    io.Bool("TabStop", p.TabStop);
}

template <class IO> void Block(IO& io, TabSheetProps& p) {
    io.Str("Caption", p.Caption);
    io.Picture("Icon", p.Icon);
}

template <class IO> void Block(IO& io, GroupBoxProps& p) {
    io.Str("Caption", p.Caption);
    io.Font("Font", p.Font);
    io.Color("BackColor", p.BackColor);
}

template <class IO> void Block(IO& io, ScrollBoxProps& p) {
    io.Color("BackColor", p.BackColor);
    io.U8("Border", p.Border);
    io.Font("Font", p.Font);
}

template <class IO> void Block(IO& io, SplitterProps& p) {
    io.Bool("AutoSnap", p.AutoSnap);
    io.Bool("Beveled", p.Beveled);
    io.Color("Color", p.Color);
    io.I32("MinSize", p.MinSize);
    io.U8("ResizeStyle", p.ResizeStyle);
}

template <class IO> void Block(IO& io, ButtonProps& p) {
    io.Str("Caption", p.Caption);
    io.Font("Font", p.Font);
    io.Bool("Cancel", p.Cancel);
    io.Bool("Default", p.Default);
    io.Bool("TabStop", p.TabStop);
    io.Bool("WordWrap", p.WordWrap);
}

template <class IO> void Block(IO& io, ImageButtonProps& p) {
    io.Str("Caption", p.Caption);
    io.Font("MouseDownFont", p.MouseDownFont);
    io.Font("NormalFont", p.NormalFont);
    io.Font("MouseOverFont", p.MouseOverFont);
    io.Font("DisabledFont", p.DisabledFont);
    io.Picture("MouseDownImage", p.MouseDownImage);
    io.Picture("NormalImage", p.NormalImage);
    io.Picture("MouseOverImage", p.MouseOverImage);
    io.Picture("DisabledImage", p.DisabledImage);
    io.U8("ButtonStyle", p.ButtonStyle);
    io.I32("Margin", p.Margin);
    io.U8("ImageLayout", p.ImageLayout);
    io.I32("Spacing", p.Spacing);
    io.Bool("DownSlide", p.DownSlide);
    io.I32("Group", p.Group);
    io.Bool("AllowAllUp", p.AllowAllUp);
    io.Bool("Down", p.Down);
    io.Bool("Flat", p.Flat);
    ItemActions(io, p.Actions);
}

template <class IO> void Block(IO& io, ImageProps& p) {
    io.Picture("Image", p.Image);
    io.Bool("AutoSize", p.AutoSize);
    io.Bool("Center", p.Center);
    io.Bool("Stretch", p.Stretch);
    io.Bool("Transparent", p.Transparent);
}

template <class IO> void Block(IO& io, SimpleTextProps& p) {
    io.Str("Text", p.Text);
    io.Font("Font", p.Font);
    io.U8("Alignment", p.Alignment);
    io.U8("Layout", p.Layout);
    io.Color("BackColor", p.BackColor);
    io.Bool("Transparent", p.Transparent);
}

template <class IO> void Block(IO& io, ScrollTextProps& p) {
    io.Bool("Active", p.Active);
    io.U8("Alignment", p.Alignment);
    io.Color("BackColor", p.BackColor);
    io.Picture("BackImage", p.BackImage);
    io.U8("BackImageStyle", p.BackImageStyle);
    io.Bool("Fade", p.Fade);
    io.I32("FadeHeight", p.FadeHeight);
    io.Font("Font", p.Font);
    io.Effect("Effect", p.Effect);
    io.I32("HeadSpace", p.HeadSpace);
    io.U8("LabelEffect", p.LabelEffect);
    io.Str("Text", p.Text);
    io.U8("Quality", p.Quality);
    io.I16("RowPitch", p.RowPitch);
    io.I32("TailSpace", p.TailSpace);
    // WordWrap takes four bytes: the flag and three that are kept as stored.
    io.Bool("WordWrap", p.WordWrap);
    io.Raw("WordWrapRest", p.WordWrapRest, sizeof p.WordWrapRest);
    io.I32("RepeatCount", p.RepeatCount);
    io.I32("RepeatDelay (ms)", p.RepeatDelay);
    io.I32("ScrollDelay (ms)", p.ScrollDelay);
    io.I32("ScrollStep", p.ScrollStep);
}

template <class IO> void Block(IO& io, LinkProps& p) {
    io.Bool("AutoSize", p.AutoSize);
    io.I32("Margin", p.Margin);
    io.U8("Alignment", p.Alignment);
    io.Color("BackColor", p.BackColor);
    io.Picture("BackImage", p.BackImage);
    io.U8("BackImageStyle", p.BackImageStyle);
    io.U8("Layout", p.Layout);
    io.U8("Quality", p.Quality);
    io.Bool("Transparent", p.Transparent);
    io.Effect("Effect", p.Effect);
    THotLink& h = p.HotLink;
    io.Color("HotLink.BackColor", h.BackColor);
    io.Picture("HotLink.BackGround", h.BackGround);
    io.U8("HotLink.BackGroundMode", h.BackGroundMode);
    io.Color("HotLink.Color", h.Color);
    io.Bool("HotLink.Fade", h.Fade);
    io.I32("HotLink.FadeDelay", h.FadeDelay);
    io.Bool("HotLink.Transparent", h.Transparent);
    io.Bool("HotLink.UnderLine", h.UnderLine);
    io.Str("HotLink.URL", h.URL);
    io.Effect("HotLink.FontEffect", h.FontEffect);
    io.Str("Caption", p.Caption);
    io.Font("Font", p.Font);
}

template <class IO> void Block(IO& io, LabelProps& p) {
    io.U8("Alignment", p.Alignment);
    io.Bool("AutoSize", p.AutoSize);
    io.U8("Layout", p.Layout);
    io.Bool("Transparent", p.Transparent);
    io.I32("Margin", p.Margin);
    io.Str("Caption", p.Caption);
    io.Font("Font", p.Font);
    io.Effect("Effect", p.Effect);
    io.Fade("Fade", p.Fade);
}

template <class IO> void Block(IO& io, TextProps& p) {
    io.Str("Text", p.Text);
    io.U8("Alignment", p.Alignment);
    io.Bool("AutoSize", p.AutoSize);
    io.U8("Reserved", p.Reserved);
    io.Bool("Transparent", p.Transparent);
    io.Color("BackColor", p.BackColor);
    io.Font("Font", p.Font);
    io.I32("RowPitch", p.RowPitch);
    io.I32("Margin", p.Margin);
    io.Effect("Effect", p.Effect);
    io.Fade("Fade", p.Fade);
}

template <class IO> void Block(IO& io, ShapeProps& p) {
    io.Color("BrushColor", p.BrushColor);
    io.I32("BrushStyle", p.BrushStyle);
    io.Color("GradientColor", p.GradientColor);
    io.I32("Round", p.Round);
    io.I32("Shape", p.Shape);
    io.I32("PenWidth", p.PenWidth);
    io.Color("PenColor", p.PenColor);
    io.Str("Text", p.Text);
    io.Font("Font", p.Font);
    io.U8("Alignment", p.Alignment);
    io.U8("Layout", p.Layout);
    io.I32("Margin", p.Margin);
    io.Fade("Fade", p.Fade);
    io.Picture("Image", p.Image);
}

template <class IO> void Block(IO& io, BalloonProps& p) {
    io.Font("Font", p.Font);
    io.Str("Text", p.Text);
    io.U8("Alignment", p.Alignment);
    io.U8("Layout", p.Layout);
    io.I32("Margin", p.Margin);
    io.I32("Arrow", p.Arrow);
    io.Color("BorderColor", p.BorderColor);
    io.Color("BackColor", p.BackColor);
    io.Fade("Fade", p.Fade);
}

template <class IO> void Block(IO& io, NoteProps& p) {
    io.Font("Font", p.Font);
    io.Str("Text", p.Text);
    io.U8("Alignment", p.Alignment);
    io.I32("RowPitch", p.RowPitch);
    io.I32("Margin", p.Margin);
    io.I32("Graphic", p.Graphic);
    io.I32("Round", p.Round);
    io.Color("BackColor", p.BackColor);
    io.Bool("Flat", p.Flat);
    io.Bool("Shadow", p.Shadow);
    io.Effect("Effect", p.Effect);
    io.Fade("Fade", p.Fade);
}

template <class IO> void Block(IO& io, ListBoxProps& p) {
    io.Font("Font", p.Font);
    io.I32("ItemHeight", p.ItemHeight);
    io.I32("IconWidth", p.IconWidth);
    io.I32("IconHeight", p.IconHeight);
    io.Bool("MultiSelect", p.MultiSelect);
    ListBoxItems(io, p.Items);
    io.I32("SelectedIndex", p.SelectedIndex);
    io.Color("BackColor", p.BackColor);
    io.U8("Border", p.Border);
    io.Bool("TabStop", p.TabStop);
}

template <class IO> void Block(IO& io, DropDownListProps& p) {
    io.Font("Font", p.Font);
    io.I32("ItemHeight", p.ItemHeight);
    io.I32("IconWidth", p.IconWidth);
    io.I32("IconHeight", p.IconHeight);
    io.I32("DropDownCount", p.DropDownCount);
    ListBoxItems(io, p.Items);
    io.I32("SelectedIndex", p.SelectedIndex);
    io.Color("BackColor", p.BackColor);
    io.Bool("TabStop", p.TabStop);
}

template <class IO> void Block(IO& io, ListViewProps& p) {
    io.Font("Font", p.Font);
    io.U8("Border", p.Border);
    io.Color("BackColor", p.BackColor);
    io.I32("IconWidth", p.IconWidth);
    io.I32("IconHeight", p.IconHeight);
    io.Bool("HotTrack", p.HotTrack);
    io.U8("HotTrackStyles", p.HotTrackStyles);
    io.List("ReportColumns", p.ReportColumns, minsize::kListColumn,
            [&](TListColumn& c) { ListColumn(io, c); });
    io.List("Items", p.Items, minsize::kListViewItem,
            [&](TListViewItem& x) { ListViewItem(io, x); });
    io.Bool("ColumnClick", p.ColumnClick);
    io.Bool("ReportGridLines", p.ReportGridLines);
    io.Bool("HideSelection", p.HideSelection);
    io.Bool("ReportRowSelect", p.ReportRowSelect);
    io.Bool("ShowColumnHeaders", p.ShowColumnHeaders);
    io.U8("SortType", p.SortType);
    io.U8("ViewStyle", p.ViewStyle);
    io.Bool("TabStop", p.TabStop);
}

template <class IO> void Block(IO& io, TreeViewProps& p) {
    io.Font("Font", p.Font);
    io.U8("Border", p.Border);
    io.Color("BackColor", p.BackColor);
    io.I32("IconWidth", p.IconWidth);
    io.I32("IconHeight", p.IconHeight);
    io.Bool("HotTrack", p.HotTrack);
    io.Bool("ShowRoot", p.ShowRoot);
    io.Bool("ShowButtons", p.ShowButtons);
    io.Bool("ShowLines", p.ShowLines);
    io.Bool("TabStop", p.TabStop);
    io.I32("ExpandLevels", p.ExpandLevels);
    io.Str("AssociatedListView", p.AssociatedListView);
    io.List("Items", p.Items, minsize::kTreeNode, [&](TTreeNode& n) { TreeNode(io, n); });
}

template <class IO> void Block(IO& io, ShellListViewProps& p) {
    io.Font("Font", p.Font);
    io.U8("Border", p.Border);
    io.Color("BackColor", p.BackColor);
    io.Bool("HotTrack", p.HotTrack);
    io.U8("HotTrackStyles", p.HotTrackStyles);
    io.U8("ViewStyle", p.ViewStyle);
    io.Bool("TabStop", p.TabStop);
    io.Str("Root", p.Root);
}

template <class IO> void Block(IO& io, ShellTreeViewProps& p) {
    io.Font("Font", p.Font);
    io.U8("Border", p.Border);
    io.Color("BackColor", p.BackColor);
    io.Bool("HotTrack", p.HotTrack);
    io.Bool("TabStop", p.TabStop);
    io.Str("Root", p.Root);
    io.Str("ShellListView", p.ShellListView);
}

template <class IO> void Block(IO& io, TextBoxProps& p) {
    io.Str("Text", p.Text);
    io.Font("Font", p.Font);
    io.U8("Alignment", p.Alignment);
    io.Bool("WordWrap", p.WordWrap);
    io.U8("ScrollBar", p.ScrollBar);
    io.Color("BackColor", p.BackColor);
    io.U8("Border", p.Border);
    io.Bool("TabStop", p.TabStop);
}

template <class IO> void Block(IO& io, RichTextProps& p) {
    io.Blob("RichText", p.RichText);
    io.Font("Font", p.Font);
    io.U8("Alignment", p.Alignment);
    io.Bool("WordWrap", p.WordWrap);
    io.Bool("PlainText", p.PlainText);
    io.U8("ScrollBar", p.ScrollBar);
    io.Color("BackColor", p.BackColor);
    io.U8("Border", p.Border);
    io.Bool("TabStop", p.TabStop);
}

template <class IO> void Block(IO& io, BrowserProps& p) {
    io.U8("Border", p.Border);
    io.U8("BrowserType", p.BrowserType);
    io.Str("Location", p.Location);
}

template <class IO> void Block(IO& io, MediaPlayerProps& p) {
    io.Bool("Play", p.Play);
    io.Bool("ControlBar", p.ControlBar);
    io.Bool("Border", p.Border);
    io.Bool("Loop", p.Loop);
    io.Str("FileName", p.FileName);
}

template <class IO> void Block(IO& io, FlashPlayerProps& p) {
    io.Color("BackgroundColor", p.BackgroundColor);
    io.U8("Border", p.Border);
    io.Bool("Loop", p.Loop);
    io.Bool("ContextMenu", p.ContextMenu);
    io.Str("FileName", p.FileName);
}

template <class IO> void Block(IO& io, SlideShowProps& p) {
    io.Bool("Play", p.Play);
    io.Bool("Loop", p.Loop);
    io.Bool("ControlBar", p.ControlBar);
    io.Bool("Border", p.Border);
    io.Str("WorkFolder", p.WorkFolder);
    SlideSettings(io, p.Settings);
}

template <class IO> void Block(IO& io, EditProps& p) {
    io.Str("Text", p.Text);
    io.Font("Font", p.Font);
    io.Bool("AutoHeight", p.AutoHeight);
    io.U8("CharCase", p.CharCase);
    io.U8("PasswordChar", p.PasswordChar);
    io.I32("MaxLength", p.MaxLength);
    io.Color("BackColor", p.BackColor);
    io.U8("Border", p.Border);
    io.Bool("TabStop", p.TabStop);
    io.I32("AllowRetry", p.AllowRetry);
    io.Str("RetryMessage", p.RetryMessage);
    io.Str("RetryCaption", p.RetryCaption);
    io.Str("FailedMessage", p.FailedMessage);
    io.Str("FailedCaption", p.FailedCaption);
    io.Str("NeedInputText", p.NeedInputText);
}

template <class IO> void Block(IO& io, CheckBoxProps& p) {
    io.Str("Caption", p.Caption);
    io.Font("Font", p.Font);
    io.U8("Alignment", p.Alignment);
    io.Bool("Checked", p.Checked);
    io.Bool("WordWrap", p.WordWrap);
    io.Color("BackColor", p.BackColor);
    io.Bool("TabStop", p.TabStop);
    io.Str("NeedCheckMessage", p.NeedCheckMessage);
    io.Str("NeedCheckCaption", p.NeedCheckCaption);
    io.Bool("NeedCheck", p.NeedCheck);
    ItemActions(io, p.Actions);
}

template <class IO> void Block(IO& io, RadioButtonProps& p) {
    Block(io, static_cast<CheckBoxProps&>(p));
}

template <class IO> void Block(IO& io, UserPasswordProps& p) {
    io.Font("Font", p.Font);
    io.Color("BackColor", p.BackColor);
    io.Color("EditorColor", p.EditorColor);
    io.Bool("TabStop", p.TabStop);
    io.I32("AllowRetry", p.AllowRetry);
    io.Str("RetryMessage", p.RetryMessage);
    io.Str("RetryCaption", p.RetryCaption);
    io.Str("FailedMessage", p.FailedMessage);
    io.Str("FailedCaption", p.FailedCaption);
    io.Str("User,Password", p.UserList);
}

template <class IO> void Block(IO& io, BevelProps& p) {
    io.U8("Style", p.Style);
    io.U8("Shape", p.Shape);
    io.Color("Highlight", p.Highlight);
    io.Color("Shadow", p.Shadow);
}

template <class IO> void Block(IO& io, FadeButtonProps& p) {
    io.Str("Caption", p.Caption);
    io.Font("Font", p.Font);
    io.Picture("Image", p.Image);
    io.I32("Margin", p.Margin);
    io.U8("ImageLayout", p.ImageLayout);
    io.I32("Spacing", p.Spacing);
    io.Color("BackColor", p.BackColor);
    io.Color("BorderColor", p.BorderColor);
    io.Fade("Fade", p.Fade);
}

// The block of props with its version and codes.
template <class IO> void AnyBlock(IO& io, TKindProps& props) {
    auto kind = static_cast<TAuObjectKind>(props.index());
    io.Record(KindWriteCode(kind), KindReadCode(kind), [&] {
        io.Version();
        std::visit([&](auto& p) { Block(io, p); }, props);
    });
}

} // namespace orv::model::detail
