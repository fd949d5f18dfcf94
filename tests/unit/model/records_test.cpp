#include "fixtures.h"
#include "model/object.h"
#include "model/page.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orv::model {
namespace {

using test::PutI32;
using test::PutStr;
using test::ReportedCode;
using Bytes = std::vector<uint8_t>;

// A default action record, nested lists of the given depth in ThenActions.
void PutAction(Bytes& b, int thenDepth) {
    PutI32(b, 0);   // version
    b.push_back(6); // Exit
    PutStr(b, "");
    PutStr(b, "");
    PutStr(b, "");
    b.push_back(0);
    PutI32(b, 1);
    PutI32(b, 0); // no picture
    PutI32(b, 0); // no font
    if (thenDepth > 0) {
        PutI32(b, 1);
        PutAction(b, thenDepth - 1);
    } else {
        PutI32(b, 0);
    }
    PutI32(b, 0);
}

TEST(ActionRecords, DefaultActionHasTwoZerosBeforeItsLists) {
    MemoryStream m;
    RecordingReporter r;
    TAuAction a;
    ASSERT_TRUE(WriteActionRecord(m, a, r));
    Bytes want;
    PutI32(want, 0); // version
    want.push_back(0);
    PutStr(want, "");
    PutStr(want, "");
    PutStr(want, "");
    want.push_back(0);
    PutI32(want, 1); // Number
    PutI32(want, 0); // picture present
    PutI32(want, 0); // font present
    PutI32(want, 0); // ThenActions
    PutI32(want, 0); // ElseActions
    EXPECT_EQ(m.Data(), want);
}

TEST(ActionRecords, PresenceBelowOneMeansNothingFollows) {
    Bytes b;
    PutI32(b, 0);
    b.push_back(18);
    PutStr(b, "x");
    PutStr(b, "Image1");
    PutStr(b, "");
    b.push_back(1);
    PutI32(b, 5);
    PutI32(b, -1); // no picture
    PutI32(b, 1);  // a font follows
    PutStr(b, "Arial");
    PutI32(b, 255);
    PutI32(b, 9);
    b.push_back(1);
    b.push_back(2);
    PutI32(b, 0);
    PutI32(b, 0);
    MemoryStream m(b);
    RecordingReporter r;
    TAuAction a;
    ASSERT_TRUE(ReadActionRecord(m, a, r));
    EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
    EXPECT_FALSE(a.HasPicture());
    ASSERT_TRUE(a.HasFont());
    EXPECT_EQ(a.Font.Name, "Arial");
    EXPECT_EQ(a.Font.Style, fontstyle::kItalic);
    // Written back as it was read.
    MemoryStream out;
    ASSERT_TRUE(WriteActionRecord(out, a, r));
    EXPECT_EQ(out.Data(), b);
}

TEST(ActionRecords, NestingDeeperThanTheLimitIsRefused) {
    // The outer list is one level, each nested ThenActions one more, and the
    // innermost action's own (empty) lists one more.
    for (int depth : {kMaxNesting - 2, kMaxNesting - 1}) {
        Bytes b;
        PutI32(b, 1);
        PutAction(b, depth);
        MemoryStream m(b);
        RecordingReporter r;
        TAuActions list{TAuAction{}};
        bool ok = ReadActionList(m, list, r);
        if (depth + 2 <= kMaxNesting) {
            EXPECT_TRUE(ok) << depth;
            EXPECT_TRUE(r.entries.empty());
        } else {
            EXPECT_FALSE(ok) << depth;
            ASSERT_EQ(r.entries.size(), 1u);
            EXPECT_EQ(ReportedCode(r), 5512);
            EXPECT_EQ(list.size(), 1u); // unchanged
        }
    }
    // The writer refuses what the reader would refuse.
    TAuAction deep;
    TAuAction* cur = &deep;
    for (int i = 0; i < kMaxNesting + 1; ++i) {
        cur->ThenActions.emplace_back();
        cur = &cur->ThenActions.back();
    }
    MemoryStream m;
    RecordingReporter r;
    EXPECT_FALSE(WriteActionList(m, TAuActions{deep}, r));
    EXPECT_EQ(ReportedCode(r), 5511);
}

TEST(ActionRecords, HostileCountsFailBeforeAllocating) {
    Bytes b;
    PutI32(b, 0x7FFFFFFF);
    PutAction(b, 0);
    MemoryStream m(b);
    RecordingReporter r;
    TAuActions list;
    EXPECT_FALSE(ReadActionList(m, list, r));
    EXPECT_EQ(ReportedCode(r), 5512);
}

TEST(ActionRecords, RecordVersionOtherThanZeroIsADataError) {
    Bytes b;
    PutI32(b, 1);
    PutAction(b, 0);
    b[4] = 1; // the action's version
    MemoryStream m(b);
    RecordingReporter r;
    TAuActions list;
    EXPECT_FALSE(ReadActionList(m, list, r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text, "Invalid data, maybe software version problem.");
    EXPECT_EQ(r.entries[0].caption, "Data Error");
}

TEST(MenuHints, CarryNameAndActionList) {
    test::Mutator m;
    TAuActions list = test::EveryActionKind(m);
    RecordingReporter r;
    std::string text;
    ASSERT_TRUE(ActionListToText("MenuItem3", list, text, r));
    ASSERT_GT(text.size(), 10u);
    EXPECT_EQ(text.substr(0, 10), std::string("MenuItem3\x01"));
    EXPECT_EQ(ActionTextName(text), "MenuItem3");
    MemoryStream direct;
    ASSERT_TRUE(WriteActionList(direct, list, r));
    EXPECT_EQ(text.substr(10), std::string(direct.Data().begin(), direct.Data().end()));

    TAuActions back;
    ASSERT_TRUE(TextToActionList(text, back, r));
    EXPECT_EQ(back, list);

    // A hint without a separator or without list bytes holds no actions.
    for (const char* plain : {"just a tip", "Name\x01"}) {
        TAuActions l{TAuAction{}};
        EXPECT_TRUE(TextToActionList(plain, l, r));
        EXPECT_TRUE(l.empty());
    }
    EXPECT_TRUE(r.entries.empty());

    // Damaged list bytes: one report, the list unchanged.
    TAuActions kept{TAuAction{}};
    std::string damaged = text.substr(0, text.size() / 2);
    EXPECT_FALSE(TextToActionList(damaged, kept, r));
    EXPECT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(kept.size(), 1u);
}

TEST(MenuItems, SubItemsRoundTrip) {
    test::Mutator m;
    TMenuItem item = m.MakeMenuItem(0);
    ASSERT_EQ(item.Items.size(), 2u);
    ASSERT_EQ(item.Items[0].Items.size(), 2u);
    MemoryStream s;
    RecordingReporter r;
    ASSERT_TRUE(WriteMenuItem(s, item, r));
    s.Seek(0);
    TMenuItem back;
    ASSERT_TRUE(ReadMenuItem(s, back, r));
    EXPECT_EQ(back, item);
}

TEST(StatusPanels, LayoutAndPath) {
    TStatusPanel p;
    p.Alignment = 2;
    p.Text = "Ready";
    p.Width = 120;
    MemoryStream s;
    RecordingReporter r;
    ASSERT_TRUE(WriteStatusPanel(s, p, r));
    Bytes want;
    PutI32(want, 0);
    want.push_back(2);
    PutStr(want, "Ready");
    PutI32(want, 120);
    EXPECT_EQ(s.Data(), want);
    EXPECT_EQ(StatusPanelPath(2), "StatusBar - Panel[2]");
}

// ------------------------------------------------------- object records

Bytes ObjectBytes(const TAuObject& o) {
    MemoryStream s;
    RecordingReporter r;
    EXPECT_TRUE(WriteObjectRecord(s, o, r));
    return s.Data();
}

TEST(ObjectRecords, MinimalPanelRecord) {
    TAuObject panel(TAuObjectKind::Panel);
    panel.Name = "Panel1";
    MemoryStream block;
    RecordingReporter r;
    ASSERT_TRUE(WriteKindBlock(block, panel.Props, r));
    Bytes b = ObjectBytes(panel);
    EXPECT_EQ(b.size(), 4 + 4 + 6 + 4 + 1 + 5 + 2 + 16 + 24 + 4 + block.Data().size() + 4);

    Bytes head;
    PutI32(head, 0);
    PutStr(head, "Panel1");
    PutStr(head, "");
    head.push_back(0);                        // kind
    head.insert(head.end(), {1, 1, 0, 0, 0}); // flags
    head.insert(head.end(), {0, 0});          // cursor
    for (int v : {0, 0, 100, 100})
        PutI32(head, v);
    for (int i = 0; i < 7; ++i)
        PutI32(head, 0); // six lists and M
    head.insert(head.end(), block.Data().begin(), block.Data().end());
    PutI32(head, 0);
    EXPECT_EQ(b, head);
}

TEST(ObjectRecords, UnknownKindStopsTheRead) {
    TAuObject root(TAuObjectKind::Panel);
    root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Image)).Name = "Image1";
    root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Bevel)).Name = "Odd";
    root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Label)).Name = "Label1";
    Bytes b = ObjectBytes(root);
    // Find the second child's kind byte and make it 35.
    Bytes name;
    PutStr(name, "Odd");
    auto it = std::search(b.begin(), b.end(), name.begin(), name.end());
    ASSERT_NE(it, b.end());
    size_t kindAt = static_cast<size_t>(it - b.begin()) + name.size() + 4;
    ASSERT_EQ(b[kindAt], static_cast<uint8_t>(TAuObjectKind::Bevel));
    b[kindAt] = 35;

    MemoryStream s(b);
    RecordingReporter r;
    TAuObject target(TAuObjectKind::Panel);
    target.Name = "before";
    EXPECT_FALSE(ReadObjectRecord(s, target, nullptr, r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text, "Unknown object type, maybe file version has problem.");
    EXPECT_EQ(r.entries[0].caption, "Error");
    EXPECT_EQ(r.entries[0].flags, mb::kIconError | mb::kOk);
    EXPECT_EQ(target.Name, "before");
    EXPECT_EQ(target.ChildCount(), 0u);
}

