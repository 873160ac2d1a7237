#include "foundation/grid/GridListCore.h"

#include "foundation/grid/GridComboCore.h"
#include "foundation/grid/GridEditCore.h"
#include "foundation/grid/GridEditorCore.h"
#include "foundation/grid/GridValueEditCore.h"

#include <algorithm>

int GridKeyChar(int key, unsigned modifiers, int typed)
{
    if (modifiers & (GM_CTRL | GM_ALT))
        return -1;
    switch (key) {
    case GK_TAB:
    case GK_RETURN:
    case GK_ESCAPE:
    case GK_BACK:
        return key;
    default:
        break;
    }
    return typed >= 0x20 && typed <= 0xFF && typed != 0x7F ? typed : -1;
}

CGridListCore::Call::Call(CGridListCore& grid) : m_grid(grid) { ++m_grid.m_depth; }

CGridListCore::Call::~Call()
{
    if (--m_grid.m_depth == 0)
        m_grid.FlushClosed();
}

CGridListCore::CGridListCore() = default;

CGridListCore::~CGridListCore()
{
    // The window goes with the grid; an open editor goes without reporting.
    if (m_editor)
        m_closed.push_back(std::move(m_editor));
    m_closed.clear();
}

void CGridListCore::FlushClosed() { m_closed.clear(); }

void CGridListCore::SetOwner(CGridOwner* owner, intptr_t controlId)
{
    m_owner = owner;
    m_controlId = controlId;
}

void CGridListCore::SetView(CGridView* view) { m_view = view ? view : &m_nullView; }

intptr_t CGridListCore::Send(unsigned message, intptr_t wParam, intptr_t lParam)
{
    return m_owner ? m_owner->OnGridMessage(message, wParam, lParam) : 0;
}

// ---- Columns and cells

void CGridListCore::SetColumnType(int n, int kind, int skip)
{
    if (n < 0 || n > 0x7FFF)
        return;
    while (static_cast<int>(m_columns.size()) <= n)
        m_columns.push_back(std::make_unique<CGridColumn>());
    CGridColumn& column = *m_columns[n];
    column.m_columnNumber = static_cast<int16_t>(n);
    column.m_kind = static_cast<int16_t>(kind);
    column.m_skip = skip ? 1 : 0;
    if ((kind & 0x7F) == GRID_TEXT)
        column.SetChoiceCount(1);
}

int CGridListCore::GetColumnType(int column) const
{
    const CGridColumn* def = Column(column);
    return def ? def->Kind() : 0;
}

CGridColumn* CGridListCore::Column(int n) const
{
    if (n < 0 || n >= static_cast<int>(m_columns.size()))
        return nullptr;
    return m_columns[n].get();
}

int CGridListCore::LastColumn(int row) const
{
    if (row >= 0 && row < static_cast<int>(m_lastColumn.size()))
        return m_lastColumn[row];
    return m_defaultLastColumn;
}

int CGridListCore::ClampColumn(int row, int column) const
{
    return std::max<int>(m_firstColumn, std::min(column, LastColumn(row)));
}

bool CGridListCore::InEditableRange(int row, int column) const
{
    return column >= m_firstColumn && column <= LastColumn(row);
}

bool CGridListCore::ColumnSkips(int column) const
{
    const CGridColumn* def = Column(column);
    return def && def->m_skip;
}

void CGridListCore::SetCurrent(int row, int column)
{
    m_currentRow = static_cast<int16_t>(row);
    m_currentColumn = static_cast<int16_t>(column);
}

void CGridListCore::RedrawRowSafe(int row)
{
    if (row >= 0 && row < GetItemCount())
        m_view->RedrawRow(row);
}

// ---- The grid's operations

