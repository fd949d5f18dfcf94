// The demo menu as the player will read it: every page parses, holds the
// objects the demo promises, every picture decodes, and every page name and
// file its actions name exists in the folder.
#include "base/fsys.h"
#include "demo.h"
#include "model/page.h"
#include "model/project.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace orv::demo {
namespace {

using namespace orv::model;

// Builds the demo into a fresh folder and reads its project and pages back.
class DemoFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteDemoFolder(dir.path(), reporter));
        ASSERT_TRUE(reporter.entries.empty()) << reporter.entries[0].text;
        ProjectReadOptions options;
        options.readSummaries = true;
        ASSERT_TRUE(ReadProjectFile(project, projectFile(), reporter, options));
        for (int i = 0; i < static_cast<int>(project.Pages.size()); ++i) {
            auto page = std::make_unique<TPageRecord>();
            ASSERT_TRUE(ReadProjectPage(project, i, projectFile(), *page, reporter))
                << "page " << i;
            pages.push_back(std::move(page));
        }
        ASSERT_TRUE(reporter.entries.empty()) << reporter.entries[0].text;
    }

    std::string projectFile() const { return dir / kProjectFileName; }

    // Calls f for every object of every page (roots included).
    void ForEachObject(const std::function<void(int, const TAuObject&)>& f) const {
        std::function<void(int, const TAuObject&)> walk = [&](int page, const TAuObject& o) {
            f(page, o);
            for (const auto& c : o.Children())
                walk(page, *c);
        };
        for (size_t i = 0; i < pages.size(); ++i)
            walk(static_cast<int>(i), *pages[i]->Root);
    }

    // Every action list of the project: objects' events, pages' OnShow and
    // OnClose, menu items (from their hint texts), nested lists included.
    std::vector<TAuAction> AllActions() {
        std::vector<TAuAction> all;
        std::function<void(const TAuActions&)> add = [&](const TAuActions& list) {
            for (const TAuAction& a : list) {
                all.push_back(a);
                add(a.ThenActions);
                add(a.ElseActions);
            }
        };
        std::function<void(const std::vector<TMenuItem>&)> menu =
            [&](const std::vector<TMenuItem>& items) {
                for (const TMenuItem& m : items) {
                    TAuActions list;
                    EXPECT_TRUE(TextToActionList(m.Hint, list, reporter)) << m.Caption;
                    add(list);
                    menu(m.Items);
                }
            };
        add(project.OnStart);
        add(project.OnExit);
        for (const auto& p : pages) {
            add(p->OnShow);
            add(p->OnClose);
            menu(p->MenuBarItems);
        }
        ForEachObject([&](int, const TAuObject& o) {
            for (int i = 0; i < 6; ++i)
                add(o.EventList(i));
            menu(o.PopupMenu);
        });
        return all;
    }

    test::TempDir dir;
    RecordingReporter reporter;
    TAuProject project;
    std::vector<std::unique_ptr<TPageRecord>> pages;
};

