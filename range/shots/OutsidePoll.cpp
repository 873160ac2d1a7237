#include "range/shots/OutsidePoll.h"

#include "foundation/comp/ShotTime.h"
#include "line/outside/CVI9001.h"
#include "platform/system/Clock.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/base/TickCounters.h"
#include "range/lanes/LaneRecords.h"
#include "range/lanes/LineChannels.h"
#include "range/shots/ShotIntake.h"
#include "range/shots/Simulation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint16_t kStatus = 0x32;
constexpr uint16_t kStatusToo = 0x8032;
constexpr uint16_t kLaneNote = 0x805E;
constexpr uint16_t kRemoteBit = 0x200;
constexpr uint16_t kSighterBit = 0x800;

}  // namespace

OutsidePoll::OutsidePoll(RangeObjects& objects, FrameServices& services, TickCounters& tick, const Links& parts)
    : m_obj(objects), m_services(services), m_tick(tick), m_links(parts)
{
}

bool OutsidePoll::Enabled(int lane) const
{
    return lane >= 1 && lane <= CVI9001::kMaxLane && m_obj.lanes[lane].enabled;
}

int OutsidePoll::ShotValue(int r, int d, uint16_t fieldA, bool remote, int ownValue)
{
    if (d + 9 < 10 * r) {
        int value = 100 * r;
        if (remote && (fieldA & kRemoteBit) && value >= 1000 && value <= 1099)
            value += 100;
        if (ownValue / 100 == value / 100)
            value = ownValue;
        return value;
    }
    if (d > 95)
        return 10 * d + 190;
    if (d >= 1)
        return 10 * d + 90;
    return 0;
}

void OutsidePoll::FollowLanes(CVI9001& vi)
{
    int competition = m_obj.CompetitionNumber();
    for (int lane = 1; lane <= CVI9001::kMaxLane; ++lane) {
        LaneBlock& b = m_obj.lanes[lane];
        if (!b.enabled || b.channelType != PortRecord::kOutsideSystem)
            continue;
        if (b.active.seriesState & 0x80) {
            b.active.seriesState &= 0x7F;
            m_services.RedrawRow(lane);
        }
        b.targetCompetition = static_cast<int16_t>(competition);
        b.targetRelay = b.card.relay;
        b.sensitivity = b.card.sensitivity;
        b.targetState = 1;
        if (vi.State() <= 1) {
            b.startupDifference = m_services.Questions().Asking() == AskState::Exit ? 1 : 0;
            FollowLaneAnswers(m_obj.lanes, m_services.Questions(), m_tick, false);
        }
    }
}

void OutsidePoll::PollOutsideSystem()
{
    CVI9001* found = m_links.channels.OutsideSystem();
    if (!found)
        return;
    CVI9001& vi = *found;
    FollowLanes(vi);

    int first = vi.ChFrom();
    int count = vi.ChTo() - first + 1;
    if (count <= 0)
        return;
    int lowest = 0, highest = 0;
    int events = 0;
    for (int idle = 0; idle < count && events < kMaxEvents;) {
        if (m_nextChannel < first || m_nextChannel > vi.ChTo())
            m_nextChannel = first;
        int channel = m_nextChannel++;
        OutsideEvent e;
        if ((vi.MappedOnly() && vi.LaneOfChannel(channel) < 1) || vi.Get(channel, e) != 0) {
            ++idle;
            continue;
        }
        idle = 0;
        ++events;
        int touched = Handle(vi, channel, e);
        if (touched >= 1) {
            lowest = lowest == 0 ? touched : std::min(lowest, touched);
            highest = std::max(highest, touched);
        }
    }
    for (int lane = lowest; lane != 0 && lane <= highest; ++lane)
        m_services.RedrawRow(lane);
}

int OutsidePoll::Handle(CVI9001& vi, int channel, const OutsideEvent& e)
{
    int lane = vi.LaneOfChannel(channel);
    auto mark = [&](int l, int status) {
        if (!Enabled(l))
            return 0;
        m_links.channels.MarkLane(l, static_cast<uint8_t>(status));
        return l;
    };
    switch (e.code) {
    case OutsideEvent::kData:
        switch (e.kind) {
        case 0:
        case 5:
            return mark(lane, LineStatus::kOutside);
        case 3:
            return OnShot(vi, channel, lane, e);
        case 8:
            if (vi.LogOn(channel))
                BV_LOG(m_log, 80, "%02d:%02d Group=%d", channel, lane, e.group);
            return mark(lane, LineStatus::kOutside);
        default:
            return 0;
        }
    case kStatus:
    case kStatusToo:
        return mark(lane, e.kind == 0 ? LineStatus::kOutside : e.kind == 2 ? LineStatus::kNoContact : 4);
    case OutsideEvent::kDataToo:
    case OutsideEvent::kLaneReport:
        return mark(e.lane, LineStatus::kOutside);
    case OutsideEvent::kControl:
        OnControl(vi, channel, lane, e.kind);
        return 0;
    case OutsideEvent::kRowChange:
        return e.length >= 6 && lane >= 1 ? lane : 0;
    case kLaneNote:
        return mark(lane, LineStatus::kOutside);
    default:
        return 0;
    }
}

