#pragma once
#include <algorithm>
#include <cstdint>

namespace UI {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle in pixels with inclusive edges: width = right - left + 1 and
// height = bottom - top + 1. An empty rectangle has right < left or bottom < top.
struct Rect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    static Rect fromSize(int x, int y, int width, int height) { return {x, y, x + width - 1, y + height - 1}; }

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool empty() const { return right < left || bottom < top; }
    bool contains(Point p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
    Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect intersect(const Rect& o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
    Rect unite(const Rect& o) const
    {
        if (empty())
            return o;
        if (o.empty())
            return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    bool operator==(const Rect&) const = default;
};

} // namespace UI
