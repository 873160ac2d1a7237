#include "range/run/TickSchedule.h"

#include "range/base/QuestionBox.h"

bool TickSchedule::ArmFirstTick(TickWindow& window)
{
    if (startState != StartState::Created)
        return false;
    startState = StartState::FirstFocus;
    window.ArmTimer(kFirstTickMs);
    return true;
}

void TickSchedule::OnTick(TickLogic& logic, TickWindow& window)
{
    // The timer is killed first and armed again last, so a tick never runs
    // inside another even when a step opens a message box.
    window.KillTimer();
    CountTick();

    if (startState == StartState::Created)
        return;

    if (startState == StartState::FirstFocus) {
        window.Startup();
        logic.SendStartupMode();
        logic.ResetAllLanes();
        startState = StartState::Running;
        window.Questions().Ask(AskState::Startup);
    }

    // Without a competition there is nothing to run: the start-up failed or
    // the officer chose none.
    if (logic.Competition() < 0) {
        window.CloseFrame(true);
        return;
    }

    window.ShowMonitorFrames();

    if (askCountdown != 0) {
        --askCountdown;
        if (askCountdown > 0) {
            window.Questions().AskProgress();
        } else if (!window.Questions().AskCountdownEnd()) {
            return;
        }
    }

    if (startState != StartState::Created && !pause) {
        // The repeats stop by themselves: the countdown is set again only
        // while some lane still waits for its confirmation.
        if (resendCountdown != 0 && --resendCountdown == 0) {
            if (logic.RepeatModes())
                resendCountdown = kModeRepeatTicks;
        }
        logic.LaneWork();
        window.RefreshPanel();
        logic.DispatchMessages();
        logic.PollOutsideSystem();
        logic.SimulationStep();

        // The reload takes precedence; a steady stream of messages keeps
        // the lines from being quiet and so puts the file check off.
        if (ReloadDue()) {
            logic.ReloadRangeConfig();
            logic.ReloadShots(false);
            logic.RefreshChangedRows();
        } else if (FileCheckDue()) {
            int changed = logic.CheckFiles(false);
            if (changed != 0) {
                if (changed & 0x80)
                    window.RefreshViews();
                logic.ReloadShots(false);
                logic.RefreshChangedRows();
            }
        } else {
            window.RefreshCardDialog();
        }

        if (sumsCountdown != 0 && --sumsCountdown == 0)
            logic.SendSums();
    }

    if (fileTouchCountdown != 0 && --fileTouchCountdown <= 0) {
        logic.TouchFiles();
        fileTouchCountdown = kFileTouchTicks;
    }
    // SendClock sets the countdown again.
    if (clockCountdown != 0 && --clockCountdown <= 0)
        window.SendClock();
    if (statusCountdown != 0 && --statusCountdown == 0)
        window.ClearStatusText();

    window.ArmTimer(kTickMs);
}
