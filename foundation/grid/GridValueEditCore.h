#pragma once
// The shot value editor of GRID_VALUE cells. A value is typed in at most five
// characters, checked as it is typed; the row's value mode (the row's item
// data, handed over in the column's current choice) says when a value is
// complete, and a complete value moves on to the next cell at once, so a
// range officer can type a series of shots without touching Tab.
#include "foundation/grid/GridEditorCore.h"

#include <string_view>

// What a typed character made of the value.
enum class GridValueVerdict {
    Wait,      // not complete yet
    Complete,  // move on
    Reject,    // impossible: clear the text and sound
};

class CGridValueEditCore : public CGridEditorCore {
public:
    static constexpr size_t kLimit = 5;

    CGridValueEditCore(CGridListCore& grid, CGridColumn& column);

    int Kind() const override { return GRID_VALUE; }
    bool OnKeyDown(int key, unsigned modifiers) override;
    void OnChar(int ch, unsigned modifiers) override;

    GridEditField* EditField() override { return &m_field; }
    GridEditField& Field() { return m_field; }
    const GridEditField& Field() const { return m_field; }
    int Mode() const { return m_column.m_currentChoice; }

    // The characters a value may hold, after upper-casing (Backspace too).
    static bool Allowed(unsigned char upper);
    // The shorthand keys: apostrophe, C and I stand for '*', + and T for 'X',
    // the comma for the decimal point.
    static unsigned char Mapped(unsigned char upper);
    // The rule of a value mode, for modes other than 7 and 8: text is the
    // rewritten text, typed the mapped character just typed.
    static GridValueVerdict Check(int mode, std::string_view text, unsigned char typed, bool caretAtEnd);
    // Modes 7 and 8: one digit between lower and upper.
    static GridValueVerdict CheckDigit(std::string_view text, unsigned char typed, int lower, int upper);

protected:
    void EndEdit() override;
    bool Passable(int column) const override;

private:
    GridEditField m_field;
};
