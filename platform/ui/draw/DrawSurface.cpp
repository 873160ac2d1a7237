#include "platform/ui/draw/DrawSurface.h"

#include "platform/files/SystemPath.h"
#include "platform/ui/UiText.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

namespace platform {

namespace {

// The faces the printouts and pictures ask for, and the fonts installed with
// the programs that stand in for them with the same letter widths.
struct FaceSubstitute {
    const char* face;
    const char* family;
};
constexpr FaceSubstitute kFaceSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    // The dialogs' and lists' font.
    {"MS Sans Serif", "Liberation Sans"},
};

// The system's MulDiv: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    int64_t n = static_cast<int64_t>(a) * b;
    int64_t half = std::abs(static_cast<int64_t>(c)) / 2;
    int64_t q = (n >= 0) == (c > 0) ? (std::abs(n) + half) / std::abs(static_cast<int64_t>(c))
                                    : -((std::abs(n) + half) / std::abs(static_cast<int64_t>(c)));
    return static_cast<int>(q);
}

int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }

QColor QtColour(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

const char* const kEllipsis = "...";

}  // namespace

QString FontFamilyFor(std::string_view face)
{
    for (const FaceSubstitute& s : kFaceSubstitutes) {
        if (SameNameNoCase(face, s.face))
            return QString::fromLatin1(s.family);
    }
    return ToQt(face);
}

// A font made for the device, with its measures in device pixels.
struct DrawSurface::DeviceText {
    QFont font;
    double ascent = 0;
    double descent = 0;
    double Height() const { return ascent + descent; }
    double Width(const QString& text) const { return QFontMetricsF(font).horizontalAdvance(text); }
};

DrawSurface::DrawSurface() = default;

DrawSurface::~DrawSurface()
{
    Detach();
}

bool DrawSurface::Attach(DrawTarget* target)
{
    if (m_target != nullptr || target == nullptr)
        return false;
    m_target = target;
    m_raster = target->IsRaster();
    m_state = State();
    m_saved.clear();
    m_inPath = m_pathReady = false;
    m_path = QPainterPath();
    m_cachedScale = 0;
    return true;
}

DrawTarget* DrawSurface::Detach()
{
    DrawTarget* target = m_target;
    m_target = nullptr;
    return target;
}

DeviceCaps DrawSurface::GetDeviceCaps() const
{
    if (m_target == nullptr) {
        DeviceCaps none;
        none.logPixelsX = none.logPixelsY = 0;
        none.bitsPixel = 0;
        return none;
    }
    return m_target->Caps();
}

int DrawSurface::DpiX() const
{
    int dpi = m_target ? m_target->Caps().logPixelsX : 0;
    return dpi > 0 ? dpi : 96;
}

int DrawSurface::DpiY() const
{
    int dpi = m_target ? m_target->Caps().logPixelsY : 0;
    return dpi > 0 ? dpi : 96;
}

// ---- state ------------------------------------------------------------------

int DrawSurface::SaveDC()
{
    if (m_target == nullptr)
        return 0;
    m_saved.push_back(m_state);
    Note("SaveDC", {static_cast<int>(m_saved.size())});
    return static_cast<int>(m_saved.size());
}

bool DrawSurface::RestoreDC(int saved)
{
    int index = saved < 0 ? static_cast<int>(m_saved.size()) + saved : saved - 1;
    if (saved == 0 || index < 0 || index >= static_cast<int>(m_saved.size()))
        return false;
    m_state = m_saved[static_cast<size_t>(index)];
    m_saved.resize(static_cast<size_t>(index));
    Note("RestoreDC", {saved});
    return true;
}

// ---- mapping ----------------------------------------------------------------

int DrawSurface::SetMapMode(int mode)
{
    int previous = m_state.mapMode;
    switch (mode) {
    case MM_TEXT:
        m_state.windowExt = {1, 1};
        m_state.viewportExt = {1, 1};
        break;
    case MM_LOMETRIC:
        // 254 tenths of a millimetre to the inch.
        m_state.windowExt = {254, 254};
        m_state.viewportExt = {DpiX(), -DpiY()};
        break;
    case MM_ISOTROPIC:
        if (previous != MM_ISOTROPIC) {
            m_state.windowExt = {254, 254};
            m_state.viewportExt = {DpiX(), -DpiY()};
        }
        break;
    case MM_ANISOTROPIC:
        break;
    default:
        return 0;
    }
    m_state.mapMode = mode;
    Note("SetMapMode", {}, {}, static_cast<unsigned>(mode));
    return previous;
}

int DrawSurface::GetMapMode() const { return m_state.mapMode; }

