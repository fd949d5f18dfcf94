#include "player/placement.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using model::TAuObject;
using model::TAuObjectKind;

TEST(PlaceWindow, EveryPositionCode) {
    // A work area whose top is below the screen top, a 200 x 100 window.
    const PlaceRect a{10, 40, 810, 640};
    const Placement cur{5, 6, 200, 100};
    const int m = 7;
    struct Case {
        int position;
        Placement want;
    } cases[] = {
        {0, {10 + 7 + 30, 40 + 7 + 20, 200, 100}},
        {1, {10 + 300, 40 + 250, 200, 100}},
        {2, {17, 290, 200, 100}},
        {3, {310, 47, 200, 100}},
        {4, {810 - 200 - 7, 290, 200, 100}},
        {5, {310, 640 - 100 - 7, 200, 100}},
        {6, {17, 47, 200, 600 - 14}},
        {7, {17, 47, 800 - 14, 100}},
        {8, {603, 47, 200, 586}},
        {9, {17, 533, 786, 100}},
        {10, {17, 47, 200, 100}},
        {11, {603, 47, 200, 100}},
        {12, {603, 533, 200, 100}},
        {13, {17, 533, 200, 100}},
        {14, {5, 6, 200, 100}},
        {-1, {5, 6, 200, 100}},
    };
    for (const auto& c : cases) {
        Placement p = PlaceWindow(a, c.position, m, 30, 20, cur);
        EXPECT_EQ(p.left, c.want.left) << c.position;
        EXPECT_EQ(p.top, c.want.top) << c.position;
        EXPECT_EQ(p.width, c.want.width) << c.position;
        EXPECT_EQ(p.height, c.want.height) << c.position;
    }
}

TEST(PlaceWindow, CentringTruncatesOddSpaceTowardZero) {
    Placement p = PlaceWindow({0, 0, 101, 51}, 1, 0, 0, 0, {0, 0, 200, 100});
    EXPECT_EQ(p.left, -49); // (101 - 200) / 2 truncates toward zero
    EXPECT_EQ(p.top, -24);
}

TEST(Fades, StepsReachTheirEndExactly) {
    EXPECT_EQ(FadeInSteps(10, 255),
              (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}));
    EXPECT_EQ(FadeInSteps(50, 100), (std::vector<int>{100}));
    EXPECT_EQ(FadeOutSteps(40, 255), (std::vector<int>{153, 51, 0}));
    // A step of 0 % still ends: one alpha unit a step.
    auto out = FadeOutSteps(0, 255);
    EXPECT_EQ(out.size(), 255u);
    EXPECT_EQ(out.back(), 0);
    EXPECT_EQ(AlphaFromPercent(50), 127);
    EXPECT_EQ(AlphaFromPercent(100), 255);
    EXPECT_EQ(AlphaFromPercent(250), 255);
}

TEST(ReorderChild, MovesThenPutsWindowlessKindsFirst) {
    TAuObject parent(TAuObjectKind::Panel);
    const TAuObjectKind kinds[] = {TAuObjectKind::Image, TAuObjectKind::Button,
                                   TAuObjectKind::Label, TAuObjectKind::Panel,
                                   TAuObjectKind::Bevel};
    const char* names[] = {"Image1", "Button1", "Label1", "Panel1", "Bevel1"};
    for (int i = 0; i < 5; ++i) {
        auto c = std::make_unique<TAuObject>(kinds[i]);
        c->Name = names[i];
        parent.AddChild(std::move(c));
    }
    auto order = [&] {
        std::string s;
        for (size_t i = 0; i < parent.ChildCount(); ++i)
            s += parent.Child(i).Name + " ";
        return s;
    };
    ReorderChild(parent, 4, 0); // Bevel1 to the front
    EXPECT_EQ(order(), "Bevel1 Image1 Label1 Button1 Panel1 ");
    ReorderChild(parent, 4, 3); // Panel1 before Button1
    EXPECT_EQ(order(), "Bevel1 Image1 Label1 Panel1 Button1 ");
    ReorderChild(parent, 0, 4); // a windowless kind cannot go behind windows
    EXPECT_EQ(order(), "Image1 Label1 Bevel1 Panel1 Button1 ");
    ReorderChild(parent, 2, 2);
    ReorderChild(parent, -1, 2);
    ReorderChild(parent, 1, 5);
    EXPECT_EQ(order(), "Image1 Label1 Bevel1 Panel1 Button1 ");
}

} // namespace
} // namespace orv
