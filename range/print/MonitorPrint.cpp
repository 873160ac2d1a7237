#include "range/print/MonitorPrint.h"

#include "foundation/cards/CardFill.h"
#include "foundation/comp/DataComp.h"
#include "foundation/settings/RangeSettings.h"
#include "line/LineMessage.h"
#include "platform/system/Clock.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/lanes/Commands.h"
#include "range/lanes/LaneCommands.h"
#include "range/print/CardPrintJob.h"
#include "range/shots/ShotIntake.h"

#include <algorithm>
#include <cstdio>

namespace {

// Positions of the print request ('Y').
enum : int {
    kRelay = 5,       // 2 bytes, high first
    kSeries = 7,
    kTargetCode = 8,
    kSeriesByte = 9,
    kRequest = 10,    // 2: abort
    kValue1 = 11,     // 2 bytes, high first
    kValue2 = 13,
    kMode = 15,
    kMarks = 16,      // 14 bytes, two series each, the first in the high nibble
    kLastMarks = 29,
};
constexpr int kAbort = 2;

// Positions of a shot sent again (the shot message, kind 0x21).
enum : int {
    kShotSeries = 9,
    kShotNumber = 10,
    kShotCount = 11,
    kShotValue = 17,
    kShotX = 28,
    kShotY = 31,
    kShotTime = 42,
    kShotRun = 46,
    kShotFlags = 49,
};

// A byte of the message; bytes beyond its length read as 0, not as what an
// earlier, longer message left in the record.
int Byte(const LineMessage& m, int position) { return position <= m.Length() ? m.data[position] : 0; }

int HighFirst(const LineMessage& m, int position) { return (Byte(m, position) << 8) | Byte(m, position + 1); }

// The run of a shot counted from the run of its series' first shot; the
// target's run counter wraps at 128 and bit 7 marks a shot turned away.
int RunNumber(int a, int b)
{
    int run = (a & 127) + ((b & 128) ? 2 : 1) - (b & 127);
    if ((a & 127) < (b & 127))
        run += 128;
    return run;
}

}  // namespace

MonitorPrint::MonitorPrint(RangeObjects& objects, FrameServices& services, LaneCommands& commands, ShotIntake& intake)
    : m_obj(objects), m_services(services), m_commands(commands), m_intake(intake)
{
}

MonitorPrint::~MonitorPrint() = default;

const FetchedCard* MonitorPrint::Buffer(int lane) const
{
    return LaneTable::IsLane(lane) ? m_buffers[static_cast<size_t>(lane)].get() : nullptr;
}

void MonitorPrint::FreeAll()
{
    for (auto& buffer : m_buffers)
        buffer.reset();
}

void MonitorPrint::ShowLane(const char* key, int lane)
{
    m_services.ShowStatusKeys(key, nullptr, std::to_string(lane).c_str());
}

void MonitorPrint::OnMonitorPrintMsg(const LineMessage& m)
{
    const int lane = m.data[4];
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    std::unique_ptr<FetchedCard>& buffer = m_buffers[static_cast<size_t>(lane)];
    if (Byte(m, kRequest) == kAbort) {
        buffer.reset();
        b.fetchRunning = 0;
        ShowLane("IDS_INFO_DUPRINTABORT", lane);
        b.cardCountdown = b.cardCheckRequested ? kCardSummaryTicks : 0;
        return;
    }
    // A request while a fetch runs starts it again.
    buffer = std::make_unique<FetchedCard>();
    std::fill(std::begin(b.fetchTimers), std::end(b.fetchTimers), 0);
    std::fill(std::begin(b.fetchStates), std::end(b.fetchStates), 0);
    FetchedCard& card = *buffer;
    card.relay = HighFirst(m, kRelay);
    card.series = Byte(m, kSeries);
    card.targetType = CTargetTypes::FromTargetCode(Byte(m, kTargetCode));
    card.seriesByte = static_cast<uint8_t>(Byte(m, kSeriesByte));
    card.value1 = HighFirst(m, kValue1);
    card.value2 = HighFirst(m, kValue2);
    card.mode = static_cast<uint8_t>(Byte(m, kMode));
    card.lastMarks = static_cast<uint8_t>(Byte(m, kLastMarks));
    for (int s = 0; s < FetchedCard::kSeries; ++s) {
        int two = Byte(m, kMarks + s / 2);
        int mark = s % 2 == 0 ? two >> 4 : two & 0x0F;
        if ((card.mode & 7) == 1) {
            if (mark == 1)
                mark = 13;
            else if (mark == 2)
                mark = 7;
        }
        card.marks[static_cast<size_t>(s)] = static_cast<uint8_t>(mark);
        if (mark & 0x08)
            card.markedSeries[static_cast<size_t>(s / 8)] |= static_cast<uint8_t>(1 << (7 - s % 8));
    }
    card.fetched = 0;
    b.fetchRunning = 1;
    b.printRelay = static_cast<int16_t>(card.relay);
    b.printSeries = card.series;
    m_intake.SendCardSummary(lane);
    ShowLane("IDS_INFO_DUPRINT", lane);
}

