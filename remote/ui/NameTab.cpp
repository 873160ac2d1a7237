#include "remote/ui/NameTab.h"

#include "foundation/grid/GridMessages.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/UiText.h"

#include <QPainter>
#include <QShowEvent>

#include <algorithm>

using namespace platform;

namespace {

const ControlTemplate kControls[] = {
    {.id = 1095, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_NAME_EVENT"},
    {.id = 1097, .kind = ControlKind::ComboList, .row = 0, .col = 1, .colSpan = 3},
    {.id = 1096, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_NAME_COMP"},
    {.id = 1098, .kind = ControlKind::ComboList, .row = 1, .col = 1, .colSpan = 3},
    {.id = 1092, .kind = ControlKind::Static, .row = 2, .col = 0, .key = "IDS_NAME_STATIC_RELAY"},
    {.id = 1093, .kind = ControlKind::Edit, .row = 2, .col = 1, .style = CS_NUMBER},
    {.id = 1094, .kind = ControlKind::Spin, .row = 2, .col = 2, .buddy = 1093, .min = 1, .max = 9999},
    {.id = CNameTab::IDC_GRID, .kind = ControlKind::Custom, .row = 3, .col = 0, .colSpan = 4, .style = CS_STRETCH},
    {.id = 1099, .kind = ControlKind::Button, .row = 4, .col = 0, .key = "IDS_NAME_BUTTON_DEL"},
    {.id = 1100, .kind = ControlKind::Button, .row = 4, .col = 1, .key = "IDS_NAME_DELLINE"},
};
const DialogTemplate kName{.id = 132, .cx = 330, .cy = 214, .controls = kControls};

struct Column {
    const char* key;
    int width;
    int kind;
    bool left;
};
// Lane, name, club, class, category, start score.
const Column kColumns[NameList::kColumns] = {
    {"IDS_NAME_H0", 40, GRID_FIXED, false}, {"IDS_NAME_H1", 130, GRID_TEXT, true},
    {"IDS_NAME_H2", 130, GRID_TEXT, true},  {"IDS_NAME_H3", 55, GRID_TEXT, true},
    {"IDS_NAME_H4", 55, GRID_TEXT, true},   {"IDS_NAME_H5", 75, GRID_TEXT, false},
};
constexpr int kFirstEditable = 1;
constexpr int kLastEditable = NameList::kColumns - 1;

}  // namespace

CNameTab::CNameTab(RemoteSettings& settings, QWidget* parent)
    : RemotePage(kName, settings, parent), m_grid(new CGridList(this)), m_boxes(*this, settings, 1097, 1098)
{
    SetCustomControl(IDC_GRID, m_grid);
    m_grid->SetControlId(IDC_GRID);
    m_grid->SetDrawItem([this](QPainter& painter, int row, const QRect& rect) { DrawRow(painter, row, rect); });
    OnSelChange(1097, [this] {
        if (m_boxes.EventChosen()) {
            m_relay = -1;
            FillList();
        }
    });
    OnSelChange(1098, [this] {
        if (m_boxes.CompChosen()) {
            m_relay = -1;
            FillList();
        }
    });
    OnChange(1093, [this] {
        if (!m_initialised)
            return;
        bool ok = false;
        int relay = item(1093).number(&ok);
        if (ok && relay != m_relay) {
            m_relay = relay;
            FillList();
        }
    });
    OnClick(1099, [this] { OnClearRelay(); });
    OnClick(1100, [this] { OnClearLine(); });
}

bool CNameTab::OnInitDialog()
{
    Dialog::OnInitDialog();
    DefineColumns();
    SetTexts();
    m_boxes.FillEvents();
    m_initialised = true;
    return true;
}

void CNameTab::DefineColumns()
{
    CGridList& g = *m_grid;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    for (int c = 0; c < NameList::kColumns; ++c) {
        const Column& column = kColumns[c];
        g.InsertColumn(c, TextOfKey(column.key), column.left ? GridAlign::Left : GridAlign::Right,
                       FittedWidth(c, column.width));
        g.SetColumnType(c, column.kind, 0);
        g.Column(c)->m_leftAlign = column.left ? 1 : 0;
    }
    g.m_firstColumn = kFirstEditable;
    g.m_defaultLastColumn = kLastEditable;
}

// A column at least as wide as its heading, so that no language cuts it.
int CNameTab::FittedWidth(int column, int width) const
{
    QString header = platform::ToQt(TextOfKey(kColumns[column].key));
    return std::max(width, m_grid->fontMetrics().horizontalAdvance(header) + 12);
}

void CNameTab::SetTexts()
{
    Relabel();
    // The headers in the new language, each column keeping the width the
    // user gave it.
    CGridList& g = *m_grid;
    int widths[NameList::kColumns];
    for (int c = 0; c < NameList::kColumns; ++c)
        widths[c] = c < g.GetColumnCount() ? g.GetColumnWidth(c) : kColumns[c].width;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    for (int c = 0; c < NameList::kColumns; ++c)
        g.InsertColumn(c, TextOfKey(kColumns[c].key), kColumns[c].left ? GridAlign::Left : GridAlign::Right,
                       FittedWidth(c, widths[c]));
    ShowRows();
}

void CNameTab::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    if (m_initialised)
        m_boxes.FillEvents();
}

void CNameTab::FillList()
{
    m_relay = m_list.Fill(m_boxes.chooser.rangeFolder, m_boxes.SelectedComp(), m_relay);
    CGridList& g = *m_grid;
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    g.m_rowCount = 0;
    for (int row = 0; row < static_cast<int>(m_list.Rows().size()); ++row) {
        int lane = m_list.Rows()[static_cast<size_t>(row)].lane;
        g.InsertItem(row, std::to_string(lane));
        g.SetItemData(row, lane);
        g.m_lastColumn.push_back(kLastEditable);
        ++g.m_rowCount;
    }
    ShowRows();
    bool initialised = m_initialised;
    m_initialised = false;
    item(1093).setNumber(m_relay > 0 ? m_relay : 1);
    m_initialised = initialised;
}

// The rows' texts from their records.
void CNameTab::ShowRows()
{
    for (int row = 0; row < m_grid->GetItemCount(); ++row)
        ShowRow(row);
    m_grid->viewport()->update();
}

bool CNameTab::ShowRow(int row)
{
    std::vector<std::string> texts = m_list.RowTexts(row);
    bool changed = false;
    for (int c = 0; c < NameList::kColumns; ++c)
        if (m_grid->GetItemText(row, c) != texts[static_cast<size_t>(c)]) {
            m_grid->SetItemText(row, c, texts[static_cast<size_t>(c)]);
            changed = true;
        }
    return changed;
}

// Every row is drawn from its record as Name.BVD holds it now, so a name
// the range control changed meanwhile shows at the next repaint. (Only a
// text that changed is set, so drawing does not ask for drawing again.)
void CNameTab::DrawRow(QPainter& painter, int row, const QRect& rect)
{
    if (row >= m_grid->m_rowCount)
        return;
    ShowRow(row);
    m_grid->DrawRowCells(painter, row, rect);
}

intptr_t CNameTab::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    switch (static_cast<unsigned>(message)) {
    case WM_GRID_BEGINEDIT: {
        int row = BeginEditRow(wParam);
        int column = BeginEditColumn(wParam);
        if (!BeginEdit(row, column))
            return -1;
        // The editor starts from the record as it is now.
        if (CGridColumn* def = m_grid->Column(column); def && !def->m_texts.empty())
            def->m_texts[0] = m_list.CellText(row, column);
        return 0;
    }
    case WM_GRID_ENDEDIT: {
        const GridEditRecord* record = GridRecordOf(wParam);
        // A cancelled edit carries no text.
        if (!record || record->row < 0 || record->param == -1 || !record->text)
            return 0;
        EndEdit(record->row, record->column, record->text);
        return 0;
    }
    case WM_GRID_SELCHANGE:
        // A row was left by the focus: the edit that was open is over.
        if (GridFocusLeft(wParam))
            m_grid->m_editMode = 0;
        return 0;
    default: return RemotePage::OnMessage(message, wParam, lParam);
    }
}