TEST(ObjectRecords, TabSheetOnlyInsideATabNotebook) {
    for (TAuObjectKind parentKind : {TAuObjectKind::TabNotebook, TAuObjectKind::Panel}) {
        TAuObject parent(parentKind);
        parent.AddChild(std::make_unique<TAuObject>(TAuObjectKind::TabSheet)).Name = "TabSheet1";
        MemoryStream s(ObjectBytes(parent));
        RecordingReporter r;
        TAuObject back;
        bool ok = ReadObjectRecord(s, back, nullptr, r);
        EXPECT_EQ(ok, parentKind == TAuObjectKind::TabNotebook) << KindName(parentKind);
        if (!ok) {
            EXPECT_EQ(r.entries.at(0).text, "Unknown object type, maybe file version has problem.");
        }
    }
}

TEST(ObjectRecords, TreesDeeperThanTheLimitAreRefused) {
    auto chain = [](int depth) {
        auto root = std::make_unique<TAuObject>(TAuObjectKind::Panel);
        TAuObject* cur = root.get();
        for (int i = 1; i < depth; ++i)
            cur = &cur->AddChild(std::make_unique<TAuObject>(TAuObjectKind::Panel));
        return root;
    };
    RecordingReporter r;
    MemoryStream ok;
    ASSERT_TRUE(WriteObjectRecord(ok, *chain(kMaxNesting), r));
    ok.Seek(0);
    TAuObject back;
    EXPECT_TRUE(ReadObjectRecord(ok, back, nullptr, r));

    // A 65-level tree cannot be written; hand-make its bytes by wrapping the
    // 64-level record into one more Panel.
    MemoryStream refused;
    EXPECT_FALSE(WriteObjectRecord(refused, *chain(kMaxNesting + 1), r));
    EXPECT_EQ(ReportedCode(r), 5513);

    TAuObject outer(TAuObjectKind::Panel);
    Bytes b = ObjectBytes(outer);
    b.resize(b.size() - 4);
    PutI32(b, 1);
    b.insert(b.end(), ok.Data().begin(), ok.Data().end());
    MemoryStream deep(b);
    RecordingReporter r2;
    EXPECT_FALSE(ReadObjectRecord(deep, back, nullptr, r2));
    ASSERT_EQ(r2.entries.size(), 1u);
    EXPECT_EQ(ReportedCode(r2), 5514);
}

