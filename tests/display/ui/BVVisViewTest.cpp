// The picture view as a window: the mouse pointer, the right click, F1, and
// what a paint draws.
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "RecordingHelp.h"
#include "QtApp.h"
#include "display/ui/BVVisView.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Help.h"

namespace {

using bvtest::RecordingHelp;

class BVVisViewTest : public testing::Test {
protected:
    BVVisViewTest()
    {
        bvtest::QtApp();
        view = std::make_unique<CBVVisView>(data);
        view->resize(320, 200);
        view->show();
        QApplication::processEvents();
    }
    ~BVVisViewTest() override { platform::SetHelpService(nullptr); }
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::NoButton)
    {
        QMouseEvent e(type, QPointF(x, y), view->mapToGlobal(QPointF(x, y)), button, button, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &e);
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            view->HideCursorTick();
    }
    bool Hidden() const { return view->CursorHidden() && view->cursor().shape() == Qt::BlankCursor; }

    CVisData data;
    std::unique_ptr<CBVVisView> view;
};

TEST_F(BVVisViewTest, PointerHidesFiveSecondsAfterItsLastRealMove)
{
    EXPECT_TRUE(Hidden());  // hidden from the start
    view->SetStarted(true);
    Mouse(QEvent::MouseMove, 10, 10);  // the first message only tells where it is
    EXPECT_TRUE(Hidden());
    Mouse(QEvent::MouseMove, 12, 10);
    EXPECT_FALSE(view->CursorHidden());
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    Ticks(49);
    EXPECT_FALSE(view->CursorHidden());
    Ticks(1);
    EXPECT_TRUE(Hidden());
    // A message at the same place is no movement.
    Mouse(QEvent::MouseMove, 12, 10);
    EXPECT_TRUE(Hidden());
    Mouse(QEvent::MouseMove, 12, 11);
    EXPECT_FALSE(view->CursorHidden());
    Ticks(20);
    Mouse(QEvent::MouseMove, 13, 11);  // a move starts the 5 s again
    Ticks(49);
    EXPECT_FALSE(view->CursorHidden());
    // A view not started counts nothing.
    view->SetStarted(false);
    Ticks(100);
    EXPECT_FALSE(view->CursorHidden());
}

TEST_F(BVVisViewTest, RightClickAsksForFullScreenOnOrOff)
{
    std::vector<int> commands;
    view->frameCommand = [&](int command) { commands.push_back(command); };
    Mouse(QEvent::MouseButtonPress, 5, 5, Qt::RightButton);
    data.fullScreen = true;
    Mouse(QEvent::MouseButtonPress, 5, 5, Qt::RightButton);
    Mouse(QEvent::MouseButtonPress, 5, 5, Qt::LeftButton);
    EXPECT_EQ(commands, (std::vector<int>{32771, 32772}));
}

TEST_F(BVVisViewTest, F1OpensTopic101AndShiftF1IsNotTheViews)
{
    RecordingHelp help;
    platform::SetHelpService(&help);
    view->activateWindow();
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_F1);
    QTest::keyClick(view.get(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{{101, platform::HELP_WINDOW_TOPIC}}));
}

TEST_F(BVVisViewTest, PaintDrawsWhatItUncoversOnceStarted)
{
    auto ink = [this] {
        const QImage& image = view->Picture();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += qGray(image.pixel(x, y)) < 128;
        return n;
    };
    // Not started: nothing is drawn.
    view->repaint();
    EXPECT_EQ(ink(), 0);
    // Started without a picture: the text that says so.
    view->SetStarted(true);
    view->repaint();
    EXPECT_GT(ink(), 50);
    EXPECT_EQ(data.drawRect, (platform::Rect{0, 0, 320, 200}));
}

}  // namespace
