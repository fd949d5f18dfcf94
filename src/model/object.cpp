#include "model/object.h"

#include "base/fsys.h"
#include "base/text.h"
#include "model/codes.h"
#include "model/io.h"

#include <algorithm>

namespace orv::model {

using detail::Nest;
using detail::Reader;
using detail::Writer;
namespace minsize = detail::minsize;

const char* const kEventListNames[6] = {"OnClick",      "OnDoubleClick", "OnMouseEnter",
                                        "OnMouseLeave", "OnMouseDown",   "OnMouseUp"};

TAuActions& TAuObject::EventList(int i) {
    TAuActions* lists[6] = {&OnClick,      &OnDoubleClick, &OnMouseEnter,
                            &OnMouseLeave, &OnMouseDown,   &OnMouseUp};
    return *lists[i];
}

const TAuActions& TAuObject::EventList(int i) const {
    return const_cast<TAuObject*>(this)->EventList(i);
}

TAuObject& TAuObject::AddChild(std::unique_ptr<TAuObject> child) {
    return InsertChild(children_.size(), std::move(child));
}

TAuObject& TAuObject::InsertChild(size_t index, std::unique_ptr<TAuObject> child) {
    child->parent_ = this;
    index = std::min(index, children_.size());
    auto it = children_.insert(children_.begin() + static_cast<ptrdiff_t>(index), std::move(child));
    return **it;
}

std::unique_ptr<TAuObject> TAuObject::TakeChild(size_t index) {
    std::unique_ptr<TAuObject> c = std::move(children_[index]);
    children_.erase(children_.begin() + static_cast<ptrdiff_t>(index));
    c->parent_ = nullptr;
    return c;
}

void TAuObject::MoveChild(size_t from, size_t to) {
    if (from >= children_.size() || to >= children_.size() || from == to)
        return;
    std::unique_ptr<TAuObject> c = std::move(children_[from]);
    children_.erase(children_.begin() + static_cast<ptrdiff_t>(from));
    children_.insert(children_.begin() + static_cast<ptrdiff_t>(to), std::move(c));
}

int TAuObject::IndexOf(const TAuObject* child) const {
    for (size_t i = 0; i < children_.size(); ++i)
        if (children_[i].get() == child)
            return static_cast<int>(i);
    return -1;
}

namespace {
void CopyFields(TAuObject& to, const TAuObject& from) {
    to.Name = from.Name;
    to.Hint = from.Hint;
    to.Enabled = from.Enabled;
    to.Visible = from.Visible;
    to.Align = from.Align;
    to.Locked = from.Locked;
    to.WindowTitleBar = from.WindowTitleBar;
    to.Cursor = from.Cursor;
    to.Left = from.Left;
    to.Top = from.Top;
    to.Width = from.Width;
    to.Height = from.Height;
    for (int i = 0; i < 6; ++i)
        to.EventList(i) = from.EventList(i);
    to.PopupMenu = from.PopupMenu;
    to.Props = from.Props;
}

bool SameFields(const TAuObject& a, const TAuObject& b) {
    if (a.Name != b.Name || a.Hint != b.Hint || a.Enabled != b.Enabled || a.Visible != b.Visible ||
        a.Align != b.Align || a.Locked != b.Locked || a.WindowTitleBar != b.WindowTitleBar ||
        a.Cursor != b.Cursor || a.Left != b.Left || a.Top != b.Top || a.Width != b.Width ||
        a.Height != b.Height || a.PopupMenu != b.PopupMenu || a.Props != b.Props)
        return false;
    for (int i = 0; i < 6; ++i)
        if (a.EventList(i) != b.EventList(i))
            return false;
    return true;
}
} // namespace

std::unique_ptr<TAuObject> TAuObject::Clone() const {
    auto c = std::make_unique<TAuObject>();
    CopyFields(*c, *this);
    for (const auto& ch : children_)
        c->AddChild(ch->Clone());
    return c;
}

void TAuObject::TakeContentFrom(TAuObject& other) {
    Name = std::move(other.Name);
    Hint = std::move(other.Hint);
    Enabled = other.Enabled;
    Visible = other.Visible;
    Align = other.Align;
    Locked = other.Locked;
    WindowTitleBar = other.WindowTitleBar;
    Cursor = other.Cursor;
    Left = other.Left;
    Top = other.Top;
    Width = other.Width;
    Height = other.Height;
    for (int i = 0; i < 6; ++i)
        EventList(i) = std::move(other.EventList(i));
    PopupMenu = std::move(other.PopupMenu);
    Props = std::move(other.Props);
    children_ = std::move(other.children_);
    other.children_.clear();
    for (auto& c : children_)
        c->parent_ = this;
}

bool TAuObject::SameContent(const TAuObject& other) const {
    if (!SameFields(*this, other) || children_.size() != other.children_.size())
        return false;
    for (size_t i = 0; i < children_.size(); ++i)
        if (!children_[i]->SameContent(*other.children_[i]))
            return false;
    return true;
}

// ------------------------------------------------------ names and paths

std::string UniqueChildName(const TAuObject* parent, const std::string& base) {
    for (long long n = 1;; ++n) {
        std::string name = base + IntToStr(n);
        bool used = false;
        if (parent)
            for (const auto& c : parent->Children())
                if (SameTextAscii(c->Name, name)) {
                    used = true;
                    break;
                }
        if (!used)
            return name;
    }
}

std::string NewObjectName(const TAuObject* parent, TAuObjectKind kind) {
    if (!parent)
        return "UnKnowObject";
    return UniqueChildName(parent, KindName(kind));
}

std::string ObjectPath(const TAuObject& obj) {
    std::vector<const TAuObject*> chain;
    for (const TAuObject* o = &obj; o->Parent(); o = o->Parent())
        chain.push_back(o);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path += " - ";
        path += (*it)->Name;
    }
    return path;
}

