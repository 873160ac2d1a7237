#pragma once
// The display program's About box (template 100): its text and caption in
// the display's language.
#include "platform/ui/Dialog.h"

class CVisAboutDlg : public platform::Dialog {
public:
    static constexpr int IDD = 100;
    static constexpr int IDC_TEXT = 1140;

    explicit CVisAboutDlg(QWidget* parent = nullptr);
    bool OnInitDialog() override;
};
