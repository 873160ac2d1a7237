#pragma once
// Moves the target lifts of a lane, or of every lane, to a height: park,
// standing, kneeling or prone. The dialog stays open for the next move.
#include "platform/ui/Dialog.h"

#include <functional>

class CDlgLift : public platform::Dialog {
public:
    enum {
        IDD = 151,
        IDC_PARK = 1394,  // first of the four positions
        IDC_STAND = 1395,
        IDC_KNEE = 1396,
        IDC_PRONE = 1397,
        IDC_LANE_LABEL = 1398,
        IDC_LANE = 1399,
        IDC_LANE_SPIN = 1400,
        IDC_ALL = 1401,
        IDC_ACTIVATE = 1402,
        IDC_CLOSE = 1403,
    };
    enum Position { kNone = -1, kPark = 0, kStand = 1, kKnee = 2, kProne = 3 };
    static constexpr int kFirstLane = 1;
    static constexpr int kLastLane = 100;

    explicit CDlgLift(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    // The code a position goes to the lifts as: '6' park, '5' standing,
    // '4' kneeling, '3' prone; 0 for none.
    static int PositionCode(int position);

    int m_lane = 1;
    int m_position = kNone;
    int m_allTargets = 0;

    // Sends the lift code to a lane (0: every lane).
    std::function<void(int lane, int code)> onLift;

private:
    void OnAllTargets();
    void OnActivate();
};
