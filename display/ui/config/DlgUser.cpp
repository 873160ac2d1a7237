#include "display/ui/config/DlgUser.h"

#include <QGridLayout>

#include "display/config/UserSettings.h"
#include "display/ui/DisplayText.h"
#include "display/ui/config/DlgColor.h"
#include "display/ui/config/DlgConfig.h"
#include "display/ui/config/DlgEvent.h"
#include "display/ui/config/DlgPict.h"
#include "display/ui/config/DlgProfil.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

using namespace platform;

namespace {

using D = CDlgUser;
enum {
    kLanguageGroup = 1214,
    kLiveGroup = 1200,
    kServerLabel = 1201,
    kUserLabel = 1203,
    kPasswordLabel = 1205,
    kRemoteLabel = 1207,
    kLocalLabel = 1209,
};

const ControlTemplate kControls[] = {
    {.id = kLanguageGroup, .kind = ControlKind::Group, .row = 0, .col = 0, .key = "IDS_USER_LANG"},
    {.id = 1215, .kind = ControlKind::Radio, .parent = kLanguageGroup, .row = 0, .col = 0, .key = "IDS_USER_NO",
     .style = CS_GROUP},
    {.id = 1216, .kind = ControlKind::Radio, .parent = kLanguageGroup, .row = 1, .col = 0, .key = "IDS_USER_DK"},
    {.id = 1217, .kind = ControlKind::Radio, .parent = kLanguageGroup, .row = 2, .col = 0, .key = "IDS_USER_SE"},
    {.id = 1218, .kind = ControlKind::Radio, .parent = kLanguageGroup, .row = 3, .col = 0, .key = "IDS_USER_EN"},
    {.id = 1219, .kind = ControlKind::Radio, .parent = kLanguageGroup, .row = 4, .col = 0, .key = "IDS_USER_DE"},
    {.id = kLiveGroup, .kind = ControlKind::Group, .row = 0, .col = 1, .key = "IDS_USER_LIVE", .style = CS_STRETCH},
    {.id = kLocalLabel, .kind = ControlKind::Static, .parent = kLiveGroup, .row = 0, .col = 0,
     .key = "IDS_USER_LOCAL"},
    {.id = D::IDC_LOCAL, .kind = ControlKind::Edit, .parent = kLiveGroup, .row = 0, .col = 1},
    {.id = kRemoteLabel, .kind = ControlKind::Static, .parent = kLiveGroup, .row = 1, .col = 0,
     .key = "IDS_USER_REMOTE"},
    {.id = D::IDC_REMOTE, .kind = ControlKind::Edit, .parent = kLiveGroup, .row = 1, .col = 1},
    {.id = kServerLabel, .kind = ControlKind::Static, .parent = kLiveGroup, .row = 2, .col = 0,
     .key = "IDS_USER_SERVER"},
    {.id = D::IDC_SERVER, .kind = ControlKind::Edit, .parent = kLiveGroup, .row = 2, .col = 1, .limit = 31},
    {.id = kUserLabel, .kind = ControlKind::Static, .parent = kLiveGroup, .row = 3, .col = 0,
     .key = "IDS_USER_FTPUSER"},
    {.id = D::IDC_USER, .kind = ControlKind::Edit, .parent = kLiveGroup, .row = 3, .col = 1, .limit = 31},
    {.id = kPasswordLabel, .kind = ControlKind::Static, .parent = kLiveGroup, .row = 4, .col = 0,
     .key = "IDS_USER_PASS"},
    {.id = D::IDC_PASSWORD, .kind = ControlKind::Edit, .parent = kLiveGroup, .row = 4, .col = 1,
     .style = CS_PASSWORD, .limit = 31},
};
const DialogTemplate kUser{.id = D::IDD, .cx = 308, .cy = 252, .controls = kControls};

}  // namespace

CDlgUser::CDlgUser(CDlgConfig& config, QWidget* parent) : CConfigPage(kUser, config, parent, false)
{
    // The two groups keep their height; the room below them stays empty.
    if (auto* grid = dynamic_cast<QGridLayout*>(layout()))
        grid->setRowStretch(1, 1);
    for (int id : {IDC_SERVER, IDC_USER, IDC_PASSWORD, IDC_LOCAL, IDC_REMOTE})
        OnKillFocus(id, [this, id] { SaveField(id); });
    for (int id = IDC_NORWEGIAN; id <= IDC_GERMAN; ++id)
        OnClick(id, [this] { OnLanguage(); });
}

bool CDlgUser::OnInitDialog()
{
    Dialog::OnInitDialog();
    SetTexts();
    m_language = UserSettings::LanguageIndex(DisplayText::Profile().GetString("Context", "Language", ""));
    UpdateData(false);
    return true;
}

void CDlgUser::SetTexts()
{
    CConfigPage::SetTexts();
    const UserSettings::Account a = UserSettings::Read(Files().Settings());
    m_server = a.server;
    m_user = a.user;
    m_password = a.password;
    m_local = a.localFolder;
    m_remote = a.ftpFolder;
    for (int id : {IDC_SERVER, IDC_USER, IDC_PASSWORD, IDC_LOCAL, IDC_REMOTE})
        item(id).setText(id == IDC_SERVER ? m_server
                         : id == IDC_USER ? m_user
                         : id == IDC_PASSWORD ? m_password
                         : id == IDC_LOCAL    ? m_local
                                              : m_remote);
}

void CDlgUser::DoDataExchange(DataExchange& dx)
{
    dx.Radio(IDC_NORWEGIAN, m_language);
    dx.Text(IDC_LOCAL, m_local);
    dx.Text(IDC_REMOTE, m_remote);
    dx.Text(IDC_SERVER, m_server);
    dx.Text(IDC_USER, m_user);
    dx.Text(IDC_PASSWORD, m_password);
}

void CDlgUser::SaveField(int id)
{
    UpdateData(true);
    CBVConfig& settings = Files().Settings();
    bool stored = true;
    switch (id) {
    case IDC_SERVER: UserSettings::SaveServer(settings, m_server); break;
    case IDC_USER: UserSettings::SaveUser(settings, m_user); break;
    case IDC_PASSWORD: UserSettings::SavePassword(settings, m_password); break;
    case IDC_LOCAL: stored = UserSettings::SaveLocalFolder(settings, m_local); break;
    default: stored = UserSettings::SaveFtpFolder(settings, m_remote); break;
    }
    // A folder longer than the settings keep is not cut short behind the
    // user's back.
    if (!stored)
        CurrentPrompter().Beep(BeepKind::Stop);
}

void CDlgUser::OnLanguage()
{
    UpdateData(true);
    const std::string code = UserSettings::LanguageCode(m_language);
    DisplayText::Profile().WriteString("Context", "Language", code);
    if (DisplayText::Table().Load(DisplayText::kFile, code) >= 0)
        SetTextTable(&DisplayText::Table());
    SetTexts();
    m_config.RelabelTabs();
    m_config.Profiles().SetTexts();
    m_config.Pictures().SetTexts();
    m_config.Colours().SetTexts();
    m_config.Events().SetTexts();
    update();
}
