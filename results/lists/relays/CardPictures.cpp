#include "results/lists/relays/CardPictures.h"

#include "foundation/cards/CardLayout.h"
#include "foundation/files/BVLog.h"
#include "foundation/targets/TargetTypes.h"
#include "foundation/text/TextUtil.h"
#include "results/values/DataRes.h"

#include <cstdio>
#include <memory>

namespace results {
namespace {

// Target codes of the card printer.
constexpr int kRapidFire = 29;       // per-series codes below from the target definition
constexpr int kPrecision = 19;
constexpr int kPrecisionBlack = 20;  // bit 7 of the definition
constexpr int kDuel = 21;
constexpr int kDuelBlack = 22;
constexpr int kNoShotFrom = 130;     // value bytes from here on are no shot

bool ShowsShotTimes(int code) { return (code >= 19 && code <= 22) || code == kRapidFire; }

}  // namespace

std::string CardPictureName(const std::string& eventName, int relay, int lane, int sheet)
{
    std::string name = eventName;
    CTextUtil::SafeFileName(name);
    char tail[64];
    if (sheet <= 0)
        std::snprintf(tail, sizeof tail, "_%d_%d.png", relay, lane);
    else
        std::snprintf(tail, sizeof tail, "_%d_%d_p%d.png", relay, lane, sheet);
    return name + tail;
}

void FillPrintCard(PrintCard& print, CDataRes& card, const ShooterRow* shooter, int relayNumber, int lane,
                   int startScoreTenths, int seriesCount, const CTargetTypes& types)
{
    print.lane = lane;
    print.relay = static_cast<uint16_t>(relayNumber);
    if (shooter) {
        PrintCard::SetText(print.name, shooter->name);
        PrintCard::SetText(print.club, shooter->clubName);
        PrintCard::SetText(print.cls, shooter->className);
        PrintCard::SetText(print.category, shooter->category);
    }

    const ResultRecord& record = card.Record();
    const int code = record.targetId;
    const bool black = (record.targetIdDef & 0x80) != 0;
    print.targetType = static_cast<uint8_t>(code);
    print.showTimes = ShowsShotTimes(code) ? 1 : 0;
    const int radiusOf = code == kRapidFire ? (black ? kPrecisionBlack : kPrecision) : code;
    print.bulletRadius = types.GetBulletRadius(radiusOf);
    if (code == kRapidFire) {
        const int precisionSeries = record.targetIdDef & 0x7F;
        for (int s = PrintCard::kFirstSeries; s <= PrintCard::kLastSeries; ++s)
            print.seriesTarget[s] = s <= precisionSeries ? (black ? kPrecisionBlack : kPrecision)
                                                         : (black ? kDuelBlack : kDuel);
    }
    print.SetStartScoreTenths(startScoreTenths);

    if (seriesCount > PrintCard::kLastSeries)
        BV_LOG(ProgramLog(), 50, "Card %d/%d: series %d to %d left off the card", relayNumber, lane,
               PrintCard::kLastSeries + 1, seriesCount);
    for (int s = 1; s <= seriesCount && s <= PrintCard::kLastSeries; ++s) {
        print.SetSeriesTenths(s, card.GetSeriesType(s), card.SeriesSum(s));
        PrintCard::SetText(print.seriesName[s], card.GetSeriesName(s));
        print.shotCount[s] = 0;
    }
    for (int k = 1; k <= PrintCard::kShots && k <= kCardSlots; ++k) {
        const int value = record.value[k - 1];
        const int series = record.series[k - 1];
        int number = 0;
        if (value < kNoShotFrom && PrintCard::IsSeries(series))
            number = ++print.shotCount[series];
        // A shot of a series the card has no slot for stays out of every series.
        const int slot = number > 0 ? series : 0;
        print.SetShotTenths(k, value, slot, number, record.x[k - 1] * 0.1, record.y[k - 1] * 0.1, record.time[k - 1]);
    }
    for (int s = PrintCard::kFirstSeries; s <= PrintCard::kLastSeries; ++s)
        print.matchSeries[s] = 1;
    print.SumUp();
}

int CardPictureSheets(CDataRes& card, int seriesPerSheet)
{
    auto print = std::make_unique<PrintCard>();
    CTargetTypes types;
    FillPrintCard(*print, card, nullptr, 0, 0, 0, card.GetSeriesCount(), types);
    return CardLayout::CountSheets(*print, seriesPerSheet).count;
}

}  // namespace results
