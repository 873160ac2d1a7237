// One element's panel: the texts and values of its boxes, the shot list,
// the series table, the sub-sums and the place; the face is PicturePainterFaces.cpp.
#include <algorithm>
#include <cstdio>

#include "display/draw/PicturePainter.h"
#include "display/layout/PanelLayout.h"
#include "display/layout/PanelTexts.h"
#include "display/layout/PictureLayout.h"
#include "display/model/VisEvent.h"

using platform::Rect;
using namespace PanelLayout;

namespace {

constexpr int kWholeMask = 0x40000000;
constexpr int kThinGrid = Graphic::kFrameThin;

}  // namespace

void PicturePainter::FramedBox(CGraphicStyle& box)
{
    // A box drawn again shows its new value on its own background, never
    // over the old one.
    box.State &= ~2;
    m_graphic.DrawBox(box);
}

void PicturePainter::DrawValue(const CGraphicStyle& style, int hundredths, int valueSystem)
{
    PanelTexts::ValueFormat f = PanelTexts::FormatValue(hundredths, valueSystem);
    if (f.divisor > 1)
        m_graphic.DrawDecimal(style, f.value, f.divisor, -1);
    else
        m_graphic.DrawNumber(style, f.value, -1, 0);
}

void PicturePainter::DrawPanel(CVisTarget& t, bool window)
{
    CVisPicture* pic = Picture();
    if (!pic)
        return;
    if (window && BeginDraw(true) != 0) {
        EndDraw(true);
        return;
    }
    const CGraphicStyle& base = pic->baseStyle;
    CGraphicStyle* boxes = t.panelBoxes;
    // 2.
    boxes[kName].BackColour = t.verification == 1 ? 0x00FFFF : (t.verification == 2 ? 0x0000FF : base.BackColour);
    if (PictureLayout::IsPlaceholder(t)) {
        // 3.
        if (t.redrawMask < 0)
            m_graphic.FillBox(t.cell, base.BackColour, base.Frame);
        if (t.redrawMask & kWholeMask)
            m_graphic.DrawFrame(t.cell, Graphic::kGrey, base.Frame);
    } else if (t.HasError()) {
        // 4. A panel that has just got its error shows it at once.
        if (t.redrawMask < 0 || !t.messageShown)
            DrawPanelMessage(t, false);
        t.messageShown = true;
    } else {
        // A panel that showed an error is drawn whole again.
        if (t.messageShown)
            t.redrawMask = -1;
        t.messageShown = false;
        // 5.
        if (t.redrawMask < 0) {
            m_graphic.FillBox(t.cell, base.BackColour, base.Frame);
            t.faceRedraw = t.listRedraw = true;
            t.redrawMask = -1;
        }
        if (t.redrawMask & kWholeMask)
            m_graphic.DrawFrame(t.cell, Graphic::kGrey, base.Frame);
        const int F = t.viewFlags;
        auto due = [&](int bit) { return (t.redrawMask & F & bit) != 0; };
        const int system = t.card.valueSystem;
        // 6.
        if (due(ViewBits::kLane)) {
            FramedBox(boxes[kLane]);
            m_graphic.DrawNumber(boxes[kLane], t.values[CVisTarget::kValLane].number, -1, 0);
        }
        for (int k = 0; k < 5; ++k) {
            if (!due(1 << k))
                continue;
            FramedBox(boxes[kName + k]);
            m_graphic.DrawBoxText(boxes[kName + k], t.values[CVisTarget::kValName + k].text, -1, 0);
        }
        if (due(ViewBits::kShotCount) && t.seriesShots != 1) {
            FramedBox(boxes[kShotCount]);
            m_graphic.DrawNumber(boxes[kShotCount], t.values[CVisTarget::kValShotCount].number, -1, 0);
        }
        // 7. The face, zoomed out when new shots need it.
        if (due(ViewBits::kFace)) {
            if (t.redrawMask < 0) {
                boxes[kFace].State |= 2;
                m_graphic.DrawBox(boxes[kFace]);
            }
            bool redraw = t.faceRedraw;
            if (!redraw && ChooseZoom(t, t.lastShotDrawn + 1) != -1)
                redraw = true;
            if (redraw) {
                ChooseZoom(t, 0);
                DrawFace(t);
                DrawRings(t, true);
                t.lastShotDrawn = 0;
            }
            if (DrawShots(t) > 0)
                DrawRings(t, false);
            t.faceRedraw = false;
            t.redrawMask = (t.redrawMask & ~ViewBits::kFace) | ViewBits::kPlace;
        }
        // 8.
        if (due(ViewBits::kShotList)) {
            if (t.redrawMask < 0)
                m_graphic.DrawBox(boxes[kShotList]);
            const bool full = t.relayout || t.listRedraw;
            if (full)
                m_graphic.FillBox(boxes[kShotList].Rect, boxes[kShotList].BackColour, boxes[kShotList].Frame);
            DrawShotList(t, full);
            t.listRedraw = false;
        }
        if (due(ViewBits::kPlace)) {
            DrawPlaceDisc(t);
            t.redrawMask &= ~ViewBits::kPlace;
        }
        if (due(ViewBits::kSeriesTable) && PanelLayout::SeriesTableWanted(t)) {
            FramedBox(boxes[kSeriesTable]);
            DrawSeriesTable(t);
        }
        if (due(ViewBits::kSubSums)) {
            FramedBox(boxes[kSubSums]);
            DrawSums(t);
        }
        if (due(ViewBits::kPreviousTotal)) {
            FramedBox(boxes[kPreviousTotal]);
            DrawValue(boxes[kPreviousTotal], t.values[CVisTarget::kValPreviousTotal].number, system);
        }
        if (due(ViewBits::kSeriesSum)) {
            FramedBox(boxes[kSeriesSum]);
            const Rect& r = boxes[kSeriesSum].Rect;
            if (!PictureLayout::IsFaceElement(t) && t.seriesShots == 0)
                DrawCornerMark(r, std::min(r.Width(), r.Height()), boxes[kSeriesSum].TextColour);
            else
                DrawValue(boxes[kSeriesSum], t.values[CVisTarget::kValSeriesSum].number, system);
        }
        if (due(ViewBits::kTotal)) {
            FramedBox(boxes[kTotal]);
            DrawTotalBox(t);
        }
    }
    // 9.
    if (window)
        EndDraw(true);
    t.redrawMask = 0;
}

