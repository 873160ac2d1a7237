#include "range/ui/dialogs/DlgManual.h"

#include "foundation/settings/ProgramStore.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "range/dialogs/ManualValue.h"

#include <algorithm>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgManual;

constexpr int kMostSeries = 28;

const ControlTemplate kControls[] = {
    {.id = D::IDC_VALUE_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_MANUAL_STATIC_VALUE"},
    {.id = D::IDC_VALUE, .kind = ControlKind::Edit, .row = 0, .col = 1, .colSpan = 2, .limit = 40},
    {.id = D::IDC_SERIE_LABEL, .kind = ControlKind::Static, .row = 0, .col = 3, .key = "IDS_MANUAL_STATIC_SERIE"},
    {.id = D::IDC_SERIE, .kind = ControlKind::ComboList, .row = 0, .col = 4, .colSpan = 2},
    {.id = D::IDC_SHOT_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_MANUAL_STATIC_SHOTNR"},
    {.id = D::IDC_SHOT, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 3},
    {.id = D::IDC_SHOT_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .buddy = D::IDC_SHOT, .min = 1, .max = 99},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 1, .col = 4, .key = "IDS_MANUAL_BUTTON_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 1, .col = 5, .key = "IDS_MANUAL_BUTTON_CANCEL"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_MANUAL_TITLE", .cx = 272, .cy = 78, .controls = kControls};

}  // namespace

CDlgManual::CDlgManual(QWidget* parent, CProgramStore& programs)
    : platform::Dialog(kTemplate, parent), m_programs(programs)
{
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

bool CDlgManual::OnInitDialog()
{
    platform::Control series = item(IDC_SERIE);
    series.resetContent();
    int count = std::min(m_programs.GetSerieCount(m_program), kMostSeries);
    for (int s = 1; s <= count; ++s) {
        char name[CProgramStore::kNameSize];
        series.addItem(m_programs.GetSerieName(s, name, m_program), s);
    }
    series.setSelection(m_serie - 1);
    item(IDC_VALUE).setText(ManualValueText(m_value));
    item(IDC_SHOT).setNumber(m_shotNr);
    return true;
}

void CDlgManual::OnOK()
{
    platform::DataExchange dx(*this, true);
    int shot = 0;
    dx.Text(IDC_SHOT, shot);
    if (dx.Failed())
        return;
    // Series 0 is on no list: a shot stored there could never be seen again.
    platform::Control series = item(IDC_SERIE);
    int chosen = series.selection();
    if (chosen < 0) {
        platform::MessageBox(platform::TextOfKey("IDS_MANUAL_NOSERIE"), {}, platform::MessageIcon::Stop);
        series.focus();
        return;
    }
    m_value = ParseManualValue(item(IDC_VALUE).text());
    m_serie = static_cast<uint8_t>(series.itemData(chosen));
    m_shotNr = static_cast<uint8_t>(shot & 0xFF);
    EndDialog(platform::IDOK);
}

// The score card that opened the dialog answers for it.
void CDlgManual::WinHelp(uint32_t data, int command)
{
    if (platform::KitWindow* owner = platform::KitWindow::Of(parentWidget()))
        owner->WinHelp(data, command);
    else
        Dialog::WinHelp(data, command);
}
