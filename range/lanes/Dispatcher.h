#pragma once
// The receive dispatcher: every message the line channels took from the
// target units is checked for where it comes from and for its length, and
// handed to the handler of its command byte. What the lanes say of
// themselves it keeps in the lane table; shots, cards, texts and a monitor's
// print request go to their owners through DispatchReceivers, the dialogs'
// messages to the frame.
#include "foundation/files/BVLog.h"
#include "line/LineMessage.h"

#include <cstdint>

struct RangeObjects;
class FrameServices;
class LineChannels;
class TickCounters;

// The owners of what the dispatcher hands on.
class DispatchReceivers {
public:
    virtual ~DispatchReceivers() = default;
    virtual void OnShotMsg(const LineMessage& m) = 0;
    // 'Y': a lane's monitor asks for its card to be printed, or aborts.
    virtual void OnMonitorPrintMsg(const LineMessage& m) = 0;
    virtual void RequestMissingShots(int lane) = 0;
    virtual void SendLaneText(int lane, int series, bool force) = 0;
    virtual void RecomputeLane(int lane) = 0;
    virtual void WriteActive(int lane, uint8_t series) = 0;
    virtual void ReloadShotRecord(int relay, int lane, int count) = 0;
    virtual void SendCardOverview(int lane) = 0;
};

class Dispatcher {
public:
    // The dispatcher takes at most this many messages per channel and call.
    static constexpr int kMaxSweeps = 6;

    Dispatcher(RangeObjects& objects, FrameServices& services, TickCounters& tick, LineChannels& channels,
               DispatchReceivers& receivers);

    // Takes what the open channels received, a message per channel in turn.
    void DispatchMessages();
    // Checks and handles one message as taken from a channel.
    void Dispatch(int channel, const LineMessage& m);

private:
    void OnLaneState(int lane, const LineMessage& m);
    void OnShotFile(int lane, const LineMessage& m);

    RangeObjects& m_obj;
    FrameServices& m_services;
    TickCounters& m_tick;
    LineChannels& m_channels;
    DispatchReceivers& m_receivers;
    CBVLog m_log;
};