namespace {
TAuObject* FindBelow(TAuObject& node, const std::string& prefix, const std::string& path) {
    for (const auto& c : node.Children()) {
        std::string p = prefix.empty() ? c->Name : prefix + " - " + c->Name;
        if (p == path)
            return c.get();
        // Only a prefix of the wanted path can lead to it.
        if (path.size() > p.size() && path.compare(0, p.size(), p) == 0)
            if (TAuObject* hit = FindBelow(*c, p, path))
                return hit;
    }
    return nullptr;
}
} // namespace

TAuObject* FindObject(TAuObject& root, const std::string& path) {
    return FindBelow(root, "", path);
}

std::string StatusPanelPath(int index) {
    return "StatusBar - Panel[" + IntToStr(index) + "]";
}

// ------------------------------------------------------- object records

namespace detail {

void ObjectRecord(Reader& io, TAuObject& o, const TAuObject* parent) {
    io.Guard(code::kReadObject, [&] {
        Nest nest(io.objectDepth);
        Stream& s = io.stream();
        io.Version();
        io.Str("Name", o.Name);
        io.Str("Hint", o.Hint);
        uint8_t kind = s.ReadU8();
        if (!IsValidKind(kind))
            io.Fail(msg::kUnknownKind, msg::kErrorCaption, mb::kIconError | mb::kOk);
        // A tab sheet lives only inside a tab notebook.
        if (kind == static_cast<uint8_t>(TAuObjectKind::TabSheet) && parent &&
            parent->Kind() != TAuObjectKind::TabNotebook)
            io.Fail(msg::kUnknownKind, msg::kErrorCaption, mb::kIconError | mb::kOk);
        o.Enabled = s.ReadBool();
        o.Visible = s.ReadBool();
        o.Align = s.ReadU8();
        o.Locked = s.ReadBool();
        o.WindowTitleBar = s.ReadBool();
        o.Cursor = s.ReadI16();
        o.Left = s.ReadI32();
        o.Top = s.ReadI32();
        o.Width = s.ReadI32();
        o.Height = s.ReadI32();
        for (int i = 0; i < 6; ++i)
            io.Actions(kEventListNames[i], o.EventList(i));
        io.MenuItems("PopupMenu", o.PopupMenu);
        o.Props = MakeKindProps(static_cast<TAuObjectKind>(kind));
        KindBlock(io, o.Props);
        o.ClearChildren();
        int32_t n = s.ReadI32();
        if (n < 0)
            throw StreamError("negative child count");
        s.Require(static_cast<int64_t>(n) * minsize::kObject);
        for (int32_t i = 0; i < n; ++i) {
            auto child = std::make_unique<TAuObject>();
            ObjectRecord(io, *child, &o);
            o.AddChild(std::move(child));
        }
    });
}

void ObjectRecord(Writer& io, const TAuObject& o) {
    io.Guard(code::kWriteObject, [&] {
        Nest nest(io.objectDepth);
        Stream& s = io.stream();
        io.Version();
        io.Str("Name", o.Name);
        io.Str("Hint", o.Hint);
        s.WriteU8(static_cast<uint8_t>(o.Kind()));
        s.WriteBool(o.Enabled);
        s.WriteBool(o.Visible);
        s.WriteU8(o.Align);
        s.WriteBool(o.Locked);
        s.WriteBool(o.WindowTitleBar);
        s.WriteI16(o.Cursor);
        s.WriteI32(o.Left);
        s.WriteI32(o.Top);
        s.WriteI32(o.Width);
        s.WriteI32(o.Height);
        for (int i = 0; i < 6; ++i)
            io.Actions(kEventListNames[i], o.EventList(i));
        io.MenuItems("PopupMenu", o.PopupMenu);
        KindBlock(io, const_cast<TKindProps&>(o.Props));
        s.WriteI32(CheckedCount(o.ChildCount()));
        for (const auto& c : o.Children())
            ObjectRecord(io, *c);
    });
}

} // namespace detail

