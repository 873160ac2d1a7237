#pragma once
// A grid with an owner that behaves like the dialogs do: it keeps the cell
// texts in the list, prepares each edit, stores each result, clears the edit
// mode when the focus leaves, and writes every message it gets into a log
// that the tests compare line by line.
//
//   "sel 2"              WM_GRID_SELCHANGE, row 2, from the grid
//   "sel -1@0"           the same from an editor (lParam 0)
//   "begin 1,4"          WM_GRID_BEGINEDIT for row 1, column 4
//   "header 3"           WM_GRID_HEADERCLICK for column 3
//   "end 1,4 'X'/1 123"  WM_GRID_ENDEDIT: row, column, text/length, parameter;
//                        "null" for no text, "@1138" for the grid's own id
//   "dbl 2,0"            WM_GRID_DBLCLK on row 2, column 0
#include "foundation/grid/GridEditorCore.h"
#include "foundation/grid/GridListCore.h"

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace gridtest {

constexpr intptr_t kGridId = 1138;

class RecordingOwner : public CGridOwner {
public:
    explicit RecordingOwner(CGridListCore& grid) : m_grid(grid) {}

    std::vector<std::string> log;
    std::set<std::pair<int, int>> vetoes;  // (row, column) refused on begin edit
    bool store = true;                     // write results back into the list

    intptr_t OnGridMessage(unsigned message, intptr_t wParam, intptr_t lParam) override
    {
        std::string suffix;
        char line[300];
        switch (message) {
        case WM_GRID_SELCHANGE:
            if (lParam != kGridId)
                suffix = "@" + std::to_string(lParam);
            log.push_back("sel " + std::to_string(wParam) + suffix);
            if (GridFocusLeft(wParam))
                m_grid.m_editMode = 0;
            return 0;
        case WM_GRID_BEGINEDIT: {
            int row = BeginEditRow(wParam);
            int column = BeginEditColumn(wParam);
            log.push_back("begin " + std::to_string(row) + "," + std::to_string(column));
            if (vetoes.count({row, column}))
                return 1;
            CGridColumn* def = m_grid.Column(column);
            std::string cell = m_grid.GetItemText(row, column);
            if (def && def->Kind() == GRID_TEXT)
                def->m_texts[0] = cell;
            else if (def && def->Kind() == GRID_CHOICE && !def->m_multiChoice)
                def->m_currentChoice = static_cast<int16_t>(def->FindText(cell));
            return 0;
        }
        case WM_GRID_ENDEDIT: {
            const GridEditRecord& r = *GridRecordOf(wParam);
            if (r.senderId != 0)
                suffix = "@" + std::to_string(r.senderId);
            std::string text = r.text ? "'" + std::string(r.text) + "'" : std::string("null");
            snprintf(line, sizeof line, "end %d,%d %s/%d %ld%s", r.row, r.column, text.c_str(), r.textLength,
                     static_cast<long>(r.param), suffix.c_str());
            log.push_back(line);
            if (store && r.row >= 0 && r.param != -1) {
                CGridColumn* def = m_grid.Column(r.column);
                if (def && def->Kind() == GRID_CHECK)
                    m_grid.SetItemText(r.row, r.column, m_grid.GetItemText(r.row, r.column) == "1" ? "0" : "1");
                else if (r.text)
                    m_grid.SetItemText(r.row, r.column, r.text);
            }
            return 0;
        }
        case WM_GRID_DBLCLK:
            log.push_back("dbl " + std::to_string(BeginEditRow(wParam)) + "," + std::to_string(BeginEditColumn(wParam)));
            return 0;
        case WM_GRID_HEADERCLICK:
            log.push_back("header " + std::to_string(wParam) + (lParam != kGridId ? "@" + std::to_string(lParam) : ""));
            return 0;
        default:
            log.push_back("unknown " + std::to_string(message));
            return 0;
        }
    }

    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }

private:
    CGridListCore& m_grid;
};

// Records the sounds and keeps fixed metrics: rows 16 pixels, texts 7
// pixels a character, 400 by 160 pixels of rows.
class RecordingView : public CGridView {
public:
    std::vector<GridSound> sounds;
    int clientWidth = 400;
    int openEditors = 0;
    int focusCalls = 0;

    int opened = 0;   // editors shown in all
    int silent = 0;   // editors that ended without a record (cancelled values)

    int ClientWidth() const override { return clientWidth; }
    void Sound(GridSound sound) override { sounds.push_back(sound); }
    void OpenEditorWindow(CGridEditorCore&) override
    {
        ++openEditors;
        ++opened;
    }
    void CloseEditorWindow(CGridEditorCore& editor) override
    {
        --openEditors;
        if (editor.Kind() == GRID_VALUE && editor.Cancelled())
            ++silent;
    }
    void FocusGrid() override { ++focusCalls; }
};

