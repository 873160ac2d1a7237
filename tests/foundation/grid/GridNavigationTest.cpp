// The grid's keys, clicks and focus changes, each with the exact messages
// its owner gets. See GridHarness.h for the grid and the log lines.
#include "foundation/grid/GridEditorCore.h"
#include "foundation/grid/GridListCore.h"
#include "GridHarness.h"

#include <gtest/gtest.h>

namespace {

using gridtest::LaneGrid;
using Log = std::vector<std::string>;

struct KeyStroke {
    int key;
    unsigned modifiers = GM_NONE;
};

struct NavCase {
    const char* name;
    int row, column;
    std::vector<KeyStroke> keys;
    int endRow, endColumn;
    Log log;
};

const NavCase kGridKeys[] = {
    {"TabMovesRight", 0, 1, {{GK_TAB}}, 0, 2, {"sel -2"}},
    {"TabPassesSkipColumn", 0, 4, {{GK_TAB}}, 0, 6, {"sel -2"}},
    {"TabStopsOnSkipColumnThatEndsTheRow", 3, 4, {{GK_TAB}}, 3, 5, {"sel -2"}},
    {"TabWrapsToNextRow", 0, 6, {{GK_TAB}}, 1, 1, {"sel 1", "sel -2"}},
    {"TabInLastCellStays", 3, 5, {{GK_TAB}}, 3, 5, {"sel -2"}},
    {"ShiftTabPassesSkipColumn", 0, 6, {{GK_TAB, GM_SHIFT}}, 0, 4, {"sel -2"}},
    {"ShiftTabWrapsToPreviousRowEnd", 2, 1, {{GK_TAB, GM_SHIFT}}, 1, 6, {"sel 1", "sel -2"}},
    {"ShiftTabInFirstCellStays", 0, 1, {{GK_TAB, GM_SHIFT}}, 0, 1, {"sel -2"}},
    {"RightPassesSkipColumn", 0, 4, {{GK_RIGHT}}, 0, 6, {"sel -2"}},
    {"LeftNeverSkips", 0, 6, {{GK_LEFT}}, 0, 5, {"sel -2"}},
    {"LeftStopsAtFirstEditable", 0, 1, {{GK_LEFT}}, 0, 1, {"sel -2"}},
    {"RightStopsAtRowEnd", 2, 4, {{GK_RIGHT}}, 2, 4, {"sel -2"}},
    {"HomeThenEnd", 1, 3, {{GK_HOME}, {GK_END}}, 1, 6, {"sel -2", "sel -2"}},
    {"DownLowersColumnToShorterRow", 1, 6, {{GK_DOWN}}, 2, 4, {"sel 2", "sel -2"}},
    {"DownStopsBeforeRowsBeyondCount", 3, 1, {{GK_DOWN}}, 3, 1, {"sel -2"}},
    {"UpInTopRowStays", 0, 2, {{GK_UP}}, 0, 2, {"sel -2"}},
    {"UpThenDown", 2, 2, {{GK_UP}, {GK_DOWN}}, 2, 2, {"sel 1", "sel -2", "sel 2", "sel -2"}},
    {"OtherKeyOnlySelects", 1, 2, {{GK_NEXT}}, 1, 2, {"sel -2"}},
    {"EscapeIsLeftToTheDialog", 1, 2, {{GK_ESCAPE}}, 1, 2, {}},
    {"AltKeysAreLeftToTheDialog", 1, 2, {{GK_DOWN, GM_ALT}, {'N', GM_ALT}}, 1, 2, {}},
    {"SpaceTogglesCheckCell", 1, 6, {{GK_SPACE}}, 1, 6, {"end 1,6 ''/32 0@1138", "sel -2"}},
    {"SpaceElsewhereOnlySelects", 1, 1, {{GK_SPACE}}, 1, 1, {"sel -2"}},
    {"EnterOpensTextEditor", 0, 1, {{GK_RETURN}}, 0, 1, {"sel -2", "begin 0,1", "sel -2"}},
    // No editor for a fixed cell; the Enter character asks once more.
    {"EnterOnFixedCell", 0, 3, {{GK_RETURN}}, 0, 3, {"sel -2", "sel -2", "sel -2"}},
};

class GridKeys : public testing::TestWithParam<NavCase> {};

TEST_P(GridKeys, MoveAndTellTheOwner)
{
    const NavCase& c = GetParam();
    LaneGrid g;
    g.StartAt(c.row, c.column);
    for (const KeyStroke& k : c.keys)
        g.Press(k.key, k.modifiers);
    EXPECT_EQ(g.Current(), std::make_pair(c.endRow, c.endColumn));
    EXPECT_EQ(g.owner.Take(), c.log);
}

INSTANTIATE_TEST_SUITE_P(Table, GridKeys, testing::ValuesIn(kGridKeys),
                         [](const testing::TestParamInfo<NavCase>& info) { return std::string(info.param.name); });

TEST(GridNavigationTest, EnterOpensTheEditorOfTheCellKind)
{
    struct Case {
        int column;
        int kind;
    } cases[] = {{1, GRID_TEXT}, {2, GRID_CHOICE}, {4, GRID_VALUE}};
    for (const Case& c : cases) {
        LaneGrid g;
        g.StartAt(1, c.column);
        g.Press(GK_RETURN);
        ASSERT_NE(g.grid.Editor(), nullptr) << c.column;
        EXPECT_EQ(g.grid.Editor()->Kind(), c.kind);
        EXPECT_EQ(g.grid.Editor()->Row(), 1);
        EXPECT_EQ(g.grid.m_editMode, 1);
        EXPECT_EQ(g.view.openEditors, 1);
    }
}

TEST(GridNavigationTest, VetoedEnterLeavesNoEditorAndAsksAgainForTheCharacter)
{
    LaneGrid g;
    g.owner.vetoes = {{0, 1}};
    g.StartAt(0, 1);
    g.Press(GK_RETURN);
    // The key asks, the common end selects, the Enter character asks again.
    EXPECT_EQ(g.owner.Take(), (Log{"sel -2", "begin 0,1", "sel -2", "sel -2", "begin 0,1"}));
    EXPECT_EQ(g.grid.Editor(), nullptr);
    EXPECT_EQ(g.grid.m_editMode, 0);
    EXPECT_EQ(g.view.openEditors, 0);
}

TEST(GridNavigationTest, EmptyGridIgnoresEveryKey)
{
    LaneGrid g;
    g.grid.DeleteAllItems();
    g.grid.m_rowCount = 0;
    g.grid.m_lastColumn.clear();
    g.StartAt(0, 1);
    for (int key : {GK_TAB, GK_RETURN, GK_END, GK_HOME, GK_LEFT, GK_UP, GK_RIGHT, GK_DOWN, GK_SPACE, GK_ESCAPE}) {
        g.Press(key);
        g.Press(key, GM_SHIFT);
    }
    EXPECT_EQ(g.owner.Take(), Log{});
    EXPECT_EQ(g.Current(), std::make_pair(0, 1));
    EXPECT_EQ(g.grid.m_editMode, 0);
}

TEST(GridNavigationTest, RowsThatExistButAreNotCountedIgnoreKeysToo)
{
    LaneGrid g;
    g.grid.m_rowCount = 0;
    g.StartAt(0, 1);
    g.Press(GK_RETURN);
    g.Press(GK_DOWN);
    EXPECT_EQ(g.owner.Take(), Log{});
    EXPECT_EQ(g.grid.Editor(), nullptr);
}

TEST(GridNavigationTest, KeysWaitWhileAnEditIsInProgress)
{
    LaneGrid g;
    g.StartAt(1, 2);
    g.grid.m_editMode = 1;  // e.g. an editor ended and the owner has not yet cleared it
    EXPECT_FALSE(g.grid.KeyPress(GK_TAB, 0, '\t'));    // the dialog's again
    EXPECT_FALSE(g.grid.KeyPress(GK_RETURN, 0, '\r'));
    EXPECT_TRUE(g.grid.KeyPress(GK_DOWN, 0, -1));      // taken, ignored
    EXPECT_EQ(g.owner.Take(), Log{});
    EXPECT_EQ(g.Current(), std::make_pair(1, 2));
}

TEST(GridNavigationTest, RowWhoseLastColumnIsBelowTheFirstKeepsTheLowerColumn)
{
    LaneGrid g;
    g.grid.m_lastColumn[1] = 0;
    g.StartAt(0, 1);
    g.Press(GK_DOWN);
    EXPECT_EQ(g.Current(), std::make_pair(1, 0));
}

// ---- Focus

TEST(GridNavigationTest, FocusLostAndRegained)
{
    LaneGrid g;
    g.StartAt(2, 2);
    g.grid.WindowFocusOut();
    EXPECT_EQ(g.grid.m_focus, 0);
    EXPECT_EQ(g.owner.Take(), Log{"sel -1"});
    g.grid.WindowFocusIn();
    EXPECT_EQ(g.grid.m_focus, 1);
    EXPECT_EQ(g.owner.Take(), Log{"sel -2"});
    // No -1 while an edit is in progress.
    g.grid.m_editMode = 1;
    g.grid.WindowFocusOut();
    EXPECT_EQ(g.owner.Take(), Log{});
}

// ---- Mouse. Row r lies at y = 16 r .. 16 r + 15; the columns start at
// x = 0, 50, 110, 170, 220, 270 and 330.

constexpr int kColumnX[] = {25, 80, 140, 195, 245, 300, 350};
int RowY(int row) { return row * 16 + 8; }

TEST(GridNavigationTest, ClickMovesTheCurrentCell)
{
    struct Case {
        const char* name;
        int row, column;  // where the click lands
        int endRow, endColumn;
        Log log;
    } cases[] = {
        {"other cell", 2, 2, 2, 2, {"sel 2", "sel -2"}},
        {"same row", 0, 4, 0, 4, {"sel -2"}},
        {"column before the first editable", 1, 0, 1, 1, {"sel 1", "sel -2"}},
        {"beyond the row's last column", 2, 5, 2, 4, {"sel 2", "sel -2"}},
        {"row beyond the row count", 4, 2, 0, 1, {}},
    };
    for (const auto& c : cases) {
        LaneGrid g;
        g.StartAt(0, 1);
        g.grid.OnLButtonDown(kColumnX[c.column], RowY(c.row));
        EXPECT_EQ(g.Current(), std::make_pair(c.endRow, c.endColumn)) << c.name;
        EXPECT_EQ(g.owner.Take(), c.log) << c.name;
        EXPECT_EQ(g.grid.Editor(), nullptr) << c.name;
    }
}

// A header click only tells the owner, and only for a column the list has.
TEST(GridNavigationTest, HeaderClickIsReportedAndChangesNothing)
{
    struct Case {
        int column;
        Log log;
    } cases[] = {{0, {"header 0"}}, {6, {"header 6"}}, {7, {}}, {-1, {}}};
    for (const auto& c : cases) {
        LaneGrid g;
        g.StartAt(2, 2);
        g.grid.OnHeaderClick(c.column);
        EXPECT_EQ(g.owner.Take(), c.log) << c.column;
        EXPECT_EQ(g.Current(), std::make_pair(2, 2)) << c.column;
        EXPECT_EQ(g.grid.Editor(), nullptr) << c.column;
    }
}

TEST(GridNavigationTest, ClickOnTheCurrentCellOpensItsEditor)
{
    LaneGrid g;
    g.StartAt(1, 4);
    g.grid.OnLButtonDown(kColumnX[4], RowY(1));
    EXPECT_EQ(g.owner.Take(), (Log{"sel -2", "begin 1,4"}));
    ASSERT_NE(g.grid.Editor(), nullptr);
    EXPECT_EQ(g.grid.Editor()->Kind(), GRID_VALUE);
}

TEST(GridNavigationTest, ClickOnCheckCellToggles)
{
    LaneGrid g;
    g.StartAt(0, 1);
    g.grid.OnLButtonDown(kColumnX[6], RowY(1));
    EXPECT_EQ(g.owner.Take(), (Log{"sel 1", "sel -2", "end 1,6 ''/32 0@1138"}));
    EXPECT_EQ(g.grid.GetItemText(1, 6), "1");
    EXPECT_EQ(g.Current(), std::make_pair(1, 6));

    // Beyond the row count only the list's own handling runs.
    g.grid.OnLButtonDown(kColumnX[6], RowY(4));
    EXPECT_EQ(g.owner.Take(), Log{});
    EXPECT_EQ(g.grid.GetItemText(4, 6), "0");

    // Outside the row's editable range the cell only becomes current.
    g.grid.OnLButtonDown(kColumnX[6], RowY(2));
    EXPECT_EQ(g.owner.Take(), (Log{"sel 2", "sel -2"}));
    EXPECT_EQ(g.grid.GetItemText(2, 6), "0");
    EXPECT_EQ(g.Current(), std::make_pair(2, 4));
}

TEST(GridNavigationTest, DoubleClickEditsTheCellItLandsOn)
{
    LaneGrid g;
    g.StartAt(0, 1);
    g.grid.OnLButtonDown(kColumnX[2], RowY(1));
    g.grid.OnLButtonDblClk(kColumnX[2], RowY(1));
    EXPECT_EQ(g.owner.Take(), (Log{"sel 1", "sel -2", "sel -2", "begin 1,2"}));
    ASSERT_NE(g.grid.Editor(), nullptr);
    EXPECT_EQ(g.grid.Editor()->Kind(), GRID_CHOICE);

    // On a cell that is never edited nothing opens, and the double click is
    // the owner's; so it is when the owner refuses the edit.
    LaneGrid h;
    h.StartAt(0, 1);
    h.grid.OnLButtonDown(kColumnX[0], RowY(2));
    h.grid.OnLButtonDblClk(kColumnX[0], RowY(2));
    EXPECT_EQ(h.owner.Take(), (Log{"sel 2", "sel -2", "dbl 2,0"}));
    EXPECT_EQ(h.grid.Editor(), nullptr);

    LaneGrid v;
    v.StartAt(0, 1);
    v.owner.vetoes.insert({1, 2});
    v.grid.OnLButtonDblClk(kColumnX[2], RowY(1));
    EXPECT_EQ(v.owner.Take(), (Log{"sel -2", "begin 1,2", "dbl 1,2"}));
    EXPECT_EQ(v.grid.Editor(), nullptr);

    // Beside the rows nobody is told.
    LaneGrid b;
    b.StartAt(0, 1);
    b.grid.OnLButtonDblClk(kColumnX[2], RowY(40));
    EXPECT_EQ(b.owner.Take(), Log{});
}

TEST(GridNavigationTest, CtrlAndShiftClicksSelectSeveralRows)
{
    struct Click {
        int row;
        unsigned modifiers;
    };
    struct Case {
        const char* name;
        bool multi;
        std::vector<Click> clicks;
        std::vector<int> selected;
    } cases[] = {
        {"PlainClickSelectsOne", true, {{1, GM_NONE}, {3, GM_NONE}}, {3}},
        {"CtrlAdds", true, {{1, GM_NONE}, {3, GM_CTRL}, {0, GM_CTRL}}, {0, 1, 3}},
        {"CtrlTakesAway", true, {{1, GM_NONE}, {3, GM_CTRL}, {1, GM_CTRL}}, {3}},
        {"ShiftFromTheFocusedRow", true, {{1, GM_NONE}, {3, GM_SHIFT}}, {1, 2, 3}},
        {"ShiftUpwards", true, {{3, GM_NONE}, {0, GM_SHIFT}}, {0, 1, 2, 3}},
        {"ShiftReplacesCtrlKeeps", true, {{0, GM_NONE}, {3, GM_CTRL}, {1, GM_SHIFT}}, {1, 2, 3}},
        {"CtrlShiftAddsTheRange", true, {{0, GM_NONE}, {2, GM_CTRL}, {3, GM_CTRL | GM_SHIFT}}, {0, 2, 3}},
        {"SingleSelectionIgnoresModifiers", false, {{1, GM_NONE}, {3, GM_CTRL}}, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LaneGrid g;
        g.grid.m_multiSelect = c.multi;
        g.StartAt(0, 1);
        for (const Click& k : c.clicks)
            g.grid.OnLButtonDown(kColumnX[1], RowY(k.row), k.modifiers);
        EXPECT_EQ(g.grid.GetSelectedItems(), c.selected);
        // The clicked row is the current one, as with a plain click.
        EXPECT_EQ(g.Current().first, c.clicks.back().row);
    }

    // The program selects and unselects rows one by one; the grid taking the
    // focus keeps them.
    LaneGrid g;
    g.grid.m_multiSelect = true;
    g.grid.WindowFocusOut();
    g.grid.SetItemSelected(2, true);
    g.grid.SetItemSelected(0, true);
    g.grid.SetItemSelected(9, true);
    EXPECT_EQ(g.grid.GetSelectedItems(), (std::vector<int>{0, 2}));
    g.grid.SetItemSelected(2, false);
    EXPECT_EQ(g.grid.GetSelectedItems(), (std::vector<int>{0}));
    g.owner.Take();
    g.grid.m_currentRow = -1;
    g.grid.WindowFocusIn();
    EXPECT_EQ(g.grid.GetSelectedItems(), (std::vector<int>{0}));
    g.grid.OnLButtonDown(kColumnX[1], RowY(3), GM_CTRL);
    EXPECT_EQ(g.grid.GetSelectedItems(), (std::vector<int>{0, 3}));
}

TEST(GridNavigationTest, RightClickSelectsUnlessEditing)
{
    LaneGrid g;
    g.StartAt(0, 1);
    g.grid.OnRButtonDown(kColumnX[2], RowY(3));
    EXPECT_EQ(g.owner.Take(), (Log{"sel 3", "sel -2"}));
    EXPECT_EQ(g.Current(), std::make_pair(3, 2));

    g.EditAt(1, 1);
    g.grid.OnRButtonDown(kColumnX[2], RowY(3));
    EXPECT_EQ(g.owner.Take(), Log{});
    EXPECT_EQ(g.Current(), std::make_pair(1, 1));
    EXPECT_NE(g.grid.Editor(), nullptr);
}

TEST(GridNavigationTest, ClickOnTheGridWhileEditingEndsTheEditFirst)
{
    LaneGrid g;
    g.EditAt(0, 1);
    g.Type("Kari");
    g.grid.OnLButtonDown(kColumnX[2], RowY(2));
    EXPECT_EQ(g.owner.Take(), (Log{"end 0,1 'Kari'/4 0", "sel -1@0", "sel -2", "sel 2", "sel -2"}));
    EXPECT_EQ(g.grid.GetItemText(0, 1), "Kari");
    EXPECT_EQ(g.grid.Editor(), nullptr);
    EXPECT_EQ(g.view.openEditors, 0);
}

TEST(GridNavigationTest, ScrollingWhileEditingEndsTheEdit)
{
    LaneGrid g;
    g.EditAt(1, 4);
    g.grid.OnScrollRequest();
    EXPECT_EQ(g.owner.Take(), (Log{"end 1,4 '9'/1 123", "sel -1@0", "sel -2"}));
    EXPECT_EQ(g.grid.Editor(), nullptr);
}

// ---- Cell colours

TEST(GridNavigationTest, CellColours)
{
    LaneGrid g;
    g.grid.Column(5)->m_kind |= GRID_HIDE_OUTSIDE;
    g.StartAt(1, 2);
    using C = GridColor;
    struct Case {
        const char* name;
        int row, column;
        GridCellColors colors;
    } cases[] = {
        {"row beyond the row count", 4, 2, {C::Window, C::Red}},
        {"hidden column outside the range", 2, 5, {C::ButtonShadow, C::ButtonShadow}},
        {"current cell with focus", 1, 2, {C::Highlight, C::HighlightText}},
        {"rest of the current row", 1, 4, {C::Light3D, C::WindowText}},
        {"current row outside the range", 1, 0, {C::Light3D, C::WindowText}},
        {"other row in range", 0, 2, {C::Window, C::WindowText}},
        {"other row outside the range", 0, 0, {C::Window, C::GrayText}},
        {"column beyond a short row", 2, 6, {C::Window, C::GrayText}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.grid.CellColors(c.row, c.column), c.colors) << c.name;

    // Without the focus the current cell looks like the rest of its row.
    g.grid.WindowFocusOut();
    EXPECT_EQ(g.grid.CellColors(1, 2), (GridCellColors{C::Light3D, C::WindowText}));
    // A selected row that is not current is drawn light as well.
    g.grid.SelectItem(3);
    EXPECT_EQ(g.grid.CellColors(3, 2), (GridCellColors{C::Light3D, C::WindowText}));
}

// ---- Scrolling to the cell and the cells that cannot be edited

TEST(GridNavigationTest, ScrollToCellBringsTheCellIntoView)
{
    LaneGrid g;
    g.view.clientWidth = 150;
    g.StartAt(0, 4);  // x 220..270
    EXPECT_EQ(g.grid.GetScrollX(), 120);
    g.grid.m_currentColumn = 1;  // x 50..110: back left as far as it stays in view
    EXPECT_EQ(g.grid.ScrollToCell(), 1);
    EXPECT_EQ(g.grid.GetScrollX(), 0);
    g.grid.SetColumnWidth(1, 200);  // wider than the view: its left edge shows
    EXPECT_EQ(g.grid.ScrollToCell(), 0);
    EXPECT_EQ(g.grid.GetScrollX(), 50);
}

TEST(GridNavigationTest, RowsScrollIntoViewVertically)
{
    LaneGrid g;
    for (int r = 5; r < 30; ++r)
        g.grid.InsertItem(r, std::to_string(r + 1));
    g.grid.m_rowCount = 30;
    g.grid.m_lastColumn.resize(30, 6);
    g.StartAt(0, 1);
    for (int i = 0; i < 15; ++i)
        g.Press(GK_DOWN);
    // 160 pixels hold ten rows of 16: row 15 is the last one shown.
    EXPECT_EQ(g.grid.GetTopIndex(), 6);
    EXPECT_EQ(g.grid.GetItemRect(15).top, 144);
    EXPECT_EQ(g.grid.SubItemHitTest(kColumnX[2], 150).row, 15);
}

TEST(GridNavigationTest, CellsThatCannotBeEditedClearTheEditMode)
{
    struct Case {
        const char* name;
        void (*setup)(LaneGrid&);
        int row, column;
    } cases[] = {
        {"column narrower than 5 pixels", [](LaneGrid& g) { g.grid.SetColumnWidth(1, 4); }, 0, 1},
        {"cell wider than the view", [](LaneGrid& g) { g.grid.SetColumnWidth(1, 450); }, 0, 1},
        {"row not in the list", [](LaneGrid&) {}, 7, 1},
        {"column beyond the header", [](LaneGrid& g) { g.grid.DeleteColumn(6); }, 0, 6},
        {"column beyond the definitions", [](LaneGrid& g) { g.grid.InsertColumn(7, "x", GridAlign::Left, 40); },
         0, 7},
    };
    for (const auto& c : cases) {
        LaneGrid g;
        c.setup(g);
        g.StartAt(0, 1);
        g.grid.m_editMode = 1;
        EXPECT_EQ(g.grid.EditCell(c.row, c.column), nullptr) << c.name;
        EXPECT_EQ(g.grid.m_editMode, 0) << c.name;
        for (const std::string& line : g.owner.Take())
            EXPECT_EQ(line.find("begin"), std::string::npos) << c.name;
    }
}

TEST(GridNavigationTest, ToggleCellReportsAnEmptyThirtyTwoCharacterText)
{
    LaneGrid g;
    const GridEditRecord* seen = nullptr;
    struct Probe : CGridOwner {
        const GridEditRecord** seen;
        GridEditRecord copy;
        intptr_t OnGridMessage(unsigned m, intptr_t w, intptr_t) override
        {
            if (m == WM_GRID_ENDEDIT) {
                copy = *GridRecordOf(w);
                *seen = &copy;
                EXPECT_STREQ(copy.text, "");
            }
            return 0;
        }
    } probe;
    probe.seen = &seen;
    g.grid.SetOwner(&probe, 77);
    g.grid.ToggleCell(3, 6);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->sender, &g.grid);
    EXPECT_EQ(seen->senderId, 77);
    EXPECT_EQ(seen->code, GRID_ENDLABELEDIT);
    EXPECT_EQ(seen->mask, 13u);
    EXPECT_EQ(seen->row, 3);
    EXPECT_EQ(seen->column, 6);
    EXPECT_EQ(seen->textLength, 32);
    EXPECT_EQ(seen->param, 0);
}

TEST(GridNavigationTest, SetColumnTypeGrowsAndGivesTextColumnsAnEditText)
{
    CGridListCore grid;
    grid.SetColumnType(3, GRID_TEXT | GRID_HIDE_OUTSIDE, 7);
    ASSERT_EQ(grid.m_columns.size(), 4u);
    EXPECT_EQ(grid.GetColumnType(3), GRID_TEXT);
    EXPECT_EQ(grid.Column(3)->m_kind, GRID_TEXT | GRID_HIDE_OUTSIDE);
    EXPECT_EQ(grid.Column(3)->m_columnNumber, 3);
    EXPECT_EQ(grid.Column(3)->m_skip, 1);
    EXPECT_EQ(grid.Column(3)->m_choiceCount, 1);
    EXPECT_EQ(grid.GetColumnType(1), 0);
    EXPECT_EQ(grid.GetColumnType(9), 0);
    grid.SetColumnType(1, GRID_CHOICE, 0);
    EXPECT_EQ(grid.m_columns.size(), 4u);
    EXPECT_EQ(grid.m_previousRow, -2);
}

}  // namespace
