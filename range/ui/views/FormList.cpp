#include "range/ui/views/FormList.h"

#include "foundation/grid/GridMessages.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/ui/UiText.h"
#include "platform/ui/draw/DrawSurface.h"
#include "range/base/RangeObjects.h"
#include "range/lanes/ShotFlags.h"
#include "range/run/RangeControl.h"
#include "range/ui/views/FrameNavigation.h"
#include "range/ui/views/LaneImages.h"
#include "range/ui/views/ViewActions.h"
#include "range/views/LaneCells.h"
#include "range/views/LaneColumns.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

const ControlTemplate kControls[] = {
    {.id = CFormList::IDC_LIST, .kind = ControlKind::Custom, .row = 0, .col = 0, .style = platform::CS_STRETCH},
};
const platform::DialogTemplate kTemplate{.id = CFormList::IDD, .cx = 300, .cy = 200, .controls = kControls};

// Rows are 17 pixels high, or as high as the font needs.
constexpr int kRowHeight = 17;

QColor ColourOf(LaneCells::Colour colour, const CGridList& grid)
{
    switch (colour) {
    case LaneCells::Colour::Window: return grid.Color(GridColor::Window);
    case LaneCells::Colour::WindowText: return grid.Color(GridColor::WindowText);
    default: {
        uint32_t rgb = LaneCells::Rgb(colour);
        return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    }
}

}  // namespace

CFormList::CFormList(RangeObjects& objects, RangeControl& range, FrameNavigation& navigation, ViewActions& actions,
                     QWidget* parent)
    : platform::FormView(kTemplate, parent),
      m_obj(objects),
      m_range(range),
      m_navigation(navigation),
      m_actions(actions)
{
    // The lists' font: the kit's stand-in for the dialogs' sans serif.
    m_font = QFont(platform::FontFamilyFor("MS Sans Serif"));
    m_font.setPointSize(8);
    m_grid = new CGridList(this);
    SetCustomControl(IDC_LIST, m_grid);
    m_grid->SetControlId(IDC_LIST);
    m_grid->setFont(m_font);
    m_grid->SetRowHeight(std::max(kRowHeight, QFontMetrics(m_font).height() + 4));
    m_grid->SetDrawItem([this](QPainter& p, int row, const QRect& r) { DrawRow(p, row, r); });
    m_grid->viewport()->installEventFilter(this);
    // The grid starts two pixels below the view's top.
    if (layout())
        layout()->setContentsMargins(0, 2, 0, 0);
}

CFormList::~CFormList() = default;

void CFormList::OnInitialUpdate()
{
    platform::FormView::OnInitialUpdate();
    m_initialised = true;
}

uint8_t CFormList::CodeOf(int column) const
{
    return column >= 0 && column < static_cast<int>(m_codes.size()) ? m_codes[static_cast<size_t>(column)] : 0;
}

void CFormList::BuildColumns(int view)
{
    ++builds;
    uint8_t previous = m_codes.size() > LaneColumns::kFixedColumns ? m_codes[LaneColumns::kFixedColumns] : 0;
    m_view = view;
    m_codes = LaneColumns::ViewCodes(view, previous);
    while (m_grid->GetColumnCount() > 0)
        m_grid->DeleteColumn(m_grid->GetColumnCount() - 1);
    m_grid->m_columns.clear();

    RangeObjects& obj = m_obj;
    LaneColumns::ColumnContext context;
    context.language = &obj.language;
    context.types = &obj.targetTypes;
    context.startNumbers = obj.Options().IsOn(CompOptions::StartNumbers);
    context.motor = obj.RangeInt(RangeItems::kMotor) != 0;
    QFontMetrics metrics(m_font);
    auto width = [&](std::string_view text) { return metrics.horizontalAdvance(platform::ToQt(text)); };
    for (size_t i = 0; i < m_codes.size(); ++i) {
        int c = static_cast<int>(i);
        LaneColumns::Column column = LaneColumns::ColumnOf(m_codes[i], context);
        m_grid->InsertColumn(c, column.header, column.right ? GridAlign::Right : GridAlign::Left,
                             LaneColumns::ColumnWidth(column, width));
        m_grid->SetColumnType(c, 0, 0);
        m_grid->Column(c)->m_leftAlign = column.right ? 0 : 1;
    }
    FillRows();
}

void CFormList::FillRows()
{
    m_grid->DeleteAllItems();
    std::vector<int> lanes = LaneCells::ListedLanes(m_obj);
    for (size_t i = 0; i < lanes.size(); ++i) {
        int row = m_grid->InsertItem(static_cast<int>(i), std::to_string(lanes[i]));
        m_grid->SetItemData(row, lanes[i]);
    }
    // Rows can be selected, never edited.
    m_grid->m_rowCount = static_cast<int16_t>(lanes.size());
    m_grid->RedrawItems(0, m_grid->GetItemCount() - 1);
}

int CFormList::LaneOfRow(int row) const
{
    return row >= 0 && row < m_grid->GetItemCount() ? static_cast<int>(m_grid->GetItemData(row)) : 0;
}

int CFormList::RowOfLane(int lane) const
{
    for (int row = 0; row < m_grid->GetItemCount(); ++row)
        if (m_grid->GetItemData(row) == lane)
            return row;
    return -1;
}

void CFormList::RedrawRows(int firstLane, int lastLane)
{
    int first = -1, last = -1;
    for (int row = 0; row < m_grid->GetItemCount(); ++row) {
        int lane = LaneOfRow(row);
        if (first < 0 && lane >= firstLane)
            first = row;
        if (lane <= lastLane)
            last = row;
    }
    if (first >= 0 && last >= first)
        m_grid->RedrawItems(first, last);
}

