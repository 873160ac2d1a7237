// Drawing on pixels: off-screen images and windows. The scenes are laid out
// in device pixels and handed to the surface in each mapping mode's logical
// units (worked out by hand here, not by the surface), then probed.
#include "platform/ui/draw/BitmapDC.h"
#include "platform/ui/draw/DrawImageTarget.h"
#include "platform/ui/draw/DrawSurface.h"
#include "platform/ui/draw/DrawWindowTarget.h"

#include "tests/platform/ui/DrawTestSupport.h"
#include "QtApp.h"

#include <QPaintEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using namespace platform;
using bvtest::AnyInk;
using bvtest::InkBox;
using bvtest::IsInk;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kGreen = Rgb(0, 255, 0);

QRgb QtRgb(Colour c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

class DrawImageTest : public testing::Test {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
};

// A picture to write on in pixels, with a font of the given character height.
struct TextPicture {
    DrawImageTarget target;
    DrawSurface s;
    TextPicture(int width, int height, int fontPixels) : target(width, height)
    {
        s.Attach(&target);
        DrawFont font;
        font.height = -fontPixels;
        s.SelectFont(font);
    }
};

// A mapping mode and the hand-made way back from device pixels to its
// logical units. All device positions of the scene are multiples of 12, so
// every mode below has whole logical coordinates for them.
struct ModeCase {
    const char* name;
    int dpi;
    std::function<void(DrawSurface&)> setUp;
    std::function<Point(int, int)> logical;
    double pixelsPerUnit;  // for font heights
};

const ModeCase kModes[] = {
    {"pixels", 96, [](DrawSurface&) {}, [](int x, int y) { return Point{x, y}; }, 1.0},
    {"0.1 mm at 254 dpi", 254, [](DrawSurface& s) { s.SetMapMode(MM_LOMETRIC); },
     [](int x, int y) { return Point{x, -y}; }, 1.0},
    {"0.1 mm at 127 dpi", 127, [](DrawSurface& s) { s.SetMapMode(MM_LOMETRIC); },
     [](int x, int y) { return Point{2 * x, -2 * y}; }, 0.5},
    {"isotropic with its first extents and an origin", 254,
     [](DrawSurface& s) {
         s.SetMapMode(MM_ISOTROPIC);
         s.SetViewportOrg(24, 12);
     },
     [](int x, int y) { return Point{x - 24, 12 - y}; }, 1.0},
    {"isotropic, extents set", 96,
     [](DrawSurface& s) {
         s.SetMapMode(MM_ISOTROPIC);
         s.SetWindowExt(1000, 1000);
         s.SetViewportExt(400, -200);  // shrunk to 200 across
         s.SetViewportOrg(0, 156);
     },
     [](int x, int y) { return Point{5 * x, 5 * (156 - y)}; }, 0.2},
    {"anisotropic with a window origin", 96,
     [](DrawSurface& s) {
         s.SetMapMode(MM_ANISOTROPIC);
         s.SetWindowExt(100, 100);
         s.SetViewportExt(400, 300);
         s.SetWindowOrg(10, 20);
     },
     [](int x, int y) { return Point{x / 4 + 10, y / 3 + 20}; }, 3.0},
    {"anisotropic, y upwards", 96,
     [](DrawSurface& s) {
         s.SetMapMode(MM_ANISOTROPIC);
         s.SetWindowExt(12, -12);
         s.SetViewportExt(24, 24);
         s.SetViewportOrg(0, 156);
     },
     [](int x, int y) { return Point{x / 2, (156 - y) / 2}; }, 2.0},
};

// The scene: a red rectangle with a black frame, a blue ellipse without a
// pen, a black line, a bottom-left-aligned and a top-right-aligned text.
void DrawScene(DrawSurface& s, const ModeCase& m)
{
    auto L = m.logical;
    Point a = L(48, 36), b = L(120, 96);
    s.SelectPen({PenStyle::Solid, 0, 0});
    s.SelectBrush(DrawBrush::SolidOf(kRed));
    s.Rectangle(a.x, a.y, b.x, b.y);

    Point c = L(132, 36), d = L(192, 96);
    s.SelectPen({PenStyle::Null, 0, 0});
    s.SelectBrush(DrawBrush::SolidOf(kBlue));
    s.Ellipse(c.x, c.y, d.x, d.y);

    s.SelectPen({PenStyle::Solid, 0, 0});
    Point from = L(12, 120), to = L(192, 120);
    s.MoveTo(from.x, from.y);
    s.LineTo(to.x, to.y);

    DrawFont font;
    font.height = -static_cast<int>(std::lround(12 / m.pixelsPerUnit));
    s.SelectFont(font);
    s.SetBkMode(TRANSPARENT);
    s.SetTextAlign(TA_LEFT | TA_BOTTOM);
    Point t1 = L(12, 144);
    s.TextOut(t1.x, t1.y, "XXX");
    s.SetTextAlign(TA_RIGHT | TA_TOP);
    Point t2 = L(204, 12);
    s.TextOut(t2.x, t2.y, "XX");
}

TEST_F(DrawImageTest, SceneLandsOnTheSamePixelsInEveryMappingMode)
{
    for (const ModeCase& m : kModes) {
        SCOPED_TRACE(m.name);
        DrawImageTarget target(216, 156, m.dpi);
        DrawSurface s;
        ASSERT_TRUE(s.Attach(&target));
        m.setUp(s);
        DrawScene(s, m);
        const QImage& image = target.Image();

        struct Probe {
            int x, y;
            QRgb expected;
        };
        const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
        const Probe probes[] = {
            {84, 66, QtRgb(kRed)},                            // inside the rectangle
            {48, 66, black}, {47, 66, white},                 // left frame, and just outside
            {119, 66, black}, {120, 66, white},               // the right edge is exclusive
            {84, 36, black}, {84, 35, white},
            {84, 95, black}, {84, 96, white},
            {162, 66, QtRgb(kBlue)}, {133, 37, white},        // ellipse centre, its corner
            {100, 120, black}, {100, 119, white}, {100, 121, white}, {12, 120, black}, {11, 120, white},
        };
        for (const Probe& p : probes)
            EXPECT_EQ(image.pixel(p.x, p.y), p.expected) << "at " << p.x << "," << p.y;

        // Left-aligned text resting on y = 144 from x = 12 on.
        QRect left = InkBox(image, 0, 124, 216, 156);
        ASSERT_FALSE(left.isNull());
        EXPECT_GE(left.left(), 12);
        EXPECT_LE(left.left(), 13);
        EXPECT_LT(left.bottom(), 144);
        EXPECT_GE(left.bottom(), 140);
        EXPECT_NEAR(left.width(), 3 * 8, 3);  // three X of 12-pixel characters

        // Right-aligned text hanging from y = 12, ending at x = 204.
        QRect right = InkBox(image, 130, 0, 216, 30);
        ASSERT_FALSE(right.isNull());
        EXPECT_LE(right.right(), 203);
        EXPECT_GE(right.right(), 201);
        EXPECT_GE(right.top(), 12);
        EXPECT_LE(right.top(), 16);
    }
}

// Arcs turn the same way on the finished picture whichever way the logical
// y axis runs.
TEST_F(DrawImageTest, ArcsTurnAsSeenOnThePicture)
{
    struct Case {
        const ModeCase* mode;
        int direction;
        bool northEast, southWest;
    };
    const Case cases[] = {
        {&kModes[0], AD_COUNTERCLOCKWISE, true, false},
        {&kModes[0], AD_CLOCKWISE, false, true},
        {&kModes[1], AD_COUNTERCLOCKWISE, true, false},
        {&kModes[1], AD_CLOCKWISE, false, true},
        {&kModes[6], AD_CLOCKWISE, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode->name) + (c.direction == AD_CLOCKWISE ? ", clockwise" : ", anticlockwise"));
        DrawImageTarget target(144, 144, c.mode->dpi);
        DrawSurface s;
        s.Attach(&target);
        c.mode->setUp(s);
        auto L = c.mode->logical;
        s.SelectPen({PenStyle::Solid, static_cast<int>(std::lround(3 / c.mode->pixelsPerUnit)), 0});
        s.SetArcDirection(c.direction);
        // Circle about (72, 72) of radius 48; from three o'clock to twelve.
        Point a = L(24, 24), b = L(120, 120), east = L(132, 72), north = L(72, 12);
        s.Arc({a.x, a.y, b.x, b.y}, east, north);
        const QImage& image = target.Image();
        EXPECT_EQ(AnyInk(image, 103, 35, 110, 42), c.northEast);  // 45 degrees up right
        EXPECT_EQ(AnyInk(image, 34, 102, 41, 109), c.southWest);  // 45 degrees down left
        EXPECT_TRUE(AnyInk(image, 117, 70, 122, 75));             // both run through three o'clock
        EXPECT_TRUE(AnyInk(image, 70, 22, 75, 27));               // and twelve
    }
}