bool CNameTab::BeginEdit(int row, int column)
{
    switch (m_list.CanEdit(row)) {
    case 0: return column >= kFirstEditable && column <= kLastEditable;
    case 1: MessageBox(TextOfKey("IDS_NAME_ILLEGAL_CARD"), {}, MessageIcon::Stop); return false;
    case 2: MessageBox(TextOfKey("IDS_NAME_ILLEGAL"), {}, MessageIcon::Stop); return false;
    default: return false;
    }
}

void CNameTab::EndEdit(int row, int column, const std::string& text)
{
    if (m_list.Store(row, column, text))
        ShowRow(row);
}

void CNameTab::OnClearLine()
{
    int row = m_grid->GetSelectedItem();
    if (row < 0) {
        MessageBox(TextOfKey("IDS_NAME_NOSEL"), {}, MessageIcon::Stop);
        return;
    }
    m_list.Clear(row);
    FillList();
}

void CNameTab::OnClearRelay()
{
    m_list.ClearRelay();
    FillList();
}

void CNameTab::OnLeavePage() { m_boxes.chooser.Leave(); }

void CNameTab::OnEnterPage()
{
    m_boxes.chooser.chosenEvent = m_boxes.chooser.chosenComp = -1;
    m_relay = -1;
    m_boxes.FillEvents();
    FillList();
}