TEST_F(DemoFolder, PagesInOrderWithTheirFrames) {
    const char* names[] = {kWelcomePage, kProductsPage, kGradientsPage,
                           kAboutPage,   kLoginPage,    kMembersPage};
    ASSERT_EQ(project.Pages.size(), std::size(names));
    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(project.Pages[i]->Name, names[i]);
        const TPageRecord& p = *pages[i];
        EXPECT_EQ(p.Root->Kind(), TAuObjectKind::Panel);
        EXPECT_EQ(p.Root->Name, "PagePanel");
        EXPECT_FALSE(p.PageIcon.Empty());
        EXPECT_GT(p.Root->ChildCount(), 0u);
        // The summary stored in the project file matches the page's tree.
        EXPECT_EQ(project.Pages[i]->Summary, MakeObjectInfo(*p.Root));
    }
    // The main pages share one frame size (a page switch keeps the frame),
    // a menu bar with sub-items and a status bar naming the page; the
    // dialog pages have neither.
    for (int i : {0, 1, 2, 5}) {
        SCOPED_TRACE(names[i]);
        const TPageRecord& p = *pages[i];
        EXPECT_EQ(p.Caption, std::string("Orvexa Demo - ") + names[i]);
        EXPECT_EQ(p.Width, pages[0]->Width);
        EXPECT_EQ(p.Height, pages[0]->Height);
        ASSERT_EQ(p.MenuBarItems.size(), 2u);
        EXPECT_FALSE(p.MenuBarItems[0].Items.empty());
        EXPECT_FALSE(p.MenuBarItems[1].Items.empty());
        ASSERT_EQ(p.StatusBarPanels.size(), 3u);
        EXPECT_EQ(p.StatusBarPanels[2].Text, names[i]);
    }
    for (int i : {3, 4}) {
        SCOPED_TRACE(names[i]);
        EXPECT_TRUE(pages[i]->MenuBarItems.empty());
        EXPECT_TRUE(pages[i]->StatusBarPanels.empty());
        EXPECT_EQ(pages[i]->BorderStyle, 3); // dialog
    }
}

TEST_F(DemoFolder, ObjectsHaveTheirNamesAndKinds) {
    struct Expect {
        int page;
        const char* path;
        TAuObjectKind kind;
    } cases[] = {
        {0, "Banner", TAuObjectKind::Panel},
        {0, "Tiles", TAuObjectKind::Panel},
        {0, "GoProducts", TAuObjectKind::Panel},
        {0, "Logo", TAuObjectKind::Image},
        {0, "Tagline", TAuObjectKind::Label},
        {0, "Rule", TAuObjectKind::Bevel},
        {0, "ExitButton", TAuObjectKind::Button},
        {1, "Catalog", TAuObjectKind::TabNotebook},
        {1, "Catalog - Overview", TAuObjectKind::TabSheet},
        {1, "Catalog - Gallery", TAuObjectKind::TabSheet},
        {1, "Catalog - Layout", TAuObjectKind::TabSheet},
        {1, "Catalog - Overview - Highlights", TAuObjectKind::GroupBox},
        {1, "Catalog - Overview - Highlights - Feature2", TAuObjectKind::Panel},
        {1, "Catalog - Overview - Editions - EditionList", TAuObjectKind::ListBox},
        {1, "Catalog - Gallery - GalleryScroll", TAuObjectKind::ScrollBox},
        {1, "Catalog - Gallery - GalleryScroll - Poster", TAuObjectKind::Panel},
        {1, "Catalog - Layout - PaneSplitter", TAuObjectKind::Splitter},
        {1, "Catalog - Layout - RightPane", TAuObjectKind::Panel},
        {2, "Gradient8", TAuObjectKind::Panel},
        {2, "PictureCrop", TAuObjectKind::Panel},
        {3, "AboutText", TAuObjectKind::Panel},
        {3, "CloseAbout", TAuObjectKind::Panel},
        {4, "Account", TAuObjectKind::UserPassword},
        {4, "Remember", TAuObjectKind::CheckBox},
        {4, "LoginButton", TAuObjectKind::Button},
        {5, "Newsletter", TAuObjectKind::Panel},
    };
    for (const Expect& c : cases) {
        SCOPED_TRACE(c.path);
        TAuObject* o = FindObject(*pages[c.page]->Root, c.path);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->Kind(), c.kind);
    }
    // Each sheet carries its own icon.
    TAuObject& book = *FindObject(*pages[1]->Root, "Catalog");
    for (const auto& sheet : book.Children())
        EXPECT_EQ(sheet->As<TabSheetProps>().Icon.Class, PictureClass::Png) << sheet->Name;
}

