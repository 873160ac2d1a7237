#include "remote/ui/BVRemoteDlg.h"

#include "remote/ui/ConfigTab.h"
#include "remote/ui/ExchTab.h"
#include "remote/ui/LanguageTab.h"
#include "remote/ui/NameTab.h"
#include "remote/ui/PrintTab.h"
#include "remote/ui/RemoteText.h"

#include "foundation/ui/windows/HtmlHelp.h"
#include "platform/system/Codepage.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/TabCtrl.h"

#include <QContextMenuEvent>
#include <QMenu>

using namespace platform;

namespace {

const ControlTemplate kControls[] = {
    {.id = 1037, .kind = ControlKind::Tab, .row = 0, .col = 0, .style = CS_STRETCH},
};
const DialogTemplate kMain{.id = 102, .caption = "BVRemote", .cx = 350, .cy = 250, .controls = kControls};

const ControlTemplate kAboutControls[] = {
    {.id = 1040, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_ABOUT_VER"},
    {.id = 1059, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_ABOUT_COPYRIGHT"},
    {.id = IDOK, .kind = ControlKind::Button, .row = 0, .col = 1, .text = "OK", .style = CS_DEFAULT},
};
const DialogTemplate kAbout{.id = 100, .captionKey = "IDS_ABOUT_TITLE", .cx = 235, .cy = 55, .controls = kAboutControls};

struct TabRow {
    const char* tab;
    const char* title;
    int help;
};
const TabRow kTabs[CBVRemoteDlg::kPages] = {
    {"IDS_LANGUAGE_TAB", "IDS_LANGUAGE_TITLE", 134}, {"IDS_CONFIG_TAB", "IDS_CONFIG_TITLE", 130},
    {"IDS_PRINT_TAB", "IDS_PRINT_TITLE", 129},       {"IDS_NAME_TAB", "IDS_NAME_TITLE", 132},
    {"IDS_MARK_TAB", "IDS_MARK_TITLE", 131},         {"IDS_EXCH_TAB", "IDS_EXCH_TITLE", 133},
};

}  // namespace

// The About box.
class CRemoteAboutDlg : public Dialog {
public:
    explicit CRemoteAboutDlg(QWidget* owner) : Dialog(kAbout, owner) {}
};

CBVRemoteDlg::CBVRemoteDlg() : Dialog(kMain)
{
    OnSelChanging(1037, [this] {
        OnTabSelChanging();
        return false;
    });
    OnSelChange(1037, [this] { OnTabSelChange(); });
}

CBVRemoteDlg::~CBVRemoteDlg()
{
    if (CurrentHelpService() == m_help.get())
        SetHelpService(nullptr);
}

TabCtrl* CBVRemoteDlg::Tabs() const { return dynamic_cast<TabCtrl*>(item(1037).widget()); }

bool CBVRemoteDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    RemoteText::Load();
    m_help = std::make_unique<CHtmlHelp>(".\\Help\\BVRemote" + RemoteText::LanguageCode());
    if (!m_settings.Open(RemoteSettings::kFileName))
        m_settings.OpenReadOnly(RemoteSettings::kFileName);

    QWidget* area = Tabs()->PageArea();
    m_language = new CLanguageTab(m_settings, area);
    m_language->mainDialog = this;
    m_config = new CConfigTab(m_settings, area);
    m_print = new CPrintTab(m_settings, area);
    m_name = new CNameTab(m_settings, area);
    m_mark = new CMarkTab(m_settings, area);
    m_exch = new CExchTab(m_settings, area);
    RemotePage* pages[kPages] = {m_language, m_config, m_print, m_name, m_mark, m_exch};
    for (int i = 0; i < kPages; ++i) {
        pages[i]->Create();
        AddPage(pages[i], kTabs[i].tab, i);
    }
    SetCaption(TextOfKey(kTabs[kLanguage].title));
    return true;
}

void CBVRemoteDlg::AddPage(RemotePage* page, const char* textKey, int index)
{
    m_pages[static_cast<size_t>(index)] = page;
    TabCtrl* tabs = Tabs();
    tabs->InsertItem(tabs->GetItemCount(), TextOfKey(textKey), index);
    tabs->AddPage(page);
    page->ShowWindow(index == 0);
}

void CBVRemoteDlg::RelabelTabs()
{
    TabCtrl* tabs = Tabs();
    for (int i = 0; i < kPages && i < tabs->GetItemCount(); ++i)
        tabs->SetItemText(i, TextOfKey(kTabs[i].tab));
    int shown = ShownPage();
    SetCaption(shown >= 0 && shown < kPages ? TextOfKey(kTabs[shown].title) : "");
    update();
}

void CBVRemoteDlg::ApplyLanguage()
{
    RelabelTabs();
    m_config->SetTexts();
    m_print->SetTexts();
    m_name->SetTexts();
    m_exch->SetTexts();
    if (m_help)
        m_help->SetFolder(".\\Help\\BVRemote" + RemoteText::LanguageCode());
}

int CBVRemoteDlg::ShownPage() const { return Tabs() ? Tabs()->GetCurSel() : -1; }

void CBVRemoteDlg::ChooseTab(int index) { Tabs()->ChooseTab(index); }

void CBVRemoteDlg::OnTabSelChanging() { m_leaving = ShownPage(); }

void CBVRemoteDlg::OnTabSelChange()
{
    int index = ShownPage();
    if (m_leaving >= 0 && m_leaving < kPages) {
        RemotePage* old = m_pages[static_cast<size_t>(m_leaving)];
        old->OnLeavePage();
        old->ShowWindow(false);
    }
    if (index >= 0 && index < kPages) {
        RemotePage* page = m_pages[static_cast<size_t>(index)];
        page->ShowWindow(true);
        page->OnEnterPage();
        SetCaption(TextOfKey(kTabs[index].title));
    } else {
        SetCaption("");
    }
}

std::string CBVRemoteDlg::HelpFile(const std::string& code)
{
    for (const char* known : {"NO", "DK", "SE", "EN", "DE"})
        if (code == known)
            return "BVRemote" + code + ".chm";
    return {};
}

int CBVRemoteDlg::HelpContext(uint32_t data, int command) const
{
    // Help on a control has no page of its own.
    if (command == HELP_CONTROL_TOPIC)
        return 0;
    // F1 on the dialog itself (its tab strip) is help on the page shown.
    int shown = ShownPage();
    if (static_cast<int>(data) == kMain.id || data == 0)
        return shown >= 0 && shown < kPages ? kTabs[shown].help : 0;
    return static_cast<int>(data);
}

void CBVRemoteDlg::WinHelp(uint32_t data, int command)
{
    lastHelpTopic = HelpContext(data, command);
    if (m_help)
        m_help->ShowHelp(static_cast<uint32_t>(lastHelpTopic), HELP_WINDOW_TOPIC);
}

void CBVRemoteDlg::ShowAbout()
{
    CRemoteAboutDlg about(this);
    about.DoModal();
}

// The system menu's About item has no counterpart here: it is an item of
// the dialog's own context menu.
void CBVRemoteDlg::contextMenuEvent(QContextMenuEvent* event)
{
    std::string text = TextOfKey("IDS_ABOUTBOX");
    if (text.empty())
        return;
    QMenu menu(this);
    QAction* about = menu.addAction(QString::fromStdString(platform::Cp1252ToUtf8(text)).remove('&'));
    if (menu.exec(event->globalPos()) == about)
        ShowAbout();
}