void PicturePainter::DrawTotalBox(CVisTarget& t)
{
    const CGraphicStyle& box = t.panelBoxes[kTotal];
    if (t.statusCode != 0)
        m_graphic.DrawBoxText(box, t.values[CVisTarget::kValTotal].text, 100, Graphic::kAlignCentre);
    else
        DrawValue(box, t.values[CVisTarget::kValTotal].number, t.card.valueSystem);
}

void PicturePainter::DrawCornerMark(const Rect& r, int a, uint32_t colour)
{
    if (a <= 0 || Graphic::IsEmpty(r) || !m_graphic.IsOpen())
        return;
    platform::DrawSurface& dc = *m_dc;
    const platform::DrawBrush old = dc.SelectBrush(platform::DrawBrush::SolidOf(colour));
    const int x = r.right - 1, y = r.top;
    dc.BeginPath();
    dc.MoveTo(x, y);
    dc.LineTo(x, y + a);
    dc.LineTo(x - a, y);
    dc.LineTo(x, y);
    dc.EndPath();
    dc.StrokeAndFillPath();
    dc.SelectBrush(old);
}

void PicturePainter::DrawPlaceDisc(CVisTarget& t)
{
    const int place = t.values[CVisTarget::kValPlace].number;
    const CGraphicStyle& box = t.panelBoxes[kPlace];
    // A lane outside the ranking has no place to show.
    if (place <= 0 || Graphic::IsEmpty(box.Rect) || !m_graphic.IsOpen())
        return;
    const uint32_t colour = Colour(place == 1 ? VisItems::kPlace1
                                              : place == 2 ? VisItems::kPlace2
                                                           : place == 3 ? VisItems::kPlace3 : VisItems::kOtherPlaces);
    const int side = std::min(box.Rect.Width(), box.Rect.Height());
    CGraphicStyle square = box;
    square.Rect = {box.Rect.right - side, box.Rect.bottom - side, box.Rect.right, box.Rect.bottom};
    square.Frame = 0;
    square.TextColour = Graphic::ContrastColour(colour);
    square.BackColour = colour;
    platform::DrawSurface& dc = *m_dc;
    const platform::DrawBrush old = dc.SelectBrush(platform::DrawBrush::SolidOf(colour));
    dc.Ellipse(square.Rect);
    dc.SelectBrush(old);
    m_graphic.DrawNumber(square, place, 100, Graphic::kAlignCentre);
}

