#include "fixtures.h"
#include "model/dump.h"
#include "model/project.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::model {
namespace {

using test::PutI32;
using test::PutStr;
using test::ReportedCode;
using Bytes = std::vector<uint8_t>;

ProjectWriteOptions Seeded(uint32_t seed) {
    ProjectWriteOptions o;
    o.seed = seed;
    return o;
}

ProjectReadOptions Editor(PasswordPrompt prompt = nullptr) {
    ProjectReadOptions o;
    o.readSummaries = true;
    o.askPassword = std::move(prompt);
    return o;
}

// Length of the header block at offset 8: K, K values and the text.
size_t HeaderLength(const Bytes& b) {
    MemoryStream m(b);
    m.Seek(8);
    int32_t k = m.ReadI32();
    m.Seek(12 + 4LL * k);
    m.ReadString();
    return static_cast<size_t>(m.Position()) - 8;
}

TEST(ProjectFile, ProjectWithoutPagesHoldsNothingAfterTheCount) {
    TAuProject p;
    ResetProject(p, false);
    MemoryStream out;
    RecordingReporter r;
    std::vector<PageSpan> spans;
    ASSERT_TRUE(WriteProjectStream(p, out, nullptr, "x", r, Seeded(1), spans));
    const Bytes& b = out.Data();

    Bytes settings;
    PutI32(settings, 0);
    PutStr(settings, "AutoRun CD");
    settings.push_back(0);
    settings.insert(settings.end(), 8, 0); // date-time 0.0
    PutI32(settings, 0);
    PutStr(settings, "");
    settings.push_back(0);
    for (const char* s : {"autorun.exe", "autorun.ico", "CDROM", "", "autorun.aru"})
        PutStr(settings, s);
    for (int i = 0; i < 3; ++i)
        PutI32(settings, 0); // three empty lists
    PutI32(settings, 0);     // P

    size_t header = HeaderLength(b);
    ASSERT_EQ(b.size(), 8 + header + 1 + settings.size());
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), (Bytes{0x88, 0x53, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(b[8 + header], 1); // the reserved flag
    EXPECT_EQ(Bytes(b.begin() + static_cast<long>(9 + header), b.end()), settings);
}

TEST(ProjectFile, HeaderScramblesThePasswordWithTheKey) {
    TAuProject p;
    ResetProject(p, false);
    p.HeaderKey = 7;
    p.HeaderFill = {1, 2, 3, 4, 5, 6, 7};
    ProjectWriteOptions o;
    o.reuseHeader = true;
    MemoryStream out;
    RecordingReporter r;
    std::vector<PageSpan> spans;
    ASSERT_TRUE(WriteProjectStream(p, out, nullptr, "x", r, o, spans));
    const Bytes& b = out.Data();
    // K, seven values, then the text of three separators XOR 7.
    Bytes want;
    PutI32(want, 7);
    for (int i = 1; i <= 7; ++i)
        PutI32(want, i);
    PutI32(want, 3);
    want.insert(want.end(), {0x06, 0x06, 0x06});
    EXPECT_EQ(Bytes(b.begin() + 8, b.begin() + 8 + static_cast<long>(want.size())), want);

    // A fresh key each save: K in 1..50, filler below 2^31 - 1.
    for (uint32_t seed = 0; seed < 200; ++seed) {
        MemoryStream s;
        ASSERT_TRUE(WriteProjectStream(p, s, nullptr, "x", r, Seeded(seed), spans));
        s.Seek(8);
        int32_t k = s.ReadI32();
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 50);
        for (int i = 0; i < k; ++i) {
            int32_t v = s.ReadI32();
            ASSERT_GE(v, 0);
            ASSERT_LT(v, 2147483647);
        }
    }
}

Bytes ProjectBytes(const TAuProject& p, uint32_t seed = 5) {
    MemoryStream out;
    RecordingReporter r;
    std::vector<PageSpan> spans;
    EXPECT_TRUE(WriteProjectStream(p, out, nullptr, "x", r, Seeded(seed), spans));
    return out.Data();
}

// Replaces the header text (after K and its values) by raw text XOR K.
Bytes WithHeaderText(const Bytes& b, const std::string& text) {
    MemoryStream m(b);
    m.Seek(8);
    int32_t k = m.ReadI32();
    size_t textAt = 12 + 4 * static_cast<size_t>(k);
    size_t end = 8 + HeaderLength(b);
    Bytes out(b.begin(), b.begin() + static_cast<long>(textAt));
    std::string scrambled = text;
    for (char& c : scrambled)
        c = static_cast<char>(c ^ k);
    PutStr(out, scrambled);
    out.insert(out.end(), b.begin() + static_cast<long>(end), b.end());
    return out;
}

TEST(ProjectFile, PasswordIsAskedOnlyWhenAPromptIsGiven) {
    TAuProject p;
    test::Mutator m;
    test::FillProject(p, m, 1);
    p.ProjectPassword = "Secret";
    Bytes b = ProjectBytes(p);

    struct Case {
        const char* what;
        bool ask;
        bool answers;
        const char* answer;
        bool ok;
    } cases[] = {
        {"player never asks", false, false, "", true},
        {"right answer", true, true, "Secret", true},
        {"wrong case", true, true, "secret", false},
        {"cancelled", true, false, "Secret", false},
    };
    for (const auto& c : cases) {
        int asked = 0;
        ProjectReadOptions o;
        if (c.ask)
            o.askPassword = [&](const std::string& title, const std::string& prompt,
                                std::string& answer) {
                ++asked;
                EXPECT_EQ(title, "Password");
                EXPECT_EQ(prompt,
                          "This project is protected by password, please input the password:");
                answer = c.answer;
                return c.answers;
            };
        TAuProject back;
        RecordingReporter r;
        MemoryStream s(b);
        EXPECT_EQ(ReadProjectStream(back, s, "f", r, o), c.ok) << c.what;
        EXPECT_EQ(asked, c.ask ? 1 : 0) << c.what;
        if (c.ok) {
            EXPECT_TRUE(r.entries.empty()) << c.what;
            EXPECT_EQ(back.ProjectPassword, "Secret");
            EXPECT_EQ(back.Pages.size(), 1u);
        } else {
            ASSERT_EQ(r.entries.size(), 1u) << c.what;
            EXPECT_EQ(r.entries[0].text, "Invalid Password.");
            EXPECT_EQ(r.entries[0].caption, "Password");
            EXPECT_TRUE(back.Pages.empty());
        }
    }

    // The password is the text before the first separator; with no
    // separator at all there is none.
    for (auto [text, want] : {std::pair<std::string, std::string>{"NoSeparators", ""},
                              {"pw\x01"
                               "a\x01"
                               "b\x01"
                               "c",
                               "pw"},
                              {"pw\x01", "pw"},
                              {"", ""}}) {
        TAuProject back;
        RecordingReporter r;
        MemoryStream s(WithHeaderText(b, text));
        ASSERT_TRUE(ReadProjectStream(back, s, "f", r)) << text;
        EXPECT_EQ(back.ProjectPassword, want) << text;
    }
}

TEST(ProjectFile, DamagedFilesFailWithTheirMessages) {
    TAuProject p;
    test::Mutator m;
    test::FillProject(p, m, 1);
    Bytes good = ProjectBytes(p);

    auto patched = [&](size_t at, int32_t v) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i)
            b[at + static_cast<size_t>(i)] =
                static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
        return b;
    };
    size_t settingsAt = 8 + HeaderLength(good) + 1;
    struct Case {
        const char* what;
        Bytes bytes;
        std::string text;
        std::string caption;
        int code;
    } cases[] = {
        {"magic", patched(0, 21385), "Invalid file format.", "File Format", 0},
        {"version", patched(4, 1),
         "The file is too new to read, maybe you need install newest version of the software.",
         "Information", 0},
        {"K zero", patched(8, 0), "", "Error", 5516},
        {"K 51", patched(8, 51), "", "Error", 5516},
        {"settings version", patched(settingsAt, 3),
         "Invalid data, maybe software version problem.", "Data Error", 0},
        {"empty file", Bytes{}, "", "Error", 105},
    };
    for (const auto& c : cases) {
        TAuProject back;
        back.ApplicationTitle = "old";
        RecordingReporter r;
        MemoryStream s(c.bytes);
        EXPECT_FALSE(ReadProjectStream(back, s, "C:\\P\\autorun.aru", r, Editor())) << c.what;
        ASSERT_EQ(r.entries.size(), 1u) << c.what;
        if (!c.text.empty()) {
            EXPECT_EQ(r.entries[0].text, c.text) << c.what;
        }
        EXPECT_EQ(r.entries[0].caption, c.caption) << c.what;
        if (c.code) {
            EXPECT_EQ(ReportedCode(r), c.code) << c.what;
        }
        if (c.code == 105) {
            EXPECT_EQ(r.entries[0].text.rfind("\"C:\\P\\autorun.aru\", ", 0), 0u);
        }
        EXPECT_EQ(back.ApplicationTitle, "AutoRun CD") << c.what; // reset
    }
}