CGridEditorCore* CGridListCore::EditCell(int row, int column)
{
    Call call(*this);
    // Taking the focus ends an editor that is still open: it reports first.
    TakeFocus();
    if (m_editor && !m_editor->Closed()) {
        m_focusAt = FocusAt::Elsewhere;
        m_editor->KillFocus();
        m_focusAt = FocusAt::Grid;
    }

    auto refuse = [this]() -> CGridEditorCore* {
        m_editMode = 0;
        return nullptr;
    };
    if (!EnsureVisible(row))
        return refuse();
    if (column < 0 || column >= static_cast<int>(m_columns.size()) || column >= GetColumnCount())
        return refuse();
    if (!ScrollToCell())
        return refuse();
    if (GetColumnWidth(column) < 5)
        return refuse();

    CGridColumn& def = *m_columns[column];
    def.m_editRow = static_cast<int16_t>(row);
    SetCurrent(row, ClampColumn(row, column));
    int remembered = m_previousRow;
    SelectRow(row, 0);

    // The editor covers the requested cell, from one pixel inside its left
    // edge, cut at the grid's right edge.
    platform::Rect rowRect = GetItemRect(row);
    platform::Rect rect;
    rect.left = rowRect.left + ColumnLeft(column) + 1;
    rect.right = std::min(rect.left + GetColumnWidth(column) - 1, m_view->ClientWidth());
    rect.top = rowRect.top;
    rect.bottom = rowRect.bottom;
    GridAlign align = GetColumnFormat(column);

    // From here the requested column, not the clamped one, decides.
    intptr_t where = (column & 0xFFFF) | (static_cast<intptr_t>(row & 0xFFFF) << 16);
    std::unique_ptr<CGridEditorCore> editor;
    switch (GetColumnType(column)) {
    case GRID_TEXT:
    case GRID_VALUE:
        if (Send(WM_GRID_BEGINEDIT, where, m_controlId) != 0)
            return refuse();
        m_editMode = 1;
        if (GetColumnType(column) == GRID_VALUE) {
            // The row's value mode travels in the column's current choice.
            def.m_currentChoice = static_cast<int16_t>(GetItemData(m_currentRow) & 0xFFFF);
            editor = std::make_unique<CGridValueEditCore>(*this, def);
        } else {
            editor = std::make_unique<CGridEditCore>(*this, def);
        }
        break;
    case GRID_CHOICE: {
        def.m_editRow = static_cast<int16_t>(row);
        def.m_currentChoice = 0;
        if (Send(WM_GRID_BEGINEDIT, where, m_controlId) != 0)
            return refuse();
        m_editMode = 1;
        int h = rect.Height();
        // Room for the drop-down list below the cell.
        rect.top -= 3;
        rect.bottom += CGridComboCore::kDropRows * h;
        auto combo = std::make_unique<CGridComboCore>(*this, def, h);
        combo->Create();
        editor = std::move(combo);
        break;
    }
    default:
        return refuse();
    }
    editor->SetRect(rect);
    editor->SetAlign(align == GridAlign::Right ? GridAlign::Right
                     : align == GridAlign::Center ? GridAlign::Center
                                                  : GridAlign::Left);

    if (m_editor)  // one still reporting to an owner that opened another
        m_closed.push_back(std::move(m_editor));
    m_editor = std::move(editor);
    CGridEditorCore* opened = m_editor.get();
    m_view->OpenEditorWindow(*opened);
    // The editor takes the focus from the grid.
    if (m_focusAt == FocusAt::Grid) {
        m_focusAt = FocusAt::Editor;
        OnKillFocus();
    } else {
        m_focusAt = FocusAt::Editor;
    }

    if (remembered != m_currentRow)
        Send(WM_GRID_SELCHANGE, m_currentRow, m_controlId);
    m_editMode = 1;
    return opened->Closed() ? nullptr : opened;
}

