#pragma once
// A shot entered by hand on the score card: its value, series and shot
// number. The caller presets the members and reads them back after OK. Help
// goes to the window that opened it (the score card), which knows its topic.
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <string>

class CProgramStore;

class CDlgManual : public platform::Dialog {
public:
    enum {
        IDD = 148,
        IDC_VALUE = 1381,
        IDC_VALUE_LABEL = 1383,
        IDC_SERIE_LABEL = 1384,
        IDC_SERIE = 1385,
        IDC_SHOT_LABEL = 1386,
        IDC_SHOT = 1387,
        IDC_SHOT_SPIN = 1388,
        IDC_OK = 1389,
        IDC_CANCEL = 1390,
    };

    CDlgManual(QWidget* parent, CProgramStore& programs);

    bool OnInitDialog() override;
    void OnOK() override;
    void WinHelp(uint32_t data, int command) override;

    int m_program = 0;
    uint8_t m_serie = 0;   // 1-based
    uint8_t m_shotNr = 0;
    uint16_t m_value = 0;  // hundredths, 100..1199, 0 none
    std::string m_class;   // the shooter's class, for the caller

private:
    CProgramStore& m_programs;
};