TEST(ObjectRecords, ScrollTextWordWrapTakesFourBytes) {
    TAuObject o(TAuObjectKind::ScrollText);
    auto& p = o.As<ScrollTextProps>();
    p.WordWrap = true;
    p.RepeatCount = 0x01020304;
    MemoryStream s;
    RecordingReporter r;
    ASSERT_TRUE(WriteKindBlock(s, o.Props, r));
    const Bytes& b = s.Data();
    // RepeatCount and three more int32 values end the block.
    size_t at = b.size() - 16;
    EXPECT_EQ(Bytes(b.begin() + static_cast<long>(at) - 4, b.begin() + static_cast<long>(at) + 4),
              (Bytes{1, 0, 0, 0, 4, 3, 2, 1}));
    // The three bytes after the flag are kept as stored.
    Bytes stored = b;
    stored[at - 3] = 0xAB;
    MemoryStream in(stored);
    TKindProps back;
    ASSERT_TRUE(ReadKindBlock(in, TAuObjectKind::ScrollText, back, r));
    EXPECT_TRUE(std::get<ScrollTextProps>(back).WordWrap);
    EXPECT_EQ(std::get<ScrollTextProps>(back).RepeatCount, 0x01020304);
    MemoryStream out;
    ASSERT_TRUE(WriteKindBlock(out, back, r));
    EXPECT_EQ(out.Data(), stored);
}

