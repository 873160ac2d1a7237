#pragma once
// The colours page's two previews: a target and a text drawn in a picture's
// colours, through the drawing surface on the preview's window.
#include <QWidget>

#include <memory>

#include "display/config/ColourSet.h"
#include "platform/system/Geometry.h"

namespace platform {
class DrawSurface;
class DrawWindowTarget;
}  // namespace platform

class CColourSample : public QWidget {
public:
    enum class Kind { Target, Text };
    CColourSample(Kind kind, QWidget* parent);
    ~CColourSample() override;

    void SetColours(const ColourSet::Colours& colours);
    // The picture drawn so far, for a look at its pixels.
    QImage Picture() const;

    // The preview in a rectangle of a surface.
    static void Draw(platform::DrawSurface& dc, const platform::Rect& rect, Kind kind,
                     const ColourSet::Colours& colours);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
    ColourSet::Colours m_colours{};
    std::unique_ptr<platform::DrawWindowTarget> m_target;
};
