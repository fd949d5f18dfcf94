#include "model/kinds.h"

#include "model/codes.h"
#include "model/io.h"
#include "model/kind_layout.h"

#include <utility>

namespace orv::model {

using detail::Dumper;
using detail::Nest;
using detail::Reader;
using detail::Writer;
namespace minsize = detail::minsize;

const char* KindName(int code) {
    static const char* const kNames[kKindCount] = {
        "Panel",        "TabNotebook", "TabSheet",     "GroupBox",      "ScrollBox",     "Splitter",
        "Button",       "ImageButton", "Image",        "SimpleText",    "ScrollText",    "Link",
        "Label",        "Text",        "Shape",        "Balloon",       "Note",          "ListBox",
        "DropDownList", "ListView",    "TreeView",     "ShellListView", "ShellTreeView", "TextBox",
        "RichText",     "Browser",     "MediaPlayer",  "FlashPlayer",   "SlideShow",     "Edit",
        "CheckBox",     "RadioButton", "UserPassword", "Bevel",         "FadeButton",
    };
    return IsValidKind(code) ? kNames[code] : "Unknow";
}

TFxEffect KindTextEffect(const TFont& font) {
    TFxEffect e;
    e.Shadow.Enabled = true;
    e.Texture.Enabled = true;
    e.Gradual.StartColor = font.Color;
    e.Gradual.EndColor = color::kWhite;
    return e;
}

TFadeSettings FadeButtonFade() {
    TFadeSettings f;
    f.Alpha = 10;
    f.MouseAlphaEnabled = true;
    f.MouseOverAlpha = 50;
    f.MouseDownAlpha = 30;
    return f;
}

namespace {

template <size_t... I> TKindProps MakeProps(size_t k, std::index_sequence<I...>) {
    TKindProps out;
    ((k == I ? (out.emplace<I>(), 0) : 0), ...);
    return out;
}

// Write codes in kind order; each read code is the write code + 1.
constexpr int kWriteCodes[kKindCount] = {
    5477, 5473, 5471, 5469, 5417, 5467, 5465, 5463, 5461, 5459, 5421, 5419,
    5415, 5413, 5411, 5409, 5407, 5439, 5441, 5447, 5451, 5403, 5405, 5435,
    5433, 5431, 5429, 5427, 5425, 5457, 5455, 5453, 5401, 5479, 5481,
};

} // namespace

TKindProps MakeKindProps(TAuObjectKind kind) {
    return MakeProps(static_cast<size_t>(kind), std::make_index_sequence<kKindCount>{});
}

int KindWriteCode(TAuObjectKind kind) {
    return kWriteCodes[static_cast<size_t>(kind)];
}
int KindReadCode(TAuObjectKind kind) {
    return kWriteCodes[static_cast<size_t>(kind)] + 1;
}

namespace detail {

void KindBlock(Reader& io, TKindProps& props) {
    AnyBlock(io, props);
}
void KindBlock(Writer& io, TKindProps& props) {
    AnyBlock(io, props);
}
void KindBlock(Dumper& io, TKindProps& props) {
    AnyBlock(io, props);
}

} // namespace detail

bool WriteKindBlock(Stream& s, const TKindProps& props, Reporter& r) {
    Writer io(s, r);
    return io.Run([&] { detail::KindBlock(io, const_cast<TKindProps&>(props)); });
}

bool ReadKindBlock(Stream& s, TAuObjectKind kind, TKindProps& props, Reporter& r) {
    Reader io(s, r);
    TKindProps tmp = MakeKindProps(kind);
    if (!io.Run([&] { detail::KindBlock(io, tmp); }))
        return false;
    props = std::move(tmp);
    return true;
}

} // namespace orv::model