TEST_F(DrawImageTest, ArcToJoinsFromTheCurrentPositionAndMovesIt)
{
    DrawImageTarget target(144, 144);
    DrawSurface s;
    s.Attach(&target);
    s.SelectPen({PenStyle::Solid, 3, 0});
    s.SetArcDirection(AD_CLOCKWISE);
    s.MoveTo(0, 72);
    s.ArcTo({24, 24, 120, 120}, {0, 72}, {72, 0});  // west round to north, clockwise
    Point end = s.GetCurrentPosition();
    EXPECT_NEAR(end.x, 72, 1);
    EXPECT_NEAR(end.y, 24, 1);
    const QImage& image = target.Image();
    EXPECT_TRUE(AnyInk(image, 8, 70, 16, 75));    // the joining line
    EXPECT_TRUE(AnyInk(image, 34, 35, 41, 42));   // north-west quarter
    EXPECT_FALSE(AnyInk(image, 103, 102, 110, 109));
}

TEST_F(DrawImageTest, PolygonsPolylinesAndPaths)
{
    DrawImageTarget target(120, 120);
    DrawSurface s;
    s.Attach(&target);
    s.SelectBrush(DrawBrush::SolidOf(kGreen));
    const Point triangle[] = {{10, 10}, {60, 10}, {10, 60}};
    s.Polygon(triangle);
    s.SelectPen({PenStyle::Solid, 2, 0});
    const Point zigzag[] = {{70, 10}, {110, 10}, {110, 50}};
    s.Polyline(zigzag);

    // A corner mark as one path, stroked and filled.
    s.SelectBrush(DrawBrush::SolidOf(kBlue));
    s.SelectPen({PenStyle::Solid, 0, 0});
    EXPECT_FALSE(s.StrokeAndFillPath()) << "no path yet";
    s.BeginPath();
    s.MoveTo(110, 70);
    s.LineTo(110, 110);
    s.LineTo(70, 110);
    s.CloseFigure();
    s.EndPath();
    EXPECT_TRUE(s.StrokeAndFillPath());
    EXPECT_FALSE(s.StrokeAndFillPath()) << "a path is used up";

    const QImage& image = target.Image();
    EXPECT_EQ(image.pixel(20, 20), QtRgb(kGreen));
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255));
    EXPECT_TRUE(IsInk(image, 30, 10));
    EXPECT_TRUE(IsInk(image, 90, 10));
    EXPECT_TRUE(IsInk(image, 110, 30));
    EXPECT_FALSE(IsInk(image, 90, 30));
    EXPECT_EQ(image.pixel(102, 102), QtRgb(kBlue));
    EXPECT_EQ(image.pixel(78, 78), qRgb(255, 255, 255));
    EXPECT_TRUE(IsInk(image, 110, 90));  // the stroked edge
}