TEST_F(DemoFolder, PanelsShowEveryGradientBorderAndPictureStyle) {
    std::set<int> gradients, borders, borderStyles, pictureStyles;
    ForEachObject([&](int, const TAuObject& o) {
        if (const PanelProps* p = o.If<PanelProps>()) {
            gradients.insert(p->Back.GradientStyle);
            if (p->Back.Border != 0)
                borders.insert(p->Back.Border);
            borderStyles.insert(p->Back.BorderStyle);
            if (!p->Back.BackImage.Empty())
                pictureStyles.insert(p->Back.BackImageStyle);
        }
    });
    EXPECT_EQ(gradients, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(borders, (std::set<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(borderStyles, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(pictureStyles, (std::set<int>{0, 1, 2, 3}));
}

TEST_F(DemoFolder, EveryStoredPictureDecodes) {
    std::vector<std::pair<std::string, const TPicture*>> pictures;
    for (const auto& p : pages)
        pictures.push_back({p->Caption + " icon", &p->PageIcon});
    ForEachObject([&](int, const TAuObject& o) {
        if (const PanelProps* p = o.If<PanelProps>())
            pictures.push_back({o.Name, &p->Back.BackImage});
        if (const TabSheetProps* p = o.If<TabSheetProps>())
            pictures.push_back({o.Name, &p->Icon});
        if (const ImageProps* p = o.If<ImageProps>())
            pictures.push_back({o.Name, &p->Image});
    });
    int decoded = 0;
    for (const auto& [name, pic] : pictures) {
        if (pic->Empty())
            continue;
        SCOPED_TRACE(name);
        gfx::Image img;
        std::string error;
        EXPECT_TRUE(gfx::DecodePicture(PictureFormatOf(pic->Class), pic->Bytes.data(),
                                       pic->Bytes.size(), &img, &error))
            << error;
        EXPECT_FALSE(img.Empty());
        ++decoded;
    }
    // Page icons, tab icons, images and panel backgrounds.
    EXPECT_GE(decoded, 15);
}

TEST_F(DemoFolder, ActionsNameExistingPagesAndFiles) {
    std::set<std::string> pageNames;
    for (const auto& p : project.Pages)
        pageNames.insert(p->Name);
    std::map<TAuActionKind, int> seen;
    for (const TAuAction& a : AllActions()) {
        auto kind = static_cast<TAuActionKind>(a.Kind);
        ++seen[kind];
        switch (kind) {
        case TAuActionKind::GoToPage:
        case TAuActionKind::ShowSubPage:
        case TAuActionKind::ShowLoginPage:
            EXPECT_TRUE(pageNames.count(a.Param1)) << "no page \"" << a.Param1 << "\"";
            break;
        case TAuActionKind::PlaySound:
        case TAuActionKind::OpenRunFile: {
            ASSERT_EQ(a.Param1.rfind('\\', 0), 0u) << a.Param1;
            std::string path = dir.path();
            std::string rest = a.Param1.substr(1);
            for (size_t at; (at = rest.find('\\')) != std::string::npos; rest = rest.substr(at + 1))
                path = fsys::Join(path, rest.substr(0, at));
            EXPECT_TRUE(fsys::FileExists(fsys::Join(path, rest))) << a.Param1;
            break;
        }
        case TAuActionKind::SetObjectBackColor: {
            bool found = false;
            for (const auto& p : pages)
                found = found || FindObject(*p->Root, a.Param2) != nullptr;
            EXPECT_TRUE(found) << a.Param2;
            break;
        }
        default:
            break;
        }
    }
    for (TAuActionKind k :
         {TAuActionKind::GoToPage, TAuActionKind::ShowSubPage, TAuActionKind::Exit,
          TAuActionKind::ClosePage, TAuActionKind::PlaySound, TAuActionKind::OpenRunFile,
          TAuActionKind::ShowLoginPage, TAuActionKind::SubmitLoginPage, TAuActionKind::ShowMessage,
          TAuActionKind::IfThenElse})
        EXPECT_GT(seen[k], 0) << ActionKindName(static_cast<uint8_t>(k));
    // Every page but the first is reachable by a navigation action.
    std::set<std::string> targets;
    for (const TAuAction& a : AllActions())
        if (a.Kind == static_cast<uint8_t>(TAuActionKind::GoToPage) ||
            a.Kind == static_cast<uint8_t>(TAuActionKind::ShowSubPage) ||
            a.Kind == static_cast<uint8_t>(TAuActionKind::ShowLoginPage))
            targets.insert(a.Param1);
    for (size_t i = 1; i < project.Pages.size(); ++i)
        EXPECT_TRUE(targets.count(project.Pages[i]->Name)) << project.Pages[i]->Name;
}

// The login page checks the demo's accounts, allows two retries and needs
// the terms accepted; logging in from the first page leads to the members'
// page and a failed login says so.
TEST_F(DemoFolder, LoginPageChecksAccountsAndBranches) {
    const UserPasswordProps& account =
        FindObject(*pages[4]->Root, "Account")->As<UserPasswordProps>();
    EXPECT_EQ(account.UserList, kDemoAccounts);
    EXPECT_EQ(account.AllowRetry, 2);
    EXPECT_TRUE(FindObject(*pages[4]->Root, "Remember")->As<CheckBoxProps>().NeedCheck);

    const TAuActions& onClick = FindObject(*pages[0]->Root, "GoMembers")->OnClick;
    ASSERT_EQ(onClick.size(), 1u);
    EXPECT_EQ(onClick[0].Kind, static_cast<uint8_t>(TAuActionKind::ShowLoginPage));
    EXPECT_EQ(onClick[0].Param1, kLoginPage);
    ASSERT_EQ(onClick[0].ThenActions.size(), 1u);
    EXPECT_EQ(onClick[0].ThenActions[0].Param1, kMembersPage);
    ASSERT_EQ(onClick[0].ElseActions.size(), 1u);
    EXPECT_EQ(onClick[0].ElseActions[0].Kind, static_cast<uint8_t>(TAuActionKind::ShowMessage));
}

TEST(DemoBuild, SameBytesOnEveryRun) {
    test::TempDir a, b;
    RecordingReporter r;
    ASSERT_TRUE(WriteDemoFolder(a.path(), r));
    ASSERT_TRUE(WriteDemoFolder(b.path(), r));
    std::vector<std::string> files = {kProjectFileName};
    for (const MediaFile& m : DemoMedia()) {
        std::string name = m.storedName.substr(1);
        for (char& c : name)
            if (c == '\\')
                c = fsys::kSep;
        files.push_back(name);
    }
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        std::string x = test::ReadFile(a / f), y = test::ReadFile(b / f);
        EXPECT_FALSE(x.empty());
        EXPECT_EQ(x, y);
    }
}

TEST(DemoBuild, WritesIntoNewNestedFolderAndOverAnOldDemo) {
    test::TempDir dir;
    RecordingReporter r;
    std::string nested = fsys::Join(fsys::Join(dir.path(), "out"), "demo");
    ASSERT_TRUE(WriteDemoFolder(nested, r));
    ASSERT_TRUE(test::WriteFile(fsys::Join(nested, "autorun.exe"), "launcher"));
    ASSERT_TRUE(WriteDemoFolder(nested, r));
    EXPECT_TRUE(r.entries.empty());
    // Files the demo does not own are left alone.
    EXPECT_EQ(test::ReadFile(fsys::Join(nested, "autorun.exe")), "launcher");
    TAuProject project;
    ASSERT_TRUE(ReadProjectFile(project, fsys::Join(nested, kProjectFileName), r));
    EXPECT_EQ(project.Pages.size(), 6u);
}

TEST(DemoBuild, ReportsAFolderThatCannotBeMade) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteFile(dir / "file", "x"));
    RecordingReporter r;
    EXPECT_FALSE(WriteDemoFolder(fsys::Join(dir / "file", "demo"), r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_NE(r.entries[0].text.find("Cannot create the folder"), std::string::npos);
}

} // namespace
} // namespace orv::demo
