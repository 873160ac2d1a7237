#include "display/layout/PictureLayout.h"

#include <algorithm>
#include <cstdint>

#include "display/layout/GraphicGeometry.h"

namespace PictureLayout {

namespace {

using platform::Rect;

struct Candidate {
    double aspect;
    int format;
};

double AspectOf(const Rect& r) { return r.Height() > 0 ? static_cast<double>(r.Width()) / r.Height() : 1.0; }

// Fills the cells left over after count elements with placeholders.
void AddPlaceholders(CVisPicture& pic, const Rect& area, int count, int columns, int rows, bool byColumns,
                     int format)
{
    for (int n = count + 1; n <= columns * rows; ++n) {
        CVisTarget& p = pic.AddTarget(0);
        p.redrawMask = -1;
        p.cell = Graphic::GridCell(area, n, columns, rows, byColumns);
        p.panelFormat = format;
    }
}

}  // namespace

bool IsFaceElement(const CVisTarget& t) { return (t.viewFlags & ViewBits::kFace) != 0; }

bool IsFaceOnly(const CVisTarget& t) { return (t.viewFlags & ~ViewBits::kPlace) == ViewBits::kFace; }

int Unit(const Rect& drawRect) { return std::min(drawRect.Width() / 15, drawRect.Height() / 20); }

int Layout(CVisPicture& pic, const Rect& drawRect, bool window)
{
    // 1. The placeholders of the last layout go.
    std::erase_if(pic.targets, [](const auto& t) { return IsPlaceholder(*t); });
    int D = 0, E = 0, C = 0;
    for (const auto& t : pic.targets) {
        if (IsFaceOnly(*t))
            ++D;
        else if (IsFaceElement(*t))
            ++E;
        else
            ++C;
    }
    // 2. The unit and the area an element gets.
    const int64_t W = drawRect.Width(), H = drawRect.Height();
    const int u = Unit(drawRect);
    if (C == 0 && D + E == 0)
        return -1;
    const int64_t Lc = C > 0 ? 2 * W * H / C : 0;
    const int64_t Lf = D + E > 0 ? 2 * W * H / (D + E) : 0;
    const int64_t a = (C > 0 && D + E > 0) ? std::min(Lc, Lf) / 2 : (C > 0 ? Lc : Lf);

    // 3. Frames and shadows grow with the room there is.
    CGraphicStyle& base = pic.baseStyle;
    if (!window) {
        base.Frame = 0xFF02;
        base.Options = 2;
        D = std::min(D, 1);
        E = std::min(E, 1);
    } else if (u >= 20 && a > 85000) {
        base.Frame = 0xFF04;
        base.Options = 3;
    } else if (u >= 7 && a >= 5000) {
        base.Options = 2;
        base.Frame = (u >= 12 && a >= 42000) ? 0xFF02 : 0xFF01;
    } else {
        base.Frame = 0xFF00;
        base.Options = 0;
    }
    CGraphicStyle& header = pic.headerStyle;
    header.Frame = base.Frame;
    header.Options = base.Options;
    header.TextColour = base.TextColour;
    header.BackColour = base.BackColour;

    // 4. The header strip.
    Rect body = drawRect;
    header.Rect = {};
    if (window && u >= 8)
        Graphic::SplitRect(drawRect, header.Rect, body, u, true);

    // 5. List area and face area.
    Rect listArea{}, faceArea{};
    const int faces = D + E;
    if (faces == 0) {
        listArea = body;
    } else if (C == 0) {
        faceArea = body;
    } else {
        const bool sideBySide = (faces == 1 && body.Width() > body.Height()) ||
                                (faces > 1 && 2 * static_cast<int64_t>(body.Width()) >= 3 * static_cast<int64_t>(body.Height()));
        const int cols = sideBySide ? 2 : 1, rows = sideBySide ? 1 : 2;
        listArea = Graphic::GridCell(body, 1, cols, rows, false);
        faceArea = Graphic::GridCell(body, 2, cols, rows, false);
    }

    // The real elements, before placeholders are added behind them.
    std::vector<CVisTarget*> lists, faceElements;
    for (const auto& t : pic.targets)
        (IsFaceElement(*t) ? faceElements : lists).push_back(t.get());

    // 6. The list grid: columns and row shape by score; aspect 1 must beat
    // the best by half again to be taken.
    if (C > 0) {
        static constexpr Candidate kRows[] = {{1.0, kRowSquare}, {12.0, kRow}, {36.0, kRowLong}};
        double best = -1.0;
        int columns = 1, format = kRowSquare;
        for (int k = 1; k <= C; ++k) {
            const int r = (C - 1) / k + 1;
            for (const Candidate& c : kRows) {
                double score = Graphic::LayoutScore(listArea, C, k, r, c.aspect);
                bool better = c.format == kRowSquare ? score > 1.5 * best : score > best;
                if (better) {
                    best = score;
                    columns = k;
                    format = c.format;
                }
            }
        }
        const int rows = (C - 1) / columns + 1;
        int n = 0;
        for (CVisTarget* t : lists) {
            t->cell = Graphic::GridCell(listArea, ++n, columns, rows, true);
            t->panelFormat = format;
            if (n == 1)
                pic.listAspect = AspectOf(t->cell);
        }
        AddPlaceholders(pic, listArea, C, columns, rows, true, format);
    }

    // 7. The face grid: rows and face shape by score.
    if (faces > 0) {
        static constexpr Candidate kFaces[] = {{0.75, kFaceNarrow}, {4.0 / 3.0, kFaceWide}, {2.0, kFaceWidest}};
        double best = -1.0;
        int rows = 1, format = kFaceWide;
        for (int k = 1; k <= faces; ++k) {
            const int c = (faces - 1) / k + 1;
            if (E > 0) {
                for (const Candidate& cand : kFaces) {
                    double score = Graphic::LayoutScore(faceArea, E, c, k, cand.aspect);
                    if (score > best) {
                        best = score;
                        rows = k;
                        format = cand.format;
                    }
                }
            } else {
                double score = Graphic::LayoutScore(faceArea, D, c, k, 1.0);
                if (score > best) {
                    best = score;
                    rows = k;
                    format = kFaceWide;
                }
            }
        }
        const int columns = (faces - 1) / rows + 1;
        int n = 0;
        for (CVisTarget* t : faceElements) {
            ++n;
            t->cell = window ? Graphic::GridCell(faceArea, n, columns, rows, false) : faceArea;
            t->panelFormat = format;
            if (n == 1)
                pic.faceAspect = AspectOf(t->cell);
        }
        if (window)
            AddPlaceholders(pic, faceArea, faces, columns, rows, false, format);
    }
    return 0;
}

}  // namespace PictureLayout