// Walks a block by a signature written from the stored layouts, so a field
// missing, added or of the wrong width shows up as a length mismatch.
//   b byte or boolean, h int16, i int32 or colour, s string, f font,
//   p picture, e text effect, F fade settings, a action list, B panel
//   background, S slide-show settings, L list items, V list-view items,
//   C list columns, T tree nodes, x int32-counted bytes, w four raw bytes.
class Skipper {
public:
    explicit Skipper(Stream& s) : s_(s) {}
    void Walk(const char* sig) {
        for (const char* c = sig; *c; ++c)
            One(*c);
    }

private:
    void One(char c) {
        switch (c) {
        case 'b':
            s_.ReadU8();
            break;
        case 'h':
            s_.ReadI16();
            break;
        case 'i':
            s_.ReadI32();
            break;
        case 'w':
            s_.ReadI32();
            break;
        case 's':
        case 'x':
            s_.ReadString();
            break;
        case 'f':
            Walk("siibb");
            break;
        case 'p':
            if (!s_.ReadString().empty())
                s_.ReadBytes(s_.ReadI32());
            break;
        case 'e':
            Walk("iiibibibbiibiiibiibbp");
            break;
        case 'F':
            Walk("ibibi");
            if (s_.ReadI32() < 0)
                Walk("ii");
            break;
        case 'a':
            for (int n = s_.ReadI32(); n > 0; --n) {
                Walk("ibsssbi");
                if (s_.ReadI32() >= 1)
                    One('p');
                if (s_.ReadI32() >= 1)
                    One('f');
                Walk("aa");
            }
            break;
        case 'B':
            Walk("ipsbbbbibbii");
            break;
        case 'S':
            Walk("biiiiiissi");
            break;
        case 'L':
            for (int n = s_.ReadI32(); n > 0; --n)
                Walk("isspbaa");
            break;
        case 'V':
            for (int n = s_.ReadI32(); n > 0; --n)
                Walk("isspbsaaV");
            break;
        case 'C':
            for (int n = s_.ReadI32(); n > 0; --n)
                Walk("ibbsiiiii");
            break;
        case 'T':
            for (int n = s_.ReadI32(); n > 0; --n) {
                Walk("isspbsaaV");
                One('T');
            }
            break;
        default:
            FAIL() << "bad signature letter " << c;
        }
    }
    Stream& s_;
};

TEST(KindBlocks, EveryBlockHasItsStoredLayout) {
    const char* kSignatures[kKindCount] = {
        "iBibf",                   // Panel
        "ifiiiib",                 // TabNotebook
        "isp",                     // TabSheet
        "isfi",                    // GroupBox
        "iibf",                    // ScrollBox
        "ibbiib",                  // Splitter
        "isfbbbb",                 // Button
        "isffffppppbibibibbbaa",   // ImageButton
        "ipbbbb",                  // Image
        "isfbbib",                 // SimpleText
        "ibbipbbifeibsbhiwiiii",   // ScrollText
        "ibibipbbbbeipbibibbsesf", // Link
        "ibbbbisfeF",              // Label
        "isbbbbifiieF",            // Text
        "iiiiiiiisfbbiFp",         // Shape
        "ifsbbiiiiF",              // Balloon
        "ifsbiiiiibbeF",           // Note
        "ifiiibLiibb",             // ListBox
        "ifiiiiLiib",              // DropDownList
        "ifbiiibbCVbbbbbbbb",      // ListView
        "ifbiiibbbbbisT",          // TreeView
        "ifbibbbbs",               // ShellListView
        "ifbibbss",                // ShellTreeView
        "isfbbbibb",               // TextBox
        "ixfbbbbibb",              // RichText
        "ibbs",                    // Browser
        "ibbbbs",                  // MediaPlayer
        "iibbbs",                  // FlashPlayer
        "ibbbbsS",                 // SlideShow
        "isfbbbiibbisssss",        // Edit
        "isfbbbibssbaa",           // CheckBox
        "isfbbbibssbaa",           // RadioButton
        "ifiibisssss",             // UserPassword
        "ibbii",                   // Bevel
        "isfpibiiiF",              // FadeButton
    };
    for (int k = 0; k < kKindCount; ++k) {
        auto kind = static_cast<TAuObjectKind>(k);
        for (bool mutated : {false, true}) {
            TKindProps props = MakeKindProps(kind);
            if (mutated) {
                test::Mutator m;
                m.Block(props);
                EXPECT_NE(props, MakeKindProps(kind)) << KindName(kind);
            }
            MemoryStream s;
            RecordingReporter r;
            ASSERT_TRUE(WriteKindBlock(s, props, r)) << KindName(kind);
            s.Seek(0);
            Skipper skip(s);
            ASSERT_NO_THROW(skip.Walk(kSignatures[k])) << KindName(kind);
            EXPECT_EQ(s.Position(), s.Size()) << KindName(kind) << (mutated ? " changed" : "");

            s.Seek(0);
            TKindProps back;
            ASSERT_TRUE(ReadKindBlock(s, kind, back, r)) << KindName(kind);
            EXPECT_EQ(back, props) << KindName(kind);
        }
    }
}

