#include "range/views/LaneCells.h"

#include "foundation/settings/CompSettings.h"
#include "range/base/RangeObjects.h"
#include "range/views/LaneColumns.h"

#include <cstdio>
#include <cstring>

namespace LaneCells {
namespace {

using namespace LaneColumns;

// A text field of a record, up to its first NUL or its end.
template <size_t N>
std::string Field(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

std::string Number(const char* format, int value)
{
    char text[24];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

int CurrentSeries(const LaneBlock& b) { return b.active.seriesState & 0x7F; }

// The shots the program gives the lane's current series.
int ProgramShots(RangeObjects& objects, const LaneBlock& b)
{
    int series = CurrentSeries(b);
    return series >= 1 && series <= CDataComp::kMaxSeries ? objects.programs.GetSerieShots(series, 0) : 0;
}

// The stored shot a shot cell shows, or null for an empty cell.
const ShotRecord* ShotOfCell(const LaneBlock& b, int cell)
{
    int index = ShotIndex(b, cell);
    if (index < 0 || index >= 100 || index >= b.currentSeriesCount)
        return nullptr;
    int slot = b.displaySlots[index];
    if (slot >= CDataComp::kSlots)
        return nullptr;
    return &b.shots.shots[slot];
}

const char* LiftKey(int code)
{
    switch (code) {
    case kLiftProne: return "IDS_LIFT_PRONE";
    case kLiftKneel: return "IDS_LIFT_KNEE";
    default: return "IDS_LIFT_STAND";
    }
}

}  // namespace

uint32_t Rgb(Colour colour)
{
    switch (colour) {
    case Colour::Red: return 0xFF0000;
    case Colour::Blue: return 0x0000FF;
    case Colour::Green: return 0x00C400;
    case Colour::Yellow: return 0xFFFF00;
    case Colour::LightCyan: return 0x80FFFF;
    case Colour::LightYellow: return 0xFFFFC4;
    case Colour::WindowText: return 0x000000;
    case Colour::Window: break;
    }
    return 0xFFFFFF;
}

std::vector<int> ListedLanes(const RangeObjects& objects)
{
    std::vector<int> lanes;
    if (objects.CompetitionNumber() < 0)
        return lanes;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        const LaneBlock& b = objects.lanes[lane];
        if (b.channelType != 0 && b.enabled != 0)
            lanes.push_back(lane);
    }
    return lanes;
}

int ShotIndex(const LaneBlock& lane, int cell)
{
    int n = lane.currentSeriesCount;
    int row = n > 0 ? (n - 1) / 10 : 0;
    return (cell - 1) + 10 * row;
}

std::string SumText(int hundredths, int valueSystem, const std::string& comma)
{
    char text[48];
    if (valueSystem == 6)
        std::snprintf(text, sizeof text, "%d%s%02d", hundredths / 100, comma.c_str(), hundredths % 100);
    else if (CDataComp::HasDecimals(valueSystem))
        std::snprintf(text, sizeof text, "%d%s%d", hundredths / 100, comma.c_str(), (hundredths / 10) % 10);
    else
        std::snprintf(text, sizeof text, "%d", hundredths / 100);
    return text;
}

std::string Text(RangeObjects& objects, int lane, uint8_t code)
{
    if (!LaneTable::IsLane(lane))
        return {};
    LaneBlock& b = objects.lanes[lane];
    const std::string comma = objects.Text("IDS_COMMA");
    if (IsShot(code)) {
        int index = ShotIndex(b, code);
        if (index < 0 || index >= 100 || b.displayValues[index] > 1299)
            return {};
        std::string text;
        objects.comp.ValueText(b.displayValues[index], b.card.valueSystem, text);
        return text;
    }
    switch (code) {
    case kName: return Field(b.name.name);
    case kClub: return Field(b.name.club);
    case kClass: return Field(b.name.cls);
    case kCategory: return Field(b.name.category);
    case kSeriesSum: return SumText(b.seriesSum, b.card.valueSystem, comma);
    case kTotal: return SumText(b.total, b.card.valueSystem, comma);
    case kPlace: return b.place != 0 ? Number("%d", b.place) : std::string();
    case kProgram: return objects.programs.GetName(nullptr, 0);
    case kTargetType: return objects.targetTypes.GetName(b.card.targetType);
    case kSensitivity:
        // The outside system keeps the sensitivity to itself.
        if (b.channelType == PortRecord::kOutsideSystem)
            return {};
        return objects.Text(b.sensitivity >= 1 && b.sensitivity <= 4
                                ? ("IDS_SENSITIVITY" + std::to_string(b.sensitivity)).c_str()
                                : "IDS_SENSITIVITY0");
    case kBand: {
        char text[16];
        std::snprintf(text, sizeof text, "%d/%d", b.card.band2, b.card.band1);
        return text;
    }
    case kLiftProne:
    case kLiftKneel:
    case kLiftStand:
        // Codes 51 to 53 are the positions '3' to '5'.
        return b.liftPosition == code ? objects.Text(LiftKey(code)) : std::string();
    case kStatusText: return b.lastText.substr(0, 30);
    case kLane: return Number("%d", lane);
    case LaneColumns::kRelay:
        // Until the target reports, the range control's relay in brackets.
        if (b.targetCompetition < 0 || b.targetRelay < 0)
            return Number("(%2d)", b.active.relay);
        return Number("%2d", b.targetRelay);
    case kShots: return Number("%d", b.currentSeriesCount);
    case kSeriesName: {
        if (b.active.seriesState & 0x80)
            return objects.Text("IDS_LIST_SERIENONE");
        int series = CurrentSeries(b);
        if (series < 1 || series > CDataComp::kMaxSeries)
            return {};
        return objects.programs.GetSerieName(series, nullptr, 0);
    }
    default: return {};
    }
}

Colours ColoursOf(RangeObjects& objects, int lane, uint8_t code)
{
    Colours c;
    if (!LaneTable::IsLane(lane))
        return c;
    LaneBlock& b = objects.lanes[lane];
    int competition = objects.CompetitionNumber();
    if (IsShot(code)) {
        const ShotRecord* shot = ShotOfCell(b, code);
        if (!shot || shot->state == CDataComp::kSlotFree)
            return c;
        if ((shot->flags & CDataComp::kFlagFlagged) && objects.CompInt(CompSettings::kSuperFinal) != 0)
            c.background = Colour::Yellow;
        else if (shot->flags & CDataComp::kFlagNoCoordinates)
            c.background = Colour::LightCyan;
        else if (shot->countingSeries == 0 && ProgramShots(objects, b) != 0)
            c.background = Colour::LightYellow;
        if (shot->flags & 0x20)
            return c;
        int rating = b.displayMarks[ShotIndex(b, code)];
        if ((rating & 0x80) || rating == 75)
            c.text = Colour::Red;
        else if (rating == 50)
            c.text = Colour::Blue;
        else if (rating == 25)
            c.text = Colour::Green;
        return c;
    }
    switch (code) {
    case LaneColumns::kRelay:
        if (b.targetCompetition != competition || b.targetRelay != b.active.relay)
            c.text = Colour::Red;
        break;
    case kShots: {
        int planned = ProgramShots(objects, b);
        if (planned > 0 && b.currentSeriesCount < planned)
            c.text = Colour::Blue;
        else if (planned > 0 && b.currentSeriesCount > planned)
            c.text = Colour::Red;
        int flagLimit = objects.CompInt(CompSettings::kSuperFinal);
        if (flagLimit > 0 && b.card.flaggedShots >= flagLimit)
            c.background = Colour::Red;
        else if (flagLimit > 0 && b.card.flaggedShots >= 1)
            c.background = Colour::Yellow;
        break;
    }
    case kTargetType:
        if (competition >= 0) {
            int simulated = objects.CompInt(CompSettings::kSimulatedDistance);
            if (objects.targetTypes.GetDistance(b.card.targetType) != simulated)
                c.text = Colour::Red;
            else if (simulated != objects.CompInt(CompSettings::kDistance))
                c.text = Colour::Blue;
        }
        break;
    case kSensitivity:
        if (b.channelType != PortRecord::kOutsideSystem && b.card.sensitivity != b.sensitivity)
            c.text = Colour::Red;
        break;
    default: break;
    }
    return c;
}

int StatusImage(const RangeObjects& objects, int lane)
{
    if (!LaneTable::IsLane(lane))
        return 0;
    const LaneBlock& b = objects.lanes[lane];
    if (b.lineStatus != LineStatus::kAnswers)
        return b.lineStatus;
    if (b.targetField16 != 0)
        return 9;
    if (b.targetState == 0 || objects.CompetitionNumber() == 0)
        return 8;
    return LineStatus::kAnswers;
}

}  // namespace LaneCells
