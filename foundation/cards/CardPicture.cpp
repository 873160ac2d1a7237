#include "foundation/cards/CardPicture.h"

#include <algorithm>
#include <cmath>

namespace CardPicture {

namespace {

// Shots this far from the centre (in units of the scale) are taken as
// rubbish from the target and never drawn.
constexpr double kFarOut = 1500;

// The groups of the silhouette table, in table order.
enum AnimalGroup { kMoose, kDeer, kReindeer, kBoar, kRoeDeer, kFox, kGroups };
constexpr int kGroupCounts[kGroups] = {15, 11, 11, 9, 12, 6};

int GroupFirst(AnimalGroup group)
{
    int first = 0;
    for (int g = 0; g < group; ++g)
        first += kGroupCounts[g];
    return first;
}

// A radius to fit a face to; the lowest ring's, or the face's, where the
// asked ring has none (a level beyond the inner ten, or a face without rings).
double UsableRadius(const CTargetTypes& types, int code, int ring)
{
    double r = types.GetRingRadius(code, ring);
    if (r <= 0)
        r = types.GetRingRadius(code, types.GetLowestRing(code));
    if (r <= 0)
        r = types.GetFaceRadius(code);
    return r > 0 ? r : 1;
}

}  // namespace

bool IsFigureType(int code)
{
    int group = code / 16;
    return code >= 0 && (group == 2 || group == 4 || group == 5);
}

double BulletRadius(const PrintCard& card, int series, const CTargetTypes& types)
{
    if (series >= 0 && series < PrintCard::kSeriesSlots && card.seriesTarget[series] >= 0)
        return types.GetBulletRadius(card.seriesTarget[series]);
    return card.bulletRadius;
}

int ZoomLevel(const PrintCard& card, int series, const std::array<uint8_t, kLevels>& allowed,
              const CTargetTypes& types)
{
    int code = card.SeriesTargetType(series);
    bool figure = IsFigureType(code);
    double ratio = card.Ratio();
    double rmax = -1;
    for (const PrintShot& shot : card.shots) {
        if (!card.Counts(shot, series) || (!figure && shot.value == 0))
            continue;
        rmax = std::max(rmax, std::sqrt(shot.x * shot.x + shot.y * shot.y) * ratio);
    }
    int level = 0;
    if (rmax >= 0) {
        rmax += BulletRadius(card, series, types);
        int lowest = types.GetLowestRing(code);
        if (types.GetRingRadius(code, lowest) < rmax) {
            level = figure ? 0 : lowest;
        } else {
            level = 10;
            for (int i = lowest; i < types.GetTopZone(code); ++i) {
                if (types.GetRingRadius(code, i + 1) < rmax) {
                    level = i;
                    break;
                }
            }
        }
    }
    level = std::clamp(level, 0, kLevels - 1);
    if (!allowed[level]) {
        int found = -1;
        for (int i = level - 1; i >= 0 && found < 0; --i)
            if (allowed[i])
                found = i;
        for (int i = level + 1; i < kLevels && found < 0; ++i)
            if (allowed[i])
                found = i;
        if (found >= 0)
            level = found;
    }
    return std::min(level, types.GetMaxZoomRing(code));
}

Offsets TrueSizeOffsets(const PrintCard& card, int series, int u)
{
    double ratio = card.Ratio(), sx = 0, sy = 0;
    int n = 0;
    for (const PrintShot& shot : card.shots) {
        if (!card.Counts(shot, series))
            continue;
        double x = ratio * shot.x * u, y = ratio * shot.y * u;
        if (std::fabs(x) >= kFarOut * u || std::fabs(y) >= kFarOut * u)
            continue;
        sx += x;
        sy += y;
        ++n;
    }
    Offsets offsets;
    if (n > 0) {
        offsets.ox = static_cast<int>(-(sx / n));
        offsets.oy = static_cast<int>(-(sy / n));
    }
    return offsets;
}

FaceScale ScaleOf(const CTargetTypes& types, int code, int level, int width, int height, int size, bool trueSize,
                  int u)
{
    FaceScale face;
    face.scale = trueSize ? u : 0;
    if (IsGameFigure(code)) {
        if (level < types.GetLowestRing(code)) {
            // The animal whole, fitted by width or height, whatever the option.
            double fw = types.GetFigureWidth(code), fh = types.GetFigureHeight(code);
            double byWidth = fw > 0 ? width / fw : 0, byHeight = fh > 0 ? height / fh : 0;
            face.wholeAnimal = true;
            if (byWidth <= byHeight) {
                face.scale = 0.5 * byWidth;
                face.radius = fw;
            } else {
                face.scale = 0.5 * byHeight;
                face.radius = fh;
            }
        } else {
            face.radius = UsableRadius(types, code, level);
            face.scale = size / (2 * face.radius);
        }
        return face;
    }
    // Field figures are drawn on the scale of the 300 m face's rings.
    int ringCode = IsFieldFigure(code) ? 49 : code;
    face.radius = UsableRadius(types, ringCode, std::max(level, types.GetLowestRing(ringCode)));
    if (!trueSize)
        face.scale = size / (2 * face.radius);
    return face;
}

std::vector<Ring> Rings(const CTargetTypes& types, int code, int level, double scale)
{
    std::vector<Ring> rings;
    int top = types.GetMaxValue(code) / 100;
    for (int i = std::max(level, types.GetLowestRing(code)); i <= types.GetTopZone(code); ++i) {
        int ring = i > top ? 11 : i;
        double r = types.GetRingRadius(code, ring);
        if (r > 0)
            rings.push_back({ring, r * scale});
    }
    return rings;
}

std::vector<RingLabel> RingLabels(const CTargetTypes& types, int code, int level, double scale, int u,
                                  int textHeight)
{
    std::vector<RingLabel> labels;
    int top = types.GetMaxValue(code) / 100;
    int sides = types.GetRingLabelSides(code);
    double half = textHeight / 2.0;
    for (int i = std::max(level, types.GetFirstRingLabel(code)); i <= types.GetLastRingLabel(code); ++i) {
        int next = i + 1 > top ? 11 : i + 1;
        double ri = types.GetRingRadius(code, i), rn = types.GetRingRadius(code, next);
        if (ri <= 0)
            continue;
        double halfBand = (ri - rn) * scale / 2;
        // Narrow rings keep their numbers apart by numbering every other one.
        if (halfBand <= 1.5 * u && i % 2 == 0)
            continue;
        double p = (ri + rn) * scale / 2;
        if (sides & 2) {
            labels.push_back({i, -p, -half});
            labels.push_back({i, p, -half});
        }
        if (sides & 1) {
            labels.push_back({i, 0, -(p + half)});
            labels.push_back({i, 0, p - half});
        }
        if (sides & 4) {
            double d = p / std::sqrt(2.0), v = (p + half) / std::sqrt(2.0);
            labels.push_back({i, -d, -v});
            labels.push_back({i, d, -v});
            labels.push_back({i, -d, v});
            labels.push_back({i, d, v});
        }
    }
    return labels;
}

Holes HolesOf(const PrintCard& card, int series, double scale, double bulletRadius, bool trueSize, int u)
{
    Holes holes;
    double trueRadius = bulletRadius * scale;
    holes.radius = trueRadius;
    if (holes.radius < u) {
        holes.radius = u;
        holes.enlarged = true;
    }
    double ratio = card.Ratio(), sx = 0, sy = 0;
    for (const PrintShot& shot : card.shots) {
        if (!card.Counts(shot, series))
            continue;
        double x = ratio * shot.x * scale, y = ratio * shot.y * scale;
        if (std::fabs(x) >= kFarOut * scale || std::fabs(y) >= kFarOut * scale)
            continue;
        sx += x;
        sy += y;
        double hx = x, hy = y;
        if (holes.enlarged && !trueSize) {
            // The enlarged hole keeps the inner edge of the true one, which
            // is what scored.
            double d = std::sqrt(x * x + y * y);
            if (d > 0) {
                double k = 1 + (holes.radius - trueRadius) / d;
                hx *= k;
                hy *= k;
            }
        }
        holes.centres.push_back({hx, hy});
    }
    size_t n = holes.centres.size();
    if (n >= 2) {
        holes.cross = true;
        holes.meanX = sx / n;
        holes.meanY = sy / n;
        holes.arm = std::min(holes.radius, 2.0 * u);
    }
    return holes;
}

int FigureEntry(int code, bool swedish)
{
    if (code >= 64 && code <= 79)
        return 3 + CTargetTypes::GetGroupIndex(code);
    if (code >= 80 && code <= 95)
        return 19 + CTargetTypes::GetGroupIndex(code);
    if (code == 98)
        return 29;
    if (IsGameFigure(code) && swedish) {
        if (code == 33 || code == 38)
            return 1;
        if (code == 37)
            return 2;
    }
    return 0;
}

double FigureFactor(int code, int entry, bool trueSize)
{
    // The Swiss face's outline belongs to the face itself and keeps its scale.
    if (IsGameFigure(code) || trueSize || code == 98)
        return 1;
    const FigureOutline* outline = CTargetTypes::GetOutline(entry);
    if (outline == nullptr || outline->referenceSize <= 0)
        return 1;
    return 40.0 / outline->referenceSize;
}

Silhouette SilhouetteOf(int code, bool swedish)
{
    Silhouette s;
    auto take = [&](AnimalGroup group, double factor, bool plain, bool mirrored) {
        s.first = GroupFirst(group);
        s.count = kGroupCounts[group];
        s.factor = factor;
        s.plain = plain;
        s.mirrored = mirrored;
    };
    switch (code) {
    case 33:
    case 39:
        take(kMoose, 5, true, true);
        break;
    case 38:
        take(kMoose, swedish ? 3.125 : 1.25, true, true);
        break;
    case 37:
        take(kDeer, swedish ? 5 : 100.0 / 23, true, swedish);
        break;
    case 32:
        take(kReindeer, 25.0 / 9, true, false);
        break;
    case 27:
    case 36:
        take(kBoar, 100.0 / 41, true, false);
        break;
    case 34:
    case 41:
        take(kRoeDeer, 1000.0 / 333, true, false);
        break;
    case 40:
        take(kRoeDeer, 1000.0 / 333, false, true);
        break;
    case 35:
        take(kFox, 1000.0 / 333, true, false);
        break;
    default:
        break;
    }
    // The Swedish moose leaves out the last two lines of the animal.
    if ((code == 33 || code == 39 || code == 38) && swedish)
        s.count = 13;
    return s;
}

}  // namespace CardPicture
