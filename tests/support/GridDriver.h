#pragma once
// Drives a grid list as the user does: a click makes a cell current, another
// opens its editor; text is typed and Enter ends the edit; a choice is
// picked with the arrow keys in the open list.
#include "foundation/grid/GridComboCore.h"
#include "foundation/ui/grid/GridList.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace bvtest {

inline QWidget* OpenGridEditor(CGridList& grid, int row, int column)
{
    QWidget* rows = grid.viewport();
    QPoint at = grid.CellRect(row, column).center();
    QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, at);
    if (!grid.EditorWindow())
        QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, at);
    return grid.EditorWindow();
}

// Ends an edit with Enter; an editor Enter opens on the next cell is left
// with Escape.
inline void EnterGridEdit(CGridList& grid, QWidget* editor)
{
    QTest::keyClick(editor, Qt::Key_Return);
    if (QWidget* next = grid.EditorWindow())
        QTest::keyClick(next, Qt::Key_Escape);
}

// Replaces a cell's text with the text typed (empty: the cell cleared).
inline void TypeIntoGrid(CGridList& grid, int row, int column, const std::string& text)
{
    QWidget* editor = OpenGridEditor(grid, row, column);
    ASSERT_NE(editor, nullptr) << "row " << row << " column " << column;
    // The editor starts with the cell's text selected: Backspace takes it away.
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, QString::fromLatin1(text.c_str()));
    EnterGridEdit(grid, editor);
    EXPECT_EQ(grid.EditorWindow(), nullptr);
}

// Picks the choice of a code in a cell's list with the arrow keys.
inline void ChooseInGrid(CGridList& grid, int row, int column, int code)
{
    int wanted = grid.Column(column)->FindCode(code);
    ASSERT_GE(wanted, 0) << "code " << code;
    QWidget* editor = OpenGridEditor(grid, row, column);
    ASSERT_NE(editor, nullptr);
    auto* combo = dynamic_cast<CGridComboCore*>(grid.Editor());
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(editor, Qt::Key_Down);  // opens the list
    ASSERT_TRUE(combo->Dropped());
    for (int guard = 0; combo->ListSelection() != wanted && guard < 200; ++guard)
        QTest::keyClick(editor, combo->ListSelection() < wanted ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(combo->ListSelection(), wanted);
    EnterGridEdit(grid, editor);
    EXPECT_EQ(grid.EditorWindow(), nullptr);
}

}  // namespace bvtest
