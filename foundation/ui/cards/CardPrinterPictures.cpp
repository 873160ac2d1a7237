// The target picture in a series box of a card sheet: the face with its
// black, rings and numbers, game animals and field figures, the holes and
// the mean impact.
#include "foundation/ui/cards/CardPrinter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace platform;

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

bool IsSwedish(const CTargetTypes& types) { return std::string_view(types.GetLanguage()) == "SE"; }

}  // namespace

void CCardPrinter::Circle(double x, double y, double radius)
{
    m_dc->Ellipse(Round(x - radius), Round(y + radius), Round(x + radius), Round(y - radius));
}

void CCardPrinter::ClipSquare()
{
    int half = m_box.size / 2 + u;
    int cx = m_box.centre.x + m_ox, cy = m_box.centre.y - m_oy;
    Clip({cx - half, cy - half, cx + half, cy + half});
}

void CCardPrinter::DrawTarget(int level, int series)
{
    const PrintCard& card = *m_current;
    const int code = card.SeriesTargetType(series);
    const Rect& pic = m_box.picture;
    const int size = m_box.size;
    m_dc->SelectPen(m_pen1);
    Clip(pic);

    if (card.matchSeries[series] == 0) {
        // A series that does not count gets a grey corner.
        int x = pic.right + u, y = pic.top - u, leg = size / 4;
        Point corner[] = {{x, Y(y)}, {x - leg, Y(y)}, {x, Y(y + leg)}};
        m_dc->SelectBrush(m_grey);
        m_dc->Polygon(corner);
        m_dc->SelectBrush(m_hollow);
    }

    m_ox = m_oy = 0;
    if (trueSize) {
        CardPicture::Offsets offsets = CardPicture::TrueSizeOffsets(card, series, u);
        m_ox = offsets.ox;
        m_oy = offsets.oy;
    }
    CardPicture::FaceScale face =
        CardPicture::ScaleOf(m_types, code, level, pic.Width(), pic.Height(), size, trueSize != 0, u);
    m_scale = face.scale;
    const bool swedish = IsSwedish(m_types);

    if (CardPicture::IsGameFigure(code) && face.wholeAnimal) {
        DrawSilhouette(series);
        if (code == 34 || code == 40 || code == 41)
            DrawFigure(series);
        if (swedish) {
            if (code == 33 || code == 37) {
                DrawFigure(series);
            } else if (code == 38) {
                m_scale *= 0.625;
                DrawFigure(series);
                m_scale *= 1.6;
            }
        }
    } else if (CardPicture::IsFieldFigure(code)) {
        DrawFigure(series);
        m_dc->SelectPen(m_pen2);
        Unclip();
        return;
    } else if (code == 98) {
        double scale = m_scale;
        DrawFigure(series);
        m_scale = scale;
    }

    const double cx = FaceX(), cy = FaceY();
    double black = m_types.GetBlackRadius(code);
    if (black >= face.radius) {
        // The whole picture lies inside the black.
        m_dc->SelectBrush(m_faceBlack);
        Circle(cx, cy, size / 2.0);
    } else if (black > 0) {
        m_dc->SelectBrush(m_faceBlack);
        Circle(cx, cy, black * m_scale);
    }
    m_dc->SelectBrush(m_hollow);
    double white = m_types.GetWhiteRadius(code);
    if (white > 0) {
        m_dc->SelectBrush(m_white);
        Circle(cx, cy, white * m_scale);
        m_dc->SelectBrush(m_hollow);
    }
    if (code == 21 && level < 9) {
        // The rapid-fire face's white bars across the black.
        int half = Round(2.5 * m_scale);
        int inner = Round(125 * m_scale);
        int outer = Round(std::min(size / 2.0, 250 * m_scale));
        int x = Round(cx), y = Round(cy);
        m_dc->FillRect({x - outer, y + half, x - inner, y - half}, m_white);
        m_dc->FillRect({x + inner, y + half, x + outer, y - half}, m_white);
    }
    m_dc->SelectPen(m_pen1);
    for (const CardPicture::Ring& ring : CardPicture::Rings(m_types, code, level, m_scale))
        Circle(cx, cy, ring.radius);

    m_dc->SelectFont(m_font8);
    m_dc->SetTextAlign(TA_CENTER | TA_BOTTOM);
    int textHeight = m_dc->GetTextExtent("0").cy;
    for (const CardPicture::RingLabel& label :
         CardPicture::RingLabels(m_types, code, level, m_scale, u, textHeight)) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", label.ring);
        m_dc->TextOut(Round(cx + label.x), Round(cy + label.y), text);
    }
    m_dc->SelectPen(m_pen2);
    Unclip();
    m_dc->SelectPen(m_pen2);
}