Point DrawSurface::SetWindowOrg(int x, int y)
{
    Note("SetWindowOrg", {x, y});
    return std::exchange(m_state.windowOrg, {x, y});
}

Point DrawSurface::GetWindowOrg() const { return m_state.windowOrg; }

Point DrawSurface::SetViewportOrg(int x, int y)
{
    Note("SetViewportOrg", {x, y});
    return std::exchange(m_state.viewportOrg, {x, y});
}

Point DrawSurface::OffsetViewportOrg(int dx, int dy)
{
    Point previous = m_state.viewportOrg;
    m_state.viewportOrg = {previous.x + dx, previous.y + dy};
    Note("SetViewportOrg", {m_state.viewportOrg.x, m_state.viewportOrg.y});
    return previous;
}

Point DrawSurface::GetViewportOrg() const { return m_state.viewportOrg; }

bool DrawSurface::SetWindowExt(int cx, int cy)
{
    return SetExtent(m_state.windowExt, "SetWindowExt", cx, cy);
}

bool DrawSurface::SetViewportExt(int cx, int cy)
{
    return SetExtent(m_state.viewportExt, "SetViewportExt", cx, cy);
}

bool DrawSurface::SetExtent(Size& extent, const char* name, int cx, int cy)
{
    if ((m_state.mapMode != MM_ISOTROPIC && m_state.mapMode != MM_ANISOTROPIC) || cx == 0 || cy == 0)
        return false;
    extent = {cx, cy};
    AdjustIsotropic();
    Note(name, {cx, cy});
    return true;
}

Size DrawSurface::GetWindowExt() const { return m_state.windowExt; }
Size DrawSurface::GetViewportExt() const { return m_state.viewportExt; }

// In the isotropic mode a logical unit must be as long across as down on the
// device: the viewport extent of the direction whose unit came out longer is
// shrunk to match the other.
void DrawSurface::AdjustIsotropic()
{
    if (m_state.mapMode != MM_ISOTROPIC)
        return;
    Size& we = m_state.windowExt;
    Size& ve = m_state.viewportExt;
    double wx = std::abs(we.cx), wy = std::abs(we.cy), vx = std::abs(ve.cx), vy = std::abs(ve.cy);
    double dx = DpiX(), dy = DpiY();
    // Inches per logical unit: vx / (wx * dx) across, vy / (wy * dy) down.
    double across = vx / (wx * dx), down = vy / (wy * dy);
    if (across > down) {
        int v = std::max(1, Round(down * wx * dx));
        ve.cx = ve.cx < 0 ? -v : v;
    } else if (down > across) {
        int v = std::max(1, Round(across * wy * dy));
        ve.cy = ve.cy < 0 ? -v : v;
    }
}

double DrawSurface::ScaleX() const
{
    return static_cast<double>(m_state.viewportExt.cx) / m_state.windowExt.cx;
}

double DrawSurface::ScaleY() const
{
    return static_cast<double>(m_state.viewportExt.cy) / m_state.windowExt.cy;
}

double DrawSurface::DeviceX(double x) const
{
    return (x - m_state.windowOrg.x) * ScaleX() + m_state.viewportOrg.x;
}

double DrawSurface::DeviceY(double y) const
{
    return (y - m_state.windowOrg.y) * ScaleY() + m_state.viewportOrg.y;
}

Point DrawSurface::ToDevice(int x, int y) const
{
    return {Round(DeviceX(x)), Round(DeviceY(y))};
}

// On a raster, an outline at whole pixel positions covers the pixels from
// that position on (to the right and below), so a one-pixel line from x
// covers x onwards and stops before its end, as on the screens the pictures
// were made for.
QPointF DrawSurface::StrokePoint(int x, int y) const
{
    Point d = ToDevice(x, y);
    return {static_cast<double>(d.x), static_cast<double>(d.y)};
}

QRectF DrawSurface::DeviceBox(int left, int top, int right, int bottom) const
{
    Point a = ToDevice(left, top), b = ToDevice(right, bottom);
    int l = std::min(a.x, b.x), r = std::max(a.x, b.x);
    int t = std::min(a.y, b.y), btm = std::max(a.y, b.y);
    return QRectF(l, t, r - l, btm - t);
}

QRectF DrawSurface::StrokeBox(const QRectF& box) const
{
    // The outline of a box from left to right - 1 on a raster.
    if (!m_raster)
        return box;
    return QRectF(box.left(), box.top(), std::max(0.0, box.width() - 1), std::max(0.0, box.height() - 1));
}

void DrawSurface::LPtoDP(Point& point) const
{
    point = ToDevice(point.x, point.y);
}

