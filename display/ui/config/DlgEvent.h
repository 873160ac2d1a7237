#pragma once
// The events page: the ranges the display shows, each a name, the range
// folder of a range control and the lanes taken into its ranking.
#include "display/ui/config/ConfigPage.h"

class CDlgEvent : public CConfigPage {
public:
    enum {
        IDD = 139,
        IDC_LIST = 1062,
        IDC_NEW = 1063,
        IDC_DELETE = 1064,
        IDC_NAME = 1122,
        IDC_FOLDER = 1066,
        IDC_BROWSE = 1069,
        IDC_FIRST = 1139,
        IDC_LAST = 1141,
        IDC_FIRST_SPIN = 1143,
        IDC_LAST_SPIN = 1144,
    };

    CDlgEvent(CDlgConfig& config, QWidget* parent);

    bool OnInitDialog() override;
    void SetTexts() override;
    void OnShown() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    void FillList();
    // The row whose event the fields edit; -1 none.
    int SelectedRow() const { return m_selectedRow; }

private:
    void ShowSelected();
    void OnNew();
    void OnDelete();
    void SaveName();
    void SaveFolder();
    void OnBrowse();
    void OnLane(bool first);
    // The event of the row the fields edit; 0 none.
    int SelectedEvent();
    void PutValues();

    std::string m_folder;
    std::string m_name;
    int m_first = 1;
    int m_last = 100;
    int m_selectedRow = -1;
    bool m_initialised = false;
    bool m_showing = false;  // the program is filling the fields
};