TEST_F(DrawImageTest, ClippingByRectangleAndRegion)
{
    DrawImageTarget target(100, 100);
    DrawSurface s;
    s.Attach(&target);
    s.IntersectClipRect(10, 10, 60, 60);
    s.IntersectClipRect(30, 30, 90, 90);
    s.FillSolidRect({0, 0, 100, 100}, kRed);
    DrawRegion circle = DrawRegion::FromEllipse({60, 0, 100, 40});
    DrawRegion notCentre = circle.Combined(DrawRegion::FromRect({75, 15, 85, 25}), RGN_DIFF);
    s.SelectClipRgn(&notCentre);
    s.FillSolidRect({0, 0, 100, 100}, kBlue);
    s.SelectClipRgn(nullptr);
    s.SelectPen({PenStyle::Solid, 0, 0});
    s.MoveTo(0, 99);
    s.LineTo(100, 99);

    const QImage& image = target.Image();
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(image.pixel(45, 45), QtRgb(kRed));
    EXPECT_EQ(image.pixel(29, 45), white);
    EXPECT_EQ(image.pixel(30, 30), QtRgb(kRed));
    EXPECT_EQ(image.pixel(60, 45), white);
    EXPECT_EQ(image.pixel(59, 59), QtRgb(kRed));
    EXPECT_EQ(image.pixel(80, 8), QtRgb(kBlue));
    EXPECT_EQ(image.pixel(80, 20), white) << "the hole of the region";
    EXPECT_EQ(image.pixel(62, 2), white) << "outside the circle";
    EXPECT_TRUE(IsInk(image, 50, 99)) << "no clip once removed";
}

