// The device-context side of the drawing surface, measured without drawing:
// mapping modes, unit conversions, fonts, saved states and the recorder.
#include "platform/ui/draw/DrawRecorder.h"
#include "platform/ui/draw/DrawSurface.h"

#include "tests/platform/ui/DrawTestSupport.h"
#include "QtApp.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace platform;

class DrawSurfaceTest : public testing::Test {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
};

// A surface on a recorder of the given resolution.
struct Device {
    explicit Device(int dpi) : recorder(DrawRecorder::A4(dpi, 0, 0)) { surface.Attach(&recorder); }
    DrawRecorder recorder;
    DrawSurface surface;
};

struct MappingCase {
    const char* name;
    int dpi;
    std::function<void(DrawSurface&)> setUp;
    Point logical;
    Point device;
};

TEST_F(DrawSurfaceTest, MapsLogicalPointsToTheDeviceInEveryMode)
{
    const MappingCase cases[] = {
        {"pixels", 96, [](DrawSurface&) {}, {123, 45}, {123, 45}},
        {"pixels, both origins", 96,
         [](DrawSurface& s) {
             s.SetWindowOrg(100, 10);
             s.SetViewportOrg(5, 7);
         },
         {123, 45}, {28, 42}},
        // 600 dots to 254 tenths of a millimetre; y upwards.
        {"0.1 mm", 600, [](DrawSurface& s) { s.SetMapMode(MM_LOMETRIC); }, {254, -508}, {600, 1200}},
        {"0.1 mm at 96 dpi", 96, [](DrawSurface& s) { s.SetMapMode(MM_LOMETRIC); }, {127, -127}, {48, 48}},
        // The isotropic mode starts with the 0.1 mm extents.
        {"isotropic, first extents", 600, [](DrawSurface& s) { s.SetMapMode(MM_ISOTROPIC); }, {254, -254}, {600, 600}},
        {"isotropic, viewport shrunk across", 96,
         [](DrawSurface& s) {
             s.SetMapMode(MM_ISOTROPIC);
             s.SetWindowExt(1000, 1000);
             s.SetViewportExt(400, -200);  // becomes 200, -200
             s.SetViewportOrg(0, 300);
         },
         {500, 500}, {100, 200}},
        {"anisotropic", 96,
         [](DrawSurface& s) {
             s.SetMapMode(MM_ANISOTROPIC);
             s.SetWindowExt(100, 100);
             s.SetViewportExt(400, 300);
             s.SetWindowOrg(10, 20);
             s.SetViewportOrg(3, 4);
         },
         {30, 40}, {83, 64}},
        // Anisotropic keeps the extents of the mode before it.
        {"anisotropic after 0.1 mm", 600,
         [](DrawSurface& s) {
             s.SetMapMode(MM_LOMETRIC);
             s.SetMapMode(MM_ANISOTROPIC);
         },
         {254, -254}, {600, 600}},
    };
    for (const MappingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Device d(c.dpi);
        c.setUp(d.surface);
        Point p = c.logical;
        d.surface.LPtoDP(p);
        EXPECT_EQ(p, c.device);
        d.surface.DPtoLP(p);
        EXPECT_EQ(p, c.logical);
    }
}

TEST_F(DrawSurfaceTest, IsotropicExtentsKeepUnitsSquareOnTheDevice)
{
    struct Case {
        int dpiX, dpiY;
        Size window, viewport, expected;
    };
    const Case cases[] = {
        {96, 96, {1000, 1000}, {400, -200}, {200, -200}},
        {96, 96, {1000, 500}, {400, 400}, {400, 200}},
        {96, 96, {100, -100}, {-50, 80}, {-50, 50}},
        // Unequal resolutions: a unit as long across as down in inches.
        {300, 600, {100, 100}, {300, 300}, {150, 300}},
    };
    for (const Case& c : cases) {
        DeviceCaps caps = DrawRecorder::A4(c.dpiX, 0, 0);
        caps.logPixelsY = c.dpiY;
        DrawRecorder recorder(caps);
        DrawSurface s;
        s.Attach(&recorder);
        s.SetMapMode(MM_ISOTROPIC);
        ASSERT_TRUE(s.SetWindowExt(c.window.cx, c.window.cy));
        ASSERT_TRUE(s.SetViewportExt(c.viewport.cx, c.viewport.cy));
        EXPECT_EQ(s.GetViewportExt(), c.expected) << c.window.cx << "," << c.window.cy;
    }
}

