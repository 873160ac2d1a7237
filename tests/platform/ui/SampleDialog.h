#pragma once
// A dialog with one control of every kind the kit offers, for the kit's own
// tests: its handlers do small, visible things, so a script can check that
// every notification arrived where it belongs.
#include "platform/ui/Dialog.h"

#include <string>

namespace bvtest {

enum SampleId {
    IDD_SAMPLE = 900,
    IDC_GROUP_SHOOTER = 100,
    IDC_LABEL_NAME = 101,
    IDC_LABEL_LANE = 102,
    IDC_LABEL_CLASS = 103,
    IDC_LABEL_CLUB = 104,
    IDC_NAME = 1001,
    IDC_LANE = 1002,
    IDC_LANE_SPIN = 1003,
    IDC_CLASS = 1004,
    IDC_CLUB = 1005,
    IDC_COMMENT = 1006,
    IDC_GROUP_OPTIONS = 110,
    IDC_PRINT = 1010,
    IDC_VALUE_INT = 1011,
    IDC_VALUE_DEC = 1012,
    IDC_VALUE_HIT = 1013,
    IDC_DATE = 1014,
    IDC_TIME = 1015,
    IDC_SERIES = 1020,
    IDC_SHOTS = 1021,
    IDC_TREE = 1022,
    IDC_TABS = 1030,
    IDC_PROGRESS = 1040,
    IDC_STATUS = 1041,
    IDC_BROWSE = 1050,
    IDC_CLEAR = 1051,
};

class SampleDialog : public platform::Dialog {
public:
    explicit SampleDialog(QWidget* parent = nullptr);

    // Members exchanged with the controls.
    std::string m_name;
    int m_lane = 1;
    int m_class = -1;
    std::string m_club;
    std::string m_comment;
    int m_print = 0;
    int m_valueSystem = -1;
    platform::LocalTime m_date{2026, 3, 14, 0, 0, 0, 0, 6};
    std::string m_folder;

    // What the handlers saw.
    int m_nameLeft = 0;
    int m_laneChanges = 0;
    int m_classChanges = 0;
    int m_tabChanges = 0;
    int m_tabRefusals = 0;
    int m_rowClicks = 0;
    int m_lastWidth = 0;

    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    void OnSize(int cx, int cy) override { m_lastWidth = cx; }

private:
    void OnBrowse();
    void OnClear();
    void OnNameLeft();
};

}  // namespace bvtest
