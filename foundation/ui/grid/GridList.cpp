#include "foundation/ui/grid/GridList.h"

#include "foundation/grid/GridComboCore.h"
#include "foundation/grid/GridEditorCore.h"
#include "foundation/ui/grid/GridCombo.h"
#include "foundation/ui/grid/GridEdit.h"
#include "platform/ui/KitWindow.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/UiText.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cstdlib>
#include <string>

// The header's texts and alignments, read from the grid's columns.
class CGridHeaderModel : public QAbstractTableModel {
public:
    CGridHeaderModel(const CGridListCore& grid, QObject* parent) : QAbstractTableModel(parent), m_grid(grid) {}

    int rowCount(const QModelIndex&) const override { return 0; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_columns; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= m_grid.GetColumnCount())
            return {};
        if (role == Qt::DisplayRole)
            return platform::ToQt(m_grid.GetColumnHeader(section));
        if (role == Qt::TextAlignmentRole) {
            GridAlign align = m_grid.GetColumnFormat(section);
            Qt::Alignment h = align == GridAlign::Right    ? Qt::AlignRight
                              : align == GridAlign::Center ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
            return QVariant::fromValue(static_cast<int>(h | Qt::AlignVCenter));
        }
        return {};
    }

    // Takes the grid's columns again; true when their number changed.
    bool Sync()
    {
        int columns = m_grid.GetColumnCount();
        if (columns != m_columns) {
            beginResetModel();
            m_columns = columns;
            endResetModel();
            return true;
        }
        if (columns > 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns - 1);
        return false;
    }

private:
    const CGridListCore& m_grid;
    int m_columns = 0;
};

QKeyEvent* TabKeyPress(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return nullptr;
    auto* key = static_cast<QKeyEvent*>(event);
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ? key : nullptr;
}

GridKeyStroke GridKeyOf(const QKeyEvent* event)
{
    GridKeyStroke stroke;
    Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::ShiftModifier)
        stroke.modifiers |= GM_SHIFT;
    if (mods & Qt::ControlModifier)
        stroke.modifiers |= GM_CTRL;
    if (mods & Qt::AltModifier)
        stroke.modifiers |= GM_ALT;
    int key = event->key();
    switch (key) {
    case Qt::Key_Backtab:
        stroke.modifiers |= GM_SHIFT;
        stroke.key = GK_TAB;
        break;
    case Qt::Key_Tab: stroke.key = GK_TAB; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: stroke.key = GK_RETURN; break;
    case Qt::Key_Escape: stroke.key = GK_ESCAPE; break;
    case Qt::Key_Space: stroke.key = GK_SPACE; break;
    case Qt::Key_Backspace: stroke.key = GK_BACK; break;
    case Qt::Key_PageUp: stroke.key = GK_PRIOR; break;
    case Qt::Key_PageDown: stroke.key = GK_NEXT; break;
    case Qt::Key_End: stroke.key = GK_END; break;
    case Qt::Key_Home: stroke.key = GK_HOME; break;
    case Qt::Key_Left: stroke.key = GK_LEFT; break;
    case Qt::Key_Up: stroke.key = GK_UP; break;
    case Qt::Key_Right: stroke.key = GK_RIGHT; break;
    case Qt::Key_Down: stroke.key = GK_DOWN; break;
    case Qt::Key_Delete: stroke.key = GK_DELETE; break;
    case Qt::Key_F4: stroke.key = GK_F4; break;
    default:
        // Letters and digits have their own codes; any other key only types.
        stroke.key = (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ? key : 0xFF;
        break;
    }
    int typed = -1;
    QString text = event->text();
    if (text.size() == 1 && text[0].unicode() >= 0x20) {
        std::string bytes = platform::FromQt(text);
        // A character the code page lacks comes back as '?': it types nothing.
        if (bytes.size() == 1 && (bytes[0] != '?' || text == QStringLiteral("?")))
            typed = static_cast<unsigned char>(bytes[0]);
    }
    stroke.ch = GridKeyChar(stroke.key, stroke.modifiers, typed);
    return stroke;
}

