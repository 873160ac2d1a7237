#pragma once
// The two edit boxes that open over a grid cell: CGridEdit for text cells and
// CGridValueEdit for shot values. The rules (what a key does, when a value is
// complete, where the edit goes next) are the core editor's; the box shows
// its text and selection and does the plain editing (caret keys, Delete,
// clipboard) itself.
#include <QLineEdit>

class CGridList;
class CGridEditorCore;
struct GridEditField;

class CGridEdit : public QLineEdit {
public:
    // editor: a CGridEditCore or CGridValueEditCore of grid.
    CGridEdit(CGridList& grid, CGridEditorCore& editor);
    ~CGridEdit() override;

    // The core editor has ended; nothing is forwarded any more.
    void Detach() { m_editor = nullptr; }
    // Shows the core's text, selection and rectangle.
    void Refresh();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    GridEditField* Field() const;
    // Takes over what the box's own editing did.
    void TakeFromBox();

    CGridList& m_grid;
    CGridEditorCore* m_editor;
};

class CGridValueEdit : public CGridEdit {
public:
    using CGridEdit::CGridEdit;
};
