#include "foundation/ui/grid/GridEdit.h"

#include "foundation/grid/GridEditorCore.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/ui/UiText.h"

#include <QFocusEvent>
#include <QKeyEvent>

CGridEdit::CGridEdit(CGridList& grid, CGridEditorCore& editor)
    : QLineEdit(grid.viewport()), m_grid(grid), m_editor(&editor)
{
    setFont(grid.font());
    setFrame(true);
    // Every character goes through the editor's rules as a key stroke; an
    // input method would put text into the box behind their back.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    Refresh();
}

CGridEdit::~CGridEdit() = default;

GridEditField* CGridEdit::Field() const { return m_editor ? m_editor->EditField() : nullptr; }

void CGridEdit::Refresh()
{
    GridEditField* field = Field();
    if (!field)
        return;
    QString text = platform::ToQt(field->text);
    if (this->text() != text)
        setText(text);
    if (field->selStart == field->selEnd)
        setCursorPosition(field->selEnd);
    else
        setSelection(field->selStart, field->selEnd - field->selStart);
    const platform::Rect& rect = m_editor->Rect();
    setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    GridAlign align = m_editor->Align();
    setAlignment((align == GridAlign::Right    ? Qt::AlignRight
                  : align == GridAlign::Center ? Qt::AlignHCenter
                                               : Qt::AlignLeft) |
                 Qt::AlignVCenter);
}

void CGridEdit::TakeFromBox()
{
    GridEditField* field = Field();
    if (!field)
        return;
    GridEditField before = *field;
    field->text = platform::FromQt(text());
    int caret = cursorPosition();
    if (hasSelectedText()) {
        int start = selectionStart();
        int end = start + static_cast<int>(selectedText().size());
        field->selEnd = caret;
        field->selStart = caret == start ? end : start;
    } else {
        field->selStart = field->selEnd = caret;
    }
    // Pasting cannot make a value longer than typing could.
    if (field->limit && field->text.size() > field->limit && field->text.size() > before.text.size()) {
        *field = before;
        Refresh();
    }
}

bool CGridEdit::event(QEvent* event)
{
    if (QKeyEvent* tab = TabKeyPress(event)) {
        keyPressEvent(tab);
        return true;
    }
    return QLineEdit::event(event);
}

void CGridEdit::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (!m_editor)
        return;
    CGridListCore::Call call(m_grid);
    GridKeyStroke stroke = GridKeyOf(event);
    bool toBox = m_editor->KeyPress(stroke.key, stroke.modifiers, stroke.ch);
    if (!m_editor)
        return;  // the edit ended or moved on
    if (toBox && stroke.ch < 0) {
        QLineEdit::keyPressEvent(event);
        event->accept();
        TakeFromBox();
    } else {
        Refresh();
    }
}

void CGridEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!m_editor || m_grid.Syncing() || event->reason() == Qt::PopupFocusReason)
        return;
    CGridListCore::Call call(m_grid);
    m_grid.EditorFocusOut(*m_editor);
}

void CGridEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    TakeFromBox();
}

void CGridEdit::mouseMoveEvent(QMouseEvent* event)
{
    QLineEdit::mouseMoveEvent(event);
    TakeFromBox();
}

void CGridEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    TakeFromBox();
}
