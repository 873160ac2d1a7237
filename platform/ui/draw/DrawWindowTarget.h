#pragma once
// A window as a drawing target. The programs draw into their windows at any
// time (on a timer tick as well as when asked to paint), so the window keeps
// its picture in a backing image: drawing goes into the image, and the window
// shows the image whenever it paints, after its own paint handling has run.
#include "platform/ui/draw/DrawTarget.h"

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace platform {

class DrawWindowTarget : public QObject, public DrawTarget {
public:
    // Follows the window's size. When the window goes first, nothing more
    // is drawn.
    explicit DrawWindowTarget(QWidget* window);
    ~DrawWindowTarget() override;

    DeviceCaps Caps() const override;
    QPainter* Painter() override;
    void Changed(int left, int top, int right, int bottom) override;

    // The window's picture as drawn so far.
    const QImage& Picture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Resize(const QSize& size);
    void EndPainting();

    QPointer<QWidget> m_window;
    QImage m_picture;
    QPainter m_painter;
};

}  // namespace platform
