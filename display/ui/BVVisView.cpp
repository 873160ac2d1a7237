#include "display/ui/BVVisView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include "display/layout/GraphicGeometry.h"

namespace {

const platform::DialogTemplate kView{.id = CBVVisView::kTemplateId, .cx = 320, .cy = 200};

// Ticks of 100 ms the pointer stays after its last movement.
constexpr int kCursorTicks = 50;

}  // namespace

CBVVisView::CBVVisView(CVisData& data, QWidget* parent)
    : FormView(kView, parent), m_data(data), m_painter(data, *this), m_nettcast(data, m_painter), m_target(this)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_cursor.Init(kCursorTicks, true, true);
    // The pointer starts hidden.
    m_cursor.Set(kCursorTicks + 1);
    ShowCursor(true);
}

CBVVisView::~CBVVisView()
{
    if (m_surface.IsAttached())
        m_surface.Detach();
}

platform::DrawSurface* CBVVisView::BeginWindowDraw()
{
    if (!m_surface.IsAttached() && !m_surface.Attach(&m_target))
        return nullptr;
    return &m_surface;
}

void CBVVisView::EndWindowDraw()
{
    if (m_surface.IsAttached())
        m_surface.Detach();
}

void CBVVisView::Target::Changed(int left, int top, int right, int bottom)
{
    changedByView += QRect(left, top, right - left, bottom - top);
    DrawWindowTarget::Changed(left, top, right, bottom);
}

void CBVVisView::ShowCursor(bool hidden)
{
    m_cursorHidden = hidden;
    setCursor(hidden ? Qt::BlankCursor : Qt::ArrowCursor);
}

void CBVVisView::HideCursorTick()
{
    if (!m_started)
        return;
    const int before = m_cursor.Get();
    m_cursor.Step();
    if (before < kCursorTicks && m_cursor.Get() >= kCursorTicks)
        ShowCursor(true);
}

void CBVVisView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    // The first message after the start only tells where the pointer is.
    if (m_lastX < 0 && m_lastY < 0) {
        m_lastX = at.x();
        m_lastY = at.y();
        return;
    }
    if (at.x() == m_lastX && at.y() == m_lastY)
        return;
    m_lastX = at.x();
    m_lastY = at.y();
    m_cursor.Reset();
    ShowCursor(false);
}

void CBVVisView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && frameCommand)
        frameCommand(m_data.fullScreen ? kFullScreenOff : kFullScreenOn);
    FormView::mousePressEvent(event);
}

bool CBVVisView::PreTranslateKey(QKeyEvent* event)
{
    if (event->key() != Qt::Key_F1)
        return false;
    // Shift+F1 is not the view's: it goes on as any other key.
    if (event->modifiers() & Qt::ShiftModifier)
        return false;
    WinHelp(kTemplateId, platform::HELP_WINDOW_TOPIC);
    return true;
}

void CBVVisView::OnSize(int cx, int cy)
{
    m_data.drawRect = {0, 0, cx, cy};
    if (m_started && m_painter.laidOut && m_data.current)
        m_painter.LayoutPicture(true);
}

void CBVVisView::paintEvent(QPaintEvent* event)
{
    ShowCursor(m_cursor.Get() >= kCursorTicks);
    // What the view drew itself is in the picture already; only what was
    // uncovered or resized is drawn again.
    const QRegion exposed = event->region() - m_target.changedByView;
    m_target.changedByView = QRegion();
    if (!m_started)
        return;
    if (!m_painter.laidOut && !m_data.HasError())
        m_painter.LayoutPicture(true);
    if (exposed.isEmpty())
        return;
    const QRect box = exposed.boundingRect();
    const platform::Rect update{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    CVisPicture* pic = m_data.current;
    if (m_data.HasError()) {
        m_painter.DrawMessageScreen();
    } else if (!pic) {
        m_painter.DrawNoPicture(update);
    } else if (pic->HasError()) {
        m_painter.DrawMessageScreen();
    } else if (pic->type == CVisPicture::kNettcast) {
        // The export's status line is all the window shows.
    } else {
        if (Graphic::Intersects(update, pic->headerStyle.Rect))
            m_painter.DrawHeader(true);
        for (auto& t : pic->targets) {
            if (Graphic::Intersects(update, t->cell))
                t->redrawMask = -1;
            m_painter.DrawPanel(*t, true);
        }
    }
    // This paint shows what it drew.
    m_target.changedByView = QRegion();
}
