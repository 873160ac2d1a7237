#pragma once
// The grid list without its window: the rows and columns of the list, the
// current cell, every key and mouse rule, the editors' life and the messages
// to the owner. The widget (foundation/ui/grid/GridList.h) paints this state and
// forwards the window system's events here, so everything the user can do to
// a grid can be replayed and checked without a screen.
#include "foundation/grid/GridColumn.h"
#include "foundation/grid/GridMessages.h"
#include "platform/system/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CGridEditorCore;

// Keys by their virtual-key codes, as the rules below name them.
enum GridKey : int {
    GK_BACK = 0x08,
    GK_TAB = 0x09,
    GK_RETURN = 0x0D,
    GK_ESCAPE = 0x1B,
    GK_SPACE = 0x20,
    GK_PRIOR = 0x21,  // Page Up
    GK_NEXT = 0x22,   // Page Down
    GK_END = 0x23,
    GK_HOME = 0x24,
    GK_LEFT = 0x25,
    GK_UP = 0x26,
    GK_RIGHT = 0x27,
    GK_DOWN = 0x28,
    GK_DELETE = 0x2E,
    GK_F4 = 0x73,
};

enum GridModifier : unsigned {
    GM_NONE = 0,
    GM_SHIFT = 1,
    GM_CTRL = 2,
    GM_ALT = 4,
};

// The character a key stroke types, as the editors and the grid see it:
// Tab, Enter, Escape and Backspace give their control characters, printable
// keys their Windows-1252 byte; nothing (-1) with Ctrl or Alt held.
int GridKeyChar(int key, unsigned modifiers, int typed);

// System colours the grid draws with; the widget maps them onto its palette.
enum class GridColor {
    Window,
    WindowText,
    Highlight,
    HighlightText,
    Light3D,
    GrayText,
    ButtonShadow,
    ButtonFace,
    Red,
};

struct GridCellColors {
    GridColor background;
    GridColor text;
    bool operator==(const GridCellColors&) const = default;
};

// Header formats of the list's columns.
enum class GridAlign { Left, Right, Center };

enum class GridSound {
    Default,  // the default beep
    Error,    // the error sound
    Simple,   // the simple beep
};

struct GridHit {
    int row = -1;
    int column = -1;
};

// What the rules need of the window on screen. Coordinates are those of the
// rows area (below the header): row r starts at (r - top index) * row height,
// and every row's left edge is minus the horizontal scroll position.
class CGridView {
public:
    virtual ~CGridView() = default;
    virtual int ClientWidth() const { return 400; }
    virtual int ClientHeight() const { return 160; }
    virtual int RowHeight() const { return 16; }
    // Height of one item of a choice editor's drop-down list.
    virtual int ListItemHeight() const { return 13; }
    // Width of a text in the grid's font.
    virtual int TextWidth(std::string_view text) const { return 7 * static_cast<int>(text.size()); }
    virtual void RedrawRow(int /*row*/) {}
    // Rows, columns or the scroll position changed: repaint all.
    virtual void RedrawAll() {}
    // Moves the keyboard focus of the window system to the grid window.
    virtual void FocusGrid() {}
    // An editor was made: show its window over the cell, with the focus.
    virtual void OpenEditorWindow(CGridEditorCore& /*editor*/) {}
    // Text, caret, size or drop-down list of an editor changed.
    virtual void EditorChanged(CGridEditorCore& /*editor*/) {}
    // The editor has ended: take its window away (without moving the focus).
    virtual void CloseEditorWindow(CGridEditorCore& /*editor*/) {}
    virtual void Sound(GridSound /*sound*/) {}
};

class CGridListCore {
public:
    CGridListCore();
    virtual ~CGridListCore();
    CGridListCore(const CGridListCore&) = delete;
    CGridListCore& operator=(const CGridListCore&) = delete;

    // ---- The grid's state; owners read and write these directly.