namespace {

QRect ToQRect(const platform::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

CGridList::CGridList(QWidget* parent) : QAbstractScrollArea(parent)
{
    m_rowHeight = fontMetrics().height() + 4;
    // A left click takes the focus through the grid's own rules; a right
    // click leaves it where it is.
    setFocusPolicy(Qt::TabFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_headerModel = new CGridHeaderModel(*this, this);
    m_header = new QHeaderView(Qt::Horizontal, this);
    m_header->setModel(m_headerModel);
    // A click on a header tells the owner; the header itself neither sorts
    // nor highlights.
    m_header->setSectionsClickable(true);
    m_header->setSortIndicatorShown(false);
    m_header->setHighlightSections(false);
    m_header->setStretchLastSection(false);
    m_header->setMinimumSectionSize(0);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setFocusPolicy(Qt::NoFocus);
    connect(m_header, &QHeaderView::sectionClicked, this, [this](int column) { OnHeaderClick(column); });
    connect(m_header, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!m_layingOut)
            SetColumnWidth(column, width);
    });
    // The user scrolls: the grid takes the focus first (ending an open
    // editor), then the bar goes where the user sent it.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int) {
            if (m_layingOut)
                return;
            int target = bar->sliderPosition();
            Call call(*this);
            OnScrollRequest();
            bar->setSliderPosition(target);
        });
    }

    SetView(static_cast<CGridView*>(this));
    LayoutHeader();
}

CGridList::~CGridList()
{
    // Focus moves while the windows go are no user's: nothing is reported.
    ++m_syncing;
    if (QWidget* editor = m_editorWindow) {
        if (auto* edit = dynamic_cast<CGridEdit*>(editor))
            edit->Detach();
        else if (auto* combo = dynamic_cast<CGridCombo*>(editor))
            combo->Detach();
        delete editor;
    }
    SetView(nullptr);
}

intptr_t CGridList::Send(unsigned message, intptr_t wParam, intptr_t lParam)
{
    if (Owner())
        return CGridListCore::Send(message, wParam, lParam);
    return platform::SendMessage(this, static_cast<int>(message), wParam, lParam);
}

void CGridList::SetRowHeight(int height)
{
    m_rowHeight = std::max(1, height);
    RedrawAll();
}

// ---- Drawing

QColor CGridList::Color(GridColor color) const
{
    const QPalette& pal = palette();
    switch (color) {
    case GridColor::Window: return pal.color(QPalette::Base);
    case GridColor::WindowText: return pal.color(QPalette::Text);
    case GridColor::Highlight: return pal.color(QPalette::Highlight);
    case GridColor::HighlightText: return pal.color(QPalette::HighlightedText);
    case GridColor::Light3D: return pal.color(QPalette::Midlight);
    case GridColor::GrayText: return pal.color(QPalette::Disabled, QPalette::Text);
    case GridColor::ButtonShadow: return pal.color(QPalette::Dark);
    case GridColor::ButtonFace: return pal.color(QPalette::Button);
    case GridColor::Red: return QColor(255, 0, 0);
    }
    return pal.color(QPalette::Base);
}

void CGridList::SetCellColors(QPainter& painter, int row, int column) const
{
    GridCellColors colors = CellColors(row, column);
    painter.setBrush(Color(colors.background));
    painter.setPen(Color(colors.text));
}

QRect CGridList::CellRect(int row, int column) const
{
    platform::Rect item = GetItemRect(row);
    return QRect(item.left + ColumnLeft(column), item.top, GetColumnWidth(column), item.Height());
}