TEST(ProjectFile, TruncationAtEveryByteFailsCleanly) {
    TAuProject p;
    ResetProject(p, true);
    p.OnStart.push_back(TAuAction{});
    p.Pages.push_back(std::make_unique<TFormData>());
    p.Pages.back()->Name = "Second";
    p.Pages.back()->Summary.Name = "Root";
    p.Pages.back()->Summary.Children.push_back({"Image1", 8, {}});
    p.Pages.back()->Cache = std::make_unique<MemoryStream>(*p.Pages[0]->Cache);
    Bytes b = ProjectBytes(p);
    // The table ends before the page records; reading the table alone must
    // fail at every cut inside it and succeed from its end on.
    TAuProject whole;
    RecordingReporter r;
    MemoryStream all(b);
    ASSERT_TRUE(ReadProjectStream(whole, all, "f", r, Editor()));
    size_t tableEnd = static_cast<size_t>(whole.Pages[0]->Position);
    for (size_t n = 0; n < tableEnd; ++n) {
        TAuProject back;
        RecordingReporter rr;
        MemoryStream s(Bytes(b.begin(), b.begin() + static_cast<long>(n)));
        EXPECT_FALSE(ReadProjectStream(back, s, "f", rr, Editor())) << n;
        EXPECT_EQ(rr.entries.size(), 1u) << n;
        EXPECT_TRUE(back.Pages.empty()) << n;
    }
    // And a page record cut at every byte fails with one report.
    const Bytes& page = p.Pages[0]->Cache->Data();
    for (size_t n = 0; n < page.size(); ++n) {
        TPageRecord rec;
        RecordingReporter rr;
        MemoryStream s(Bytes(page.begin(), page.begin() + static_cast<long>(n)));
        EXPECT_FALSE(ReadPageRecord(s, rec, rr)) << n;
        EXPECT_EQ(rr.entries.size(), 1u) << n;
    }
}

