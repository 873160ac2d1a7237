#pragma once
// The display loop: every 100 ms one tick chooses the picture to show, looks
// at the settings files and the range folders by their change counters,
// brings the targets up to date (names, shots, sums, places), blinks status
// texts, sets the title and tells the frame what to draw. The frame owns one
// and drives it by its timer and its keys; tests drive it tick by tick.
#include <cstdint>
#include <functional>
#include <string>

#include "display/loop/DisplayPort.h"
#include "display/model/TickCounter.h"
#include "display/model/VisData.h"
#include "display/settings/LoopIntervals.h"
#include "foundation/files/BVLog.h"

class DisplayLoop {
public:
    // The frame's commands, by their ids.
    enum Command {
        kSelectAltC = 32782, kSelectEsc = 32786, kSelectButton = 32788, kFullScreenOn = 32771,
        kFullScreenOff = 32772, kToggleFullScreen = 32783, kNext = 32785, kNextPage = 32798, kPrevious = 32784,
        kPreviousPage = 32797, kFirst = 32794, kLast = 32795, kPause = 32796, kRefresh = 32793,
    };
    static constexpr int kBlinkTicks = 20;

    DisplayLoop(CVisData& data, DisplayPort& port);
    virtual ~DisplayLoop() = default;

    // Once, at the frame's first focus: the intervals of .\BVVis.ini.
    void OnFirstFocus(const LoopIntervals& intervals);
    // One tick; 0, or -1 when it stopped early.
    int DisplayTick();
    // A command of the frame's keys or tool bar.
    void OnCommand(int id);

    int ChoosePicture(int step);
    void SetDisplayTitle();
    void OpenSelectDialog();
    int Repaint();
    void Blink();

    // --- Range polling and target loading ---
    int PollSources();
    int LoadPicture();
    int ReadNames(CVisTarget& target);
    static int NormaliseViewFlags(CVisTarget& target);
    // ViewFlags of a new target from its ViewType, the picture's flags and
    // its place option, normalised.
    static int NewViewFlags(int viewType, int pictureFlags, bool showPlace);

    // --- Shot sums and ranking ---
    int ReadShots(CVisTarget& target);
    static int RankTotal(CVisEvent& event, const ShotListRecord& shots, int series, int valueSystem, int& count);
    int RankEvents();
    // The estimate of a total by EstimateMode over the program's T planned shots.
    static int Estimate(int mode, int total, int count, int planned, int best);
    // Shots the program plans for a series, 0 .. 250.
    static int PlannedShots(CProgramStore& programs, int series, int program);

    // The frame's clock links: kept up and read into the first target's
    // clock text on every tick of a picture with targets, and closed before
    // the select dialog opens (the events they belong to go with it).
    std::function<void(CVisTarget&)> updateClockLinks;
    std::function<void()> closeClockLinks;

    // State the frame and tests look at.
    CTickCounter configCounter, nameCounter, shotCounter, pictCounter, blinkCounter;
    bool started = false;
    // A start by the select dialog's countdown also stays in a window: the
    // display shares the screen with the range control (the demo).
    bool countdownInWindow = false;
    bool pending = true;
    bool firstTick = true;
    bool exitFlag = false;
    bool paused = false;
    int secondsShown = 0;
    int blinkPhase = 0;
    std::string title;

private:
    bool OpenStores();
    void ReadRangeSettings(CVisEvent& event);
    void OpenEventData(CVisEvent& event);
    int LoadTargets(CVisPicture& pic);
    void StepTargets(CVisPicture& pic);
    int ReadTargetRecords(CVisPicture& pic, CVisTarget& t);
    bool FindFinalLane(CVisEvent& event, const ActiveRecord& final, int& lane, int& cardRec);
    void CheckFinalLock(CVisPicture& pic);
    void OneShotWindow(CVisPicture& pic);
    void LookFailed(CVisEvent& event);
    // 1 when Shot.BVD was written since the last look, 0 not, -1 unreadable.
    static int ShotFileMoved(CVisEvent& event);
    int LaneStartScore(CVisEvent& event, const ActiveRecord& active);
    bool Elapsed(CTickCounter& c) { return c.Elapsed(false, false); }

    CVisData& m_data;
    DisplayPort& m_port;
    CBVLog m_log;
};
