// A frame laid out the way the main frames are: nested lockable splitters
// holding form views, a tab strip, menu, tool bar, status bar, accelerators.
#include "QtApp.h"

#include "foundation/ui/windows/FormTabCtrl.h"
#include "foundation/ui/windows/LockSplitter.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/FrameWnd.h"

#include <QAction>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace bvtest {
namespace {

using namespace platform;
using K = ControlKind;

enum {
    ID_FILE_INTERFACE = 32779,
    ID_ZOOM_BEST = 32811,
    ID_LIFT = 32812,
    ID_PAGE_1 = 32792,
    ID_PAGE_6 = 32797,
    ID_NOBODY = 32999,
    IDC_TABSTRIP = 1100,
    IDC_PANEL_TEXT = 1200,
    IDC_PANEL_EDIT = 1201,
    IDC_LIST = 1300,
    WM_FORM_CHANGED = WM_APP + 1,
};

const ControlTemplate kTabControls[] = {
    {.id = IDC_TABSTRIP, .kind = K::Custom, .row = 0, .col = 0, .style = CS_STRETCH},
};
const DialogTemplate kTabForm{.id = 300, .controls = kTabControls};

const ControlTemplate kListControls[] = {
    {.id = IDC_LIST, .kind = K::ListView, .row = 0, .col = 0, .style = CS_STRETCH},
};
const DialogTemplate kListForm{.id = 301, .controls = kListControls};

const ControlTemplate kPanelControls[] = {
    {.id = IDC_PANEL_TEXT, .kind = K::Static, .row = 0, .col = 0, .text = "Lane 7"},
    {.id = IDC_PANEL_EDIT, .kind = K::Edit, .row = 1, .col = 0},
};
const DialogTemplate kPanelForm{.id = 302, .controls = kPanelControls};

// A form that counts the commands it handles.
class Form : public FormView {
public:
    explicit Form(const DialogTemplate& t) : FormView(t) {}
    int zooms = 0;
};

class TabForm : public Form {
public:
    TabForm() : Form(kTabForm)
    {
        auto* strip = new CFormTabCtrl;
        SetCustomControl(IDC_TABSTRIP, strip);
        for (int page = 0; page < 6; ++page)
            item(IDC_TABSTRIP).insertItem(page, "A" + std::to_string(page + 1), page + 1);
        OnSelChange(IDC_TABSTRIP, [this] { ++pageChanges; });
    }
    int pageChanges = 0;
};

class ListForm : public Form {
public:
    ListForm() : Form(kListForm)
    {
        Control list = item(IDC_LIST);
        list.insertColumn(0, "Lane", 50);
        list.insertColumn(1, "Name", 160);
        list.insertColumn(2, "Sum", 60, true);
        const char* names[] = {"Kari Nordmann", "Ola Hansen", "Per Olsen"};
        for (int lane = 1; lane <= 3; ++lane) {
            int row = list.addItem(std::to_string(lane), lane);
            list.setItemText(row, 1, names[lane - 1]);
            list.setItemText(row, 2, std::to_string(95 + lane));
        }
    }
};

class PanelForm : public Form {
public:
    PanelForm() : Form(kPanelForm)
    {
        OnCommand(ID_ZOOM_BEST, [this] { ++zooms; });
        // The lift is not for this lane: the panel says so for everyone.
        OnUpdateCommand(ID_LIFT, [](CommandUI& ui) { ui.Enable(false); });
    }
};

const MenuItem kMenu[] = {
    {0, 0, "&File"},
    {1, ID_FILE_INTERFACE, "&Interface..."},
    {1, 0, nullptr},
    {1, ID_NOBODY, "&Nothing"},
    {0, 0, "&View"},
    {1, 0, "&Page"},
    {2, ID_PAGE_1, "Page &1"},
    {2, ID_PAGE_6, "Page &6"},
    {1, ID_ZOOM_BEST, "&Zoom best"},
    {1, ID_LIFT, "&Lift", "ID_KOMMANDO_SKIVEHEIS"},
};
const Accelerator kAccelerators[] = {{"Ctrl+B", ID_ZOOM_BEST}, {"F6", ID_PAGE_6}};
const ToolButton kTools[] = {{ID_FILE_INTERFACE, "Interface"}, {0, nullptr}, {ID_ZOOM_BEST, "Zoom"}, {ID_LIFT, "Lift"}};
const int kPanes[] = {150, 20, 20};

class TestFrame : public FrameWnd {
public:
    TestFrame()
    {
        setWindowTitle("BVLeder - Comp");
        LoadMenu(kMenu);
        LoadAccelerators(kAccelerators);
        LoadToolBar(kTools);
        SetStatusPanes(kPanes);
        outer = new CLockSplitter(1, 2);
        inner = new CLockSplitter(2, 1);
        outer->SetPane(0, 0, inner, QSize(420, 20));
        outer->SetPane(0, 1, panel = new PanelForm, QSize(20, 20));
        inner->SetPane(0, 0, tabs = new TabForm, QSize(20, 34));
        inner->SetPane(1, 0, list = new ListForm, QSize(20, 20));
        outer->SetColumnInfo(0, 420, 50);
        outer->SetColumnInfo(1, 10000, 20);
        inner->SetRowInfo(0, 34, 20);
        inner->SetRowInfo(1, 10000, 20);
        outer->m_bLocked = 1;
        outer->m_bFlatTopRight = 1;
        SetClient(outer);
        OnCommand(ID_FILE_INTERFACE, [this] { ++interfaces; });
        OnCommand(ID_ZOOM_BEST, [this] { ++zooms; });
        OnCommand(ID_LIFT, [this] { ++lifts; });
        OnCommandRange(ID_PAGE_1, ID_PAGE_6, [this](int id) { page = id - ID_PAGE_1 + 1; });
        OnUpdateCommandRange(ID_PAGE_1, ID_PAGE_6,
                             [this](CommandUI& ui) { ui.SetCheck(ui.id - ID_PAGE_1 + 1 == page); });
        resize(760, 420);
    }
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        messages.emplace_back(message, wParam);
        return wParam * 2;
    }
    void OnTimer(int id) override { ++ticks; }
    void WinHelp(uint32_t data, int command) override { help.emplace_back(data, command); }

