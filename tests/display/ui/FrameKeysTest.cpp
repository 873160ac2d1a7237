// The frame by the keys of the audience screen and its tool bar, on the
// offscreen window: pictures forward and back, pause, full screen, refresh,
// the select dialog and the About box; the window's place; HTML pictures.
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "FrameFixture.h"
#include "ModalDriver.h"
#include "display/ui/BVVisView.h"
#include "display/ui/FormHtml.h"
#include "display/ui/VisAboutDlg.h"

namespace bvtest {
namespace {

class FrameKeysTest : public VisFrameTest {
protected:
    void SetUp() override
    {
        VisFrameTest::SetUp();
        DisplayFiles::Event(1, "Bane 1", "R1");
        for (int b = 1; b <= 4; ++b)
            Faces(b, "Bilde " + std::to_string(b), 2);
    }
    // Profile 1 of the pictures given, started by hand.
    void StartByHand(const std::vector<std::pair<int, int>>& places)
    {
        Profiles({"Finale"}, places);
        driver.Next(CDlgSelect::IDD, [](platform::Dialog& d) { d.item(CDlgSelect::IDC_START).click(); });
        Start();
        ASSERT_TRUE(Showing());
        Activate();
    }
    void Activate()
    {
        QApplication::setActiveWindow(window);
        window->activateWindow();
        QApplication::processEvents();
    }
    // A key, and a tick after it.
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window, static_cast<Qt::Key>(key), modifiers);
        RunFor(150);
    }
    int Place() const { return frame->Data().current ? frame->Data().current->place : 0; }
    ModalDriver driver;
};

TEST_F(FrameKeysTest, EveryKeyReachesItsOperation)
{
    StartByHand({{1, 10}, {2, 10}, {3, 10}, {4, 10}});
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int place;  // the picture shown afterwards
    } moves[] = {
        {Qt::Key_Right, Qt::NoModifier, 2},    {Qt::Key_PageDown, Qt::NoModifier, 3},
        {Qt::Key_Left, Qt::NoModifier, 2},     {Qt::Key_PageUp, Qt::NoModifier, 1},
        {Qt::Key_Left, Qt::NoModifier, 4},     // before the first the last
        {Qt::Key_Right, Qt::NoModifier, 1},    // after the last the first
        {Qt::Key_End, Qt::NoModifier, 4},      {Qt::Key_Home, Qt::NoModifier, 1},
    };
    for (const Case& c : moves) {
        Key(c.key, c.modifiers);
        EXPECT_EQ(Place(), c.place) << QKeySequence(c.key).toString().toStdString();
    }

    // Pause holds the picture and says so; the keys still move it.
    RunFor(300);
    Key(Qt::Key_Pause);
    EXPECT_EQ(Title(), "BVVis - Finale : Bilde 1 (Pause)");
    EXPECT_TRUE(frame->Loop().paused);
    Key(Qt::Key_Right);
    EXPECT_EQ(Place(), 2);
    Key(Qt::Key_Pause);
    EXPECT_FALSE(frame->Loop().paused);

    // Full screen on, off and toggled.
    Key(Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(window->ToolBar()->isHidden());
    Key(Qt::Key_N, Qt::AltModifier);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_TRUE(window->ToolBar()->isVisible());
    Key(Qt::Key_F11);
    EXPECT_TRUE(frame->Data().fullScreen);
    Key(Qt::Key_F11);
    EXPECT_FALSE(frame->Data().fullScreen);

    // F5 loads the picture again at once.
    const CVisTarget* before = frame->Data().current->targets.front().get();
    Key(Qt::Key_F5);
    EXPECT_NE(frame->Data().current->targets.front().get(), before);

    // Alt+C, Escape and the tool bar's first button go back to the select
    // dialog; its second button shows the About box.
    for (int i = 0; i < 3; ++i)
        driver.Next(CDlgSelect::IDD, [](platform::Dialog& d) { d.item(CDlgSelect::IDC_START).click(); });
    driver.Next(CVisAboutDlg::IDD, [](platform::Dialog& d) {
        EXPECT_EQ(d.item(CVisAboutDlg::IDC_TEXT).text(), "BVVis version 1.0\nBrevandi shooting ranges");
        EXPECT_EQ(d.Caption(), "About BVVis");
        d.OnOK();
    });
    Key(Qt::Key_C, Qt::AltModifier);
    ASSERT_TRUE(Showing());
    ASSERT_EQ(selectDialogs, 2);
    Activate();
    Key(Qt::Key_Escape);
    ASSERT_TRUE(Showing());
    ASSERT_EQ(selectDialogs, 3);
    Activate();
    auto button = [&](int command) {
        return qobject_cast<QToolButton*>(window->ToolBar()->widgetForAction(window->MenuAction(command)));
    };
    ASSERT_NE(button(CMainFrame::kSelectCommand), nullptr);
    EXPECT_FALSE(button(CMainFrame::kSelectCommand)->icon().isNull());
    QTest::mouseClick(button(CMainFrame::kSelectCommand), Qt::LeftButton);
    ASSERT_TRUE(Showing());
    QTest::mouseClick(button(CMainFrame::kAboutCommand), Qt::LeftButton);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(selectDialogs, 4);
}

