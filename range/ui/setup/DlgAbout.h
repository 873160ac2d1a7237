#pragma once
// BVLeder's About box (template 100): the program's version and copyright
// in the chosen language.
#include "platform/ui/Dialog.h"

class CDlgAbout : public platform::Dialog {
public:
    enum {
        IDD = 100,
        IDC_VERSION = 1218,
        IDC_COPYRIGHT = 1219,
        IDC_OK = 1220,
    };

    explicit CDlgAbout(QWidget* parent = nullptr);
    bool OnInitDialog() override;
};