    CLockSplitter* outer;
    CLockSplitter* inner;
    TabForm* tabs;
    ListForm* list;
    PanelForm* panel;
    int interfaces = 0, zooms = 0, lifts = 0, page = 1, ticks = 0;
    std::vector<std::pair<int, intptr_t>> messages;
    std::vector<std::pair<uint32_t, int>> help;
};

void Activate(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    w->activateWindow();
    QCoreApplication::processEvents();
}

// Presses the mouse on a splitter's bar, drags it by delta and lets go.
void DragBar(QSplitterHandle* bar, QPoint delta)
{
    QPoint from = bar->rect().center();
    QPoint to = from + delta;
    QMouseEvent press(QEvent::MouseButtonPress, from, bar->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, bar->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
}

class FrameTest : public testing::Test {
protected:
    FrameTest() { QtApp(); }
};

TEST_F(FrameTest, NestedSplittersHoldTheViewsWhereTheLayoutPutsThem)
{
    TestFrame frame;
    Activate(&frame);
    EXPECT_EQ(frame.outer->Pane(0, 0), frame.inner);
    EXPECT_EQ(frame.inner->Pane(0, 0), frame.tabs);
    EXPECT_EQ(frame.inner->Pane(1, 0), frame.list);
    EXPECT_EQ(frame.outer->Pane(0, 1), frame.panel);
    int cur = 0, min = 0;
    frame.outer->GetColumnInfo(0, cur, min);
    EXPECT_EQ(cur, 420);
    frame.inner->GetRowInfo(0, cur, min);
    EXPECT_EQ(cur, 34);
    // A row whose ideal is below its minimum is not shown; the other takes the room.
    frame.inner->SetRowInfo(0, 0, 20);
    frame.inner->RecalcLayout();
    frame.inner->GetRowInfo(0, cur, min);
    EXPECT_EQ(cur, 0);
    frame.inner->GetRowInfo(1, cur, min);
    EXPECT_GT(cur, 300);
}

TEST_F(FrameTest, LockedSplitterIgnoresADragThatTheUnlockedOneFollows)
{
    TestFrame frame;
    Activate(&frame);
    QList<int> outerBefore = frame.outer->sizes();
    QSplitterHandle* outerBar = frame.outer->handle(1);
    DragBar(outerBar, QPoint(-80, 0));
    EXPECT_EQ(frame.outer->sizes(), outerBefore);
    EXPECT_EQ(frame.outer->BarCursor(), Qt::ArrowCursor);

    QList<int> innerBefore = frame.inner->sizes();
    DragBar(frame.inner->handle(1), QPoint(0, 60));
    EXPECT_EQ(frame.inner->sizes()[0], innerBefore[0] + 60);
    EXPECT_EQ(frame.inner->BarCursor(), Qt::SplitVCursor);
    // The dragged size is the row's new ideal: a new layout keeps it.
    frame.inner->RecalcLayout();
    EXPECT_EQ(frame.inner->sizes()[0], innerBefore[0] + 60);

    // Unlocked, the outer bar moves too.
    frame.outer->m_bLocked = 0;
    DragBar(outerBar, QPoint(-80, 0));
    EXPECT_EQ(frame.outer->sizes()[0], outerBefore[0] - 80);
}

TEST_F(FrameTest, PaneIsReplacedAtRunTime)
{
    TestFrame frame;
    Activate(&frame);
    QPointer<QWidget> old = frame.list;
    auto* replacement = new PanelForm;
    frame.inner->SetPane(1, 0, replacement);
    EXPECT_TRUE(old.isNull());  // the view that was there is gone
    EXPECT_EQ(frame.inner->Pane(1, 0), replacement);
    QCoreApplication::processEvents();
    EXPECT_TRUE(replacement->isVisible());
    EXPECT_GT(replacement->height(), 100);
    // Commands reach the new view once it has the focus.
    Activate(&frame);
    replacement->item(IDC_PANEL_EDIT).focus();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.ActiveView(), replacement);
    EXPECT_TRUE(frame.RouteCommand(ID_ZOOM_BEST));
    EXPECT_EQ(replacement->zooms, 1);
}

