#include "range/ui/dialogs/DlgStatus.h"

#include "platform/system/TextTable.h"
#include "range/base/RangeObjects.h"
#include "range/dialogs/UnitStatusReply.h"
#include "range/run/RangeControl.h"

#include <cstdlib>
#include <string>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgStatus;

const ControlTemplate kControls[] = {
    {.id = D::IDC_LIST, .kind = ControlKind::ListView, .row = 0, .col = 0, .colSpan = 5,
     .style = platform::CS_STRETCH},
    {.id = D::IDC_FETCH, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_DLGSTATUS_FETCH"},
    {.id = D::IDC_TOTAL1, .kind = ControlKind::Edit, .row = 1, .col = 2,
     .style = platform::CS_READONLY | platform::CS_RIGHT},
    {.id = D::IDC_TOTAL2, .kind = ControlKind::Edit, .row = 1, .col = 3,
     .style = platform::CS_READONLY | platform::CS_RIGHT},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 1, .col = 4, .key = "IDS_DLGSTATUS_OK",
     .style = platform::CS_DEFAULT},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_DLGSTATUS_TITLE", .cx = 420, .cy = 154, .controls = kControls};

struct Column {
    const char* key;
    int width;
    bool right;
};
// Wide enough for the longest version texts ("3.07 2019.04.12 HW=40H") and
// counters (655415535) in the screen's font.
const Column kColumnDefs[D::kColumns] = {
    {"IDS_DLGSTATUS_H0", 40, true},  {"IDS_DLGSTATUS_H1", 120, false}, {"IDS_DLGSTATUS_H2", 190, false},
    {"IDS_DLGSTATUS_H3", 80, true},  {"IDS_DLGSTATUS_H4", 80, true},   {"IDS_DLGSTATUS_H5", 60, true},
    {"IDS_DLGSTATUS_H6", 75, true},
};

}  // namespace

CDlgStatus::CDlgStatus(RangeObjects& objects, RangeControl& range, QWidget* parent) : platform::Dialog(kTemplate, parent), m_obj(objects), m_range(range)
{
    OnClick(IDC_FETCH, [this] { OnFetch(); });
    OnClick(IDC_OK, [this] { OnOK(); });
}

bool CDlgStatus::OnInitDialog()
{
    platform::Control list = item(IDC_LIST);
    for (int c = 0; c < kColumns; ++c)
        list.insertColumn(c, platform::TextOfKey(kColumnDefs[c].key), kColumnDefs[c].width, kColumnDefs[c].right);
    MakeRows();
    m_open = true;
    return true;
}

// A row for every lane that a line channel serves.
void CDlgStatus::MakeRows()
{
    platform::Control list = item(IDC_LIST);
    list.resetContent();
    const LaneTable& lanes = m_obj.lanes;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (lanes[lane].channelType != 0)
            list.addItem(std::to_string(lane), lane);
}

void CDlgStatus::SetVersion(const LineMessage& m)
{
    UnitVersionReply reply;
    if (!DecodeUnitVersion(m, reply))
        return;
    platform::Control list = item(IDC_LIST);
    int row = list.findItemData(reply.lane);
    if (row >= 0)
        list.setItemText(row, kColVersion, reply.version);
}

void CDlgStatus::SetStatus(const LineMessage& m)
{
    UnitStatusReply reply;
    if (!DecodeUnitStatus(m, reply))
        return;
    platform::Control list = item(IDC_LIST);
    int row = list.findItemData(reply.lane);
    if (row >= 0) {
        list.setItemText(row, kColStatusVersion, reply.version);
        list.setItemText(row, kColCounter1, std::to_string(reply.counter1));
        list.setItemText(row, kColCounter2, std::to_string(reply.counter2));
        list.setItemText(row, kColCount4, std::to_string(reply.count4));
        list.setItemText(row, kColModel, reply.model);
    }
    // The totals are what the list shows.
    m_total1 = 0;
    m_total2 = 0;
    for (int r = 0; r < list.count(); ++r) {
        m_total1 += std::strtoll(list.itemText(r, kColCounter1).c_str(), nullptr, 10);
        m_total2 += std::strtoll(list.itemText(r, kColCounter2).c_str(), nullptr, 10);
    }
    ShowTotals(false);
}

void CDlgStatus::ShowTotals(bool empty)
{
    item(IDC_TOTAL1).setText(empty ? std::string() : std::to_string(m_total1));
    item(IDC_TOTAL2).setText(empty ? std::string() : std::to_string(m_total2));
}

void CDlgStatus::OnFetch()
{
    MakeRows();
    m_total1 = 0;
    m_total2 = 0;
    ShowTotals(true);
    m_range.commands.SendStatusQuery();
}

void CDlgStatus::OnOK()
{
    m_open = false;
    EndDialog(platform::IDOK);
}

void CDlgStatus::OnCancel()
{
    m_open = false;
    EndDialog(platform::IDCANCEL);
}

void CDlgStatus::Close() { OnOK(); }
