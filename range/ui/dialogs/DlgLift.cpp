#include "range/ui/dialogs/DlgLift.h"

#include <algorithm>
#include <cstdlib>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgLift;

constexpr int kPositions = 1393;  // the group around the four positions

const ControlTemplate kControls[] = {
    {.id = D::IDC_LANE_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_LIFT_LANE"},
    {.id = D::IDC_LANE, .kind = ControlKind::Edit, .row = 0, .col = 1, .style = platform::CS_NUMBER, .limit = 3},
    {.id = D::IDC_LANE_SPIN, .kind = ControlKind::Spin, .row = 0, .col = 2, .buddy = D::IDC_LANE,
     .min = D::kFirstLane, .max = D::kLastLane},
    {.id = D::IDC_ALL, .kind = ControlKind::Check, .row = 1, .col = 0, .colSpan = 3, .key = "IDS_LIFT_CHECK_ALL"},
    {.id = kPositions, .kind = ControlKind::Group, .row = 0, .col = 3, .rowSpan = 3},
    {.id = D::IDC_PARK, .kind = ControlKind::Radio, .parent = kPositions, .row = 0, .col = 0, .key = "IDS_LIFT_PARK",
     .style = platform::CS_GROUP},
    {.id = D::IDC_STAND, .kind = ControlKind::Radio, .parent = kPositions, .row = 1, .col = 0, .key = "IDS_LIFT_STAND"},
    {.id = D::IDC_KNEE, .kind = ControlKind::Radio, .parent = kPositions, .row = 2, .col = 0, .key = "IDS_LIFT_KNEE"},
    {.id = D::IDC_PRONE, .kind = ControlKind::Radio, .parent = kPositions, .row = 3, .col = 0, .key = "IDS_LIFT_PRONE"},
    {.id = D::IDC_ACTIVATE, .kind = ControlKind::Button, .row = 3, .col = 0, .colSpan = 3, .key = "IDS_LIFT_ACTIVATE",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_CLOSE, .kind = ControlKind::Button, .row = 3, .col = 3, .key = "IDS_LIFT_OK"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_LIFT_TITLE", .cx = 180, .cy = 100, .controls = kControls};

}  // namespace

CDlgLift::CDlgLift(QWidget* parent) : platform::Dialog(kTemplate, parent)
{
    OnClick(IDC_ALL, [this] { OnAllTargets(); });
    OnClick(IDC_ACTIVATE, [this] { OnActivate(); });
    OnClick(IDC_CLOSE, [this] { EndDialog(platform::IDOK); });
}

int CDlgLift::PositionCode(int position)
{
    switch (position) {
    case kPark: return '6';
    case kStand: return '5';
    case kKnee: return '4';
    case kProne: return '3';
    default: return 0;
    }
}

bool CDlgLift::OnInitDialog()
{
    platform::Dialog::OnInitDialog();
    OnAllTargets();
    return true;
}

void CDlgLift::DoDataExchange(platform::DataExchange& dx)
{
    dx.Check(IDC_ALL, m_allTargets);
    dx.Radio(IDC_PARK, m_position);
    if (dx.Saving())
        m_lane = std::atoi(item(IDC_LANE).text().c_str());
    else
        dx.Text(IDC_LANE, m_lane);
}

void CDlgLift::OnAllTargets()
{
    const bool all = item(IDC_ALL).check() != 0;
    item(IDC_LANE_SPIN).enable(!all);
    item(IDC_LANE).enable(!all);
    item(IDC_LANE).setReadOnly(all);
}

void CDlgLift::OnActivate()
{
    UpdateData(true);
    const int code = PositionCode(m_position);
    if (code == 0)
        return;
    m_lane = std::clamp(m_lane, kFirstLane, kLastLane);
    if (onLift)
        onLift(m_allTargets ? 0 : m_lane, code);
}
