#pragma once
// What to send to the results office: the active relay, or a chosen relay
// (by start number, a range of start numbers). The dialog only edits its
// members; the send command presets them (SendPresetsFor) and sends after OK.
#include "foundation/settings/CompOptions.h"
#include "platform/ui/Dialog.h"

#include <cstdint>

class CDlgSend : public platform::Dialog {
public:
    enum {
        IDD = 146,
        IDC_OK = 1337,
        IDC_CANCEL = 1338,
        IDC_ACTIVE = 1339,
        IDC_RELAY_LABEL = 1340,
        IDC_RELAY_FROM = 1341,
        IDC_RELAY_FROM_SPIN = 1342,
        IDC_RELAY_TO_LABEL = 1343,
        IDC_RELAY_TO = 1344,
        IDC_RELAY_TO_SPIN = 1345,
    };

    CDlgSend(QWidget* parent, const CompOptions& options);

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    int m_relayFrom = 0;
    int m_relayTo = 0;
    int m_activeRelay = 0;
    uint8_t m_hideActive = 0;

private:
    void OnActive();

    bool m_startNumbers;
};