// The grid the tests share, laid out like a lane table:
//
//   column  0 lane  1 name   2 class   3 gauge  4 value  5 note        6 paid
//   kind    none    TEXT     CHOICE    FIXED    VALUE    TEXT (skip)   CHECK
//   width   50      60       60        50       50       60            40
//
// Five list rows, of which rows 0 to 3 are the grid's (row 4 is a sum row).
// First editable column 1; the last editable column is 6, but 4 in row 2
// and 5 in row 3.
inline void FillLaneGrid(CGridListCore& grid)
{
    const char* headers[] = {"Lane", "Name", "Class", "Gauge", "Value", "Note", "Paid"};
    int widths[] = {50, 60, 60, 50, 50, 60, 40};
    for (int c = 0; c < 7; ++c)
        grid.InsertColumn(c, headers[c], c == 0 || c == 4 ? GridAlign::Right : GridAlign::Left, widths[c]);
    grid.SetColumnType(0, 0, 0);
    grid.SetColumnType(1, GRID_TEXT, 0);
    grid.SetColumnType(2, GRID_CHOICE, 0);
    grid.SetColumnType(3, GRID_FIXED, 0);
    grid.SetColumnType(4, GRID_VALUE, 0);
    grid.SetColumnType(5, GRID_TEXT, 1);
    grid.SetColumnType(6, GRID_CHECK, 0);
    for (int c : {1, 2, 5})
        grid.Column(c)->m_leftAlign = 1;
    CGridColumn& classes = *grid.Column(2);
    const char* names[] = {"Alfa", "Bravo", "Charlie", "Charlotte", "Delta"};
    classes.SetChoiceCount(5);
    for (int i = 0; i < 5; ++i) {
        classes.m_codes[i] = static_cast<uint16_t>(i + 1);
        classes.m_texts[i] = names[i];
    }
    classes.m_listWidths[1] = 120;
    grid.m_firstColumn = 1;
    grid.m_defaultLastColumn = 6;
    const int last[] = {6, 6, 4, 5};
    for (int r = 0; r < 5; ++r) {
        grid.InsertItem(r, std::to_string(r + 1));
        grid.SetItemText(r, 1, "Name" + std::to_string(r + 1));
        grid.SetItemText(r, 2, "Bravo");
        grid.SetItemText(r, 3, "4.50mm");
        grid.SetItemText(r, 4, "9");
        grid.SetItemText(r, 6, "0");
        if (r < 4) {
            grid.m_rowCount = static_cast<int16_t>(r + 1);
            grid.m_lastColumn.push_back(static_cast<uint8_t>(last[r]));
        }
    }
}

struct LaneGrid {
    CGridListCore grid;
    RecordingView view;
    RecordingOwner owner{grid};

    LaneGrid()
    {
        grid.SetView(&view);
        grid.SetOwner(&owner, kGridId);
        FillLaneGrid(grid);
    }

    // The grid holds the focus at (row, column); the log is empty.
    void StartAt(int row, int column)
    {
        grid.m_currentRow = static_cast<int16_t>(row);
        grid.m_currentColumn = static_cast<int16_t>(column);
        grid.TakeFocus();
        grid.SelectRow(row, 1);
        owner.Take();
        view.sounds.clear();
    }

    // An editor open on (row, column); the log is empty.
    CGridEditorCore* EditAt(int row, int column)
    {
        StartAt(row, column);
        CGridEditorCore* editor = grid.EditCell(row, column);
        owner.Take();
        return editor;
    }

    // One key stroke to whatever has the focus: the open editor or the grid.
    void Stroke(int vk, unsigned modifiers, int typed)
    {
        int ch = GridKeyChar(vk, modifiers, typed);
        if (CGridEditorCore* editor = grid.Editor(); editor && !editor->Closed())
            editor->KeyPress(vk, modifiers, ch);
        else
            grid.KeyPress(vk, modifiers, ch);
    }

    // A key by its GridKey code (Space types a blank).
    void Press(int vk, unsigned modifiers = GM_NONE) { Stroke(vk, modifiers, vk == GK_SPACE ? ' ' : -1); }

    // Characters, each typed by its key: letters and digits by their own
    // key code, other characters by a key of the punctuation range.
    void Type(const std::string& text, unsigned modifiers = GM_NONE)
    {
        for (char c : text) {
            unsigned char ch = static_cast<unsigned char>(c);
            int vk = 0xBA;
            if (ch >= 'a' && ch <= 'z')
                vk = ch - 'a' + 'A';
            else if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ')
                vk = ch;
            else if (ch == '\b')
                vk = GK_BACK;
            Stroke(vk, modifiers, ch);
        }
    }

    std::pair<int, int> Current() const { return {grid.m_currentRow, grid.m_currentColumn}; }
};

}  // namespace gridtest
