// The grid on screen, in a dialog of the window kit: key strokes and clicks
// go in through the window system, as the user makes them, and the dialog's
// log of the grid's messages comes out.
#include "QtApp.h"

#include "foundation/grid/GridComboCore.h"
#include "foundation/ui/grid/GridCombo.h"
#include "foundation/ui/grid/GridEdit.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/foundation/grid/GridHarness.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace bvtest {
namespace {

using namespace platform;
using K = ControlKind;
using Log = std::vector<std::string>;

enum { IDD_LANES = 135, IDC_NEXT = 1008, IDC_GRID = gridtest::kGridId };

const ControlTemplate kLaneControls[] = {
    {.id = IDC_NEXT, .kind = K::Button, .row = 0, .col = 0, .text = "Next"},
    {.id = IDOK, .kind = K::Button, .row = 0, .col = 1, .text = "OK", .style = CS_DEFAULT},
    {.id = IDC_GRID, .kind = K::Custom, .row = 1, .col = 0, .colSpan = 2, .style = CS_STRETCH},
};
const DialogTemplate kLanes{.id = IDD_LANES, .caption = "Lanes", .cx = 260, .cy = 140, .controls = kLaneControls};

// A dialog that holds a grid the way the range dialogs do, and answers the
// grid's messages through the kit's message path.
class LaneDialog : public Dialog {
public:
    LaneDialog() : Dialog(kLanes)
    {
        grid = new CGridList(this);
        SetCustomControl(IDC_GRID, grid);
        grid->SetControlId(IDC_GRID);
        recorder = std::make_unique<gridtest::RecordingOwner>(*grid);
        gridtest::FillLaneGrid(*grid);
    }

    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message >= static_cast<int>(WM_GRID_SELCHANGE) && message <= static_cast<int>(WM_GRID_HEADERCLICK))
            return recorder->OnGridMessage(static_cast<unsigned>(message), wParam, lParam);
        return 0;
    }
    void OnCancel() override { ++cancels; }
    void OnOK() override { ++oks; }

    CGridList* grid;
    std::unique_ptr<gridtest::RecordingOwner> recorder;
    int cancels = 0;
    int oks = 0;
};

class GridListTest : public testing::Test {
protected:
    GridListTest()
    {
        dlg.resize(480, 260);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        dlg.activateWindow();
        QCoreApplication::processEvents();
    }

    CGridList& grid() { return *dlg.grid; }
    Log Take() { return dlg.recorder->Take(); }
    QWidget* Focus() { return QApplication::focusWidget(); }

    // The centre of a cell in the grid's rows area.
    QPoint Cell(int row, int column)
    {
        return grid().CellRect(row, column).center();
    }
    void Click(int row, int column, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(grid().viewport(), button, Qt::NoModifier, Cell(row, column));
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Focus(), key, modifiers);
    }
    void Type(const char* text) { QTest::keyClicks(Focus(), text); }

    QApplication& app = QtApp();
    ScriptedPrompter prompter;
    ScopedPrompter scoped{prompter};
    LaneDialog dlg;
};

