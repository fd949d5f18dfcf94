#include "player/placement.h"

#include <algorithm>

namespace orv {

Placement PlaceWindow(const PlaceRect& a, int position, int32_t m, int32_t designedLeft,
                      int32_t designedTop, const Placement& cur) {
    Placement p = cur;
    const int32_t w = cur.width, h = cur.height;
    auto centreX = [&] { return a.left + (a.Width() - w) / 2; };
    auto centreY = [&] { return a.top + (a.Height() - h) / 2; };
    const int32_t leftEdge = a.left + m, topEdge = a.top + m;
    const int32_t rightEdge = a.right - w - m, bottomEdge = a.bottom - h - m;
    switch (position) {
    case 0: // Designed
        p.left = a.left + m + designedLeft;
        p.top = a.top + m + designedTop;
        break;
    case 1: // Center
        p.left = centreX();
        p.top = centreY();
        break;
    case 2: // LeftCenter
        p.left = leftEdge;
        p.top = centreY();
        break;
    case 3: // TopCenter
        p.left = centreX();
        p.top = topEdge;
        break;
    case 4: // RightCenter
        p.left = rightEdge;
        p.top = centreY();
        break;
    case 5: // BottomCenter
        p.left = centreX();
        p.top = bottomEdge;
        break;
    case 6: // Left
        p.left = leftEdge;
        p.top = topEdge;
        p.height = a.Height() - 2 * m;
        break;
    case 7: // Top
        p.left = leftEdge;
        p.top = topEdge;
        p.width = a.Width() - 2 * m;
        break;
    case 8: // Right
        p.left = rightEdge;
        p.top = topEdge;
        p.height = a.Height() - 2 * m;
        break;
    case 9: // Bottom
        p.left = leftEdge;
        p.top = bottomEdge;
        p.width = a.Width() - 2 * m;
        break;
    case 10: // LeftTopCorner
        p.left = leftEdge;
        p.top = topEdge;
        break;
    case 11: // TopRightCorner
        p.left = rightEdge;
        p.top = topEdge;
        break;
    case 12: // RightBottomCorner
        p.left = rightEdge;
        p.top = bottomEdge;
        break;
    case 13: // BottomLeftCorner
        p.left = leftEdge;
        p.top = bottomEdge;
        break;
    default:
        break;
    }
    // A margin wider than the area would give a negative size.
    p.width = std::max(p.width, 1);
    p.height = std::max(p.height, 1);
    return p;
}

int AlphaFromPercent(int percent) {
    return std::clamp(percent, 0, 100) * 255 / 100;
}

std::vector<int> FadeInSteps(int stepPercent, int target) {
    int step = std::max(1, AlphaFromPercent(stepPercent));
    target = std::clamp(target, 0, 255);
    std::vector<int> v;
    for (int a = step; a < target; a += step)
        v.push_back(a);
    v.push_back(target);
    return v;
}

std::vector<int> FadeOutSteps(int stepPercent, int start) {
    int step = std::max(1, AlphaFromPercent(stepPercent));
    std::vector<int> v;
    for (int a = std::clamp(start, 0, 255) - step; a > 0; a -= step)
        v.push_back(a);
    v.push_back(0);
    return v;
}

bool IsWindowlessKind(model::TAuObjectKind kind) {
    using K = model::TAuObjectKind;
    switch (kind) {
    case K::Splitter:
    case K::ImageButton:
    case K::Image:
    case K::SimpleText:
    case K::ScrollText:
    case K::Link:
    case K::Label:
    case K::Text:
    case K::Shape:
    case K::Balloon:
    case K::Note:
    case K::Bevel:
    case K::FadeButton:
        return true;
    default:
        return false;
    }
}

void ReorderChild(model::TAuObject& parent, int from, int to) {
    int n = static_cast<int>(parent.ChildCount());
    if (from < 0 || to < 0 || from >= n || to >= n || from == to)
        return;
    parent.MoveChild(static_cast<size_t>(from), static_cast<size_t>(to));
    // Stable partition by repeated moves: windowless kinds first.
    std::vector<int> windowless, windowed;
    for (int i = 0; i < n; ++i)
        (IsWindowlessKind(parent.Child(static_cast<size_t>(i)).Kind()) ? windowless : windowed)
            .push_back(i);
    std::vector<int> order = windowless;
    order.insert(order.end(), windowed.begin(), windowed.end());
    std::vector<std::unique_ptr<model::TAuObject>> taken;
    for (int i = n - 1; i >= 0; --i)
        taken.push_back(parent.TakeChild(static_cast<size_t>(i)));
    std::reverse(taken.begin(), taken.end());
    for (int idx : order)
        parent.AddChild(std::move(taken[static_cast<size_t>(idx)]));
}

} // namespace orv