TEST_F(FrameTest, CommandsGoToTheActiveViewFirstThenTheFrame)
{
    TestFrame frame;
    Activate(&frame);
    frame.panel->item(IDC_PANEL_EDIT).focus();
    QCoreApplication::processEvents();
    ASSERT_EQ(frame.ActiveView(), frame.panel);

    struct Case {
        int id;
        bool runs;
        int viewZooms, frameZooms, interfaces, lifts;
    };
    const Case cases[] = {
        {ID_ZOOM_BEST, true, 1, 0, 0, 0},      // the view handles it: the frame never sees it
        {ID_FILE_INTERFACE, true, 1, 0, 1, 0}, // only the frame has it
        {ID_LIFT, false, 1, 0, 1, 0},          // the view disables it, so the frame's handler stays idle
        {ID_NOBODY, false, 1, 0, 1, 0},        // nobody handles it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(frame.RouteCommand(c.id), c.runs);
        EXPECT_EQ(frame.panel->zooms, c.viewZooms);
        EXPECT_EQ(frame.zooms, c.frameZooms);
        EXPECT_EQ(frame.interfaces, c.interfaces);
        EXPECT_EQ(frame.lifts, c.lifts);
    }
    frame.UpdateCommandUI();
    EXPECT_TRUE(frame.MenuAction(ID_ZOOM_BEST)->isEnabled());
    EXPECT_FALSE(frame.MenuAction(ID_LIFT)->isEnabled());
    EXPECT_FALSE(frame.MenuAction(ID_NOBODY)->isEnabled());

    // The list view handles no zoom: with it active the frame's handler runs.
    frame.list->item(IDC_LIST).focus();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.ActiveView(), frame.list);
    EXPECT_TRUE(frame.RouteCommand(ID_ZOOM_BEST));
    EXPECT_EQ(frame.zooms, 1);
    EXPECT_TRUE(frame.RouteCommand(ID_LIFT));
    EXPECT_EQ(frame.lifts, 1);

    // A range of commands, with its check mark.
    EXPECT_TRUE(frame.RouteCommand(ID_PAGE_6));
    EXPECT_EQ(frame.page, 6);
    frame.UpdateCommandUI();
    EXPECT_TRUE(frame.MenuAction(ID_PAGE_6)->isChecked());
    EXPECT_FALSE(frame.MenuAction(ID_PAGE_1)->isChecked());
}