TEST_F(GridListTest, KeysAndClicksReachTheOwnerAsMessages)
{
    // A first click gives the grid the focus and makes the cell current.
    Click(1, 1);
    EXPECT_EQ(Take(), (Log{"sel -2", "sel 1", "sel -2"}));
    EXPECT_EQ(Focus(), &grid());

    // Enter opens a text editor with the cell's text, all selected.
    Press(Qt::Key_Return);
    EXPECT_EQ(Take(), (Log{"sel -2", "begin 1,1", "sel -2"}));
    auto* edit = dynamic_cast<CGridEdit*>(Focus());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "Name2");
    EXPECT_EQ(edit->selectedText(), "Name2");
    EXPECT_EQ(edit->geometry(), grid().CellRect(1, 1).adjusted(1, 0, 0, 0));

    // Typing replaces it; Tab stores it and opens the choice of the next cell.
    Type("Ola");
    Press(Qt::Key_Tab);
    EXPECT_EQ(Take(), (Log{"end 1,1 'Ola'/3 0", "sel -2", "sel -2", "begin 1,2"}));
    EXPECT_EQ(grid().GetItemText(1, 1), "Ola");
    ASSERT_NE(dynamic_cast<CGridCombo*>(Focus()), nullptr);

    // The choice follows the typed letters; Enter passes the fixed gauge.
    Type("cha");
    Press(Qt::Key_Return);
    EXPECT_EQ(Take(), (Log{"end 1,2 'Charlie'/8 3", "sel -2", "sel -2", "begin 1,4"}));
    ASSERT_NE(dynamic_cast<CGridValueEdit*>(Focus()), nullptr);

    // A value completes by itself; "t" stands for X.
    Type("t");
    EXPECT_EQ(Take(), (Log{"end 1,4 'X'/1 123", "sel -2", "sel -2", "begin 1,5"}));
    EXPECT_EQ(grid().GetItemText(1, 4), "X");

    // Escape cancels the note: the record has no text.
    Press(Qt::Key_Escape);
    EXPECT_EQ(Take(), (Log{"end 1,5 null/0 -1", "sel -2"}));
    EXPECT_EQ(Focus(), &grid());
    EXPECT_EQ(dlg.cancels, 0);  // the editor took it, not the dialog
    EXPECT_EQ(grid().EditorWindow(), nullptr);

    // Arrows and Tab move the current cell. Shift on its own is a key the
    // grid sees too: it only selects.
    Press(Qt::Key_Down);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Take(), (Log{"sel 2", "sel -2", "sel -2", "sel -2"}));
    EXPECT_EQ(grid().m_currentRow, 2);
    EXPECT_EQ(grid().m_currentColumn, 3);

    // Escape on the grid itself is the dialog's Cancel.
    Press(Qt::Key_Escape);
    EXPECT_EQ(dlg.cancels, 1);
    EXPECT_EQ(Take(), Log{});

    // A check cell toggles on a click; the owner flips the value.
    Click(0, 6);
    EXPECT_EQ(Take(), (Log{"sel 0", "sel -2", "end 0,6 ''/32 0@1138"}));
    EXPECT_EQ(grid().GetItemText(0, 6), "1");

    // A right click makes the cell current without the focus moving.
    Click(3, 2, Qt::RightButton);
    EXPECT_EQ(Take(), (Log{"sel 3", "sel -2"}));
}

TEST_F(GridListTest, DoubleClickOpensTheChoiceAndItsListIsClickable)
{
    Click(0, 1);
    Take();
    // Down, up, double click, up: the first click makes the cell current,
    // the double click opens its editor.
    Click(2, 2);
    QMouseEvent twice(QEvent::MouseButtonDblClick, Cell(2, 2), grid().viewport()->mapToGlobal(Cell(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid().viewport(), &twice);
    EXPECT_EQ(Take(), (Log{"sel 2", "sel -2", "sel -2", "begin 2,2"}));
    auto* combo = dynamic_cast<CGridCombo*>(Focus());
    ASSERT_NE(combo, nullptr);

    // A click on the field drops the list below the cell.
    QTest::mouseClick(combo, Qt::LeftButton);
    CGridComboList* list = combo->List();
    ASSERT_TRUE(list->isVisible());
    EXPECT_GE(list->geometry().top(), combo->mapToGlobal(QPoint(0, combo->height())).y());
    EXPECT_EQ(list->width(), 120);

    // The fourth choice is taken and the list closes; the focus stays.
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(20, list->ItemTop(3) + 3));
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Focus(), combo);

    // Leaving for another control stores the choice and tells the owner.
    auto* next = dlg.findChild<QPushButton*>();
    ASSERT_NE(next, nullptr);
    next->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(Take(), (Log{"end 2,2 'Charlotte'/10 4", "sel -1@0"}));
    EXPECT_EQ(grid().m_editMode, 0);
    EXPECT_EQ(grid().GetItemText(2, 2), "Charlotte");
    QPointer<CGridCombo> gone(combo);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
}

