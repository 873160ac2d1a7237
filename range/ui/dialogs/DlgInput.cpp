#include "range/ui/dialogs/DlgInput.h"

#include <algorithm>
#include <cstdlib>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgInput;

const ControlTemplate kControls[] = {
    {.id = D::IDC_PROMPT, .kind = ControlKind::Edit, .row = 0, .col = 0, .rowSpan = 1, .colSpan = 4,
     .style = platform::CS_READONLY | platform::CS_MULTILINE | platform::CS_STRETCH},
    {.id = D::IDC_TEXT, .kind = ControlKind::Edit, .row = 1, .col = 0, .colSpan = 4},
    {.id = D::IDC_LANE_LABEL, .kind = ControlKind::Static, .row = 2, .col = 0, .key = "IDS_INPUT_STATIC_LANE"},
    {.id = D::IDC_LANE, .kind = ControlKind::Edit, .row = 2, .col = 1, .style = platform::CS_NUMBER, .limit = 3},
    {.id = D::IDC_LANE_SPIN, .kind = ControlKind::Spin, .row = 2, .col = 2, .buddy = D::IDC_LANE,
     .min = D::kFirstLane, .max = D::kLastLane},
    {.id = D::IDC_ALL, .kind = ControlKind::Check, .row = 2, .col = 3, .key = "IDS_INPUT_CHECK_ALL"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 3, .col = 2, .key = "IDS_OK", .style = platform::CS_DEFAULT},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 3, .col = 3, .key = "IDS_CANCEL"},
};

const platform::DialogTemplate kTemplate{.id = D::IDD, .caption = "", .cx = 220, .cy = 110, .controls = kControls};

}  // namespace

CDlgInput::CDlgInput(QWidget* parent) : platform::Dialog(kTemplate, parent)
{
    OnClick(IDC_ALL, [this] { OnAllTargets(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

bool CDlgInput::OnInitDialog()
{
    if (m_textOnly)
        for (int id : {IDC_LANE_LABEL, IDC_LANE, IDC_LANE_SPIN, IDC_ALL})
            item(id).hide();
    SetCaption(m_title);
    platform::Dialog::OnInitDialog();
    if (!m_textOnly)
        OnAllTargets();
    return true;
}

void CDlgInput::DoDataExchange(platform::DataExchange& dx)
{
    dx.Text(IDC_PROMPT, m_prompt);
    dx.Text(IDC_TEXT, m_text);
    if (m_textOnly)
        return;
    dx.Check(IDC_ALL, m_allTargets);
    // An empty or cleared lane field reads as the first lane rather than
    // stopping the officer with a number message.
    if (dx.Saving()) {
        m_lane = std::atoi(item(IDC_LANE).text().c_str());
    } else {
        dx.Text(IDC_LANE, m_lane);
    }
}

void CDlgInput::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!m_textOnly)
        m_lane = std::clamp(m_lane, kFirstLane, kLastLane);
    EndDialog(platform::IDOK);
}

// Every lane: the lane field has no say.
void CDlgInput::OnAllTargets()
{
    const bool all = item(IDC_ALL).check() != 0;
    item(IDC_LANE_SPIN).enable(!all);
    item(IDC_LANE).setReadOnly(all);
}
