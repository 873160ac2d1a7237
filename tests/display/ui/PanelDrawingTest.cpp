// Panels drawn by the display loop's ticks: the newest shot marked, shots
// added over the face as it stands, and a window that after every shot
// looks exactly as one drawn afresh from the same files.
#include <gtest/gtest.h>

#include <cmath>

#include "PaintFixture.h"
#include "RunCommand.h"
#include "display/layout/GraphicGeometry.h"

namespace bvtest {
namespace {

constexpr uint32_t kShotColour = 0x00FF00, kNewestColour = 0x0000FF;

class PanelDrawingTest : public InTempFolder {
protected:
    void SetUp() override
    {
        range = std::make_unique<RangeFolder>("R1");
        for (int lane : {3, 4, 5})
            range->Card(1, lane);
        DisplayFiles::Event(1, "Bane 1", "R1");
        // Two faces and a list row of the same lanes.
        DisplayFiles::Picture(1, "Skiver", {{3}, {4}, {3, 1, 2}}, {{VisItems::kShowPlace, 1}});
        DisplayFiles::Profile({{1, 10}});
    }
    // A shot x, y mm from the centre, valued as the face scores it unless a value is given.
    void Shot(int lane, double x, double y, int value = -1)
    {
        ShotRecord s;
        std::memset(&s, 0, sizeof s);
        s.state = CDataComp::kSlotShot;
        s.flags = static_cast<uint16_t>(CDataComp::kFlagFromTarget | 0x80);
        s.x = static_cast<int32_t>(std::lround(x * 1000));
        s.y = static_cast<int32_t>(std::lround(y * 1000));
        s.value = static_cast<int16_t>(value >= 0 ? value : types.Score(x, y, 1, types.GetBulletRadius(1)));
        s.series = 1;
        s.temperature = 12700;
        ASSERT_GT(range->data.AddShot(1, lane, s, nullptr, 100, 0), 0);
    }
    // Where a shot's centre is on the face of element k.
    static QPoint Centre(PaintedDisplay& d, int k, double x, double y)
    {
        CVisTarget& t = d.Target(k);
        platform::Rect f = PicturePainter::FaceRect(t);
        return {(f.left + f.right) / 2 + static_cast<int>(std::lround(x * t.pixelScale)),
                (f.top + f.bottom) / 2 + static_cast<int>(std::lround(-y * t.pixelScale))};
    }
    static QImage Fresh()
    {
        PaintedDisplay d(800, 450);
        d.Tick(3);
        return d.window.Image();
    }

