#pragma once
// The choice editor of GRID_CHOICE cells: a selection field over the cell and
// a drop-down list of the column's choices in up to four columns (code or
// check box, text, second and third text). Typing searches the list by the
// start of the texts; a free-text column also keeps what was typed when it is
// not in the list; a multi-choice column ticks choices and reports the ticked
// texts joined by the column's separator.
#include "foundation/grid/GridEditorCore.h"

#include <string>

class CGridComboCore : public CGridEditorCore {
public:
    // The typed text keeps at most this many characters.
    static constexpr size_t kTypedLimit = 99;
    // Page Up and Page Down move the list selection this far.
    static constexpr int kPage = 14;
    // Rows of room the drop-down list gets below the cell.
    static constexpr int kDropRows = 15;

    // itemHeight: the row height of the grid, the selection field's height.
    CGridComboCore(CGridListCore& grid, CGridColumn& column, int itemHeight);

    int Kind() const override { return GRID_CHOICE; }
    // The steps of creation that fill the list and place the caret; run by
    // the grid once the editor exists.
    void Create();

    bool OnKeyDown(int key, unsigned modifiers) override;
    void OnChar(int ch, unsigned modifiers) override;

    // The drop-down list's mouse, at y pixels below its top edge (inside its
    // client area); y < 0 or an x beyond the list is outside.
    void ListButtonDown(int y);
    void ListButtonUp();
    // A click on the selection field opens or closes the list.
    void FieldClick();
    void SetDropped(bool dropped);
    bool Dropped() const { return m_dropped; }
    // The list scrolled by its scroll bar or the wheel.
    void SetTopIndex(int top);

    // The first choice whose text begins with the typed text (or, for a
    // free-text column with a preferred key, the best match of that key),
    // selected and scrolled to the top; -1 and no selection when none.
    int FindChoice(const std::string& typed);
    // Texts of the ticked choices in list order, joined by the separator.
    std::string JoinTicked() const;

    // What the selection field shows: the typed text up to the caret in
    // window colours, then the completion in highlight colours.
    struct FieldText {
        std::string plain;
        std::string completion;
    };
    FieldText Field();

    int ItemHeight() const { return m_itemHeight; }
    int Caret() const { return m_caret; }
    const std::string& Typed() const { return m_typed; }
    bool DeleteFlag() const { return m_deleteFlag != 0; }
    int ListSelection() const { return m_listSel; }
    int TopIndex() const { return m_topIndex; }
    int ItemCount() const;
    // Items the dropped list shows at once.
    int VisibleItems() const;
    // Width of the dropped list: the four list column widths.
    int ListWidth() const;

protected:
    void EndEdit() override;

private:
    bool FreeText() const { return m_column.m_freeText != 0; }
    bool Multi() const { return m_column.m_multiChoice != 0; }
    void TakeOver();
    void SelectListItem(int index);
    // The list changed its own selection (keys or a click while dropped).
    void ListSelChanged();
    void ScrollTo(int top);
    void ShowSelection();
    void OrdinaryChar(int ch, unsigned modifiers);
    void Search();
    bool TickByLetter(unsigned char ch, bool untick);

    int m_itemHeight = 12;
    int16_t m_caret = 0;
    int32_t m_deleteFlag = 0;
    std::string m_typed;
    std::string m_result;  // the record's text, alive while it is reported
    int m_listSel = -1;
    int m_topIndex = 0;
    bool m_dropped = false;
};
