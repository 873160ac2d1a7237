#pragma once
// An off-screen picture as a drawing target: 32 bits per pixel like the
// screens the pictures are made for, at the screen's 96 pixels to the inch.
#include "platform/ui/draw/DrawTarget.h"

#include <QImage>
#include <QPainter>

namespace platform {

class DrawImageTarget : public DrawTarget {
public:
    // An image of width x height pixels, white; IsNull() when it could not
    // be made (a size of 0 or less, or no memory).
    DrawImageTarget(int width, int height, int dotsPerInch = 96);
    ~DrawImageTarget() override;

    bool IsNull() const { return m_image.isNull(); }

    DeviceCaps Caps() const override;
    QPainter* Painter() override;

    // The picture as drawn so far (drawing goes on afterwards as before).
    const QImage& Image();

private:
    QImage m_image;
    QPainter m_painter;
    int m_dpi;
};

}  // namespace platform
