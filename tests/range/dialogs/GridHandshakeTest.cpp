// The grid hand-shake the range control's grid dialogs share, on a grid
// without a window: what an editor starts with, what the dialog is handed
// when an edit ends (and when not), the edit mode when the focus leaves, and
// the log lines of each step.
#include "TempFolder.h"

#include "foundation/grid/GridListCore.h"
#include "foundation/grid/GridMessages.h"
#include "range/dialogs/GridHandshake.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

enum { kColLane = 0, kColClass = 1, kColNote = 2 };

class GridHandshakeTest : public bvtest::InTempFolder {
protected:
    GridHandshakeTest()
    {
        grid.InsertColumn(kColLane, "Lane", GridAlign::Right, 50);
        grid.InsertColumn(kColClass, "Class", GridAlign::Left, 80);
        grid.InsertColumn(kColNote, "Note", GridAlign::Left, 80);
        grid.SetColumnType(kColLane, 0, 0);
        grid.SetColumnType(kColClass, GRID_CHOICE, 0);
        grid.SetColumnType(kColNote, GRID_TEXT, 0);
        CGridColumn& classes = *grid.Column(kColClass);
        classes.SetChoiceCount(2);
        classes.m_codes = {5, 7};
        classes.m_texts[0] = "Five";
        classes.m_texts[1] = "Seven";
        for (int lane : {3, 8}) {
            int row = grid.InsertItem(grid.GetItemCount(), std::to_string(lane));
            grid.SetItemData(row, lane);
            grid.SetItemText(row, kColClass, "Seven");
            grid.SetItemText(row, kColNote, "note " + std::to_string(lane));
        }
        grid.m_rowCount = 2;
    }

    intptr_t Send(unsigned message, intptr_t wParam)
    {
        intptr_t result = -99;
        handled = handshake.Handle(message, wParam, result);
        return result;
    }
    intptr_t Begin(int row, int column) { return Send(WM_GRID_BEGINEDIT, column | row << 16); }
    void End(int row, int column, const char* text, intptr_t param)
    {
        GridEditRecord r;
        r.row = row;
        r.column = column;
        std::string buffer = text ? text : "";
        r.text = text ? buffer.data() : nullptr;
        r.param = param;
        Send(WM_GRID_ENDEDIT, reinterpret_cast<intptr_t>(&r));
    }

    // Every level into the log, for the lines the hand-shake writes; before
    // the hand-shake's log is made.
    bool logAll = [] {
        bvtest::TempFolder::Write("BVLog.ini", "[BVLog]\r\nLevel=0\r\n");
        return true;
    }();
    CGridListCore grid;
    std::optional<GridCellEdit> stored;
    int codeOfCalls = 0;
    GridHandshake handshake{grid, [this](const GridCellEdit& e) { stored = e; },
                            [this](int row, int) {
                                ++codeOfCalls;
                                return row == 0 ? 7 : 9;  // lane 8's code is in no choice
                            }};
    bool handled = false;
};

TEST_F(GridHandshakeTest, AnEditorStartsWithTheCellsValue)
{
    grid.m_editMode = 1;
    EXPECT_EQ(Begin(0, kColClass), 0);
    EXPECT_TRUE(handled);
    EXPECT_EQ(grid.Column(kColClass)->m_currentChoice, 1);
    Begin(1, kColClass);
    EXPECT_EQ(grid.Column(kColClass)->m_currentChoice, -1);
    EXPECT_EQ(codeOfCalls, 2);
    Begin(1, kColNote);
    EXPECT_EQ(grid.Column(kColNote)->ChoiceText(0), "note 8");
    // A dialog that says no codes finds the choice by the cell's text.
    GridHandshake byText(grid, {});
    intptr_t result = -1;
    EXPECT_TRUE(byText.Handle(WM_GRID_BEGINEDIT, kColClass | 1 << 16, result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(grid.Column(kColClass)->m_currentChoice, 1);
    EXPECT_NE(bvtest::TempFolder::Read("BVLog.txt").find("Edit 0 EditMode=1"), std::string::npos);
}

TEST_F(GridHandshakeTest, AnEndedEditIsHandedOnUnlessCancelledOrOutsideTheRows)
{
    struct Case {
        const char* name;
        int row;
        int column;
        const char* text;
        intptr_t param;
        bool handed;
        int lane;
        int code;
        bool choice;
    };
    const Case cases[] = {
        {"a choice", 1, kColClass, "Five", 5, true, 8, 5, true},
        {"the empty choice", 0, kColClass, "", -2, true, 3, -2, true},
        {"typed text", 0, kColNote, " 42 ", 0, true, 3, 0, false},
        {"a cancelled choice", 0, kColClass, "", -1, false, 0, 0, false},
        {"a cancelled text", 0, kColNote, nullptr, -1, false, 0, 0, false},
        {"no row", -1, kColNote, "x", 0, false, 0, 0, false},
        {"a row beyond the list", 2, kColNote, "x", 0, false, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        stored.reset();
        End(c.row, c.column, c.text, c.param);
        EXPECT_TRUE(handled);
        ASSERT_EQ(stored.has_value(), c.handed);
        if (!c.handed)
            continue;
        EXPECT_EQ(stored->row, c.row);
        EXPECT_EQ(stored->column, c.column);
        EXPECT_EQ(stored->lane, c.lane);
        EXPECT_EQ(stored->text, c.text);
        EXPECT_EQ(stored->code, c.code);
        EXPECT_EQ(stored->choice, c.choice);
    }
    std::string log = bvtest::TempFolder::Read("BVLog.txt");
    EXPECT_NE(log.find("Form.Change Lane=2"), std::string::npos);
    EXPECT_NE(log.find("Form.Change Lane=0"), std::string::npos);
    EXPECT_NE(log.find("Cancel?"), std::string::npos);
}

TEST_F(GridHandshakeTest, TheEditModeEndsWhenTheFocusLeaves)
{
    struct Case {
        intptr_t row;
        int editMode;
    };
    const Case cases[] = {{-2, 1}, {1, 1}, {-1, 0}, {0x8000, 0}};
    for (const Case& c : cases) {
        grid.m_editMode = 1;
        EXPECT_EQ(Send(WM_GRID_SELCHANGE, c.row), 0);
        EXPECT_EQ(grid.m_editMode, c.editMode) << c.row;
    }
    // Any other message is the dialog's own.
    Send(WM_GRID_SELCHANGE + 10, 0);
    EXPECT_FALSE(handled);
}

TEST(GridTypedNumber, ReadsTheFirstThirtyCharactersAsAWholeNumber)
{
    struct Case {
        std::string text;
        int number;
    };
    const Case cases[] = {
        {"17", 17},       {"  255 ", 255}, {"12,7", 12},       {"-3", -3}, {"", 0},
        {"abc", 0},       {std::string(28, ' ') + "45", 45}, {std::string(29, ' ') + "45", 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GridHandshake::TypedNumber(c.text), c.number) << "'" << c.text << "'";
}

}  // namespace
