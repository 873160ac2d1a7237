#pragma once
// One column of the grid list: what kind of cell it holds and, for choice
// cells, the list the user picks from. The grid never keeps cell values; the
// owner fills these definitions before editing starts and reads them back
// (current choice, ticks) when an edit ends.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// Cell kinds, the low 7 bits of CGridColumn::m_kind.
enum GridCellKind : int16_t {
    GRID_TEXT = 1,    // free text, CGridEdit
    GRID_CHOICE = 2,  // pick from the column's list, CGridCombo
    GRID_VALUE = 4,   // shot value checked while typed, CGridValueEdit
    GRID_FIXED = 5,   // never edited; editor moves pass over it
    GRID_CHECK = 6,   // toggled by a click or Space, reported as an end edit
};
// Bit 7 of the kind: cells outside a row's editable range are drawn hidden.
constexpr int16_t GRID_HIDE_OUTSIDE = 0x80;

// A fixed-size text field (N - 1 characters and the terminator), Windows-1252.
// Assigning a longer text cuts it, so no owner can run past the field.
template <size_t N>
struct GridText {
    char text[N] = {};

    GridText& operator=(std::string_view s)
    {
        size_t n = std::min(s.size(), N - 1);
        std::memcpy(text, s.data(), n);
        text[n] = '\0';
        return *this;
    }
    const char* c_str() const { return text; }
    std::string_view view() const { return std::string_view(text, strnlen(text, N)); }
    bool empty() const { return text[0] == '\0'; }
    static constexpr size_t Capacity() { return N - 1; }
};

class CGridColumn {
public:
    CGridColumn() = default;
    virtual ~CGridColumn();

    // For a free-text choice cell: the group key (or code) a typed text
    // should match first; negative for none.
    int16_t m_preferredKey = 0;
    // A choice cell that also takes a typed text that is not in the list.
    uint8_t m_freeText = 0;
    // Row of the cell being edited (set when an editor opens).
    int16_t m_editRow = 0;
    // This column's number.
    int16_t m_columnNumber = 0;
    // Choice cell: index of the chosen choice, -1 none; the owner sets it
    // before an edit and the editor keeps it up to date. Value cell: the
    // value mode of the row being edited.
    int16_t m_currentChoice = 0;
    // Set when an editor hands the edit on to another cell or ends it by key.
    int32_t m_moved = 0;
    // GridCellKind in the low 7 bits, GRID_HIDE_OUTSIDE in bit 7.
    int16_t m_kind = 0;
    // The choice cell keeps a tick per choice and reports the ticked texts joined.
    int32_t m_multiChoice = 0;
    // For the owner's drawing: 1 = text 5 pixels in from the left edge,
    // 0 = right-aligned 5 pixels in from the right edge.
    int32_t m_leftAlign = 0;
    int16_t m_choiceCount = 0;
    // Widths in pixels of the drop-down list's columns: code (or check box),
    // text, second text, third text; 0 or less hides that column.
    int16_t m_listWidths[4] = {};
    // Per row: value modes 7 and 8 read the low byte as the highest digit allowed.
    std::vector<uint16_t> m_rowLimits;
    // Per choice.
    std::vector<uint8_t> m_checks;
    std::vector<uint16_t> m_groupKeys;
    std::vector<uint16_t> m_codes;
    std::vector<GridText<102>> m_texts;  // text 0 is also a text cell's starting text
    std::vector<GridText<32>> m_texts2;
    std::vector<GridText<32>> m_texts3;
    // Put between the texts of ticked choices.
    GridText<32> m_separator;
    // The typed text a free-text choice editor starts with.
    GridText<32> m_freeTextValue;
    // Keyboard moves forward pass over this column.
    uint8_t m_skip = 0;

    int Kind() const { return m_kind & 0x7F; }
    bool HiddenOutside() const { return (m_kind & GRID_HIDE_OUTSIDE) != 0; }

    // Resizes every per-choice list to n entries (new ones empty); 0 frees them.
    // The per-row limits are left alone.
    void SetChoiceCount(int n);
    // Index of the first choice with this code (compared as 16-bit), -1 none.
    int FindCode(int code) const;
    // Index of the first choice whose text equals text byte for byte, -1 none.
    int FindText(std::string_view text) const;
    // A text of one-character codes expanded to the texts of their choices,
    // joined by the separator; codes without a choice are left out.
    std::string CodesToText(std::string_view codes) const;

    // Text of choice i, empty when there is no such choice.
    std::string_view ChoiceText(int i) const;
};
