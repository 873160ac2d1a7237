#pragma once
// The range control's main frame: it owns the line channels, takes what the
// target units send and hands it to the handlers, and sends every command of
// the program to the targets. Everything runs on the user-interface thread;
// the line threads meet it only in the queues of the line objects.
//
// The frame works without a screen (the tests run it so); CreateWindowFrame
// gives it its window, whose status bar the status texts go to.
#include "foundation/BVLog.h"
#include "foundation/CompOptions.h"
#include "foundation/ConfigItem.h"
#include "line/LineMessage.h"
#include "range/LaneTable.h"
#include "range/RangeObjects.h"
#include "range/TargetMessages.h"

#include <memory>
#include <string>

class CBVSocket;

namespace platform {
class FrameWnd;
}

class CMainFrame {
public:
    // Window messages of the frame.
    static constexpr int WM_DISPATCH = 0x8000 + 1;  // take the received messages now

    // Status-bar panes: warnings go to pane 1, information to pane 2.
    static constexpr int kWarningPane = 1;
    static constexpr int kInfoPane = 2;

    // The dispatcher takes at most this many messages per channel and call.
    static constexpr int kMaxSweeps = 6;

    explicit CMainFrame(RangeObjects& objects);
    virtual ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The frame window with its status bar; made once.
    platform::FrameWnd* CreateWindowFrame();
    platform::FrameWnd* Window() const;

    RangeObjects& Objects() { return m_obj; }
    LaneTable& Lanes() { return m_obj.lanes; }
    PortTable& Ports() { return m_obj.ports; }

    // ---- Lanes and line channels
    // Closes and opens the four channels from the range configuration.
    void OpenPorts();
    void ClosePorts();
    int NextActiveLane(int lane) const { return m_obj.lanes.NextActiveLane(lane); }
    int NextLineLane(int lane) const { return m_obj.lanes.NextLineLane(lane); }
    // The line status of a lane a command goes to.
    void MarkLane(int lane, uint8_t value);
    // Rates every serial or USB lane from its slot's counters.
    void UpdateLineStatus();
    bool Simulation() const { return m_simulation; }
    bool OutsideSystemOpen() const { return m_outsideSystem; }

    // ---- Receive dispatcher
    void DispatchMessages();
    // Checks and handles one message as taken from a channel.
    void Dispatch(int channel, const LineMessage& m);
    // Writes the lane's series into its active record; lane 0 clears the
    // record of the final marking.
    void WriteActive(int lane, uint8_t series);
    // Marks the gaps of the lane's shots up to the count its target holds,
    // on the card as stored, so they can be asked for.
    virtual void ReloadShotRecord(int relay, int lane, int count);
    void ShowStatusKey(const char* key);
    void ShowStatusText(const std::string& text);
    void ShowStatusKeys(const char* key1, const char* key2, const char* text);

    // ---- Outgoing commands
    // Routes a command: to one lane, every active lane (kEveryLane) or once to
    // every open line (kEveryLine). The lane sent to, or 0.
    int SendCommand(int lane, const LineMessage& message, uint8_t flags);
    void SendMode(int mode, int lane, uint8_t flags);
    void ResetAllLanes();
    void SendLaneSetup(int lane, uint8_t flags);
    void SendProgram(int lane, uint8_t flags);
    void SendText(int lane, const std::string& text);
    // The lane's card as we have it, for its monitor; lane 0 for every active lane.
    virtual void SendCardOverview(int lane);
    void DeleteMonitorCard(int lane);
    void SendZoom(int lane, int level);
    void SendMotor(int lane, int value);
    void SendStatusQuery();
    void SendLight(int lane, const int intensity[3]);
    void SendShoot(int lane, int value);
    void SendLift(int lane, int position);
    void OnToggleStop();

    // ---- What the tick and the commands share
    int m_counterA = 0;          // ticks since a message came in; the file check waits for quiet
    int m_statusCountdown = 0;   // ticks until the warning pane is cleared
    int m_askType = 0;           // question box: 0 none, 1 start-up, 2 exit, 3 exit countdown
    int m_askCountdown = 0;
    uint32_t m_clockStartTick = 0;  // tick count when the shooting clock was last started

    // The clock link's server, made on the frame's window by the start-up;
    // opening the lines starts it on the clock port, closing them stops it.
    std::unique_ptr<CBVSocket> m_socket;
    int m_clockPort = 8888;

    // The open competition's number (-1 none, 0 the practice competition),
    // its settings (each with its default while none is open), and the range
    // configuration's.
    int CompetitionNumber() const;
    int CompInt(const ConfigIntItem& item);
    CompOptions Options() const;
    int RangeInt(const ConfigIntItem& item);

protected:
    // ---- Work of the shot intake, the cards, the views and the dialogs,
    // reached from the dispatcher and the commands.
    virtual void OnShotMsg(const LineMessage& m);
    virtual void OnMonitorPrintMsg(const LineMessage& m);
    virtual void OnLightMsg(const LineMessage& m);
    virtual void OnUnitMsg(const LineMessage& m);
    virtual void RequestMissingShots(int lane);
    virtual void SendLaneText(int lane, int series, bool force);
    virtual void RecomputeLane(int lane);
    virtual void CloseAsk();
    virtual void OnAskCountdown();
    virtual void RedrawRow(int lane);
    virtual void RefreshPanel();

private:
    class FrameWindow;

    void OnLaneState(int lane, const LineMessage& m);
    void OnShotFile(int lane, const LineMessage& m);
    void OpenChannel(int k);

    RangeObjects& m_obj;
    CBVLog m_log;
    std::unique_ptr<FrameWindow> m_window;
    bool m_simulation = false;
    bool m_outsideSystem = false;
};
