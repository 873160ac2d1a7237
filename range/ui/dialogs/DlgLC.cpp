#include "range/ui/dialogs/DlgLC.h"

#include "foundation/ui/grid/GridList.h"
#include "line/LineMessage.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "range/base/RangeObjects.h"
#include "range/run/RangeControl.h"

#include <string>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgLC;

const ControlTemplate kControls[] = {
    {.id = D::IDC_GRID, .kind = ControlKind::Custom, .row = 0, .col = 0, .colSpan = 4, .style = platform::CS_STRETCH},
    {.id = D::IDC_TEST_GROUP, .kind = ControlKind::Group, .row = 1, .col = 0, .rowSpan = 2,
     .key = "IDS_LC_STATIC_TEST"},
    {.id = D::IDC_TEST_NONE, .kind = ControlKind::Radio, .parent = D::IDC_TEST_GROUP, .row = 0, .col = 0,
     .key = "IDS_LC_RADIO0", .style = platform::CS_GROUP},
    {.id = D::IDC_TEST_RED, .kind = ControlKind::Radio, .parent = D::IDC_TEST_GROUP, .row = 0, .col = 1,
     .key = "IDS_LC_RADIO1"},
    {.id = D::IDC_TEST_GREEN, .kind = ControlKind::Radio, .parent = D::IDC_TEST_GROUP, .row = 0, .col = 2,
     .key = "IDS_LC_RADIO2"},
    {.id = D::IDC_COPY_ALL, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_LC_BUTTON_COPY"},
    {.id = D::IDC_COPY_NEXT, .kind = ControlKind::Button, .row = 1, .col = 2, .key = "IDS_LC_BUTTON_NEXT"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 2, .col = 3, .key = "IDS_LC_BUTTON_OK",
     .style = platform::CS_DEFAULT},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_LC_TITLE", .cx = 266, .cy = 196, .controls = kControls};

constexpr int kColumnWidth = 100;

std::string Number(int value) { return value >= 0 ? std::to_string(value) : std::string(); }

}  // namespace

CDlgLC::CDlgLC(RangeObjects& objects, RangeControl& range, QWidget* parent)
    : platform::Dialog(kTemplate, parent),
      m_obj(objects), m_range(range),
      m_grid(new CGridList(this)),
      m_handshake(*m_grid, [this](const GridCellEdit& edit) { StoreEdit(edit); })
{
    SetCustomControl(IDC_GRID, m_grid);
    m_grid->SetControlId(IDC_GRID);
    for (int id : {IDC_TEST_NONE, IDC_TEST_RED, IDC_TEST_GREEN})
        OnClick(id, [this] { OnTest(); });
    OnClick(IDC_COPY_ALL, [this] { OnCopyAll(); });
    OnClick(IDC_COPY_NEXT, [this] { OnCopyNext(); });
    OnClick(IDC_OK, [this] { OnOK(); });
}

bool CDlgLC::OnInitDialog()
{
    CGridList& g = *m_grid;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    g.InsertColumn(kColLane, platform::TextOfKey("IDS_LC_H0"), GridAlign::Right, kColumnWidth);
    g.InsertColumn(kColB, platform::TextOfKey("IDS_LC_H1"), GridAlign::Right, kColumnWidth);
    g.InsertColumn(kColA, platform::TextOfKey("IDS_LC_H2"), GridAlign::Right, kColumnWidth);
    g.SetColumnType(kColLane, 0, 0);
    g.SetColumnType(kColB, GRID_TEXT, 0);
    g.SetColumnType(kColA, GRID_TEXT, 0);
    g.m_firstColumn = kColB;
    g.m_defaultLastColumn = kColA;

    m_lamps.Clear();
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    const LaneTable& lanes = m_obj.lanes;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        if (!lanes.IsActive(lane))
            continue;
        int row = g.InsertItem(g.GetItemCount(), std::to_string(lane));
        g.SetItemData(row, lane);
        g.m_lastColumn.push_back(kColA);
    }
    g.m_rowCount = static_cast<int16_t>(g.GetItemCount());
    UpdateData(false);
    m_open = true;
    return true;
}

int CDlgLC::RowOfLane(int lane) const
{
    for (int row = 0; row < m_grid->GetItemCount(); ++row)
        if (m_grid->GetItemData(row) == lane)
            return row;
    return -1;
}

int CDlgLC::LaneOfRow(int row) const { return static_cast<int>(m_grid->GetItemData(row)); }

// The cells show what the target last reported, nothing while it is not known.
void CDlgLC::ShowRow(int row)
{
    if (row < 0 || row >= m_grid->GetItemCount())
        return;
    int lane = LaneOfRow(row);
    m_grid->SetItemText(row, kColB, Number(m_lamps.B(lane)));
    m_grid->SetItemText(row, kColA, Number(m_lamps.A(lane)));
    m_grid->RedrawItems(row, row);
}

void CDlgLC::UpdateLane(const LineMessage& m)
{
    int lane = m_lamps.Take(m);
    if (lane != 0)
        ShowRow(RowOfLane(lane));
}

void CDlgLC::Send(int lane, const std::array<int, 3>& values)
{
    int intensity[3] = {values[0], values[1], values[2]};
    m_range.commands.SendLight(lane, intensity);
}

void CDlgLC::OnTest()
{
    UpdateData(true);
    m_test = item(IDC_TEST_NONE).selection();
    Send(0, {LampTable::TestValue(m_test), LampTable::kUnchanged, LampTable::kUnchanged});
}

void CDlgLC::OnCopyAll()
{
    int row = m_grid->GetSelectedItem();
    if (row < 0) {
        platform::MessageBox(platform::TextOfKey("IDS_LC_WRNSEL"), {}, platform::MessageIcon::Question);
        return;
    }
    Send(0, m_lamps.CopyOf(LaneOfRow(row)));
}

void CDlgLC::OnCopyNext()
{
    int row = m_grid->GetSelectedItem();
    int count = m_grid->GetItemCount();
    // The last row has no next one to copy to.
    if (count == 0 || row == count - 1)
        return;
    if (row < 0) {
        platform::MessageBox(platform::TextOfKey("IDS_LC_WRNSEL"), {}, platform::MessageIcon::Question);
        return;
    }
    int next = row + 1;
    Send(LaneOfRow(next), m_lamps.CopyOf(LaneOfRow(row)));
    // On to the next row, so that pressing again walks down the lanes.
    m_grid->m_currentRow = static_cast<int16_t>(next);
    m_grid->SelectRow(next, 0);
}

void CDlgLC::StoreEdit(const GridCellEdit& edit)
{
    int value = LampTable::TypedValue(edit.text);
    // The target's light message brings the value it took.
    if (edit.column == kColB) {
        Send(edit.lane, {LampTable::kUnchanged, LampTable::kUnchanged, value});
        m_lamps.ForgetB(edit.lane);
    } else if (edit.column == kColA) {
        Send(edit.lane, {LampTable::kUnchanged, value, LampTable::kUnchanged});
        m_lamps.ForgetA(edit.lane);
    }
    ShowRow(edit.row);
}

intptr_t CDlgLC::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    if (m_handshake.Handle(static_cast<unsigned>(message), wParam, result))
        return result;
    return Dialog::OnMessage(message, wParam, lParam);
}

void CDlgLC::OnOK()
{
    m_open = false;
    EndDialog(platform::IDOK);
}

void CDlgLC::OnCancel()
{
    m_open = false;
    EndDialog(platform::IDCANCEL);
}

void CDlgLC::Close() { OnOK(); }