TEST(KindBlocks, BlockVersionAndTruncationFailWithTheKindsCode) {
    for (int k = 0; k < kKindCount; ++k) {
        auto kind = static_cast<TAuObjectKind>(k);
        MemoryStream s;
        RecordingReporter r;
        TKindProps props = MakeKindProps(kind);
        ASSERT_TRUE(WriteKindBlock(s, props, r));
        Bytes b = s.Data();

        Bytes versioned = b;
        versioned[0] = 2;
        MemoryStream v(versioned);
        EXPECT_FALSE(ReadKindBlock(v, kind, props, r));
        ASSERT_EQ(r.entries.size(), 1u);
        EXPECT_EQ(r.entries[0].caption, "Data Error");

        // Cut after the version: the block's own read code, or that of the
        // value encoding read first.
        MemoryStream cut(Bytes(b.begin(), b.begin() + 5));
        RecordingReporter r2;
        EXPECT_FALSE(ReadKindBlock(cut, kind, props, r2));
        ASSERT_EQ(r2.entries.size(), 1u);
        int code = ReportedCode(r2);
        EXPECT_TRUE(code == KindReadCode(kind) || (code >= 5202 && code <= 5210) || code == 5476)
            << KindName(kind) << " " << code;
    }
    EXPECT_EQ(KindReadCode(TAuObjectKind::UserPassword), 5402);
    EXPECT_EQ(KindWriteCode(TAuObjectKind::FadeButton), 5481);
    EXPECT_EQ(KindReadCode(TAuObjectKind::Panel), 5478);
}

// ------------------------------------------------------ names and paths

TEST(ObjectNames, KindNameAndSmallestFreeNumber) {
    EXPECT_STREQ(KindName(TAuObjectKind::FadeButton), "FadeButton");
    EXPECT_STREQ(KindName(35), "Unknow");
    EXPECT_STREQ(KindName(-1), "Unknow");

    TAuObject root(TAuObjectKind::Panel);
    EXPECT_EQ(NewObjectName(&root, TAuObjectKind::Image), "Image1");
    root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Image)).Name = "Image1";
    root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Image)).Name = "image3";
    EXPECT_EQ(NewObjectName(&root, TAuObjectKind::Image), "Image2");
    root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Image)).Name = "Image2";
    EXPECT_EQ(NewObjectName(&root, TAuObjectKind::Image), "Image4");
    EXPECT_EQ(NewObjectName(nullptr, TAuObjectKind::Image), "UnKnowObject");
    EXPECT_EQ(UniqueChildName(&root, "MenuItem"), "MenuItem1");
}

TEST(ObjectNames, PathsFromBelowTheRoot) {
    TAuObject root(TAuObjectKind::Panel);
    root.Name = "PagePanel";
    TAuObject& panel = root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Panel));
    panel.Name = "Panel1";
    TAuObject& image = panel.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Image));
    image.Name = "Image3";
    TAuObject& other = root.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Image));
    other.Name = "Panel1 - Image3"; // a name that looks like a path

    EXPECT_EQ(ObjectPath(image), "Panel1 - Image3");
    EXPECT_EQ(ObjectPath(root), "");
    // Depth first, a record before its children: the nested one is found
    // first because Panel1 comes before the odd name.
    EXPECT_EQ(FindObject(root, "Panel1 - Image3"), &image);
    EXPECT_EQ(FindObject(root, "Panel1"), &panel);
    EXPECT_EQ(FindObject(root, "Image3"), nullptr);
    EXPECT_EQ(FindObject(root, "PagePanel"), nullptr);
}