void DrawSurface::LPtoDP(Rect& rect) const
{
    Point a = ToDevice(rect.left, rect.top), b = ToDevice(rect.right, rect.bottom);
    rect = {a.x, a.y, b.x, b.y};
}

void DrawSurface::LPtoDP(Size& size) const
{
    size.cx = MulDiv(size.cx, std::abs(m_state.viewportExt.cx), std::abs(m_state.windowExt.cx));
    size.cy = MulDiv(size.cy, std::abs(m_state.viewportExt.cy), std::abs(m_state.windowExt.cy));
}

void DrawSurface::DPtoLP(Point& point) const
{
    double x = (point.x - m_state.viewportOrg.x) / ScaleX() + m_state.windowOrg.x;
    double y = (point.y - m_state.viewportOrg.y) / ScaleY() + m_state.windowOrg.y;
    point = {Round(x), Round(y)};
}

void DrawSurface::DPtoLP(Rect& rect) const
{
    Point a{rect.left, rect.top}, b{rect.right, rect.bottom};
    DPtoLP(a);
    DPtoLP(b);
    rect = {a.x, a.y, b.x, b.y};
}

void DrawSurface::DPtoLP(Size& size) const
{
    size.cx = MulDiv(size.cx, std::abs(m_state.windowExt.cx), std::abs(m_state.viewportExt.cx));
    size.cy = MulDiv(size.cy, std::abs(m_state.windowExt.cy), std::abs(m_state.viewportExt.cy));
}

void DrawSurface::HimetricToDp(Size& size) const
{
    // 2540 hundredths of a millimetre to the inch.
    size.cx = MulDiv(size.cx, DpiX(), 2540);
    size.cy = MulDiv(size.cy, DpiY(), 2540);
}

void DrawSurface::HimetricToLp(Size& size) const
{
    HimetricToDp(size);
    DPtoLP(size);
}

// ---- objects ----------------------------------------------------------------

DrawFont DrawSurface::SelectFont(const DrawFont& font)
{
    return std::exchange(m_state.font, font);
}

DrawPen DrawSurface::SelectPen(const DrawPen& pen)
{
    return std::exchange(m_state.pen, pen);
}

DrawBrush DrawSurface::SelectBrush(const DrawBrush& brush)
{
    return std::exchange(m_state.brush, brush);
}

const DrawFont& DrawSurface::GetFont() const { return m_state.font; }
const DrawPen& DrawSurface::GetPen() const { return m_state.pen; }
const DrawBrush& DrawSurface::GetBrush() const { return m_state.brush; }

DrawFont DrawSurface::PointFont(int tenthsOfPoint, std::string_view face, int weight) const
{
    // 72 points of 10 tenths to the inch.
    int devicePixels = MulDiv(DpiY(), tenthsOfPoint, 720);
    DrawFont font;
    font.face = std::string(face);
    font.height = -std::abs(MulDiv(devicePixels, std::abs(m_state.windowExt.cy), std::abs(m_state.viewportExt.cy)));
    font.weight = weight;
    return font;
}

Colour DrawSurface::SetTextColor(Colour colour)
{
    return std::exchange(m_state.textColour, colour);
}

Colour DrawSurface::GetTextColor() const { return m_state.textColour; }

Colour DrawSurface::SetBkColor(Colour colour)
{
    return std::exchange(m_state.bkColour, colour);
}

Colour DrawSurface::GetBkColor() const { return m_state.bkColour; }

int DrawSurface::SetBkMode(int mode)
{
    int previous = m_state.bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_state.bkMode = mode;
    return previous;
}

int DrawSurface::GetBkMode() const { return m_state.bkMode; }

unsigned DrawSurface::SetTextAlign(unsigned align)
{
    return std::exchange(m_state.textAlign, align);
}

unsigned DrawSurface::GetTextAlign() const { return m_state.textAlign; }

int DrawSurface::SetArcDirection(int direction)
{
    int previous = m_state.arcDirection;
    if (direction != AD_CLOCKWISE && direction != AD_COUNTERCLOCKWISE)
        return 0;
    m_state.arcDirection = direction;
    return previous;
}

int DrawSurface::GetArcDirection() const { return m_state.arcDirection; }

// ---- fonts and text ---------------------------------------------------------

