#pragma once
// The display's painter on a window that is a picture, and a frame for the
// display loop that draws with it: the loop's ticks draw into the picture
// as they would into the view's window.
#include <QImage>

#include <functional>
#include <memory>

#include "QtApp.h"
#include "display/draw/PicturePainter.h"
#include "platform/ui/draw/DrawRecorder.h"
#include "tests/display/DisplayFixture.h"

namespace bvtest {

class PictureWindow : public PicturePainter::Window {
public:
    PictureWindow(int width, int height)
    {
        QtApp();
        bitmap.Create(width, height);
        bitmap.Clear(0xFFFFFF);
    }
    platform::DrawSurface* BeginWindowDraw() override
    {
        ++passes;
        return &bitmap;
    }
    void EndWindowDraw() override {}
    QImage Image() { return bitmap.Picture(); }

    platform::CBitmapDC bitmap;
    int passes = 0;
};

// A window that keeps the calls made on it: which text went where.
class RecorderWindow : public PicturePainter::Window {
public:
    RecorderWindow(int width, int height) : recorder(Caps(width, height)) { QtApp(); }
    platform::DrawSurface* BeginWindowDraw() override
    {
        dc.Attach(&recorder);
        return &dc;
    }
    void EndWindowDraw() override { dc.Detach(); }
    static platform::DeviceCaps Caps(int width, int height)
    {
        platform::DeviceCaps caps;
        caps.horzRes = caps.physicalWidth = width;
        caps.vertRes = caps.physicalHeight = height;
        return caps;
    }

    platform::DrawRecorder recorder;
    platform::DrawSurface dc;
};

// The loop's frame: the drawing goes to the painter, the rest is recorded.
class PaintingPort : public RecordingPort {
public:
    explicit PaintingPort(PicturePainter& painter) : m_painter(painter) { view = kPictureView; }
    void LayoutPicture() override
    {
        RecordingPort::LayoutPicture();
        m_painter.LayoutPicture(true);
    }
    void RedrawAll() override
    {
        calls.push_back("redraw");
        m_painter.RedrawAll();
    }
    void DrawHeader() override { m_painter.DrawHeader(true); }
    void DrawClockLine() override { m_painter.DrawClockLine(true); }
    void LayoutPanel(CVisTarget& t) override { m_painter.LayoutPanel(t, true); }
    void DrawPanel(CVisTarget& t) override { m_painter.DrawPanel(t, true); }
    void DrawMessageScreen() override
    {
        RecordingPort::DrawMessageScreen();
        m_painter.DrawMessageScreen();
    }

private:
    PicturePainter& m_painter;
};

// A display over the working folder that draws into a picture of the given size.
struct PaintedDisplay {
    CVisData data;
    PictureWindow window;
    PicturePainter painter{data, window};
    PaintingPort port{painter};
    DisplayLoop loop{data, port};

    PaintedDisplay(int width, int height, LoopIntervals intervals = {1, 1, 1, 10}) : window(width, height)
    {
        data.drawRect = {0, 0, width, height};
        loop.OnFirstFocus(intervals);
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            loop.DisplayTick();
    }
    CVisPicture& Picture() { return *data.current; }
    CVisTarget& Target(int k) { return *data.current->targets.at(static_cast<size_t>(k)); }
};

// A pixel of a picture as 0x00BBGGRR, the way the settings hold colours.
inline uint32_t ColourAt(const QImage& image, int x, int y)
{
    QRgb p = image.pixel(x, y);
    return static_cast<uint32_t>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

// Where the first two pictures differ ("" when they are alike).
inline std::string FirstDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                char text[96];
                std::snprintf(text, sizeof text, "pixel (%d, %d): %06X against %06X", x, y,
                              a.pixel(x, y) & 0xFFFFFF, b.pixel(x, y) & 0xFFFFFF);
                return text;
            }
    return "";
}

}  // namespace bvtest
