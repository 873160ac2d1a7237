#pragma once
// The lowest-score mark of a shot on the score card (a shot of the super
// final that counts as the lowest score).
#include "platform/ui/Dialog.h"

class CDlgShotProperty : public platform::Dialog {
public:
    enum { IDD = 157, IDC_LOWEST = 1602, IDC_OK = 1603, IDC_CANCEL = 1604 };

    explicit CDlgShotProperty(QWidget* parent = nullptr);
    void DoDataExchange(platform::DataExchange& dx) override { dx.Check(IDC_LOWEST, m_lowest); }

    int m_lowest = 0;
};