QFont DrawSurface::DeviceFont(const DrawFont& font) const
{
    double scale = std::abs(ScaleY());
    if (m_cachedScale == scale && m_cachedFont == font)
        return m_cachedQtFont;
    int pixels = font.height == 0 ? MulDiv(DpiY(), 100, 720) : std::max(1, Round(std::abs(font.height) * scale));
    QFont q;
    q.setFamily(FontFamilyFor(font.face));
    q.setPixelSize(pixels);
    q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    // Unhinted and without kerning, so that widths scale with the size and
    // come out as the printouts were laid out for.
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(false);
    if (font.height > 0) {
        // A cell height: the character height is what is left after the leading.
        QFontMetricsF m(q);
        double cell = m.ascent() + m.descent();
        if (cell > 0)
            q.setPixelSize(std::max(1, Round(pixels * pixels / cell)));
    }
    m_cachedFont = font;
    m_cachedScale = scale;
    m_cachedQtFont = q;
    return q;
}

DrawSurface::DeviceText DrawSurface::Realise(const DrawFont& font) const
{
    DeviceText t;
    t.font = DeviceFont(font);
    QFontMetricsF m(t.font);
    t.ascent = m.ascent();
    t.descent = m.descent();
    return t;
}

Size DrawSurface::GetTextExtent(std::string_view text) const
{
    if (m_target == nullptr)
        return {};
    DeviceText t = Realise(m_state.font);
    Size size{Round(t.Width(ToQt(text))), Round(t.ascent) + Round(t.descent)};
    DPtoLP(size);
    return size;
}

TextMetrics DrawSurface::GetTextMetrics() const
{
    if (m_target == nullptr)
        return {};
    DeviceText t = Realise(m_state.font);
    QFontMetricsF m(t.font);
    Size ascent{Round(m.averageCharWidth()), Round(t.ascent)};
    Size descent{0, Round(t.descent)};
    Size em{0, t.font.pixelSize()};
    DPtoLP(ascent);
    DPtoLP(descent);
    DPtoLP(em);
    TextMetrics metrics;
    metrics.ascent = ascent.cy;
    metrics.descent = descent.cy;
    metrics.height = ascent.cy + descent.cy;
    metrics.internalLeading = std::max(0, metrics.height - em.cy);
    metrics.aveCharWidth = ascent.cx;
    return metrics;
}

bool DrawSurface::TextOut(int x, int y, std::string_view text)
{
    if (m_target == nullptr)
        return false;
    Note("TextOut", {x, y}, text, m_state.textAlign);
    if (m_inPath || text.empty())
        return true;
    DeviceText t = Realise(m_state.font);
    QString q = ToQt(text);
    double width = t.Width(q);
    Point d = ToDevice(x, y);
    double left = d.x;
    switch (m_state.textAlign & TA_CENTER) {
    case TA_CENTER:
        left -= width / 2;
        break;
    case TA_RIGHT:
        left -= width;
        break;
    default:
        break;
    }
    double baseline = d.y + t.ascent;
    switch (m_state.textAlign & TA_BASELINE) {
    case TA_BASELINE:
        baseline = d.y;
        break;
    case TA_BOTTOM:
        baseline = d.y - t.descent;
        break;
    default:
        break;
    }
    QPainter* p = Begin(false, false);
    if (p == nullptr)
        return true;
    QRectF cell(left, baseline - t.ascent, width, t.Height());
    if (m_state.bkMode == OPAQUE)
        p->fillRect(cell, QtColour(m_state.bkColour));
    p->setFont(t.font);
    p->setPen(QtColour(m_state.textColour));
    p->drawText(QPointF(left, baseline), q);
    Finish(cell);
    return true;
}

