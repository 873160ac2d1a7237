#include "range/ui/dialogs/DlgRelay.h"

#include "foundation/settings/CompOptions.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "range/base/RangeObjects.h"

#include <QGridLayout>
#include <QPainter>
#include <QScrollBar>
#include <QScreen>

#include <string>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgRelay;

const ControlTemplate kControls[] = {
    {.id = D::IDC_ALL, .kind = ControlKind::Check, .row = 0, .col = 0, .colSpan = 3, .key = "IDS_DLGRELAY_ALL"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 0, .col = 4, .key = "IDS_DLGRELAY_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_DLGRELAY_RELAY"},
    {.id = D::IDC_RELAY, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .style = platform::CS_WRAP,
     .buddy = D::IDC_RELAY, .min = RelayEntries::kMinEntry, .max = RelayEntries::kMaxEntry},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 1, .col = 4, .key = "IDS_DLGRELAY_CANCEL"},
    {.id = D::IDC_LANE_LABEL, .kind = ControlKind::Static, .row = 2, .col = 0, .colSpan = 3,
     .key = "IDS_DLGRELAY_LANE"},
    {.id = D::IDC_AUTO, .kind = ControlKind::Button, .row = 2, .col = 4, .key = "IDS_DLGRELAY_AUTO"},
    {.id = D::IDC_GRID, .kind = ControlKind::Custom, .row = 3, .col = 0, .colSpan = 5, .style = platform::CS_STRETCH},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_DLGRELAY_TITLE", .cx = 222, .cy = 182, .controls = kControls};

constexpr int kColumnWidth = 50;
constexpr int kNameWidth = 150;

}  // namespace

