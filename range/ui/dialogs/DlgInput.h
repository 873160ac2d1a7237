#pragma once
// Asks for a line of text under a prompt: the message to the monitors, the
// administrator's password, a class or sub-sum name. In its lane form it
// also asks which lane the text is for, or all of them; the text-only form
// (the default) hides those controls.
#include "platform/ui/Dialog.h"

#include <string>

class CDlgInput : public platform::Dialog {
public:
    enum {
        IDD = 152,
        IDC_TEXT = 1405,
        IDC_OK = 1406,
        IDC_CANCEL = 1407,
        IDC_PROMPT = 2003,
        IDC_LANE_LABEL = 2005,
        IDC_LANE = 2006,
        IDC_LANE_SPIN = 2007,
        IDC_ALL = 2008,
    };
    static constexpr int kFirstLane = 1;
    static constexpr int kLastLane = 100;

    explicit CDlgInput(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    std::string m_title;         // the window text, as the caller gives it
    std::string m_prompt = "<>"; // shown above the text, read-only
    std::string m_text;
    int m_allTargets = 0;  // lane form: the text is for every lane
    int m_lane = 0;        // lane form: 1 ... 100 after OK
    bool m_textOnly = true;

private:
    void OnAllTargets();
};
