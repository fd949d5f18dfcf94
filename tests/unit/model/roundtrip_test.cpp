#include "fixtures.h"
#include "model/dump.h"
#include "model/project.h"

#include <gtest/gtest.h>

namespace orv::model {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(RoundTrip, ProjectWithEveryKindActionMenuAndPicture) {
    test::TempDir dir;
    std::string file = dir.File("autorun.aru");
    test::Mutator m;
    TAuProject p;
    test::FillProject(p, m, 2);
    p.ProjectPassword = "pw";

    // What the page holds, to be sure the fixture covers what it claims.
    TPageRecord original;
    RecordingReporter r;
    ASSERT_TRUE(ReadProjectPage(p, 0, "", original, r));
    std::vector<int> kinds(kKindCount, 0);
    std::function<void(const TAuObject&)> count = [&](const TAuObject& o) {
        ++kinds[static_cast<size_t>(o.Kind())];
        for (const auto& c : o.Children())
            count(*c);
    };
    count(*original.Root);
    for (int k = 0; k < kKindCount; ++k)
        EXPECT_GT(kinds[static_cast<size_t>(k)], 0) << KindName(k);
    std::vector<int> actionKinds(kActionKindCount, 0);
    for (const TAuAction& a : original.OnShow)
        ++actionKinds[a.Kind];
    for (int k = 0; k < kActionKindCount; ++k)
        EXPECT_EQ(actionKinds[static_cast<size_t>(k)], 1)
            << ActionKindName(static_cast<uint8_t>(k));
    ASSERT_FALSE(original.MenuBarItems.empty());
    EXPECT_FALSE(original.MenuBarItems[0].Items[0].Items.empty());
    std::string dump = DumpPage(original);
    for (const char* cls :
         {"TBitmap, ", "TIcon, ", "TMetafile, ", "TJPEGImage, ", "TGIFImage, ", "TPNGObject, "})
        EXPECT_NE(dump.find(cls), std::string::npos) << cls;

    ASSERT_TRUE(SaveProjectFile(p, file, r));
    Bytes stored = test::ReadAll(file);

    TAuProject back;
    ASSERT_TRUE(ReadProjectFile(back, file, r, {true, nullptr}));
    EXPECT_EQ(back.ProjectPassword, "pw");
    EXPECT_EQ(back.OnStart, p.OnStart);
    EXPECT_EQ(back.OnExit, p.OnExit);
    EXPECT_EQ(back.ReservedList, p.ReservedList);
    EXPECT_EQ(back.ReservedDate, p.ReservedDate);
    EXPECT_EQ(back.DataFileName, "data.aru");
    ASSERT_EQ(back.Pages.size(), p.Pages.size());
    for (size_t i = 0; i < p.Pages.size(); ++i) {
        TPageRecord want, got;
        ASSERT_TRUE(ReadProjectPage(p, static_cast<int>(i), file, want, r));
        ASSERT_TRUE(ReadProjectPage(back, static_cast<int>(i), file, got, r));
        EXPECT_TRUE(got.Root->SameContent(*want.Root)) << i;
        EXPECT_EQ(DumpPage(got), DumpPage(want)) << i;
        EXPECT_EQ(back.Pages[i]->Summary, MakeObjectInfo(*got.Root));

        // Written back from the model, the record is the same bytes.
        MemoryStream again;
        ASSERT_TRUE(WritePageRecord(again, got, r));
        Bytes onDisk(stored.begin() + back.Pages[i]->Position,
                     stored.begin() + back.Pages[i]->Position + back.Pages[i]->Length);
        EXPECT_EQ(again.Data(), onDisk) << i;
    }

    // The writer reproduces the whole file when it reuses the header.
    for (size_t i = 0; i < back.Pages.size(); ++i) {
        TPageRecord page;
        ASSERT_TRUE(ReadProjectPage(back, static_cast<int>(i), file, page, r));
        back.Pages[i]->Cache = std::make_unique<MemoryStream>();
        ASSERT_TRUE(WritePageRecord(*back.Pages[i]->Cache, page, r));
    }
    ProjectWriteOptions same;
    same.reuseHeader = true;
    std::string copy = dir.File("copy.aru");
    ASSERT_TRUE(WriteProjectFile(back, copy, "", r, same));
    EXPECT_EQ(test::ReadAll(copy), stored);
    EXPECT_TRUE(r.entries.empty());
}

TEST(RoundTrip, DumpNamesKindsPathsAndActions) {
    test::Mutator m;
    auto page = test::RichPage(m);
    std::string text = DumpPage(*page);
    EXPECT_NE(text.find("Object \"Panel1 - Image1\": Image"), std::string::npos);
    EXPECT_NE(text.find("Object \"TabNotebook1 - TabSheet2\": TabSheet"), std::string::npos);
    EXPECT_NE(text.find("Kind: 47 UnselectObjectOrItem"), std::string::npos);
    EXPECT_NE(text.find("Hint.Name: \"MenuItem"), std::string::npos);
    EXPECT_NE(text.find("TPNGObject, "), std::string::npos);
    // Stable: the same content gives the same text.
    test::Mutator m2;
    EXPECT_EQ(DumpPage(*test::RichPage(m2)), text);
}

} // namespace
} // namespace orv::model
