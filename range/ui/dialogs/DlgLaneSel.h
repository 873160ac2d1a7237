#pragma once
// Which lane (or every lane) and which relay a command is for. The caller
// sets the title and hides what its command has no use for. In the motor
// form the relay field is the number of band advances and the extra button
// advances the bands at once, as often as the officer presses it.
#include "platform/ui/Dialog.h"

#include <functional>
#include <string>

class CDlgLaneSel : public platform::Dialog {
public:
    enum {
        IDD = 143,
        IDC_LANE = 1252,
        IDC_ALL = 1253,
        IDC_ALL_CARDS = 1254,
        IDC_LANE_LABEL = 1257,
        IDC_OK = 1258,
        IDC_CANCEL = 1259,
        IDC_LANE_SPIN = 1260,
        IDC_RELAY_LABEL = 1286,
        IDC_RELAY = 1287,
        IDC_RELAY_SPIN = 1288,
        IDC_EXTRA = 1600,
    };
    enum Form { kPlain = 0, kMotor = 1 };
    static constexpr int kFirstLane = 1;
    static constexpr int kLastLane = 100;

    explicit CDlgLaneSel(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    std::string m_title;
    std::string m_relayLabel;     // empty: the usual relay label
    std::string m_extraButtonKey; // motor form: the extra button's text key
    bool m_hideAll = false;
    bool m_hideLane = false;
    bool m_hideAllCards = true;
    bool m_hideRelay = false;
    int m_relayMax = 9999;
    int m_form = kPlain;
    int m_lane = 0;
    int m_allTargets = 0;
    int m_relay = 0;
    int m_allCards = 0;

    // Motor form: the band advances of a lane (0: every lane), count times.
    std::function<void(int lane, int count)> onAdvance;

private:
    void OnAllTargets();
    void OnAdvance();
};
