#include "foundation/ui/grid/GridCombo.h"

#include "foundation/grid/GridComboCore.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/ui/UiText.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>

CGridCombo::CGridCombo(CGridList& grid, CGridComboCore& editor)
    : QWidget(grid.viewport()), m_grid(grid), m_editor(&editor)
{
    setFont(grid.font());
    setFocusPolicy(Qt::StrongFocus);
    m_list = new CGridComboList(*this);
    Refresh();
}

CGridCombo::~CGridCombo() { delete m_list; }

void CGridCombo::Detach()
{
    m_editor = nullptr;
    m_list->hide();
}

void CGridCombo::Refresh()
{
    if (!m_editor)
        return;
    // The field covers the cell; the editor's rectangle also holds the
    // room below it that the list may take.
    const platform::Rect& rect = m_editor->Rect();
    setGeometry(rect.left, rect.top + 3, rect.Width(), m_editor->ItemHeight());
    if (m_editor->Dropped()) {
        m_list->Place();
        m_list->show();
        m_list->raise();
        m_list->update();
    } else {
        m_list->hide();
    }
    update();
}

bool CGridCombo::event(QEvent* event)
{
    if (QKeyEvent* tab = TabKeyPress(event)) {
        keyPressEvent(tab);
        return true;
    }
    return QWidget::event(event);
}

void CGridCombo::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = false;
    option.frame = true;
    option.subControls = QStyle::SC_All;
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.fillRect(field, palette().color(QPalette::Base));
    if (!m_editor)
        return;
    // The typed text in window colours, the rest of the chosen text in
    // highlight colours after it.
    CGridComboCore::FieldText text = m_editor->Field();
    QString plain = platform::ToQt(text.plain);
    QString completion = platform::ToQt(text.completion);
    QFontMetrics metrics = fontMetrics();
    painter.setClipRect(field);
    int x = field.left() + 2;
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(x, field.top(), field.right() - x, field.height()),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, plain);
    x += metrics.horizontalAdvance(plain);
    if (!completion.isEmpty()) {
        QRect behind(x, field.top() + 1, metrics.horizontalAdvance(completion), field.height() - 2);
        painter.fillRect(behind, palette().color(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(QRect(x, field.top(), field.right() - x, field.height()),
                         Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, completion);
    }
}

void CGridCombo::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (!m_editor)
        return;
    CGridListCore::Call call(m_grid);
    GridKeyStroke stroke = GridKeyOf(event);
    m_editor->KeyPress(stroke.key, stroke.modifiers, stroke.ch);
    if (m_editor)
        Refresh();
}

void CGridCombo::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (!m_editor || event->button() != Qt::LeftButton)
        return;
    CGridListCore::Call call(m_grid);
    m_editor->FieldClick();
    if (m_editor)
        Refresh();
}

void CGridCombo::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (!m_editor || m_grid.Syncing() || event->reason() == Qt::PopupFocusReason)
        return;
    CGridListCore::Call call(m_grid);
    m_grid.EditorFocusOut(*m_editor);
}

// ---- The dropped list

CGridComboList::CGridComboList(CGridCombo& combo)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint), m_combo(combo)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(combo.font());
    setPalette(combo.palette());
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
        CGridComboCore* editor = m_combo.Editor();
        if (m_syncing || !editor)
            return;
        editor->SetTopIndex(value);
        update();
    });
}

CGridComboList::~CGridComboList() = default;

int CGridComboList::ItemHeight() const { return std::max(1, fontMetrics().height()); }

void CGridComboList::Place()
{
    CGridComboCore* editor = m_combo.Editor();
    if (!editor)
        return;
    int shown = editor->VisibleItems();
    int count = editor->ItemCount();
    int width = std::max(editor->ListWidth(), m_combo.width());
    int height = shown * ItemHeight() + 2;
    QPoint below = m_combo.mapToGlobal(QPoint(0, m_combo.height()));
    QPoint at = below;
    if (QScreen* screen = m_combo.screen()) {
        QRect room = screen->availableGeometry();
        QPoint above = m_combo.mapToGlobal(QPoint(0, 0)) - QPoint(0, height);
        if (below.y() + height > room.bottom() && above.y() >= room.top())
            at = above;
    }
    setGeometry(at.x(), at.y(), width, height);
    m_syncing = true;
    m_scroll->setVisible(count > shown);
    m_scroll->setRange(0, std::max(0, count - shown));
    m_scroll->setPageStep(shown);
    m_scroll->setValue(editor->TopIndex());
    m_syncing = false;
}

void CGridComboList::resizeEvent(QResizeEvent*)
{
    int w = m_scroll->sizeHint().width();
    m_scroll->setGeometry(width() - 1 - w, 1, w, height() - 2);
}

