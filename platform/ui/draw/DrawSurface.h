#pragma once
// The device context every printout and picture is drawn through: mapping
// modes, fonts, pens, brushes, text, lines, shapes, paths, clipping, saved
// states, and the document and page calls of a printer. It draws on whatever
// target is attached (window, printer page or PDF file, off-screen image,
// recorder), so one piece of drawing code serves screen, paper and web.
//
// Coordinates are logical units of the mapping mode; texts are Windows-1252.
// Arial, Times New Roman and Courier New are drawn with the Liberation fonts,
// which have the same letter widths, so texts take the room they always took.
#include "platform/ui/draw/DrawTarget.h"
#include "platform/ui/draw/DrawTypes.h"

#include <QFont>
#include <QPainterPath>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace platform {

enum MapMode : int { MM_TEXT = 1, MM_LOMETRIC = 2, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };

// TextOut reference point.
enum TextAlign : unsigned {
    TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6,
    TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24,
};

// DrawText format.
enum TextFormat : unsigned {
    DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_SINGLELINE = 0x20, DT_NOCLIP = 0x100, DT_END_ELLIPSIS = 0x8000,
};

enum BackgroundMode : int { TRANSPARENT = 1, OPAQUE = 2 };

// Seen on the finished picture or page.
enum ArcDirection : int { AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2 };

// Results of the clipping calls.
enum RegionKind : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class DrawSurface {
public:
    DrawSurface();
    virtual ~DrawSurface();
    DrawSurface(const DrawSurface&) = delete;
    DrawSurface& operator=(const DrawSurface&) = delete;

    // Draws on the target from now on, with a fresh state (pixel mapping,
    // black pen, white brush, black text on white, opaque, no clip). The
    // target is not owned and must outlive the attachment. false when
    // another target is attached.
    bool Attach(DrawTarget* target);
    // Gives the target back; the surface then draws nothing.
    DrawTarget* Detach();
    DrawTarget* Target() const { return m_target; }
    bool IsAttached() const { return m_target != nullptr; }

    // The attached device (zeros when none).
    DeviceCaps GetDeviceCaps() const;

    // State: SaveDC returns the new depth (from 1), 0 when not attached;
    // RestoreDC takes that depth, or -1 for the last saved state.
    int SaveDC();
    bool RestoreDC(int saved);

    // Mapping: device = (logical - window origin) * viewport extent /
    // window extent + viewport origin. MM_LOMETRIC is 0.1 mm with y
    // upwards; MM_ISOTROPIC starts with its extents and keeps x and y units
    // the same size on the device; MM_ANISOTROPIC keeps the extents it finds.
    int SetMapMode(int mode);  // previous mode, 0 for an unknown one
    int GetMapMode() const;
    Point SetWindowOrg(int x, int y);
    Point GetWindowOrg() const;
    Point SetViewportOrg(int x, int y);
    Point OffsetViewportOrg(int dx, int dy);
    Point GetViewportOrg() const;
    // Only in MM_ISOTROPIC and MM_ANISOTROPIC; false elsewhere or for a zero
    // extent.
    bool SetWindowExt(int cx, int cy);
    bool SetViewportExt(int cx, int cy);
    Size GetWindowExt() const;
    Size GetViewportExt() const;

    void LPtoDP(Point& point) const;
    void LPtoDP(Rect& rect) const;
    void LPtoDP(Size& size) const;   // lengths: magnitudes, signs kept
    void DPtoLP(Point& point) const;
    void DPtoLP(Rect& rect) const;
    void DPtoLP(Size& size) const;
    // Hundredths of a millimetre to device pixels or logical units.
    void HimetricToDp(Size& size) const;
    void HimetricToLp(Size& size) const;

    // Objects. Each Select returns the one it replaces.
    DrawFont SelectFont(const DrawFont& font);
    DrawPen SelectPen(const DrawPen& pen);
    DrawBrush SelectBrush(const DrawBrush& brush);
    const DrawFont& GetFont() const;
    const DrawPen& GetPen() const;
    const DrawBrush& GetBrush() const;
    // A font of a size in tenths of a point on this device, in the current
    // mapping (its height is the character height in logical units).
    DrawFont PointFont(int tenthsOfPoint, std::string_view face, int weight = 400) const;

    Colour SetTextColor(Colour colour);
    Colour GetTextColor() const;
    Colour SetBkColor(Colour colour);
    Colour GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    unsigned SetTextAlign(unsigned align);
    unsigned GetTextAlign() const;
    int SetArcDirection(int direction);
    int GetArcDirection() const;

    // Text.
    Size GetTextExtent(std::string_view text) const;
    TextMetrics GetTextMetrics() const;
    // At the reference point of the text alignment.
    bool TextOut(int x, int y, std::string_view text);
    // Into a rectangle with a DT_ format; lines break only at line ends.
    // Returns the height of the text in logical units, 0 on failure.
    int DrawText(std::string_view text, const Rect& rect, unsigned format);