    // The row last reported as current to the owner; -2 before the first.
    int16_t m_previousRow = -2;
    // Rows 0 to m_rowCount - 1 can be reached and edited; rows beyond may be
    // in the list and are drawn but never become current by keyboard.
    int16_t m_rowCount = 0;
    // 1 while the grid holds the focus; the current cell is highlighted only then.
    int32_t m_focus = 0;
    // 1 while an edit is in progress; the grid ignores navigation keys, Enter
    // and right clicks meanwhile. The owner clears it on SELCHANGE -1.
    int32_t m_editMode = 0;
    int16_t m_currentRow = 0;
    int16_t m_currentColumn = 0;
    // The owner's default last editable column for new rows (the grid does not read it).
    uint8_t m_defaultLastColumn = 0;
    // Per row: the highest column that can become current or be edited.
    std::vector<uint8_t> m_lastColumn;
    // The lowest column that can become current or be edited, for all rows.
    int16_t m_firstColumn = 0;
    // Column definitions by column number.
    std::vector<std::unique_ptr<CGridColumn>> m_columns;
    // Several rows may be selected at once (Ctrl and Shift clicks); off, a
    // click selects the clicked row alone.
    bool m_multiSelect = false;

    // ---- Wiring.

    void SetOwner(CGridOwner* owner, intptr_t controlId);
    void SetControlId(intptr_t controlId) { m_controlId = controlId; }
    CGridOwner* Owner() const { return m_owner; }
    intptr_t ControlId() const { return m_controlId; }
    // The window; nullptr gives a window-less view with fixed metrics.
    void SetView(CGridView* view);
    CGridView& View() const { return *m_view; }

    // ---- Columns and cells.

    // Defines column n (the list grows to n + 1 definitions when needed).
    // A text column gets one empty choice text: its editor's starting text.
    void SetColumnType(int n, int kind, int skip);
    // The cell kind (low 7 bits), 0 for a column beyond the list.
    int GetColumnType(int column) const;
    // The definition of column n, nullptr beyond the list.
    CGridColumn* Column(int n) const;
    // The row's last editable column; a row the owner has not sized yet gets
    // the default.
    int LastColumn(int row) const;
    // max(first editable column, min(column, last editable column of row)).
    int ClampColumn(int row, int column) const;
    bool InEditableRange(int row, int column) const;

    // ---- The grid's operations.

    // Opens the in-place editor of a cell; nullptr when there is none.
    CGridEditorCore* EditCell(int row, int column);
    // Selects the list row and tells the owner.
    void SelectRow(int row, int notify);
    // Scrolls the current cell into view; 1 when it is fully visible.
    int ScrollToCell();
    // Colours of one cell for the owner's drawing.
    GridCellColors CellColors(int row, int column) const;
    // Reports a check cell to the owner as an end-edit record.
    void ToggleCell(int row, int column);

    // ---- The list: columns of the header, rows with their texts and data.

    int InsertColumn(int index, std::string_view header, GridAlign format, int width);
    bool DeleteColumn(int index);
    int GetColumnCount() const { return static_cast<int>(m_header.size()); }
    int GetColumnWidth(int index) const;
    void SetColumnWidth(int index, int width);
    GridAlign GetColumnFormat(int index) const;
    std::string_view GetColumnHeader(int index) const;
    void SetColumnHeader(int index, std::string_view header);
    // Left edge of a column, counted from the first column's left edge.
    int ColumnLeft(int index) const;
    int TotalWidth() const;

    int InsertItem(int index, std::string_view text);
    bool DeleteItem(int index);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    bool SetItemText(int item, int column, std::string_view text);
    std::string GetItemText(int item, int column) const;
    bool SetItemData(int item, intptr_t data);
    intptr_t GetItemData(int item) const;
    bool IsItemSelected(int item) const;
    // Selects and focuses one item (single selection); -1 clears the selection.
    void SelectItem(int item);
    // First selected item, -1 none.
    int GetSelectedItem() const;
    // Selects or unselects one item and leaves the others as they are.
    void SetItemSelected(int item, bool on);
    // Every selected item, in list order.
    std::vector<int> GetSelectedItems() const;
    int GetFocusedItem() const { return m_focusedItem; }
    // Scrolls a row fully into view; false when there is no such row.
    bool EnsureVisible(int item);
    int GetTopIndex() const { return m_topIndex; }
    int GetCountPerPage() const;
    int GetScrollX() const { return m_scrollX; }
    // Scroll position as the scroll bars set it, kept within the list.
    void SetScrollPosition(int x, int topIndex);
    int MaxScrollX() const;
    int MaxTopIndex() const;
    platform::Rect GetItemRect(int item) const;
    GridHit SubItemHitTest(int x, int y) const;
    void RedrawItems(int first, int last);

