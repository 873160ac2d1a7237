#pragma once
// Exchange files on a memory stick, for a range whose results office is not
// connected: names from the medium into the exchange folder, the results of
// the active relay or of a chosen relay onto the medium, and the name and
// result files on the medium deleted. Each action asks for the medium's
// folder, starting at the one chosen last for names or results (the
// profile's BVLeder MediaPath).
#include "platform/ui/Dialog.h"

#include <string>

class RangeControl;
struct RangeObjects;

class CDlgMedia : public platform::Dialog {
public:
    enum {
        IDD = 155,
        IDC_ACTIVE = 1416,
        IDC_RELAY = 1419,
        IDC_NAMES = 1422,
        IDC_RESULTS = 1424,
        IDC_OK = 1427,
        IDC_RELAY_LABEL = 1429,
        IDC_SPIN = 1431,
        IDC_DELETE = 1433,
    };
    static constexpr const char* kProfileSection = "BVLeder";
    static constexpr const char* kProfileKey = "MediaPath";

    CDlgMedia(RangeObjects& objects, RangeControl& range, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    // Set by the caller: the active relay ticked, the relay to offer.
    int m_activeRelay = 1;
    int m_relay = 1;

private:
    void OnActive();
    // The folder chosen on the medium; false when none was.
    bool ChooseMedium(std::string& folder);
    void OnNames();
    void OnResults();
    void OnDelete();
    int ResultsProgram();
    std::string Prefix();
    std::string ExchangeFolder();

    RangeObjects& m_obj;
    RangeControl& m_range;
};