    // Lines and shapes with the selected pen (and brush for closed shapes).
    // A line ends before its end point; a rectangle covers left .. right - 1.
    Point MoveTo(int x, int y);
    bool LineTo(int x, int y);
    Point GetCurrentPosition() const;
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const Rect& rect) { return Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const Rect& rect) { return Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    // The part of the ellipse in rect from where the ray from its centre
    // through start meets it to where the ray through end does, in the arc
    // direction. start equal to end draws the whole ellipse.
    bool Arc(const Rect& rect, Point start, Point end);
    // The same, with a line from the current position to the arc's start;
    // the arc's end becomes the current position.
    bool ArcTo(const Rect& rect, Point start, Point end);
    bool Polyline(std::span<const Point> points);
    bool Polygon(std::span<const Point> points);
    // Fills without the pen, and makes colour the background colour.
    void FillSolidRect(const Rect& rect, Colour colour);
    bool FillRect(const Rect& rect, const DrawBrush& brush);

    // Paths: between BeginPath and EndPath, MoveTo, LineTo, ArcTo,
    // Polyline, Polygon, Rectangle and Ellipse build a path instead of
    // drawing; the path is then stroked, filled or both, and used up.
    bool BeginPath();
    bool CloseFigure();
    bool EndPath();
    bool AbortPath();
    bool StrokePath();
    bool FillPath();
    bool StrokeAndFillPath();

    // Clipping. The clip lives in device pixels: it stays where it is when
    // the mapping changes afterwards.
    int IntersectClipRect(const Rect& rect);
    int IntersectClipRect(int left, int top, int right, int bottom)
    {
        return IntersectClipRect(Rect{left, top, right, bottom});
    }
    // A copy of the region becomes the clip; nullptr removes the clip.
    int SelectClipRgn(const DrawRegion* region);
    // The smallest logical rectangle around what can be drawn on.
    int GetClipBox(Rect& rect) const;

    // Printer documents and pages (the attached target's).
    int StartDoc(const std::string& documentName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    void SetAbortProc(std::function<bool()> proc);

    // The Qt font a DrawFont becomes on the attached device, sized in device
    // pixels for the current mapping.
    QFont DeviceFont(const DrawFont& font) const;

private:
    struct State {
        int mapMode = MM_TEXT;
        Point windowOrg;
        Point viewportOrg;
        Size windowExt{1, 1};
        Size viewportExt{1, 1};
        DrawFont font;
        DrawPen pen;
        DrawBrush brush;
        Colour textColour = 0;
        Colour bkColour = 0xFFFFFF;
        int bkMode = OPAQUE;
        unsigned textAlign = TA_LEFT | TA_TOP;
        int arcDirection = AD_COUNTERCLOCKWISE;
        Point position;
        bool clipped = false;
        QPainterPath clip;  // device pixels
    };

    struct DeviceText;

    double ScaleX() const;
    double ScaleY() const;
    double DeviceX(double x) const;
    double DeviceY(double y) const;
    Point ToDevice(int x, int y) const;
    QPointF StrokePoint(int x, int y) const;
    QRectF DeviceBox(int left, int top, int right, int bottom) const;
    QRectF StrokeBox(const QRectF& box) const;
    bool SetExtent(Size& extent, const char* name, int cx, int cy);
    void AdjustIsotropic();
    int DpiX() const;
    int DpiY() const;

    QPainter* Begin(bool withPen, bool withBrush);
    void Finish(const QRectF& touched);
    QPen QtPen() const;
    void Note(const char* name, std::initializer_list<int> args, std::string_view text = {},
              unsigned flags = 0);
    void Note(const char* name, std::span<const Point> points);
    bool Recording() const;
    void Record(DrawCall&& call);
    int DocumentCall(const char* name, int (DrawTarget::*call)());
    int ClipKind() const;

    DeviceText Realise(const DrawFont& font) const;
    void ArcPath(QPainterPath& path, const Rect& rect, Point start, Point end,
                 bool joinFromCurrent, QPointF* endPoint) const;
    bool DrawShape(const QPainterPath& fillShape, const QPainterPath& strokeShape);
    void AddToPath(const QPainterPath& figure);
    void StrokeNow(const QPainterPath& figure);
    void FillBox(const Rect& rect, Colour colour);
    void PathStart();

    DrawTarget* m_target = nullptr;
    bool m_raster = true;
    State m_state;
    std::vector<State> m_saved;

    bool m_inPath = false;
    bool m_pathReady = false;
    bool m_pathNeedsMove = true;
    QPainterPath m_path;

    // The last font made for the device, kept because text is drawn in runs
    // of the same font.
    mutable DrawFont m_cachedFont;
    mutable double m_cachedScale = 0;
    mutable QFont m_cachedQtFont;
};

// The font family that stands in for a face name.
QString FontFamilyFor(std::string_view face);

}  // namespace platform
