#pragma once
// The grid list on screen: the editable table of the forms and dialogs of all
// four programs. Everything it decides lives in CGridListCore (the rows, the
// current cell, the key and mouse rules, the editors' life, the messages to
// the owner); this window draws that state and forwards the window system's
// keys, clicks, scrolling and focus changes to it.
//
// The owner is the kit window the grid sits in: it gets WM_GRID_SELCHANGE,
// WM_GRID_BEGINEDIT and WM_GRID_ENDEDIT through its OnMessage, with the id
// given to SetControlId. An explicit CGridOwner (SetOwner) takes them instead.
// The owner draws the rows (SetDrawItem), taking the colours of each cell from
// SetCellColors; a grid without a drawer draws its item texts the same way.
#include "foundation/grid/GridListCore.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPointer>

#include <functional>
#include <memory>
#include <string_view>

class QEvent;
class QHeaderView;
class QKeyEvent;
class QPainter;
class CGridHeaderModel;

// A key event as the grid's rules see it: the key's code, Shift, Ctrl and
// Alt, and the character it types (-1 for none).
struct GridKeyStroke {
    int key = 0;
    unsigned modifiers = GM_NONE;
    int ch = -1;
};
GridKeyStroke GridKeyOf(const QKeyEvent* event);
// The press of Tab or Shift+Tab in an event, which the grid and its editors
// take through their own rules instead of the dialog's focus chain; nullptr
// for any other event.
QKeyEvent* TabKeyPress(QEvent* event);

class CGridList : public QAbstractScrollArea, public CGridListCore, private CGridView {
public:
    explicit CGridList(QWidget* parent = nullptr);
    ~CGridList() override;

    // The owner's drawing of one row: the painter, the row and the row's
    // rectangle in the rows area.
    using DrawItem = std::function<void(QPainter& painter, int row, const QRect& rect)>;
    void SetDrawItem(DrawItem draw) { m_drawItem = std::move(draw); }

    // Background (the painter's brush) and text colour (its pen) of one cell.
    void SetCellColors(QPainter& painter, int row, int column) const;
    QColor Color(GridColor color) const;
    // The rectangle of a cell in the rows area.
    QRect CellRect(int row, int column) const;
    // One cell as the grid dialogs draw it, in the painter's colours: the
    // background, a line in the button-face colour at the left edge, then a
    // check box as high as the row (ticked when the text reads as a non-zero
    // number) for a check column, or else the text on one line, vertically
    // centred, 5 pixels in from the side of the column's alignment and ended
    // with an ellipsis when it does not fit.
    void DrawCell(QPainter& painter, const QRect& cell, int column, std::string_view text) const;
    // An owner's own colours of a cell, set on the painter after the grid's.
    using CellColorsHook = std::function<void(QPainter& painter, int row, int column)>;
    // Every cell of a row from the list's texts, each in its own colours.
    void DrawRowCells(QPainter& painter, int row, const QRect& rect, const CellColorsHook& own = {}) const;

    void SetRowHeight(int height);
    int GetRowHeight() const { return m_rowHeight; }
    // Height of the column headers above the rows.
    int HeaderHeight() const;

    // The editor window that is open, if any.
    QWidget* EditorWindow() const { return m_editorWindow; }
    // The grid is moving the focus itself; the focus events that follow are
    // already accounted for.
    bool Syncing() const { return m_syncing > 0; }

    intptr_t Send(unsigned message, intptr_t wParam, intptr_t lParam) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // CGridView
    int ClientWidth() const override;
    int ClientHeight() const override;
    int RowHeight() const override { return m_rowHeight; }
    int ListItemHeight() const override;
    int TextWidth(std::string_view text) const override;
    void RedrawRow(int row) override;
    void RedrawAll() override;
    void FocusGrid() override;
    void OpenEditorWindow(CGridEditorCore& editor) override;
    void EditorChanged(CGridEditorCore& editor) override;
    void CloseEditorWindow(CGridEditorCore& editor) override;
    void Sound(GridSound sound) override;

    void SyncHeader();
    void SyncScrollBars();
    void LayoutHeader();

    QHeaderView* m_header;
    CGridHeaderModel* m_headerModel;
    QPointer<QWidget> m_editorWindow;
    DrawItem m_drawItem;
    int m_rowHeight;
    int m_syncing = 0;
    bool m_layingOut = false;
};
