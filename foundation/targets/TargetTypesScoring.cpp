// Scoring of a shot on a target type: the ring value from the distance to the
// centre, and the hit tests of the figure outlines. The range control scores
// shots itself only when they come without a value: simulated shots and the
// outside range system's shots; its own target units send theirs valued.
#include "foundation/targets/TargetTypes.h"

#include <cmath>
#include <cstdlib>

namespace {

// Coordinates are clamped here before any arithmetic: a shot this far off
// (over 30 km) lies outside every figure whatever the clamp does to its
// direction, and the squares of two such numbers still add up in 64 bits.
constexpr int64_t kFar = 1'000'000'000;

int64_t Clamp(int64_t v) { return v < -kFar ? -kFar : (v > kFar ? kFar : v); }

// mm to 1/32 mm, truncated towards zero; NaN reads as 0.
int32_t ToUnits(double mm)
{
    double units = mm * 32.0;
    if (std::isnan(units))
        return 0;
    if (units <= -kFar)
        return static_cast<int32_t>(-kFar);
    if (units >= kFar)
        return static_cast<int32_t>(kFar);
    return static_cast<int32_t>(units);
}

// Integer part of the length of (x, y).
int64_t IntDistance(int64_t x, int64_t y)
{
    uint64_t square = static_cast<uint64_t>(x * x) + static_cast<uint64_t>(y * y);
    auto r = static_cast<uint64_t>(std::sqrt(static_cast<double>(square)));
    while (r * r > square)
        --r;
    while ((r + 1) * (r + 1) <= square)
        ++r;
    return static_cast<int64_t>(r);
}

// Directions from the centre in the order of a clockwise sweep that starts at
// the top: four sectors of the right half (top, upper right, lower right,
// bottom), and within a sector the exact order of the two directions. (A
// coarser comparison within a sector, by the ratio of the coordinates in whole
// percent, picks the wrong edge for shots just past a corner and counts shots
// outside the corner as hits.)
int SweepSector(int64_t x, int64_t y)
{
    if (x > std::llabs(y))
        return y >= 0 ? 2 : 3;
    return y >= 0 ? 1 : 4;
}

// Whether point p lies at or past the direction of the shot s in the sweep.
bool ReachesDirection(int64_t px, int64_t py, int64_t sx, int64_t sy)
{
    int sp = SweepSector(px, py), ss = SweepSector(sx, sy);
    if (sp != ss)
        return sp > ss;
    // A sector spans less than half a turn, so the sign of the cross product
    // orders the two directions; clockwise is negative with y upwards.
    return sx * py - sy * px <= 0;
}

enum EdgeSide { kOutside, kInside, kNoEdge };

// Side of the edge a -> b on which the shot lies, the bullet's reach counting
// as inside. The outlines run clockwise, so the centre's side is positive. An
// edge of length zero has no side.
EdgeSide InsideEdge(const OutlineItem& a, const OutlineItem& b, int64_t px, int64_t py, int64_t tolerance)
{
    int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
    int64_t length = IntDistance(dx, dy);
    if (length == 0)
        return kNoEdge;
    int64_t s = (dy * (px - a.x) - dx * (py - a.y)) / length;
    return s >= -tolerance ? kInside : kOutside;
}

// A shot's edge counts from the hole's inner edge on most faces; these are
// gauged from other points of the hole.
double GaugeOffset(int code, double bulletRadius)
{
    switch (code) {
    case 8:  // the hole must lie wholly inside the ring
    case 14:
    case 96:
        return -bulletRadius;
    case 10:  // biathlon: the centre and a sixth of the bullet
    case 97:
        return -bulletRadius / 6;
    default:
        return bulletRadius;
    }
}

// The 15 m DSU face is gauged from the hole's outer edge, and its printed
// inner ten (43/32 mm) is smaller than the bullet: no hole fits inside it.
// Its inner ten is a hole lying wholly within 4.25 mm of the centre.
constexpr int kDsuCode = 14;
constexpr double kDsuInnerTenGauge = 4.25;

}  // namespace