TEST_F(DrawSurfaceTest, ExtentsChangeOnlyInTheScalableModes)
{
    Device d(96);
    EXPECT_FALSE(d.surface.SetWindowExt(10, 10));  // pixels
    d.surface.SetMapMode(MM_LOMETRIC);
    EXPECT_FALSE(d.surface.SetViewportExt(10, 10));
    d.surface.SetMapMode(MM_ANISOTROPIC);
    EXPECT_FALSE(d.surface.SetWindowExt(0, 10));
    EXPECT_TRUE(d.surface.SetWindowExt(10, 10));
    EXPECT_EQ(d.surface.SetMapMode(99), 0);
    EXPECT_EQ(d.surface.GetMapMode(), MM_ANISOTROPIC);
}

TEST_F(DrawSurfaceTest, ConvertsHundredthsOfMillimetresAndPointSizes)
{
    // The card printer's unit: one millimetre in 0.1 mm units. It goes
    // through whole device pixels, which shows on a screen's coarse ones.
    const std::pair<int, int> units[] = {{96, 11}, {300, 10}, {600, 10}, {1200, 10}};
    for (auto [dpi, unit] : units) {
        Device d(dpi);
        d.surface.SetMapMode(MM_ISOTROPIC);
        Size mm{100, 100};
        d.surface.HimetricToLp(mm);
        EXPECT_EQ(mm, (Size{unit, unit})) << dpi;
    }
    Device printer(600);
    Size margin{1500, 500};
    printer.surface.HimetricToDp(margin);
    EXPECT_EQ(margin, (Size{354, 118}));

    struct Case {
        int dpi;
        int mode;
        int tenths;
        int height;
    };
    const Case fonts[] = {
        {96, MM_TEXT, 80, -11},       // 10.67 pixels
        {96, MM_TEXT, 120, -16},
        {600, MM_TEXT, 120, -100},
        {600, MM_LOMETRIC, 120, -42},  // 12 points = 4.23 mm
        {600, MM_ISOTROPIC, 80, -28},
        {254, MM_LOMETRIC, 240, -85},
    };
    for (const Case& c : fonts) {
        Device d(c.dpi);
        d.surface.SetMapMode(c.mode);
        DrawFont font = d.surface.PointFont(c.tenths, "Arial", 700);
        EXPECT_EQ(font.height, c.height) << c.dpi << " dpi, mode " << c.mode << ", " << c.tenths;
        EXPECT_EQ(font.weight, 700);
        EXPECT_EQ(font.face, "Arial");
    }
}

// The faces of the printouts come out in fonts with the same letter widths:
// ten capital X of a 100-pixel character height are as wide as in the
// original faces.
TEST_F(DrawSurfaceTest, FacesAreDrawnInMetricCompatibleFonts)
{
    struct Case {
        const char* face;
        const char* family;
        double widthOfTenX;
    };
    const Case cases[] = {
        {"Arial", "Liberation Sans", 667.0},
        {"ARIAL", "Liberation Sans", 667.0},
        {"Times New Roman", "Liberation Serif", 722.2},
        {"Courier New", "Liberation Mono", 600.1},
    };
    Device d(96);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        DrawFont font;
        font.face = c.face;
        font.height = -100;
        EXPECT_EQ(QFontInfo(d.surface.DeviceFont(font)).family(), QString::fromLatin1(c.family));
        d.surface.SelectFont(font);
        EXPECT_NEAR(d.surface.GetTextExtent("XXXXXXXXXX").cx, c.widthOfTenX, 2.0);
    }
}

TEST_F(DrawSurfaceTest, TextExtentsAndMetricsFollowTheMapping)
{
    // The same 12-point Arial measured in pixels of a 600 dpi printer and in
    // its tenths of a millimetre.
    Device pixels(600);
    pixels.surface.SelectFont(pixels.surface.PointFont(120, "Arial"));
    Size inPixels = pixels.surface.GetTextExtent("Stevneoppgj\xF8r");
    TextMetrics m = pixels.surface.GetTextMetrics();
    EXPECT_EQ(inPixels.cy, m.height);
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_NEAR(m.height, 112, 1);  // 100-pixel characters with Arial's ascent and descent
    EXPECT_GT(m.internalLeading, 0);

    // At 127 dpi a tenth of a millimetre is half a pixel: the same font is
    // twice as many units.
    Device coarse(127);
    DrawFont hundred;
    hundred.height = -100;
    coarse.surface.SelectFont(hundred);
    Size coarsePixels = coarse.surface.GetTextExtent("Stevneoppgj\xF8r");
    coarse.surface.SetMapMode(MM_LOMETRIC);
    hundred.height = -200;
    coarse.surface.SelectFont(hundred);
    Size inTenths = coarse.surface.GetTextExtent("Stevneoppgj\xF8r");
    EXPECT_NEAR(inTenths.cx, 2 * coarsePixels.cx, 1);
    EXPECT_NEAR(inTenths.cy, 2 * coarsePixels.cy, 1);
    EXPECT_EQ(inPixels.cx, coarsePixels.cx) << "pixel sizes do not depend on the resolution";

    // A positive height is the cell height: character plus leading.
    DrawFont cell;
    cell.height = m.height;
    pixels.surface.SelectFont(cell);
    EXPECT_NEAR(pixels.surface.GetTextMetrics().height, m.height, 1);

    DrawSurface unattached;
    EXPECT_EQ(unattached.GetTextExtent("X"), (Size{}));
}