void CGridListCore::SelectRow(int row, int notify)
{
    Call call(*this);
    m_focus = 1;
    if (row >= 0) {
        if (m_keepSelection)
            m_focusedItem = row;
        else if (row < GetItemCount())
            SelectItem(row);
        ScrollToCell();
    } else if (row == -1 && !m_keepSelection) {
        for (Item& item : m_items)
            item.selected = false;
        m_view->RedrawAll();
    }
    if (m_previousRow != -2 && m_previousRow != m_currentRow)
        RedrawRowSafe(m_previousRow);
    RedrawRowSafe(m_currentRow);
    if (m_previousRow != m_currentRow && row >= 0) {
        if (notify)
            Send(WM_GRID_SELCHANGE, m_currentRow, m_controlId);
        m_previousRow = m_currentRow;
    }
    Send(WM_GRID_SELCHANGE, -2, m_controlId);
}

int CGridListCore::ScrollToCell()
{
    int x = ColumnLeft(m_currentColumn);
    int left = -m_scrollX;
    int width = GetColumnWidth(m_currentColumn);
    int overhang = left + x + width - m_view->ClientWidth();
    // Scroll just far enough to the right to show the cell, or back to the
    // left as far as the cell stays in view; a cell wider than the view
    // lines up with its left edge (and does not fit).
    int d = std::max(left, std::min(left + x, overhang));
    if (d != 0) {
        int before = m_scrollX;
        m_scrollX = std::clamp(m_scrollX + d, 0, std::max(MaxScrollX(), m_scrollX));
        if (m_scrollX != before)
            m_view->RedrawAll();
    }
    if (overhang > d)
        return 0;
    return EnsureVisible(m_currentRow) ? 1 : 0;
}

GridCellColors CGridListCore::CellColors(int row, int column) const
{
    if (row >= m_rowCount)
        return {GridColor::Window, GridColor::Red};
    const CGridColumn* def = Column(column);
    bool inRange = InEditableRange(row, column);
    if (def && def->HiddenOutside() && !inRange)
        return {GridColor::ButtonShadow, GridColor::ButtonShadow};
    if (row == m_currentRow && column == m_currentColumn && m_focus)
        return {GridColor::Highlight, GridColor::HighlightText};
    if (row == m_currentRow)
        return {GridColor::Light3D, GridColor::WindowText};
    if (IsItemSelected(row))
        return {GridColor::Light3D, GridColor::WindowText};
    if (inRange)
        return {GridColor::Window, GridColor::WindowText};
    return {GridColor::Window, GridColor::GrayText};
}

void CGridListCore::ToggleCell(int row, int column)
{
    Call call(*this);
    // The grid keeps no value: the owner flips its own and redraws.
    char text[32] = {};
    GridEditRecord record;
    record.sender = this;
    record.senderId = m_controlId;
    record.row = row;
    record.column = column;
    record.text = text;
    record.textLength = static_cast<int>(sizeof text);
    record.param = 0;
    Send(WM_GRID_ENDEDIT, reinterpret_cast<intptr_t>(&record), m_controlId);
}

void CGridListCore::OnEndLabelEdit(GridEditRecord& record)
{
    Send(WM_GRID_ENDEDIT, reinterpret_cast<intptr_t>(&record), m_controlId);
}

// ---- The list

int CGridListCore::InsertColumn(int index, std::string_view header, GridAlign format, int width)
{
    index = std::clamp(index, 0, GetColumnCount());
    m_header.insert(m_header.begin() + index, HeaderColumn{std::string(header), format, std::max(0, width)});
    for (Item& item : m_items)
        if (static_cast<int>(item.texts.size()) > index)
            item.texts.insert(item.texts.begin() + index, std::string());
    m_view->RedrawAll();
    return index;
}

bool CGridListCore::DeleteColumn(int index)
{
    if (index < 0 || index >= GetColumnCount())
        return false;
    m_header.erase(m_header.begin() + index);
    for (Item& item : m_items)
        if (static_cast<int>(item.texts.size()) > index)
            item.texts.erase(item.texts.begin() + index);
    m_scrollX = std::min(m_scrollX, MaxScrollX());
    m_view->RedrawAll();
    return true;
}

