#include "range/ui/dialogs/DlgSend.h"

#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgSend;

const ControlTemplate kControls[] = {
    {.id = D::IDC_ACTIVE, .kind = ControlKind::Check, .row = 0, .col = 0, .colSpan = 6,
     .key = "IDS_SEND_CHECK_ACTIVE"},
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_SEND_STATIC_RELAY"},
    {.id = D::IDC_RELAY_FROM, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_RELAY_FROM_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .buddy = D::IDC_RELAY_FROM, .min = 1,
     .max = 9999},
    {.id = D::IDC_RELAY_TO_LABEL, .kind = ControlKind::Static, .row = 1, .col = 3, .key = "IDS_SEND_STATIC_RELAY2"},
    {.id = D::IDC_RELAY_TO, .kind = ControlKind::Edit, .row = 1, .col = 4, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_RELAY_TO_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 5, .buddy = D::IDC_RELAY_TO, .min = 1,
     .max = 9999},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 2, .col = 0, .colSpan = 2, .key = "IDS_SEND_BUTTON_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 2, .col = 3, .colSpan = 3,
     .key = "IDS_SEND_BUTTON_CANCEL"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_SEND_TITLE", .cx = 184, .cy = 71, .controls = kControls};

}  // namespace

CDlgSend::CDlgSend(QWidget* parent, const CompOptions& options)
    : platform::Dialog(kTemplate, parent), m_startNumbers(options.IsOn(CompOptions::StartNumbers))
{
    OnClick(IDC_ACTIVE, [this] { OnActive(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

bool CDlgSend::OnInitDialog()
{
    if (m_startNumbers) {
        item(IDC_RELAY_LABEL).setTextKey("IDS_SEND_STATIC_RELAYB");
    } else {
        for (int id : {IDC_RELAY_TO_LABEL, IDC_RELAY_TO, IDC_RELAY_TO_SPIN})
            item(id).hide();
    }
    if (m_hideActive)
        item(IDC_ACTIVE).hide();
    UpdateData(false);
    OnActive();
    return true;
}

void CDlgSend::DoDataExchange(platform::DataExchange& dx)
{
    dx.Check(IDC_ACTIVE, m_activeRelay);
    dx.Text(IDC_RELAY_FROM, m_relayFrom);
    if (m_startNumbers)
        dx.Text(IDC_RELAY_TO, m_relayTo);
}

// The active relay needs no number.
void CDlgSend::OnActive()
{
    UpdateData(true);
    bool chosen = m_activeRelay == 0;
    for (int id : {IDC_RELAY_FROM_SPIN, IDC_RELAY_TO_SPIN})
        item(id).enable(chosen);
    for (int id : {IDC_RELAY_FROM, IDC_RELAY_TO})
        item(id).setReadOnly(!chosen);
}

void CDlgSend::OnOK()
{
    if (!UpdateData(true))
        return;
    // By relay the officer picks one relay, whatever "to" was preset with.
    if (!m_startNumbers)
        m_relayTo = m_relayFrom;
    // A range that holds no start number would send nothing and say it sent.
    if (m_activeRelay == 0 && m_relayFrom > m_relayTo) {
        platform::MessageBox(platform::TextOfKey("IDS_SEND_WRONGRANGE"), {}, platform::MessageIcon::Stop);
        item(IDC_RELAY_FROM).focus();
        return;
    }
    EndDialog(platform::IDOK);
}
