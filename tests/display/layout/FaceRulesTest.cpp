// The rules of a target face: its type, its zoom, its figure and animal.
#include <gtest/gtest.h>

#include <cstring>

#include "display/layout/FaceRules.h"
#include "display/model/VisTarget.h"

namespace {

using namespace FaceRules;

TEST(FaceRulesTest, RunningTargetIsDrawnAsTheSeriesTargetAndSensitivity)
{
    struct Case {
        int card, seriesTarget, sensitivity, drawn;
    } cases[] = {
        {29, 2, 2, 21}, {29, 2, 1, 22}, {29, 1, 2, 19}, {29, -1, 1, 20}, {5, 2, 1, 5}, {21, 1, 1, 21},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EffectiveTargetType(c.card, c.seriesTarget, c.sensitivity), c.drawn)
            << c.card << " " << c.seriesTarget << " " << c.sensitivity;
}

TEST(FaceRulesTest, ZoomTextAllowsRingsButRingZeroOnlyOnFigures)
{
    EXPECT_TRUE(RingAllowed("0123456789X", 10, false));
    EXPECT_FALSE(RingAllowed("0123456789", 10, false));
    EXPECT_FALSE(RingAllowed("0123456789X", 0, false));
    EXPECT_TRUE(RingAllowed("", 0, true));  // a figure may always be shown whole
    EXPECT_FALSE(RingAllowed("0123456789X", 11, true));
    EXPECT_TRUE(RingAllowed("57", 5, false));
    EXPECT_FALSE(RingAllowed("57", 6, false));
}

// A target of type 1 (rings 1..10, ring n of radius 550 - 50 n mm, zoomed
// to ring 9 at most, bullet 4 mm) with shots at given distances (mm) from
// the centre.
struct Face {
    CVisTarget t{1};
    CTargetTypes types;
    int code = 1;

    void Shots(std::initializer_list<double> distances, int value = 900)
    {
        int n = 0;
        for (double d : distances) {
            ++n;
            ShotRecord& s = t.shots.shots[n - 1];
            s.state = CDataComp::kSlotShot;
            s.flags = 0x81;
            s.y = static_cast<int32_t>(d * 1000);
            s.value = static_cast<int16_t>(value);
            t.shownShotMap[n] = n - 1;
        }
        t.currentShotCount = n;
    }
    int Zoom(int first) { return ChooseZoom(t, types, code, 1.0, first); }
};

TEST(FaceRulesTest, ZoomsOutForShotsAndNeverInWhileShotsAreAdded)
{
    Face f;
    // Without shots: the deepest zoom.
    EXPECT_EQ(f.Zoom(0), 9);
    EXPECT_EQ(f.t.zoomRing, 9);
    // Shots within ring 9 keep it; 124 mm out needs ring 8.
    f.Shots({60});
    EXPECT_EQ(f.Zoom(1), -1);
    f.Shots({60, 120});
    EXPECT_EQ(f.Zoom(2), 8);
    EXPECT_EQ(f.t.zoomRing, 8);
    // A shot near the centre added later does not zoom in again.
    f.Shots({60, 120, 5});
    EXPECT_EQ(f.Zoom(3), -1);
    EXPECT_EQ(f.t.zoomRing, 8);
    // A look at all shots (the face drawn afresh) takes the zoom they need,
    // in or out.
    f.Shots({5});
    EXPECT_EQ(f.Zoom(0), 9);
    f.Shots({460});
    EXPECT_EQ(f.Zoom(1), 1);
    // Misses of a ring face do not count.
    f.Shots({60});
    EXPECT_EQ(f.Zoom(0), 9);
    f.Shots({60, 900});
    f.t.shots.shots[1].value = 0;
    EXPECT_EQ(f.Zoom(2), -1);
    EXPECT_EQ(f.t.zoomRing, 9);
}

TEST(FaceRulesTest, ZoomTakesTheNearestAllowedRingBelowElseAbove)
{
    struct Case {
        const char* text;
        double distance;
        int zoom;
    } cases[] = {
        {"57X", 120, 7},    // 8 not allowed: 7 below it
        {"57X", 420, 5},    // 2 not allowed, nothing below (ring 0 is no ring face's): 5 above
        {"", 120, 8},       // nothing allowed: the zoom as worked out
        {"0", 460, 1},      // ring 0 only for figures
        {"0123456789X", 60, 9},
    };
    for (const Case& c : cases) {
        Face f;
        std::strcpy(f.t.zoomText, c.text);
        f.Shots({c.distance});
        f.Zoom(0);
        EXPECT_EQ(f.t.zoomRing, c.zoom) << c.text << " " << c.distance;
    }
}

TEST(FaceRulesTest, FiguresZoomToTheWholeFigure)
{
    // A game figure (33, rings 3..5 of 225, 175, 125 mm) without shots is
    // shown whole; a shot beyond its lowest ring shows it whole again.
    Face elk;
    elk.code = 33;
    EXPECT_EQ(elk.Zoom(0), 0);
    elk.Shots({10}, 500);
    EXPECT_EQ(elk.Zoom(1), 5);
    elk.Shots({10, 300}, 0);  // figures zoom on every shot, misses too
    EXPECT_EQ(elk.Zoom(2), 0);

    // A field figure has no rings but its outline: any shot shows it whole.
    Face field;
    field.code = 64;
    field.Shots({20}, 1000);
    EXPECT_EQ(field.Zoom(0), 0);
}

TEST(FaceRulesTest, FigureOutlinesAndAnimalsIncludingTheSwedishOnes)
{
    struct Outline {
        int code;
        bool swedish;
        int entry;
    } outlines[] = {
        {64, false, 3}, {79, false, 18}, {80, false, 19}, {89, false, 28},
        {40, false, 30}, {98, false, 29}, {34, false, 0}, {33, false, 0},
        {33, true, 1}, {38, true, 1}, {37, true, 2}, {37, false, 0},
    };
    for (const Outline& o : outlines)
        EXPECT_EQ(OutlineEntry(o.code, o.swedish), o.entry) << o.code << (o.swedish ? " SE" : "");

    struct Animal {
        int code;
        bool swedish;
        int count;
        double factor;
        bool plain, mirrored;
    } animals[] = {
        {33, false, 15, 5.0, true, true},      {33, true, 13, 5.0, true, true},
        {38, false, 15, 1.25, true, true},     {38, true, 13, 3.125, true, true},
        {37, false, 11, 100.0 / 23, true, true}, {37, true, 11, 100.0 / 23, true, false},
        {40, false, 12, 1000.0 / 333, false, true}, {34, false, 12, 1000.0 / 333, true, false},
        {32, false, 11, 25.0 / 9, true, false},  {35, false, 6, 1000.0 / 333, true, false},
        {27, false, 9, 100.0 / 41, true, false}, {1, false, 0, 0, true, false},
    };
    for (const Animal& a : animals) {
        CardPicture::Silhouette s = GameFigure(a.code, a.swedish);
        EXPECT_EQ(s.count, a.count) << a.code;
        if (a.count == 0)
            continue;
        EXPECT_NEAR(s.factor, a.factor, 1e-9) << a.code;
        EXPECT_EQ(s.plain, a.plain) << a.code;
        EXPECT_EQ(s.mirrored, a.mirrored) << a.code;
    }
}

}  // namespace
