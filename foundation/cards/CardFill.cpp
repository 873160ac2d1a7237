#include "foundation/cards/CardFill.h"

#include "foundation/comp/RunNumber.h"
#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/text/FieldText.h"
#include "foundation/settings/RangeSettings.h"

#include <algorithm>

namespace CardFill {

namespace {

// Hole radii (mm) of the gauges 1 to 7 a 1:1 card may be printed with.
constexpr double kGaugeRadius[] = {2.25, 2.795, 3.25, 3.81, 4.0, 4.065, 4.825};

}  // namespace

Options ReadOptions(CBVConfig& range, CBVConfig& competition)
{
    Options o;
    o.names = ReadItem(range, RangeItems::kPrintNames) != 0;
    o.practice = ReadItem(range, RangeItems::kPrintPracticeShots) != 0;
    o.trueSize = ReadItem(range, RangeItems::kPrintTrueSize) != 0;
    o.gauge = ReadItem(range, RangeItems::kPrintGauge);
    o.equipment = ReadItem(range, RangeItems::kExternalEquipment);
    o.startScore = ReadItem(competition, CompSettings::kStartScore) != 0;
    o.program = ReadItem(competition, CompSettings::kProgram);
    // Missing distances are the face's own, decided per card.
    o.actualDistance = ReadItem(competition, CompSettings::kDistance, 0);
    o.simulatedDistance = ReadItem(competition, CompSettings::kSimulatedDistance, 0);
    return o;
}

void ApplyPrintSettings(CBVConfig& range, CardPrintSettings& settings)
{
    settings.greyBlack = ReadItem(range, RangeItems::kPrintBlackMark) != 0 ? 1 : 0;
    settings.margin = ReadItem(range, RangeItems::kPrintMargin);
    settings.seriesPerSheet = ReadItem(range, RangeItems::kPrintSeriesPerPage);
    settings.SetZoomOption(ReadItem(range, RangeItems::kPrintZoomLevels));
    settings.trueSize = ReadItem(range, RangeItems::kPrintTrueSize) != 0 ? 1 : 0;
    settings.layout = ReadItem(range, RangeItems::kPrintAsList) != 0 ? CardPrintSettings::kListLines
                                                                      : CardPrintSettings::kSheets;
}

int Distance(int stored, int code, const CTargetTypes& types)
{
    return stored > 0 ? stored : types.GetDistance(code);
}

double HoleRadius(int code, const Options& options, const CTargetTypes& types)
{
    if (options.trueSize && options.gauge >= 1 && options.gauge <= 7)
        return kGaugeRadius[options.gauge - 1];
    return types.GetBulletRadius(code);
}

int Fill(const CardRecord& card, const NameRecord* name, const ShotListRecord& shots, CProgramStore& programs,
         const CTargetTypes& types, const Options& options, PrintCard& out)
{
    const int code = card.targetType;
    out.lane = card.lane;
    out.relay = static_cast<uint16_t>(card.relay);
    if (options.names && name != nullptr) {
        PrintCard::SetText(out.name, FieldText(name->name, sizeof name->name));
        PrintCard::SetText(out.club, FieldText(name->club, sizeof name->club));
        PrintCard::SetText(out.cls, FieldText(name->cls, sizeof name->cls));
        PrintCard::SetText(out.category, FieldText(name->category, sizeof name->category));
    }
    out.equipment = options.equipment;
    out.targetType = card.targetType;
    out.scaleDenominator = Distance(options.actualDistance, code, types);
    out.scaleNumerator = Distance(options.simulatedDistance, code, types);
    out.bulletRadius = HoleRadius(code, options, types);
    out.resultState = card.resultState;
    out.SetComment(FieldText(shots.comment, sizeof shots.comment));
    out.startScore = options.startScore && name != nullptr ? name->startScore : 0;
    return FillSeries(card, shots, programs, types, options, out);
}

int FillSeries(const CardRecord& card, const ShotListRecord& shots, CProgramStore& programs, const CTargetTypes& types,
               const Options& options, PrintCard& out, bool* cut)
{
    const int code = card.targetType;

    uint8_t order[CDataComp::kSlots];
    if (options.storedOrder) {
        int n = 0;
        while (n < CDataComp::kSlots && shots.shots[n].state != CDataComp::kSlotFree) {
            order[n] = static_cast<uint8_t>(n);
            ++n;
        }
        if (n < CDataComp::kSlots)
            order[n] = CDataComp::kOrderEnd;
    } else {
        bool byTime = options.equipment == 1 && programs.GetEquipment(options.program) == 129;
        CDataComp::BuildShotOrder(shots, order, byTime);
    }
    const int maxValue = types.GetMaxValue(code);

    // Carry on after the slots already on the card.
    int slot = 0, added = 0;
    for (int s = PrintCard::kFirstSeries; s <= PrintCard::kLastSeries; ++s)
        if (out.shotCount[s] != 0 || out.seriesName[s][0] != '\0')
            slot = s;
    int32_t running = slot > 0 ? out.runningTotal[slot] : out.startScore;
    bool full = false;
    const int seriesCount = std::min(programs.GetSerieCount(options.program), CDataComp::kMaxSeries);
    for (int s = 1; s <= seriesCount && !full; ++s) {
        const int programShots = programs.GetSerieShots(s, options.program);
        int size = options.trueSize ? 99 : programShots != 0 ? programs.GetSize(options.program) : 10;
        if (options.slotLimit > 0)
            size = std::min(size, options.slotLimit);
        int inSlot = size;  // the first shot opens a slot
        int number = 0, reference = -1;
        for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd && !full; ++i) {
            const ShotRecord& shot = shots.shots[order[i]];
            const int counting = shot.countingSeries & 0x7F, fired = shot.series & 0x7F;
            bool belongs = (programShots != 0 && counting == s) ||
                           (options.practice && programShots == 0 && counting == 0 && fired == s);
            if (!belongs)
                continue;
            if (reference < 0)
                reference = order[i];
            if (inSlot >= size) {
                if (slot >= PrintCard::kLastSeries) {
                    full = true;
                    break;
                }
                ++slot;
                out.valueSystem[slot] = card.valueSystem;
                char text[CProgramStore::kNameSize];
                PrintCard::SetText(out.seriesName[slot], programs.GetSerieName(s, text, options.program));
                out.runningTotal[slot] = running;
                // Practice does not count: its pictures get the grey corner.
                out.matchSeries[slot] = programShots != 0 ? 1 : 0;
                if (code == 29) {
                    bool duel = programs.GetSerieTarget(s, options.program) == 2;
                    bool coarse = card.sensitivity == 1;
                    out.seriesTarget[slot] = duel ? (coarse ? 22 : 21) : (coarse ? 20 : 19);
                }
                inSlot = 0;
            }
            ++number;
            int shotNumber = options.equipment == 2 ? RunNumber(shot.data44, shots.shots[reference].data44) : number;
            int value = options.equipment == 1 && (shot.flags & CDataComp::kFlagMarked) ? 0 : shot.value;
            int index = out.AddShot(slot, shotNumber, value, shot.x / 1000.0, shot.y / 1000.0, shot.shotAt);
            if (index < 0) {
                full = true;
                break;
            }
            out.shots[index].notCounted = (shot.flags & CDataComp::kFlagFromTarget) ? 0 : 1;
            out.shots[index].run = shot.data44;
            int counted = std::min(CDataComp::CountedValue(value, card.valueSystem), maxValue);
            out.seriesSum[slot] += counted;
            if (programShots != 0)
                running += counted;
            out.runningTotal[slot] = running;
            ++out.shotCount[slot];
            ++inSlot;
            ++added;
        }
    }
    out.totalSum = 0;
    out.totalShots = 0;
    for (int s = PrintCard::kFirstSeries; s <= PrintCard::kLastSeries; ++s) {
        out.totalSum += out.seriesSum[s];
        out.totalShots += out.shotCount[s];
    }
    if (cut != nullptr)
        *cut = full;
    return added;
}

}  // namespace CardFill
