#include "platform/ui/draw/DrawImageTarget.h"

namespace platform {

DrawImageTarget::DrawImageTarget(int width, int height, int dotsPerInch) : m_dpi(dotsPerInch > 0 ? dotsPerInch : 96)
{
    if (width <= 0 || height <= 0)
        return;
    m_image = QImage(width, height, QImage::Format_RGB32);
    if (m_image.isNull())
        return;
    // Inches to metres: 39.37 inches to the metre.
    int perMetre = static_cast<int>(m_dpi * 10000.0 / 254.0 + 0.5);
    m_image.setDotsPerMeterX(perMetre);
    m_image.setDotsPerMeterY(perMetre);
    m_image.fill(Qt::white);
}

DrawImageTarget::~DrawImageTarget()
{
    if (m_painter.isActive())
        m_painter.end();
}

DeviceCaps DrawImageTarget::Caps() const
{
    DeviceCaps caps;
    caps.horzRes = caps.physicalWidth = m_image.width();
    caps.vertRes = caps.physicalHeight = m_image.height();
    caps.logPixelsX = caps.logPixelsY = m_dpi;
    caps.bitsPixel = 32;
    return caps;
}

QPainter* DrawImageTarget::Painter()
{
    if (m_image.isNull())
        return nullptr;
    if (!m_painter.isActive() && !m_painter.begin(&m_image))
        return nullptr;
    return &m_painter;
}

const QImage& DrawImageTarget::Image()
{
    // Everything drawn so far must be in the pixels before they are read.
    if (m_painter.isActive())
        m_painter.end();
    return m_image;
}

}  // namespace platform