void PicturePainter::CellFrames(const Rect& area, int columns, int rows, bool byColumns, int count)
{
    for (int n = 1; n <= count; ++n) {
        const Rect cell = Graphic::GridCell(area, n, columns, rows, byColumns);
        if (Graphic::IsEmpty(cell))
            continue;
        int sides = 0;
        if (cell.top != area.top)
            sides |= Graphic::kSideTop;
        if (cell.left != area.left)
            sides |= Graphic::kSideLeft;
        if (sides)
            m_graphic.DrawFrame(cell, Graphic::kGrey, kThinGrid | sides);
    }
}

void PicturePainter::DrawShotList(CVisTarget& t, bool full)
{
    CGraphicStyle& box = t.panelBoxes[kShotList];
    const Rect R = Graphic::InnerRect(box.Rect, box.Frame);
    if (Graphic::IsEmpty(R))
        return;
    PanelTexts::ShotListShape shape = PanelTexts::ListShape(t, R.Width(), R.Height());
    if (full) {
        t.listColumns = shape.columns;
    } else {
        shape.columns = std::max(t.listColumns, 1);
        shape.rows = (std::min(shape.perPage, 10) + shape.columns - 1) / shape.columns;
        shape.byColumns = shape.columns < shape.rows;
    }
    const int cells = shape.columns * shape.rows;
    const bool gridLines = Graphic::FrameKindOf(box.Frame) != 0;
    if (full) {
        box.FontKey = m_graphic.FitFont(Graphic::GridCell(R, 1, shape.columns, shape.rows, shape.byColumns),
                                        shape.chars, (box.Options & 2) != 0);
        if (gridLines)
            CellFrames(R, shape.columns, shape.rows, shape.byColumns, cells);
    }
    const int highest = m_data.targetTypes.GetHighestRing(EffectiveType(t));
    const int system = t.card.valueSystem;
    for (int n = t.firstListShot, k = 1; n >= 1 && n <= t.currentShotCount && k <= cells; ++n, ++k) {
        CGraphicStyle cell = box;
        cell.Rect = Graphic::GridCell(R, k, shape.columns, shape.rows, shape.byColumns);
        cell.Frame = 0;
        if (gridLines) {
            if (cell.Rect.top != R.top)
                cell.Frame |= kThinGrid | Graphic::kSideTop;
            if (cell.Rect.left != R.left)
                cell.Frame |= kThinGrid | Graphic::kSideLeft;
        }
        // The values alone are written again on their own background.
        if (!full)
            m_graphic.FillBox(cell.Rect, box.BackColour, cell.Frame);
        const PanelTexts::ShotCell c = PanelTexts::ListCell(t, n, shape, highest);
        if (c.marked)
            cell.TextColour = Colour(VisItems::kHighlight);
        const char* star = c.value.star ? "*" : "";
        if (shape.numbered) {
            m_graphic.DrawBoxText(cell, c.label, c.labelAt, Graphic::kAlignRight);
            PanelTexts::ValueFormat f = PanelTexts::FormatWithDecimals(c.value.value, system);
            m_graphic.DrawDecimal(cell, f.value, f.divisor, 100, star);
        } else if (system == 6 || system == 2) {
            PanelTexts::ValueFormat f = PanelTexts::FormatValue(c.value.value, system);
            m_graphic.DrawDecimal(cell, f.value, f.divisor, 100, star);
        } else {
            m_graphic.DrawNumber(cell, c.value.value / 100, 100, Graphic::kAlignCentre, star);
        }
    }
}

void PicturePainter::DrawSeriesTable(CVisTarget& t)
{
    const CGraphicStyle& box = t.panelBoxes[kSeriesTable];
    const Rect R = Graphic::InnerRect(box.Rect, box.Frame);
    if (Graphic::IsEmpty(R))
        return;
    const PanelTexts::SeriesTable table = PanelTexts::SeriesTableCells(t, R.Width(), R.Height());
    if (table.values.empty() || table.columns < 1 || table.rows < 1)
        return;
    const Rect first = Graphic::GridCell(R, 1, table.columns, table.rows, table.byColumns);
    const bool bold = (box.Options & 2) != 0;
    const int key = m_graphic.FitFont(first, table.chars, bold);
    const int sumKey = table.matrix ? m_graphic.FitFont(first, table.chars + 1, bold) : key;
    const bool gridLines = Graphic::FrameKindOf(box.Frame) != 0;
    if (gridLines)
        CellFrames(R, table.columns, table.rows, table.byColumns, table.columns * table.rows);
    for (size_t i = 0; i < table.values.size(); ++i) {
        const int v = table.values[i];
        if (v == -1)
            continue;
        CGraphicStyle cell = box;
        cell.Rect = Graphic::GridCell(R, static_cast<int>(i) + 1, table.columns, table.rows, table.byColumns);
        cell.Frame = 0;
        if (gridLines) {
            if (cell.Rect.top != R.top)
                cell.Frame |= kThinGrid | Graphic::kSideTop;
            if (cell.Rect.left != R.left)
                cell.Frame |= kThinGrid | Graphic::kSideLeft;
        }
        cell.Align = Graphic::kAlignRight;
        cell.FontKey = table.sums[i] ? sumKey : key;
        if (table.sums[i])
            m_graphic.DrawBoxText(cell, "=", 0, Graphic::kAlignLeft);
        DrawValue(cell, v, t.card.valueSystem);
    }
}

