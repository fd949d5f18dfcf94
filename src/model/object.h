// Page objects: the record every object of a page has, its stored layout,
// names and paths, and object files.
#pragma once

#include "model/actions.h"
#include "model/kinds.h"

#include <memory>
#include <string>
#include <vector>

namespace orv::model {

class TAuObject {
public:
    TAuObject() = default;
    explicit TAuObject(TAuObjectKind kind) : Props(MakeKindProps(kind)) {}
    TAuObject(const TAuObject&) = delete;
    TAuObject& operator=(const TAuObject&) = delete;

    std::string Name;
    std::string Hint;
    bool Enabled = true;
    bool Visible = true;
    uint8_t Align = 0; // none, top, bottom, left, right, client
    bool Locked = false;
    bool WindowTitleBar = false;
    int16_t Cursor = 0;
    int32_t Left = 0, Top = 0, Width = 100, Height = 100;
    TAuActions OnClick, OnDoubleClick, OnMouseEnter, OnMouseLeave, OnMouseDown, OnMouseUp;
    std::vector<TMenuItem> PopupMenu; // top-level items; empty = no popup menu
    // The kind-specific block; its alternative is the kind.
    TKindProps Props;

    // Links that are not stored and not owned: the live control built from
    // this record, and the editor's tree node.
    void* Control = nullptr;
    void* TreeNode = nullptr;
    bool Selected = false;

    TAuObjectKind Kind() const { return static_cast<TAuObjectKind>(Props.index()); }
    // Changes the kind; the block takes the new kind's defaults.
    void SetKind(TAuObjectKind kind) { Props = MakeKindProps(kind); }

    template <class P> P& As() { return std::get<P>(Props); }
    template <class P> const P& As() const { return std::get<P>(Props); }
    template <class P> P* If() { return std::get_if<P>(&Props); }
    template <class P> const P* If() const { return std::get_if<P>(&Props); }

    TAuObject* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<TAuObject>>& Children() const { return children_; }
    size_t ChildCount() const { return children_.size(); }
    TAuObject& Child(size_t i) const { return *children_[i]; }

    // Appends (or inserts at index) a child and makes this its parent.
    TAuObject& AddChild(std::unique_ptr<TAuObject> child);
    TAuObject& InsertChild(size_t index, std::unique_ptr<TAuObject> child);
    // Removes a child and hands it back (its parent cleared).
    std::unique_ptr<TAuObject> TakeChild(size_t index);
    void ClearChildren() { children_.clear(); }
    // Moves child from one index to another, shifting those between.
    void MoveChild(size_t from, size_t to);
    // Index of a child, or -1.
    int IndexOf(const TAuObject* child) const;

    // The six event lists in stored order (0 OnClick .. 5 OnMouseUp).
    TAuActions& EventList(int i);
    const TAuActions& EventList(int i) const;

    // A deep copy of the stored content (links left empty, no parent).
    std::unique_ptr<TAuObject> Clone() const;
    // Replaces the stored content of this object by that of other (which is
    // consumed), keeping this object's parent and links.
    void TakeContentFrom(TAuObject& other);
    // Stored content equal, children included.
    bool SameContent(const TAuObject& other) const;

private:
    TAuObject* parent_ = nullptr;
    std::vector<std::unique_ptr<TAuObject>> children_;
};

// Names of the six event lists as the editor labels them.
extern const char* const kEventListNames[6];

// The naming rule: base followed by the smallest N >= 1 that no child of
// parent uses (names compared ignoring ASCII case).
std::string UniqueChildName(const TAuObject* parent, const std::string& base);
// Kind name + N under parent; "UnKnowObject" without a parent.
std::string NewObjectName(const TAuObject* parent, TAuObjectKind kind);

// The object's path: names from below the page root down to it, joined by
// " - ". The root (an object without parent) has an empty path.
std::string ObjectPath(const TAuObject& obj);
// Depth-first search below root (root itself excluded); a record is
// compared before its children; the first match wins.
TAuObject* FindObject(TAuObject& root, const std::string& path);
// "StatusBar - Panel[<index>]".
std::string StatusPanelPath(int index);

// Object records. The reader builds the record into a fresh object and
// moves it into obj only when the whole record (children included) was
// read, so a failed read leaves obj as it was. parent is the record's
// parent for the structural checks (a TabSheet must sit in a TabNotebook);
// null when there is none (a page root, a copied object).
bool WriteObjectRecord(Stream& s, const TAuObject& obj, Reporter& r);
bool ReadObjectRecord(Stream& s, TAuObject& obj, const TAuObject* parent, Reporter& r);

// Object files (.aeo): int32 magic, byte kind, the object record.
inline constexpr int32_t kObjectFileMagic = 92347343; // 0x05811BCF
bool SaveObjectFile(const TAuObject& obj, const std::string& file, Reporter& r);
bool WriteObjectFile(Stream& s, const TAuObject& obj, Reporter& r);
// Loads into an existing object, which must be of the stored kind and keeps
// its own Name and parent. Reports and fails without touching obj on a
// missing file, a wrong magic, a kind mismatch or a damaged record.
bool LoadObjectFile(TAuObject& obj, const std::string& file, Reporter& r);
bool ReadObjectFile(Stream& s, TAuObject& obj, Reporter& r);

} // namespace orv::model