TEST_F(GridListTest, ClickElsewhereInTheGridEndsTheEditFirst)
{
    Click(0, 1);
    Click(0, 1);  // the current cell: its editor opens
    Take();
    ASSERT_NE(dynamic_cast<CGridEdit*>(Focus()), nullptr);
    Type("Kari");
    Click(3, 1);
    EXPECT_EQ(Take(), (Log{"end 0,1 'Kari'/4 0", "sel -1@0", "sel -2", "sel 3", "sel -2"}));
    EXPECT_EQ(Focus(), &grid());
    EXPECT_EQ(grid().EditorWindow(), nullptr);
}

TEST_F(GridListTest, VetoedEditKeepsTheFocusOnTheGrid)
{
    dlg.recorder->vetoes = {{1, 1}};
    Click(1, 1);
    Take();
    Press(Qt::Key_Return);
    EXPECT_EQ(Take(), (Log{"sel -2", "begin 1,1", "sel -2", "sel -2", "begin 1,1"}));
    EXPECT_EQ(Focus(), &grid());
    EXPECT_EQ(grid().EditorWindow(), nullptr);
    EXPECT_EQ(dlg.oks, 0);  // Enter was the grid's, not the default button's
}

TEST_F(GridListTest, FocusLeavingTheGridIsReported)
{
    Click(2, 2);
    Take();
    dlg.findChild<QPushButton*>()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Take(), Log{"sel -1"});
    EXPECT_EQ(grid().m_focus, 0);
}

TEST_F(GridListTest, ValueEditorBeepsThroughThePrompter)
{
    grid().SetItemData(1, 2);
    Click(1, 4);
    Click(1, 4);
    Take();
    ASSERT_NE(dynamic_cast<CGridValueEdit*>(Focus()), nullptr);
    Type("a");
    Type(".");
    ASSERT_EQ(prompter.Questions().size(), 2u);
    EXPECT_EQ(prompter.Questions()[0].kind, QuestionKind::Beep);
    EXPECT_EQ(static_cast<QLineEdit*>(Focus())->text(), "");
}

TEST_F(GridListTest, ScrollingWhileEditingEndsTheEdit)
{
    for (int r = 5; r < 40; ++r)
        grid().InsertItem(r, std::to_string(r + 1));
    grid().m_rowCount = 40;
    grid().m_lastColumn.resize(40, 6);
    Click(0, 1);
    Click(0, 1);
    Take();
    grid().verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Take(), (Log{"end 0,1 'Name1'/5 0", "sel -1@0", "sel -2"}));
    EXPECT_GT(grid().GetTopIndex(), 0);
    EXPECT_EQ(Focus(), &grid());
}

TEST_F(GridListTest, HeaderFollowsTheColumnsAndResizesThem)
{
    auto* header = grid().findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->count(), 7);
    EXPECT_EQ(header->sectionSize(2), 60);
    header->resizeSection(2, 90);
    EXPECT_EQ(grid().GetColumnWidth(2), 90);
    EXPECT_EQ(grid().CellRect(0, 3).left(), 50 + 60 + 90);
}

// A click on a header reaches the owner with the column and the grid's id;
// the rows, the current cell and the widths stay as they were.
TEST_F(GridListTest, HeaderClickReachesTheOwner)
{
    Click(1, 1);
    Take();
    auto* header = grid().findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    int x = header->sectionViewportPosition(4) + header->sectionSize(4) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
    EXPECT_EQ(Take(), (Log{"header 4"}));
    EXPECT_EQ(grid().m_currentRow, 1);
    EXPECT_EQ(grid().m_currentColumn, 1);
    EXPECT_EQ(grid().GetColumnWidth(4), 50);
    EXPECT_EQ(grid().GetItemText(0, 0), "1");
}

