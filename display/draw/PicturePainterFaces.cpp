// The target face of a panel: the face colour and scale, rings, ring
// numbers, figure outlines and animals, and the shots with the newest
// marked. New shots are drawn over the face as it stands; it is drawn again
// whole only when the zoom goes out or the panel asks for it.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/draw/PicturePainter.h"
#include "display/layout/FaceRules.h"
#include "display/layout/PanelLayout.h"
#include "display/model/VisEvent.h"

using platform::DrawBrush;
using platform::DrawPen;
using platform::PenStyle;
using platform::Rect;

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

DrawPen Pen(int width, uint32_t colour) { return {PenStyle::Solid, width, colour}; }

// A radius (mm) to scale a face to: the zoom ring's, else the lowest
// ring's, else the face's own; a ring without a radius has none to give.
double UsableRadius(const CTargetTypes& types, int code, int zoom)
{
    double r = types.GetRingRadius(code, zoom);
    if (r <= 0)
        r = types.GetRingRadius(code, std::max(zoom, types.GetLowestRing(code)));
    if (r <= 0)
        r = types.GetFaceRadius(code);
    return r > 0 ? r : 1;
}

}  // namespace

int PicturePainter::EffectiveType(const CVisTarget& t)
{
    int seriesTarget = -1;
    if (t.event) {
        const int program = t.event->competition == 0 ? -1 : t.event->program;
        seriesTarget = t.event->programs.GetSerieTarget(t.active.seriesState & 0x7F, program);
    }
    return FaceRules::EffectiveTargetType(t.card.targetType, seriesTarget, t.card.sensitivity);
}

Rect PicturePainter::FaceRect(const CVisTarget& t)
{
    const CGraphicStyle& box = t.panelBoxes[PanelLayout::kFace];
    Rect f = Graphic::InnerRect(box.Rect, box.Frame);
    f = {f.left + 2, f.top + 2, f.right - 2, f.bottom - 2};
    if (Graphic::IsEmpty(f))
        return {};
    // A portrait face uses the square at its top.
    f.bottom = f.top + std::min(f.Height(), f.Width());
    return f;
}

int PicturePainter::ChooseZoom(CVisTarget& t, int first)
{
    const double distance = t.event ? t.event->distanceScale : 1.0;
    return FaceRules::ChooseZoom(t, m_data.targetTypes, EffectiveType(t), distance, first);
}

