#pragma once
// The text editor of GRID_TEXT cells: free text, starting from the column's
// choice text 0 (which the owner fills when asked to begin the edit). The box
// grows to the right as the text gets longer, up to the grid's edge.
#include "foundation/grid/GridEditorCore.h"

class CGridEditCore : public CGridEditorCore {
public:
    CGridEditCore(CGridListCore& grid, CGridColumn& column);

    int Kind() const override { return GRID_TEXT; }
    bool OnKeyDown(int key, unsigned modifiers) override;
    void OnChar(int ch, unsigned modifiers) override;

    GridEditField* EditField() override { return &m_field; }
    GridEditField& Field() { return m_field; }
    const GridEditField& Field() const { return m_field; }

protected:
    void EndEdit() override;

private:
    GridEditField m_field;
};
