#pragma once
// The grid's whole interface to its owner: four messages. The owner is told
// when the current row changes, asked before every edit (and may refuse it),
// handed every result, and told of a click on a column's header. Each carries the grid's control id in lParam,
// except the focus-lost notice of an editor, which carries the editor's id, 0.
#include <cstdint>

// WM_APP + 100: wParam = the new current row; -2 after every selection
// update; -1 when the focus left the grid or an edit ended without a move.
constexpr unsigned WM_GRID_SELCHANGE = 0x8064;
// WM_APP + 101: wParam = pointer to a GridEditRecord, valid during the call.
constexpr unsigned WM_GRID_ENDEDIT = 0x8065;
// WM_APP + 102: wParam = column | row << 16; a non-zero answer refuses the edit.
constexpr unsigned WM_GRID_BEGINEDIT = 0x8066;
// WM_APP + 103: a click on a column's header; wParam = the column.
constexpr unsigned WM_GRID_HEADERCLICK = 0x8067;

// Notification code of the end-edit record: end of a label edit.
constexpr int GRID_ENDLABELEDIT = -106;
// Item mask of the end-edit record: text, state and parameter.
constexpr unsigned GRID_RECORD_MASK = 13;
// Parameter of a value editor's record.
constexpr intptr_t GRID_VALUE_PARAM = 123;

// The end-edit record, laid out as the list's display-info notification:
// sender, sender id and code, then the item part.
struct GridEditRecord {
    const void* sender = nullptr;  // always the grid
    intptr_t senderId = 0;         // the grid's id (check cells) or the editor's, 0
    int code = GRID_ENDLABELEDIT;
    unsigned mask = GRID_RECORD_MASK;
    int row = 0;
    int column = 0;
    unsigned state = 0;
    unsigned stateMask = 0;
    char* text = nullptr;  // Windows-1252; null when a text edit was cancelled
    int textLength = 0;
    int image = 0;
    // Text cell 0 (-1 cancelled); value cell 123; choice cell the chosen code,
    // -1 refused or cancelled, -2 the empty choice; check cell 0.
    intptr_t param = 0;
};

// The window that holds a grid.
class CGridOwner {
public:
    virtual ~CGridOwner() = default;
    // One of the messages above; the result matters for WM_GRID_BEGINEDIT only.
    virtual intptr_t OnGridMessage(unsigned message, intptr_t wParam, intptr_t lParam) = 0;
};

inline const GridEditRecord* GridRecordOf(intptr_t wParam)
{
    return reinterpret_cast<const GridEditRecord*>(wParam);
}
inline int BeginEditColumn(intptr_t wParam) { return static_cast<int>(wParam & 0xFFFF); }
inline int BeginEditRow(intptr_t wParam) { return static_cast<int>((wParam >> 16) & 0xFFFF); }
// A SELCHANGE row with bit 15 set but not -2: the focus left the grid, and
// the owner clears the grid's edit mode.
inline bool GridFocusLeft(intptr_t wParam) { return wParam != -2 && (wParam & 0x8000) != 0; }

// WM_APP + 104: a double click on a row that opened no editor;
// wParam = column | row << 16 (read with BeginEditRow and BeginEditColumn).
constexpr unsigned WM_GRID_DBLCLK = 0x8068;
