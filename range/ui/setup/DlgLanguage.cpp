#include "range/ui/setup/DlgLanguage.h"

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgLanguage;

const char* const kCodes[] = {"EN", "NO", "SE", "DK", "DE"};

const ControlTemplate kControls[] = {
    {.id = D::IDC_ENGLISH, .kind = ControlKind::Radio, .row = 0, .col = 0, .key = "ID_FIL_LANGUAGE_ENGELSK",
     .style = platform::CS_GROUP},
    {.id = D::IDC_ENGLISH + 1, .kind = ControlKind::Radio, .row = 1, .col = 0, .key = "ID_FIL_LANGUAGE_NORSK"},
    {.id = D::IDC_ENGLISH + 2, .kind = ControlKind::Radio, .row = 2, .col = 0, .key = "ID_FIL_LANGUAGE_SVENSK"},
    {.id = D::IDC_ENGLISH + 3, .kind = ControlKind::Radio, .row = 3, .col = 0, .key = "ID_FIL_LANGUAGE_DANSK"},
    {.id = D::IDC_ENGLISH + 4, .kind = ControlKind::Radio, .row = 4, .col = 0, .key = "ID_FIL_LANGUAGE_TYSK"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 0, .col = 1, .key = "IDS_LANGUAGE_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_LANGUAGE_CANCEL"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_LANGUAGE_TITLE", .cx = 201, .cy = 79, .controls = kControls};

}  // namespace

CDlgLanguage::CDlgLanguage(QWidget* parent) : platform::Dialog(kTemplate, parent)
{
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

int CDlgLanguage::IndexOf(const std::string& code)
{
    for (int i = 0; i < 5; ++i)
        if (code == kCodes[i])
            return i;
    return -1;
}

std::string CDlgLanguage::CodeOf(int index) { return index >= 0 && index < 5 ? kCodes[index] : ""; }

bool CDlgLanguage::OnInitDialog()
{
    m_index = IndexOf(m_code);
    item(IDC_ENGLISH).setSelection(m_index);
    return true;
}

void CDlgLanguage::OnOK()
{
    m_index = item(IDC_ENGLISH).selection();
    m_code = CodeOf(m_index);
    EndDialog(platform::IDOK);
}
