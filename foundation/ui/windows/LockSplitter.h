#pragma once
// The splitter the main frames build their layout from: its bars can be
// locked against dragging, and the border of each pane position can be drawn
// flat so that a frame shows fixed panes without the sunken splitter look.
// The owner sets the flags directly after creating the panes.
#include "platform/ui/SplitterWnd.h"

#include <cstdint>

class CLockSplitter : public platform::SplitterWnd {
public:
    CLockSplitter(int rows, int cols, QWidget* parent = nullptr);
    ~CLockSplitter() override;

    int32_t m_bLocked = 0;            // the user cannot move the bars
    int32_t m_bFlatTopLeft = 0;       // first row, first column
    int32_t m_bFlatTopRight = 0;      // first row, later column
    int32_t m_bFlatBottomLeft = 0;    // later row, first column
    int32_t m_bFlatBottomRight = 0;   // later row, later column

    void OnDrawSplitter(QPainter* painter, Part part, const QRect& rect) override;
    bool OnBarMouse(QMouseEvent* event) override;
    Qt::CursorShape BarCursor() const override;

    // Help over the splitter, asked in help mode: the point in the splitter's
    // client area, mapped to the top-level frame's, packed as the frame's
    // help hit-test answer.
    int32_t OnHelpHitTest(QPoint point) const;
    // Help on the splitter itself asks the frame's help with data 128 and
    // command 4; the answer is 1.
    int OnCommandHelp();
    // A help request on the splitter is answered as handled and goes nowhere.
    int OnHelpInfo() const { return 1; }
};
