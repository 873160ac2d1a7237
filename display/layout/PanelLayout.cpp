#include "display/layout/PanelLayout.h"

#include <algorithm>

#include "display/layout/GraphicGeometry.h"
#include "display/layout/PictureLayout.h"
#include "display/model/VisEvent.h"
#include "foundation/cards/CardPicture.h"

namespace PanelLayout {

namespace {

using platform::Rect;

int Pct(int value, int percent) { return value * percent / 100; }

// Parts of a rectangle: a band of the given size at its top or left, and
// what lies below or right of such a band.
Rect Top(Rect r, int h)
{
    r.bottom = r.top + std::clamp(h, 0, std::max(r.Height(), 0));
    return r;
}
Rect Below(Rect r, int h)
{
    r.top += std::clamp(h, 0, std::max(r.Height(), 0));
    return r;
}
Rect Left(Rect r, int w)
{
    r.right = r.left + std::clamp(w, 0, std::max(r.Width(), 0));
    return r;
}
Rect RightOf(Rect r, int w)
{
    r.left += std::clamp(w, 0, std::max(r.Width(), 0));
    return r;
}

// Frames a box's sides that lie inside the panel and on the edge of the
// reference: the lines between the panel's parts, drawn once.
void MarkInnerEdges(CGraphicStyle& box, const Rect& panel, const Rect& reference)
{
    const Rect& b = box.Rect;
    if (Graphic::IsEmpty(b))
        return;
    int sides = 0;
    if (b.left != panel.left && b.left == reference.left)
        sides |= Graphic::kSideLeft;
    if (b.top != panel.top && b.top == reference.top)
        sides |= Graphic::kSideTop;
    if (b.right != panel.right && b.right == reference.right)
        sides |= Graphic::kSideRight;
    if (b.bottom != panel.bottom && b.bottom == reference.bottom)
        sides |= Graphic::kSideBottom;
    box.Frame |= sides;
    if (sides != 0)
        box.State |= 1;
}
void MarkOwnEdges(CGraphicStyle& box, const Rect& panel) { MarkInnerEdges(box, panel, box.Rect); }

// The name area: name and club, and class and category beside them.
void SplitNameBox(CGraphicStyle* boxes, const Rect& N, int F)
{
    const bool name = F & ViewBits::kName, club = F & ViewBits::kClub;
    const bool cls = F & ViewBits::kClass, cat = F & ViewBits::kCategory;
    const int NH = N.Height(), NW = N.Width();
    // Cuts a box off the right of another, leaving it a width of its own.
    auto cutRight = [](CGraphicStyle& from, CGraphicStyle& to, int keep) {
        Rect whole = from.Rect;
        from.Rect = Left(whole, keep);
        to.Rect = RightOf(whole, keep);
    };
    if (name && club) {
        if (NH * 10 >= NW) {
            boxes[kName].Rect = Top(N, Pct(NH, 60));
            boxes[kClub].Rect = Below(N, Pct(NH, 60));
        } else {
            boxes[kName].Rect = Left(N, Pct(NW, 60));
            boxes[kClub].Rect = RightOf(N, Pct(NW, 60));
        }
        auto keep = [NH](const CGraphicStyle& b) { return std::min(4 * NH, Pct(b.Rect.Width(), 80)); };
        if (cls && cat) {
            cutRight(boxes[kName], boxes[kClass], keep(boxes[kName]));
            cutRight(boxes[kClub], boxes[kCategory], keep(boxes[kClub]));
        } else if (cls) {
            cutRight(boxes[kClub], boxes[kClass], keep(boxes[kClub]));
        } else if (cat) {
            cutRight(boxes[kClub], boxes[kCategory], keep(boxes[kClub]));
        }
    } else if (name || club) {
        const int b = name ? kName : kClub;
        const bool both = name ? (cls && cat) : cls;
        if (both) {
            boxes[b].Rect = Top(N, Pct(NH, 60));
            Rect bottom = Below(N, Pct(NH, 60));
            boxes[kClass].Rect = Left(bottom, bottom.Width() / 2);
            boxes[kCategory].Rect = RightOf(bottom, bottom.Width() / 2);
        } else if (cls || cat) {
            boxes[b].Rect = N;
            cutRight(boxes[b], boxes[cls ? kClass : kCategory], std::min(8 * NH, Pct(NW, 80)));
        } else {
            boxes[b].Rect = N;
        }
    }
}

void CornerBoxes(CGraphicStyle* boxes)
{
    const Rect Q = boxes[kFace].Rect;
    const int s = std::min(Q.Width(), Q.Height());
    if (s <= 0)
        return;
    boxes[kLane].Rect = {Q.left, Q.top, Q.left + s / 5, Q.top + s / 5};
    Rect& series = boxes[kSeriesName].Rect;
    if (Q.Height() * 15 < Q.Width() * 16)
        series = {Q.left, Q.top + (s & ~1) * 4 / 5, (Q.left + Q.right) / 2 - s / 10, Q.bottom};
    else
        series = {Q.left, Q.bottom - s, Q.left + s / 2, Q.bottom};
    const int side = std::min(s / 4, std::max({s / 6, Q.Width() / 2 - s / 2, Q.Height() - s}));
    boxes[kPlace].Rect = {Q.right - side, Q.bottom - side, Q.right, Q.bottom};
    for (int b : {kLane, kSeriesName}) {
        boxes[b].BackColour = boxes[kFace].BackColour;
        boxes[b].TextColour = boxes[kFace].TextColour;
    }
    boxes[kSeriesName].Align = Graphic::kAlignLeft | Graphic::kAlignBottom;
}

void FacePanel(const CVisPicture& pic, CVisTarget& t, const Rect& P, const Compact& compact)
{
    CGraphicStyle* boxes = t.panelBoxes;
    const int F = t.viewFlags;
    if (PictureLayout::IsFaceOnly(t)) {
        boxes[kFace].Rect = P;
        boxes[kFace].Frame = 0;
        return;
    }
    const int W = P.Width(), H = P.Height();
    const double X = pic.faceAspect;
    const bool one = t.event && t.event->oneShotWindow != 0 && t.seriesShots != 0;
    Rect face, N, R, list, S;
    if (X > 2) {
        face = Left(P, H);
        Rect right = RightOf(P, H);
        N = Top(right, Pct(right.Height(), 33));
        R = Below(right, N.Height());
        int w = Pct(R.Width(), one ? 50 : 75);
        list = Left(R, w);
        S = RightOf(R, w);
    } else if (X > 1.75) {
        face = Left(P, H);
        Rect right = RightOf(P, H);
        N = Top(right, Pct(right.Height(), 20));
        R = Below(right, N.Height());
        int h = one ? Pct(R.Height(), 50) : Pct(right.Height(), 60);
        list = Top(R, h);
        S = Below(R, h);
    } else if (X > 1.1) {
        Rect left = Left(P, std::min(Pct(H, 85), Pct(W, 75)));
        N = Top(left, Pct(left.Height(), 20));
        face = Below(left, N.Height());
        R = RightOf(P, left.Width());
        int h = Pct(R.Height(), one ? 50 : 80);
        list = Top(R, h);
        S = Below(R, h);
    } else if (X > 0.7) {
        N = Top(P, std::min(Pct(H, 12), Pct(W, 20)));
        Rect rest = Below(P, N.Height());
        face = Top(rest, std::min(Pct(W, 75), Pct(H, 53)));
        R = Below(rest, face.Height());
        int w = Pct(R.Width(), one ? 50 : 75);
        list = Left(R, w);
        S = RightOf(R, w);
    } else {
        N = Top(P, Pct(W, 20));
        Rect rest = Below(P, N.Height());
        face = Top(rest, std::min(Pct(W, 110), Pct(H, 50)));
        R = Below(rest, face.Height());
        int h = Pct(R.Height(), one ? 50 : 66);
        list = Top(R, h);
        S = Below(R, h);
    }
    boxes[kFace].Rect = face;
    SplitNameBox(boxes, N, F);
    if (compact.Both()) {
        boxes[kShotList].Rect = R;
    } else {
        boxes[kShotList].Rect = list;
        if (F & ViewBits::kPreviousTotal) {
            boxes[kPreviousTotal].Rect = Top(S, S.Height() / 3);
            S = Below(S, S.Height() / 3);
        } else {
            boxes[kSeriesSum].Frame |= Graphic::kSideTop;
        }
        if (compact.noSeriesSum) {
            boxes[kTotal].Rect = S;
        } else if ((X > 0.4 && X <= 0.7) || (X > 1.5 && X <= 2)) {
            boxes[kSeriesSum].Rect = Left(S, S.Width() / 2);
            boxes[kTotal].Rect = RightOf(S, S.Width() / 2);
        } else {
            boxes[kSeriesSum].Rect = Top(S, S.Height() / 2);
            boxes[kTotal].Rect = Below(S, S.Height() / 2);
        }
    }
    MarkOwnEdges(boxes[kFace], P);
    if (!compact.noSeriesSum)
        MarkOwnEdges(boxes[kSeriesSum], P);
    if (!compact.noTotal)
        MarkOwnEdges(boxes[kTotal], P);
    MarkOwnEdges(boxes[kPreviousTotal], P);
    MarkOwnEdges(boxes[kShotList], P);
    for (int b = kName; b <= kCategory; ++b)
        MarkInnerEdges(boxes[b], P, N);
}

void RowPanel(const CVisPicture& pic, CVisTarget& t, const Rect& P, const Compact& compact)
{
    CGraphicStyle* boxes = t.panelBoxes;
    const int F = t.viewFlags;
    const int W = P.Width(), H = P.Height();
    const double Y = pic.listAspect;
    const CVisEvent* ev = t.event;
    const bool few = !ev || ev->subCount < 3;
    const bool table = SeriesTableWanted(t);
    const bool noList = !(F & ViewBits::kShotList);
    const bool super = ev && ev->superMode != 0;
    Rect T, b18, b14, b13;
    if (noList && table) {
        if (Y > 9) {
            T = Left(P, Pct(W, few ? 40 : 33));
            Rect rest = RightOf(P, T.Width());
            b14 = Left(rest, rest.Width() / 2);
            b13 = RightOf(rest, rest.Width() / 2);
        } else if (Y > 4) {
            T = Top(P, Pct(H, few ? 75 : 60));
            Rect rest = Below(P, T.Height());
            b14 = Left(rest, Pct(rest.Width(), few ? 60 : 50));
            b13 = RightOf(rest, b14.Width());
        } else {
            T = Top(P, Pct(H, 66));
            Rect rest = Below(P, T.Height());
            b14 = Top(rest, rest.Height() / 2);
            b13 = Below(rest, rest.Height() / 2);
        }
    } else if (noList) {
        if (Y > 5) {
            T = Left(P, Pct(W, few ? 75 : 66));
            b13 = RightOf(P, T.Width());
        } else {
            T = Top(P, Pct(H, few ? 65 : 50));
            b13 = Below(P, T.Height());
        }
    } else if (table) {
        if (Y > 9) {
            if (super) {
                T = Left(P, Pct(W, 25));
                b18 = RightOf(P, T.Width());
            } else {
                Rect left = Left(P, Pct(W, few ? 66 : 56));
                Rect right = RightOf(P, left.Width());
                T = Left(left, Pct(left.Width(), 55));
                b18 = RightOf(left, T.Width());
                b14 = Left(right, Pct(right.Width(), few ? 60 : 50));
                b13 = RightOf(right, b14.Width());
            }
        } else if (Y > 4) {
            if (super) {
                T = Left(P, Pct(W, 35));
                b18 = RightOf(P, T.Width());
            } else {
                Rect top = Top(P, H / 2), bottom = Below(P, H / 2);
                T = Left(top, top.Width() / 2);
                b18 = RightOf(top, T.Width());
                b14 = Left(bottom, Pct(bottom.Width(), few ? 70 : 50));
                b13 = RightOf(bottom, b14.Width());
            }
        } else {
            if (super) {
                T = Top(P, Pct(H, 35));
                b18 = Below(P, T.Height());
            } else {
                Rect top = Top(P, Pct(H, few ? 56 : 50)), bottom = Below(P, top.Height());
                T = Top(top, top.Height() / 2);
                b14 = Below(top, T.Height());
                b13 = Top(bottom, bottom.Height() - T.Height());
                b18 = Below(bottom, b13.Height());
            }
        }
    } else {
        if (Y > 9) {
            T = Left(P, Pct(W, few ? 40 : 33));
            b18 = RightOf(P, T.Width());
            if (!compact.Both()) {
                Rect rest = b18;
                b18 = Left(rest, T.Width());
                b13 = RightOf(rest, T.Width());
            }
        } else if (Y > 4) {
            T = Top(P, Pct(H, 60));
            b18 = Below(P, T.Height());
            if (!compact.Both()) {
                Rect whole = T;
                T = Left(whole, Pct(whole.Width(), few ? 75 : 60));
                b13 = RightOf(whole, T.Width());
            }
        } else {
            T = Top(P, Pct(H, 66));
            b18 = Below(P, T.Height());
            if (!compact.Both()) {
                Rect whole = T;
                T = Top(whole, Pct(whole.Height(), few ? 60 : 50));
                b13 = Below(whole, T.Height());
            }
        }
    }
    boxes[kSubSums].Rect = b13;
    boxes[kSeriesTable].Rect = b14;

    // Lane and place in a strip at the left of the text area.
    const Rect wholeT = T;
    Rect N = T;
    const bool lane = F & ViewBits::kLane, place = F & ViewBits::kPlace;
    if (lane || place) {
        Rect strip = Left(T, std::min(Pct(T.Width(), 20), T.Height()));
        N = RightOf(T, strip.Width());
        if (lane && place) {
            boxes[kLane].Rect = Top(strip, strip.Height() / 2);
            boxes[kPlace].Rect = Below(strip, strip.Height() / 2);
        } else {
            boxes[lane ? kLane : kPlace].Rect = strip;
        }
    }
    SplitNameBox(boxes, N, F);

    // The series line above the shot list: shot count, series name, series sum.
    Rect line{};
    if ((F & ViewBits::kSeriesSum) && (F & ViewBits::kSeriesName)) {
        line = Top(b18, Pct(b18.Height(), 33));
        b18 = Below(b18, line.Height());
        Rect rest = line;
        if (F & ViewBits::kShotCount) {
            boxes[kShotCount].Rect = Left(line, std::min(line.Height() * 3 / 2, Pct(line.Width(), 20)));
            rest = RightOf(line, boxes[kShotCount].Rect.Width());
            int at = std::max(Pct(rest.Width(), 50), rest.Width() - 2 * rest.Height());
            boxes[kSeriesName].Rect = Left(rest, at);
            boxes[kSeriesSum].Rect = RightOf(rest, at);
        } else {
            int at = std::max(Pct(line.Width(), 70), line.Width() - 2 * line.Height());
            boxes[kSeriesName].Rect = Left(line, at);
            boxes[kSeriesSum].Rect = RightOf(line, at);
        }
    }
    boxes[kShotList].Rect = b18;

    for (int b : {static_cast<int>(kLane), static_cast<int>(kPlace), 1, 2, 3, 4})
        MarkInnerEdges(boxes[b], P, wholeT);
    for (int b : {kSeriesName, kSeriesSum, kShotCount})
        MarkInnerEdges(boxes[b], P, line);
    MarkOwnEdges(boxes[kShotList], P);
    if (!compact.Both()) {
        MarkOwnEdges(boxes[kSubSums], P);
        MarkOwnEdges(boxes[kSeriesTable], P);
    }
}

void ListFonts(const CVisTarget& t, Fonts& fonts)
{
    const int F = t.viewFlags;
    auto want = [&](int bit, int box, int chars) {
        if (F & bit)
            fonts.requests.push_back({box, chars});
    };
    want(ViewBits::kName, kName, 18);
    want(ViewBits::kClub, kClub, 15);
    want(ViewBits::kClass, kClass, 4);
    want(ViewBits::kCategory, kCategory, 4);
    want(ViewBits::kSeriesName, kSeriesName, 14);
    want(ViewBits::kLane, kLane, 2);
    want(ViewBits::kShotCount, kShotCount, 2);
    want(ViewBits::kPlace, kPlace, 2);
    // Value boxes by the room the card's values take.
    int previous = 4, sum = 4, total = 4, subs = 4;
    if (t.card.valueSystem == 6) {
        previous = 7, sum = 6, total = 7, subs = 7;
    } else if (t.card.valueSystem == 2) {
        previous = 6, sum = 5, total = 6, subs = 6;
    }
    want(ViewBits::kPreviousTotal, kPreviousTotal, previous);
    want(ViewBits::kSeriesSum, kSeriesSum, sum);
    want(ViewBits::kTotal, kTotal, total);
    want(ViewBits::kSubSums, kSubSums, subs);
    if (PictureLayout::IsFaceElement(t)) {
        auto has = [&](int box) {
            return std::any_of(fonts.requests.begin(), fonts.requests.end(),
                               [box](const FontRequest& r) { return r.box == box; });
        };
        if (!has(kSeriesName))
            fonts.requests.push_back({kSeriesName, 14});
        if (!has(kLane))
            fonts.requests.push_back({kLane, 2});
        if (!has(kPlace))
            fonts.requests.push_back({kPlace, 2});
    }
    fonts.shareSeriesLine = (F & ViewBits::kSeriesName) && (F & ViewBits::kShotCount);
}

}  // namespace

Compact CompactFlags(CVisTarget& t)
{
    Compact c;
    const CVisEvent* ev = t.event;
    if (ev && ev->superMode != 0) {
        c.noSeriesSum = c.noTotal = true;
        t.viewFlags &= ~ViewBits::kSeriesSum;
    } else if ((t.viewFlags & ViewBits::kFace) && ev && !ev->startScore && ev->seriesWithShots == 1) {
        c.noSeriesSum = true;
    }
    return c;
}

bool SeriesTableWanted(const CVisTarget& t)
{
    const CVisEvent* ev = t.event;
    return (t.viewFlags & ViewBits::kSeriesTable) && ev &&
           (ev->longestSeries > ev->shotsPerLine || ev->seriesWithShots > 1);
}

int Layout(const CVisPicture& pic, CVisTarget& t, Fonts* fonts)
{
    if (PictureLayout::IsPlaceholder(t))
        return -1;
    const bool face = PictureLayout::IsFaceFormat(t.panelFormat);
    if (!face && !PictureLayout::IsRowFormat(t.panelFormat))
        return -2;
    // 1.
    const Compact compact = CompactFlags(t);
    // 2. Every box starts as the picture's, with half its frame.
    const CGraphicStyle& base = pic.baseStyle;
    const bool faceElement = PictureLayout::IsFaceElement(t);
    for (CGraphicStyle& b : t.panelBoxes) {
        b.Rect = {};
        b.Options = base.Options;
        b.BackColour = base.BackColour;
        b.TextColour = base.TextColour;
        b.Frame = (base.Frame >> 1) & 0x7F;
        b.Align = Graphic::kAlignLeft;
        b.State = 0;
    }
    CGraphicStyle* boxes = t.panelBoxes;
    if (!faceElement)
        boxes[kLane].Align = Graphic::kAlignRight;
    for (int b : {kSeriesSum, kTotal, kPreviousTotal})
        boxes[b].Align = Graphic::kAlignRight;
    boxes[kPlace].Align = Graphic::kAlignCentre;
    const uint32_t target = pic.colours[VisItems::kTarget];
    if (!faceElement) {
        for (int b : {kSeriesName, kShotCount, kSeriesSum, kShotList}) {
            boxes[b].BackColour = target;
            boxes[b].TextColour = Graphic::ContrastColour(target);
        }
    }
    const bool figure = CardPicture::IsFigureType(t.card.targetType);
    boxes[kFace].BackColour = figure ? target : pic.colours[VisItems::kBackground];
    boxes[kFace].TextColour = Graphic::ContrastColour(boxes[kFace].BackColour);

    // 3-6.
    const Rect P = Graphic::InnerRect(t.cell, base.Frame);
    if (face)
        FacePanel(pic, t, P, compact);
    else
        RowPanel(pic, t, P, compact);
    if (faceElement)
        CornerBoxes(boxes);

    // 7.
    if (fonts) {
        fonts->requests.clear();
        ListFonts(t, *fonts);
    }
    return 0;
}

}  // namespace PanelLayout