int DrawSurface::DrawText(std::string_view text, const Rect& rect, unsigned format)
{
    if (m_target == nullptr)
        return 0;
    Note("DrawText", {rect.left, rect.top, rect.right, rect.bottom}, text, format);
    DeviceText t = Realise(m_state.font);
    QRectF box = DeviceBox(rect.left, rect.top, rect.right, rect.bottom);

    // Lines break only where the text has line ends; a single line shows
    // them as blanks.
    std::vector<QString> lines;
    QString all = ToQt(text);
    if (format & DT_SINGLELINE) {
        all.replace(QLatin1String("\r\n"), QLatin1String(" "));
        all.replace(QLatin1Char('\r'), QLatin1Char(' '));
        all.replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines.push_back(all);
    } else {
        all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString& line : all.split(QLatin1Char('\n')))
            lines.push_back(line);
    }

    // Whole pixels a line, as the device's own text measures lines.
    double lineHeight = Round(t.ascent) + Round(t.descent);
    QPainter* p = m_inPath ? nullptr : Begin(false, false);
    if (p != nullptr) {
        if (!(format & DT_NOCLIP))
            p->setClipRect(box, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        p->setFont(t.font);
        p->setPen(QtColour(m_state.textColour));
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        double width = t.Width(line);
        if ((format & DT_END_ELLIPSIS) && width > box.width()) {
            // The longest start of the line that still fits with the dots.
            int low = 0, high = static_cast<int>(line.size());
            while (low < high) {
                int mid = (low + high + 1) / 2;
                if (t.Width(line.left(mid) + QLatin1String(kEllipsis)) <= box.width())
                    low = mid;
                else
                    high = mid - 1;
            }
            line = line.left(low) + QLatin1String(kEllipsis);
            width = t.Width(line);
        }
        double left = box.left();
        if (format & DT_RIGHT)
            left = box.right() - width;
        else if (format & DT_CENTER)
            left = box.left() + (box.width() - width) / 2;
        double top = box.top() + static_cast<double>(i) * lineHeight;
        if (format & DT_SINGLELINE) {
            if (format & DT_BOTTOM)
                top = box.bottom() - lineHeight;
            else if (format & DT_VCENTER)
                top = box.top() + (box.height() - lineHeight) / 2;
        }
        if (p != nullptr) {
            QRectF cell(left, top, width, lineHeight);
            if (m_state.bkMode == OPAQUE)
                p->fillRect(cell, QtColour(m_state.bkColour));
            p->drawText(QPointF(left, top + t.ascent), line);
        }
    }
    if (p != nullptr)
        Finish(box);
    Size height{0, Round(lineHeight * static_cast<double>(lines.size()))};
    DPtoLP(height);
    return std::max(1, height.cy);
}

// ---- lines and shapes -------------------------------------------------------

QPen DrawSurface::QtPen() const
{
    const DrawPen& pen = m_state.pen;
    if (pen.style == PenStyle::Null)
        return QPen(Qt::NoPen);
    double width = pen.width <= 0 ? 1.0 : std::max(1.0, pen.width * std::abs(ScaleX()));
    if (m_raster)
        width = std::max(1, Round(width));
    Qt::PenStyle style = Qt::SolidLine;
    switch (pen.style) {
    case PenStyle::Dash:
        style = Qt::DashLine;
        break;
    case PenStyle::Dot:
        style = Qt::DotLine;
        break;
    case PenStyle::DashDot:
        style = Qt::DashDotLine;
        break;
    default:
        break;
    }
    // Thin lines end square at their end point; wide ones are round at both
    // ends and corners, as the system's wide pens are.
    bool thin = width <= 1.0;
    return QPen(QtColour(pen.colour), width, style, thin ? Qt::FlatCap : Qt::RoundCap,
                thin ? Qt::MiterJoin : Qt::RoundJoin);
}

QPainter* DrawSurface::Begin(bool withPen, bool withBrush)
{
    if (m_target == nullptr)
        return nullptr;
    QPainter* p = m_target->Painter();
    if (p == nullptr)
        return nullptr;
    p->resetTransform();
    p->setRenderHint(QPainter::Antialiasing, !m_raster);
    p->setRenderHint(QPainter::TextAntialiasing, true);
    p->setBackgroundMode(Qt::TransparentMode);
    if (m_state.clipped)
        p->setClipPath(m_state.clip);
    else
        p->setClipping(false);
    p->setPen(withPen ? QtPen() : QPen(Qt::NoPen));
    if (withBrush && m_state.brush.style == BrushStyle::Solid)
        p->setBrush(QtColour(m_state.brush.colour));
    else
        p->setBrush(Qt::NoBrush);
    return p;
}

void DrawSurface::Finish(const QRectF& touched)
{
    double margin = m_state.pen.width > 0 ? m_state.pen.width * std::abs(ScaleX()) + 2 : 2;
    m_target->Changed(static_cast<int>(std::floor(touched.left() - margin)),
                      static_cast<int>(std::floor(touched.top() - margin)),
                      static_cast<int>(std::ceil(touched.right() + margin)),
                      static_cast<int>(std::ceil(touched.bottom() + margin)));
}

// Between BeginPath and EndPath a figure joins the path instead of being
// drawn; the line after it starts a figure of its own.
void DrawSurface::AddToPath(const QPainterPath& figure)
{
    m_path.addPath(figure);
    m_pathNeedsMove = true;
}

// An open figure (line, arc) drawn with the pen at once.
void DrawSurface::StrokeNow(const QPainterPath& figure)
{
    QPainter* p = Begin(true, false);
    if (p == nullptr)
        return;
    if (p->pen().style() != Qt::NoPen)
        p->drawPath(figure);
    Finish(figure.boundingRect());
}

