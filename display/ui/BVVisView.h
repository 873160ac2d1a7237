#pragma once
// The display's picture view: the form view (template 101) every picture
// but an HTML page is drawn in. It keeps what it shows in its window's
// backing picture, so the display loop's tick draws into it at any time;
// a paint that uncovers or resizes the window draws what it meets again.
// The mouse pointer hides 5 s after the last real movement, a right click
// asks the frame for full screen on or off, F1 opens help topic 101.
#include <QRegion>

#include <functional>

#include "display/draw/NettcastExport.h"
#include "display/draw/PicturePainter.h"
#include "display/model/TickCounter.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/draw/DrawWindowTarget.h"

class CBVVisView : public platform::FormView, public PicturePainter::Window {
public:
    static constexpr int kTemplateId = 101;
    // The frame's commands a right click sends.
    static constexpr int kFullScreenOn = 32771;
    static constexpr int kFullScreenOff = 32772;

    explicit CBVVisView(CVisData& data, QWidget* parent = nullptr);
    ~CBVVisView() override;

    PicturePainter& Painter() { return m_painter; }
    // A Nettcast picture's export pass, on every display tick: the window
    // shows its status line.
    void ExportNettcast() { m_nettcast.ExportNettcast(); }
    NettcastExport& Nettcast() { return m_nettcast; }
    // Nothing is painted before the frame marks the view started.
    void SetStarted(bool started) { m_started = started; }
    bool Started() const { return m_started; }
    // What the window shows.
    const QImage& Picture() { return m_target.Picture(); }

    // Called on every display tick: hides the mouse pointer once it has not
    // moved for 5 s.
    void HideCursorTick();
    bool CursorHidden() const { return m_cursorHidden; }
    // The frame's command for a right click (a hook until the frame exists).
    std::function<void(int command)> frameCommand;

    // PicturePainter::Window
    platform::DrawSurface* BeginWindowDraw() override;
    void EndWindowDraw() override;

    void OnSize(int cx, int cy) override;
    bool PreTranslateKey(QKeyEvent* event) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The window's picture, remembering which parts the view itself
    // changed: a paint of those only shows them, it draws nothing again.
    class Target : public platform::DrawWindowTarget {
    public:
        explicit Target(QWidget* window) : DrawWindowTarget(window) {}
        void Changed(int left, int top, int right, int bottom) override;
        QRegion changedByView;
    };
    void ShowCursor(bool hidden);

    CVisData& m_data;
    PicturePainter m_painter;
    NettcastExport m_nettcast;
    Target m_target;
    platform::DrawSurface m_surface;
    bool m_started = false;
    CTickCounter m_cursor;
    bool m_cursorHidden = true;
    int m_lastX = -1;
    int m_lastY = -1;
};