TEST_F(DrawSurfaceTest, RestoreDcBringsBackTheSavedState)
{
    Device d(600);
    DrawSurface& s = d.surface;
    s.SetMapMode(MM_LOMETRIC);
    s.SelectPen({PenStyle::Solid, 3, Rgb(255, 0, 0)});
    s.SetTextAlign(TA_BOTTOM | TA_RIGHT);
    s.MoveTo(10, 20);
    EXPECT_EQ(s.SaveDC(), 1);
    s.IntersectClipRect(0, 0, 100, -100);
    s.SetMapMode(MM_TEXT);
    s.SelectPen({PenStyle::Null, 0, 0});
    s.SetTextColor(Rgb(1, 2, 3));
    EXPECT_EQ(s.SaveDC(), 2);
    s.SetViewportOrg(50, 50);
    s.SetTextAlign(TA_LEFT);

    ASSERT_TRUE(s.RestoreDC(-1));
    EXPECT_EQ(s.GetViewportOrg(), (Point{0, 0}));
    EXPECT_EQ(s.GetTextColor(), Rgb(1, 2, 3));

    ASSERT_TRUE(s.RestoreDC(1));
    EXPECT_EQ(s.GetMapMode(), MM_LOMETRIC);
    EXPECT_EQ(s.GetPen().width, 3);
    EXPECT_EQ(s.GetTextAlign(), static_cast<unsigned>(TA_BOTTOM | TA_RIGHT));
    EXPECT_EQ(s.GetCurrentPosition(), (Point{10, 20}));
    Rect box;
    s.GetClipBox(box);
    EXPECT_EQ(box.Width(), 2100) << "the clip went with the state";

    EXPECT_FALSE(s.RestoreDC(1)) << "nothing is saved any more";
    EXPECT_FALSE(s.RestoreDC(-1));
    EXPECT_FALSE(s.RestoreDC(0));
}

TEST_F(DrawSurfaceTest, ClipBoxIsLogicalAndTheClipStaysOnTheDevice)
{
    Device d(254);  // one pixel to the tenth of a millimetre
    DrawSurface& s = d.surface;
    s.SetMapMode(MM_LOMETRIC);
    Rect box;
    EXPECT_EQ(s.GetClipBox(box), SIMPLEREGION);
    EXPECT_EQ(box, (Rect{0, 0, 2100, -2970}));

    EXPECT_EQ(s.IntersectClipRect(100, -200, 300, -400), SIMPLEREGION);
    s.GetClipBox(box);
    EXPECT_EQ(box, (Rect{100, -200, 300, -400}));

    // Moving the origin afterwards does not move the clip on the device.
    s.SetViewportOrg(50, 0);
    s.GetClipBox(box);
    EXPECT_EQ(box, (Rect{50, -200, 250, -400}));

    EXPECT_EQ(s.IntersectClipRect(1000, -1000, 1100, -1100), NULLREGION);
    s.GetClipBox(box);
    EXPECT_EQ(box, (Rect{}));

    DrawRegion circle = DrawRegion::FromEllipse({0, 0, 100, 100});
    EXPECT_EQ(s.SelectClipRgn(&circle), SIMPLEREGION);
    s.SetViewportOrg(0, 0);
    s.GetClipBox(box);
    EXPECT_EQ(box, (Rect{0, 0, 100, -100}));
    EXPECT_EQ(s.SelectClipRgn(nullptr), SIMPLEREGION);
    s.GetClipBox(box);
    EXPECT_EQ(box, (Rect{0, 0, 2100, -2970}));
}

