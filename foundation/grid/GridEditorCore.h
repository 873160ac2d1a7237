#pragma once
// What the three in-place editors share: each lives for one cell, hands the
// edit on to a neighbouring cell by key, and when it loses the focus for any
// reason it reports its result to the grid (which forwards it to the owner)
// and goes away. The cell value itself belongs to the owner; an editor only
// reads and writes its column definition and the grid's current cell.
#include "foundation/grid/GridListCore.h"

#include <string>

// The text of an edit field with its selection, the part of an edit control
// the editors' rules work on. The caret is the selection's end.
struct GridEditField {
    std::string text;  // Windows-1252
    int selStart = 0;
    int selEnd = 0;
    size_t limit = 0;  // most characters typing may reach; 0 = no limit

    int Caret() const { return selEnd; }
    void SelectAll();
    void SetCaret(int pos);
    // What the edit control does with a typed character: Backspace removes
    // the selection or the character before the caret, a printable character
    // replaces the selection. Control characters and typing past the limit
    // change nothing. Returns true when the text changed.
    bool Type(unsigned char ch);
};

class CGridEditorCore {
public:
    CGridEditorCore(CGridListCore& grid, CGridColumn& column);
    virtual ~CGridEditorCore();
    CGridEditorCore(const CGridEditorCore&) = delete;
    CGridEditorCore& operator=(const CGridEditorCore&) = delete;

    // GRID_TEXT, GRID_CHOICE or GRID_VALUE.
    virtual int Kind() const = 0;

    // A whole key stroke: key-down, then the character it types (ch < 0: none),
    // unless the key-down already ended the editor. Returns true when the
    // key-down was left to the edit control itself (the window passes such
    // keys on to its native handling).
    bool KeyPress(int key, unsigned modifiers, int ch);
    virtual bool OnKeyDown(int key, unsigned modifiers) = 0;
    virtual void OnChar(int ch, unsigned modifiers) = 0;
    // The editor lost the focus: report, then close.
    void KillFocus();

    // The edit field of the text and value editors; the choice editor has none.
    virtual GridEditField* EditField() { return nullptr; }

    bool Closed() const { return m_closed; }
    bool Cancelled() const { return m_cancel; }
    int Row() const { return m_row; }
    int ColumnNumber() const { return m_columnNumber; }
    CGridColumn& Column() const { return m_column; }
    CGridListCore& Grid() const { return m_grid; }
    // The editor's window in the grid's rows area.
    const platform::Rect& Rect() const { return m_rect; }
    void SetRect(const platform::Rect& rect) { m_rect = rect; }
    GridAlign Align() const { return m_align; }
    void SetAlign(GridAlign align) { m_align = align; }

protected:
    // Reports the result to the grid; each editor fills its own record.
    virtual void EndEdit() = 0;
    // Columns that forward and backward moves pass over.
    virtual bool Passable(int column) const;

    // Sends the record to the grid, then, unless the edit moved or was ended
    // by key, tells the owner that the focus left (SELCHANGE -1, id 0).
    void Report(GridEditRecord* record);

    // Moves between cells. Each sets the moved flag and opens the target's
    // editor, which ends this one.
    void ForwardMove();
    void BackwardMove();
    void MoveUp();
    void MoveDown();
    void MoveRight();
    // skipFlagged: pass over skip-flagged columns too (the text editor does).
    void MoveLeft(bool skipFlagged);
    void MoveTo(int row, int column);
    // Shift+Enter, and the forward or backward move past the grid's last or first cell.
    void EndByKey();
    // Escape.
    void Cancel();
    // The common key-downs: Shift+arrows.
    bool ShiftArrow(int key, unsigned modifiers, bool skipFlaggedLeft);
    // The characters that leave the cell in every editor: Tab and Shift+Tab
    // move on and back, Enter moves on, Shift+Enter ends the edit, Escape
    // cancels it. false for any other character.
    bool LeaveKey(int ch, unsigned modifiers);
    // The end-of-edit record for this cell; the editor adds its result.
    GridEditRecord CellRecord() const;
    void Changed();
    void Sound(GridSound sound);

    CGridListCore& m_grid;
    CGridColumn& m_column;
    int m_row;
    int m_columnNumber;
    bool m_cancel = false;
    bool m_closed = false;
    platform::Rect m_rect;
    GridAlign m_align = GridAlign::Left;
};