int CTargetTypes::ScoreRing(double distance, int code, double bulletRadius) const
{
    if (std::isnan(distance) || std::isnan(bulletRadius))
        return 0;
    double radius[12];
    for (int k = 0; k < 12; ++k)
        radius[k] = GetRingRadius(code, k);
    int lowest = GetLowestRing(code), highest = GetHighestRing(code);

    double b = GaugeOffset(code, bulletRadius);
    double d = distance - b;
    if (!(d <= radius[lowest]))  // a shot exactly on the outer ring still scores
        return 0;

    int zone = lowest;
    for (int k = GetTopZone(code); k >= lowest; --k) {
        double r = radius[k];
        if (k > highest)
            r = code == kDsuCode ? kDsuInnerTenGauge : radius[11];
        if (d <= r) {
            zone = k;
            break;
        }
    }

    // Hundredths: the position inside the ring from its outer edge (0) to its
    // inner edge; in the top ring and the inner ten, from the ten's edge to
    // the centre.
    double h;
    if (zone < highest)
        h = (radius[zone] - d) * 100 / (radius[zone] - radius[zone + 1]);
    else if (code == 0 || code == 1 || code == 2 || code == 5 || code == 16 || code == 17)
        h = (radius[10] - d) * 100 / radius[10];
    else if (code == 33 || code == 38)  // the elk's inner zone stands for the ten
        h = (radius[5] - d) * 100 / (radius[5] + b);
    else
        h = (radius[10] - d) * 100 / (radius[10] + b);
    int hundredths = 0;
    if (h > 99)
        hundredths = 99;
    else if (h > 0)
        hundredths = static_cast<int>(h);
    return zone <= highest ? zone * 100 + hundredths : 1100 + hundredths;
}

int CTargetTypes::Score(double x, double y, int code, double bulletRadius, int) const
{
    if (std::isnan(x) || std::isnan(y))
        return 0;
    // The bullet's reach on the outlines: the same shot always gets the same value.
    int32_t tolerance = ToUnits(bulletRadius);
    int32_t ux = ToUnits(x), uy = ToUnits(y);

    int group = GetGroup(code);
    if (group == 4 || group == 5)
        return 10 * FigureHit(ux, uy, GetFigureEntry(code), tolerance);

    int value = ScoreRing(std::sqrt(x * x + y * y), code, bulletRadius);
    if (value != 0)
        return value;
    if (code == 34)  // on the roe deer outside the rings: a hit
        return 10 * FigureHit(ux, uy, 0, tolerance);
    if (IsSwedish() && (code == 33 || code == 37)) {
        // On the animal outside the rings: counted apart from the rings.
        int hit = 10 * FigureHit(ux, uy, code == 33 ? 1 : 2, tolerance);
        return hit != 0 ? hit + 1100 : 0;
    }
    return 0;
}

int CTargetTypes::FigureHit(int32_t x, int32_t y, int entry, int32_t tolerance)
{
    const FigureOutline* figure = GetOutline(entry);
    if (!figure)
        return 0;
    bool mirror = x < 0;
    const OutlineItem* outer = figure->items + figure->start[mirror ? 1 : 0];
    const OutlineItem* inner = figure->items + figure->start[mirror ? 3 : 2];
    if (!InsideOutline(x, y, outer, mirror, tolerance))
        return 0;
    return InsideOutline(x, y, inner, mirror, tolerance) ? 110 : 10;
}

bool CTargetTypes::InsideOutline(int32_t x, int32_t y, const OutlineItem* outline, bool mirror, int32_t tolerance)
{
    int64_t px = Clamp(mirror ? -int64_t{x} : int64_t{x});
    int64_t py = Clamp(y);
    int64_t t = Clamp(tolerance);

    // The header's circles decide most shots without the edges.
    int64_t r = IntDistance(px, py) - t;
    if (r <= outline[0].x)
        return true;
    if (r > outline[0].y)
        return false;

    // Only the edge that spans the shot's direction decides.
    for (size_t i = 1;;) {
        const OutlineItem& item = outline[i];
        switch (item.kind) {
        case kOutlineLine: {
            const OutlineItem& next = outline[i + 1];
            if (ReachesDirection(next.x, next.y, px, py)) {
                EdgeSide side = InsideEdge(item, next, px, py, t);
                if (side != kNoEdge)
                    return side == kInside;
            }
            i += 1;
            break;
        }
        case kOutlineArc: {
            const OutlineItem& centre = outline[i + 1];
            const OutlineItem& end = outline[i + 2];
            if (ReachesDirection(end.x, end.y, px, py)) {
                if (InsideEdge(item, end, px, py, t) == kInside)
                    return true;
                // Between the chord and the arc.
                return IntDistance(px - centre.x, py - centre.y) - t <=
                       IntDistance(int64_t{end.x} - centre.x, int64_t{end.y} - centre.y);
            }
            i += 2;
            break;
        }
        case kOutlineSkip:
            i += 1;
            break;
        default:  // the last point
            return false;
        }
    }
}
