#include "foundation/grid/GridColumn.h"
#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

namespace {

// Choices a = Alfa, c = Charlie, b = Bravo, as a results form fills them.
CGridColumn Letters()
{
    CGridColumn column;
    column.SetChoiceCount(3);
    const char codes[] = {'a', 'c', 'b'};
    const char* texts[] = {"Alfa", "Charlie", "Bravo"};
    for (int i = 0; i < 3; ++i) {
        column.m_codes[i] = static_cast<uint16_t>(codes[i]);
        column.m_texts[i] = texts[i];
    }
    column.m_separator = ", ";
    return column;
}

TEST(GridColumnTest, SetChoiceCountSizesEveryListAndKeepsRowLimits)
{
    CGridColumn column;
    column.m_rowLimits = {5, 6};
    column.SetChoiceCount(4);
    EXPECT_EQ(column.m_choiceCount, 4);
    EXPECT_EQ(column.m_checks.size(), 4u);
    EXPECT_EQ(column.m_groupKeys.size(), 4u);
    EXPECT_EQ(column.m_codes.size(), 4u);
    EXPECT_EQ(column.m_texts.size(), 4u);
    EXPECT_EQ(column.m_texts2.size(), 4u);
    EXPECT_EQ(column.m_texts3.size(), 4u);
    column.m_texts[1] = "kept";
    column.SetChoiceCount(6);
    EXPECT_EQ(column.m_texts[1].view(), "kept");
    EXPECT_TRUE(column.m_texts[5].empty());
    column.SetChoiceCount(0);
    EXPECT_EQ(column.m_choiceCount, 0);
    EXPECT_TRUE(column.m_texts.empty());
    EXPECT_EQ(column.m_rowLimits, (std::vector<uint16_t>{5, 6}));
}

TEST(GridColumnTest, TextsAreCutToTheirFields)
{
    CGridColumn column;
    column.SetChoiceCount(1);
    column.m_texts[0] = std::string(150, 'x');
    column.m_texts2[0] = std::string(40, 'y');
    EXPECT_EQ(column.m_texts[0].view().size(), 101u);
    EXPECT_EQ(column.m_texts2[0].view().size(), 31u);
}

TEST(GridColumnTest, FindCodeComparesSixteenBits)
{
    CGridColumn column = Letters();
    column.m_codes[2] = 0xFFFF;
    struct Case {
        int code;
        int index;
    } cases[] = {{'a', 0}, {'c', 1}, {-1, 2}, {0xFFFF, 2}, {0x1FFFF, 2}, {'z', -1}};
    for (const Case& c : cases)
        EXPECT_EQ(column.FindCode(c.code), c.index) << c.code;
    EXPECT_EQ(CGridColumn().FindCode(0), -1);
}

TEST(GridColumnTest, FindTextIsExactAndCaseSensitive)
{
    CGridColumn column = Letters();
    struct Case {
        const char* text;
        int index;
    } cases[] = {{"Charlie", 1}, {"charlie", -1}, {"Charli", -1}, {"Bravo", 2}, {"", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(column.FindText(c.text), c.index) << c.text;
    EXPECT_EQ(CGridColumn().FindText("Alfa"), -1);
}

TEST(GridColumnTest, CodesToTextJoinsInCodeOrder)
{
    CGridColumn column = Letters();
    struct Case {
        std::string codes;
        const char* text;
    } cases[] = {
        {"ca", "Charlie, Alfa"},
        {"cza", "Charlie, Alfa"},  // a code without a choice adds nothing
        {"zc", "Charlie"},         // not even a separator at the start
        {"", ""},
        {"aa", "Alfa, Alfa"},
        {"\xE1", ""},  // above 127: no choice can match
    };
    for (const Case& c : cases)
        EXPECT_EQ(column.CodesToText(c.codes), c.text) << c.codes;
    // A code whose 16 bits would equal a high byte read as unsigned stays apart.
    column.m_codes[0] = 0xE1;
    EXPECT_EQ(column.CodesToText("\xE1"), "");
    column.m_codes[0] = 0xFFE1;
    EXPECT_EQ(column.CodesToText("\xE1"), "");
}

TEST(GridColumnTest, KindKeepsTheHiddenBitApart)
{
    CGridColumn column;
    column.m_kind = GRID_TEXT | GRID_HIDE_OUTSIDE;
    EXPECT_EQ(column.Kind(), GRID_TEXT);
    EXPECT_TRUE(column.HiddenOutside());
}

}  // namespace
