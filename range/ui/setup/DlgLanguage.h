#pragma once
// The language of the range control. The caller presets the current
// language's code ("EN", "NO", "SE", "DK", "DE") and reads the chosen one
// back after OK: the empty code when none was chosen.
#include "platform/ui/Dialog.h"

#include <string>

class CDlgLanguage : public platform::Dialog {
public:
    enum {
        IDD = 161,
        IDC_OK = 2009,
        IDC_CANCEL = 2010,
        IDC_ENGLISH = 2011,  // the first of five radios: English, Norwegian, Swedish, Danish, German
    };

    explicit CDlgLanguage(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    // The radio of a code, -1 for a language the program has no texts for;
    // and the code of a radio, empty for none.
    static int IndexOf(const std::string& code);
    static std::string CodeOf(int index);

    std::string m_code;
    int m_index = -1;
};