int CGridListCore::GetColumnWidth(int index) const
{
    if (index < 0 || index >= GetColumnCount())
        return 0;
    return m_header[index].width;
}

void CGridListCore::SetColumnWidth(int index, int width)
{
    if (index < 0 || index >= GetColumnCount())
        return;
    m_header[index].width = std::max(0, width);
    m_scrollX = std::min(m_scrollX, MaxScrollX());
    m_view->RedrawAll();
}

GridAlign CGridListCore::GetColumnFormat(int index) const
{
    if (index < 0 || index >= GetColumnCount())
        return GridAlign::Left;
    return m_header[index].format;
}

std::string_view CGridListCore::GetColumnHeader(int index) const
{
    if (index < 0 || index >= GetColumnCount())
        return {};
    return m_header[index].header;
}

void CGridListCore::SetColumnHeader(int index, std::string_view header)
{
    if (index < 0 || index >= GetColumnCount())
        return;
    m_header[static_cast<size_t>(index)].header = std::string(header);
    m_view->RedrawAll();
}

int CGridListCore::ColumnLeft(int index) const
{
    int x = 0;
    for (int c = 0; c < index && c < GetColumnCount(); ++c)
        x += m_header[c].width;
    return x;
}

int CGridListCore::TotalWidth() const { return ColumnLeft(GetColumnCount()); }

int CGridListCore::InsertItem(int index, std::string_view text)
{
    index = std::clamp(index, 0, GetItemCount());
    Item item;
    item.texts.emplace_back(text);
    m_items.insert(m_items.begin() + index, std::move(item));
    if (m_focusedItem >= index)
        ++m_focusedItem;
    m_view->RedrawAll();
    return index;
}

bool CGridListCore::DeleteItem(int index)
{
    if (index < 0 || index >= GetItemCount())
        return false;
    m_items.erase(m_items.begin() + index);
    if (m_focusedItem == index)
        m_focusedItem = -1;
    else if (m_focusedItem > index)
        --m_focusedItem;
    m_topIndex = std::min(m_topIndex, MaxTopIndex());
    m_view->RedrawAll();
    return true;
}

void CGridListCore::DeleteAllItems()
{
    m_items.clear();
    m_focusedItem = -1;
    m_topIndex = 0;
    m_view->RedrawAll();
}

bool CGridListCore::SetItemText(int item, int column, std::string_view text)
{
    if (item < 0 || item >= GetItemCount() || column < 0 || column >= std::max(1, GetColumnCount()))
        return false;
    std::vector<std::string>& texts = m_items[item].texts;
    if (static_cast<int>(texts.size()) <= column)
        texts.resize(column + 1);
    texts[column] = text;
    m_view->RedrawRow(item);
    return true;
}

std::string CGridListCore::GetItemText(int item, int column) const
{
    if (item < 0 || item >= GetItemCount() || column < 0)
        return {};
    const std::vector<std::string>& texts = m_items[item].texts;
    return column < static_cast<int>(texts.size()) ? texts[column] : std::string();
}

bool CGridListCore::SetItemData(int item, intptr_t data)
{
    if (item < 0 || item >= GetItemCount())
        return false;
    m_items[item].data = data;
    return true;
}

intptr_t CGridListCore::GetItemData(int item) const
{
    if (item < 0 || item >= GetItemCount())
        return 0;
    return m_items[item].data;
}

bool CGridListCore::IsItemSelected(int item) const
{
    return item >= 0 && item < GetItemCount() && m_items[item].selected;
}

void CGridListCore::SelectItem(int item)
{
    for (Item& each : m_items)
        each.selected = false;
    if (item >= 0 && item < GetItemCount()) {
        m_items[item].selected = true;
        m_focusedItem = item;
    }
    m_view->RedrawAll();
}

int CGridListCore::GetSelectedItem() const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_items[i].selected)
            return i;
    return -1;
}

void CGridListCore::SetItemSelected(int item, bool on)
{
    if (item < 0 || item >= GetItemCount() || m_items[item].selected == on)
        return;
    m_items[item].selected = on;
    m_view->RedrawRow(item);
}

