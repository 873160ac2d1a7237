#include "display/layout/GraphicGeometry.h"

#include <cstdint>

namespace Graphic {

unsigned ContrastColour(unsigned colour)
{
    int sum = static_cast<int>((colour & 0xFF) + ((colour >> 8) & 0xFF) + ((colour >> 16) & 0xFF));
    return sum < 254 ? kWhite : kBlack;
}

Rect InnerRect(const Rect& r, int frame)
{
    Rect in = r;
    const int sides = frame & kAllSides;
    int lt = 0, rb = 0;
    switch (FrameKindOf(frame)) {
    case kFrameRaised:
        lt = rb = 3;
        break;
    case kFrameDouble:
        lt = 2;
        rb = 1;
        break;
    case kFrameThin:
        lt = 1;
        break;
    default:
        return in;
    }
    if (sides & kSideLeft)
        in.left += lt;
    if (sides & kSideTop)
        in.top += lt;
    if (sides & kSideRight)
        in.right -= rb;
    if (sides & kSideBottom)
        in.bottom -= rb;
    return in;
}

Rect GridCell(const Rect& r, int n, int columns, int rows, bool byColumns)
{
    if (n < 1 || columns < 1 || rows < 1)
        return {};
    const int k = n - 1;
    int col, row;
    if (byColumns) {
        col = k / rows + 1;
        row = k % rows + 1;
    } else {
        row = k / columns + 1;
        col = k % columns + 1;
    }
    if (col > columns || row > rows)
        return {};
    const int64_t w = r.Width(), h = r.Height();
    Rect c;
    c.left = col == 1 ? r.left : r.left + static_cast<int>((col - 1) * w / columns);
    c.right = col == columns ? r.right : r.left + static_cast<int>(col * w / columns);
    c.top = r.top + static_cast<int>((row - 1) * h / rows);
    c.bottom = row == rows ? r.bottom : r.top + static_cast<int>(row * h / rows);
    return c;
}

void SplitRect(const Rect& r, Rect& first, Rect& second, int a, bool vertical)
{
    first = second = r;
    const int size = vertical ? r.Height() : r.Width();
    // The strip and 4 pixels more must fit, whichever end it is cut from.
    const int strip = a > 0 ? a : -a;
    if (size < strip + 4) {
        if (a > 0)
            second = {};
        else
            first = {};
        return;
    }
    if (vertical) {
        int y = a > 0 ? r.top + a : r.bottom + a;
        first.bottom = y;
        second.top = y;
    } else {
        int x = a > 0 ? r.left + a : r.right + a;
        first.right = x;
        second.left = x;
    }
}

double LayoutScore(const Rect& r, int count, int columns, int rows, double aspect)
{
    const int W = r.Width(), H = r.Height();
    if (columns < 1 || rows < 1 || W <= 0 || H <= 0 || aspect <= 0)
        return 0;
    const int w = W / columns - 2, h = H / rows - 2;
    // A cell with no room holds nothing: no score, rather than a division by it.
    if (w <= 0 || h <= 0)
        return 0;
    double area;
    if (static_cast<double>(w) / h > aspect)
        area = aspect * h * h;
    else
        area = static_cast<double>(w) * w / aspect;
    return area / (static_cast<double>(W) * H) * count / (static_cast<double>(columns) * rows);
}

FontSearch SearchFontHeight(const std::function<bool(int height)>& fits)
{
    FontSearch s;
    int lower = 7, upper = kMaxFontHeight, h = 103;
    for (int trial = 0; trial < 10; ++trial) {
        s.trials.push_back(h);
        if (fits(h))
            lower = h;
        else
            upper = h;
        int m = (lower + upper) / 2;
        if (lower == upper)
            break;
        h = m == h ? h + 1 : m;
    }
    // The search's own end may name a height one above the last that fitted;
    // the font kept is always one that fits.
    s.height = lower;
    return s;
}

}  // namespace Graphic
