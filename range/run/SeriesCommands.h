#pragma once
// How the range officer runs a series: the clock state to the targets, the
// shoot command, the mark command that shows the shots on the monitors, the
// mark command of a lane whose shots the twin lane shows in turn. Each works
// on the lanes' blocks, builds its commands and routes them; the lane it is
// for comes from the officer when the competition's options ask for it.
#include "foundation/files/BVLog.h"
#include "line/LineMessage.h"
#include "range/lanes/Commands.h"

#include <vector>

struct RangeObjects;
class FrameServices;
class RangeControl;
class TickCounters;

// The lane dialog's question and answer: a lane, or every lane.
struct LaneChoice {
    const char* titleKey = nullptr;
    int lane = 0;  // the first active lane when asked
    int relay = 0; // and its relay
    bool allTargets = false;
};

// What the series commands need of the window besides FrameServices.
class SeriesHost {
public:
    virtual ~SeriesHost() = default;
    // The lane dialog with its relay hidden; false when cancelled.
    virtual bool ChooseLane(LaneChoice& choice) = 0;
    // The clock message to the displays.
    virtual void SendClock() = 0;
    // The panel's clock drawn again.
    virtual void RedrawClock() = 0;
};

class SeriesCommands {
public:
    // The series the targets take: 1 to 20.
    static constexpr int kFirstSeries = 1;
    static constexpr int kLastSeries = 20;

    SeriesCommands(RangeObjects& objects, FrameServices& services, RangeControl& range, TickCounters& tick,
                   SeriesHost& host);

    // The clock's state to a lane's target (0: every lane), with the mode
    // command repeated until the targets confirm it.
    void SendClockMode(int lane);
    // markKind: 0 single shots, 1 series, 2 blocked; seriesIndex: series - 1.
    void ShootSeries(int markKind, int seriesIndex, bool askLane);
    void MarkSeries(int markKind, int seriesIndex, bool askLane);
    void MarkTwinLane(int markKind, int seriesIndex);

    // The ticks until a lane's first card summary after a shoot: the lanes'
    // summaries spread over 20 to 39 seconds.
    static int CardCountdown(int lane);
    // The mode repeats a lane waits for, by the clock's set period.
    static int PendingModes(int periodSeconds);

private:
    // Whether the series is one the targets take; tells the officer if not.
    bool SeriesAccepted(int series);
    // The lanes a shoot or mark is for: the officer's choice, or every
    // active lane; empty when the officer cancelled. The one lane chosen is
    // given alone even when it is not active (SendCommand decides).
    bool AddressedLanes(const char* titleKey, bool askLane, std::vector<int>& lanes);
    // The start of the shoot and mark commands: the lanes the command is for
    // (empty and false when the officer cancelled), the twin lane's sums
    // cleared.
    bool AddressSeries(const char* titleKey, int series, bool askLane, std::vector<int>& lanes);
    // The shoot, mark or twin lane's mark command of a series.
    LineMessage MarkMessage(MarkCmd::Form form, int series, int markKind, bool shooterClock);
    // The command to each lane, the outside range system's lanes started or
    // shown their series by the system itself.
    void SendToLanes(const std::vector<int>& lanes, const LineMessage& m, int series, int markKind, bool mark);
    // The outside range system's lanes start or show the series themselves.
    void OutsideLanes(const std::vector<int>& lanes, int series, bool seriesMarking, bool mark);
    // The lane's series byte, with the change still to be written unless the
    // outside system reports the lane, written into its active record.
    void SetSeries(int lane, int series);
    bool TurningTargets();
    // The competition shows the shooting clock on the monitors while marking.
    bool ShooterClock();
    void ShowSeriesStatus(const char* key, int markKind, int series);
    void RedrawRows(int first, int last);

    RangeObjects& m_obj;
    FrameServices& m_services;
    RangeControl& m_range;
    TickCounters& m_tick;
    SeriesHost& m_host;
    CBVLog m_log;
};
