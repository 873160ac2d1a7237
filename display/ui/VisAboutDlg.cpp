#include "display/ui/VisAboutDlg.h"

#include "platform/system/TextTable.h"

namespace {

using platform::ControlKind;

const platform::ControlTemplate kControls[] = {
    {.id = CVisAboutDlg::IDC_TEXT, .kind = ControlKind::Static, .row = 0, .col = 0, .rowSpan = 2,
     .style = platform::CS_STRETCH},
    {.id = platform::IDOK, .kind = ControlKind::Button, .row = 0, .col = 1, .text = "OK",
     .style = platform::CS_DEFAULT},
};
const platform::DialogTemplate kTemplate{.id = CVisAboutDlg::IDD, .cx = 235, .cy = 55, .controls = kControls};

}  // namespace

CVisAboutDlg::CVisAboutDlg(QWidget* parent) : Dialog(kTemplate, parent) {}

bool CVisAboutDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    item(IDC_TEXT).setText(platform::TextOfKey("IDS_ABOUT"));
    SetCaption(platform::TextOfKey("IDS_ABOUT_TITLE"));
    return true;
}