bool DrawSurface::DrawShape(const QPainterPath& fillShape, const QPainterPath& strokeShape)
{
    if (m_inPath) {
        AddToPath(strokeShape);
        return true;
    }
    QPainter* p = Begin(false, false);
    if (p == nullptr)
        return m_target != nullptr;
    if (m_state.brush.style == BrushStyle::Solid)
        p->fillPath(fillShape, QtColour(m_state.brush.colour));
    QPen pen = QtPen();
    if (pen.style() != Qt::NoPen)
        p->strokePath(strokeShape, pen);
    Finish(fillShape.boundingRect().united(strokeShape.boundingRect()));
    return true;
}

void DrawSurface::PathStart()
{
    if (m_pathNeedsMove) {
        m_path.moveTo(StrokePoint(m_state.position.x, m_state.position.y));
        m_pathNeedsMove = false;
    }
}

Point DrawSurface::MoveTo(int x, int y)
{
    Point previous = m_state.position;
    m_state.position = {x, y};
    Note("MoveTo", {x, y});
    if (m_inPath) {
        m_path.moveTo(StrokePoint(x, y));
        m_pathNeedsMove = false;
    }
    return previous;
}

Point DrawSurface::GetCurrentPosition() const { return m_state.position; }

bool DrawSurface::LineTo(int x, int y)
{
    if (m_target == nullptr)
        return false;
    Note("LineTo", {x, y});
    QPointF from = StrokePoint(m_state.position.x, m_state.position.y);
    QPointF to = StrokePoint(x, y);
    m_state.position = {x, y};
    if (m_inPath) {
        PathStart();
        m_path.lineTo(to);
        return true;
    }
    QPainter* p = Begin(true, false);
    if (p == nullptr)
        return true;
    if (p->pen().style() != Qt::NoPen)
        p->drawLine(from, to);
    Finish(QRectF(from, to).normalized());
    return true;
}

bool DrawSurface::Rectangle(int left, int top, int right, int bottom)
{
    if (m_target == nullptr)
        return false;
    Note("Rectangle", {left, top, right, bottom});
    QRectF box = DeviceBox(left, top, right, bottom);
    QPainterPath fill, stroke;
    fill.addRect(box);
    stroke.addRect(StrokeBox(box));
    return DrawShape(fill, stroke);
}

bool DrawSurface::Ellipse(int left, int top, int right, int bottom)
{
    if (m_target == nullptr)
        return false;
    Note("Ellipse", {left, top, right, bottom});
    QRectF box = DeviceBox(left, top, right, bottom);
    QPainterPath fill, stroke;
    fill.addEllipse(box);
    stroke.addEllipse(StrokeBox(box));
    return DrawShape(fill, stroke);
}

// Angles are taken on the device, where the picture is seen: clockwise is
// clockwise on the finished page, whichever way the logical y axis runs.
void DrawSurface::ArcPath(QPainterPath& path, const Rect& rect, Point start, Point end,
                          bool joinFromCurrent, QPointF* endPoint) const
{
    QRectF box = DeviceBox(rect.left, rect.top, rect.right, rect.bottom);
    QRectF stroke = StrokeBox(box);
    QPointF centre = box.center();
    double a = std::max(stroke.width() / 2, 1e-9), b = std::max(stroke.height() / 2, 1e-9);
    auto angleOf = [&](Point p) {
        double x = DeviceX(p.x) - centre.x(), y = DeviceY(p.y) - centre.y();
        // The parameter of the ellipse point on the ray through p, in degrees,
        // counted anticlockwise from three o'clock as Qt counts them.
        return std::atan2(-y / b, x / a) * 180.0 / std::numbers::pi;
    };
    double from = angleOf(start), to = angleOf(end);
    double sweep;
    if (m_state.arcDirection == AD_CLOCKWISE) {
        sweep = -std::fmod(from - to + 720.0, 360.0);
        if (sweep > -1e-9)
            sweep = -360.0;
    } else {
        sweep = std::fmod(to - from + 720.0, 360.0);
        if (sweep < 1e-9)
            sweep = 360.0;
    }
    if (!joinFromCurrent)
        path.arcMoveTo(stroke, from);
    path.arcTo(stroke, from, sweep);
    if (endPoint != nullptr)
        *endPoint = path.currentPosition();
}

bool DrawSurface::Arc(const Rect& rect, Point start, Point end)
{
    if (m_target == nullptr)
        return false;
    Note("Arc", {rect.left, rect.top, rect.right, rect.bottom, start.x, start.y, end.x, end.y}, {},
         static_cast<unsigned>(m_state.arcDirection));
    QPainterPath arc;
    ArcPath(arc, rect, start, end, false, nullptr);
    if (m_inPath)
        AddToPath(arc);
    else
        StrokeNow(arc);
    return true;
}