void CGridList::DrawCell(QPainter& painter, const QRect& cell, int column, std::string_view text) const
{
    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    painter.fillRect(cell, painter.brush());
    QPen textPen = painter.pen();
    painter.setPen(Color(GridColor::ButtonFace));
    painter.drawLine(cell.left(), cell.top(), cell.left(), cell.bottom());
    painter.setPen(textPen);
    if (GetColumnType(column) == GRID_CHECK) {
        // A square as high as the row, 5 pixels in; ticked for a non-zero number.
        std::string number(text);
        bool ticked = std::strtol(number.c_str(), nullptr, 10) != 0;
        int side = cell.height();
        QStyleOptionButton box;
        box.initFrom(this);
        box.rect = QRect(cell.left() + 5, cell.top(), side, side).adjusted(2, 2, -2, -2);
        box.state = QStyle::State_Enabled | (ticked ? QStyle::State_On : QStyle::State_Off);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, this);
    } else {
        const CGridColumn* def = Column(column);
        bool left = def && def->m_leftAlign;
        QRect area = left ? cell.adjusted(5, 0, 0, 0) : cell.adjusted(0, 0, -5, 0);
        QString shown = painter.fontMetrics().elidedText(platform::ToQt(text), Qt::ElideRight, std::max(0, area.width()));
        painter.drawText(area, Qt::AlignVCenter | Qt::TextSingleLine | (left ? Qt::AlignLeft : Qt::AlignRight), shown);
    }
    painter.restore();
}

void CGridList::DrawRowCells(QPainter& painter, int row, const QRect& rect, const CellColorsHook& own) const
{
    // The cells sit one pixel up, so that the grid line below each row shows.
    QRect item = rect.translated(0, -1);
    for (int column = 0; column < GetColumnCount(); ++column) {
        int left = item.left() + ColumnLeft(column);
        int right = std::min(item.left() + item.width(), left + GetColumnWidth(column));
        if (right <= left)
            continue;
        SetCellColors(painter, row, column);
        if (own)
            own(painter, row, column);
        DrawCell(painter, QRect(left, item.top(), right - left, item.height()), column, GetItemText(row, column));
    }
}

void CGridList::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Color(GridColor::Window));
    int first = GetTopIndex();
    int last = std::min(GetItemCount() - 1, first + GetCountPerPage());
    for (int row = first; row <= last; ++row) {
        QRect rect = ToQRect(GetItemRect(row));
        painter.save();
        if (m_drawItem)
            m_drawItem(painter, row, rect);
        else
            DrawRowCells(painter, row, rect);
        painter.restore();
    }
    // Grid lines under each row.
    painter.setPen(Color(GridColor::ButtonFace));
    for (int row = first; row <= last; ++row) {
        QRect rect = ToQRect(GetItemRect(row));
        painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    }
}

// ---- Events

bool CGridList::event(QEvent* event)
{
    // Tab goes through the grid's rules while no edit is in progress.
    if (QKeyEvent* tab = TabKeyPress(event); tab && TakesKey(GK_TAB)) {
        keyPressEvent(tab);
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void CGridList::keyPressEvent(QKeyEvent* event)
{
    Call call(*this);
    // Ctrl or Shift held for a click or a key to come: rows selected
    // together stay as they are.
    const int key = event->key();
    if (m_multiSelect &&
        (key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta)) {
        event->accept();
        return;
    }
    GridKeyStroke stroke = GridKeyOf(event);
    if (!KeyPress(stroke.key, stroke.modifiers, stroke.ch)) {
        event->ignore();  // the dialog's: Escape, and Tab or Enter during an edit
        return;
    }
    event->accept();
}

void CGridList::mousePressEvent(QMouseEvent* event)
{
    Call call(*this);
    QPoint at = event->position().toPoint();
    unsigned modifiers = GM_NONE;
    if (event->modifiers() & Qt::ShiftModifier)
        modifiers |= GM_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        modifiers |= GM_CTRL;
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(at.x(), at.y(), modifiers);
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(at.x(), at.y());
    event->accept();
}

void CGridList::mouseDoubleClickEvent(QMouseEvent* event)
{
    Call call(*this);
    QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk(at.x(), at.y());
    event->accept();
}

void CGridList::wheelEvent(QWheelEvent* event)
{
    {
        Call call(*this);
        OnScrollRequest();
    }
    QAbstractScrollArea::wheelEvent(event);
}

void CGridList::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (Syncing() || event->reason() == Qt::PopupFocusReason)
        return;
    Call call(*this);
    WindowFocusIn();
}

void CGridList::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    if (Syncing() || event->reason() == Qt::PopupFocusReason)
        return;
    Call call(*this);
    WindowFocusOut();
}

