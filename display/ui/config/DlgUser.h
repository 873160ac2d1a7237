#pragma once
// The user page: the program's language, and the account and folders of
// the Nettcast web export.
#include <string>

#include "display/ui/config/ConfigPage.h"

class CDlgUser : public CConfigPage {
public:
    enum {
        IDD = 146,
        IDC_NORWEGIAN = 1215,  // radios 1215 .. 1219
        IDC_GERMAN = 1219,
        IDC_SERVER = 1202,
        IDC_USER = 1204,
        IDC_PASSWORD = 1206,
        IDC_LOCAL = 1210,
        IDC_REMOTE = 1208,
    };

    CDlgUser(CDlgConfig& config, QWidget* parent);

    bool OnInitDialog() override;
    // The texts, and the five fields as BVVis.bvc has them (what was typed
    // and not yet saved goes).
    void SetTexts() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    int LanguageIndex() const { return m_language; }

private:
    void SaveField(int id);
    void OnLanguage();

    std::string m_server;
    std::string m_user;
    std::string m_password;
    std::string m_local;
    std::string m_remote;
    int m_language = -1;
};
