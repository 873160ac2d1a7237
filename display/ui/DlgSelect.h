#pragma once
// The select dialog (template 141): the first thing the display shows, and
// where it returns after an error or when the operator leaves the pictures.
// The operator picks the profile to show, opens the settings or ends the
// program; when the frame allows it, the remembered profile starts by
// itself after a countdown of ten seconds shown over the start button, so
// an unattended display starts again on its own.
#include "platform/ui/Dialog.h"

#include <functional>
#include <string>

class CBVConfig;
class QLabel;

class CDlgSelect : public platform::Dialog {
public:
    static constexpr int IDD = 141;
    static constexpr int IDC_LIST = 1095;
    static constexpr int IDC_START = 1096;
    static constexpr int IDC_CONFIG = 1097;
    static constexpr int IDC_EXIT = 1098;
    static constexpr int IDC_ABOUT = 1142;
    static constexpr int IDC_LANGUAGE = 1143;
    // The settings dialog's user (language) page.
    static constexpr int kUserPage = 4;
    static constexpr int kCountdownSeconds = 10;

    // The stores are the display's .\Profil.bvc and .\BVVis.bvc, open or not.
    CDlgSelect(CBVConfig& profiles, CBVConfig& settings, QWidget* parent = nullptr);
    ~CDlgSelect() override;

    // Given by the frame before the dialog runs.
    bool autoStart = false;
    // The countdown's second; tests make it shorter.
    int secondMs = 1000;
    // Runs the settings dialog modally with the profile and the page to open
    // (0 the dialog's own choice, kUserPage the language page).
    std::function<void(QWidget* owner, int profile, int page)> settingsDialog;

    // What the frame reads afterwards.
    int profile = 1;
    bool exitRequest = false;
    bool startedByCountdown = false;

    bool CountdownRunning() const { return m_countdownRunning; }
    int CountdownCount() const { return m_count; }
    // The number drawn over the start button; empty when none.
    std::string CountdownText() const;

    bool OnInitDialog() override;
    void OnOK() override { OnStart(); }
    void OnCancel() override { OnExit(); }
    void OnTimer(int id) override;
    void OnSize(int cx, int cy) override;

    void FillList();
    void OnCountdown();
    void OnStart();
    void OnConfig(int page = 0);
    void OnAbout();
    void OnExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Ends the dialog with the selected profile; false without a selection.
    bool Start();
    void DrawCountdown();
    // A click or key in the list, or the About box: no start by itself any more.
    void StopCountdown();
    void PlaceCountdown();
    bool OpenStores();
    int NamedProfiles();

    std::string m_startText;
    bool m_countdownRunning = false;
    int m_count = 0;
    CBVConfig& m_profiles;
    CBVConfig& m_settings;
    QLabel* m_countdown = nullptr;
};
