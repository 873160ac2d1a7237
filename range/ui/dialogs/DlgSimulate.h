#pragma once
// The fields of a simulated target message for one lane: where the shot
// hit, whether it is a frame shot or the target was turned, four times, the
// change time, the temperature and the run number. Fields left empty keep
// the simulator's own values. The template's texts are shown as they stand.
#include "platform/ui/Dialog.h"

#include <string>

class CDlgSimulate : public platform::Dialog {
public:
    enum {
        IDD = 156,
        IDC_X = 1421,
        IDC_Y = 1425,
        IDC_TURNED = 1428,
        IDC_TIME_A = 1432,
        IDC_TIME_B = 1435,
        IDC_TIME_C = 1437,
        IDC_TIME_D = 1439,
        IDC_FRAME_SHOT = 1440,
        IDC_CHANGE = 1442,
        IDC_TEMPERATURE = 1444,
        IDC_RUN = 1446,
    };

    explicit CDlgSimulate(QWidget* parent = nullptr);
    void DoDataExchange(platform::DataExchange& dx) override;

    std::string m_x, m_y;
    int m_frameShot = 0;
    int m_turned = 0;
    std::string m_timeA, m_timeB, m_timeC, m_timeD;
    std::string m_change;
    std::string m_temperature;
    std::string m_run;
};
