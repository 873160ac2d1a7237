#include "range/print/RangeCardPrint.h"

#include "foundation/cards/CardFill.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "range/base/RangeObjects.h"
#include "range/print/CardPrintJob.h"

#include <algorithm>

namespace RangeCardPrint {
namespace {

// Without the print dialog a sheet takes fewer series.
constexpr int kSeriesPerSheetWithoutDialog = 6;

// The card of (relay, lane) as the competition holds it, its name and shots;
// false when there is none.
bool ReadCard(CDataComp& data, int relay, int lane, CardRecord& card, NameRecord& name, bool& named,
              ShotListRecord& shots)
{
    CDataComp::ClearCard(card);
    card.relay = static_cast<int16_t>(relay);
    card.lane = static_cast<int16_t>(data.StartNumberMode() ? 0 : lane);
    if (relay <= 0 || data.CardFile().ReadRecKey(&card) != 0)
        return false;
    named = data.ReadName(card, name) == 0;
    CDataComp::ClearShots(shots);
    if (card.shotRec != 0 && data.ShotFile().ReadRecDirect(card.shotRec, &shots) != 0)
        CDataComp::ClearShots(shots);
    return true;
}

}  // namespace

int Fill(RangeObjects& objects, const Selection& selection, CardPrintJob& job)
{
    job.cards.clear();
    const int competition = objects.CompetitionNumber();
    if (competition < 0)
        return 0;
    CDataComp data;
    data.SetBasePath(objects.comp.GetBasePath());
    data.decimalSeparator = objects.Text("IDS_COMMA");
    if (data.Open(competition, 0) != 0 || !data.CardFile().IsOpen())
        return 0;

    CBVConfig& range = objects.settings.Config();
    CBVConfig& comp = data.CompConfig();
    CardPrintSettings& s = job.settings;
    CardFill::ApplyPrintSettings(range, s);
    if (!selection.withDialog)
        s.seriesPerSheet = kSeriesPerSheetWithoutDialog;
    SetRangeCaptions(objects, s);
    s.startNumberMode = data.StartNumberMode() ? 1 : 0;
    std::string name = ReadItem(comp, CompSettings::kName);
    s.SetRangeTitles(ReadItem(range, RangeItems::kUserName), name.empty() ? "Comp" : name,
                     ReadItem(comp, CompSettings::kDate), ReadItem(range, RangeItems::kRangeName),
                     CRangeSettings::ReadSponsor(range));
    CardFill::Options options = CardFill::ReadOptions(range, comp);

    const int firstLane = std::max(selection.firstLane, LaneTable::kFirstLane);
    const int lastLane = std::min(selection.lastLane, LaneTable::kLastLane);
    const bool current = selection.firstRelay == 0 && selection.lastRelay == 0;
    auto add = [&](int relay, int lane) {
        CardRecord card;
        NameRecord person;
        bool named = false;
        ShotListRecord shots;
        if (!ReadCard(data, relay, lane, card, person, named, shots))
            return;
        job.cards.emplace_back();
        PrintCard& out = job.cards.back();
        CardFill::Fill(card, named ? &person : nullptr, shots, objects.programs, objects.targetTypes, options, out);
        // A card kept by start number prints with the lane it is shot on.
        if (card.lane == 0)
            out.lane = lane;
    };
    if (current) {
        for (int lane = firstLane; lane <= lastLane; ++lane)
            if (objects.lanes.IsActive(lane))
                add(objects.lanes[lane].active.relay, lane);
    } else if (data.StartNumberMode()) {
        for (int start = selection.firstRelay; start <= selection.lastRelay; ++start)
            add(start, 0);
    } else {
        for (int relay = selection.firstRelay; relay <= selection.lastRelay; ++relay)
            for (int lane = firstLane; lane <= lastLane; ++lane)
                if (objects.lanes.IsActive(lane))
                    add(relay, lane);
    }
    return static_cast<int>(job.cards.size());
}

}  // namespace RangeCardPrint
