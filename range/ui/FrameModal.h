#pragma once
// What the frame's commands share around their dialogs: a modal run that
// takes Cancel in time on a screen nobody sees, and the pause of the lanes'
// periodic work while a command changes the competition's data.
#include "platform/ui/Dialog.h"
#include "range/run/TickSchedule.h"

namespace FrameModal {

// Runs a dialog the frame opens by itself. On a screen nobody sees, the
// program says so on standard error and takes Cancel in time, as its boxes
// do, instead of waiting for good.
int Run(platform::Dialog& dialog);

}  // namespace FrameModal

// The lanes' periodic work waits while the competition data changes hands,
// until the command ends, however it ends.
class PauseScope {
public:
    explicit PauseScope(TickSchedule& tick) : m_tick(tick), m_was(tick.pause) { m_tick.pause = true; }
    ~PauseScope() { m_tick.pause = m_was; }
    PauseScope(const PauseScope&) = delete;
    PauseScope& operator=(const PauseScope&) = delete;

private:
    TickSchedule& m_tick;
    bool m_was;
};
