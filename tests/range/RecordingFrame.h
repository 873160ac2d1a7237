#pragma once
// A main frame that notes what the dispatcher and the commands hand on to
// the shot intake, the cards and the dialogs.
#include "range/MainFrm.h"

#include <string>
#include <vector>

// A frame that notes what the dispatcher hands on to the rest of the program.
class RecordingFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    std::vector<std::string> calls;

protected:
    void OnShotMsg(const LineMessage& m) override { Note("shot", m.data[4]); }
    void OnMonitorPrintMsg(const LineMessage& m) override { Note("print", m.data[4]); }
    void OnLightMsg(const LineMessage& m) override { Note("light", m.data[4]); }
    void OnUnitMsg(const LineMessage& m) override { Note("unit", m.data[3]); }
    void RequestMissingShots(int lane) override { Note("missing", lane); }
    void SendLaneText(int lane, int series, bool force) override
    {
        Note("text", lane, series, force);
    }
    void RecomputeLane(int lane) override { Note("recompute", lane); }
    // The frame's own work, noted and done.
    void ReloadShotRecord(int relay, int lane, int count) override
    {
        Note("reload", relay, lane, count);
        CMainFrame::ReloadShotRecord(relay, lane, count);
    }
    void SendCardOverview(int lane) override
    {
        Note("overview", lane);
        CMainFrame::SendCardOverview(lane);
    }

private:
    template <typename... T>
    void Note(const char* what, T... values)
    {
        std::string s = what;
        ((s += " " + std::to_string(values)), ...);
        calls.push_back(s);
    }
};