TEST(ProjectFile, ResetWithAFirstPage) {
    TAuProject p;
    p.CDLabel = "X";
    ResetProject(p, true);
    EXPECT_EQ(p.CDLabel, "CDROM");
    EXPECT_TRUE(p.Modified);
    ASSERT_EQ(p.Pages.size(), 1u);
    const TFormData& e = *p.Pages[0];
    EXPECT_EQ(e.Name, "Page1");
    ASSERT_TRUE(e.Cache);
    EXPECT_EQ(e.Summary.Kind, 0);
    EXPECT_TRUE(e.Summary.Children.empty());
    TPageRecord page;
    RecordingReporter r;
    ASSERT_TRUE(ReadProjectPage(p, 0, "", page, r));
    EXPECT_EQ(page.Caption, "Page1");
    EXPECT_EQ(page.Width, 696);
    EXPECT_EQ(page.Height, 480);
    EXPECT_EQ(page.Root->Align, 5);
    EXPECT_EQ(page.Root->As<PanelProps>().Back.Caption, "");
    EXPECT_EQ(page.Root->As<PanelProps>().BackColor, color::kBtnFace);
}

// ---------------------------------------------------------------- save

struct SavedProject {
    test::TempDir dir;
    std::string file = dir.File("autorun.aru");
    TAuProject project;
};

