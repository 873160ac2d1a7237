#include "range/ui/dialogs/DlgShotProperty.h"

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgShotProperty;

const ControlTemplate kControls[] = {
    {.id = D::IDC_LOWEST, .kind = ControlKind::Check, .row = 0, .col = 0, .colSpan = 2,
     .key = "IDS_SHOTPROPERTY_LOWEST"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 1, .col = 0, .key = "IDS_SHOTPROPERTY_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_SHOTPROPERTY_CANCEL"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_SHOTPROPERTY_TITLE", .cx = 186, .cy = 90, .controls = kControls};

}  // namespace

CDlgShotProperty::CDlgShotProperty(QWidget* parent) : platform::Dialog(kTemplate, parent)
{
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}
