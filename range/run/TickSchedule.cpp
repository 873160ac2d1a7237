#include "range/run/TickSchedule.h"

bool TickSchedule::ArmFirstTick(TickWork& work)
{
    if (startState != StartState::Created)
        return false;
    startState = StartState::FirstFocus;
    work.ArmTimer(kFirstTickMs);
    return true;
}

void TickSchedule::OnTick(TickWork& work)
{
    // The timer is killed first and armed again last, so a tick never runs
    // inside another even when a step opens a message box.
    work.KillTimer();
    ++counterA;
    ++counterB;

    if (startState == StartState::Created)
        return;

    if (startState == StartState::FirstFocus) {
        work.Startup();
        work.SendStartupMode();
        work.ResetAllLanes();
        startState = StartState::Running;
        work.AskStartup();
    }

    // Without a competition there is nothing to run: the start-up failed or
    // the officer chose none.
    if (work.Competition() < 0) {
        work.CloseWithoutQuestion();
        return;
    }

    work.ShowMonitorFrames();

    if (askCountdown != 0) {
        --askCountdown;
        if (askCountdown > 0) {
            work.AskProgress();
        } else if (!work.AskCountdownEnd()) {
            return;
        }
    }

    if (startState != StartState::Created && !pause) {
        // The repeats stop by themselves: the countdown is set again only
        // while some lane still waits for its confirmation.
        if (resendCountdown != 0 && --resendCountdown == 0) {
            if (work.RepeatModes())
                resendCountdown = kModeRepeatTicks;
        }
        work.LaneWork();
        work.RefreshPanel();
        work.DispatchMessages();
        work.PollOutsideSystem();
        work.SimulationStep();

        // The reload takes precedence; a steady stream of messages keeps
        // resetting counter A and so puts the file check off until the lines
        // are quiet.
        if (counterB >= kReloadTicks) {
            counterB = 0;
            work.ReloadRangeConfig();
            work.ReloadShots(false);
            work.RefreshChangedRows();
        } else if (counterA >= kFileCheckTicks) {
            counterA = 0;
            int changed = work.CheckFiles(false);
            if (changed != 0) {
                if (changed & 0x80)
                    work.RefreshViews();
                work.ReloadShots(false);
                work.RefreshChangedRows();
            }
        } else {
            work.RefreshCardDialog();
        }

        if (sumsCountdown != 0 && --sumsCountdown == 0)
            work.SendSums();
    }

    if (fileTouchCountdown != 0 && --fileTouchCountdown <= 0) {
        work.TouchFiles();
        fileTouchCountdown = kFileTouchTicks;
    }
    // SendClock sets the countdown again.
    if (clockCountdown != 0 && --clockCountdown <= 0)
        work.SendClock();
    if (statusCountdown != 0 && --statusCountdown == 0)
        work.ClearStatusText();

    work.ArmTimer(kTickMs);
}
