#include "range/ui/dialogs/DlgLaneSel.h"

#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"

#include <algorithm>
#include <cstdlib>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgLaneSel;

const ControlTemplate kControls[] = {
    {.id = D::IDC_LANE_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_LANESEL_STATIC_LANE"},
    {.id = D::IDC_LANE, .kind = ControlKind::Edit, .row = 0, .col = 1, .style = platform::CS_NUMBER, .limit = 3},
    {.id = D::IDC_LANE_SPIN, .kind = ControlKind::Spin, .row = 0, .col = 2, .buddy = D::IDC_LANE,
     .min = D::kFirstLane, .max = D::kLastLane},
    {.id = D::IDC_ALL, .kind = ControlKind::Check, .row = 0, .col = 3, .key = "IDS_LANESEL_CHECK_ALL"},
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_LANESEL_STATIC_RELAY"},
    {.id = D::IDC_RELAY, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_RELAY_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .buddy = D::IDC_RELAY, .min = 1,
     .max = 9999},
    {.id = D::IDC_ALL_CARDS, .kind = ControlKind::Check, .row = 1, .col = 3, .key = "IDS_LANESEL_CHECK_CARDS"},
    {.id = D::IDC_EXTRA, .kind = ControlKind::Button, .row = 2, .col = 1, .colSpan = 2},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 2, .col = 1, .colSpan = 2, .key = "IDS_LANESEL_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 2, .col = 3, .key = "IDS_LANESEL_CANCEL"},
};

const platform::DialogTemplate kTemplate{.id = D::IDD, .caption = "", .cx = 190, .cy = 80, .controls = kControls};

int NumberIn(const platform::Control& edit) { return std::atoi(edit.text().c_str()); }

}  // namespace

CDlgLaneSel::CDlgLaneSel(QWidget* parent) : platform::Dialog(kTemplate, parent)
{
    OnClick(IDC_ALL, [this] { OnAllTargets(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
    OnClick(IDC_EXTRA, [this] { OnAdvance(); });
}

bool CDlgLaneSel::OnInitDialog()
{
    SetCaption(m_title);
    if (!m_relayLabel.empty())
        item(IDC_RELAY_LABEL).setText(m_relayLabel);
    item(IDC_RELAY_SPIN).setRange(1, std::max(1, m_relayMax));
    auto hide = [this](std::initializer_list<int> ids) {
        for (int id : ids)
            item(id).hide();
    };
    if (m_hideAll)
        hide({IDC_ALL});
    if (m_hideLane)
        hide({IDC_LANE_SPIN, IDC_LANE, IDC_LANE_LABEL});
    if (m_hideAllCards)
        hide({IDC_ALL_CARDS});
    if (m_hideRelay)
        hide({IDC_RELAY_SPIN, IDC_RELAY, IDC_RELAY_LABEL});
    if (m_form == kMotor) {
        item(IDC_EXTRA).setText(platform::TextOfKey(m_extraButtonKey));
        item(IDC_EXTRA).show();
        item(IDC_OK).hide();
    } else {
        item(IDC_EXTRA).hide();
    }
    platform::Dialog::OnInitDialog();
    OnAllTargets();
    return true;
}

// The fields are read as numbers without complaint: an empty field is 0,
// which the checks below turn into something usable.
void CDlgLaneSel::DoDataExchange(platform::DataExchange& dx)
{
    dx.Check(IDC_ALL, m_allTargets);
    dx.Check(IDC_ALL_CARDS, m_allCards);
    if (dx.Saving()) {
        m_lane = NumberIn(item(IDC_LANE));
        m_relay = NumberIn(item(IDC_RELAY));
    } else {
        dx.Text(IDC_LANE, m_lane);
        dx.Text(IDC_RELAY, m_relay);
    }
}

void CDlgLaneSel::OnOK()
{
    UpdateData(true);
    if (m_relay > m_relayMax) {
        m_relay = 1;
        platform::CurrentPrompter().Beep(platform::BeepKind::Stop);
        UpdateData(false);
        return;
    }
    m_lane = std::clamp(m_lane, kFirstLane, kLastLane);
    EndDialog(platform::IDOK);
}

void CDlgLaneSel::OnCancel()
{
    UpdateData(true);
    EndDialog(platform::IDCANCEL);
}

void CDlgLaneSel::OnAllTargets()
{
    const bool all = item(IDC_ALL).check() != 0;
    item(IDC_LANE_SPIN).enable(!all);
    item(IDC_LANE).setReadOnly(all);
}

void CDlgLaneSel::OnAdvance()
{
    if (m_form != kMotor)
        return;
    UpdateData(true);
    int lane = m_allTargets ? 0 : std::clamp(m_lane, kFirstLane, kLastLane);
    if (onAdvance)
        onAdvance(lane, m_relay);
}