void CCardPrinter::DrawSilhouette(int series)
{
    const int code = m_current->SeriesTargetType(series);
    CardPicture::Silhouette animal = CardPicture::SilhouetteOf(code, IsSwedish(m_types));
    if (animal.count == 0)
        return;
    ClipSquare();
    m_dc->SelectPen(m_pen2);
    const double f = m_scale * animal.factor;
    const double cx = FaceX(), cy = FaceY();
    for (int copy = 0; copy < 2; ++copy) {
        bool mirrored = copy == 1;
        if ((mirrored && !animal.mirrored) || (!mirrored && !animal.plain))
            continue;
        for (int i = 0; i < animal.count; ++i) {
            const CardPicture::GridPoint* line = CardPicture::Polyline(animal.first + i);
            if (line == nullptr)
                continue;
            Point points[CardPicture::kPolylinePoints];
            for (int p = 0; p < CardPicture::kPolylinePoints; ++p) {
                double dx = (line[p].x - CardPicture::kGridCentreX) * f;
                double dy = (line[p].y - CardPicture::kGridCentreY) * f;
                points[p] = {Round(mirrored ? cx - dx : cx + dx), Round(cy - dy)};
            }
            m_dc->Polyline(points);
        }
    }
    Unclip();
}

void CCardPrinter::DrawFigure(int series)
{
    const int code = m_current->SeriesTargetType(series);
    const int entry = CardPicture::FigureEntry(code, IsSwedish(m_types));
    const FigureOutline* outline = CTargetTypes::GetOutline(entry);
    m_scale *= CardPicture::FigureFactor(code, entry, trueSize != 0);
    if (outline == nullptr)
        return;
    ClipSquare();
    m_dc->SelectPen(m_pen2);
    const double unit = std::fabs(m_scale) / 32;
    // Right outlines as stored, left ones mirrored; code 40 faces the other way.
    const bool flip = code == 40;
    DrawOutline(outline->items, outline->count, outline->start[0], flip, unit);
    DrawOutline(outline->items, outline->count, outline->start[1], !flip, unit);
    DrawOutline(outline->items, outline->count, outline->start[2], flip, unit);
    DrawOutline(outline->items, outline->count, outline->start[3], !flip, unit);
    const int cx = FaceX(), cy = FaceY();
    m_dc->MoveTo(cx - u, cy - u);
    m_dc->LineTo(cx + u, cy + u);
    m_dc->MoveTo(cx - u, cy + u);
    m_dc->LineTo(cx + u, cy - u);
    Unclip();
}

void CCardPrinter::DrawOutline(const OutlineItem* items, size_t count, size_t start, bool mirrored, double unit)
{
    const double cx = FaceX(), cy = FaceY();
    auto at = [&](const OutlineItem& item) {
        double x = item.x * unit;
        return Point{Round(mirrored ? cx - x : cx + x), Round(cy + item.y * unit)};
    };
    // The item at the start is the outline's header.
    size_t i = start + 1;
    while (i < count) {
        const OutlineItem& item = items[i];
        if (item.kind == kOutlineLine) {
            if (i + 1 >= count)
                break;
            Point from = at(item), to = at(items[i + 1]);
            m_dc->MoveTo(from.x, from.y);
            m_dc->LineTo(to.x, to.y);
            ++i;
        } else if (item.kind == kOutlineArc) {
            if (i + 2 >= count)
                break;
            Point from = at(item), centre = at(items[i + 1]), to = at(items[i + 2]);
            double r = std::hypot(from.x - centre.x, from.y - centre.y);
            Rect box{Round(centre.x - r), Round(centre.y + r), Round(centre.x + r), Round(centre.y - r)};
            m_dc->SetArcDirection(mirrored ? AD_COUNTERCLOCKWISE : AD_CLOCKWISE);
            m_dc->Arc(box, from, to);
            // The arc's end point is where the outline goes on.
            i += 2;
        } else if (item.kind == kOutlineSkip) {
            ++i;
        } else {
            break;
        }
    }
}

void CCardPrinter::DrawShots(int series)
{
    const PrintCard& card = *m_current;
    Clip(m_box.picture);
    m_dc->SelectPen(m_pen3);
    m_dc->SelectBrush(m_white);
    CardPicture::Holes holes = CardPicture::HolesOf(card, series, m_scale,
                                                    CardPicture::BulletRadius(card, series, m_types),
                                                    trueSize != 0, u);
    const double cx = FaceX(), cy = FaceY();
    for (const auto& centre : holes.centres)
        Circle(cx + centre[0], cy + centre[1], holes.radius);
    if (holes.cross) {
        m_dc->SelectPen(m_pen2);
        int x = Round(cx + holes.meanX), y = Round(cy + holes.meanY), arm = Round(holes.arm);
        m_dc->MoveTo(x - arm, y);
        m_dc->LineTo(x + arm, y);
        m_dc->MoveTo(x, y - arm);
        m_dc->LineTo(x, y + arm);
    }
    Unclip();
    m_dc->SelectPen(m_pen2);
    m_dc->SelectBrush(m_hollow);
}
