#pragma once
// The outside range system read on every tick: its events mark its lanes'
// contact, follow their remote control and bring its shots onto the cards,
// valued by this program's own target rules where the two agree.
#include "foundation/files/BVLog.h"
#include "line/outside/OutsideEvent.h"

struct RangeObjects;
struct ShotRecord;
class CVI9001;
class FrameServices;
class TickCounters;
class LineChannels;
class LaneRecords;
class ShotIntake;
class Simulation;

class OutsidePoll {
public:
    // Events taken per tick at most.
    static constexpr int kMaxEvents = 6;

    struct Links {
        LineChannels& channels;
        LaneRecords& records;
        ShotIntake& intake;
        Simulation& simulation;
    };
    OutsidePoll(RangeObjects& objects, FrameServices& services, TickCounters& tick, const Links& parts);

    void PollOutsideSystem();

    // The shot's value from the outside system's ring r and score d (tenths),
    // its flags and this program's own value; remote: its lanes are under
    // remote control.
    static int ShotValue(int r, int d, uint16_t fieldA, bool remote, int ownValue);

private:
    void FollowLanes(CVI9001& vi);
    // The lane touched by the event, or 0.
    int Handle(CVI9001& vi, int channel, const OutsideEvent& e);
    void OnControl(CVI9001& vi, int channel, int lane, int status);
    int OnShot(CVI9001& vi, int channel, int lane, const OutsideEvent& e);
    bool Enabled(int lane) const;

    RangeObjects& m_obj;
    FrameServices& m_services;
    TickCounters& m_tick;
    Links m_links;
    CBVLog m_log;
    int m_nextChannel = 0;
};
