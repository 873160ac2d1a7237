#include "platform/ui/draw/DrawWindowTarget.h"

#include <QEvent>
#include <QPaintEvent>
#include <QResizeEvent>

namespace platform {

DrawWindowTarget::DrawWindowTarget(QWidget* window) : m_window(window)
{
    if (window == nullptr)
        return;
    Resize(window->size());
    window->installEventFilter(this);
}

DrawWindowTarget::~DrawWindowTarget()
{
    EndPainting();
    if (m_window)
        m_window->removeEventFilter(this);
}

DeviceCaps DrawWindowTarget::Caps() const
{
    DeviceCaps caps;
    if (m_window) {
        caps.horzRes = caps.physicalWidth = m_window->width();
        caps.vertRes = caps.physicalHeight = m_window->height();
        caps.logPixelsX = m_window->logicalDpiX();
        caps.logPixelsY = m_window->logicalDpiY();
    }
    caps.bitsPixel = 32;
    return caps;
}

QPainter* DrawWindowTarget::Painter()
{
    if (!m_window)
        return nullptr;
    // A hidden window hears of a new size only when shown again.
    Resize(m_window->size());
    if (!m_painter.isActive() && !m_painter.begin(&m_picture))
        return nullptr;
    return &m_painter;
}

void DrawWindowTarget::Changed(int left, int top, int right, int bottom)
{
    // While the window paints, what its paint handling draws is shown by
    // this same paint; asking for another would paint for ever.
    if (m_window && !m_window->testAttribute(Qt::WA_WState_InPaintEvent))
        m_window->update(QRect(left, top, right - left, bottom - top));
}

const QImage& DrawWindowTarget::Picture()
{
    EndPainting();
    return m_picture;
}

void DrawWindowTarget::EndPainting()
{
    if (m_painter.isActive())
        m_painter.end();
}

void DrawWindowTarget::Resize(const QSize& size)
{
    if (size == m_picture.size())
        return;
    EndPainting();
    QImage bigger(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    bigger.fill(Qt::white);
    if (!m_picture.isNull()) {
        QPainter copy(&bigger);
        copy.drawImage(0, 0, m_picture);
    }
    m_picture = bigger;
}

bool DrawWindowTarget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    if (event->type() == QEvent::Resize) {
        Resize(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
    if (event->type() == QEvent::Paint) {
        // The window's own paint handling first (it may draw through a
        // surface into the picture), then the picture on the screen.
        static_cast<QObject*>(m_window.data())->event(event);
        EndPainting();
        QPainter screen(m_window.data());
        QRect area = static_cast<QPaintEvent*>(event)->rect();
        screen.drawImage(area, m_picture, area);
        return true;
    }
    return false;
}

}  // namespace platform
