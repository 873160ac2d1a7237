#include "range/ui/setup/DlgAbout.h"

#include "platform/system/TextTable.h"

namespace {

using platform::ControlKind;
using D = CDlgAbout;

const platform::ControlTemplate kControls[] = {
    {.id = D::IDC_VERSION, .kind = ControlKind::Static, .row = 0, .col = 0, .style = platform::CS_STRETCH},
    {.id = D::IDC_COPYRIGHT, .kind = ControlKind::Static, .row = 1, .col = 0, .style = platform::CS_STRETCH},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 0, .col = 1, .style = platform::CS_DEFAULT},
};
const platform::DialogTemplate kTemplate{.id = D::IDD, .cx = 235, .cy = 55, .controls = kControls};

}  // namespace

CDlgAbout::CDlgAbout(QWidget* parent) : Dialog(kTemplate, parent)
{
    OnClick(IDC_OK, [this] { OnOK(); });
}

bool CDlgAbout::OnInitDialog()
{
    Dialog::OnInitDialog();
    SetCaption(platform::TextOfKey("IDS_ABOUT_TITLE"));
    item(IDC_OK).setText(platform::TextOfKey("IDS_ABOUT_OK"));
    item(IDC_VERSION).setText(platform::TextOfKey("IDS_ABOUT_VER"));
    item(IDC_COPYRIGHT).setText(platform::TextOfKey("IDS_ABOUT_COPYRIGHT"));
    return true;
}