TEST_F(GridListTest, RowsAreDrawnInTheirCellColours)
{
    grid().Column(5)->m_kind |= GRID_HIDE_OUTSIDE;
    Click(1, 2);
    QImage image = grid().viewport()->grab().toImage();
    // A cell's colour, within the rounding of the palette's 16-bit channels.
    auto looks = [&](int row, int column, GridColor color) {
        QColor seen = image.pixelColor(grid().CellRect(row, column).topLeft() + QPoint(2, 3));
        QColor want = grid().Color(color);
        return std::abs(seen.red() - want.red()) <= 1 && std::abs(seen.green() - want.green()) <= 1 &&
               std::abs(seen.blue() - want.blue()) <= 1;
    };
    EXPECT_TRUE(looks(1, 2, GridColor::Highlight));     // the current cell
    EXPECT_TRUE(looks(1, 4, GridColor::Light3D));       // the rest of its row
    EXPECT_TRUE(looks(0, 2, GridColor::Window));        // another row
    EXPECT_TRUE(looks(2, 5, GridColor::ButtonShadow));  // hidden outside the range
    EXPECT_FALSE(looks(0, 2, GridColor::Light3D));
    // The sum row beyond the row count is written in red.
    QRect sum = grid().CellRect(4, 1);
    bool red = false;
    for (int y = sum.top(); y < sum.bottom() && !red; ++y)
        for (int x = sum.left(); x < sum.right() && !red; ++x)
            red = image.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_TRUE(red);

    // An owner that draws its own rows is asked for each row shown.
    std::vector<int> drawn;
    grid().SetDrawItem([&](QPainter& painter, int row, const QRect& rect) {
        drawn.push_back(row);
        EXPECT_EQ(rect, grid().CellRect(row, 0).united(grid().CellRect(row, 6)));
        grid().DrawRowCells(painter, row, rect);
    });
    grid().viewport()->grab();
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 3, 4}));
}

// A filled lane table as the range officer sees it, saved for the docs: the
// current cell, a ticked check cell, a long name cut with an ellipsis, a
// row outside the editable range, the sum row beyond the row count, and an
// open choice list.
TEST_F(GridListTest, ScreenshotOfAFilledGrid)
{
    dlg.resize(560, 260);
    grid().SetColumnWidth(1, 150);
    grid().SetColumnWidth(2, 80);
    grid().SetColumnWidth(3, 60);
    const char* names[] = {"Kari Nordmann", "Ola Hansen", "Anne-Marie Johannessen-Berg", "Per Olsen"};
    const char* classes[] = {"Alfa", "Charlie", "Bravo", "Delta"};
    const char* values[] = {"10.4", "9.8", "X", "*"};
    for (int r = 0; r < 4; ++r) {
        grid().SetItemText(r, 1, names[r]);
        grid().SetItemText(r, 2, classes[r]);
        grid().SetItemText(r, 4, values[r]);
        grid().SetItemText(r, 5, r == 1 ? "late" : "");
    }
    grid().SetItemText(0, 6, "1");
    grid().SetItemText(4, 1, "Sum");
    grid().SetItemText(4, 4, "49.2");
    Click(1, 1);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Return);
    auto* combo = dynamic_cast<CGridCombo*>(Focus());
    ASSERT_NE(combo, nullptr);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    QCoreApplication::processEvents();

    QImage shot = dlg.grab().toImage();
    CGridComboList* list = combo->List();
    ASSERT_TRUE(list->isVisible());
    // The list is a window of its own; put it where it shows on the screen.
    QPainter painter(&shot);
    painter.drawPixmap(dlg.mapFromGlobal(list->pos()), list->grab());
    painter.end();
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    ASSERT_TRUE(shot.save(BV_BINARY_DIR "/screens/grid.png", "PNG"));
    EXPECT_EQ(QImage(BV_BINARY_DIR "/screens/grid.png").size(), shot.size());
}

}  // namespace
}  // namespace bvtest
