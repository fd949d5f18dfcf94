#include "win/controls/control.h"

#include <algorithm>
#include <numeric>

namespace orv::win {

Align AlignFromByte(uint8_t value) {
    return value <= static_cast<uint8_t>(Align::Client) ? static_cast<Align>(value) : Align::None;
}

RECT AlignItems(const RECT& area, std::vector<AlignItem>& items) {
    RECT rest = area;
    static constexpr Align kOrder[] = {Align::Top, Align::Bottom, Align::Left, Align::Right,
                                       Align::Client};
    std::vector<size_t> group;
    for (Align a : kOrder) {
        group.clear();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].visible && items[i].align == a)
                group.push_back(i);
        // Nearest to its edge first; ties keep child order.
        auto key = [&](size_t i) -> long long {
            const RECT& b = items[i].bounds;
            switch (a) {
            case Align::Top:
                return b.top;
            case Align::Bottom:
                return -static_cast<long long>(b.bottom);
            case Align::Left:
                return b.left;
            case Align::Right:
                return -static_cast<long long>(b.right);
            default:
                return 0;
            }
        };
        std::stable_sort(group.begin(), group.end(),
                         [&](size_t x, size_t y) { return key(x) < key(y); });
        for (size_t i : group) {
            RECT& b = items[i].bounds;
            const int w = b.right - b.left, h = b.bottom - b.top;
            switch (a) {
            case Align::Top:
                b = RECT{rest.left, rest.top, rest.right, rest.top + h};
                rest.top += h;
                break;
            case Align::Bottom:
                b = RECT{rest.left, rest.bottom - h, rest.right, rest.bottom};
                rest.bottom -= h;
                break;
            case Align::Left:
                b = RECT{rest.left, rest.top, rest.left + w, rest.bottom};
                rest.left += w;
                break;
            case Align::Right:
                b = RECT{rest.right - w, rest.top, rest.right, rest.bottom};
                rest.right -= w;
                break;
            default:
                b = rest;
                break;
            }
        }
    }
    return rest;
}

} // namespace orv::win
