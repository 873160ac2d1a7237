#include "platform/ui/draw/DrawTypes.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

QRectF Normalised(const Rect& r)
{
    int l = std::min(r.left, r.right), rr = std::max(r.left, r.right);
    int t = std::min(r.top, r.bottom), b = std::max(r.top, r.bottom);
    return QRectF(l, t, rr - l, b - t);
}

}  // namespace

DrawRegion DrawRegion::FromRect(const Rect& device)
{
    DrawRegion r;
    QRectF box = Normalised(device);
    if (!box.isEmpty())
        r.m_path.addRect(box);
    return r;
}

DrawRegion DrawRegion::FromEllipse(const Rect& device)
{
    DrawRegion r;
    QRectF box = Normalised(device);
    if (!box.isEmpty())
        r.m_path.addEllipse(box);
    return r;
}

DrawRegion DrawRegion::FromPolygon(const std::vector<Point>& device)
{
    DrawRegion r;
    if (device.size() < 3)
        return r;
    QPolygonF polygon;
    for (const Point& p : device)
        polygon << QPointF(p.x, p.y);
    r.m_path.addPolygon(polygon);
    r.m_path.closeSubpath();
    r.m_path.setFillRule(Qt::OddEvenFill);
    return r;
}

DrawRegion DrawRegion::FromPath(const QPainterPath& path)
{
    DrawRegion r;
    r.m_path = path;
    return r;
}

DrawRegion DrawRegion::Combined(const DrawRegion& other, RegionCombine how) const
{
    DrawRegion r;
    switch (how) {
    case RGN_AND:
        r.m_path = m_path.intersected(other.m_path);
        break;
    case RGN_OR:
        r.m_path = m_path.united(other.m_path);
        break;
    case RGN_DIFF:
        r.m_path = m_path.subtracted(other.m_path);
        break;
    case RGN_XOR:
        r.m_path = m_path.subtracted(other.m_path).united(other.m_path.subtracted(m_path));
        break;
    }
    return r;
}

bool DrawRegion::IsEmpty() const
{
    QRectF box = m_path.boundingRect();
    return m_path.isEmpty() || box.width() <= 0 || box.height() <= 0;
}

bool DrawRegion::Contains(Point device) const
{
    return m_path.contains(QPointF(device.x + 0.5, device.y + 0.5));
}

Rect DrawRegion::Box() const
{
    if (IsEmpty())
        return {};
    QRectF box = m_path.boundingRect();
    return {static_cast<int>(std::floor(box.left())), static_cast<int>(std::floor(box.top())),
            static_cast<int>(std::ceil(box.right())), static_cast<int>(std::ceil(box.bottom()))};
}

}  // namespace platform