void PicturePainter::Disc(double radius, uint32_t colour)
{
    const int r = Round(radius);
    if (r <= 0)
        return;
    platform::DrawSurface& dc = *m_dc;
    const DrawPen oldPen = dc.SelectPen(Pen(1, colour));
    const DrawBrush oldBrush = dc.SelectBrush(DrawBrush::SolidOf(colour));
    dc.Ellipse(-r, -r, r, r);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void PicturePainter::DrawFace(CVisTarget& t)
{
    if (!m_graphic.IsOpen())
        return;
    CGraphicStyle* boxes = t.panelBoxes;
    CGraphicStyle& face = boxes[PanelLayout::kFace];
    const int code = EffectiveType(t);
    const CTargetTypes& types = m_data.targetTypes;
    const uint32_t colour = FaceRules::IsFigure(t.card.targetType) ? Colour(VisItems::kTarget)
                                                                   : Colour(VisItems::kBackground);
    face.BackColour = colour;
    face.TextColour = Graphic::ContrastColour(colour);
    m_graphic.FillBox(face.Rect, colour, face.Frame);
    const Rect inner = Graphic::InnerRect(face.Rect, face.Frame);
    const int side = std::min(inner.Width(), inner.Height()) - 4;
    double scale = std::max(side, 0) * 0.5 / UsableRadius(types, code, t.zoomRing);
    if (FaceRules::IsFieldFigure(code))
        scale *= 0.75;
    t.pixelScale = scale;
    if (t.seriesShots == 0)
        DrawCornerMark(inner, std::min(inner.Width(), inner.Height()) / 4, face.TextColour);
    for (int b : {PanelLayout::kLane, PanelLayout::kSeriesName}) {
        boxes[b].BackColour = face.BackColour;
        boxes[b].TextColour = face.TextColour;
    }
    m_graphic.DrawNumber(boxes[PanelLayout::kLane], t.values[CVisTarget::kValLane].number, -1, 0);
    m_graphic.DrawBoxText(boxes[PanelLayout::kSeriesName], t.values[CVisTarget::kValSeriesName].text, -1, 0);
}

void PicturePainter::DrawRings(CVisTarget& t, bool full)
{
    const Rect F = FaceRect(t);
    if (Graphic::IsEmpty(F) || !m_graphic.IsOpen())
        return;
    platform::DrawSurface& dc = *m_dc;
    const CTargetTypes& types = m_data.targetTypes;
    const int code = EffectiveType(t);
    const uint32_t c2 = Colour(VisItems::kTarget), c3 = Colour(VisItems::kCentre);
    const DrawPen whitePen = Pen(1, Graphic::kWhite), blackPen = Pen(1, Graphic::kBlack);

    const int saved = dc.SaveDC();
    dc.IntersectClipRect(F);
    dc.SetViewportOrg((F.left + F.right) / 2, (F.top + F.bottom) / 2);
    const DrawPen oldPen = dc.SelectPen(Pen(2, Graphic::ContrastColour(c2)));
    const DrawBrush oldBrush = dc.SelectBrush(DrawBrush::Hollow());

    // 2. Scale and outer radius.
    const bool swedish = Swedish();
    const int lowest = types.GetLowestRing(code);
    const int zoom = t.zoomRing;
    double scale = t.pixelScale, r;
    const double fit = std::min((F.Width() - 4) / types.GetFigureWidth(code) * 0.5,
                                (F.Height() - 4) / types.GetFigureHeight(code) * 0.5);
    if (FaceRules::IsGameFigure(code) && zoom < lowest) {
        scale = fit;
        r = types.GetFaceRadius(code);
        if (full) {
            DrawGameFigure(code, scale);
            if (code == 34 || code == 40 || code == 41 || (swedish && (code == 33 || code == 37)))
                DrawFigureOutline(t, code, scale);
            else if (swedish && code == 38)
                DrawFigureOutline(t, code, 0.625 * scale);
        }
    } else if (FaceRules::IsFieldFigure(code)) {
        scale = fit * 0.75;
        r = types.GetFaceRadius(code);
        if (full)
            DrawFigureOutline(t, code, scale);
    } else {
        if (code == 98)
            DrawFigureOutline(t, code, scale);
        r = types.GetRingRadius(code, std::max(zoom, lowest));
    }
    t.pixelScale = scale;
    const double black = types.GetBlackRadius(code), white = types.GetWhiteRadius(code);

    // 3. The face's colours: target area, aiming area, inner ten.
    if (full) {
        if (r > 0 && c2 != t.panelBoxes[PanelLayout::kFace].BackColour)
            Disc(r * scale, c2);
        if (c2 != c3) {
            if (black > 0 && r > 0)
                Disc(std::min(r, black) * scale, c3);
            if (white > 0)
                Disc(white * scale, c2);
        }
        if ((code == 21 || code == 22) && zoom < 9) {
            // The running target's two bars.
            const int x1 = Round(125 * scale), x2 = Round(std::min(r, 250.0) * scale);
            const int h = std::max(Round(5 * scale), 1);
            if (x2 > x1) {
                dc.FillSolidRect({-x2, -h / 2, -x1, -h / 2 + h}, c2);
                dc.FillSolidRect({x1, -h / 2, x2, -h / 2 + h}, c2);
            }
        }
    }

    // 4. Ring lines, white on dark and black on light.
    const int highest = types.GetHighestRing(code);
    for (int L = std::max(zoom, lowest); L <= types.GetTopZone(code); ++L) {
        const int ring = L > highest ? 11 : L;
        const double radius = types.GetRingRadius(code, ring);
        const int px = Round(radius * scale);
        if (radius <= 0 || px <= 0)
            continue;
        const uint32_t under = black > radius ? c3 : c2;
        dc.SelectPen(Graphic::ContrastColour(under) == Graphic::kWhite ? whitePen : blackPen);
        dc.Ellipse(-px, -px, px, px);
    }

    // 5. Ring numbers.
    if (full) {
        const int side = Round(types.GetRingWidth(code) * scale);
        const int key = m_graphic.FitFont({0, 0, side, side}, 1, false);
        for (int n = std::max(zoom, types.GetFirstRingLabel(code)); n <= types.GetLastRingLabel(code); ++n)
            DrawRingNumbers(t, code, n, scale, key);
    }
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
    dc.RestoreDC(saved);
}

void PicturePainter::DrawRingNumbers(CVisTarget& t, int code, int ring, double scale, int key)
{
    const CTargetTypes& types = m_data.targetTypes;
    const double outer = types.GetRingRadius(code, ring);
    if (outer <= 0)
        return;
    const int nextRing = ring + 1 > types.GetHighestRing(code) ? 11 : ring + 1;
    double inner = types.GetRingRadius(code, nextRing);
    if (inner <= 0)
        inner = 0;  // the ring goes to the centre
    const int middleMm = (static_cast<int>(outer * 1000) + static_cast<int>(inner * 1000)) / 2 / 1000;
    const int f = static_cast<int>(middleMm * scale);
    if (f <= 3 && ring % 2 == 0)
        return;
    std::optional<platform::DrawFont> font = m_graphic.FindFont(key);
    if (!font)
        return;
    platform::DrawSurface& dc = *m_dc;
    const uint32_t c2 = Colour(VisItems::kTarget), c3 = Colour(VisItems::kCentre);
    const double middle = (outer + inner) / 2;
    const platform::DrawFont oldFont = dc.SelectFont(*font);
    const uint32_t oldColour = dc.SetTextColor(Graphic::ContrastColour(types.GetBlackRadius(code) > middle ? c3 : c2));
    const int oldMode = dc.SetBkMode(platform::TRANSPARENT);
    const unsigned oldAlign = dc.SetTextAlign(platform::TA_CENTER | platform::TA_BOTTOM);
    char text[8];
    std::snprintf(text, sizeof text, "%d", ring);
    const int h = dc.GetTextMetrics().height;
    const int sides = types.GetRingLabelSides(code);
    if (sides & 0x2) {
        dc.TextOut(-f, h / 2, text);
        dc.TextOut(f, h / 2, text);
    }
    if (sides & 0x1) {
        dc.TextOut(0, -f + h / 2, text);
        dc.TextOut(0, f + h / 2, text);
    }
    if (sides & 0x4) {
        const int d = Round(f / std::sqrt(2.0));
        const int y1 = Round(-(f - h / 2.0) / std::sqrt(2.0)), y2 = Round((f + h / 2.0) / std::sqrt(2.0));
        for (int y : {y1, y2}) {
            dc.TextOut(-d, y, text);
            dc.TextOut(d, y, text);
        }
    }
    dc.SetTextAlign(oldAlign);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
    dc.SelectFont(oldFont);
}

void PicturePainter::DrawFigureOutline(CVisTarget& t, int code, double scale)
{
    const FigureOutline* outline = CTargetTypes::GetOutline(FaceRules::OutlineEntry(code, Swedish()));
    if (outline == nullptr)
        return;
    platform::DrawSurface& dc = *m_dc;
    const DrawPen oldPen = dc.SelectPen(Pen(2, Graphic::ContrastColour(Colour(VisItems::kTarget))));
    const DrawBrush oldBrush = dc.SelectBrush(DrawBrush::Hollow());
    for (int k = 0; k < 4; ++k)
        DrawOutlinePath(*outline, outline->start[k], k % 2 == 1, scale);
    // A cross at the centre, as large as a shot.
    const Rect F = FaceRect(t);
    const double distance = t.event ? t.event->distanceScale : 1.0;
    const int size = std::max({Round(m_data.targetTypes.GetBulletRadius(code) * distance * scale),
                               std::min(F.Width(), F.Height()) / 75, 7});
    const int half = size / 2;
    dc.MoveTo(-half, -half);
    dc.LineTo(half, half);
    dc.MoveTo(-half, half);
    dc.LineTo(half, -half);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void PicturePainter::DrawOutlinePath(const FigureOutline& outline, size_t start, bool mirrored, double scale)
{
    platform::DrawSurface& dc = *m_dc;
    const double unit = scale / 32.0;
    auto at = [&](const OutlineItem& item) {
        const double x = item.x * unit;
        return platform::Point{Round(mirrored ? -x : x), Round(-item.y * unit)};
    };
    // The item at the start is the outline's header.
    for (size_t i = start + 1; i < outline.count;) {
        const OutlineItem& item = outline.items[i];
        if (item.kind == kOutlineLine) {
            if (i + 1 >= outline.count)
                break;
            const platform::Point from = at(item), to = at(outline.items[i + 1]);
            dc.MoveTo(from.x, from.y);
            dc.LineTo(to.x, to.y);
            ++i;
        } else if (item.kind == kOutlineArc) {
            if (i + 2 >= outline.count)
                break;
            const platform::Point from = at(item), centre = at(outline.items[i + 1]), to = at(outline.items[i + 2]);
            const int r = Round(std::hypot(from.x - centre.x, from.y - centre.y));
            dc.SetArcDirection(mirrored ? platform::AD_COUNTERCLOCKWISE : platform::AD_CLOCKWISE);
            dc.Arc({centre.x - r, centre.y - r, centre.x + r, centre.y + r}, from, to);
            // The end point's item is where the outline goes on.
            i += 2;
        } else if (item.kind == kOutlineSkip) {
            ++i;
        } else {
            break;
        }
    }
}

void PicturePainter::DrawGameFigure(int code, double scale)
{
    const CardPicture::Silhouette s = FaceRules::GameFigure(code, Swedish());
    if (s.count == 0)
        return;
    platform::DrawSurface& dc = *m_dc;
    const DrawPen oldPen = dc.SelectPen(Pen(2, Graphic::ContrastColour(Colour(VisItems::kTarget))));
    const double f = s.factor * scale;
    platform::Point points[CardPicture::kPolylinePoints];
    for (int i = s.first; i < s.first + s.count; ++i) {
        const CardPicture::GridPoint* line = CardPicture::Polyline(i);
        if (line == nullptr)
            continue;
        for (bool mirrored : {false, true}) {
            if ((mirrored && !s.mirrored) || (!mirrored && !s.plain))
                continue;
            for (int k = 0; k < CardPicture::kPolylinePoints; ++k) {
                const double x = (line[k].x - CardPicture::kGridCentreX) * f;
                points[k] = {Round(mirrored ? -x : x), Round((line[k].y - CardPicture::kGridCentreY) * f)};
            }
            dc.Polyline(points);
        }
    }
    dc.SelectPen(oldPen);
}

bool PicturePainter::DrawShot(CVisTarget& t, int code, int i, uint32_t colour)
{
    if (i < 1 || i > 100)
        return false;
    const int slot = t.shownShotMap[i];
    if (slot < 0 || slot >= CDataComp::kSlots)
        return false;
    const ShotRecord& s = t.shots.shots[slot];
    if ((s.flags & CDataComp::kFlagNoCoordinates) || s.value / 100 < t.zoomRing)
        return false;
    const double k = 0.001 * (t.event ? t.event->distanceScale : 1.0) * t.pixelScale;
    const int x = Round(s.x * k), y = Round(-(s.y * k));
    const Rect F = FaceRect(t);
    const int h = std::max({Round(m_data.targetTypes.GetBulletRadius(code) * t.pixelScale),
                            std::min(F.Width(), F.Height()) / 75, 7});
    platform::DrawSurface& dc = *m_dc;
    const DrawBrush old = dc.SelectBrush(DrawBrush::SolidOf(colour));
    dc.Ellipse(x - h, y - h, x + h, y + h);
    dc.SelectBrush(old);
    return true;
}

int PicturePainter::DrawShots(CVisTarget& t)
{
    const Rect F = FaceRect(t);
    const int last = std::min(t.currentShotCount, 100);
    if (Graphic::IsEmpty(F) || last < 1 || !m_graphic.IsOpen())
        return 0;
    platform::DrawSurface& dc = *m_dc;
    const int code = EffectiveType(t);
    const int side = std::min(F.Width(), F.Height());
    const int cx = (F.left + F.right) / 2, cy = (F.top + F.bottom) / 2;
    const int saved = dc.SaveDC();
    // Shots a little beyond the face still show at its edge.
    const int reach = side / 2 + side / 20;
    Rect device = F, round{cx - reach, cy - reach, cx + reach, cy + reach};
    dc.LPtoDP(device);
    dc.LPtoDP(round);
    platform::DrawRegion clip = platform::DrawRegion::FromRect(device).Combined(
        platform::DrawRegion::FromEllipse(round), platform::RGN_AND);
    dc.SelectClipRgn(&clip);
    dc.SetViewportOrg(cx, cy);
    const uint32_t shot = Colour(VisItems::kShot), newest = Colour(VisItems::kLastShot);
    const DrawPen oldPen = dc.SelectPen(Pen(1, Graphic::ContrastColour(shot)));
    const CVisEvent* ev = t.event;
    const bool timed = ev && ev->timedShots;
    auto marked = [&](int i) {
        const int slot = t.shownShotMap[i];
        return slot >= 0 && slot < CDataComp::kSlots && (t.shots.shots[slot].flags & CDataComp::kFlagMarked);
    };
    int drawn = 0;
    // The newest shot of the last pass is drawn again in the shot colour.
    const int start = t.lastShotDrawn > 0 ? std::min(t.lastShotDrawn, last) : 1;
    for (int i = start; i < last; ++i)
        drawn += DrawShot(t, code, i, timed && marked(i) ? newest : shot) ? 1 : 0;
    uint32_t colour = newest;
    if ((timed && !marked(last)) || (ev && ev->oneShotWindow != 0 && t.seriesShots != 0 && last != ev->oneShotWindow))
        colour = shot;
    drawn += DrawShot(t, code, last, colour) ? 1 : 0;
    t.lastShotDrawn = last;
    dc.SelectPen(oldPen);
    dc.RestoreDC(saved);
    return drawn;
}
