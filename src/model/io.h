// Internal: the three walkers over stored records. One description of a
// record's layout (a template over the walker) serves reading, writing and
// the text dump, so the directions cannot drift apart.
//
// Failure model: a stream error inside a record is caught by the innermost
// operation that has a code, reported once, and turned into Reported,
// which every enclosing operation lets pass without a second report.
#pragma once

#include "model/actions.h"
#include "model/codes.h"
#include "model/kinds.h"
#include "model/values.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::model {
class TAuObject;
struct TPageRecord;
} // namespace orv::model

namespace orv::model::detail {

// A failure that has been reported already.
struct Reported {};

// Counts one level of nesting for the life of the guard; refuses to go past
// kMaxNesting.
class Nest {
public:
    explicit Nest(int& depth) : depth_(depth) {
        if (depth_ >= kMaxNesting)
            throw StreamError("records nested too deeply");
        ++depth_;
    }
    ~Nest() { --depth_; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

private:
    int& depth_;
};

// Smallest stored sizes of records, to check a stored count against the
// bytes that remain before anything is built for it.
namespace minsize {
inline constexpr int64_t kAction = 38;
inline constexpr int64_t kMenuItem = 29;
inline constexpr int64_t kStatusPanel = 13;
inline constexpr int64_t kObject = 72;
inline constexpr int64_t kListItem = 25;
inline constexpr int64_t kListViewItem = 33;
inline constexpr int64_t kListColumn = 30;
inline constexpr int64_t kTreeNode = 37;
inline constexpr int64_t kPageEntry = 16;
inline constexpr int64_t kSummary = 13;
} // namespace minsize

int32_t CheckedCount(size_t n);

// What the reading and the writing side share: the stream, the reporter,
// and turning a failure inside a record into its one report.
class IoBase {
public:
    IoBase(Stream& s, Reporter& r) : s_(s), r_(r) {}
    Stream& stream() { return s_; }
    Reporter& reporter() { return r_; }

    // Runs f; a failure not yet reported is reported with code.
    template <class F> void Guard(int code, F&& f) {
        try {
            f();
        } catch (const Reported&) {
            throw;
        } catch (const std::exception&) {
            r_.ReportError(code);
            throw Reported{};
        }
    }
    // Runs f and turns the outcome into a result.
    template <class F> bool Run(F&& f) {
        try {
            f();
            return true;
        } catch (const Reported&) {
            return false;
        }
    }

protected:
    Stream& s_;
    Reporter& r_;
};

class Reader : public IoBase {
public:
    static constexpr bool kReading = true;
    static constexpr bool kWriting = false;

    Reader(Stream& s, Reporter& r) : IoBase(s, r) {}

    template <class F> void Record(int /*writeCode*/, int readCode, F&& f) { Guard(readCode, f); }
    [[noreturn]] void Fail(const char* text, const char* caption, uint32_t flags);

    void Version();
    void U8(const char*, uint8_t& v) { v = s_.ReadU8(); }
    void Bool(const char*, bool& v) { v = s_.ReadBool(); }
    void I16(const char*, int16_t& v) { v = s_.ReadI16(); }
    void I32(const char*, int32_t& v) { v = s_.ReadI32(); }
    void Color(const char*, int32_t& v) { v = s_.ReadI32(); }
    void F64(const char*, double& v) { v = s_.ReadF64(); }
    void Raw(const char*, uint8_t* p, size_t n) { s_.ReadExact(p, n); }
    // A length-prefixed byte block read inline by its record.
    void Blob(const char*, std::string& v) { v = s_.ReadString(); }
    void Str(const char*, std::string& v);
    void Font(const char*, TFont& v);
    void Picture(const char*, TPicture& v);
    void Effect(const char*, TFxEffect& v);
    void Fade(const char*, TFadeSettings& v);
    void Actions(const char*, TAuActions& v);
    void Action(TAuAction& a);
    void MenuItems(const char*, std::vector<TMenuItem>& v);
    void MenuItem(TMenuItem& m);
    void StatusPanel(TStatusPanel& p);

    // int32 count, then count records read by each(T&).
    template <class T, class F>
    void List(const char*, std::vector<T>& v, int64_t minSize, F&& each) {
        int32_t n = s_.ReadI32();
        if (n < 0)
            throw StreamError("negative count");
        s_.Require(static_cast<int64_t>(n) * minSize);
        std::vector<T> out;
        for (int32_t i = 0; i < n; ++i) {
            out.emplace_back();
            each(out.back());
        }
        v = std::move(out);
    }

    int actionDepth = 0, menuDepth = 0, itemDepth = 0, nodeDepth = 0, objectDepth = 0;
};

class Writer : public IoBase {
public:
    static constexpr bool kReading = false;
    static constexpr bool kWriting = true;

    Writer(Stream& s, Reporter& r) : IoBase(s, r) {}

    template <class F> void Record(int writeCode, int /*readCode*/, F&& f) { Guard(writeCode, f); }