TEST(ProjectSave, CopiesUnchangedPagesFromTheOldFile) {
    SavedProject s;
    test::Mutator m;
    test::FillProject(s.project, m, 3);
    RecordingReporter r;
    std::vector<std::pair<std::string, int>> progress;
    ProjectWriteOptions o = Seeded(9);
    o.progress.show = [&](const std::string& t, int max) { progress.push_back({t, max}); };
    o.progress.step = [&](int pos) { progress.push_back({"step", pos}); };
    o.progress.close = [&] { progress.push_back({"close", 0}); };
    ASSERT_TRUE(SaveProjectFile(s.project, s.file, r, o));
    EXPECT_EQ(progress,
              (std::vector<std::pair<std::string, int>>{
                  {"Save Project", 3}, {"step", 0}, {"step", 1}, {"step", 2}, {"close", 0}}));
    EXPECT_FALSE(s.project.Modified);
    EXPECT_FALSE(std::filesystem::exists(SaveTempPath(s.file)));

    std::vector<Bytes> pages;
    for (auto& e : s.project.Pages)
        pages.push_back(e->Cache->Data());
    Bytes first = test::ReadAll(s.file);
    for (size_t i = 0; i < pages.size(); ++i) {
        const TFormData& e = *s.project.Pages[i];
        EXPECT_EQ(Bytes(first.begin() + e.Position, first.begin() + e.Position + e.Length),
                  pages[i]);
    }

    // Reopen as the editor does and save again with every page uncached:
    // the records come from the old file; only the header differs.
    TAuProject again;
    ASSERT_TRUE(ReadProjectFile(again, s.file, r, Editor()));
    ReleasePageCaches(s.project);
    EXPECT_EQ(DumpProject(again), DumpProject(s.project));
    ASSERT_TRUE(SaveProjectFile(again, s.file, r, Seeded(10)));
    Bytes second = test::ReadAll(s.file);
    size_t h1 = 8 + HeaderLength(first), h2 = 8 + HeaderLength(second);
    EXPECT_NE(Bytes(first.begin(), first.begin() + static_cast<long>(h1)),
              Bytes(second.begin(), second.begin() + static_cast<long>(h2)));
    for (size_t i = 0; i < pages.size(); ++i) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(LoadPageBytes(again, static_cast<int>(i), s.file, bytes, r));
        EXPECT_EQ(bytes, pages[i]);
    }
    // Everything after the header moves by the header's change in length;
    // page positions are written with it, so compare the pages' bytes.
    EXPECT_EQ(second.size() - h2, first.size() - h1);
    EXPECT_TRUE(r.entries.empty());
}

TEST(ProjectSave, EntryBeyondTheOldFileFailsAndChangesNothing) {
    SavedProject s;
    test::Mutator m;
    test::FillProject(s.project, m, 2);
    RecordingReporter r;
    ASSERT_TRUE(SaveProjectFile(s.project, s.file, r, Seeded(1)));
    ASSERT_TRUE(ReadProjectFile(s.project, s.file, r, Editor()));
    Bytes before = test::ReadAll(s.file);

    TFormData& second = *s.project.Pages[1];
    second.Position = static_cast<int32_t>(before.size()) - 10;
    int32_t firstPos = s.project.Pages[0]->Position;
    s.project.Modified = true;
    EXPECT_FALSE(SaveProjectFile(s.project, s.file, r, Seeded(2)));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(ReportedCode(r), 5521);
    EXPECT_EQ(test::ReadAll(s.file), before);
    EXPECT_FALSE(std::filesystem::exists(SaveTempPath(s.file)));
    EXPECT_EQ(s.project.Pages[0]->Position, firstPos);
    EXPECT_EQ(second.Position, static_cast<int32_t>(before.size()) - 10);
    EXPECT_TRUE(s.project.Modified);
}

