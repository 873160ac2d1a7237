#pragma once
// The control panel without its window: what it shows of the competition's
// shooting program (one button per series, the selected series, the mark
// kind, the series' times and the clock set for it), how its series buttons
// are stacked, and the texts of its buttons. The selected series and the
// mark kind live in the competition's settings, so they survive a restart;
// they are written only when they change.
#include "foundation/settings/ProgramStore.h"
#include "platform/system/Geometry.h"

#include <string>
#include <vector>

struct RangeObjects;

namespace PanelModel {

// Series buttons 1501..1528; the keys step through the first 20 only.
inline constexpr int kSeriesButtons = 28;
inline constexpr int kStepSeries = 20;

// What the clock is set to for a series: seconds and the clock's mode.
struct ClockSetting {
    int period = 0;
    int extra = 0;
    int mode = 1;
    bool operator==(const ClockSetting&) const = default;
};

struct State {
    int seriesCount = 0;                   // of the program
    int stepCount = 0;                     // series the keys reach: at most 20
    std::string programName;
    std::vector<std::string> seriesNames;  // one per shown button, at most 28
    int series = 0;                        // selected, 1-based; 0 none
    int markKind = 0;                      // 0 single shot, 1 series, 2 blocked
    std::string times;                     // empty while no competition is open
    ClockSetting clock;
    bool twinLane = false;
    bool running = false;                  // a competition is open: the buttons work
    const char* markAllKey = "IDS_PANEL_MARKALL";
    const char* shooterKey = "IDS_PANEL_SHOOTER";
};

// The times of a series: on turning targets "delay + green-red x repeats"
// in seconds (the program keeps tenths), otherwise the program's shooting
// time and the series' timer as clock texts.
std::string TimesText(const CProgramStore::SerieTiming& timing, int equipment, int programTenths,
                      const std::string& comma);
ClockSetting ClockFor(const CProgramStore::SerieTiming& timing, int equipment, int programTenths);

// Reads the panel's state afresh: the program (re-read when its files
// changed), the selected series cut to the program's series, the stored
// mark kind (else the program's for the series), the times and the clock
// setting. The series and mark kind are written back when they changed.
State Read(RangeObjects& objects);

// The officer selects series index (0-based): the series and the program's
// mark kind for it become the competition's; the state afterwards.
State SelectSeries(RangeObjects& objects, int index);

// The officer chooses a mark kind (0..2).
void SetMarkKind(RangeObjects& objects, int kind);

// The stacking of the series buttons.
struct Layout {
    platform::Rect markGroup;
    platform::Rect programGroup;
    std::vector<platform::Rect> buttons;  // 28: the shown ones stacked, the others below them
};
// markGroupFirst: the marking group as first laid out; programGroup: where
// the program group stands (its height is made here); buttonHeight: the
// height of series button 1; shown: the buttons shown.
Layout StackSeries(const platform::Rect& markGroupFirst, const platform::Rect& programGroup, int buttonHeight,
                   int shown);

// The mark-all button and the twin lane's button: with a twin lane they
// share the width from the first's left edge to the second's right edge,
// one pixel apart from the middle; without, the first takes it all.
void SplitMarkButtons(platform::Rect& markAll, platform::Rect& twin, bool twinLane);

// The clock's text is drawn in 24 points, or 18 when it is 6 characters or longer.
int ClockPoints(const std::string& text);

}  // namespace PanelModel
