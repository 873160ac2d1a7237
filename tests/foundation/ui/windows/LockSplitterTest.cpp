#include "QtApp.h"

#include "foundation/ui/windows/LockSplitter.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace bvtest {
namespace {

class LockSplitterTest : public testing::Test {
protected:
    LockSplitterTest() { QtApp(); }
};

// Only the pane positions whose flag is set get the flat border: the
// outermost pixel of the border takes the button face colour there.
TEST_F(LockSplitterTest, FlatBorderFlagsSelectThePanesByPosition)
{
    struct Case {
        int rows, cols;
        int32_t CLockSplitter::*flag;
        bool flatFirst, flatSecond;
    };
    const Case cases[] = {
        {1, 2, &CLockSplitter::m_bFlatTopRight, false, true},
        {1, 2, &CLockSplitter::m_bFlatTopLeft, true, false},
        {2, 1, &CLockSplitter::m_bFlatBottomLeft, false, true},
        {2, 1, &CLockSplitter::m_bFlatTopLeft, true, false},
        {2, 1, &CLockSplitter::m_bFlatBottomRight, false, false},  // no pane sits there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + "x" + std::to_string(c.cols));
        CLockSplitter splitter(c.rows, c.cols);
        splitter.*(c.flag) = 1;
        splitter.SetPane(0, 0, new QWidget, QSize(100, 100));
        splitter.SetPane(c.rows - 1, c.cols - 1, new QWidget, QSize(100, 100));
        if (c.cols > 1)
            splitter.SetColumnInfo(0, 100, 10);
        else
            splitter.SetRowInfo(0, 100, 10);
        splitter.resize(300, 300);
        splitter.show();
        QImage image = splitter.grab().toImage();
        QColor face = splitter.palette().color(QPalette::Button);
        for (int pane = 0; pane < 2; ++pane) {
            QRect r = splitter.widget(pane)->geometry();
            QColor edge = image.pixelColor(r.left(), r.center().y());
            QColor top = image.pixelColor(r.center().x(), r.top());
            bool flat = pane == 0 ? c.flatFirst : c.flatSecond;
            EXPECT_EQ(edge == face && top == face, flat) << "pane " << pane;
        }
    }
}

TEST_F(LockSplitterTest, HelpHitTestPacksTheFramePoint)
{
    QWidget frame;
    frame.resize(400, 300);
    auto* splitter = new CLockSplitter(1, 2, &frame);
    splitter->setGeometry(4, 6, 300, 200);
    EXPECT_EQ(splitter->OnHelpHitTest(QPoint(6, 14)), (20 + 4096) * 65536 + 10);
    // Left of the frame the column borrows from the row part, in 32 bits.
    EXPECT_EQ(splitter->OnHelpHitTest(QPoint(-14, 14)), (20 + 4096) * 65536 - 10);
    EXPECT_EQ(splitter->OnHelpInfo(), 1);
}

}  // namespace
}  // namespace bvtest
