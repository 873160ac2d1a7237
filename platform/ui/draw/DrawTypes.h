#pragma once
// The values a drawing surface works with: points and rectangles in logical
// units (platform/system/Geometry.h), colours the way the programs store them, the pens, brushes and fonts
// it selects, regions for clipping, and what a device tells about itself.
#include "platform/system/Geometry.h"

#include <QPainterPath>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// 0x00BBGGRR, as the settings files and the colour dialog hold colours.
using Colour = uint32_t;

constexpr Colour Rgb(int red, int green, int blue)
{
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

enum class PenStyle { Solid, Dash, Dot, DashDot, Null };

// width in logical units; 0 (and 1 when that is less than a pixel) draws one
// device pixel wide.
struct DrawPen {
    PenStyle style = PenStyle::Solid;
    int width = 0;
    Colour colour = 0;
    bool operator==(const DrawPen&) const = default;
};

enum class BrushStyle { Solid, Hollow };

struct DrawBrush {
    BrushStyle style = BrushStyle::Solid;
    Colour colour = 0xFFFFFF;
    static DrawBrush SolidOf(Colour c) { return {BrushStyle::Solid, c}; }
    static DrawBrush Hollow() { return {BrushStyle::Hollow, 0}; }
    bool operator==(const DrawBrush&) const = default;
};

// A font as the programs ask for it. height is in logical units: below 0 the
// character height, above 0 the cell height (character plus internal
// leading), 0 a default size. weight 400 normal, 700 bold.
struct DrawFont {
    std::string face = "Arial";  // Windows-1252
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool operator==(const DrawFont&) const = default;
};

// What a font measures on the device, in logical units.
struct TextMetrics {
    int height = 0;   // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int aveCharWidth = 0;
};

// What a device tells about itself, in device pixels. Printers draw only on
// the printable area, whose corner lies physicalOffset from the paper's; the
// surface's device origin is that corner.
struct DeviceCaps {
    int horzRes = 0;          // printable width
    int vertRes = 0;          // printable height
    int logPixelsX = 96;
    int logPixelsY = 96;
    int physicalWidth = 0;    // whole paper
    int physicalHeight = 0;
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
    int bitsPixel = 32;
    int HorzSizeMm() const { return logPixelsX > 0 ? horzRes * 254 / (logPixelsX * 10) : 0; }
    int VertSizeMm() const { return logPixelsY > 0 ? vertRes * 254 / (logPixelsY * 10) : 0; }
};

enum RegionCombine : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4 };

// An area in device pixels (like the system's regions, which never follow
// the mapping mode). A rectangle region holds the pixels from left to
// right - 1 and top to bottom - 1.
class DrawRegion {
public:
    DrawRegion() = default;
    static DrawRegion FromRect(const Rect& device);
    static DrawRegion FromEllipse(const Rect& device);
    static DrawRegion FromPolygon(const std::vector<Point>& device);

    DrawRegion Combined(const DrawRegion& other, RegionCombine how) const;
    bool IsEmpty() const;
    bool Contains(Point device) const;  // the pixel at that point
    Rect Box() const;                    // smallest rectangle around it

    const QPainterPath& Path() const { return m_path; }
    static DrawRegion FromPath(const QPainterPath& path);

private:
    QPainterPath m_path;
};

}  // namespace platform
