#pragma once
// How a picture's drawing rectangle is shared: a header strip at the top, a
// list area and a face area, and in each a grid whose cells the elements
// take, in list order. The grids are scored for three shapes of panel each
// and the best kept; the cells left over get placeholders, which the next
// layout removes again. Fonts are fitted afterwards by the painter.
#include "display/model/VisPicture.h"
#include "platform/system/Geometry.h"

namespace PictureLayout {

// PanelFormat: the shape a grid was scored for.
enum Format : int {
    kFaceNarrow = 33,  // 0.75
    kFaceWide = 34,    // 4/3, or 1 when every face element shows only the face
    kFaceWidest = 35,  // 2
    kRowSquare = 49,   // 1
    kRow = 50,         // 12
    kRowLong = 51,     // 36
};
inline bool IsFaceFormat(int f) { return f >= kFaceNarrow && f <= kFaceWidest; }
inline bool IsRowFormat(int f) { return f >= kRowSquare && f <= kRowLong; }

bool IsFaceElement(const CVisTarget& t);
// A face element that shows nothing but the face (its place aside).
bool IsFaceOnly(const CVisTarget& t);
inline bool IsPlaceholder(const CVisTarget& t) { return t.slot <= 0; }

// The unit of a drawing rectangle: the header's height, and the measure of
// the style tiers.
int Unit(const platform::Rect& drawRect);

// Lays the picture out on the drawing rectangle: the base and header styles'
// frame and options, the header rectangle (none off-screen or below a unit
// of 8 pixels), each element's cell and format, placeholders in the cells
// left over, and the first face and list cells' aspects. Off-screen (an
// export picture) every face element takes the whole face area. -1 when the
// picture has no element besides placeholders.
int Layout(CVisPicture& pic, const platform::Rect& drawRect, bool window);

}  // namespace PictureLayout