CDlgRelay::CDlgRelay(RangeObjects& objects, QWidget* parent)
    : platform::Dialog(kTemplate, parent),
      m_obj(objects),
      m_grid(new CGridList(this)),
      m_handshake(*m_grid, [this](const GridCellEdit& edit) { StoreEdit(edit); })
{
    SetCustomControl(IDC_GRID, m_grid);
    m_grid->SetControlId(IDC_GRID);
    m_grid->SetDrawItem([this](QPainter& painter, int row, const QRect& rect) { DrawRow(painter, row, rect); });
    // The spare width goes between the relay's arrows and the buttons.
    if (auto* grid = dynamic_cast<QGridLayout*>(layout())) {
        grid->setColumnStretch(0, 0);
        grid->setColumnStretch(3, 1);
    }
    OnClick(IDC_ALL, [this] { OnAllLanes(); });
    OnChange(IDC_RELAY, [this] { OnRelayChange(); });
    OnClick(IDC_AUTO, [this] { OnAuto(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

bool CDlgRelay::OnInitDialog()
{
    CompOptions options = m_obj.Options();
    m_startNumbers = options.IsOn(CompOptions::StartNumbers);
    item(IDC_SPIN).setRange(RelayEntries::kMinEntry, RelayEntries::kMaxEntry);
    m_allLanes = RelayEntries::StartsAllLanes(m_startNumbers, options.IsOn(CompOptions::RelayChangeAllLanes), m_flags)
                     ? 1
                     : 0;
    DefineColumns();
    bool rows = m_obj.CompetitionNumber() >= 0;
    m_relay = m_entries.Propose(m_obj.lanes, m_flags, m_allLanes != 0, m_startNumbers, rows);
    Fill();
    if (m_startNumbers)
        for (int id : {IDC_ALL, IDC_RELAY, IDC_SPIN, IDC_RELAY_LABEL})
            item(id).hide();
    ShowForChoice();
    m_initialised = true;
    return true;
}

void CDlgRelay::DefineColumns()
{
    CGridList& g = *m_grid;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    g.InsertColumn(kColLane, platform::TextOfKey("IDS_DLGRELAY_H1"), GridAlign::Left, kColumnWidth);
    g.InsertColumn(kColEntry, platform::TextOfKey(m_startNumbers ? "IDS_DLGRELAY_H3" : "IDS_DLGRELAY_H2"),
                   GridAlign::Left, kColumnWidth);
    g.InsertColumn(kColStartNumber, platform::TextOfKey("IDS_DLGRELAY_H3"), GridAlign::Left,
                   m_startNumbers ? 0 : kColumnWidth);
    g.InsertColumn(kColName, platform::TextOfKey("IDS_DLGRELAY_H4"), GridAlign::Left, kNameWidth);
    for (int c = 0; c < kColumns; ++c)
        g.SetColumnType(c, GRID_TEXT, 0);
    g.m_firstColumn = kColEntry;
    g.m_defaultLastColumn = kColEntry;
}

void CDlgRelay::Fill()
{
    CGridList& g = *m_grid;
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    g.m_rowCount = 0;
    // Without a competition there are no lanes to ask for.
    if (m_obj.CompetitionNumber() < 0)
        return;
    const LaneTable& lanes = m_obj.lanes;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        if (!lanes.IsActive(lane))
            continue;
        int row = g.InsertItem(g.GetItemCount(), std::to_string(lane));
        g.SetItemData(row, lane);
        g.m_lastColumn.push_back(kColEntry);
    }
    g.m_rowCount = static_cast<int16_t>(g.GetItemCount());
    ShowAllRows();
}

void CDlgRelay::ShowRow(int row)
{
    if (row < 0 || row >= m_grid->GetItemCount())
        return;
    m_grid->SetItemText(row, kColEntry, std::to_string(m_entries.Entry(static_cast<int>(m_grid->GetItemData(row)))));
    m_grid->RedrawItems(row, row);
}

void CDlgRelay::ShowAllRows()
{
    for (int row = 0; row < m_grid->GetItemCount(); ++row)
        ShowRow(row);
}

// The entry's cell says whether the lane changes relay: red when it does.
void CDlgRelay::DrawRow(QPainter& painter, int row, const QRect& rect) const
{
    int lane = static_cast<int>(m_grid->GetItemData(row));
    bool changed = m_entries.Changed(m_obj.lanes, lane);
    m_grid->DrawRowCells(painter, row, rect, [&](QPainter& p, int, int column) {
        if (column != kColEntry)
            return;
        p.setBrush(m_grid->Color(GridColor::Window));
        p.setPen(m_grid->Color(changed ? GridColor::Red : GridColor::WindowText));
    });
}

void CDlgRelay::StoreEdit(const GridCellEdit& edit)
{
    if (edit.column != kColEntry)
        return;
    int entry = GridHandshake::TypedNumber(edit.text);
    if (RelayEntries::Valid(entry))
        m_entries.SetEntry(edit.lane, entry);
    else
        platform::CurrentPrompter().Beep(platform::BeepKind::Default);
    ShowRow(edit.row);
}

void CDlgRelay::DoDataExchange(platform::DataExchange& dx)
{
    dx.Check(IDC_ALL, m_allLanes);
    // The relay number counts only for all lanes together; while the lanes
    // have their own entries a hidden edit cannot hold the dialog up.
    if (!dx.Saving() || m_allLanes) {
        dx.Text(IDC_RELAY, m_relay);
        dx.MinMax(IDC_RELAY, m_relay, RelayEntries::kMinEntry, RelayEntries::kMaxEntry);
    }
}

void CDlgRelay::ShowMembers()
{
    m_showing = true;
    UpdateData(false);
    m_showing = false;
}

void CDlgRelay::OnAllLanes()
{
    m_allLanes = item(IDC_ALL).check() != 0 ? 1 : 0;
    ShowForChoice();
}

void CDlgRelay::ShowForChoice()
{
    bool all = m_allLanes != 0;
    for (int id : {IDC_RELAY, IDC_SPIN, IDC_RELAY_LABEL})
        item(id).show(all);
    item(IDC_AUTO).show(!all && m_startNumbers);
    FitHeight();
    ShowMembers();
    m_grid->viewport()->update();
    update();
}

void CDlgRelay::FitHeight()
{
    bool gridShown = m_allLanes == 0;
    // The grid's place is known only while the layout holds it.
    item(IDC_GRID).show(true);
    layout()->activate();
    int gridTop = m_grid->geometry().top();
    // Around the rows: the header and the frame, a scroll bar when the
    // columns are wider than the grid, and the dialog's margin below. Worked
    // out rather than measured: a window not shown yet has not laid out
    // its rows area.
    int frame = 2 * m_grid->frameWidth();
    int around = m_grid->HeaderHeight() + frame;
    if (m_grid->TotalWidth() > m_grid->width() - frame)
        around += m_grid->horizontalScrollBar()->sizeHint().height();
    // Room for one row at least, however few the grid holds.
    m_grid->setMinimumHeight(around + m_grid->GetRowHeight());
    int chrome = around + layout()->contentsMargins().bottom();
    item(IDC_GRID).show(gridShown);
    layout()->activate();
    int limit = 0;
    if (QScreen* s = screen())
        limit = s->availableGeometry().height() - (frameGeometry().height() - height());
    resize(width(), RelayDialogHeight(gridShown, gridTop, m_grid->GetItemCount(), m_grid->GetRowHeight(), chrome,
                                      limit));
}

void CDlgRelay::OnRelayChange()
{
    if (!m_initialised || m_showing)
        return;
    // A number on its way to being typed (empty, 0) leaves the lanes as they are.
    int relay = GridHandshake::TypedNumber(item(IDC_RELAY).text());
    if (!RelayEntries::Valid(relay))
        return;
    m_relay = relay;
    m_entries.SetAll(m_obj.lanes, relay);
    ShowAllRows();
}

void CDlgRelay::OnAuto()
{
    m_entries.Auto(m_obj.lanes, m_startNumbers, m_allLanes != 0);
    ShowAllRows();
}

void CDlgRelay::OnOK()
{
    if (!UpdateData(true))
        return;
    const LaneTable& lanes = m_obj.lanes;
    if (m_startNumbers && m_entries.Duplicate(lanes).first != 0) {
        platform::MessageBox(platform::TextOfKey("IDS_DLGRELAY_DUPLICATE"), {}, platform::MessageIcon::Stop);
        return;
    }
    if (m_allLanes)
        m_entries.SetAll(lanes, m_relay);
    EndDialog(platform::IDOK);
}

intptr_t CDlgRelay::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    if (m_handshake.Handle(static_cast<unsigned>(message), wParam, result))
        return result;
    return Dialog::OnMessage(message, wParam, lParam);
}