    void Version() { s_.WriteI32(0); }
    void U8(const char*, uint8_t v) { s_.WriteU8(v); }
    void Bool(const char*, bool v) { s_.WriteBool(v); }
    void I16(const char*, int16_t v) { s_.WriteI16(v); }
    void I32(const char*, int32_t v) { s_.WriteI32(v); }
    void Color(const char*, int32_t v) { s_.WriteI32(v); }
    void F64(const char*, double v) { s_.WriteF64(v); }
    void Raw(const char*, const uint8_t* p, size_t n) { s_.WriteExact(p, n); }
    void Blob(const char*, const std::string& v) { s_.WriteString(v); }
    void Str(const char*, const std::string& v);
    void Font(const char*, const TFont& v);
    void Picture(const char*, const TPicture& v);
    void Effect(const char*, const TFxEffect& v);
    void Fade(const char*, const TFadeSettings& v);
    void Actions(const char*, const TAuActions& v);
    void Action(const TAuAction& a);
    void MenuItems(const char*, const std::vector<TMenuItem>& v);
    void MenuItem(const TMenuItem& m);
    void StatusPanel(const TStatusPanel& p);

    template <class T, class F>
    void List(const char*, const std::vector<T>& v, int64_t /*minSize*/, F&& each) {
        s_.WriteI32(CheckedCount(v.size()));
        for (const T& x : v)
            each(const_cast<T&>(x));
    }

    int actionDepth = 0, menuDepth = 0, itemDepth = 0, nodeDepth = 0, objectDepth = 0;
};

// Renders records as indented "name: value" lines.
class Dumper {
public:
    static constexpr bool kReading = false;
    static constexpr bool kWriting = false;

    std::string out;
    int indent = 0;
    int actionDepth = 0, menuDepth = 0, itemDepth = 0, nodeDepth = 0, objectDepth = 0;

    template <class F> void Guard(int, F&& f) { f(); }
    template <class F> void Record(int, int, F&& f) { f(); }

    void Version() {}
    void U8(const char* name, uint8_t v) { Line(name, std::to_string(v)); }
    void Bool(const char* name, bool v) { Line(name, v ? "true" : "false"); }
    void I16(const char* name, int16_t v) { Line(name, std::to_string(v)); }
    void I32(const char* name, int32_t v) { Line(name, std::to_string(v)); }
    void Color(const char* name, int32_t v);
    void F64(const char* name, double v);
    void Raw(const char* name, const uint8_t* p, size_t n);
    void Blob(const char* name, const std::string& v);
    void Str(const char* name, const std::string& v) { Line(name, Quote(v)); }
    void Font(const char* name, const TFont& v);
    void Picture(const char* name, const TPicture& v);
    void Effect(const char* name, const TFxEffect& v);
    void Fade(const char* name, const TFadeSettings& v);
    void Actions(const char* name, const TAuActions& v);
    void Action(const TAuAction& a);
    void MenuItems(const char* name, const std::vector<TMenuItem>& v);
    void MenuItem(const TMenuItem& m);
    void StatusPanel(const TStatusPanel& p);

    template <class T, class F>
    void List(const char* name, const std::vector<T>& v, int64_t, F&& each) {
        if (v.empty()) {
            Line(name, "(none)");
            return;
        }
        Open(std::string(name) + " (" + std::to_string(v.size()) + ")");
        for (size_t i = 0; i < v.size(); ++i) {
            Open("[" + std::to_string(i) + "]");
            each(const_cast<T&>(v[i]));
            Close();
        }
        Close();
    }

    void Line(const std::string& name, const std::string& value);
    void Open(const std::string& title);
    void Close() { --indent; }
    static std::string Quote(const std::string& s);
};

// Layout of the text-effect record, shared by the three walkers.
template <class IO> void DescribeEffect(IO& io, TFxEffect& e) {
    io.I32("Alpha", e.Alpha);
    io.I32("Angle", e.Angle);
    io.I32("Blur", e.Blur);
    io.Bool("HorzMirror", e.HorzMirror);
    io.I32("Noise", e.Noise);
    io.Bool("Outline", e.Outline);
    io.I32("Spray", e.Spray);
    io.Bool("VertMirror", e.VertMirror);
    io.Bool("Gradual.Enabled", e.Gradual.Enabled);
    io.Color("Gradual.EndColor", e.Gradual.EndColor);
    io.Color("Gradual.StartColor", e.Gradual.StartColor);
    io.U8("Gradual.Style", e.Gradual.Style);
    io.I32("Shadow.Alpha", e.Shadow.Alpha);
    io.I32("Shadow.Blur", e.Shadow.Blur);
    io.Color("Shadow.Color", e.Shadow.Color);
    io.Bool("Shadow.Enabled", e.Shadow.Enabled);
    io.I32("Shadow.OffsetX", e.Shadow.OffsetX);
    io.I32("Shadow.OffsetY", e.Shadow.OffsetY);
    io.Bool("Texture.Enabled", e.Texture.Enabled);
    io.U8("Texture.Mode", e.Texture.Mode);
    io.Picture("Texture.Picture", e.Texture.Picture);
}

// The kind-specific block of props (whose alternative is the kind).
void KindBlock(Reader& io, TKindProps& props);
void KindBlock(Writer& io, TKindProps& props);
void KindBlock(Dumper& io, TKindProps& props);

// Object records.
void ObjectRecord(Reader& io, TAuObject& obj, const TAuObject* parent);
void ObjectRecord(Writer& io, const TAuObject& obj);

// Page records, and the dump of a page's settings (before its root).
void PageRecord(Reader& io, TPageRecord& page);
void PageRecord(Writer& io, const TPageRecord& page);
void PageSettingsDump(Dumper& io, const TPageRecord& page);

} // namespace orv::model::detail
