#pragma once
// What to print of the shooting cards: the relays and lanes (or all
// targets), graphical cards or a list, and for graphical cards how they are
// laid out. The dialog only edits its members; the print command presets
// them from the print settings, reads them back whatever the result (the
// settings are kept also when the officer cancels) and prints on OK.
#include "foundation/settings/CompOptions.h"
#include "platform/ui/Dialog.h"

#include <string>

class CDlgPrint : public platform::Dialog {
public:
    enum {
        IDD = 145,
        IDC_OK = 1301,
        IDC_CANCEL = 1302,
        IDC_RELAY_LABEL = 1303,
        IDC_RELAY_FROM = 1304,
        IDC_LANE_LABEL = 1305,
        IDC_LANE_FROM = 1306,
        IDC_ALL = 1307,
        IDC_PAGE_LABEL = 1308,
        IDC_PAGE = 1309,
        IDC_RELAY_FROM_SPIN = 1310,
        IDC_LANE_FROM_SPIN = 1311,
        IDC_PAGE_SPIN = 1312,
        IDC_BLACK = 1313,
        IDC_PROPERTIES = 1314,
        IDC_MARGIN_LABEL = 1315,
        IDC_MARGIN = 1316,
        IDC_MARGIN_SPIN = 1317,
        IDC_ZOOM1 = 1318,  // ..1327, zoom levels 1 to 10
        IDC_ZOOM_LABEL = 1328,
        IDC_COMPLETE = 1329,
        IDC_PRACTICE = 1330,
        IDC_RELAY_TO = 1331,
        IDC_RELAY_TO_SPIN = 1332,
        IDC_LANE_TO = 1333,
        IDC_LANE_TO_SPIN = 1334,
        IDC_RELAY_TO_LABEL = 1335,
        IDC_LANE_TO_LABEL = 1336,
        IDC_NAMES = 1366,
        IDC_TRUE_SIZE = 1391,
        IDC_GAUGE = 1408,
        IDC_GAUGE_LABEL = 1409,
        IDC_GRAPHICAL = 1411,
        IDC_LIST = 1412,
        IDC_MARGIN_UNIT = 1413,
    };
    static constexpr int kGauges = 8;

    // The competition's options say whether cards go by start number.
    CDlgPrint(QWidget* parent, const CompOptions& options);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    std::string m_caption;
    int m_relayFrom = 0;
    int m_relayTo = 0;
    int m_laneFrom = 0;
    int m_laneTo = 0;
    int m_allTargets = 0;
    int m_asList = -1;  // 0 graphical cards, 1 a list
    int m_seriesPerPage = 0;
    int m_margin = 0;   // millimetres
    int m_blackMark = 0;
    int m_practice = 0;
    int m_names = 0;
    int m_trueSize = 0;
    int m_gauge = 0;    // 0..7
    int m_completeTarget = 0;
    int m_zoom[10] = {};

private:
    void OnProperty();
    void OnAllTargets();
    void ShowProperties();

    bool m_startNumbers;
};
