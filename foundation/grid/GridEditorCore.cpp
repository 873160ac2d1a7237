#include "foundation/grid/GridEditorCore.h"

#include <algorithm>

void GridEditField::SelectAll()
{
    selStart = 0;
    selEnd = static_cast<int>(text.size());
}

void GridEditField::SetCaret(int pos)
{
    pos = std::clamp(pos, 0, static_cast<int>(text.size()));
    selStart = selEnd = pos;
}

bool GridEditField::Type(unsigned char ch)
{
    int size = static_cast<int>(text.size());
    int lo = std::clamp(std::min(selStart, selEnd), 0, size);
    int hi = std::clamp(std::max(selStart, selEnd), 0, size);
    if (ch == '\b') {
        if (lo == hi) {
            if (lo == 0)
                return false;
            --lo;
        }
        text.erase(lo, hi - lo);
        SetCaret(lo);
        return true;
    }
    if (ch < 0x20 || ch == 0x7F)
        return false;
    if (limit && text.size() - (hi - lo) + 1 > limit)
        return false;
    text.replace(lo, hi - lo, 1, static_cast<char>(ch));
    SetCaret(lo + 1);
    return true;
}

CGridEditorCore::CGridEditorCore(CGridListCore& grid, CGridColumn& column)
    : m_grid(grid), m_column(column), m_row(column.m_editRow), m_columnNumber(column.m_columnNumber)
{
    m_column.m_moved = 0;
}

CGridEditorCore::~CGridEditorCore() = default;

bool CGridEditorCore::KeyPress(int key, unsigned modifiers, int ch)
{
    CGridListCore::Call call(m_grid);
    if (m_closed)
        return false;
    bool toControl = OnKeyDown(key, modifiers);
    if (!m_closed && ch >= 0)
        OnChar(ch, modifiers);
    return toControl && !m_closed;
}

void CGridEditorCore::KillFocus()
{
    CGridListCore::Call call(m_grid);
    if (m_closed)
        return;
    m_closed = true;
    EndEdit();
    m_grid.EditorClosed(*this);
}

bool CGridEditorCore::Passable(int column) const
{
    const CGridColumn* def = m_grid.Column(column);
    return m_grid.GetColumnType(column) == GRID_FIXED || (def && def->m_skip);
}

void CGridEditorCore::Report(GridEditRecord* record)
{
    if (record)
        m_grid.OnEndLabelEdit(*record);
    if (!m_column.m_moved)
        m_grid.Send(WM_GRID_SELCHANGE, -1, 0);
}

void CGridEditorCore::MoveTo(int row, int column)
{
    m_column.m_moved = 1;
    m_grid.EditCell(row, column);
}

void CGridEditorCore::EndByKey()
{
    m_grid.m_editMode = 0;
    m_column.m_moved = 1;
    m_grid.TakeFocus();
}

void CGridEditorCore::Cancel()
{
    m_cancel = true;
    m_grid.m_editMode = 0;
    m_column.m_moved = 1;
    m_grid.TakeFocus();
}

void CGridEditorCore::ForwardMove()
{
    int r = m_row;
    int c = m_columnNumber;
    int last = m_grid.LastColumn(r);
    if (m_grid.m_editMode && r == m_grid.m_rowCount - 1 && c == last) {
        EndByKey();
        return;
    }
    if (c < last) {
        MoveRight();
        return;
    }
    if (r < m_grid.m_rowCount - 1)
        MoveTo(r + 1, m_grid.m_firstColumn);
}

void CGridEditorCore::BackwardMove()
{
    int r = m_row;
    int c = m_columnNumber;
    int first = m_grid.m_firstColumn;
    if (m_grid.m_editMode && r == 0 && c == first) {
        EndByKey();
        return;
    }
    if (c > first) {
        for (int t = c - 1; t >= first; --t)
            if (!Passable(t)) {
                MoveTo(r, t);
                return;
            }
        return;
    }
    if (r > 0)
        MoveTo(r - 1, m_grid.LastColumn(r - 1));
}

void CGridEditorCore::MoveUp()
{
    if (m_row > 0)
        MoveTo(m_row - 1, m_columnNumber);
}

void CGridEditorCore::MoveDown()
{
    if (m_row < m_grid.m_rowCount - 1)
        MoveTo(m_row + 1, m_columnNumber);
}

void CGridEditorCore::MoveRight()
{
    int last = m_grid.LastColumn(m_row);
    for (int t = m_columnNumber + 1; t <= last; ++t)
        if (!Passable(t)) {
            MoveTo(m_row, t);
            return;
        }
}

void CGridEditorCore::MoveLeft(bool skipFlagged)
{
    for (int t = m_columnNumber - 1; t >= m_grid.m_firstColumn; --t) {
        if (m_grid.GetColumnType(t) == GRID_FIXED)
            continue;
        const CGridColumn* def = m_grid.Column(t);
        if (skipFlagged && def && def->m_skip)
            continue;
        MoveTo(m_row, t);
        return;
    }
}

bool CGridEditorCore::LeaveKey(int ch, unsigned modifiers)
{
    bool shift = (modifiers & GM_SHIFT) != 0;
    switch (ch) {
    case '\t':
        shift ? BackwardMove() : ForwardMove();
        return true;
    case '\r':
        shift ? EndByKey() : ForwardMove();
        return true;
    case 0x1B:
        Cancel();
        return true;
    default:
        return false;
    }
}

GridEditRecord CGridEditorCore::CellRecord() const
{
    GridEditRecord record;
    record.sender = &m_grid;
    record.senderId = 0;
    record.row = m_row;
    record.column = m_columnNumber;
    return record;
}

bool CGridEditorCore::ShiftArrow(int key, unsigned modifiers, bool skipFlaggedLeft)
{
    if (!(modifiers & GM_SHIFT))
        return false;
    switch (key) {
    case GK_UP:
        MoveUp();
        return true;
    case GK_DOWN:
        MoveDown();
        return true;
    case GK_RIGHT:
        MoveRight();
        return true;
    case GK_LEFT:
        MoveLeft(skipFlaggedLeft);
        return true;
    default:
        return false;
    }
}

void CGridEditorCore::Changed()
{
    if (!m_closed)
        m_grid.View().EditorChanged(*this);
}

void CGridEditorCore::Sound(GridSound sound) { m_grid.View().Sound(sound); }
