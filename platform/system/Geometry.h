#pragma once
// Points, sizes and rectangles in whole units, as the drawing surface, the
// card layout and the grid list share them. No window system here: layouts
// are worked out and tested without one, and the kit converts at its edge.
namespace platform {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

// Edges as given; in a mapping with y upwards the top is the larger y, and
// Height() is then below 0.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

}  // namespace platform
