#pragma once
// The final marking: the officer steps through a lane's shots of the
// series by hand or at a tempo, lane by lane; every monitor and display
// follows. Modal; closing ends the marking on the monitors and clears the
// record the displays follow.
#include "platform/ui/Dialog.h"
#include "range/run/FinalMarking.h"

#include <functional>

class CDlgFinal : public platform::Dialog {
public:
    enum {
        IDD = 144,
        IDC_OK = 1261,
        IDC_SERIE_LABEL = 1262,
        IDC_SERIE = 1263,
        IDC_LANE_LABEL = 1264,
        IDC_SHOT_LABEL = 1265,
        IDC_LANE = 1266,
        IDC_SHOT = 1267,
        IDC_LANE_PREV = 1268,
        IDC_LANE_NEXT = 1269,
        IDC_LANE_FIRST = 1270,
        IDC_LANE_LAST = 1271,
        IDC_START = 1272,
        IDC_SHOT_PREV = 1273,
        IDC_SHOT_NEXT = 1274,
        IDC_SHOT_NONE = 1275,
        IDC_SHOT_ALL = 1276,
        IDC_TEMPO = 1277,
        IDC_TEMPO_SPIN = 1278,
        IDC_TEMPO_LABEL = 1279,
        IDC_SEC_LABEL = 1280,
        IDC_INFO = 1289,
        IDC_INFO_LANE = 1290,
        IDC_INFO_NAME = 1291,
        IDC_INFO_SHOT = 1292,
        IDC_INFO_VALUE = 1293,
        IDC_INFO_TOTAL = 1294,
        IDC_INFO_MARKED = 1295,
        IDC_INFO_START_LABEL = 1296,
        IDC_INFO_TOTAL_LABEL = 1297,
        IDC_INFO_START = 1299,
        IDC_GOTO = 1367,
        IDC_LANE_SPIN = 1368,
        IDC_MARKTYPE0 = 1369,
        IDC_MARKTYPE1 = 1370,
        IDC_MARKTYPE = 1371,
        IDC_MAXSHOT_LABEL = 1372,
        IDC_MAXSHOT = 1373,
        IDC_MAXSHOT_SPIN = 1374,
        IDC_RELAY_LABEL = 1392,
        IDC_RELAY = 1393,
        IDC_SEND = 1609,
    };
    static constexpr int kTempoTimer = 2;

    CDlgFinal(RangeObjects& objects, RangeControl& range, QWidget* parent = nullptr);

    // The range's first and last active lane, the lane shown first and the series.
    void Begin(int firstLane, int lastLane, int currentLane, int series);
    FinalMarking& Marking() { return m_final; }

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(int id) override;

    // The results to the results program (the frame's).
    std::function<void()> onSendResults;

private:
    void ChangeLane(int lane, int relay = -1);
    void OnGoTo();
    void OnTempoChange();
    void OnMarkType();
    void Finish(int result);
    void ShowTexts();

    RangeObjects& m_obj;
    FinalMarking m_final;
    bool m_initialised = false;
};
