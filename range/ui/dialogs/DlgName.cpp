#include "range/ui/dialogs/DlgName.h"

#include "foundation/ui/grid/GridList.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "range/base/RangeObjects.h"

#include <QGridLayout>

#include <vector>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgName;

const ControlTemplate kControls[] = {
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_NAME_RELAY"},
    {.id = D::IDC_RELAY, .kind = ControlKind::Edit, .row = 0, .col = 1, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_SPIN, .kind = ControlKind::Spin, .row = 0, .col = 2, .buddy = D::IDC_RELAY, .min = 1, .max = 9999},
    {.id = D::IDC_DELSHOOTER, .kind = ControlKind::Button, .row = 0, .col = 3, .key = "IDS_NAME_DELSHOOTER"},
    {.id = D::IDC_DELRELAY, .kind = ControlKind::Button, .row = 0, .col = 4, .key = "IDS_NAME_DEL"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 0, .col = 6, .key = "IDS_NAME_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_GRID, .kind = ControlKind::Custom, .row = 1, .col = 0, .colSpan = 7, .style = platform::CS_STRETCH},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_NAME_TITLE", .cx = 370, .cy = 114, .controls = kControls};

struct ColumnSpec {
    const char* header;
    int width;
};
// Class, category and start score a little wider than their texts need, so
// their headers show whole in every language.
const ColumnSpec kColumns[RelayNames::kColumns] = {{"IDS_NAME_H0", 40},  {"IDS_NAME_H1", 150}, {"IDS_NAME_H2", 150},
                                                  {"IDS_NAME_H3", 70},  {"IDS_NAME_H4", 80},  {"IDS_NAME_H5", 85}};

}  // namespace

CDlgName::CDlgName(RangeObjects& objects, QWidget* parent)
    : platform::Dialog(kTemplate, parent),
      m_obj(objects),
      m_grid(new CGridList(this)),
      m_handshake(*m_grid, [this](const GridCellEdit& edit) { StoreEdit(edit); })
{
    SetCustomControl(IDC_GRID, m_grid);
    m_grid->SetControlId(IDC_GRID);
    if (auto* grid = dynamic_cast<QGridLayout*>(layout()))
        grid->setColumnStretch(5, 1);
    OnChange(IDC_RELAY, [this] {
        if (m_initialised)
            Fill();
    });
    OnClick(IDC_DELSHOOTER, [this] { OnDeleteShooter(); });
    OnClick(IDC_DELRELAY, [this] { OnDeleteRelay(); });
    OnClick(IDC_OK, [this] { OnOK(); });
}

CDlgName::~CDlgName() { m_comp.Close(); }

bool CDlgName::OnInitDialog()
{
    CGridList& g = *m_grid;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    for (int c = 0; c < RelayNames::kColumns; ++c) {
        g.InsertColumn(c, platform::TextOfKey(kColumns[c].header), GridAlign::Left, kColumns[c].width);
        g.SetColumnType(c, c == RelayNames::kColLane ? GRID_FIXED : GRID_TEXT, 0);
        g.Column(c)->m_leftAlign = 1;
    }
    g.m_firstColumn = RelayNames::kColName;
    g.m_defaultLastColumn = RelayNames::kColStartScore;

    item(IDC_RELAY).setText(m_relayText);
    // The dialog's own data of the competition that is open.
    if (int competition = m_obj.CompetitionNumber(); competition >= 0) {
        m_comp.SetBasePath(m_obj.comp.GetBasePath());
        m_comp.Open(competition, 1);
    }
    Fill();
    m_initialised = true;
    return true;
}

void CDlgName::Fill()
{
    CGridList& g = *m_grid;
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    g.m_rowCount = 0;
    m_names.Load(0, {});
    if (m_obj.CompetitionNumber() < 0 || !m_comp.IsOpen())
        return;
    std::vector<int> lanes;
    const LaneTable& table = m_obj.lanes;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (table.IsActive(lane))
            lanes.push_back(lane);
    m_names.Load(item(IDC_RELAY).number(), lanes);
    for (int lane : lanes) {
        int row = g.InsertItem(g.GetItemCount(), std::to_string(lane));
        g.SetItemData(row, lane);
        g.m_lastColumn.push_back(RelayNames::kColStartScore);
        ShowRow(row);
    }
    g.m_rowCount = static_cast<int16_t>(g.GetItemCount());
    if (g.m_currentRow >= g.GetItemCount())
        g.m_currentRow = 0;
}

void CDlgName::ShowRow(int row)
{
    int lane = static_cast<int>(m_grid->GetItemData(row));
    for (int c = RelayNames::kColName; c < RelayNames::kColumns; ++c)
        m_grid->SetItemText(row, c, m_names.CellText(lane, c));
    m_grid->RedrawItems(row, row);
}

void CDlgName::StoreEdit(const GridCellEdit& edit)
{
    if (!CDataComp::IsLane(edit.lane))
        return;
    if (m_names.Store(edit.lane, edit.column, edit.text, m_obj.lanes[edit.lane].card) == RelayNames::kNoCard) {
        platform::CurrentPrompter().Beep(platform::BeepKind::Stop);
        return;
    }
    ShowRow(edit.row);
}

intptr_t CDlgName::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    if (lParam == IDC_GRID && m_handshake.Handle(static_cast<unsigned>(message), wParam, result))
        return result;
    return Dialog::OnMessage(message, wParam, lParam);
}

void CDlgName::OnDeleteShooter()
{
    int row = m_grid->GetSelectedItem();
    if (row < 0) {
        platform::MessageBox(platform::TextOfKey("IDS_NAME_NOSEL"), {}, platform::MessageIcon::Stop);
        return;
    }
    m_names.DeleteShooter(static_cast<int>(m_grid->GetItemData(row)));
    Fill();
}

void CDlgName::OnDeleteRelay()
{
    m_names.DeleteRelay();
    Fill();
}