// ---------------------------------------------------------- object files

TEST(ObjectFiles, SaveAndLoadKeepTheTargetsNameAndParent) {
    test::TempDir dir;
    test::Mutator m;
    TAuObject source(TAuObjectKind::Label);
    source.Name = "Label7";
    m.Object(source);
    source.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Bevel)).Name = "Bevel1";
    RecordingReporter r;
    std::string file = dir.File("label.aeo");
    ASSERT_TRUE(SaveObjectFile(source, file, r));
    Bytes b = test::ReadAll(file);
    ASSERT_GE(b.size(), 5u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 5), (Bytes{0xCF, 0x1B, 0x81, 0x05, 12}));

    TAuObject parent(TAuObjectKind::Panel);
    TAuObject& target = parent.AddChild(std::make_unique<TAuObject>(TAuObjectKind::Label));
    target.Name = "MyLabel";
    ASSERT_TRUE(LoadObjectFile(target, file, r));
    EXPECT_TRUE(r.entries.empty());
    EXPECT_EQ(target.Name, "MyLabel");
    EXPECT_EQ(target.Parent(), &parent);
    source.Name = "MyLabel";
    EXPECT_TRUE(target.SameContent(source));
    EXPECT_EQ(target.Child(0).Parent(), &target);
}

TEST(ObjectFiles, RefusedFilesLeaveTheTargetAlone) {
    test::TempDir dir;
    RecordingReporter r;
    TAuObject label(TAuObjectKind::Label);
    label.Name = "Label1";
    std::string labelFile = dir.File("label.aeo");
    ASSERT_TRUE(SaveObjectFile(label, labelFile, r));
    Bytes good = test::ReadAll(labelFile);

    Bytes badMagic = good;
    badMagic[0] ^= 0xFF;
    Bytes headerSaysImage = good;
    headerSaysImage[4] = static_cast<uint8_t>(TAuObjectKind::Image);
    Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size()) - 3);

    struct Case {
        const char* what;
        Bytes bytes;
        TAuObjectKind target;
        const char* text;
        const char* caption;
    } cases[] = {
        {"wrong magic", badMagic, TAuObjectKind::Label, "File format error.", "Error"},
        {"kind mismatch", good, TAuObjectKind::Image,
         "Can not load Label object file to Image object!", "Object Type"},
        {"record kind differs from header", headerSaysImage, TAuObjectKind::Image,
         "Unknown object type, maybe file version has problem.", "Error"},
        {"short file", Bytes{0xCF, 0x1B}, TAuObjectKind::Label, "Load object from file failed!",
         "Error"},
    };
    for (const auto& c : cases) {
        std::string file = dir.File("case.aeo");
        test::WriteAll(file, c.bytes);
        TAuObject target(c.target);
        target.Name = "Kept";
        target.Hint = "hint";
        RecordingReporter rr;
        EXPECT_FALSE(LoadObjectFile(target, file, rr)) << c.what;
        ASSERT_EQ(rr.entries.size(), 1u) << c.what;
        EXPECT_EQ(rr.entries[0].text, c.text) << c.what;
        EXPECT_EQ(rr.entries[0].caption, c.caption) << c.what;
        EXPECT_EQ(target.Hint, "hint") << c.what;
    }

    // A damaged record reports once and changes nothing.
    test::WriteAll(labelFile, cut);
    TAuObject target(TAuObjectKind::Label);
    target.Hint = "hint";
    RecordingReporter rr;
    EXPECT_FALSE(LoadObjectFile(target, labelFile, rr));
    EXPECT_EQ(rr.entries.size(), 1u);
    EXPECT_EQ(target.Hint, "hint");

    std::string missing = dir.File("missing.aeo");
    EXPECT_FALSE(LoadObjectFile(target, missing, rr));
    EXPECT_EQ(rr.entries.back().text, "File does not exists \"" + missing + "\"!");

    EXPECT_FALSE(SaveObjectFile(label, dir.File("no/such/folder.aeo"), rr));
    EXPECT_EQ(rr.entries.back().text, "Save object to file failed!");
}

} // namespace
} // namespace orv::model
