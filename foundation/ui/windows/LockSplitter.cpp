#include "foundation/ui/windows/LockSplitter.h"

#include "platform/ui/KitWindow.h"

#include <QMouseEvent>
#include <QPainter>

CLockSplitter::CLockSplitter(int rows, int cols, QWidget* parent) : platform::SplitterWnd(rows, cols, parent) {}

CLockSplitter::~CLockSplitter() = default;

void CLockSplitter::OnDrawSplitter(QPainter* painter, Part part, const QRect& rect)
{
    if (part != Part::Border) {
        platform::SplitterWnd::OnDrawSplitter(painter, part, rect);
        return;
    }
    bool firstCol = rect.left() == 0;
    bool firstRow = rect.top() == 0;
    int32_t flat = firstRow ? (firstCol ? m_bFlatTopLeft : m_bFlatTopRight)
                            : (firstCol ? m_bFlatBottomLeft : m_bFlatBottomRight);
    if (!flat) {
        platform::SplitterWnd::OnDrawSplitter(painter, part, rect);
        return;
    }
    if (!painter) {
        // Nothing to draw on: draw it with the next paint.
        update(rect);
        return;
    }
    // Two one-pixel frames in the button face colour, light and dark edge alike.
    QColor face = palette().color(QPalette::Button);
    painter->setPen(face);
    QRect r = rect.adjusted(0, 0, -1, -1);
    painter->drawRect(r);
    painter->drawRect(r.adjusted(1, 1, -1, -1));
}

bool CLockSplitter::OnBarMouse(QMouseEvent* event)
{
    if (!m_bLocked)
        return false;
    // A press starts no tracking and a move does nothing; a release of a
    // press the bar never saw is the bar's own business.
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
           event->type() == QEvent::MouseButtonDblClick;
}

Qt::CursorShape CLockSplitter::BarCursor() const
{
    return m_bLocked ? Qt::ArrowCursor : platform::SplitterWnd::BarCursor();
}

int32_t CLockSplitter::OnHelpHitTest(QPoint point) const
{
    QWidget* top = window();
    QPoint p = top ? mapTo(top, point) : point;
    // In 32-bit arithmetic: a point left of the frame borrows from the row part.
    int64_t packed = (static_cast<int64_t>(p.y()) + 4096) * 65536 + p.x();
    return static_cast<int32_t>(static_cast<uint32_t>(packed));
}

int CLockSplitter::OnCommandHelp()
{
    platform::KitWindow* frame = platform::KitWindow::Of(window());
    if (frame)
        frame->WinHelp(128, 4);
    return 1;
}