TEST_F(DrawImageTest, TextIsPlacedByFormatInItsRectangle)
{
    struct Case {
        unsigned format;
        // Where the ink of "XX" (20-pixel characters) must lie in the
        // rectangle (20, 20)-(180, 80).
        int minLeft, maxLeft, minRight, maxRight, minTop, maxTop, minBottom, maxBottom;
    };
    const Case cases[] = {
        {DT_LEFT | DT_TOP | DT_SINGLELINE, 20, 21, 0, 999, 22, 26, 0, 999},
        {DT_RIGHT | DT_TOP | DT_SINGLELINE, 0, 999, 177, 179, 22, 26, 0, 999},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, 85, 88, 112, 115, 0, 999, 0, 999},
        {DT_LEFT | DT_BOTTOM | DT_SINGLELINE, 20, 21, 0, 999, 0, 999, 73, 76},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TextPicture picture(200, 100, 20);
        EXPECT_GT(picture.s.DrawText("XX", {20, 20, 180, 80}, c.format), 20);
        QRect ink = InkBox(picture.target.Image(), 0, 0, 200, 100);
        ASSERT_FALSE(ink.isNull());
        EXPECT_GE(ink.left(), c.minLeft);
        EXPECT_LE(ink.left(), c.maxLeft);
        EXPECT_GE(ink.right(), c.minRight);
        EXPECT_LE(ink.right(), c.maxRight);
        EXPECT_GE(ink.top(), c.minTop);
        EXPECT_LE(ink.top(), c.maxTop);
        EXPECT_GE(ink.bottom(), c.minBottom);
        EXPECT_LE(ink.bottom(), c.maxBottom);
        if (c.format & DT_VCENTER)
            EXPECT_NEAR((ink.top() + ink.bottom()) / 2.0, 50, 2);
    }
}

TEST_F(DrawImageTest, LongTextEndsInDotsOrIsClipped)
{
    const char* text = "Bjerkreim og Omegn Skytterlag";
    struct Case {
        unsigned format;
        bool inkBeyond;
    };
    const Case cases[] = {
        {DT_SINGLELINE | DT_NOCLIP, true},                    // runs out of its box
        {DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS, false},  // shortened to fit
        {DT_SINGLELINE, false},                               // cut at the box
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TextPicture picture(300, 40, 16);
        picture.s.DrawText(text, {10, 10, 110, 30}, c.format);
        const QImage& image = picture.target.Image();
        EXPECT_TRUE(AnyInk(image, 10, 10, 110, 30));
        EXPECT_EQ(AnyInk(image, 110, 0, 300, 40), c.inkBeyond);
    }
    // The dots stand at the end: the last ink of the shortened text is a
    // dot, low on the line.
    TextPicture picture(300, 40, 16);
    picture.s.DrawText(text, {10, 10, 110, 30}, DT_SINGLELINE | DT_END_ELLIPSIS);
    QRect all = InkBox(picture.target.Image(), 0, 0, 300, 40);
    QRect lastColumns = InkBox(picture.target.Image(), all.right() - 1, 0, all.right() + 1, 40);
    EXPECT_LE(lastColumns.height(), 3);
    EXPECT_GT(lastColumns.top(), all.top() + 6);
}