void OutsidePoll::OnControl(CVI9001& vi, int channel, int lane, int status)
{
    AskState asking = m_services.Questions().Asking();
    if (!Enabled(lane) || (asking != AskState::Startup && asking != AskState::ExitCountdown))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    if (m_obj.CompetitionNumber() == 0)
        b.startupDifference = status != 0 ? static_cast<uint8_t>(b.startupDifference | 0x80) : 0;
    else
        b.startupDifference = status == 0 ? 0x80 : 0;
    FollowLaneAnswers(m_obj.lanes, m_services.Questions(), m_tick, true);
    if (vi.LogOn(channel))
        BV_LOG(m_log, 80, "%02d:%02d Styrt=%d", channel, lane, status);
}

int OutsidePoll::OnShot(CVI9001& vi, int channel, int lane, const OutsideEvent& e)
{
    m_tick.MessageCame();
    if (e.lane != lane)
        BV_LOG(m_log, 80, "%02d:%02d Mismatch for lane number = %d", channel, lane, e.lane);
    if (lane < 1)
        return 0;

    ShotRecord shot;
    std::memset(&shot, 0, sizeof shot);
    // The event's coordinates are held within a metre: micrometres fit.
    shot.x = static_cast<int32_t>(static_cast<int64_t>(e.x * 1000));
    shot.y = static_cast<int32_t>(static_cast<int64_t>(e.y * 1000));
    shot.data17 = static_cast<uint8_t>(e.number & 0xFF);
    shot.sensorA = static_cast<uint8_t>(e.fieldA % 8);
    shot.sensorB = shot.sensorC = shot.sensorD = 255;
    shot.data44 = 0x80;
    StampShot(shot, platform::Now(), ShotStamp::Date);
    uint32_t v = e.value;
    shot.hour = static_cast<uint8_t>((v % 8640000) / 360000);
    shot.minute = static_cast<uint8_t>((v % 360000) / 6000);
    shot.second = static_cast<uint8_t>((v % 6000) / 100);
    shot.hundredths = static_cast<uint8_t>(v % 100);

    bool remote = vi.State() > 1;
    int targetType = m_links.simulation.EffectiveTargetType(lane);
    int64_t x = shot.x, y = shot.y;
    double distance = std::floor(std::sqrt(static_cast<double>(x * x + y * y))) * 0.001;
    int own = m_obj.targetTypes.ScoreRing(distance, targetType, m_obj.targetTypes.GetBulletRadius(targetType));
    int value = ShotValue(e.fieldB, e.fieldC, e.fieldA, remote, own);
    shot.value = static_cast<int16_t>(value);
    int64_t x10 = x / 10, y10 = y / 10;
    shot.radius = static_cast<int32_t>(std::sqrt(static_cast<double>(x10 * x10 + y10 * y10)) * 10);
    if (remote && (((e.fieldA & kRemoteBit) && value <= 1099) || (!(e.fieldA & kRemoteBit) && value > 1099)))
        BV_LOG(m_log, 80, "%02d:%02d[%04X] V=%d Score10=%d A=%04X", channel, lane, e.number, value, e.fieldC,
               e.fieldA);
    shot.state = 0x40;
    shot.data41 = static_cast<uint8_t>(lane);
    shot.flags = (e.fieldA & kSighterBit) ? 0x20 : 0x21;

    int touched = 0;
    if (Enabled(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        shot.series = static_cast<uint8_t>(b.active.seriesState & 0x7F);
        shot.shotNumber = 0;
        shot.temperature = 12700;
        // The shot is the event lane's, as the outside system reported it.
        int eventLane = Enabled(e.lane) ? e.lane : lane;
        LaneBlock& eb = m_obj.lanes[eventLane];
        eb.active.seriesState &= 0x7F;
        m_links.intake.StoreShot(eb.active.relay, eventLane, shot);
        eb.lineStatus = LineStatus::kOutside;
        m_links.records.WriteActive(eventLane, eb.active.seriesState);
        touched = lane;
    }
    if (value / 10 != own / 10)
        BV_LOG(m_log, 80, "%02d:%02d: Shot[%d] X=%6.2f Y=%6.2f V=%2d (%2d)=>%4d  A=%04X MyVal=%4d", channel, lane,
               e.number, e.x, e.y, e.fieldB, e.fieldC, value, e.fieldA, own);
    else if (vi.LogOn(channel))
        BV_LOG(m_log, 80, "%02d:%02d: Shot[%d] X=%6.2f Y=%6.2f V=%d (%2d)=>%d  A=%04X", channel, lane, e.number, e.x,
               e.y, e.fieldB, e.fieldC, value, e.fieldA);
    return touched;
}