    // ---- Events from the window system.

    // A whole key stroke: its key-down, then the character it types (ch < 0:
    // none). Returns false for keys the grid leaves to its dialog (Escape,
    // keys held with Alt, Tab and Enter while an edit is in progress).
    bool KeyPress(int key, unsigned modifiers, int ch);
    // Keys the grid takes before its dialog sees them.
    bool TakesKey(int key) const;
    void OnKeyDown(int key, unsigned modifiers);
    void OnChar(int ch, unsigned modifiers);
    // A click; with several rows selectable, Ctrl adds or takes away the
    // clicked row and Shift selects every row from the focused one to it.
    void OnLButtonDown(int x, int y, unsigned modifiers = GM_NONE);
    // A double click opens the clicked cell's editor, or else tells the
    // owner (WM_GRID_DBLCLK) when it hit a row.
    void OnLButtonDblClk(int x, int y);
    void OnRButtonDown(int x, int y);
    // A click on the header of a column: the owner is told, nothing else
    // changes (sorting, if any, is the owner's business).
    void OnHeaderClick(int column);
    // Before the user scrolls (scroll bar or wheel): the grid takes the focus.
    void OnScrollRequest();
    // The grid window took the focus from the window system (a click, a tab
    // from another control), or lost it to another window.
    void WindowFocusIn();
    void WindowFocusOut();
    // Gives the grid the focus; an open editor ends first.
    void TakeFocus();
    bool HasFocus() const { return m_focusAt == FocusAt::Grid; }

    // The editor that is open, if any.
    CGridEditorCore* Editor() const { return m_editor.get(); }

    // ---- Used by the editors.

    // End of a label edit from an editor: forwarded to the owner as WM_GRID_ENDEDIT.
    void OnEndLabelEdit(GridEditRecord& record);
    // An editor lost the focus to the window system.
    void EditorFocusOut(CGridEditorCore& editor);
    // An editor has reported; its window goes and the object is freed once
    // the event that ended it is over.
    void EditorClosed(CGridEditorCore& editor);
    // A message to the owner; the window routes it to its kit window when
    // no owner was set.
    virtual intptr_t Send(unsigned message, intptr_t wParam, intptr_t lParam);

    // Entry guard: editors that end while their own code runs are freed only
    // when the outermost event returns.
    class Call {
    public:
        explicit Call(CGridListCore& grid);
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        CGridListCore& m_grid;
    };

protected:
    // The list's own focus notifications.
    void OnSetFocus();
    void OnKillFocus();

private:
    enum class FocusAt { Elsewhere, Grid, Editor };
    struct HeaderColumn {
        std::string header;
        GridAlign format = GridAlign::Left;
        int width = 0;
    };
    struct Item {
        std::vector<std::string> texts;
        intptr_t data = 0;
        bool selected = false;
    };

    void FlushClosed();
    void SetCurrent(int row, int column);
    bool ColumnSkips(int column) const;
    void RedrawRowSafe(int row);
    void ClickListItem(int row, unsigned modifiers = GM_NONE);

    CGridOwner* m_owner = nullptr;
    intptr_t m_controlId = 0;
    CGridView m_nullView;
    CGridView* m_view = &m_nullView;

    std::vector<HeaderColumn> m_header;
    std::vector<Item> m_items;
    int m_focusedItem = -1;
    // A Ctrl or Shift click is building a selection of several rows: the
    // grid's own selection of the clicked row keeps it.
    bool m_keepSelection = false;
    int m_scrollX = 0;
    int m_topIndex = 0;

    FocusAt m_focusAt = FocusAt::Elsewhere;
    std::unique_ptr<CGridEditorCore> m_editor;
    std::vector<std::unique_ptr<CGridEditorCore>> m_closed;
    int m_depth = 0;
};
