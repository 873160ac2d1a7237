#pragma once
// The range control's commands to the targets: the one routing operation
// every command goes through, and the senders that fill each command from
// the lanes, the competition and the clock.
#include "foundation/files/BVLog.h"
#include "line/LineMessage.h"

#include <cstdint>
#include <string>

struct RangeObjects;
class FrameServices;
class LineChannels;

class LaneCommands {
public:
    LaneCommands(RangeObjects& objects, FrameServices& services, LineChannels& channels);

    // Routes a command: to one lane, every active lane (kEveryLane) or once to
    // every open line (kEveryLine). The lane sent to, or 0.
    int SendCommand(int lane, const LineMessage& message, uint8_t flags);
    void SendMode(int mode, int lane, uint8_t flags);
    // The mode command again to every lane that has not confirmed it; true
    // when some lane was sent to.
    bool RepeatModes();
    void ResetAllLanes();
    void SendLaneSetup(int lane, uint8_t flags);
    void SendProgram(int lane, uint8_t flags);
    // The text of the lane's monitor; lane 0 for every active lane.
    void SendText(int lane, const std::string& text);
    void OnToggleStop();
    void DeleteMonitorCard(int lane);
    void SendZoom(int lane, int level);
    void SendMotor(int lane, int value);
    void SendStatusQuery();
    void SendLight(int lane, const int intensity[3]);
    // The shoot command to every unit at once, as the shoot series ends it.
    void SendShootToAll(int value);
    void SendLift(int lane, int position);

    // Tick count when the shooting clock was last started; the mode command
    // carries it.
    uint32_t clockStartTick = 0;

private:
    RangeObjects& m_obj;
    FrameServices& m_services;
    LineChannels& m_channels;
    CBVLog m_log;
};
