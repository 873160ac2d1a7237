#include "foundation/grid/GridValueEditCore.h"

#include <vector>

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

unsigned char UpperAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

}  // namespace

CGridValueEditCore::CGridValueEditCore(CGridListCore& grid, CGridColumn& column) : CGridEditorCore(grid, column)
{
    // The value as the list shows it. A longer text than typing may make is
    // kept whole; typing over the selection shortens it.
    m_field.text = grid.GetItemText(m_row, m_columnNumber);
    m_field.limit = kLimit;
    m_field.SelectAll();
}

bool CGridValueEditCore::Allowed(unsigned char c)
{
    if (IsDigit(c))
        return true;
    switch (c) {
    case '\b':
    case ' ':
    case '\'':
    case '*':
    case '+':
    case ',':
    case '.':
    case 'C':
    case 'I':
    case 'T':
    case 'X':
        return true;
    default:
        return false;
    }
}

unsigned char CGridValueEditCore::Mapped(unsigned char c)
{
    switch (c) {
    case '\'':
    case 'C':
    case 'I':
        return '*';
    case '+':
    case 'T':
        return 'X';
    case ',':
        return '.';
    default:
        return c;
    }
}

GridValueVerdict CGridValueEditCore::Check(int mode, std::string_view text, unsigned char typed, bool caretAtEnd)
{
    size_t n = text.size();
    auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    switch (mode) {
    case 0:
        // Whole rings: one character 0, 2 to 9, X or *; or two from "1" on
        // whose second is at most '1' (10, 11, X0 ...).
        if (n == 1 && (typed == '0' || (typed >= '2' && typed <= '9') || typed == 'X' || typed == '*'))
            return GridValueVerdict::Complete;
        if (n == 2 && at(0) >= '1' && at(1) <= '1')
            return GridValueVerdict::Complete;
        return GridValueVerdict::Wait;
    case 1:
    case 3:
        // Tenths: d.d, X.d or *.d with the caret at the end; or 10.d, 11.d, 10*d.
        if (n == 3 && at(1) == '.' && IsDigit(at(2)) && caretAtEnd &&
            (IsDigit(at(0)) || at(0) == 'X' || at(0) == '*'))
            return GridValueVerdict::Complete;
        if (n == 4 && at(0) == '1' && (at(1) == '0' || at(1) == '1') && (at(2) == '.' || at(2) == '*') &&
            IsDigit(at(3)))
            return GridValueVerdict::Complete;
        return GridValueVerdict::Wait;
    case 2:
        // One character only; anything else cannot be a value here.
        if (n == 1 && (IsDigit(typed) || typed == 'X' || typed == '*'))
            return GridValueVerdict::Complete;
        return GridValueVerdict::Reject;
    case 4:
        if (n == 1 && ((typed >= '0' && typed <= '4') || typed == '*' || typed == 'X'))
            return GridValueVerdict::Complete;
        if (text == "5*" || text == "5.")
            return GridValueVerdict::Complete;
        return GridValueVerdict::Wait;
    default:
        return GridValueVerdict::Wait;
    }
}

GridValueVerdict CGridValueEditCore::CheckDigit(std::string_view text, unsigned char typed, int lower, int upper)
{
    if (text.size() == 1 && typed >= lower && typed <= upper)
        return GridValueVerdict::Complete;
    return GridValueVerdict::Reject;
}

bool CGridValueEditCore::OnKeyDown(int key, unsigned modifiers)
{
    return !ShiftArrow(key, modifiers, false);
}

void CGridValueEditCore::OnChar(int ch, unsigned modifiers)
{
    if (LeaveKey(ch, modifiers))
        return;
    if (!m_grid.m_editMode)
        return;
    unsigned char upper = UpperAscii(static_cast<unsigned char>(ch));
    if (!Allowed(upper)) {
        Sound(GridSound::Default);
        return;
    }
    m_field.Type(upper);
    // Shorthand keys become what they stand for; the text keeps its length,
    // so the selection stays where it was.
    for (char& c : m_field.text)
        c = static_cast<char>(Mapped(UpperAscii(static_cast<unsigned char>(c))));
    Changed();

    unsigned char typed = Mapped(upper);
    bool caretAtEnd = m_field.Caret() == static_cast<int>(m_field.text.size());
    GridValueVerdict verdict;
    // What an impossible value sounds like.
    std::vector<GridSound> sounds;
    int mode = Mode();
    if (mode == 7 || mode == 8) {
        // One digit with a ceiling per row; columns 1 and 3 bound each other,
        // so the lower of a pair is never above the upper.
        int row = m_row;
        int limit = row >= 0 && row < static_cast<int>(m_column.m_rowLimits.size()) ? m_column.m_rowLimits[row] & 0xFF
                                                                                     : 0;
        int upperDigit = '0' + limit;
        int lowerDigit = '0';
        auto single = [&](int column) {
            std::string other = m_grid.GetItemText(row, column);
            int c = other.size() == 1 ? static_cast<unsigned char>(other[0]) : -1;
            return c >= '0' && c <= upperDigit ? c : -1;
        };
        sounds = {GridSound::Error, GridSound::Simple};
        if (m_columnNumber == 1) {
            if (int c = single(3); c >= 0)
                lowerDigit = c;
            verdict = CheckDigit(m_field.text, typed, lowerDigit, upperDigit);
        } else if (m_columnNumber == 3) {
            if (int c = single(1); c >= 0)
                upperDigit = c;
            verdict = CheckDigit(m_field.text, typed, lowerDigit, upperDigit);
        } else {
            verdict = GridValueVerdict::Reject;
            sounds = {GridSound::Default, GridSound::Error};
        }
    } else {
        verdict = Check(mode, m_field.text, typed, caretAtEnd);
        sounds = {GridSound::Default};
    }

    if (verdict == GridValueVerdict::Complete) {
        ForwardMove();
    } else if (verdict == GridValueVerdict::Reject) {
        m_field.text.clear();
        m_field.SetCaret(0);
        Changed();
        for (GridSound sound : sounds)
            Sound(sound);
    }
}

bool CGridValueEditCore::Passable(int column) const { return m_grid.GetColumnType(column) == GRID_FIXED; }

void CGridValueEditCore::EndEdit()
{
    // A cancelled value edit reports nothing: the cell keeps its value.
    if (m_cancel) {
        Report(nullptr);
        return;
    }
    std::string text = m_field.text;
    GridEditRecord record = CellRecord();
    record.text = text.data();
    record.textLength = static_cast<int>(text.size());
    record.param = GRID_VALUE_PARAM;
    Report(&record);
}
