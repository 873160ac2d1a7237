#pragma once
// The competition the range works on: the officer's choice (a new one made
// as a copy of the open one's settings and given its settings first), the
// switch to the competition chosen or to the practice competition, the
// targets set up for it, and the computer name the displays find the clock
// link by.
#include "foundation/files/BVLog.h"

class CMainFrame;

class CompetitionChoice {
public:
    explicit CompetitionChoice(CMainFrame& frame) : m_frame(frame) {}

    // The competition choice, then the switch to the competition chosen,
    // with the lanes' periodic work paused.
    void OnCompetitionChoice();
    // Makes competition n's folder and settings as a copy of the open one's;
    // false, after telling the officer, when it could not.
    bool CreateCompetition(int n);
    // The range goes over to the practice competition.
    void SwitchToPractice();
    // The targets set up for the competition open now.
    void ResetLanesForCompetition();
    // The range configuration's computer name: this computer's, or empty.
    void SetComputerName(bool set);

private:
    // Every lane on a channel gets the set-up of the competition open now,
    // with code 58 when it takes part (or is the twin lane), else 20 with its
    // print and card summary stopped; the outside system's lanes that take
    // part leave it. The practice competition takes no lane.
    void SetUpLanes(bool practice);

    CMainFrame& m_frame;
    CBVLog m_log;
};