TEST_F(FrameKeysTest, WithoutAViewRefreshAndFullScreenOnlyLog)
{
    StartByHand({{1, 10}});
    const std::string title = Title();
    delete frame->PictureView();
    QApplication::processEvents();
    ASSERT_EQ(frame->ActiveView(), DisplayPort::kNoView);
    frame->Data().rebuild = false;
    Key(Qt::Key_F5);
    Key(Qt::Key_F11);
    EXPECT_FALSE(frame->Data().rebuild);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_EQ(Title(), title);
    EXPECT_NE(Log().find("No active View!"), std::string::npos) << Log();
}

TEST_F(FrameKeysTest, APausedPictureStaysAndAFinalLockIgnoresHome)
{
    // Pictures shown for a second each.
    RangeFolder range("R1");
    for (int lane = 1; lane <= 2; ++lane)
        range.Card(1, lane);
    StartByHand({{1, 1}, {2, 1}});
    Key(Qt::Key_Pause);
    RunFor(2500);
    EXPECT_EQ(Place(), 1) << "paused, the picture never changes by itself";
    Key(Qt::Key_Pause);
    ASSERT_TRUE(RunUntil([&] { return Place() == 2; }, 5000));

    // The range control marks a final on lane 2: the picture locks on it.
    range.Final(1, 2);
    ASSERT_TRUE(RunUntil([&] { return frame->Data().current->finalLock; }, 5000));
    const int locked = Place();
    for (int key : {Qt::Key_Home, Qt::Key_End, Qt::Key_Right, Qt::Key_Left}) {
        Key(key);
        EXPECT_EQ(Place(), locked);
    }
    RunFor(1500);
    EXPECT_EQ(Place(), locked) << "nor by its display time";
}

TEST_F(FrameKeysTest, TheWindowsPlaceIsKeptOnlyWhileItIsAWindow)
{
    StartByHand({{1, 10}});
    window->setGeometry(120, 130, 500, 300);
    QApplication::processEvents();
    EXPECT_EQ(frame->windowRect, (platform::Rect{120, 130, 620, 430}));
    Key(Qt::Key_F11);
    window->setGeometry(10, 10, 200, 100);
    QApplication::processEvents();
    EXPECT_EQ(frame->windowRect, (platform::Rect{120, 130, 620, 430})) << "full screen";
    Key(Qt::Key_F11);
    frame.reset();
    EXPECT_EQ(profile.GetInt("Context", "WindowX0", 0), 120);
    EXPECT_EQ(profile.GetInt("Context", "WindowY1", 0), 430);

    // The next run comes back there, and ends full screen: nothing is written.
    driver.Next(CDlgSelect::IDD, [](platform::Dialog& d) { d.item(CDlgSelect::IDC_START).click(); });
    Start();
    ASSERT_TRUE(Showing());
    ASSERT_TRUE(RunUntil([&] { return window->geometry() == QRect(120, 130, 500, 300); }, 3000))
        << window->geometry().x() << "," << window->geometry().y();
    profile.WriteInt("Context", "WindowX0", 7);
    Activate();
    Key(Qt::Key_M, Qt::AltModifier);
    ASSERT_TRUE(frame->Data().fullScreen);
    frame.reset();
    EXPECT_EQ(profile.GetInt("Context", "WindowX0", 0), 7);
}

TEST_F(FrameKeysTest, HtmlPicturesShowInTheHtmlViewAndBack)
{
    Html(5, "Velkommen", ".\\web\\a.htm");
    Html(6, "Program", ".\\web\\b.htm");
    Html(7, "Tom", "x.h");
    StartByHand({{1, 10}, {5, 10}, {6, 10}, {7, 10}, {2, 10}});
    EXPECT_NE(frame->PictureView(), nullptr);
    Key(Qt::Key_Right);
    ASSERT_NE(frame->HtmlView(), nullptr);
    EXPECT_EQ(frame->PictureView(), nullptr);
    EXPECT_EQ(frame->ActiveView(), DisplayPort::kHtmlView);
    EXPECT_EQ(navigations, (std::vector<std::string>{"web/a.htm"}));
    EXPECT_EQ(window->centralWidget(), frame->HtmlView());
    // An HTML picture after another one shows its own page.
    Key(Qt::Key_Right);
    EXPECT_EQ(navigations, (std::vector<std::string>{"web/a.htm", "web/b.htm"}));
    RunFor(300);
    EXPECT_EQ(navigations.size(), 2u) << "the page is not loaded again on every tick";
    // A page without a usable file name says so in the picture view.
    Key(Qt::Key_Right);
    ASSERT_NE(frame->PictureView(), nullptr);
    EXPECT_STREQ(frame->Data().current->errorKey, "IDS_ERROR_NOHTML");
    Key(Qt::Key_Right);
    EXPECT_EQ(frame->HtmlView(), nullptr);
    EXPECT_EQ(window->centralWidget(), frame->PictureView());
    EXPECT_TRUE(frame->PictureView()->Started());
    RunFor(200);
    EXPECT_EQ(frame->PictureView()->Picture().size(), frame->PictureView()->size());
}

}  // namespace
}  // namespace bvtest
