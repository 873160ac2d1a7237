#include "range/dialogs/GridHandshake.h"

#include "foundation/grid/GridMessages.h"
#include "foundation/text/TextUtil.h"

#include <utility>

GridHandshake::GridHandshake(CGridListCore& grid, Store store, CodeOf codeOf)
    : m_grid(grid), m_store(std::move(store)), m_codeOf(std::move(codeOf))
{
}

bool GridHandshake::Handle(unsigned message, intptr_t wParam, intptr_t& result)
{
    result = 0;
    switch (message) {
    case WM_GRID_BEGINEDIT:
        result = BeginEdit(wParam);
        return true;
    case WM_GRID_ENDEDIT:
        if (const GridEditRecord* record = GridRecordOf(wParam))
            EndEdit(*record);
        return true;
    case WM_GRID_SELCHANGE:
        // The focus left the grid, or an edit ended without a move.
        if (GridFocusLeft(wParam))
            m_grid.m_editMode = 0;
        return true;
    default:
        return false;
    }
}

intptr_t GridHandshake::BeginEdit(intptr_t wParam)
{
    int row = BeginEditRow(wParam);
    int column = BeginEditColumn(wParam);
    BV_LOG(m_log, 10, "Edit %d EditMode=%d", row, m_grid.m_editMode);
    CGridColumn* def = m_grid.Column(column);
    if (!def || row >= m_grid.GetItemCount())
        return 0;
    if (def->Kind() == GRID_CHOICE) {
        int code = m_codeOf ? m_codeOf(row, column) : -1;
        def->m_currentChoice = static_cast<int16_t>(m_codeOf ? def->FindCode(code)
                                                              : def->FindText(m_grid.GetItemText(row, column)));
    } else if (def->Kind() == GRID_TEXT && !def->m_texts.empty()) {
        def->m_texts[0] = m_grid.GetItemText(row, column);
    }
    return 0;
}

void GridHandshake::EndEdit(const GridEditRecord& record)
{
    BV_LOG(m_log, 10, "Form.Change Lane=%d", record.row + 1);
    if (record.row < 0 || record.row >= m_grid.GetItemCount())
        return;
    if (record.param == -1 || !record.text) {
        BV_LOG(m_log, 10, "Cancel?\r\n");
        return;
    }
    GridCellEdit edit;
    edit.row = record.row;
    edit.column = record.column;
    edit.lane = static_cast<int>(m_grid.GetItemData(record.row));
    edit.text = record.text;
    edit.choice = m_grid.GetColumnType(record.column) == GRID_CHOICE;
    edit.code = edit.choice ? static_cast<int>(record.param) : 0;
    if (m_store)
        m_store(edit);
}

int GridHandshake::TypedNumber(std::string_view text)
{
    std::string cut(text.substr(0, 30));
    CTextUtil::Trim(cut, " ", 30);
    return CTextUtil::ParseScaled(cut, 0);
}