TEST_F(DrawImageTest, TextLinesBreakAtLineEnds)
{
    TextPicture picture(200, 100, 20);
    int height = picture.s.DrawText("XX\r\nXX", {10, 10, 190, 90}, DT_LEFT);
    int oneLine = picture.s.GetTextExtent("XX").cy;
    EXPECT_EQ(height, 2 * oneLine);
    const QImage& image = picture.target.Image();
    EXPECT_TRUE(AnyInk(image, 10, 10, 190, 10 + oneLine));
    EXPECT_TRUE(AnyInk(image, 10, 10 + oneLine, 190, 10 + 2 * oneLine));
}

TEST_F(DrawImageTest, OpaqueTextPaintsItsBackground)
{
    for (int mode : {OPAQUE, TRANSPARENT}) {
        TextPicture picture(100, 40, 20);
        DrawSurface& s = picture.s;
        s.FillSolidRect({0, 0, 100, 40}, kRed);
        EXPECT_EQ(s.GetBkColor(), kRed) << "a solid fill sets the background colour";
        s.SetBkColor(Rgb(255, 255, 0));
        s.SetBkMode(mode);
        s.TextOut(10, 10, " I");
        // In the blank before the I, inside the text's cell.
        QRgb beside = picture.target.Image().pixel(12, 15);
        EXPECT_EQ(beside, mode == OPAQUE ? qRgb(255, 255, 0) : QtRgb(kRed)) << mode;
    }
}

TEST_F(DrawImageTest, BitmapSurfaceClearsWhatCanBeDrawnOn)
{
    CBitmapDC bitmap;
    EXPECT_FALSE(bitmap.Create(0, 10));
    ASSERT_TRUE(bitmap.Create(40, 30));
    EXPECT_FALSE(bitmap.Create(40, 30)) << "already made";
    EXPECT_EQ(bitmap.GetDeviceCaps().horzRes, 40);
    EXPECT_EQ(bitmap.GetDeviceCaps().logPixelsX, 96);
    bitmap.Clear(kBlue);
    bitmap.IntersectClipRect(0, 0, 10, 10);
    bitmap.Clear(kGreen);
    EXPECT_EQ(bitmap.GetBkColor(), kGreen);
    QImage picture = bitmap.Picture();
    EXPECT_EQ(picture.pixel(5, 5), QtRgb(kGreen));
    EXPECT_EQ(picture.pixel(10, 10), QtRgb(kBlue));
    EXPECT_EQ(picture.pixel(39, 29), QtRgb(kBlue));
}

// A window paints through a surface both from its own paint handling and
// from outside it (a timer tick), and shows both.
class PaintingWindow : public QWidget {
public:
    int paints = 0;
    DrawWindowTarget* target = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        DrawSurface s;
        s.Attach(target);
        s.FillSolidRect({0, 0, 20, 20}, kGreen);
    }
};

TEST_F(DrawImageTest, WindowShowsWhatIsDrawnInAndOutsideItsPainting)
{
    PaintingWindow window;
    window.resize(100, 60);
    DrawWindowTarget target(&window);
    window.target = &target;
    window.show();
    QCoreApplication::processEvents();
    DrawSurface s;
    ASSERT_TRUE(s.Attach(&target));
    EXPECT_EQ(s.GetDeviceCaps().horzRes, 100);
    s.SelectBrush(DrawBrush::SolidOf(kRed));
    s.Rectangle(40, 20, 90, 50);  // as on a timer tick
    int paints = window.paints;
    QCoreApplication::processEvents();
    EXPECT_GT(window.paints, paints) << "the window repaints what was drawn";
    paints = window.paints;
    QCoreApplication::processEvents();
    EXPECT_EQ(window.paints, paints) << "painting through the surface asks for no further paint";

    QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.pixel(60, 30), QtRgb(kRed));
    EXPECT_EQ(shown.pixel(10, 10), QtRgb(kGreen));
    EXPECT_EQ(shown.pixel(30, 40), qRgb(255, 255, 255));

    window.resize(160, 60);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.GetDeviceCaps().horzRes, 160);
    s.FillSolidRect({120, 0, 160, 60}, kBlue);
    shown = window.grab().toImage();
    EXPECT_EQ(shown.pixel(150, 30), QtRgb(kBlue));
    EXPECT_EQ(shown.pixel(60, 30), QtRgb(kRed)) << "the picture survives a resize";
}

}  // namespace