TEST_F(FrameTest, AcceleratorsAndMenusRunTheirCommands)
{
    TestFrame frame;
    Activate(&frame);
    frame.panel->item(IDC_PANEL_EDIT).focus();
    QCoreApplication::processEvents();
    QTest::keyClick(frame.panel->item(IDC_PANEL_EDIT).widget(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(frame.panel->zooms, 1);
    QTest::keyClick(frame.panel->item(IDC_PANEL_EDIT).widget(), Qt::Key_F6);
    EXPECT_EQ(frame.page, 6);
    frame.MenuAction(ID_FILE_INTERFACE)->trigger();
    EXPECT_EQ(frame.interfaces, 1);
    // The menu keeps its mnemonics, and a keyed text follows the text table.
    EXPECT_EQ(frame.Popup({1})->title(), "&View");
    EXPECT_EQ(frame.Popup({1, 0})->title(), "&Page");
    EXPECT_EQ(frame.MenuAction(ID_LIFT)->text(), "ID_KOMMANDO_SKIVEHEIS");
    frame.SetPopupText({1, 0}, "&Side");
    EXPECT_EQ(frame.Popup({1, 0})->title(), "&Side");
    // Tool buttons share the menu's commands.
    EXPECT_TRUE(frame.ToolBar()->actions().contains(frame.MenuAction(ID_ZOOM_BEST)));
}

TEST_F(FrameTest, MessagesPostedBetweenViewAndFrameArriveLater)
{
    TestFrame frame;
    PostMessage(frame.panel, WM_FORM_CHANGED, 6);  // to a view's kit window: the panel has no handler
    PostMessage(&frame, WM_FORM_CHANGED, 3);
    EXPECT_TRUE(frame.messages.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(frame.messages.size(), 1u);
    EXPECT_EQ(frame.messages[0], std::make_pair(int(WM_FORM_CHANGED), intptr_t{3}));
    EXPECT_EQ(SendMessage(frame.outer, WM_FORM_CHANGED, 21), 42);  // a child of the frame: the frame answers
}

TEST_F(FrameTest, TimersKeepRunningWhileAModalDialogIsOpen)
{
    TestFrame frame;
    Activate(&frame);
    frame.SetTimer(1, 2);
    const ControlTemplate controls[] = {{.id = IDOK, .kind = K::Button, .text = "OK"}};
    Dialog dialog({.id = 400, .caption = "Question", .controls = controls}, &frame);
    int ticksAtOpen = -1;
    QElapsedTimer waited;
    waited.start();
    std::function<void()> poll = [&] {
        if (ticksAtOpen < 0)
            ticksAtOpen = frame.ticks;
        if (frame.ticks >= ticksAtOpen + 3 || waited.elapsed() > 5000)
            dialog.EndDialog(IDOK);
        else
            QTimer::singleShot(1, &dialog, poll);
    };
    QTimer::singleShot(0, &dialog, poll);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_GE(frame.ticks, ticksAtOpen + 3);
    frame.KillTimer(1);
}

TEST_F(FrameTest, StatusPanesAndFullScreen)
{
    TestFrame frame;
    Activate(&frame);
    frame.SetPaneText(1, "Lane 4 has no target");
    frame.SetPaneText(2, "Simulation");
    EXPECT_EQ(frame.PaneText(1), "Lane 4 has no target");
    EXPECT_EQ(frame.PaneText(2), "Simulation");
    EXPECT_EQ(frame.PaneText(7), "");
    frame.SetFullScreen(true);
    EXPECT_TRUE(frame.FullScreen());
    EXPECT_TRUE(frame.menuBar()->isHidden());
    EXPECT_TRUE(frame.ToolBar()->isHidden());
    EXPECT_TRUE(frame.statusBar()->isHidden());
    frame.SetFullScreen(false);
    EXPECT_FALSE(frame.menuBar()->isHidden());
    EXPECT_FALSE(frame.ToolBar()->isHidden());
    EXPECT_FALSE(frame.statusBar()->isHidden());
}

TEST_F(FrameTest, TabStripOfTheTabFormTellsItsForm)
{
    TestFrame frame;
    Activate(&frame);
    Control strip = frame.tabs->item(IDC_TABSTRIP);
    ASSERT_NE(dynamic_cast<CFormTabCtrl*>(strip.widget()), nullptr);
    EXPECT_EQ(strip.count(), 6);
    strip.setSelection(3);  // the program's own choice: not told
    EXPECT_EQ(frame.tabs->pageChanges, 0);
    strip.choose(4);
    EXPECT_EQ(frame.tabs->pageChanges, 1);
    EXPECT_EQ(strip.selection(), 4);
    EXPECT_EQ(strip.itemData(4), 5);
}

TEST_F(FrameTest, ScreenshotOfTheFrame)
{
    TestFrame frame;
    Activate(&frame);
    frame.SetPaneText(0, "Ready");
    frame.SetPaneText(1, "Relay 3");
    frame.SetPaneText(2, "Comp 1");
    struct : TextTable {
        std::string GetText(std::string_view key) override
        {
            return key == "ID_KOMMANDO_SKIVEHEIS" ? "&Target lift" : std::string();
        }
    } table;
    SetTextTable(&table);
    frame.SetMenuTexts();
    SetTextTable(nullptr);
    frame.tabs->item(IDC_TABSTRIP).setSelection(1);
    frame.list->item(IDC_LIST).setSelection(1);
    frame.panel->item(IDC_PANEL_EDIT).setText("98.4");
    QCoreApplication::processEvents();
    QImage shot = frame.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    ASSERT_TRUE(shot.save(BV_BINARY_DIR "/screens/frame.png", "PNG"));
}

}  // namespace
}  // namespace bvtest