std::vector<int> CGridListCore::GetSelectedItems() const
{
    std::vector<int> selected;
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_items[i].selected)
            selected.push_back(i);
    return selected;
}

int CGridListCore::GetCountPerPage() const
{
    int rowHeight = std::max(1, m_view->RowHeight());
    return std::max(1, m_view->ClientHeight() / rowHeight);
}

int CGridListCore::MaxScrollX() const { return std::max(0, TotalWidth() - m_view->ClientWidth()); }

int CGridListCore::MaxTopIndex() const { return std::max(0, GetItemCount() - GetCountPerPage()); }

bool CGridListCore::EnsureVisible(int item)
{
    if (item < 0 || item >= GetItemCount())
        return false;
    int top = m_topIndex;
    int page = GetCountPerPage();
    if (item < top)
        top = item;
    else if (item >= top + page)
        top = item - page + 1;
    top = std::clamp(top, 0, MaxTopIndex());
    if (top != m_topIndex) {
        m_topIndex = top;
        m_view->RedrawAll();
    }
    return true;
}

void CGridListCore::SetScrollPosition(int x, int topIndex)
{
    x = std::clamp(x, 0, MaxScrollX());
    topIndex = std::clamp(topIndex, 0, MaxTopIndex());
    if (x == m_scrollX && topIndex == m_topIndex)
        return;
    m_scrollX = x;
    m_topIndex = topIndex;
    m_view->RedrawAll();
}

platform::Rect CGridListCore::GetItemRect(int item) const
{
    int rowHeight = m_view->RowHeight();
    platform::Rect rect;
    rect.left = -m_scrollX;
    rect.right = rect.left + TotalWidth();
    rect.top = (item - m_topIndex) * rowHeight;
    rect.bottom = rect.top + rowHeight;
    return rect;
}

GridHit CGridListCore::SubItemHitTest(int x, int y) const
{
    GridHit hit;
    int rowHeight = std::max(1, m_view->RowHeight());
    if (y < 0 || x < 0)
        return hit;
    int row = m_topIndex + y / rowHeight;
    if (row >= GetItemCount())
        return hit;
    int xx = x + m_scrollX;
    int left = 0;
    for (int c = 0; c < GetColumnCount(); ++c) {
        int width = m_header[c].width;
        if (xx >= left && xx < left + width) {
            hit.row = row;
            hit.column = c;
            return hit;
        }
        left += width;
    }
    return hit;
}

void CGridListCore::RedrawItems(int first, int last)
{
    for (int i = std::max(0, first); i <= last && i < GetItemCount(); ++i)
        m_view->RedrawRow(i);
}

// ---- Keyboard

bool CGridListCore::TakesKey(int key) const
{
    switch (key) {
    case GK_ESCAPE:
        return false;  // the dialog's Cancel
    case GK_TAB:
    case GK_RETURN:
        // While an edit is in progress these are the dialog's again.
        return !m_editMode;
    default:
        return true;
    }
}

bool CGridListCore::KeyPress(int key, unsigned modifiers, int ch)
{
    Call call(*this);
    // Keys held with Alt are the dialog's (mnemonics, the system menu).
    if (!TakesKey(key) || (modifiers & GM_ALT))
        return false;
    OnKeyDown(key, modifiers);
    if (ch >= 0)
        OnChar(ch, modifiers);
    return true;
}

