#pragma once
// The choice editor on screen: a selection field over the cell and a list of
// our own that drops down below it. The list draws each choice in up to four
// columns (code or check box, text, second and third text) with a line in the
// button-face colour between them; a multi-choice list stays open while
// choices are ticked. What keys and clicks do is CGridComboCore's.
#include <QWidget>

class CGridList;
class CGridComboCore;
class CGridComboList;
class QScrollBar;

class CGridCombo : public QWidget {
public:
    CGridCombo(CGridList& grid, CGridComboCore& editor);
    ~CGridCombo() override;

    void Detach();
    // Shows the core's field, list and rectangle.
    void Refresh();
    CGridComboList* List() const { return m_list; }
    CGridComboCore* Editor() const { return m_editor; }
    CGridList& Grid() const { return m_grid; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CGridList& m_grid;
    CGridComboCore* m_editor;
    CGridComboList* m_list;
};

// The dropped list: a window of its own that never takes the focus, so that
// the keys stay with the selection field while it is open.
class CGridComboList : public QWidget {
public:
    explicit CGridComboList(CGridCombo& combo);
    ~CGridComboList() override;

    // Places the list below the field (above it when the screen has no room).
    void Place();
    // Position of an item's top edge in the list window, -1 when not shown.
    int ItemTop(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawItem(QPainter& painter, int index, const QRect& rect) const;
    int ItemHeight() const;

    CGridCombo& m_combo;
    QScrollBar* m_scroll;
    bool m_syncing = false;
};
