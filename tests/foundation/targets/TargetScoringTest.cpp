// Scoring of shots: ring values, the figure outlines' hit tests, and the
// outlines themselves as the card pictures and the display draw them.
#include "foundation/targets/TargetTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

struct RingCase {
    int code;
    double distance;  // mm from the centre
    int value;
};

// Entries the scoring reads: the game animals, the field figures, and entry 0
// facing the other way. Entry 29 only decorates a picture.
std::vector<int> ScoredEntries()
{
    std::vector<int> entries;
    for (int e = 0; e <= 28; ++e)
        entries.push_back(e);
    entries.push_back(30);
    return entries;
}

// One outline drawn as the pictures draw it: lines, and arcs about their
// centres from their start to their end, flattened into points (1/32 mm).
struct Point {
    double x, y;
};
std::vector<Point> Flatten(const OutlineItem* outline)
{
    std::vector<Point> points;
    for (size_t i = 1;;) {
        const OutlineItem& item = outline[i];
        if (item.kind == kOutlineLine) {
            points.push_back({double(item.x), double(item.y)});
            i += 1;
        } else if (item.kind == kOutlineArc) {
            const OutlineItem& c = outline[i + 1];
            const OutlineItem& e = outline[i + 2];
            double r = std::hypot(e.x - c.x, e.y - c.y);
            double a0 = std::atan2(item.y - c.y, item.x - c.x), a1 = std::atan2(e.y - c.y, e.x - c.x);
            while (a1 > a0)
                a1 -= 2 * M_PI;  // clockwise
            for (int k = 0; k < 64; ++k) {
                double a = a0 + (a1 - a0) * k / 64;
                points.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
            }
            i += 2;
        } else if (item.kind == kOutlineSkip) {
            i += 1;
        } else {
            points.push_back({double(item.x), double(item.y)});
            return points;
        }
    }
}

// The drawn zone of one half: the outline closed through the centre line.
double DistanceToSegment(Point p, Point a, Point b)
{
    double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
    double t = l2 == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}
bool InsidePolygon(const std::vector<Point>& poly, Point p)
{
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
            p.x < (poly[j].x - poly[i].x) * (p.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
            inside = !inside;
    return inside;
}
double DistanceToOutline(const std::vector<Point>& poly, Point p)
{
    double d = 1e18;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        d = std::min(d, DistanceToSegment(p, poly[j], poly[i]));
    return d;
}

}  // namespace

TEST(TargetScoring, RingValues)
{
    CTargetTypes t;
    const RingCase cases[] = {
        // Air rifle: the inner ten reaches beyond the centre.
        {23, 0, 1199},
        {23, 2.0, 1120},
        {23, 2.6, 996},
        {23, 25.0, 100},
        {23, 25.01, 0},
        // No bullet term in the hundredths of the big Norwegian and ISSF rifle faces.
        {0, 10, 1192},
        {0, 100, 972},
        {0, 754, 100},
        {0, 754.01, 0},
        // The elk's inner zone counts as the inner ten.
        {33, 10, 1192},
        {33, 80, 537},
        {33, 229, 300},
        // Biathlon: the centre plus a sixth of the bullet; one ring.
        {10, 22.0, 199},
        {10, 22.6, 0},
        {97, 40, 199},
        {97, 58.0, 0},
        {97, 10, 1199},
        // Gauged from the outer edge of the hole.
        {8, 10, 903},
        {8, 35, 652},
        {8, 40.3, 0},
        // One-ring game face: anything on it is 1 with full hundredths.
        {32, 100, 199},
        {32, 154, 199},
        {32, 154.1, 0},
        // A top ring below 10 always gets 99 hundredths.
        {34, 10, 599},
        {34, 104, 200},
        {34, 104.1, 0},
        // Set-spaced rings.
        {13, 200, 507},
        // Unlisted codes score on code 0's rings, with the usual bullet term.
        {31, 10, 1187},
        // DSU 15 m: outer edge; the inner ten is a hole wholly within 4.25 mm.
        {14, 0, 1199},
        {14, 1.4, 1148},
        {14, 1.5, 1044},
        {14, 2.7, 1000},
        {14, 2.71, 999},
        {14, 24.33, 134},
        {14, 25.3, 0},
    };
    for (const RingCase& c : cases)
        EXPECT_EQ(t.ScoreRing(c.distance, c.code, t.GetBulletRadius(c.code)), c.value)
            << "code " << c.code << " at " << c.distance;
}