void CGridListCore::OnKeyDown(int key, unsigned modifiers)
{
    Call call(*this);
    if (m_editMode || m_rowCount <= 0 || m_currentRow < 0)
        return;
    bool shift = (modifiers & GM_SHIFT) != 0;
    int row = m_currentRow;
    int column = m_currentColumn;
    int last = LastColumn(row);
    switch (key) {
    case GK_TAB:
        if (!shift) {
            if (column < last) {
                ++column;
                if (ColumnSkips(column) && column < last)
                    ++column;
            } else if (row < m_rowCount - 1) {
                ++row;
                column = m_firstColumn;
            }
        } else {
            if (column > m_firstColumn) {
                --column;
                if (ColumnSkips(column) && column > m_firstColumn)
                    --column;
            } else if (row > 0) {
                --row;
                column = LastColumn(row);
            }
        }
        break;
    case GK_RETURN:
        m_editMode = 1;
        EditCell(row, column);
        row = m_currentRow;
        column = m_currentColumn;
        break;
    case GK_SPACE:
        if (GetColumnType(column) == GRID_CHECK)
            ToggleCell(row, column);
        break;
    case GK_END:
        column = last;
        break;
    case GK_HOME:
        column = m_firstColumn;
        break;
    case GK_LEFT:
        if (column > m_firstColumn)
            --column;
        break;
    case GK_RIGHT:
        if (column < last) {
            ++column;
            if (ColumnSkips(column) && column < last)
                ++column;
        }
        break;
    case GK_UP:
        if (row > 0)
            --row;
        break;
    case GK_DOWN:
        if (row < m_rowCount - 1)
            ++row;
        break;
    default:
        break;
    }
    SetCurrent(row, column);
    // Common end: the column never stays beyond the row's last editable one.
    if (m_currentColumn > LastColumn(m_currentRow))
        m_currentColumn = static_cast<int16_t>(LastColumn(m_currentRow));
    SelectRow(m_currentRow, 1);
}

void CGridListCore::OnChar(int ch, unsigned /*modifiers*/)
{
    Call call(*this);
    // Enter opens the current cell (under the same conditions as its key);
    // the list's own type-ahead never runs.
    if (ch == '\r' && !m_editMode && m_rowCount > 0 && m_currentRow >= 0) {
        m_editMode = 1;
        EditCell(m_currentRow, m_currentColumn);
    }
}

// ---- Mouse

void CGridListCore::ClickListItem(int row, unsigned modifiers)
{
    // The list's own handling of a click: the clicked row becomes the
    // selected and focused one; a click beside the rows clears the selection.
    TakeFocus();
    m_keepSelection = false;
    if (m_multiSelect && row >= 0 && (modifiers & (GM_CTRL | GM_SHIFT)) != 0) {
        if (modifiers & GM_SHIFT) {
            // From the focused row (the anchor) to the clicked one; Ctrl keeps
            // what was selected besides.
            int anchor = m_focusedItem >= 0 && m_focusedItem < GetItemCount() ? m_focusedItem : row;
            if (!(modifiers & GM_CTRL))
                for (Item& each : m_items)
                    each.selected = false;
            for (int i = std::min(anchor, row); i <= std::max(anchor, row); ++i)
                m_items[i].selected = true;
        } else {
            m_items[row].selected = !m_items[row].selected;
        }
        m_focusedItem = row;
        m_keepSelection = true;
        m_view->RedrawAll();
        return;
    }
    if (row >= 0)
        SelectItem(row);
    else
        SelectItem(-1);
}

void CGridListCore::OnLButtonDown(int x, int y, unsigned modifiers)
{
    Call call(*this);
    ClickListItem(SubItemHitTest(x, y).row, modifiers);
    struct KeepSelection {
        bool& flag;
        ~KeepSelection() { flag = false; }
    } keep{m_keepSelection};
    GridHit hit = SubItemHitTest(x, y);
    if (hit.row < 0 || hit.column < 0)
        return;
    if (GetColumnType(hit.column) == GRID_CHECK && hit.row < m_rowCount) {
        SetCurrent(hit.row, ClampColumn(hit.row, hit.column));
        SelectRow(hit.row, 1);
        // A check cell outside the row's editable range only becomes
        // current; reporting the clamped cell would hand the owner a toggle
        // of a column that holds no check box.
        if (m_currentColumn == hit.column)
            ToggleCell(hit.row, hit.column);
        return;
    }
    if (m_focus && hit.row == m_currentRow && hit.column == m_currentColumn) {
        if (GetColumnType(hit.column) != 0 && InEditableRange(hit.row, hit.column))
            EditCell(hit.row, hit.column);
        return;
    }
    if (hit.row < m_rowCount) {
        SetCurrent(hit.row, ClampColumn(hit.row, hit.column));
        SelectRow(hit.row, 1);
    }
}

