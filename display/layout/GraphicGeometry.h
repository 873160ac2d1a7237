#pragma once
// The arithmetic under every picture of the display, without a device: the
// inside of a framed box, the cells of a grid, strips cut off a rectangle,
// the score of a grid for the picture layout, and the search for the
// largest font height that lets a text fit a box.
#include <functional>
#include <vector>

#include "platform/system/Geometry.h"

namespace Graphic {

using platform::Rect;

// A box's frame: the low byte its kind, the high byte the sides it has.
enum FrameKind : int { kFrameNone = 0, kFrameThin = 1, kFrameDouble = 2, kFrameRaised = 4 };
enum FrameSide : int { kSideLeft = 0x100, kSideTop = 0x200, kSideRight = 0x400, kSideBottom = 0x800 };
constexpr int kAllSides = 0xF00;
constexpr int FrameKindOf(int frame) { return frame & 0xFF; }

// Text placement (a box's Align): bit 0 left, bit 1 right, neither centred;
// bit 2 top, bit 3 bottom, neither vertically centred.
enum Align : int { kAlignCentre = 0, kAlignLeft = 1, kAlignRight = 2, kAlignTop = 4, kAlignBottom = 8 };

// A FontKey: the character height in pixels (4..200), plus kBold.
constexpr int kBold = 0x8000;
constexpr int kMinFontHeight = 4;
constexpr int kMaxFontHeight = 200;
constexpr int FontHeightOf(int key) { return key & 0x7FFF; }
constexpr bool IsBold(int key) { return (key & kBold) != 0; }

// Colours 0x00BBGGRR.
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kBlack = 0x000000;
constexpr unsigned kGrey = 0x808080;
// White on a dark colour, black on a light one: the text, pen or sign drawn
// on that colour.
unsigned ContrastColour(unsigned colour);

inline bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool Intersects(const Rect& a, const Rect& b)
{
    return !IsEmpty(a) && !IsEmpty(b) && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}

// The rectangle inside a frame: a raised frame takes 3 pixels of each side
// it has; a double one 2 of the left and top, 1 of the right and bottom; a
// thin one 1 of the left and top only.
Rect InnerRect(const Rect& r, int frame);

// Cell n (from 1) of a grid of columns x rows over r, counted down the
// columns or along the rows; the last column and row take what the integer
// division leaves. A cell beyond the grid is the empty rectangle.
Rect GridCell(const Rect& r, int n, int columns, int rows, bool byColumns);

// Cuts a strip off r: a > 0 a strip of a at the top (vertical) or left into
// first, the rest into second; a <= 0 a strip of |a| at the bottom or right
// into second, the rest into first. A rectangle too small for the strip and
// 4 pixels more keeps its whole in one output and empties the other (the
// second for a > 0, the first otherwise).
void SplitRect(const Rect& r, Rect& first, Rect& second, int a, bool vertical);

// How well count elements of the given aspect (width / height) use r in a
// grid of columns x rows, each cell losing 2 pixels: the part of r the
// elements cover. 0 for a grid whose cells have no room.
double LayoutScore(const Rect& r, int count, int columns, int rows, double aspect);

// The largest font height (7..200) at which a text fits, found by halving
// from 103 in at most 10 trials. fits(h) says whether the text fits at
// height h. The result is the largest height that fitted (7 when none did);
// trials lists the heights tried, in order.
struct FontSearch {
    int height = 7;
    std::vector<int> trials;
};
FontSearch SearchFontHeight(const std::function<bool(int height)>& fits);

}  // namespace Graphic
