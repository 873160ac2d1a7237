#pragma once
// How the range control's grid dialogs answer their grid, in one place:
// before an edit the editor gets the cell's value (a choice cell the index of
// the lane's code in its list, a text cell the cell's text), after it the
// dialog is handed what was chosen or typed for the row's lane, and when the
// focus leaves the grid its edit mode ends. A dialog keeps one, says how it
// finds a choice cell's code and what an edit stores, and passes the grid's
// messages to Handle.
#include "foundation/files/BVLog.h"
#include "foundation/grid/GridListCore.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// A finished edit of one cell.
struct GridCellEdit {
    int row = 0;
    int column = 0;
    int lane = 0;      // the row's item data
    std::string text;  // the editor's text, Windows-1252
    // A choice cell's chosen code; -2 the empty choice. 0 for a text cell.
    int code = 0;
    bool choice = false;  // the cell is a choice cell
};

class GridHandshake {
public:
    // The code a choice cell of the row stands for (its lane's value).
    using CodeOf = std::function<int(int row, int column)>;
    using Store = std::function<void(const GridCellEdit& edit)>;

    GridHandshake(CGridListCore& grid, Store store, CodeOf codeOf = {});

    // Answers WM_GRID_BEGINEDIT, WM_GRID_ENDEDIT and WM_GRID_SELCHANGE; false
    // for any other message. result gets the answer to give the grid.
    bool Handle(unsigned message, intptr_t wParam, intptr_t& result);

    // A typed whole number: the first 30 characters, blanks trimmed, read
    // as a decimal number without its decimals.
    static int TypedNumber(std::string_view text);

private:
    intptr_t BeginEdit(intptr_t wParam);
    void EndEdit(const GridEditRecord& record);

    CGridListCore& m_grid;
    Store m_store;
    CodeOf m_codeOf;
    CBVLog m_log;
};