void PicturePainter::DrawSums(CVisTarget& t)
{
    if (t.event && t.event->superMode != 0)
        return;
    const CGraphicStyle& box = t.panelBoxes[kSubSums];
    const Rect R = Graphic::InnerRect(box.Rect, box.Frame);
    if (Graphic::IsEmpty(R))
        return;
    const bool bold = (box.Options & 2) != 0;
    if (t.statusCode != 0) {
        CGraphicStyle status = box;
        status.Rect = R;
        status.Frame = 0;
        status.TextColour = Graphic::ContrastColour(Colour(VisItems::kTarget));
        status.FontKey = m_graphic.FitFont(R, 3, true);
        m_graphic.DrawBoxText(status, t.values[CVisTarget::kValTotal].text, 100, Graphic::kAlignRight);
        return;
    }
    const std::vector<PanelTexts::SumLine> lines = PanelTexts::SumLines(t);
    const int n = static_cast<int>(lines.size());
    if (n == 0)
        return;
    const int rows = n <= 3 ? 1 : 2;
    const int columns = (n + rows - 1) / rows;
    const bool gridLines = Graphic::FrameKindOf(box.Frame) != 0;
    if (gridLines)
        CellFrames(R, columns, rows, false, columns * rows);
    // Name and value parts, shaped by the first cell.
    const Rect first = Graphic::GridCell(R, 1, columns, rows, false);
    const bool stacked = first.Width() * 40 / 100 < first.Height();
    auto parts = [stacked](const Rect& c, Rect& name, Rect& value) {
        name = value = c;
        if (stacked) {
            name.bottom = value.top = c.top + c.Height() * 30 / 100;
        } else {
            int w = std::max(c.Width() * 50 / 100, c.Width() - c.Height() * 5 / 2);
            name.right = value.left = c.left + w;
        }
    };
    Rect firstName, firstValue;
    parts(first, firstName, firstValue);
    const int system = t.card.valueSystem;
    const int nameKey = m_graphic.FitFont(firstName, stacked ? 6 : 7, false);
    const int valueKey = m_graphic.FitFont(firstValue, system == 6 ? 7 : (system == 2 ? 6 : 4), bold);
    for (int i = 0; i < n; ++i) {
        const PanelTexts::SumLine& line = lines[static_cast<size_t>(i)];
        Rect cell = Graphic::GridCell(R, i + 1, columns, rows, false);
        int frame = 0;
        if (gridLines) {
            if (cell.top != R.top)
                frame |= kThinGrid | Graphic::kSideTop;
            if (cell.left != R.left)
                frame |= kThinGrid | Graphic::kSideLeft;
        }
        Rect nameRect, valueRect;
        parts(Graphic::InnerRect(cell, frame), nameRect, valueRect);
        CGraphicStyle name = box;
        name.Rect = nameRect;
        name.Frame = 0;
        name.FontKey = nameKey;
        if (line.kind == 3) {
            name.BackColour = Colour(VisItems::kTarget);
            name.TextColour = Graphic::ContrastColour(name.BackColour);
            m_graphic.FillBox(nameRect, name.BackColour, 0);
        }
        m_graphic.DrawBoxText(name, line.name, 100, Graphic::kAlignRight);
        CGraphicStyle value = box;
        value.Rect = valueRect;
        value.Frame = 0;
        value.FontKey = valueKey;
        value.Align = Graphic::kAlignRight;
        if (line.kind == 2)
            m_graphic.DrawDecimal(value, line.value, 100, -1);
        else
            DrawValue(value, line.value, system);
    }
}
