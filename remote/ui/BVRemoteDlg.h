#pragma once
// The main dialog: a tab control with the six pages, the caption of the
// page shown, help by page and the About box.
#include "remote/settings/RemoteSettings.h"

#include "platform/ui/Dialog.h"

#include <array>
#include <memory>

class CConfigTab;
class CExchTab;
class CLanguageTab;
class CMarkTab;
class CNameTab;
class CPrintTab;
class CHtmlHelp;
class RemotePage;
namespace platform {
class TabCtrl;
}

class CBVRemoteDlg : public platform::Dialog {
public:
    enum Page { kLanguage, kConfig, kPrint, kName, kMark, kExchange, kPages };

    CBVRemoteDlg();
    ~CBVRemoteDlg() override;
    bool OnInitDialog() override;

    // Adds a page as the last tab; only the first is shown.
    void AddPage(RemotePage* page, const char* textKey, int index);
    void RelabelTabs();
    // Texts of every page again after a language change, in page order.
    void ApplyLanguage();
    // The user chooses a tab.
    void ChooseTab(int index);
    int ShownPage() const;
    RemotePage* PageAt(int index) const { return m_pages[static_cast<size_t>(index)]; }
    CConfigTab& Config() const { return *m_config; }
    CPrintTab& PrintPage() const { return *m_print; }
    CNameTab& NamePage() const { return *m_name; }
    CExchTab& Exchange() const { return *m_exch; }
    CLanguageTab& Language() const { return *m_language; }
    RemoteSettings& Settings() { return m_settings; }

    // The help file of a profile code ("" for none) and the topic a help
    // request asks for.
    static std::string HelpFile(const std::string& code);
    int HelpContext(uint32_t data, int command) const;
    void WinHelp(uint32_t data, int command) override;
    // The topic of the last help request (-1 none), for whoever watches.
    int lastHelpTopic = -1;
    void ShowAbout();

private:
    void OnTabSelChanging();
    void OnTabSelChange();
    void contextMenuEvent(QContextMenuEvent* event) override;
    platform::TabCtrl* Tabs() const;

    RemoteSettings m_settings;
    CLanguageTab* m_language = nullptr;
    CConfigTab* m_config = nullptr;
    CPrintTab* m_print = nullptr;
    CNameTab* m_name = nullptr;
    CMarkTab* m_mark = nullptr;
    CExchTab* m_exch = nullptr;
    std::array<RemotePage*, kPages> m_pages{};
    int m_leaving = 0;
    std::unique_ptr<CHtmlHelp> m_help;
};
