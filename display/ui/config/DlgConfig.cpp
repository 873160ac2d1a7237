#include "display/ui/config/DlgConfig.h"

#include <QTabBar>

#include "display/ui/config/DlgColor.h"
#include "display/ui/config/DlgEvent.h"
#include "display/ui/config/DlgPict.h"
#include "display/ui/config/DlgProfil.h"
#include "display/ui/config/DlgUser.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/TabCtrl.h"

using namespace platform;

namespace {

using D = CDlgConfig;

const ControlTemplate kControls[] = {
    {.id = D::IDC_TABS, .kind = ControlKind::Tab, .row = 0, .col = 0, .colSpan = 3, .style = CS_STRETCH},
    {.id = D::IDC_ABOUT, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_SELECT_ABOUT"},
    {.id = D::IDC_EXIT, .kind = ControlKind::Button, .row = 1, .col = 2, .key = "IDS_CONFIG_EXIT"},
};
// The caption bar carries no text.
const DialogTemplate kConfig{.id = D::IDD, .caption = "", .cx = 500, .cy = 350, .controls = kControls};

struct TabRow {
    const char* textKey;
    int help;
};
const TabRow kTabs[D::kPages] = {
    {"IDS_CONFIG_PROFILE", 137}, {"IDS_CONFIG_PICT", 138}, {"IDS_CONFIG_EVENT", 139},
    {"IDS_CONFIG_COLOR", 140},   {"IDS_CONFIG_USER", 146},
};
constexpr int kNoPageHelp = 136;

int g_currentPage = -1;
std::function<void(QWidget*)> g_about;

}  // namespace

CDlgConfig::CDlgConfig(QWidget* parent) : Dialog(kConfig, parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    OnSelChanging(IDC_TABS, [this] {
        OnTabSelChanging();
        return false;
    });
    OnSelChange(IDC_TABS, [this] { OnTabSelChange(); });
    OnClick(IDC_EXIT, [this] { OnExit(); });
    OnClick(IDC_ABOUT, [this] {
        if (g_about)
            g_about(this);
    });
}

CDlgConfig::~CDlgConfig()
{
    // The pages go before the files they write to.
    for (CConfigPage*& page : m_pages) {
        delete page;
        page = nullptr;
    }
    m_files.Close();
    g_currentPage = -1;
}

int CDlgConfig::Run(QWidget* parent, int profile, int startPage)
{
    CDlgConfig dlg(parent);
    dlg.currentProfile = profile;
    dlg.initialPage = startPage;
    dlg.DoModal();
    return dlg.currentProfile;
}

void CDlgConfig::SetAboutBox(std::function<void(QWidget*)> about) { g_about = std::move(about); }

TabCtrl* CDlgConfig::Tabs() const { return dynamic_cast<TabCtrl*>(item(IDC_TABS).widget()); }

bool CDlgConfig::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_files.Open();
    if (initialPage == 0)
        initialPage = CanShowPage(CVisConfigFiles::kProfiles) ? CVisConfigFiles::kProfiles
                      : CanShowPage(CVisConfigFiles::kPictures) ? CVisConfigFiles::kPictures
                                                                 : CVisConfigFiles::kEvents;
    QWidget* area = Tabs()->PageArea();
    CConfigPage* pages[kPages] = {new CDlgProfil(*this, area), new CDlgPict(*this, area), new CDlgEvent(*this, area),
                                  new CDlgColor(*this, area), new CDlgUser(*this, area)};
    for (int i = 0; i < kPages; ++i) {
        pages[i]->hide();
        pages[i]->Create();
        AddPage(pages[i], kTabs[i].textKey, i);
    }
    Tabs()->SetCurSel(initialPage);
    g_currentPage = initialPage;
    RelabelTabs();
    return true;
}

void CDlgConfig::AddPage(CConfigPage* page, const char* textKey, int index)
{
    m_pages[static_cast<size_t>(index)] = page;
    m_enabled[static_cast<size_t>(index)] = true;
    TabCtrl* tabs = Tabs();
    tabs->InsertItem(tabs->GetItemCount(), TextOfKey(textKey), index);
    tabs->AddPage(page);
    page->ShowWindow(index == initialPage);
    RelabelTabs();
}

void CDlgConfig::RelabelTabs()
{
    TabCtrl* tabs = Tabs();
    for (int i = 0; i < kPages && i < tabs->GetItemCount(); ++i)
        tabs->SetItemText(i, TextOfKey(kTabs[i].textKey));
    item(IDC_EXIT).setTextKey("IDS_CONFIG_EXIT");
    item(IDC_ABOUT).setTextKey("IDS_SELECT_ABOUT");
    update();
}

void CDlgConfig::OnExit() { EndDialog(IDOK); }

void CDlgConfig::ChooseTab(int index) { Tabs()->ChooseTab(index); }

void CDlgConfig::OnTabSelChanging()
{
    // A field being edited on the page is saved by its focus loss.
    Tabs()->Bar()->setFocus(Qt::TabFocusReason);
    m_leaving = Tabs()->GetCurSel();
    g_currentPage = m_leaving;
}

void CDlgConfig::OnTabSelChange()
{
    const int next = Tabs()->GetCurSel();
    const bool allowed = next >= 0 && next < kPages && m_enabled[static_cast<size_t>(next)] && CanShowPage(next);
    if (!allowed) {
        Tabs()->SetCurSel(m_leaving);
        return;
    }
    if (m_leaving >= 0 && m_leaving < kPages && m_leaving != next)
        m_pages[static_cast<size_t>(m_leaving)]->ShowWindow(false);
    m_pages[static_cast<size_t>(next)]->ShowWindow(true);
    g_currentPage = next;
}

CDlgProfil& CDlgConfig::Profiles() const { return *static_cast<CDlgProfil*>(Page(CVisConfigFiles::kProfiles)); }
CDlgPict& CDlgConfig::Pictures() const { return *static_cast<CDlgPict*>(Page(CVisConfigFiles::kPictures)); }
CDlgEvent& CDlgConfig::Events() const { return *static_cast<CDlgEvent*>(Page(CVisConfigFiles::kEvents)); }
CDlgColor& CDlgConfig::Colours() const { return *static_cast<CDlgColor*>(Page(CVisConfigFiles::kColours)); }
CDlgUser& CDlgConfig::User() const { return *static_cast<CDlgUser*>(Page(CVisConfigFiles::kUser)); }

int CDlgConfig::CurrentPage() { return g_currentPage; }

int CDlgConfig::HelpContext()
{
    return g_currentPage >= 0 && g_currentPage < kPages ? kTabs[g_currentPage].help : kNoPageHelp;
}
