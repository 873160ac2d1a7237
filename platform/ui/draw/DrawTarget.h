#pragma once
// The device a drawing surface draws on: a window, a printer page (or a PDF
// file), an off-screen image, or a recorder for layout tests. A target knows
// its size and resolution, hands out a painter in device pixels while drawing
// is possible, and has documents and pages when it is a printer.
#include "platform/ui/draw/DrawTypes.h"

#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace platform {

// One call made on a surface, with the logical arguments as the caller passed
// them and the state it drew with; a recorder keeps these for layout tests.
struct DrawCall {
    std::string name;       // the surface operation, e.g. "TextOut", "Rectangle"
    std::vector<int> args;  // its coordinates, in the caller's logical units
    std::string text;       // Windows-1252, for text and document calls
    unsigned flags = 0;     // text alignment, text format, arc direction, mapping mode or fill colour
    DrawFont font;
    DrawPen pen;
    DrawBrush brush;
    Colour textColour = 0;
    bool inPath = false;    // made while a path was being built
};

class DrawTarget {
public:
    virtual ~DrawTarget() = default;

    virtual DeviceCaps Caps() const = 0;

    // The painter to draw with now, in device pixels, or nullptr when nothing
    // can be drawn (a printer between pages, a recorder).
    virtual QPainter* Painter() = 0;

    // Screens and images are drawn pixel-exact without smoothing, the way the
    // pictures have always looked; printers and PDF files get exact shapes.
    virtual bool IsRaster() const { return true; }

    // Told after drawing touched a device rectangle (a window repaints it).
    virtual void Changed(int left, int top, int right, int bottom) {}

    // Documents and pages, with the system's results: above 0 done, 0 or
    // below failed. Only printers (and the recorder) have them.
    virtual int StartDoc(const std::string& documentName) { return -1; }
    virtual int StartPage() { return -1; }
    virtual int EndPage() { return -1; }
    virtual int EndDoc() { return -1; }
    virtual int AbortDoc() { return -1; }
    // Asked after each page; false aborts the document.
    virtual void SetAbortProc(std::function<bool()> proc) {}

    // Targets that keep the calls made on a surface.
    virtual bool Records() const { return false; }
    virtual void Record(DrawCall&& call) {}
};

}  // namespace platform
