// The in-place editors: how each hands the edit on, what it reports, and how
// the value editor checks and completes a shot value while it is typed.
#include "foundation/grid/GridComboCore.h"
#include "foundation/grid/GridEditCore.h"
#include "foundation/grid/GridValueEditCore.h"
#include "GridHarness.h"

#include <gtest/gtest.h>

namespace {

using gridtest::LaneGrid;
using Log = std::vector<std::string>;

// ---- Moves between cells: the same for every editor except where a case says.

struct MoveCase {
    const char* name;
    int row, column;  // where the editor opens
    std::string typed;
    int key;
    unsigned modifiers;
    Log log;
    int endRow, endColumn;
    int openKind;  // the editor open afterwards, 0 none
};

const MoveCase kMoves[] = {
    {"TextTabToChoice", 0, 1, "Ola", GK_TAB, 0,
     {"end 0,1 'Ola'/3 0", "sel -2", "sel -2", "begin 0,2"}, 0, 2, GRID_CHOICE},
    {"ChoiceTabPassesFixedToValue", 0, 2, "", GK_TAB, 0,
     {"end 0,2 'Bravo'/6 2", "sel -2", "sel -2", "begin 0,4"}, 0, 4, GRID_VALUE},
    // The value editor passes only fixed columns, not skip-flagged ones.
    {"ValueTabStopsOnSkipColumn", 0, 4, "", GK_TAB, 0,
     {"end 0,4 '9'/1 123", "sel -2", "sel -2", "begin 0,5"}, 0, 5, GRID_TEXT},
    {"TextEnterMovesLikeTab", 1, 1, "", GK_RETURN, 0,
     {"end 1,1 'Name2'/5 0", "sel -2", "sel -2", "begin 1,2"}, 1, 2, GRID_CHOICE},
    // A check cell has no editor: the edit ends there.
    {"TextTabIntoCheckCell", 0, 5, "x", GK_TAB, 0, {"end 0,5 'x'/1 0", "sel -2", "sel -2"}, 0, 6, 0},
    {"TabFromRowEndToNextRow", 2, 4, "", GK_TAB, 0,
     {"end 2,4 '9'/1 123", "sel -2", "sel -2", "begin 3,1", "sel 3"}, 3, 1, GRID_TEXT},
    {"TabFromLastCellEndsTheEdit", 3, 5, "", GK_TAB, 0, {"end 3,5 ''/0 0", "sel -2"}, 3, 5, 0},
    {"ShiftTabFromFirstCellEndsTheEdit", 0, 1, "", GK_TAB, GM_SHIFT, {"end 0,1 'Name1'/5 0", "sel -2"}, 0, 1, 0},
    {"ShiftTabBackOverFixed", 1, 4, "", GK_TAB, GM_SHIFT,
     {"end 1,4 '9'/1 123", "sel -2", "sel -2", "begin 1,2"}, 1, 2, GRID_CHOICE},
    // The new row is not reported when no editor opens there.
    {"ShiftTabToPreviousRowEnd", 1, 1, "", GK_TAB, GM_SHIFT, {"end 1,1 'Name2'/5 0", "sel -2", "sel -2"}, 0, 6, 0},
    {"ShiftEnterEndsTheEdit", 1, 1, "Per", GK_RETURN, GM_SHIFT, {"end 1,1 'Per'/3 0", "sel -2"}, 1, 1, 0},
    {"ShiftDownMovesARow", 0, 1, "", GK_DOWN, GM_SHIFT,
     {"end 0,1 'Name1'/5 0", "sel -2", "sel -2", "begin 1,1", "sel 1"}, 1, 1, GRID_TEXT},
    {"ShiftUpInTopRowStays", 0, 1, "", GK_UP, GM_SHIFT, {}, 0, 1, GRID_TEXT},
    {"ShiftDownInLastRowStays", 3, 2, "", GK_DOWN, GM_SHIFT, {}, 3, 2, GRID_CHOICE},
    {"ShiftRightPassesFixed", 1, 2, "", GK_RIGHT, GM_SHIFT,
     {"end 1,2 'Bravo'/6 2", "sel -2", "sel -2", "begin 1,4"}, 1, 4, GRID_VALUE},
    {"ShiftRightAtRowEndStays", 2, 4, "", GK_RIGHT, GM_SHIFT, {}, 2, 4, GRID_VALUE},
    {"ShiftLeftFromValuePassesFixed", 1, 4, "", GK_LEFT, GM_SHIFT,
     {"end 1,4 '9'/1 123", "sel -2", "sel -2", "begin 1,2"}, 1, 2, GRID_CHOICE},
    {"EscapeCancelsText", 0, 1, "Kari", GK_ESCAPE, 0, {"end 0,1 null/4 -1", "sel -2"}, 0, 1, 0},
    {"EscapeCancelsChoice", 0, 2, "", GK_ESCAPE, 0, {"end 0,2 ''/0 -1", "sel -2"}, 0, 2, 0},
    // A cancelled value sends no record at all.
    {"EscapeCancelsValue", 0, 4, "1", GK_ESCAPE, 0, {"sel -2"}, 0, 4, 0},
};

class EditorMoves : public testing::TestWithParam<MoveCase> {};

TEST_P(EditorMoves, HandOnAndReport)
{
    const MoveCase& c = GetParam();
    LaneGrid g;
    ASSERT_NE(g.EditAt(c.row, c.column), nullptr);
    g.Type(c.typed);
    g.owner.Take();
    g.Press(c.key, c.modifiers);
    EXPECT_EQ(g.owner.Take(), c.log);
    EXPECT_EQ(g.Current(), std::make_pair(c.endRow, c.endColumn));
    CGridEditorCore* editor = g.grid.Editor();
    EXPECT_EQ(editor ? editor->Kind() : 0, c.openKind);
    EXPECT_EQ(g.grid.m_editMode, c.openKind ? 1 : 0);
    EXPECT_EQ(g.view.openEditors, c.openKind ? 1 : 0);
    if (editor) {
        EXPECT_EQ(editor->Row(), c.endRow);
        EXPECT_EQ(editor->ColumnNumber(), c.endColumn);
    } else {
        EXPECT_TRUE(g.grid.HasFocus());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EditorMoves, testing::ValuesIn(kMoves),
                         [](const testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

TEST(GridEditorTest, ShiftLeftPassesSkipColumnsOnlyInTheTextEditor)
{
    struct Case {
        int column;
        int endColumn;
    } cases[] = {{5, 1}, {4, 2}, {2, 1}};  // text passes 4, 3 and 2; value stops on 2
    for (const Case& c : cases) {
        LaneGrid g;
        g.grid.Column(4)->m_skip = 1;
        g.grid.Column(2)->m_skip = 1;
        g.EditAt(1, c.column);
        g.Press(GK_LEFT, GM_SHIFT);
        EXPECT_EQ(g.Current(), std::make_pair(1, c.endColumn)) << c.column;
    }
}

TEST(GridEditorTest, VetoedMoveLeavesTheCurrentCellOnTheTarget)
{
    LaneGrid g;
    g.owner.vetoes = {{0, 2}};
    g.EditAt(0, 1);
    g.Press(GK_TAB);
    EXPECT_EQ(g.owner.Take(), (Log{"end 0,1 'Name1'/5 0", "sel -2", "sel -2", "begin 0,2"}));
    EXPECT_EQ(g.grid.Editor(), nullptr);
    EXPECT_EQ(g.grid.m_editMode, 0);
    EXPECT_EQ(g.Current(), std::make_pair(0, 2));
}

TEST(GridEditorTest, FocusLostToAnotherWindowReportsAndTellsTheOwner)
{
    struct Case {
        int column;
        std::string typed;
        Log log;
    } cases[] = {
        {1, "Anne", {"end 0,1 'Anne'/4 0", "sel -1@0"}},
        {4, "7.", {"end 0,4 '7.'/2 123", "sel -1@0"}},
        {2, "c", {"end 0,2 'Charlie'/8 3", "sel -1@0"}},
    };
    for (const Case& c : cases) {
        LaneGrid g;
        g.grid.SetItemData(0, 5);  // a value mode that never completes by itself
        CGridEditorCore* editor = g.EditAt(0, c.column);
        ASSERT_NE(editor, nullptr);
        g.Type(c.typed);
        g.grid.EditorFocusOut(*editor);
        EXPECT_EQ(g.owner.Take(), c.log) << c.column;
        EXPECT_EQ(g.grid.m_editMode, 0);  // cleared by the owner on -1
        EXPECT_EQ(g.grid.Editor(), nullptr);
        EXPECT_EQ(g.view.openEditors, 0);
        EXPECT_FALSE(g.grid.HasFocus());
    }
}

TEST(GridEditorTest, TextEditorStartsFromChoiceTextZeroAndWidens)
{
    LaneGrid g;
    auto* edit = dynamic_cast<CGridEditCore*>(g.EditAt(0, 1));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Field().text, "Name1");
    EXPECT_EQ(edit->Field().selStart, 0);
    EXPECT_EQ(edit->Field().selEnd, 5);
    // The cell is x 50..110; the editor starts one pixel in.
    EXPECT_EQ(edit->Rect(), (platform::Rect{51, 0, 110, 16}));
    g.Type("Ola Nordmann");  // 12 characters, 84 pixels
    EXPECT_EQ(edit->Field().text, "Ola Nordmann");
    EXPECT_EQ(edit->Rect().right, 51 + 84 + 5);
    g.Type(std::string(60, 'x'));  // never beyond the grid's edge
    EXPECT_EQ(edit->Rect().right, 400);
    g.Type("\b\b");
    EXPECT_EQ(edit->Field().text.size(), 70u);
}

TEST(GridEditorTest, CharactersAreIgnoredOnceTheOwnerClearedTheEditMode)
{
    LaneGrid g;
    auto* edit = dynamic_cast<CGridEditCore*>(g.EditAt(0, 1));
    g.grid.m_editMode = 0;
    g.Type("zz");
    EXPECT_EQ(edit->Field().text, "Name1");
    auto* value = dynamic_cast<CGridValueEditCore*>(g.EditAt(1, 4));
    g.grid.m_editMode = 0;
    g.Type("7");
    EXPECT_EQ(value->Field().text, "9");
    EXPECT_EQ(g.owner.Take(), Log{});
}

TEST(GridEditorTest, EditorsTakeTheRightEdgeAndAlignmentOfTheirCell)
{
    LaneGrid g;
    g.view.clientWidth = 240;
    CGridEditorCore* value = g.EditAt(1, 4);  // x 220..270, scrolled by 30
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(g.grid.GetScrollX(), 30);
    EXPECT_EQ(value->Rect(), (platform::Rect{191, 16, 240, 32}));
    EXPECT_EQ(value->Align(), GridAlign::Right);
    g.view.clientWidth = 400;
    CGridEditorCore* combo = g.EditAt(1, 2);
    // Row 1 is 16 high; the choice editor has room for the list below it.
    EXPECT_EQ(combo->Rect().top, 16 - 3);
    EXPECT_EQ(combo->Rect().bottom, 32 + 15 * 16);
    EXPECT_EQ(static_cast<CGridComboCore*>(combo)->ItemHeight(), 16);
    EXPECT_EQ(combo->Align(), GridAlign::Left);
}

// ---- The value editor

struct ValueCase {
    const char* name;
    int mode;
    std::string typed;
    std::string shown;  // text left in the editor; unused when it moved on
    bool moved;         // complete: the record went out and the next cell opened
    std::vector<GridSound> sounds;
};

using S = GridSound;
const ValueCase kValues[] = {
    {"Mode0OneWaits", 0, "1", "1", false, {}},
    {"Mode0TenCompletes", 0, "10", "", true, {}},
    {"Mode0SevenCompletesAtOnce", 0, "7", "", true, {}},
    {"Mode0ElevenCompletes", 0, "11", "", true, {}},
    {"Mode0TwelveWaits", 0, "12", "12", false, {}},
    {"Mode0StarCompletes", 0, "*", "", true, {}},
    {"Mode0CIsTheStar", 0, "c", "", true, {}},
    {"Mode0TIsX", 0, "t", "", true, {}},
    {"Mode0SpaceWaits", 0, " ", " ", false, {}},
    {"Mode1DecimalCompletes", 1, "9,5", "", true, {}},
    {"Mode1TenPointThreeCompletes", 1, "10.3", "", true, {}},
    {"Mode1TenStarDigitCompletes", 1, "10'4", "", true, {}},
    {"Mode1WaitsForTheTenth", 1, "9.", "9.", false, {}},
    {"Mode1CommaShowsAsPoint", 1, "1,", "1.", false, {}},
    {"Mode3StarTenth", 3, "i.7", "", true, {}},
    {"Mode3TwelveWaits", 3, "12.5", "12.5", false, {}},
    {"Mode2DigitCompletes", 2, "6", "", true, {}},
    {"Mode2PlusIsX", 2, "+", "", true, {}},
    {"Mode2PointIsRejected", 2, ".", "", false, {S::Default}},
    {"Mode2BackspaceOnOneCharacterBeeps", 2, "\b", "", false, {S::Default}},
    {"Mode4LowDigitCompletes", 4, "3", "", true, {}},
    {"Mode4FiveWaits", 4, "5", "5", false, {}},
    {"Mode4FivePointCompletes", 4, "5,", "", true, {}},
    {"Mode4FiveStarCompletes", 4, "5c", "", true, {}},
    {"Mode4SixWaits", 4, "6", "6", false, {}},
    {"Mode5NeverCompletes", 5, "10.9", "10.9", false, {}},
    {"Mode9NeverCompletes", 9, "7", "7", false, {}},
    {"LettersAreRefused", 0, "a", "9", false, {S::Default}},
    {"FiveCharactersAtMost", 5, "1234567", "12345", false, {}},
};

class ValueTyping : public testing::TestWithParam<ValueCase> {};

TEST_P(ValueTyping, CompletesMapsOrRefuses)
{
    const ValueCase& c = GetParam();
    LaneGrid g;
    g.grid.SetItemData(1, c.mode);
    auto* value = dynamic_cast<CGridValueEditCore*>(g.EditAt(1, 4));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->Mode(), c.mode);
    EXPECT_EQ(value->Field().text, "9");
    g.Type(c.typed);  // the starting text is all selected: the first character replaces it
    if (c.moved) {
        Log log = g.owner.Take();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log[0].substr(0, 8), "end 1,4 ");
        EXPECT_EQ(log.back(), "begin 1,5");
        EXPECT_EQ(g.Current(), std::make_pair(1, 5));
    } else {
        EXPECT_EQ(g.owner.Take(), Log{});
        ASSERT_EQ(g.grid.Editor(), value);
        EXPECT_EQ(value->Field().text, c.shown);
    }
    EXPECT_EQ(g.view.sounds, c.sounds);
}

INSTANTIATE_TEST_SUITE_P(Table, ValueTyping, testing::ValuesIn(kValues),
                         [](const testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST(GridEditorTest, ValueRecordCarriesTheMappedText)
{
    struct Case {
        std::string typed;
        const char* record;
        const char* stored;
    } cases[] = {
        {"c", "end 1,4 '*'/1 123", "*"},
        {"t", "end 1,4 'X'/1 123", "X"},
        {"+", "end 1,4 'X'/1 123", "X"},
        {"'", "end 1,4 '*'/1 123", "*"},
        {"10", "end 1,4 '10'/2 123", "10"},
    };
    for (const Case& c : cases) {
        LaneGrid g;
        g.EditAt(1, 4);
        g.Type(c.typed);
        Log log = g.owner.Take();
        ASSERT_FALSE(log.empty()) << c.typed;
        EXPECT_EQ(log[0], c.record);
        EXPECT_EQ(g.grid.GetItemText(1, 4), c.stored);
    }
}

TEST(GridEditorTest, ValueMappingKeepsTheSelection)
{
    LaneGrid g;
    g.grid.SetItemData(1, 5);
    auto* value = dynamic_cast<CGridValueEditCore*>(g.EditAt(1, 4));
    g.Type("10,");
    value->Field().selStart = 1;
    value->Field().selEnd = 1;
    g.Type("t");
    EXPECT_EQ(value->Field().text, "1X0.");
    EXPECT_EQ(value->Field().Caret(), 2);
}

// Modes 7 and 8: one digit up to the row's limit; columns 1 and 3 bound each other.
TEST(GridEditorTest, DigitModesUseRowLimitsAndTheOtherColumn)
{
    struct Case {
        const char* name;
        int column;
        const char* other;  // text of the partner column (3 for 1, 1 for 3)
        std::string typed;
        bool moved;
        std::vector<GridSound> sounds;
    } cases[] = {
        {"within the limit", 1, "", "3", true, {}},
        {"at the limit", 1, "", "5", true, {}},
        {"above the limit", 1, "", "6", false, {S::Error, S::Simple}},
        {"column 3 sets the floor", 1, "2", "1", false, {S::Error, S::Simple}},
        {"floor itself", 1, "2", "2", true, {}},
        {"a floor above the limit is ignored", 1, "7", "1", true, {}},
        {"column 1 sets the ceiling", 3, "2", "3", false, {S::Error, S::Simple}},
        {"ceiling itself", 3, "2", "2", true, {}},
        {"two characters are refused", 1, "", "", false, {S::Error, S::Simple}},
        {"no other column takes a digit", 5, "", "1", false, {S::Default, S::Error}},
    };
    for (const auto& c : cases) {
        LaneGrid g;
        // Columns 1, 3 and 5 hold digit cells in this test.
        g.grid.SetColumnType(1, GRID_VALUE, 0);
        g.grid.SetColumnType(3, GRID_VALUE, 0);
        g.grid.SetColumnType(5, GRID_VALUE, 0);
        for (int col : {1, 3, 5})
            g.grid.Column(col)->m_rowLimits = {9, 0x0305, 9};
        g.grid.SetItemData(1, 7);
        g.grid.SetItemText(1, c.column == 1 ? 3 : 1, c.other);
        g.grid.SetItemText(1, c.column, "");
        auto* value = dynamic_cast<CGridValueEditCore*>(g.EditAt(1, c.column));
        ASSERT_NE(value, nullptr) << c.name;
        if (c.typed.empty()) {
            value->Field().text = "4";
            value->Field().SetCaret(1);
            g.Type("4");
        } else {
            g.Type(c.typed);
        }
        Log log = g.owner.Take();
        EXPECT_EQ(!log.empty(), c.moved) << c.name;
        EXPECT_EQ(g.view.sounds, c.sounds) << c.name;
        if (!c.moved)
            EXPECT_EQ(value->Field().text, "") << c.name;
    }
}

// ---- The choice editor

// A lane grid whose class column has the given flags.
struct ComboGrid : LaneGrid {
    CGridColumn& classes = *grid.Column(2);
    CGridComboCore* combo = nullptr;

    void Open(int row = 1)
    {
        combo = dynamic_cast<CGridComboCore*>(EditAt(row, 2));
        ASSERT_NE(combo, nullptr);
    }
    std::string Shown()
    {
        CGridComboCore::FieldText f = combo->Field();
        return f.plain + "|" + f.completion;
    }
};

TEST(GridComboTest, OpensOnTheOwnersChoice)
{
    ComboGrid g;
    g.Open();
    EXPECT_EQ(g.classes.m_currentChoice, 1);
    EXPECT_EQ(g.combo->ListSelection(), 1);
    EXPECT_EQ(g.combo->Typed(), "");
    EXPECT_EQ(g.Shown(), "|Bravo");
    EXPECT_FALSE(g.combo->Dropped());
    EXPECT_EQ(g.combo->ListWidth(), 120);
}

TEST(GridComboTest, TypingSearchesByTheStartOfTheTexts)
{
    struct Case {
        const char* name;
        std::string typed;
        std::string typedAfter;
        int selection;
        std::string shown;
        const char* record;
    } cases[] = {
        {"one letter", "c", "c", 2, "c|harlie", "end 1,2 'Charlie'/8 3"},
        {"two letters, either case", "cH", "cH", 2, "cH|arlie", "end 1,2 'Charlie'/8 3"},
        {"longer prefix", "charlo", "charlo", 3, "charlo|tte", "end 1,2 'Charlotte'/10 4"},
        {"no match keeps the longest prefix", "chx", "ch", 2, "ch|arlie", "end 1,2 'Charlie'/8 3"},
        {"no match at all shows and takes the first", "q", "", 0, "|Alfa", "end 1,2 'Alfa'/5 1"},
        {"backspace drops a letter", "de\b", "d", 4, "d|elta", "end 1,2 'Delta'/6 5"},
        {"blank with nothing typed does nothing", " ", "", 1, "|Bravo", "end 1,2 'Bravo'/6 2"},
    };
    for (const auto& c : cases) {
        ComboGrid g;
        g.Open();
        g.Type(c.typed);
        EXPECT_EQ(g.combo->Typed(), c.typedAfter) << c.name;
        EXPECT_EQ(g.combo->ListSelection(), c.selection) << c.name;
        EXPECT_EQ(g.Shown(), c.shown) << c.name;
        g.Press(GK_RETURN);
        EXPECT_EQ(g.owner.Take().at(0), c.record) << c.name;
    }
}

TEST(GridComboTest, ListKeysAndPaging)
{
    ComboGrid g;
    g.classes.SetChoiceCount(40);
    for (int i = 0; i < 40; ++i) {
        g.classes.m_codes[i] = static_cast<uint16_t>(100 + i);
        g.classes.m_texts[i] = "Class " + std::to_string(i);
    }
    g.grid.SetItemText(1, 2, "Class 3");
    g.Open();
    EXPECT_EQ(g.combo->ListSelection(), 3);
    g.Press(GK_DOWN);  // closed: opens
    EXPECT_TRUE(g.combo->Dropped());
    EXPECT_EQ(g.combo->ListSelection(), 3);
    g.Press(GK_DOWN);  // open: moves
    EXPECT_EQ(g.combo->ListSelection(), 4);
    EXPECT_EQ(g.classes.m_currentChoice, 4);
    g.Press(GK_NEXT);
    EXPECT_EQ(g.combo->ListSelection(), 18);
    g.Press(GK_NEXT);
    g.Press(GK_NEXT);
    EXPECT_EQ(g.combo->ListSelection(), 39);  // stops at the end
    g.Press(GK_PRIOR);
    EXPECT_EQ(g.combo->ListSelection(), 25);
    // The dropped list shows 15 rows of 16 pixels in items of 13: 18 items,
    // and keeps the selection among them.
    EXPECT_EQ(g.combo->VisibleItems(), 18);
    EXPECT_LE(g.combo->TopIndex(), 25);
    EXPECT_GT(g.combo->TopIndex() + 18, 25);
    // Enter takes the paged-to choice, as Tab would.
    g.Press(GK_RETURN);
    EXPECT_EQ(g.owner.Take().at(0), "end 1,2 'Class 25'/9 125");
}

TEST(GridComboTest, DeleteGivesTheEmptyChoice)
{
    ComboGrid g;
    g.Open();
    g.Press(GK_DELETE);
    EXPECT_TRUE(g.combo->DeleteFlag());
    EXPECT_EQ(g.combo->ListSelection(), -1);
    g.Press(GK_TAB);
    EXPECT_EQ(g.owner.Take().at(0), "end 1,2 ''/0 -2");
    // Typing after Delete clears the flag again.
    ComboGrid h;
    h.Open();
    h.Press(GK_DELETE);
    h.Type("a");
    EXPECT_FALSE(h.combo->DeleteFlag());
}

TEST(GridComboTest, EscapeAfterDeleteIsStillACancel)
{
    ComboGrid g;
    g.Open();
    g.Press(GK_DELETE);
    g.Press(GK_ESCAPE);
    EXPECT_EQ(g.owner.Take(), (Log{"end 1,2 ''/0 -1", "sel -2"}));
    EXPECT_EQ(g.grid.GetItemText(1, 2), "Bravo");
}

TEST(GridComboTest, ClickInTheListTakesTheItemAndCloses)
{
    ComboGrid g;
    g.Open();
    g.combo->FieldClick();
    EXPECT_TRUE(g.combo->Dropped());
    g.Type("d");
    g.combo->ListButtonDown(3 * 13 + 5);  // the fourth item shown
    EXPECT_EQ(g.combo->ListSelection(), 3);
    EXPECT_EQ(g.combo->Typed(), "");  // the list chose: the typed text goes
    g.combo->ListButtonUp();
    EXPECT_FALSE(g.combo->Dropped());
    g.Press(GK_TAB);
    EXPECT_EQ(g.owner.Take().at(0), "end 1,2 'Charlotte'/10 4");
}

TEST(GridComboTest, ClickBelowTheItemsEmptiesTheTypedText)
{
    ComboGrid g;
    g.Open();
    g.combo->SetDropped(true);
    g.Type("ch");
    g.combo->ListButtonDown(10 * 13);
    EXPECT_EQ(g.combo->Typed(), "");
    EXPECT_EQ(g.classes.m_currentChoice, 2);
}

TEST(GridComboTest, FreeTextKeepsWhatWasTyped)
{
    struct Step {
        int key;           // a GridKey, or 0 to type the text
        const char* text;
    };
    struct Case {
        const char* name;
        const char* start;  // the column's free text
        std::vector<Step> steps;
        const char* record;
    } cases[] = {
        {"a choice's text gives its list index", "", {{0, "cha"}}, "end 1,2 'Charlie'/8 2"},
        {"no choice matches", "", {{0, "Xavier"}}, "end 1,2 'Xavier'/7 -2"},
        {"delete cuts at the caret", "", {{0, "Ch"}, {GK_DELETE, ""}}, "end 1,2 'Ch'/3 -2"},
        {"backspace leaves the text free", "", {{0, "Charlie\b"}}, "end 1,2 'Charli'/7 -2"},
        {"starting text is searched", "Del", {}, "end 1,2 'Delta'/6 4"},
        {"empty start picks nothing", "", {}, "end 1,2 ''/1 -2"},
        {"home takes the item over", "", {{0, "b"}, {GK_HOME, ""}, {0, "Z"}}, "end 1,2 'ZBravo'/7 -2"},
    };
    for (const auto& c : cases) {
        ComboGrid g;
        g.classes.m_freeText = 1;
        g.classes.m_freeTextValue = c.start;
        g.classes.m_preferredKey = -1;
        g.Open();
        for (const Step& step : c.steps)
            step.key ? g.Press(step.key) : g.Type(step.text);
        g.Press(GK_RETURN);
        EXPECT_EQ(g.owner.Take().at(0), c.record) << c.name;
    }
}

TEST(GridComboTest, FreeTextPrefersTheGroupKey)
{
    ComboGrid g;
    g.classes.m_freeText = 1;
    g.classes.SetChoiceCount(4);
    const char* texts[] = {"Oslo", "Oslo", "Osteroy", "Bergen"};
    const uint16_t groups[] = {1, 2, 2, 2};
    const uint16_t codes[] = {11, 12, 7, 14};
    for (int i = 0; i < 4; ++i) {
        g.classes.m_texts[i] = texts[i];
        g.classes.m_groupKeys[i] = groups[i];
        g.classes.m_codes[i] = codes[i];
    }
    struct Case {
        int preferred;
        std::string typed;
        int found;
    } cases[] = {
        {2, "oslo", 1},   // the exact text in the preferred group
        {1, "oslo", 0},
        {7, "os", 2},     // a prefix whose code is the preferred key
        {9, "os", 0},     // neither: the first prefix
        {-1, "oslo", 0},  // no preferred key
    };
    for (const auto& c : cases) {
        g.classes.m_preferredKey = static_cast<int16_t>(c.preferred);
        g.Open();
        EXPECT_EQ(g.combo->FindChoice(c.typed), c.found) << c.preferred << " " << c.typed;
        EXPECT_EQ(g.combo->ListSelection(), c.found);
        EXPECT_EQ(g.combo->TopIndex(), 0);  // four items all fit
    }
}

struct MultiGrid : ComboGrid {
    MultiGrid()
    {
        classes.m_multiChoice = 1;
        classes.m_separator = ", ";
        classes.m_listWidths[0] = 16;
    }
};

TEST(GridComboTest, MultiChoiceTicksBySpaceAndKeepsThemOnLeaving)
{
    MultiGrid g;
    g.Open();
    EXPECT_EQ(g.combo->ListSelection(), 0);  // the owner set no choice: the first
    g.Press(GK_SPACE);  // Alfa
    g.Press(GK_DOWN);   // opens
    g.Press(GK_DOWN);   // Bravo
    g.Press(GK_DOWN);   // Charlie
    g.Press(GK_DOWN);   // Charlotte
    g.Press(GK_SPACE);
    EXPECT_EQ(g.Shown(), "Alfa, Charlotte|");
    EXPECT_EQ(g.classes.m_currentChoice, 3);
    g.Press(GK_TAB);
    EXPECT_EQ(g.owner.Take().at(0), "end 1,2 'Alfa, Charlotte'/16 4");
    EXPECT_EQ(g.classes.m_checks, (std::vector<uint8_t>{1, 0, 0, 1, 0}));
}

TEST(GridComboTest, MultiChoiceTicksByLetterAndUnticksByBackspace)
{
    MultiGrid g;
    g.Open();
    g.Type("dA");
    EXPECT_EQ(g.classes.m_checks, (std::vector<uint8_t>{1, 0, 0, 0, 1}));
    g.Type("D", GM_SHIFT);  // with Shift a letter unticks
    EXPECT_EQ(g.classes.m_checks, (std::vector<uint8_t>{1, 0, 0, 0, 0}));
    g.Type("cc");  // the first text with that letter each time
    EXPECT_EQ(g.classes.m_checks, (std::vector<uint8_t>{1, 0, 1, 0, 0}));
    g.Type("\b");
    EXPECT_EQ(g.classes.m_checks, (std::vector<uint8_t>{1, 0, 0, 0, 0}));
    EXPECT_EQ(g.combo->ListSelection(), 2);
    g.Type("\b\b");  // nothing ticked any more: an ordinary character
    EXPECT_EQ(g.classes.m_checks, (std::vector<uint8_t>{0, 0, 0, 0, 0}));
    g.Press(GK_RETURN);
    EXPECT_EQ(g.owner.Take().at(0), "end 1,2 ''/1 1");
}

TEST(GridComboTest, MultiChoiceListStaysOpenForSeveralClicks)
{
    MultiGrid g;
    g.Open();
    g.combo->SetDropped(true);
    for (int item : {0, 4, 2, 4}) {
        g.combo->ListButtonDown(item * 13 + 2);
        g.combo->ListButtonUp();
        EXPECT_TRUE(g.combo->Dropped());
    }
    EXPECT_EQ(g.classes.m_checks, (std::vector<uint8_t>{1, 0, 1, 0, 0}));
    EXPECT_EQ(g.classes.m_currentChoice, 4);
    g.grid.EditorFocusOut(*g.combo);
    EXPECT_EQ(g.owner.Take(), (Log{"end 1,2 'Alfa, Charlie'/14 5", "sel -1@0"}));
}

TEST(GridComboTest, JoinedTicksAreCutToTheCellsLength)
{
    MultiGrid g;
    for (int i = 0; i < 5; ++i) {
        g.classes.m_texts[i] = std::string(40, static_cast<char>('A' + i));
        g.classes.m_checks[i] = 1;
    }
    g.Open();
    EXPECT_EQ(g.combo->JoinTicked().size(), 99u);
}

TEST(GridComboTest, TypedTextStopsAtNinetyNineCharacters)
{
    ComboGrid g;
    g.classes.m_freeText = 1;
    g.Open();
    g.Type(std::string(120, 'z'));
    EXPECT_EQ(g.combo->Typed().size(), 99u);
}

TEST(GridComboTest, ShiftArrowsMoveAndPlainArrowsEditTheFreeText)
{
    ComboGrid g;
    g.classes.m_freeText = 1;
    g.Open();
    g.Type("Abc");
    g.Press(GK_LEFT);
    g.Press(GK_LEFT);
    EXPECT_EQ(g.combo->Caret(), 1);
    g.Type("x");
    EXPECT_EQ(g.combo->Typed(), "Axbc");
    g.Press(GK_END);
    EXPECT_EQ(g.combo->Caret(), 4);
    g.Press(GK_LEFT, GM_SHIFT);
    EXPECT_EQ(g.owner.Take(), (Log{"end 1,2 'Axbc'/5 -2", "sel -2", "sel -2", "begin 1,1"}));
}

}  // namespace