bool DrawSurface::ArcTo(const Rect& rect, Point start, Point end)
{
    if (m_target == nullptr)
        return false;
    Note("ArcTo", {rect.left, rect.top, rect.right, rect.bottom, start.x, start.y, end.x, end.y}, {},
         static_cast<unsigned>(m_state.arcDirection));
    QPointF arcEnd;
    if (m_inPath) {
        PathStart();
        ArcPath(m_path, rect, start, end, true, &arcEnd);
    } else {
        QPainterPath arc;
        arc.moveTo(StrokePoint(m_state.position.x, m_state.position.y));
        ArcPath(arc, rect, start, end, true, &arcEnd);
        StrokeNow(arc);
    }
    Point logical{Round(arcEnd.x()), Round(arcEnd.y())};
    DPtoLP(logical);
    m_state.position = logical;
    return true;
}

bool DrawSurface::Polyline(std::span<const Point> points)
{
    if (m_target == nullptr || points.size() < 2)
        return false;
    Note("Polyline", points);
    QPainterPath line;
    line.moveTo(StrokePoint(points[0].x, points[0].y));
    for (size_t i = 1; i < points.size(); ++i)
        line.lineTo(StrokePoint(points[i].x, points[i].y));
    if (m_inPath)
        AddToPath(line);
    else
        StrokeNow(line);
    return true;
}

bool DrawSurface::Polygon(std::span<const Point> points)
{
    if (m_target == nullptr || points.size() < 2)
        return false;
    Note("Polygon", points);
    QPainterPath shape;
    shape.setFillRule(Qt::OddEvenFill);
    shape.moveTo(StrokePoint(points[0].x, points[0].y));
    for (size_t i = 1; i < points.size(); ++i)
        shape.lineTo(StrokePoint(points[i].x, points[i].y));
    shape.closeSubpath();
    return DrawShape(shape, shape);
}

void DrawSurface::FillSolidRect(const Rect& rect, Colour colour)
{
    if (m_target == nullptr)
        return;
    m_state.bkColour = colour;
    Note("FillSolidRect", {rect.left, rect.top, rect.right, rect.bottom}, {}, colour);
    FillBox(rect, colour);
}

bool DrawSurface::FillRect(const Rect& rect, const DrawBrush& brush)
{
    if (m_target == nullptr)
        return false;
    Note("FillRect", {rect.left, rect.top, rect.right, rect.bottom}, {}, brush.colour);
    if (brush.style == BrushStyle::Solid)
        FillBox(rect, brush.colour);
    return true;
}

// Fills without the pen or the selected brush.
void DrawSurface::FillBox(const Rect& rect, Colour colour)
{
    QPainter* p = Begin(false, false);
    if (p == nullptr)
        return;
    QRectF box = DeviceBox(rect.left, rect.top, rect.right, rect.bottom);
    p->fillRect(box, QtColour(colour));
    Finish(box);
}

// ---- paths ------------------------------------------------------------------

bool DrawSurface::BeginPath()
{
    if (m_target == nullptr)
        return false;
    Note("BeginPath", {});
    m_path = QPainterPath();
    m_path.setFillRule(Qt::OddEvenFill);
    m_inPath = true;
    m_pathReady = false;
    m_pathNeedsMove = true;
    return true;
}

bool DrawSurface::CloseFigure()
{
    if (!m_inPath)
        return false;
    Note("CloseFigure", {});
    m_path.closeSubpath();
    m_pathNeedsMove = true;
    return true;
}

bool DrawSurface::EndPath()
{
    if (!m_inPath)
        return false;
    Note("EndPath", {});
    m_inPath = false;
    m_pathReady = true;
    return true;
}

bool DrawSurface::AbortPath()
{
    m_inPath = m_pathReady = false;
    m_path = QPainterPath();
    return m_target != nullptr;
}

bool DrawSurface::StrokePath()
{
    if (!m_pathReady)
        return false;
    Note("StrokePath", {});
    m_pathReady = false;
    QPainter* p = Begin(true, false);
    if (p != nullptr && p->pen().style() != Qt::NoPen) {
        p->drawPath(m_path);
        Finish(m_path.boundingRect());
    }
    m_path = QPainterPath();
    return true;
}

bool DrawSurface::FillPath()
{
    if (!m_pathReady)
        return false;
    Note("FillPath", {});
    m_pathReady = false;
    QPainter* p = Begin(false, false);
    if (p != nullptr && m_state.brush.style == BrushStyle::Solid) {
        p->fillPath(m_path, QtColour(m_state.brush.colour));
        Finish(m_path.boundingRect());
    }
    m_path = QPainterPath();
    return true;
}