TEST(TargetScoring, ShotsAtXY)
{
    struct Case {
        const char* language;
        int code;
        double x, y;  // mm
        int value;
    };
    const Case cases[] = {
        {"NO", 23, 0, -2.0, 1120},
        {"NO", 0, 60, 80, 972},
        // Fig C20 with a 4 mm bullet: the edge of the hole counts.
        {"NO", 64, 0, 0, 1100},
        {"NO", 64, 0, -55, 0},  // the edge is 1 mm below the cut line
        {"NO", 64, 0, -53, 100},
        {"NO", 64, 0, -25, 100},
        {"NO", 64, 0, -23, 1100},
        {"NO", 64, -70, 70, 100},
        {"NO", 64, 75, 75, 0},
        {"NO", 70, 0, 153.9, 100},
        {"NO", 70, 0, 154.1, 0},
        // Roe deer: on the animal outside the rings counts as a hit.
        {"NO", 34, 110, 0, 100},
        {"NO", 34, -110, 0, 100},
        {"NO", 34, 0, 125, 0},
        {"NO", 34, 170, 0, 0},
        // Swedish moose: on the animal outside the rings is told apart.
        {"SE", 33, 235, 0, 1200},
        {"NO", 33, 235, 0, 0},
        {"SE", 33, 0, 300, 0},
        {"SE", 33, 154, 0, 450},
        {"SE", 37, 0, 0, 599},
        {"SE", 37, 400, 0, 0},
        // Unlisted codes of the figure groups score on the first figure of their group.
        {"NO", 50, 0, -53, 100},
        {"NO", 92, 0, 0, 1100},
    };
    CTargetTypes t;
    for (const Case& c : cases) {
        t.SetLanguage(c.language);
        EXPECT_EQ(t.Score(c.x, c.y, c.code, t.GetBulletRadius(c.code)), c.value)
            << c.language << " code " << c.code << " at " << c.x << ", " << c.y;
    }
}