void CFormList::RedrawAll() { m_grid->RedrawItems(0, m_grid->GetItemCount() - 1); }

void CFormList::SetHeaderText(int column, std::string_view text) { m_grid->SetColumnHeader(column, text); }

void CFormList::DrawRow(QPainter& painter, int row, const QRect& rect)
{
    RangeObjects& obj = m_obj;
    const int lane = LaneOfRow(row);
    if (lane == 0)
        return;
    painter.setFont(m_font);
    // The cells sit one pixel up, so that the grid line below each row shows.
    QRect item = rect.translated(0, -1);
    for (int column = 0; column < m_grid->GetColumnCount(); ++column) {
        int left = item.left() + m_grid->ColumnLeft(column);
        int right = std::min(item.right() + 1, left + m_grid->GetColumnWidth(column));
        if (right <= left)
            continue;
        QRect cell(left, item.top(), right - left, item.height());
        uint8_t code = CodeOf(column);
        LaneCells::Colours colours = LaneCells::ColoursOf(obj, lane, code);
        painter.save();
        painter.setClipRect(cell, Qt::IntersectClip);
        painter.fillRect(cell, ColourOf(colours.background, *m_grid));
        painter.setPen(m_grid->Color(GridColor::ButtonFace));
        painter.drawLine(cell.left(), cell.top(), cell.left(), cell.bottom());
        painter.setPen(ColourOf(colours.text, *m_grid));
        if (column == 0) {
            const QPixmap& image = LaneImages::Image(LaneCells::StatusImage(obj, lane));
            painter.drawPixmap(QRect(cell.right() + 1 - 16, cell.top() + 1, LaneImages::kWidth, LaneImages::kHeight),
                               image);
            QRect number = cell.adjusted(0, 0, -19, 0);
            painter.drawText(number, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                             platform::ToQt(LaneCells::Text(obj, lane, code)));
        } else {
            const CGridColumn* def = m_grid->Column(column);
            bool leftAligned = def && def->m_leftAlign;
            QRect area = leftAligned ? cell.adjusted(3, 0, 0, 0) : cell.adjusted(0, 0, -3, 0);
            QString text = painter.fontMetrics().elidedText(platform::ToQt(LaneCells::Text(obj, lane, code)),
                                                            Qt::ElideRight, std::max(0, area.width()));
            painter.drawText(area,
                             Qt::AlignVCenter | Qt::TextSingleLine | (leftAligned ? Qt::AlignLeft : Qt::AlignRight),
                             text);
        }
        painter.restore();
    }
}

void CFormList::OnItemClick(int row, int column)
{
    int lane = LaneOfRow(row);
    uint8_t code = CodeOf(column);
    if (lane == 0 || code == 0)
        return;
    RangeObjects& obj = m_obj;
    bool flags = obj.CompInt(CompSettings::kSuperFinal) != 0;
    if (m_view == 3 && flags && LaneColumns::IsShot(code))
        m_range.shotFlags.ToggleShotFlag(lane, code - 1, ShotFlags::kToggle);
    else if (column < LaneColumns::kFixedColumns)
        m_actions.OnSimulate(lane);
    else if (m_view == 5 && LaneColumns::IsLift(code))
        m_range.commands.SendLift(lane, code);
}

void CFormList::OnHeaderClick(int column)
{
    uint8_t code = CodeOf(column);
    RangeObjects& obj = m_obj;
    bool flags = obj.CompInt(CompSettings::kSuperFinal) != 0;
    if (column >= 0 && column < LaneColumns::kFixedColumns) {
        m_actions.OnSimulate(0);
    } else if (m_view == 3 && flags && LaneColumns::IsShot(code)) {
        std::vector<int> lanes;
        for (int row = 0; row < m_grid->GetItemCount(); ++row)
            lanes.push_back(LaneOfRow(row));
        int lane = m_range.shotFlags.LowestShotLane(lanes, code - 1);
        if (lane != 0)
            m_range.shotFlags.ToggleShotFlag(lane, code - 1, ShotFlags::kSet);
    } else if (m_view == 5 && LaneColumns::IsLift(code)) {
        m_range.commands.SendLift(0, code);
    }
}

intptr_t CFormList::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    if (lParam != IDC_LIST)
        return 0;
    switch (static_cast<unsigned>(message)) {
    case WM_GRID_SELCHANGE:
        m_grid->m_editMode = 0;
        return 0;
    case WM_GRID_BEGINEDIT:
        // No cell of the list is edited.
        m_grid->m_editMode = 0;
        return -1;
    case WM_GRID_ENDEDIT:
        return 0;
    case WM_GRID_HEADERCLICK:
        OnHeaderClick(static_cast<int>(wParam));
        return 0;
    default:
        return 0;
    }
}

bool CFormList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            QPoint at = mouse->position().toPoint();
            GridHit hit = m_grid->SubItemHitTest(at.x(), at.y());
            if (hit.row >= 0 && hit.column >= 0)
                OnItemClick(hit.row, hit.column);
        }
    }
    return platform::FormView::eventFilter(watched, event);
}

void CFormList::OnSize(int cx, int cy)
{
    int selected = m_grid->GetSelectedItem();
    if (selected >= 0)
        m_grid->EnsureVisible(selected);
}

bool CFormList::OnHelpInfo(int controlId)
{
    m_navigation.HelpAt(this, controlId);
    return true;
}