void MonitorPrint::OnFetchShot(const LineMessage& m)
{
    const int lane = m.data[4];
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    FetchedCard* card = m_buffers[static_cast<size_t>(lane)].get();
    if (!card || !b.fetchRunning)
        return;
    const int number = Byte(m, kShotNumber);
    if (number < 1 || number > FetchedCard::kShots)
        return;
    b.fetchStates[number - 1] = kFetched;
    b.fetchTimers[number - 1] = 0;
    FetchedCard::Shot& shot = card->shots[static_cast<size_t>(number - 1)];
    shot.series = Byte(m, kShotSeries) & 0x7F;
    shot.value = static_cast<int16_t>(Byte(m, kShotValue) | (Byte(m, kShotValue + 1) << 8));
    shot.x = CDataComp::GetIntLE(m.data + kShotX, 3);
    shot.y = CDataComp::GetIntLE(m.data + kShotY, 3);
    shot.time = CDataComp::GetIntLE(m.data + kShotTime, 3);
    shot.run = static_cast<uint8_t>(Byte(m, kShotRun) + ((Byte(m, kShotFlags) & 0x04) ? 0x80 : 0));
    if (!shot.present)
        ++card->fetched;
    shot.present = true;

    // The monitor tells how many shots its card holds; a card never holds
    // more than 250, whatever the byte says.
    const int count = std::min(Byte(m, kShotCount), FetchedCard::kShots);
    for (int i = 0; i < count; ++i)
        if (b.fetchStates[i] == 0)
            b.fetchStates[i] = kMissing;
    bool missing = false;
    for (int state : b.fetchStates)
        missing |= state == kMissing;
    if (missing) {
        m_intake.RequestMissingShots(lane);
        return;
    }
    Finish(lane);
}

void MonitorPrint::Finish(int lane)
{
    LaneBlock& b = m_obj.lanes[lane];
    std::unique_ptr<FetchedCard> card = std::move(m_buffers[static_cast<size_t>(lane)]);
    if (card && card->fetched > 0) {
        CardPrintJob job;
        MakeJob(lane, *card, job);
        int result = m_services.PrintCards(job);
        if (result != CardPrintJob::kPrinted)
            BV_LOG(m_log, 80, "Card of lane %d from its monitor not printed (%d)", lane, result);
    }
    LineMessage done;
    LaneValueCmd::PrintDone(lane).Build(done);
    m_commands.SendCommand(lane, done, 0);
    b.fetchRunning = 0;
    if (b.cardCheckRequested)
        b.cardCountdown = kCardSummaryTicks;
}

void MonitorPrint::MakeJob(int lane, const FetchedCard& card, CardPrintJob& job)
{
    CardPrintSettings& s = job.settings;
    CBVConfig& range = m_obj.settings.Config();
    if (range.IsOpen())
        CardFill::ApplyPrintSettings(range, s);
    SetRangeCaptions(m_obj, s);
    s.documentName = m_obj.Text("IDS_PRINT_DUDOC") + " " + std::to_string(lane);
    platform::LocalTime today = platform::Now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", today.day, today.month, today.year);
    std::string owner, rangeName, sponsor;
    if (range.IsOpen()) {
        owner = ReadItem(range, RangeItems::kUserName);
        rangeName = ReadItem(range, RangeItems::kRangeName);
        sponsor = CRangeSettings::ReadSponsor(range);
    }
    s.SetRangeTitles(owner, m_obj.Text("IDS_PRINT_COMPNR") + " " + std::to_string(m_obj.CompetitionNumber()), date,
                     rangeName, sponsor);

    job.cards.emplace_back();
    PrintCard& out = job.cards.back();
    out.lane = lane;
    out.relay = static_cast<uint16_t>(card.relay);
    PrintCard::SetText(out.name, m_obj.Text("IDS_PRINT_FROMDU"));
    out.targetType = static_cast<uint8_t>(card.targetType);
    out.bulletRadius = m_obj.targetTypes.GetBulletRadius(card.targetType);
    out.equipment = m_obj.RangeInt(RangeItems::kExternalEquipment);
    const int maxValue = m_obj.targetTypes.GetMaxValue(card.targetType);
    const bool runs = (card.mode & 7) == 2;
    for (int s = 1; s <= FetchedCard::kSeries; ++s) {
        out.valueSystem[s] = card.seriesByte;
        char name[CProgramStore::kNameSize];
        PrintCard::SetText(out.seriesName[s], m_obj.programs.GetSerieName(s, name, 0));
        out.matchSeries[s] = m_obj.programs.GetSerieShots(s, 0) != 0 ? 1 : 0;
        // The duel and precision faces of the combined target, by the series' mark.
        if (card.targetType == 29) {
            int mark = card.marks[static_cast<size_t>(s - 1)];
            bool duel = mark >= 3 && mark <= 7;
            out.seriesTarget[s] = card.lastMarks == 0 ? (duel ? 22 : 20) : (duel ? 21 : 19);
        }
    }
    // The shots by series, each numbered within its series.
    for (int s = 1; s <= FetchedCard::kSeries; ++s) {
        int number = 0;
        int first = -1;
        for (int i = 0; i < FetchedCard::kShots; ++i) {
            const FetchedCard::Shot& shot = card.shots[static_cast<size_t>(i)];
            if (!shot.present || shot.series != s)
                continue;
            if (first < 0)
                first = i;
            ++number;
            int shown = runs ? RunNumber(shot.run, card.shots[static_cast<size_t>(first)].run) : number;
            if (out.AddShot(s, shown, shot.value, shot.x / 1000.0, shot.y / 1000.0, shot.time) < 0)
                break;
            out.seriesSum[s] += std::min(CDataComp::CountedValue(shot.value, card.seriesByte), maxValue);
            ++out.shotCount[s];
        }
    }
    out.SumUp();
}