TEST(TargetScoring, ShotsFarOffTheFaceAndNonsense)
{
    // Far off, off every scale, and not numbers at all: a miss, never a wrap-around.
    const double far[] = {1e6, -1e6, 1e9, 3e9, 1e300, std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CTargetTypes t;
    for (int code : {0, 23, 33, 34, 37, 64, 77, 82, 89, 97}) {
        for (const char* language : {"NO", "SE"}) {
            t.SetLanguage(language);
            for (double v : far) {
                EXPECT_EQ(t.Score(v, 0, code, 4), 0) << code << " " << v;
                EXPECT_EQ(t.Score(0, v, code, 4), 0) << code << " " << v;
                EXPECT_EQ(t.Score(v, v, code, 4), 0) << code << " " << v;
                EXPECT_EQ(t.Score(-v, v, code, 4), 0) << code << " " << v;
            }
            EXPECT_EQ(t.Score(nan, 0, code, 4), 0);
            EXPECT_EQ(t.Score(0, nan, code, 4), 0);
            EXPECT_EQ(t.ScoreRing(nan, code, 4), 0);
        }
    }
    for (int32_t v : {INT32_MAX, INT32_MIN, INT32_MIN + 1, 2'000'000'000})
        for (int e : ScoredEntries()) {
            EXPECT_EQ(CTargetTypes::FigureHit(v, v, e, 0), 0);
            EXPECT_EQ(CTargetTypes::FigureHit(v, INT32_MIN, e, 128), 0);
            EXPECT_EQ(CTargetTypes::FigureHit(0, v, e, 0), 0);
            EXPECT_EQ(CTargetTypes::FigureHit(v, 0, e, 0), 0);
        }
    EXPECT_EQ(CTargetTypes::FigureHit(0, 0, 31, 0), 0);
    EXPECT_EQ(CTargetTypes::FigureHit(0, 0, -1, 0), 0);
}

TEST(TargetScoring, SameShotSameValueWhateverWasScoredBefore)
{
    // The bullet's reach on the animal outline is the shot's own, not the last
    // figure's: a shot 1 mm outside the roe deer's chest line is a hit with a
    // 4 mm bullet, and stays one after a smaller bullet scored a field figure.
    CTargetTypes t;
    const double x = 159.485, y = 4.828;
    int first = t.Score(x, y, 34, 4.0);
    EXPECT_EQ(first, 100);
    EXPECT_EQ(t.Score(0, 0, 64, 0.0), 1100);
    EXPECT_EQ(t.Score(x, y, 34, 4.0), first);
    EXPECT_EQ(t.Score(x, y, 34, 0.0), 0);
}

TEST(TargetScoring, OutlineToleranceIsTheBulletsReach)
{
    // A point 5 units (1/32 mm) outside the cut line of Fig C20 is inside with
    // a reach of 5 and outside with 4; the same on the arc.
    for (auto [x, y] : {std::pair{0, -1605}, std::pair{0, 3205}, std::pair{3205, 0}, std::pair{-3205, 0}}) {
        EXPECT_EQ(CTargetTypes::FigureHit(x, y, 3, 5), 10) << x << "," << y;
        EXPECT_EQ(CTargetTypes::FigureHit(x, y, 3, 4), 0) << x << "," << y;
    }
    EXPECT_EQ(CTargetTypes::FigureHit(0, -645, 3, 5), 110);
    EXPECT_EQ(CTargetTypes::FigureHit(0, -645, 3, 4), 10);
}

TEST(TargetScoring, ShotsJustPastACorner)
{
    // Beside the corners of Fig 30x10 (150 mm, 50 mm) and of Fig M1/4's point:
    // a shot a third of a millimetre outside is outside, however close its
    // direction is to the corner's.
    struct Case {
        int entry;
        int32_t x, y;
        int hit;
    };
    const Case cases[] = {
        {17, 4810, 1595, 0},  {17, 4790, 1595, 10}, {17, 4795, 1605, 0},  {17, 4810, -1595, 0},
        {17, -4810, 1595, 0}, {17, -4790, -1595, 10}, {22, 2410, -1275, 0}, {22, 2390, -1275, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTargetTypes::FigureHit(c.x, c.y, c.entry, 0), c.hit) << c.entry << " at " << c.x << "," << c.y;
}

TEST(TargetScoring, EveryOutlineProbedAtEveryEdge)
{
    // Just inside and just outside the middle of every edge and arc of every
    // outline, on both halves.
    int probes = 0;
    for (int e : ScoredEntries()) {
        const FigureOutline* f = CTargetTypes::GetOutline(e);
        for (int o = 0; o < 4; ++o) {
            const OutlineItem* outline = f->items + f->start[o];
            if (outline[0].y == 0)
                continue;  // a bare header: the centre only
            bool mirror = o % 2 == 1;
            for (size_t i = 1; outline[i].kind != kOutlineLast;) {
                const OutlineItem& a = outline[i];
                double mx, my, nx, ny;  // middle and outward normal
                size_t next;
                if (a.kind == kOutlineArc) {
                    const OutlineItem& c = outline[i + 1];
                    const OutlineItem& b = outline[i + 2];
                    double r = std::hypot(b.x - c.x, b.y - c.y);
                    double a0 = std::atan2(a.y - c.y, a.x - c.x), a1 = std::atan2(b.y - c.y, b.x - c.x);
                    while (a1 > a0)
                        a1 -= 2 * M_PI;
                    double am = (a0 + a1) / 2;
                    nx = std::cos(am), ny = std::sin(am);
                    mx = c.x + r * nx, my = c.y + r * ny;
                    next = i + 2;
                } else if (a.kind == kOutlineLine) {
                    const OutlineItem& b = outline[i + 1];
                    mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
                    double len = std::hypot(b.x - a.x, b.y - a.y);
                    nx = -(b.y - a.y) / len, ny = (b.x - a.x) / len;  // clockwise: outward is to the left
                    next = i + 1;
                } else {
                    i += 1;
                    continue;
                }
                for (auto [d, inside] : {std::pair{-3.0, true}, std::pair{3.0, false}}) {
                    int32_t px = static_cast<int32_t>(std::lround(mx + d * nx));
                    int32_t py = static_cast<int32_t>(std::lround(my + d * ny));
                    if (px == 0)
                        continue;  // on the centre line: the other half decides
                    EXPECT_EQ(CTargetTypes::InsideOutline(mirror ? -px : px, py, outline, mirror, 0), inside)
                        << "entry " << e << " outline " << o << " item " << i << " at " << px << "," << py;
                    // The same point through the figure test, which picks the half by the sign.
                    if (o < 2) {
                        int hit = CTargetTypes::FigureHit(mirror ? -px : px, py, e, 0);
                        EXPECT_EQ(hit != 0, inside) << "entry " << e << " item " << i;
                    }
                    ++probes;
                }
                i = next;
            }
        }
    }
    EXPECT_GT(probes, 500);
}

TEST(TargetScoring, DrawnOutlinesAgreeWithTheHitTest)
{
    // Whatever the pictures draw is what scores: a grid of points over each
    // figure, each at least 1/8 mm from the drawn line, is a hit exactly when
    // it lies inside the drawn outer outline, and 110 exactly when inside the
    // drawn inner one too.
    for (int e : ScoredEntries()) {
        const FigureOutline* f = CTargetTypes::GetOutline(e);
        std::vector<Point> zone[4];
        for (int o = 0; o < 4; ++o)
            zone[o] = Flatten(f->items + f->start[o]);
        int32_t reach = f->items[0].y + 64;
        int32_t step = std::max(reach / 45, 7);
        int mismatches = 0;
        for (int32_t y = -reach; y <= reach; y += step)
            for (int32_t x = -reach; x <= reach; x += step) {
                bool left = x < 0;
                Point p{double(left ? -x : x), double(y)};
                const std::vector<Point>& outer = zone[left ? 1 : 0];
                const std::vector<Point>& inner = zone[left ? 3 : 2];
                if (DistanceToOutline(outer, p) < 4 || (inner.size() > 2 && DistanceToOutline(inner, p) < 4))
                    continue;
                int expected = 0;
                if (InsidePolygon(outer, p))
                    expected = (inner.size() > 2 && InsidePolygon(inner, p)) ? 110 : 10;
                int hit = CTargetTypes::FigureHit(x, y, e, 0);
                if (hit != expected && ++mismatches <= 5)
                    ADD_FAILURE() << "entry " << e << " at " << x << "," << y << ": " << hit << " drawn " << expected;
            }
    }
}

TEST(TargetScoring, OutlinesAreWellFormed)
{
    // Each outline runs clockwise from the top, each point at or past the one
    // before in the sweep the hit test walks, and its header's circles hold:
    // the inner one lies wholly inside, the outer one holds every point.
    for (int e = 0; e < CTargetTypes::kOutlineCount; ++e) {
        const FigureOutline* f = CTargetTypes::GetOutline(e);
        ASSERT_NE(f, nullptr);
        EXPECT_GT(f->referenceSize, 0);
        for (int o = 0; o < 4; ++o) {
            SCOPED_TRACE(testing::Message() << "entry " << e << " outline " << o);
            ASSERT_LT(f->start[o], f->count);
            const OutlineItem* outline = f->items + f->start[o];
            ASSERT_EQ(outline[0].kind, kOutlineHeader);
            size_t i = 1;
            while (outline[i].kind != kOutlineLast) {
                ASSERT_LT(f->start[o] + i + 1, f->count);
                if (outline[i].kind == kOutlineArc) {
                    ASSERT_EQ(outline[i + 1].kind, kOutlineCentre);
                    i += 2;
                } else {
                    ASSERT_TRUE(outline[i].kind == kOutlineLine || outline[i].kind == kOutlineSkip);
                    i += 1;
                }
            }
            if (outline[0].y == 0)
                continue;
            std::vector<Point> points = Flatten(outline);
            EXPECT_NEAR(points.front().x, 0, 1e-6);
            EXPECT_GT(points.front().y, 0);
            EXPECT_NEAR(points.back().x, 0, 1e-6);
            EXPECT_LT(points.back().y, 0);
            double nearest = 1e18, farthest = 0, angle = -1;
            for (size_t k = 0; k < points.size(); ++k) {
                double a = std::atan2(std::max(points[k].x, 0.0), points[k].y);
                EXPECT_GE(a, angle - 1e-9) << "point " << k;
                angle = a;
                farthest = std::max(farthest, std::hypot(points[k].x, points[k].y));
                if (k > 0)
                    nearest = std::min(nearest, DistanceToSegment({0, 0}, points[k - 1], points[k]));
            }
            EXPECT_LE(farthest, outline[0].y + 0.5);
            if (e != 29)  // the Swiss picture's outline is drawn only, never scored
                EXPECT_GE(nearest, outline[0].x - 0.5);
        }
    }
}

TEST(TargetScoring, SilhouettesReachAsFarAsTheirFigures)
{
    // Reach of each silhouette's outer zone from the centre, in mm.
    const std::pair<int, int> reach[] = {{0, 170},  {1, 281},  {2, 280},  {10, 233}, {11, 316}, {12, 289},
                                         {13, 315}, {14, 175}, {15, 388}, {21, 128}, {28, 586}};
    for (auto [e, mm] : reach) {
        const FigureOutline* f = CTargetTypes::GetOutline(e);
        EXPECT_EQ(f->items[0].y, mm * 32) << e;
        double farthest = 0;
        for (int o : {0, 1})
            for (Point p : Flatten(f->items + f->start[o]))
                farthest = std::max(farthest, std::hypot(p.x, p.y));
        EXPECT_NEAR(farthest, mm * 32, 16) << e;
    }
    // Left outlines of their own where the figure is not symmetric.
    const int leftOuter[][2] = {{0, 13}, {2, 11}, {10, 7}, {11, 6}, {21, 8}, {30, 0}};
    for (auto [e, start] : leftOuter)
        EXPECT_EQ(CTargetTypes::GetOutline(e)->start[1], start) << e;
    EXPECT_EQ(CTargetTypes::GetOutline(10)->start[3], 22);
    EXPECT_EQ(CTargetTypes::GetOutline(11)->start[3], 21);
    EXPECT_EQ(CTargetTypes::GetOutline(21)->start[3], 26);
    EXPECT_EQ(CTargetTypes::GetOutline(30)->start[0], 13);
    EXPECT_EQ(CTargetTypes::GetOutline(30)->items, CTargetTypes::GetOutline(0)->items);
}

TEST(TargetScoring, EdgesOfLengthZeroAreSkipped)
{
    // A square drawn with its top point and a corner twice: the repeated
    // points are passed over, never divided by, and the shots on either side
    // of the edges that follow are still told apart.
    const OutlineItem square[] = {
        {kOutlineHeader, 500, 1500}, {kOutlineLine, 0, 1000},      {kOutlineLine, 0, 1000},
        {kOutlineLine, 1000, 1000},  {kOutlineLine, 1000, -1000},  {kOutlineLine, 1000, -1000},
        {kOutlineLast, 0, -1000},
    };
    struct Case {
        int32_t x, y;
        bool inside;
    };
    const Case cases[] = {{0, 990, true},     {0, 1010, false},   {990, 990, true},  {1010, 990, false},
                          {990, 1010, false}, {995, 0, true},     {1005, 0, false},  {500, -995, true},
                          {500, -1005, false}, {990, -990, true}, {0, 0, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(CTargetTypes::InsideOutline(c.x, c.y, square, false, 0), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(CTargetTypes::InsideOutline(-c.x, c.y, square, true, 0), c.inside) << -c.x << "," << c.y;
    }
}
