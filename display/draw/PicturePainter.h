#pragma once
// Draws the display's pictures: lays out the current picture and its panels
// and draws the header with its clock box, each panel (target face with
// rings, figures, zoom and shots; shot list, series table, sub-sums, place,
// names and values), and the message screens. It draws through one
// CBVGraphic on the surface a pass opens: the window's (every operation
// asked to draw into the window opens and closes it itself) or an
// off-screen picture of the drawing rectangle.
//
// It owns no picture data: everything comes from CVisData, which the
// display loop keeps up to date; only the layout fields and the redraw
// state of the elements are written here.
#include <memory>
#include <string>

#include "display/draw/BVGraphic.h"
#include "display/model/VisData.h"
#include "platform/ui/draw/BitmapDC.h"

class PicturePainter {
public:
    // The window the pictures are shown in: the view, or a picture in tests.
    class Window {
    public:
        virtual ~Window() = default;
        // The surface of the window, attached, for one pass; nullptr when
        // there is nothing to draw on.
        virtual platform::DrawSurface* BeginWindowDraw() = 0;
        virtual void EndWindowDraw() = 0;
    };

    PicturePainter(CVisData& data, Window& window);
    virtual ~PicturePainter() = default;
    PicturePainter(const PicturePainter&) = delete;
    PicturePainter& operator=(const PicturePainter&) = delete;

    // --- Drawing passes ---
    // window: the window's surface; else a white off-screen picture of the
    // drawing rectangle, saved as PNG at the end when a path is given.
    int BeginDraw(bool window);
    void EndDraw(bool window, const std::string& pngPath = {});
    CBVGraphic& Graphic() { return m_graphic; }
    // The off-screen picture of the pass open now: written as an interlaced
    // PNG without a transparent colour (false when there is none or it could
    // not be written), and made white again for the next drawing.
    bool WritePicture(std::FILE* file);
    void ClearPicture();

    // --- Layout ---
    // 0, or -1 without a current picture or without elements.
    int LayoutPicture(bool window);
    // 0, or -1 for a placeholder.
    int LayoutPanel(CVisTarget& t, bool window);
    bool laidOut = false;

    // --- Drawing; window: open and close the window's surface, else draw
    // on the surface open now ---
    void RedrawAll();
    void DrawPanel(CVisTarget& t, bool window);
    void DrawHeader(bool window);
    // The clock box: the window argument (1 or 0) when drawn or when the
    // picture shows no clock, -1 without a single event to show it for.
    int DrawClockLine(bool window);
    void DrawMessageScreen();
    void DrawPanelMessage(CVisTarget& t, bool window);
    // With no picture current: the update rectangle white and the text of
    // IDS_ERROR_NOPICT.
    void DrawNoPicture(const platform::Rect& update);
    // The window white, with one line of text in its middle.
    void DrawStatusLine(const platform::Rect& window, const std::string& text);

    // --- What the face of an element is drawn as ---
    // The type the card's face is drawn as.
    static int EffectiveType(const CVisTarget& t);
    // The face's square: box 17 inside its frame, 2 pixels in, as tall as wide at most.
    static platform::Rect FaceRect(const CVisTarget& t);
    // The zoom ring for the shots from `first` on (see FaceRules::ChooseZoom).
    int ChooseZoom(CVisTarget& t, int first);

private:
    CVisPicture* Picture() const { return m_data.current; }
    uint32_t Colour(int k) const;
    bool Swedish() const;

    // Panels.
    void FramedBox(CGraphicStyle& box);
    void DrawValue(const CGraphicStyle& style, int hundredths, int valueSystem);
    void DrawTotalBox(CVisTarget& t);
    void DrawCornerMark(const platform::Rect& r, int a, uint32_t colour);
    void DrawPlaceDisc(CVisTarget& t);
    void DrawShotList(CVisTarget& t, bool full);
    void DrawSeriesTable(CVisTarget& t);
    void DrawSums(CVisTarget& t);
    void CellFrames(const platform::Rect& area, int columns, int rows, bool byColumns, int count);

    // The face.
    void DrawFace(CVisTarget& t);
    void DrawRings(CVisTarget& t, bool full);
    void DrawRingNumbers(CVisTarget& t, int code, int ring, double scale, int key);
    void DrawFigureOutline(CVisTarget& t, int code, double scale);
    void DrawOutlinePath(const FigureOutline& outline, size_t start, bool mirrored, double scale);
    void DrawGameFigure(int code, double scale);
    bool DrawShot(CVisTarget& t, int code, int i, uint32_t colour);
    int DrawShots(CVisTarget& t);
    void Disc(double radius, uint32_t colour);

    CVisData& m_data;
    Window& m_window;
    CBVGraphic m_graphic;
    CBVLog m_log;
    // The surface of the pass: the window's, or the off-screen picture.
    platform::DrawSurface* m_dc = nullptr;
    std::unique_ptr<platform::CBitmapDC> m_bitmap;
    int m_windowDepth = 0;
};
