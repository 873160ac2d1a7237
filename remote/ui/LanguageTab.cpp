#include "remote/ui/LanguageTab.h"

#include "remote/ui/BVRemoteDlg.h"
#include "remote/ui/RemoteText.h"

#include "platform/ui/Controls.h"

using namespace platform;

namespace {

// The names of the languages stay as they are in every language.
const ControlTemplate kControls[] = {
    {.id = 1201, .kind = ControlKind::Radio, .row = 0, .col = 0, .text = "Norsk", .style = CS_GROUP},
    {.id = 1202, .kind = ControlKind::Radio, .row = 1, .col = 0, .text = "Dansk"},
    {.id = 1203, .kind = ControlKind::Radio, .row = 2, .col = 0, .text = "Svensk"},
    {.id = 1204, .kind = ControlKind::Radio, .row = 3, .col = 0, .text = "English"},
    {.id = 1205, .kind = ControlKind::Radio, .row = 4, .col = 0, .text = "Deutch"},
};
const DialogTemplate kLanguage{.id = 134, .cx = 322, .cy = 212, .controls = kControls};
const DialogTemplate kMark{.id = 131, .cx = 186, .cy = 95, .controls = {}};
const char* const kCodes[] = {"NO", "DK", "SE", "EN", "DE"};

}  // namespace

CLanguageTab::CLanguageTab(RemoteSettings& settings, QWidget* parent) : RemotePage(kLanguage, settings, parent)
{
    for (int id = 1201; id <= 1205; ++id)
        OnClick(id, [this] { OnLanguage(); });
}

int CLanguageTab::IndexOfCode(const std::string& code)
{
    if (code.empty())
        return 3;
    for (int i = 0; i < 5; ++i)
        if (code == kCodes[i])
            return i;
    return -1;
}

const char* CLanguageTab::CodeOfIndex(int index) { return index >= 0 && index < 5 ? kCodes[index] : "EN"; }

bool CLanguageTab::OnInitDialog()
{
    Dialog::OnInitDialog();
    int index = IndexOfCode(RemoteText::Profile().GetString("Context", "Language", ""));
    item(1201).setSelection(index);
    return true;
}

void CLanguageTab::OnLanguage()
{
    std::string code = CodeOfIndex(item(1201).selection());
    RemoteText::Profile().WriteString("Context", "Language", code);
    RemoteText::Load(code);
    if (mainDialog != nullptr)
        mainDialog->ApplyLanguage();
    update();
}

CMarkTab::CMarkTab(RemoteSettings& settings, QWidget* parent) : RemotePage(kMark, settings, parent) {}