void CGridList::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    LayoutHeader();
    if (m_layingOut)
        return;
    // The view may now hold the current cell differently; keep the scroll
    // position within the list.
    SetScrollPosition(GetScrollX(), GetTopIndex());
    SyncScrollBars();
}

void CGridList::scrollContentsBy(int, int)
{
    if (m_layingOut)
        return;
    SetScrollPosition(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

// ---- CGridView

int CGridList::ClientWidth() const { return viewport()->width(); }

int CGridList::ClientHeight() const { return viewport()->height(); }

int CGridList::ListItemHeight() const { return fontMetrics().height(); }

int CGridList::TextWidth(std::string_view text) const { return fontMetrics().horizontalAdvance(platform::ToQt(text)); }

void CGridList::RedrawRow(int row)
{
    platform::Rect rect = GetItemRect(row);
    viewport()->update(QRect(0, rect.top - 1, viewport()->width(), rect.Height() + 2));
}

void CGridList::RedrawAll()
{
    SyncHeader();
    SyncScrollBars();
    viewport()->update();
}

void CGridList::SyncHeader()
{
    if (m_layingOut)
        return;
    m_layingOut = true;
    bool changed = m_headerModel->Sync();
    for (int c = 0; c < GetColumnCount(); ++c)
        if (m_header->sectionSize(c) != GetColumnWidth(c))
            m_header->resizeSection(c, GetColumnWidth(c));
    m_header->setOffset(GetScrollX());
    m_layingOut = false;
    if (changed)
        LayoutHeader();
}

void CGridList::SyncScrollBars()
{
    if (m_layingOut)
        return;
    m_layingOut = true;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, MaxScrollX());
    h->setPageStep(std::max(1, ClientWidth()));
    h->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
    h->setValue(GetScrollX());
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, MaxTopIndex());
    v->setPageStep(GetCountPerPage());
    v->setSingleStep(1);
    v->setValue(GetTopIndex());
    m_header->setOffset(GetScrollX());
    m_layingOut = false;
}

int CGridList::HeaderHeight() const { return m_header->sizeHint().height(); }

void CGridList::LayoutHeader()
{
    int height = HeaderHeight();
    setViewportMargins(0, height, 0, 0);
    QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - height, area.width(), height);
}

void CGridList::FocusGrid()
{
    ++m_syncing;
    setFocus(Qt::OtherFocusReason);
    --m_syncing;
}

void CGridList::OpenEditorWindow(CGridEditorCore& editor)
{
    QWidget* window = nullptr;
    switch (editor.Kind()) {
    case GRID_TEXT: window = new CGridEdit(*this, editor); break;
    case GRID_VALUE: window = new CGridValueEdit(*this, editor); break;
    case GRID_CHOICE: window = new CGridCombo(*this, static_cast<CGridComboCore&>(editor)); break;
    default: return;
    }
    m_editorWindow = window;
    EditorChanged(editor);
    window->show();
    ++m_syncing;
    window->setFocus(Qt::OtherFocusReason);
    --m_syncing;
}

void CGridList::EditorChanged(CGridEditorCore&)
{
    if (auto* edit = dynamic_cast<CGridEdit*>(m_editorWindow.data()))
        edit->Refresh();
    else if (auto* combo = dynamic_cast<CGridCombo*>(m_editorWindow.data()))
        combo->Refresh();
}

void CGridList::CloseEditorWindow(CGridEditorCore&)
{
    QWidget* window = m_editorWindow;
    if (!window)
        return;
    m_editorWindow = nullptr;
    if (auto* edit = dynamic_cast<CGridEdit*>(window))
        edit->Detach();
    else if (auto* combo = dynamic_cast<CGridCombo*>(window))
        combo->Detach();
    ++m_syncing;
    // An editor that still holds the focus (its window went inactive) hands
    // it to the grid, so that hiding it does not pass it to another control.
    if (window->window()->focusWidget() == window)
        setFocus(Qt::OtherFocusReason);
    window->hide();
    --m_syncing;
    window->deleteLater();
}

void CGridList::Sound(GridSound sound)
{
    platform::BeepKind kind = sound == GridSound::Error ? platform::BeepKind::Stop : platform::BeepKind::Default;
    platform::CurrentPrompter().Beep(kind);
}