int CGridComboList::ItemTop(int index) const
{
    CGridComboCore* editor = m_combo.Editor();
    if (!editor || index < editor->TopIndex() || index >= editor->TopIndex() + editor->VisibleItems())
        return -1;
    return 1 + (index - editor->TopIndex()) * ItemHeight();
}

void CGridComboList::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    CGridComboCore* editor = m_combo.Editor();
    if (!editor)
        return;
    int right = width() - 1 - (m_scroll->isVisible() ? m_scroll->width() : 0);
    int top = editor->TopIndex();
    int last = std::min(editor->ItemCount(), top + editor->VisibleItems());
    for (int index = top; index < last; ++index) {
        QRect item(1, ItemTop(index), right - 1, ItemHeight());
        painter.save();
        painter.setClipRect(item);
        DrawItem(painter, index, item);
        painter.restore();
    }
}

void CGridComboList::DrawItem(QPainter& painter, int index, const QRect& rect) const
{
    const CGridComboCore& editor = *m_combo.Editor();
    const CGridColumn& column = editor.Column();
    bool selected = index == editor.ListSelection();
    QColor background = palette().color(selected ? QPalette::Highlight : QPalette::Base);
    QColor text = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
    QColor line = palette().color(QPalette::Button);
    bool multi = column.m_multiChoice != 0;
    painter.fillRect(rect, background);

    int left = rect.left();
    // One column: its background, a line at its left edge unless told
    // otherwise, and its text 5 pixels in, ended with an ellipsis.
    auto cell = [&](int width, const QString& value, bool withLine) {
        QRect area(left, rect.top(), width, rect.height());
        painter.fillRect(area, background);
        if (withLine) {
            painter.setPen(line);
            painter.drawLine(area.left(), area.top(), area.left(), area.bottom());
        }
        painter.setPen(text);
        QRect inner = area.adjusted(5, 0, 0, 0);
        QString shown = painter.fontMetrics().elidedText(value, Qt::ElideRight, std::max(0, inner.width()));
        painter.drawText(inner, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
        left += width;
    };

    if (column.m_listWidths[0] > 0) {
        if (multi) {
            // A check box as wide as the item is high; the text follows 1 pixel after it.
            int side = rect.height();
            QStyleOptionButton box;
            box.initFrom(this);
            box.rect = QRect(left, rect.top(), side, side).adjusted(1, 1, -1, -1);
            bool ticked = index < static_cast<int>(column.m_checks.size()) && column.m_checks[index];
            box.state = QStyle::State_Enabled | (ticked ? QStyle::State_On : QStyle::State_Off);
            painter.fillRect(QRect(left, rect.top(), side, side), background);
            style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, this);
            left += side + 1;
        } else {
            char code[16];
            int value = index < static_cast<int>(column.m_codes.size()) ? column.m_codes[index] : 0;
            std::snprintf(code, sizeof code, "%d", value);
            cell(column.m_listWidths[0], QString::fromLatin1(code), true);
        }
    }
    if (column.m_listWidths[1] > 0)
        cell(column.m_listWidths[1], platform::ToQt(column.m_texts[index].view()), !multi);
    if (column.m_listWidths[2] > 0 && index < static_cast<int>(column.m_texts2.size()))
        cell(column.m_listWidths[2], platform::ToQt(column.m_texts2[index].view()), true);
    if (column.m_listWidths[3] > 0 && index < static_cast<int>(column.m_texts3.size()))
        cell(column.m_listWidths[3], platform::ToQt(column.m_texts3[index].view()), true);

    if (selected && m_combo.hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect;
        focus.backgroundColor = background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void CGridComboList::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    CGridComboCore* editor = m_combo.Editor();
    if (!editor || event->button() != Qt::LeftButton)
        return;
    int right = width() - 1 - (m_scroll->isVisible() ? m_scroll->width() : 0);
    QPoint at = event->position().toPoint();
    CGridListCore::Call call(m_combo.Grid());
    editor->ListButtonDown(at.x() >= 1 && at.x() < right ? at.y() - 1 : -1);
    m_combo.Refresh();
}

void CGridComboList::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    CGridComboCore* editor = m_combo.Editor();
    if (!editor || event->button() != Qt::LeftButton)
        return;
    CGridListCore::Call call(m_combo.Grid());
    editor->ListButtonUp();
    m_combo.Refresh();
}

void CGridComboList::wheelEvent(QWheelEvent* event)
{
    event->accept();
    CGridComboCore* editor = m_combo.Editor();
    if (!editor)
        return;
    int steps = event->angleDelta().y() / 40;
    editor->SetTopIndex(editor->TopIndex() - steps);
    Place();
    update();
}
