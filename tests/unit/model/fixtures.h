// Shared fixtures of the model tests: a picture of each stored class, a
// walker that gives every field of a record a value other than its default,
// and a page that holds every kind, every action kind and nested menus.
#pragma once

#include "model/actions.h"
#include "model/io.h"
#include "model/kind_layout.h"
#include "model/page.h"
#include "model/project.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::model::test {

// A small, complete file of the class that decodes.
TPicture SamplePicture(PictureClass c);
std::vector<uint8_t> SampleJpegBytes();

// The operation code at the end of an error report ("... /5210)."), or 0.
int ReportedCode(const RecordingReporter& r, size_t index = 0);

// Little-endian bytes of an int32.
void PutI32(std::vector<uint8_t>& v, int32_t x);
void PutStr(std::vector<uint8_t>& v, const std::string& s);

// Gives every field it walks a value that differs from the one it had.
class Mutator {
public:
    int n = 0;
    int actionDepth = 0, menuDepth = 0, itemDepth = 0, nodeDepth = 0, objectDepth = 0;
    int listDepth = 0;

    template <class F> void Guard(int, F&& f) { f(); }
    template <class F> void Record(int, int, F&& f) { f(); }
    void Version() {}
    void U8(const char*, uint8_t& v) { v = static_cast<uint8_t>(v + 1 + (n++ % 50)); }
    void Bool(const char*, bool& v) { v = !v; }
    void I16(const char*, int16_t& v) { v = static_cast<int16_t>(v + 1 + (n++ % 1000)); }
    void I32(const char*, int32_t& v) {
        v = static_cast<int32_t>(static_cast<uint32_t>(v) + 1u + static_cast<uint32_t>(n++));
    }
    void Color(const char* name, int32_t& v) { I32(name, v); }
    void F64(const char*, double& v) { v += 1.25 + n++; }
    void Raw(const char*, uint8_t* p, size_t k) {
        for (size_t i = 0; i < k; ++i)
            p[i] = static_cast<uint8_t>(p[i] + 1 + (n++ % 50));
    }
    void Blob(const char*, std::string& v) { v += "{\\rtf1 text " + std::to_string(n++) + "}"; }
    void Str(const char*, std::string& v);
    void Font(const char*, TFont& f);
    void Picture(const char*, TPicture& p);
    void Effect(const char*, TFxEffect& e) { detail::DescribeEffect(*this, e); }
    void Fade(const char*, TFadeSettings& f);
    void Actions(const char*, TAuActions& l);
    void MenuItems(const char*, std::vector<TMenuItem>& v);
    void StatusPanel(TStatusPanel& p);

    template <class T, class F> void List(const char*, std::vector<T>& v, int64_t, F&& each) {
        if (listDepth >= 2)
            return;
        ++listDepth;
        v.resize(2);
        each(v[0]);
        each(v[1]);
        --listDepth;
    }

    TAuAction MakeAction(uint8_t kind, int depth);
    TMenuItem MakeMenuItem(int depth);
    // The shared fields of an object and its block.
    void Object(TAuObject& o);
    void Block(TKindProps& props) { detail::AnyBlock(*this, props); }

private:
    int pictures_ = 0;
};

// One action of each of the 48 kinds, with nested lists.
TAuActions EveryActionKind(Mutator& m);

// A page whose root holds one object of every kind (TabSheets inside a
// TabNotebook, an object inside a Panel), all fields changed from their
// defaults, with popup menus and a menu bar with sub-items.
std::unique_ptr<TPageRecord> RichPage(Mutator& m);

// A project of the given pages (cached), settings changed from defaults.
void FillProject(TAuProject& p, Mutator& m, int pages);

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

std::vector<uint8_t> ReadAll(const std::string& file);
void WriteAll(const std::string& file, const std::vector<uint8_t>& bytes);

} // namespace orv::model::test