bool WriteObjectRecord(Stream& s, const TAuObject& obj, Reporter& r) {
    Writer io(s, r);
    return io.Run([&] { detail::ObjectRecord(io, obj); });
}

bool ReadObjectRecord(Stream& s, TAuObject& obj, const TAuObject* parent, Reporter& r) {
    Reader io(s, r);
    TAuObject tmp;
    if (!io.Run([&] { detail::ObjectRecord(io, tmp, parent); }))
        return false;
    obj.TakeContentFrom(tmp);
    return true;
}

// --------------------------------------------------------- object files

bool WriteObjectFile(Stream& s, const TAuObject& obj, Reporter& r) {
    try {
        s.WriteI32(kObjectFileMagic);
        s.WriteU8(static_cast<uint8_t>(obj.Kind()));
    } catch (const std::exception&) {
        r.ShowErrorText(msg::kSaveObjectFailed);
        return false;
    }
    return WriteObjectRecord(s, obj, r);
}

bool SaveObjectFile(const TAuObject& obj, const std::string& file, Reporter& r) {
    // Written beside the target and moved over it only when complete, so a
    // failed save leaves an existing file as it was.
    std::string tmp = file + ".tmp";
    bool ok = false;
    {
        FileStream f;
        if (!f.Open(tmp, FileStream::Mode::Create)) {
            r.ShowErrorText(msg::kSaveObjectFailed);
            return false;
        }
        ok = WriteObjectFile(f, obj, r);
        if (ok && (!f.Sync() || !f.Close())) {
            r.ShowErrorText(msg::kSaveObjectFailed);
            ok = false;
        }
    }
    if (ok && !fsys::MoveReplace(tmp, file)) {
        r.ShowErrorText(msg::kSaveObjectFailed);
        ok = false;
    }
    if (!ok)
        fsys::RemoveFile(tmp);
    return ok;
}

bool ReadObjectFile(Stream& s, TAuObject& obj, Reporter& r) {
    int32_t magic;
    uint8_t kind;
    try {
        magic = s.ReadI32();
        if (magic != kObjectFileMagic) {
            r.Show(msg::kObjectFileFormat, msg::kErrorCaption, mb::kIconError | mb::kOk);
            return false;
        }
        kind = s.ReadU8();
    } catch (const std::exception&) {
        r.ShowErrorText(msg::kLoadObjectFailed);
        return false;
    }
    if (kind != static_cast<uint8_t>(obj.Kind())) {
        std::string text = std::string("Can not load ") + KindName(kind) + " object file to " +
                           KindName(obj.Kind()) + " object!";
        r.Show(text, msg::kObjectTypeCaption, mb::kIconInformation | mb::kOk);
        return false;
    }
    Reader io(s, r);
    TAuObject tmp;
    if (!io.Run([&] { detail::ObjectRecord(io, tmp, obj.Parent()); }))
        return false;
    // The record must be of the kind its header names.
    if (tmp.Kind() != obj.Kind()) {
        r.Show(msg::kUnknownKind, msg::kErrorCaption, mb::kIconError | mb::kOk);
        return false;
    }
    tmp.Name = obj.Name;
    obj.TakeContentFrom(tmp);
    return true;
}

bool LoadObjectFile(TAuObject& obj, const std::string& file, Reporter& r) {
    if (!fsys::FileExists(file)) {
        r.ShowErrorText("File does not exists \"" + file + "\"!");
        return false;
    }
    MemoryStream m;
    try {
        FileStream f;
        if (!f.Open(file, FileStream::Mode::Read))
            throw StreamError("cannot open");
        int64_t size = f.Size();
        m.Data().resize(static_cast<size_t>(size));
        f.ReadExact(m.Data().data(), m.Data().size());
    } catch (const std::exception&) {
        r.ShowErrorText(msg::kLoadObjectFailed);
        return false;
    }
    return ReadObjectFile(m, obj, r);
}

} // namespace orv::model