TEST_F(DrawSurfaceTest, RegionsCombine)
{
    DrawRegion a = DrawRegion::FromRect({0, 0, 100, 100});
    DrawRegion b = DrawRegion::FromRect({50, 50, 150, 150});
    struct Case {
        RegionCombine how;
        Point inside, outside;
        Rect box;
    };
    const Case cases[] = {
        {RGN_AND, {75, 75}, {25, 25}, {50, 50, 100, 100}},
        {RGN_OR, {125, 125}, {125, 25}, {0, 0, 150, 150}},
        {RGN_DIFF, {25, 25}, {75, 75}, {0, 0, 100, 100}},
        {RGN_XOR, {125, 125}, {75, 75}, {0, 0, 150, 150}},
    };
    for (const Case& c : cases) {
        DrawRegion r = a.Combined(b, c.how);
        EXPECT_TRUE(r.Contains(c.inside)) << c.how;
        EXPECT_FALSE(r.Contains(c.outside)) << c.how;
        EXPECT_EQ(r.Box(), c.box) << c.how;
    }
    EXPECT_TRUE(DrawRegion::FromRect({0, 0, 10, 10}).Combined(DrawRegion::FromRect({20, 20, 30, 30}), RGN_AND).IsEmpty());
    // Right and bottom edges are outside, as with the system's rectangles.
    EXPECT_TRUE(a.Contains({99, 99}));
    EXPECT_FALSE(a.Contains({100, 50}));
    DrawRegion triangle = DrawRegion::FromPolygon({{0, 0}, {100, 0}, {0, 100}});
    EXPECT_TRUE(triangle.Contains({10, 10}));
    EXPECT_FALSE(triangle.Contains({80, 80}));
}

TEST_F(DrawSurfaceTest, RecorderKeepsEveryCallWithItsStateAndPage)
{
    DrawRecorder recorder(DrawRecorder::A4(600, 50, 60));
    DrawSurface s;
    ASSERT_TRUE(s.Attach(&recorder));
    EXPECT_FALSE(s.Attach(&recorder)) << "one target at a time";
    EXPECT_EQ(s.GetDeviceCaps().physicalOffsetX, 50);
    EXPECT_EQ(s.GetDeviceCaps().horzRes, 4961 - 100);

    EXPECT_EQ(s.StartDoc("Giro"), 1);
    EXPECT_EQ(s.StartPage(), 1);
    s.SetMapMode(MM_LOMETRIC);
    DrawFont arial = s.PointFont(120, "Arial");
    s.SelectFont(arial);
    s.SetTextAlign(TA_LEFT | TA_BOTTOM);
    s.TextOut(200, -300, "Stevneoppgj\xF8r");
    s.SelectPen({PenStyle::Solid, 2, 0});
    s.MoveTo(0, 0);
    s.LineTo(100, 0);
    s.EndPage();
    s.StartPage();
    s.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    s.TextOut(1150, -1900, "1250,00");
    s.DrawText("Sum", {0, 0, 400, -100}, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    s.EndPage();
    s.EndDoc();

    EXPECT_EQ(recorder.Pages(), 2);
    const DrawCall* title = recorder.FindText("Stevneoppgj\xF8r");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->args, (std::vector<int>{200, -300}));
    EXPECT_EQ(title->flags, static_cast<unsigned>(TA_LEFT | TA_BOTTOM));
    EXPECT_EQ(title->font, arial);
    EXPECT_EQ(recorder.PageOf(title), 1);

    const DrawCall* amount = recorder.FindText("1250,00");
    ASSERT_NE(amount, nullptr);
    EXPECT_EQ(amount->flags, static_cast<unsigned>(TA_RIGHT | TA_BOTTOM));
    EXPECT_EQ(recorder.PageOf(amount), 2);
    const DrawCall* sum = recorder.FindText("Sum");
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->name, "DrawText");
    EXPECT_EQ(sum->flags, static_cast<unsigned>(DT_RIGHT | DT_SINGLELINE | DT_VCENTER));

    std::vector<DrawCall> lines = recorder.Find("LineTo");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].args, (std::vector<int>{100, 0}));
    EXPECT_EQ(lines[0].pen.width, 2);
    EXPECT_EQ(recorder.Find("StartDoc").at(0).text, "Giro");
    EXPECT_EQ(recorder.Find("SetMapMode").at(0).flags, static_cast<unsigned>(MM_LOMETRIC));

    EXPECT_EQ(s.Detach(), &recorder);
    EXPECT_FALSE(s.TextOut(0, 0, "lost")) << "a detached surface draws nothing";
    EXPECT_EQ(recorder.FindText("lost"), nullptr);
}

}  // namespace
