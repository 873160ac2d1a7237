#pragma once
// Helpers of the drawing tests: ink found in pictures, and (through
// RunCommand.h) the outside tools that check our files.
#include "RunCommand.h"

#include <QImage>
#include <QRect>

namespace bvtest {

// A pixel counts as ink when it is darker than mid grey.
inline bool IsInk(const QImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return false;
    return qGray(image.pixel(x, y)) < 128;
}

// The smallest rectangle holding all ink in [left, right) x [top, bottom);
// a null QRect when there is none.
inline QRect InkBox(const QImage& image, int left, int top, int right, int bottom)
{
    QRect box;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (IsInk(image, x, y))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

inline bool AnyInk(const QImage& image, int left, int top, int right, int bottom)
{
    return !InkBox(image, left, top, right, bottom).isNull();
}

}  // namespace bvtest