void CGridListCore::OnLButtonDblClk(int x, int y)
{
    Call call(*this);
    ClickListItem(SubItemHitTest(x, y).row);
    GridHit hit = SubItemHitTest(x, y);
    if (hit.row < 0 || hit.column < 0 || hit.row != m_focusedItem)
        return;
    SetCurrent(hit.row, ClampColumn(hit.row, hit.column));
    if (GetColumnType(m_currentColumn) != 0 && InEditableRange(hit.row, hit.column) &&
        EditCell(hit.row, m_currentColumn))
        return;
    // No editor: the double click is the owner's (a card opens the shot).
    Send(WM_GRID_DBLCLK, (static_cast<intptr_t>(hit.row) << 16) | hit.column, m_controlId);
}

void CGridListCore::OnRButtonDown(int x, int y)
{
    Call call(*this);
    if (m_editMode)
        return;
    GridHit hit = SubItemHitTest(x, y);
    if (hit.row < 0 || hit.column < 0)
        return;
    SetCurrent(hit.row, ClampColumn(hit.row, hit.column));
    SelectRow(hit.row, 1);
}

void CGridListCore::OnHeaderClick(int column)
{
    Call call(*this);
    if (column < 0 || column >= GetColumnCount())
        return;
    Send(WM_GRID_HEADERCLICK, column, m_controlId);
}

void CGridListCore::OnScrollRequest()
{
    Call call(*this);
    if (m_focusAt != FocusAt::Grid)
        TakeFocus();
}

// ---- Focus

void CGridListCore::TakeFocus()
{
    Call call(*this);
    if (m_focusAt == FocusAt::Grid)
        return;
    m_view->FocusGrid();
    WindowFocusIn();
}

void CGridListCore::WindowFocusIn()
{
    Call call(*this);
    if (m_focusAt == FocusAt::Grid)
        return;
    if (m_focusAt == FocusAt::Editor && m_editor) {
        m_focusAt = FocusAt::Elsewhere;
        m_editor->KillFocus();
    }
    m_focusAt = FocusAt::Grid;
    OnSetFocus();
}

void CGridListCore::WindowFocusOut()
{
    Call call(*this);
    if (m_focusAt != FocusAt::Grid)
        return;
    m_focusAt = FocusAt::Elsewhere;
    OnKillFocus();
}

void CGridListCore::OnSetFocus()
{
    RedrawRowSafe(m_currentRow);
    m_previousRow = m_currentRow;
    // Rows selected together stay so when the grid takes the focus.
    const bool keep = m_keepSelection;
    m_keepSelection = keep || m_multiSelect;
    SelectRow(m_currentRow, 1);
    m_keepSelection = keep;
}

void CGridListCore::OnKillFocus()
{
    if (!m_editMode)
        Send(WM_GRID_SELCHANGE, -1, m_controlId);
    m_focus = 0;
    RedrawRowSafe(m_currentRow);
}

void CGridListCore::EditorFocusOut(CGridEditorCore& editor)
{
    Call call(*this);
    if (m_focusAt != FocusAt::Editor || m_editor.get() != &editor)
        return;
    m_focusAt = FocusAt::Elsewhere;
    editor.KillFocus();
}

void CGridListCore::EditorClosed(CGridEditorCore& editor)
{
    m_view->CloseEditorWindow(editor);
    if (m_editor.get() == &editor) {
        m_closed.push_back(std::move(m_editor));
        if (m_focusAt == FocusAt::Editor)
            m_focusAt = FocusAt::Elsewhere;
    }
}