TEST(ProjectSave, PageWithNeitherCacheNorOldFile) {
    SavedProject s;
    ResetProject(s.project, true);
    s.project.Pages.push_back(std::make_unique<TFormData>());
    RecordingReporter r;
    EXPECT_FALSE(SaveProjectFile(s.project, s.file, r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text, "System Error, \"OrgStream\" Error!");
    EXPECT_EQ(r.entries[0].caption, "Error");
    EXPECT_FALSE(std::filesystem::exists(s.file));
}

TEST(ProjectSave, FailedReplaceKeepsTheTableOfTheFileOnDisk) {
    SavedProject s;
    test::Mutator m;
    test::FillProject(s.project, m, 1);
    // The project file's name is taken by a folder that cannot be replaced.
    std::filesystem::create_directory(s.file);
    test::WriteAll(s.file + "/keep", {1});
    s.project.Pages[0]->Position = 1234;
    RecordingReporter r;
    EXPECT_FALSE(SaveProjectFile(s.project, s.file, r, Seeded(3)));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(ReportedCode(r), 104);
    EXPECT_EQ(s.project.Pages[0]->Position, 1234);
    EXPECT_FALSE(std::filesystem::exists(SaveTempPath(s.file)));
}

TEST(ProjectPages, ReadFromFileOrCache) {
    SavedProject s;
    test::Mutator m;
    test::FillProject(s.project, m, 2);
    RecordingReporter r;
    ASSERT_TRUE(SaveProjectFile(s.project, s.file, r, Seeded(4)));
    ReleasePageCaches(s.project);
    TPageRecord page;
    ASSERT_TRUE(ReadProjectPage(s.project, 1, s.file, page, r));
    EXPECT_EQ(page.Caption, "Page 2");

    // A cache supersedes the file.
    page.Caption = "Edited";
    ASSERT_TRUE(StorePageInCache(*s.project.Pages[1], page, r));
    TPageRecord back;
    ASSERT_TRUE(ReadProjectPage(s.project, 1, s.file, back, r));
    EXPECT_EQ(back.Caption, "Edited");
    EXPECT_EQ(s.project.Pages[1]->Summary, MakeObjectInfo(*page.Root));

    // An entry outside the file, or a missing file: code 102 with its name.
    s.project.Pages[0]->Length = 1 << 30;
    EXPECT_FALSE(ReadProjectPage(s.project, 0, s.file, back, r));
    EXPECT_EQ(ReportedCode(r), 102);
    EXPECT_EQ(r.entries[0].text.rfind("\"" + s.file + "\", ", 0), 0u);
}

TEST(ProjectPages, RootMustBeAPanel) {
    TPageRecord page;
    page.Root = std::make_unique<TAuObject>(TAuObjectKind::Image);
    MemoryStream s;
    RecordingReporter r;
    EXPECT_FALSE(WritePageRecord(s, page, r));
    EXPECT_EQ(ReportedCode(r), 5525);

    // Hand-make such a record from a valid page and an Image record.
    TPageRecord valid;
    MemoryStream v;
    ASSERT_TRUE(WritePageRecord(v, valid, r));
    MemoryStream root;
    ASSERT_TRUE(WriteObjectRecord(root, *valid.Root, r));
    Bytes b = v.Data();
    b.resize(b.size() - root.Data().size());
    MemoryStream image;
    ASSERT_TRUE(WriteObjectRecord(image, TAuObject(TAuObjectKind::Image), r));
    b.insert(b.end(), image.Data().begin(), image.Data().end());
    MemoryStream in(b);
    RecordingReporter r2;
    EXPECT_FALSE(ReadPageRecord(in, valid, r2));
    ASSERT_EQ(r2.entries.size(), 1u);
    EXPECT_EQ(r2.entries[0].text, "Unknown object type, maybe file version has problem.");
}

} // namespace
} // namespace orv::model
