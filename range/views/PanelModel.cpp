#include "range/views/PanelModel.h"

#include "foundation/comp/ShotClock.h"
#include "foundation/settings/CompSettings.h"
#include "range/base/RangeObjects.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace PanelModel {
namespace {

bool TurningTargets(int equipment) { return equipment == 1 || equipment == 129; }

std::string Clock(int tenths)
{
    char text[CShotClock::kTextSize];
    return CShotClock::FormatTenths(tenths, text);
}

// Writes an item of the competition only when it changes: the other
// programs re-read the whole file on every write.
void Keep(RangeObjects& objects, const ConfigIntItem& item, int value)
{
    CBVConfig& config = objects.comp.CompConfig();
    if (objects.comp.IsOpen() && config.IsOpen() && ReadItem(config, item) != value)
        WriteItem(config, item, value);
}

// Times, clock and button texts of the selected series.
void FillSeries(RangeObjects& objects, State& s)
{
    CProgramStore& programs = objects.programs;
    CProgramStore::SerieTiming timing;
    int equipment = s.series >= 1 ? programs.GetSerieTiming(timing, s.series, 0) : programs.GetEquipment(0);
    int programTenths = programs.GetCommand(0);
    if (objects.CompetitionNumber() > 0)
        s.times = TimesText(timing, equipment, programTenths, objects.Text("IDS_COMMA"));
    s.clock = ClockFor(timing, equipment, programTenths);
}

}  // namespace

std::string TimesText(const CProgramStore::SerieTiming& timing, int equipment, int programTenths,
                      const std::string& comma)
{
    char text[128];
    if (TurningTargets(equipment)) {
        std::snprintf(text, sizeof text, "%d + %d%s%d-%d%s%d x %d", timing.delay / 10, timing.green / 10,
                      comma.c_str(), timing.green % 10, timing.red / 10, comma.c_str(), timing.red % 10, timing.rep);
        return text;
    }
    return Clock(programTenths) + " + " + Clock(timing.timer);
}

ClockSetting ClockFor(const CProgramStore::SerieTiming& timing, int equipment, int programTenths)
{
    ClockSetting c;
    c.period = programTenths / 10;
    c.extra = timing.noTimer ? 0 : timing.timer / 10;
    c.mode = timing.timer != 0 || TurningTargets(equipment) ? 2 : 1;
    return c;
}

State Read(RangeObjects& objects)
{
    State s;
    CProgramStore& programs = objects.programs;
    s.seriesCount = std::max(0, programs.GetSerieCount(0));
    int buttons = std::min(s.seriesCount, kSeriesButtons);
    s.stepCount = std::min(s.seriesCount, kStepSeries);
    s.programName = programs.GetName(nullptr, 0);
    for (int series = 1; series <= buttons; ++series)
        s.seriesNames.push_back(programs.GetSerieName(series, nullptr, 0));

    int series = objects.CompInt(CompSettings::kCurrentSeries);
    series = std::clamp(series, 0, s.seriesCount);
    Keep(objects, CompSettings::kCurrentSeries, series);
    s.series = series;

    int stored = objects.CompInt(CompSettings::kMarkKind);
    int kind = stored > 0 ? stored - 1 : (series >= 1 ? programs.GetSerieMark(series, 0) : 0);
    s.markKind = std::clamp(kind, 0, 2);
    Keep(objects, CompSettings::kMarkKind, s.markKind + 1);

    FillSeries(objects, s);
    s.twinLane = objects.CompInt(CompSettings::kTwinLane) != 0;
    s.markAllKey = s.twinLane ? "IDS_PANEL_MARKALL1" : "IDS_PANEL_MARKALL";
    s.running = objects.CompetitionNumber() > 0;
    s.shooterKey = objects.Options().IsOn(CompOptions::RelayChangeAllLanes) ? "IDS_PANEL_SHOOTER_ALL"
                                                                             : "IDS_PANEL_SHOOTER";
    return s;
}

State SelectSeries(RangeObjects& objects, int index)
{
    int series = index + 1;
    Keep(objects, CompSettings::kCurrentSeries, series);
    int kind = std::clamp(objects.programs.GetSerieMark(series, 0), 0, 2);
    Keep(objects, CompSettings::kMarkKind, kind + 1);
    State s = Read(objects);
    // A series beyond the program is refused by the commands, not here.
    s.series = series;
    return s;
}

void SetMarkKind(RangeObjects& objects, int kind) { Keep(objects, CompSettings::kMarkKind, std::clamp(kind, 0, 2) + 1); }

Layout StackSeries(const platform::Rect& markGroupFirst, const platform::Rect& programGroup, int buttonHeight,
                   int shown)
{
    Layout l;
    shown = std::clamp(shown, 0, kSeriesButtons);
    int h = buttonHeight;
    l.programGroup = programGroup;
    l.programGroup.bottom = programGroup.top + (h + 1) * (shown + 1) + 10;
    l.markGroup = markGroupFirst;
    l.markGroup.right = programGroup.right;
    int left = programGroup.left + 3;
    int right = programGroup.right - 2;
    int top = programGroup.top + h + 3;
    for (int i = 0; i < kSeriesButtons; ++i) {
        // The hidden buttons wait below the last shown one.
        int row = std::min(i, shown);
        int y = top + row * (h + 1);
        l.buttons.push_back({left, y, right, y + h});
    }
    return l;
}

void SplitMarkButtons(platform::Rect& markAll, platform::Rect& twin, bool twinLane)
{
    int left = markAll.left;
    int right = twin.right;
    if (!twinLane) {
        markAll.right = right;
        return;
    }
    int middle = (left + right) / 2;
    markAll.right = middle - 1;
    twin.left = middle + 1;
}

int ClockPoints(const std::string& text) { return std::strlen(text.c_str()) < 6 ? 24 : 18; }

}  // namespace PanelModel
