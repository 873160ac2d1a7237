#include "foundation/grid/GridEditCore.h"

#include <algorithm>

CGridEditCore::CGridEditCore(CGridListCore& grid, CGridColumn& column) : CGridEditorCore(grid, column)
{
    // The owner put the cell's text into choice text 0 when it allowed the edit.
    m_field.text = std::string(column.ChoiceText(0));
    m_field.SelectAll();
}

bool CGridEditCore::OnKeyDown(int key, unsigned modifiers)
{
    if (key == GK_RETURN && (modifiers & GM_SHIFT)) {
        EndByKey();
        return false;
    }
    if (ShiftArrow(key, modifiers, true))
        return false;
    return true;
}

void CGridEditCore::OnChar(int ch, unsigned modifiers)
{
    if (LeaveKey(ch, modifiers))
        return;
    if (!m_grid.m_editMode)
        return;
    if (!m_field.Type(static_cast<unsigned char>(ch)))
        return;
    // A longer text widens the box to the right, as far as the grid goes.
    int width = m_grid.View().TextWidth(m_field.text);
    if (m_rect.Width() < width + 5)
        m_rect.right = std::min(m_rect.left + width + 5, m_grid.View().ClientWidth());
    Changed();
}

void CGridEditCore::EndEdit()
{
    std::string text = m_field.text;
    GridEditRecord record = CellRecord();
    record.text = m_cancel ? nullptr : text.data();
    record.textLength = static_cast<int>(text.size());
    record.param = m_cancel ? -1 : 0;
    Report(&record);
}