    std::unique_ptr<RangeFolder> range;
    CTargetTypes types;
};

TEST_F(PanelDrawingTest, NewestShotInItsOwnColourAndShotsBelowTheZoomLeftOut)
{
    PaintedDisplay d(800, 450);
    d.Tick(3);
    Shot(3, 0, 60);
    d.Tick(2);
    QImage image = d.window.Image();
    QPoint a = Centre(d, 0, 0, 60);
    EXPECT_EQ(ColourAt(image, a.x(), a.y()), kNewestColour);
    Shot(3, 50, -20);
    d.Tick(2);
    image = d.window.Image();
    QPoint b = Centre(d, 0, 50, -20);
    EXPECT_EQ(ColourAt(image, b.x(), b.y()), kNewestColour);
    EXPECT_EQ(ColourAt(image, a.x(), a.y()), kShotColour);  // the one before, repainted
    EXPECT_EQ(d.Target(0).zoomRing, 9);

    // Lane 4: a shot valued below the zoom ring its place needs is not drawn.
    Shot(4, 0, 30, 850);
    d.Tick(2);
    image = d.window.Image();
    QPoint c = Centre(d, 1, 0, 30);
    EXPECT_EQ(d.Target(1).zoomRing, 9);
    EXPECT_NE(ColourAt(image, c.x(), c.y()), kNewestColour);
    EXPECT_NE(ColourAt(image, c.x(), c.y()), kShotColour);
}

TEST_F(PanelDrawingTest, AfterEveryShotTheWindowLooksAsOneDrawnAfresh)
{
    // The font engine draws a glyph it has not drawn before a shade apart at
    // its edges from the same glyph drawn later: each state is drawn afresh
    // once before the window draws it, so both sides use the glyphs alike.
    Fresh();
    PaintedDisplay d(800, 450);
    d.Tick(3);
    ASSERT_EQ(FirstDifference(d.window.Image(), Fresh()), "");
    // Shots near and far (a zoom out on the way), and past the first page of the list.
    const double shots[][2] = {{5, 10},  {-20, 40}, {60, -30}, {0, -2},  {140, 90}, {-30, -30},
                               {10, 0},  {-4, 3},   {20, 22},  {-50, 8}, {33, -60}, {1, 1}};
    int n = 0;
    for (const auto& s : shots) {
        Shot(3, s[0], s[1]);
        if (++n % 3 == 0)
            Shot(4, -s[0], s[1]);
        Fresh();
        d.Tick(2);
        ASSERT_EQ(FirstDifference(d.window.Image(), Fresh()), "") << "after shot " << n;
    }
    // The incremental drawing was the one at work: the far shot zoomed out.
    EXPECT_EQ(d.Target(0).zoomRing, 7);
    EXPECT_EQ(d.Target(0).firstListShot, 11);
}

TEST_F(PanelDrawingTest, APanelThatLosesItsErrorIsDrawnWhole)
{
    // Lane 6 has no card yet: its panel says so.
    DisplayFiles::Picture(1, "Skiver", {{6}, {4}});
    Fresh();
    PaintedDisplay d(800, 450);
    d.Tick(3);
    ASSERT_TRUE(d.Target(0).HasError());
    range->Card(1, 6);
    Shot(6, 10, 10);
    Fresh();
    d.Tick(3);
    ASSERT_FALSE(d.Target(0).HasError());
    EXPECT_EQ(FirstDifference(d.window.Image(), Fresh()), "");
}

TEST_F(PanelDrawingTest, HeaderNamesEventRelayAndSeriesAndShowsTheClockWhenAsked)
{
    struct Case {
        const char* what;
        bool clock;
        bool twoEvents;
        const char* event;  // nullptr: no event text
        bool clockDrawn;
    } cases[] = {
        {"one event with the clock", true, false, "Bane 1 - IDS_HEAD_PART1 1", true},
        {"one event without the clock", false, false, "Bane 1 - IDS_HEAD_PART1 1", false},
        {"two events", true, true, nullptr, false},
    };
    for (const Case& c : cases) {
        CVisData data;
        RecorderWindow window(1280, 720);
        PicturePainter painter(data, window);
        data.drawRect = {0, 0, 1280, 720};
        CVisPicture& pic = data.AddPicture(1);
        data.current = &pic;
        pic.showClock = c.clock;
        CVisEvent& e1 = data.AddEvent(1);
        CVisEvent& e2 = data.AddEvent(2);
        std::strcpy(e1.name, "Bane 1");
        for (int k = 0; k < 2; ++k) {
            CVisTarget& t = pic.AddTarget(k + 1);
            t.viewFlags = 0x30307;
            t.event = k == 1 && c.twoEvents ? &e2 : &e1;
            t.active.relay = 1;
            std::strcpy(t.values[CVisTarget::kValSeriesName].text, "Serie 1");
        }
        std::strcpy(pic.targets[0]->clockText, "12:34");
        pic.singleEvent = !c.twoEvents;
        ASSERT_EQ(painter.LayoutPicture(true), 0);
        window.recorder.Clear();
        painter.DrawHeader(true);
        const platform::DrawCall* event = window.recorder.FindText("Bane 1 - IDS_HEAD_PART1 1");
        EXPECT_EQ(event != nullptr, c.event != nullptr) << c.what;
        EXPECT_EQ(window.recorder.FindText("Serie 1") != nullptr, c.event != nullptr) << c.what;
        const platform::DrawCall* clock = window.recorder.FindText("12:34");
        EXPECT_EQ(clock != nullptr, c.clockDrawn) << c.what;
        if (clock) {
            // Centred in the header's eighth tenth.
            EXPECT_TRUE(clock->flags & platform::DT_CENTER);
            EXPECT_GE(clock->args[0], 896);
            EXPECT_LE(clock->args[2], 1024);
            EXPECT_STREQ(pic.targets[0]->clockTextDrawn, "12:34");
        }
        EXPECT_FALSE(pic.headerChanged);
        EXPECT_EQ(painter.DrawClockLine(true), c.twoEvents ? -1 : 1) << c.what;
    }
}

TEST_F(PanelDrawingTest, MessageScreenWithoutAPictureIsBlackOnWhite)
{
    CVisData data;
    PictureWindow window(400, 200);
    PicturePainter painter(data, window);
    data.drawRect = {0, 0, 400, 200};
    window.bitmap.Clear(0x00FFFF);
    data.SetError("IDS_ERROR_NOPICT");
    painter.DrawMessageScreen();
    QImage image = window.Image();
    int white = 0, black = 0, other = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) {
            uint32_t c = ColourAt(image, x, y);
            (c == 0xFFFFFF ? white : (c == 0 ? black : other))++;
        }
    EXPECT_GT(white, 400 * 200 / 2);
    EXPECT_GT(black, 200);
    EXPECT_EQ(ColourAt(image, 0, 0), 0xFFFFFFu);
}

TEST_F(PanelDrawingTest, OffScreenPicturesAreWhiteAndSavedAsPng)
{
    PaintedDisplay d(800, 450);
    d.Tick(3);
    d.data.drawRect = {0, 0, 240, 180};
    PicturePainter& p = d.painter;
    ASSERT_EQ(p.BeginDraw(false), 0);
    ASSERT_EQ(p.LayoutPicture(false), 0);
    for (auto& t : d.Picture().targets) {
        p.LayoutPanel(*t, false);
        t->redrawMask = -1;
        p.DrawPanel(*t, false);
    }
    p.EndDraw(false, ".\\export.png");
    const int passes = d.window.passes;
    QImage image("export.png");
    ASSERT_EQ(image.size(), QSize(240, 180));
    EXPECT_EQ(d.window.passes, passes);  // the window was not drawn on
    int check = -1;
    std::string report = RunCommand("pngcheck export.png 2>&1", &check);
    EXPECT_EQ(check, 0) << report;
    // Without a drawing pass open, nothing is drawn and nothing breaks.
    EXPECT_EQ(p.Graphic().FillBox({0, 0, 10, 10}, 0, 0), -1);
}

}  // namespace
}  // namespace bvtest