bool DrawSurface::StrokeAndFillPath()
{
    if (!m_pathReady)
        return false;
    Note("StrokeAndFillPath", {});
    m_pathReady = false;
    QPainterPath path = m_path;
    m_path = QPainterPath();
    return DrawShape(path, path);
}

// ---- clipping ---------------------------------------------------------------

int DrawSurface::ClipKind() const
{
    if (!m_state.clipped)
        return SIMPLEREGION;
    QRectF box = m_state.clip.boundingRect();
    return m_state.clip.isEmpty() || box.width() <= 0 || box.height() <= 0 ? NULLREGION : SIMPLEREGION;
}

int DrawSurface::IntersectClipRect(const Rect& rect)
{
    if (m_target == nullptr)
        return RGN_ERROR;
    Note("IntersectClipRect", {rect.left, rect.top, rect.right, rect.bottom});
    QPainterPath box;
    box.addRect(DeviceBox(rect.left, rect.top, rect.right, rect.bottom));
    m_state.clip = m_state.clipped ? m_state.clip.intersected(box) : box;
    m_state.clipped = true;
    return ClipKind();
}

int DrawSurface::SelectClipRgn(const DrawRegion* region)
{
    if (m_target == nullptr)
        return RGN_ERROR;
    if (region == nullptr) {
        Note("SelectClipRgn", {});
        m_state.clipped = false;
        m_state.clip = QPainterPath();
        return SIMPLEREGION;
    }
    Rect box = region->Box();
    Note("SelectClipRgn", {box.left, box.top, box.right, box.bottom});
    m_state.clip = region->Path();
    m_state.clipped = true;
    return ClipKind();
}

int DrawSurface::GetClipBox(Rect& rect) const
{
    if (m_target == nullptr)
        return RGN_ERROR;
    DeviceCaps caps = m_target->Caps();
    QRectF box(0, 0, caps.horzRes, caps.vertRes);
    if (m_state.clipped)
        box = box.intersected(m_state.clip.boundingRect());
    if (box.width() <= 0 || box.height() <= 0) {
        rect = {};
        return NULLREGION;
    }
    rect = {static_cast<int>(std::floor(box.left())), static_cast<int>(std::floor(box.top())),
            static_cast<int>(std::ceil(box.right())), static_cast<int>(std::ceil(box.bottom()))};
    DPtoLP(rect);
    return ClipKind();
}

// ---- documents --------------------------------------------------------------

int DrawSurface::StartDoc(const std::string& documentName)
{
    if (m_target == nullptr)
        return -1;
    Note("StartDoc", {}, documentName);
    return m_target->StartDoc(documentName);
}

int DrawSurface::StartPage()
{
    return DocumentCall("StartPage", &DrawTarget::StartPage);
}

int DrawSurface::EndPage()
{
    return DocumentCall("EndPage", &DrawTarget::EndPage);
}

int DrawSurface::EndDoc()
{
    return DocumentCall("EndDoc", &DrawTarget::EndDoc);
}

int DrawSurface::AbortDoc()
{
    return DocumentCall("AbortDoc", &DrawTarget::AbortDoc);
}

int DrawSurface::DocumentCall(const char* name, int (DrawTarget::*call)())
{
    if (m_target == nullptr)
        return -1;
    Note(name, {});
    return (m_target->*call)();
}

void DrawSurface::SetAbortProc(std::function<bool()> proc)
{
    if (m_target != nullptr)
        m_target->SetAbortProc(std::move(proc));
}

// ---- recording --------------------------------------------------------------

bool DrawSurface::Recording() const
{
    return m_target != nullptr && m_target->Records();
}

void DrawSurface::Note(const char* name, std::initializer_list<int> args, std::string_view text, unsigned flags)
{
    if (!Recording())
        return;
    DrawCall call;
    call.name = name;
    call.args.assign(args.begin(), args.end());
    call.text = std::string(text);
    call.flags = flags;
    Record(std::move(call));
}

void DrawSurface::Note(const char* name, std::span<const Point> points)
{
    if (!Recording())
        return;
    DrawCall call;
    call.name = name;
    for (const Point& p : points) {
        call.args.push_back(p.x);
        call.args.push_back(p.y);
    }
    Record(std::move(call));
}

// A call goes to the recorder with the objects and colours it was drawn with.
void DrawSurface::Record(DrawCall&& call)
{
    call.font = m_state.font;
    call.pen = m_state.pen;
    call.brush = m_state.brush;
    call.textColour = m_state.textColour;
    call.inPath = m_inPath;
    m_target->Record(std::move(call));
}

}  // namespace platform
