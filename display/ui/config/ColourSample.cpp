#include "display/ui/config/ColourSample.h"

#include <algorithm>

#include "display/settings/VisSettings.h"
#include "platform/ui/draw/DrawSurface.h"
#include "platform/ui/draw/DrawWindowTarget.h"

using namespace platform;

namespace {

Colour Of(const ColourSet::Colours& c, int colour) { return c[static_cast<size_t>(colour - 1)]; }

void Disc(DrawSurface& dc, Point centre, int radius, Colour fill, Colour outline)
{
    dc.SelectPen({PenStyle::Solid, 0, outline});
    dc.SelectBrush(DrawBrush::SolidOf(fill));
    dc.Ellipse(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius);
}

}  // namespace

CColourSample::CColourSample(Kind kind, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_target(std::make_unique<DrawWindowTarget>(this))
{
    setMinimumSize(120, kind == Kind::Target ? 120 : 50);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

CColourSample::~CColourSample() = default;

void CColourSample::SetColours(const ColourSet::Colours& colours)
{
    m_colours = colours;
    update();
}

QImage CColourSample::Picture() const { return m_target->Picture(); }

void CColourSample::paintEvent(QPaintEvent*)
{
    DrawSurface dc;
    if (!dc.Attach(m_target.get()))
        return;
    Draw(dc, Rect{0, 0, width(), height()}, m_kind, m_colours);
    dc.Detach();
}

void CColourSample::Draw(DrawSurface& dc, const Rect& rect, Kind kind, const ColourSet::Colours& colours)
{
    using VisItems::kBackground, VisItems::kText, VisItems::kTarget, VisItems::kCentre, VisItems::kShot,
        VisItems::kLastShot;
    const Colour background = Of(colours, kBackground);
    const Colour text = Of(colours, kText);
    dc.SelectPen({PenStyle::Solid, 0, text});
    dc.SelectBrush(DrawBrush::SolidOf(background));
    dc.Rectangle(rect);
    if (kind == Kind::Text) {
        dc.SelectFont(dc.PointFont(100, "Arial"));
        dc.SetTextColor(text);
        dc.SetBkColor(background);
        dc.SetBkMode(OPAQUE);
        dc.TextOut(rect.left + 2, rect.top + 2, "Tekst");
        dc.TextOut(rect.left + 2, rect.top + 22, "Tekst");
        return;
    }
    // The face as big as the box allows, its rings outlined in a colour
    // that stands out from them.
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int l = std::min(width, height) / 2 - 3;
    if (l < 5)
        return;
    const Point centre{rect.left + width / 2, rect.top + height / 2};
    const Colour target = Of(colours, kTarget);
    const Colour inner = Of(colours, kCentre);
    const Colour targetLine = ColourSet::ContrastColour(target, 0x000000, true);
    const Colour innerLine = ColourSet::ContrastColour(inner, 0xFFFFFF, true);
    Disc(dc, centre, l, target, targetLine);
    Disc(dc, centre, 4 * l / 5, target, targetLine);
    Disc(dc, centre, 3 * l / 5, inner, innerLine);
    Disc(dc, centre, 2 * l / 5, inner, innerLine);
    // Two shots beside the centre, the last one below them.
    const int shot = std::max(3, l / 10);
    Disc(dc, {centre.x - l / 4, centre.y - l / 8}, shot, Of(colours, kShot), Of(colours, kShot));
    Disc(dc, {centre.x + l / 4, centre.y - l / 8}, shot, Of(colours, kShot), Of(colours, kShot));
    Disc(dc, {centre.x, centre.y + l / 4}, shot, Of(colours, kLastShot), Of(colours, kLastShot));
}
