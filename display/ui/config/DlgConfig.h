#pragma once
// The display's settings dialog: five pages in a tab control (profiles,
// pictures, events, colours, user) over the settings files, which it opens
// writable (creating what is missing) and owns while it runs. The pages
// write every change at once; there is nothing to save or cancel at the end.
#include <array>
#include <functional>

#include "display/config/ConfigFiles.h"
#include "platform/ui/Dialog.h"

class CConfigPage;
class CDlgColor;
class CDlgEvent;
class CDlgPict;
class CDlgProfil;
class CDlgUser;
namespace platform {
class TabCtrl;
}

class CDlgConfig : public platform::Dialog {
public:
    enum { IDD = 136, IDC_TABS = 1019, IDC_EXIT = 1102, IDC_ABOUT = 1103 };
    static constexpr int kPages = CVisConfigFiles::kPageCount;

    explicit CDlgConfig(QWidget* parent = nullptr);
    ~CDlgConfig() override;

    // Runs the dialog modally on the profile given, on the page given (0:
    // the first page the files allow, profiles, pictures or events); the
    // profile that was current at its end.
    static int Run(QWidget* parent, int profile, int startPage = 0);
    // What the About button opens; the program sets its About box.
    static void SetAboutBox(std::function<void(QWidget* owner)> about);

    // Set by the caller before the run; the profiles and pictures pages keep
    // the two numbers up to date.
    int initialPage = 0;
    int currentProfile = 1;
    int currentPicture = 1;

    bool OnInitDialog() override;
    void AddPage(CConfigPage* page, const char* textKey, int index);
    // The tab texts and the two buttons from the language table.
    void RelabelTabs();
    bool CanShowPage(int index) { return m_files.CanShowPage(index); }
    // The exit button: ends the dialog as OK.
    void OnExit();
    void OnCancel() override { OnExit(); }
    void OnOK() override {}

    CVisConfigFiles& Files() { return m_files; }
    platform::TabCtrl* Tabs() const;
    // Selects a tab as the user does.
    void ChooseTab(int index);
    CConfigPage* Page(int index) const { return m_pages[static_cast<size_t>(index)]; }
    CDlgProfil& Profiles() const;
    CDlgPict& Pictures() const;
    CDlgEvent& Events() const;
    CDlgColor& Colours() const;
    CDlgUser& User() const;

    // The page shown (the program's one current page), -1 while no settings
    // dialog runs; and the help context of that page (136 with none).
    static int CurrentPage();
    static int HelpContext();
    int HelpTopic() const override { return HelpContext(); }

private:
    void OnTabSelChanging();
    void OnTabSelChange();

    CVisConfigFiles m_files;
    std::array<CConfigPage*, kPages> m_pages{};
    std::array<bool, kPages> m_enabled{};
    int m_leaving = -1;
};
