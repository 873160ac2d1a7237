#include "tools/bvsim/lib/Bus.h"

#include "platform/system/Clock.h"

#include <algorithm>
#include <chrono>

namespace bvsim {
namespace {

constexpr size_t kPollOrderKept = 1000;
constexpr size_t kCommandsKept = 100;
constexpr size_t kLongestFrame = 600;  // anything longer is noise
constexpr int64_t kLongestWaitUs = 100000;
// A serial port's receive buffer hands bytes on in small pieces.
constexpr size_t kPieceBytes = 4;

int64_t Now() { return platform::HighResCounter(); }
int64_t MsToCounts(int ms) { return static_cast<int64_t>(ms) * platform::HighResFrequency() / 1000; }

}  // namespace

Bus::Bus(std::unique_ptr<platform::Port> port, BusOptions options)
    : m_port(std::move(port)), m_options(options)
{
    // Eleven bits a byte: start, eight data, parity, stop.
    m_byteTime = 11 * platform::HighResFrequency() / std::max(m_options.baud, 300);
    // A unit's answer takes as long again at half the speed: at 4800 baud a
    // 20 ms pause would fall inside the master's echo window.
    if (m_options.turnaroundMs < 0)
        m_options.turnaroundMs = 20 * 9600 / std::max(m_options.baud, 300);
}

Bus::~Bus() { Stop(); }

int Bus::Start()
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_running)
        return 0;
    platform::PortSettings s;
    s.baud = m_options.baud;
    if (int e = m_port->Configure(s); e != 0)
        return e;
    m_stop = false;
    m_running = true;
    // The units are hardware: their answers keep time even on a busy machine,
    // as far as the machine lets the simulator have its way.
    if (int e = m_thread.Start("bvsim-bus", platform::ThreadPriority::Highest, true, [this] { Run(); }); e != 0) {
        m_running = false;
        return e;
    }
    return 0;
}

void Bus::Stop()
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (!m_running)
            return;
        m_stop = true;
    }
    m_port->Wake();
    m_thread.Join();
    std::lock_guard<std::mutex> hold(m_lock);
    m_running = false;
}

void Bus::SetListener(std::function<void(const BusEvent&)> listener)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_listener = std::move(listener);
}

void Bus::SetTrace(bool on)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_trace = on;
}

int Bus::SlotOf(int a) const
{
    if (a == 0)
        return 60;
    if (a < 0)
        return -1;
    int s;
    switch (m_options.addressingMode) {
    case 1: s = (a - 1) % 50 + 1; break;
    case 2: s = (a - 1) % 20 + 1; break;
    case 3: s = (a - 1) % 20 / 2 + (a % 2 ? 31 : 41); break;
    case 4: s = (a - 1) % 10 + 21; break;
    default: s = a; break;
    }
    return s <= 64 ? s : -1;
}

Bus::Unit* Bus::UnitOnSlot(int slot)
{
    for (auto& [lane, u] : m_units)
        if (u.slot == slot)
            return &u;
    return nullptr;
}

Bus::Unit* Bus::UnitOfLane(int lane)
{
    auto it = m_units.find(lane);
    return it == m_units.end() ? nullptr : &it->second;
}

template <typename F> bool Bus::ForLanes(int lane, F f)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (lane == 0) {
        for (auto& [l, u] : m_units)
            f(u);
        return true;
    }
    Unit* u = UnitOfLane(lane);
    if (!u)
        return false;
    f(*u);
    return true;
}

void Bus::Changed()
{
    std::lock_guard<std::mutex> hold(m_lock);
    ++m_generation;
    m_changed.notify_all();
}

bool Bus::AddUnit(int lane)
{
    std::lock_guard<std::mutex> hold(m_lock);
    int slot = SlotOf(lane);
    if (lane < 1 || lane > 255 || slot < 1 || slot == 60 || UnitOnSlot(slot))
        return false;
    Unit& u = m_units[lane];
    u.lane = lane;
    u.slot = slot;
    u.stats.lane = lane;
    u.stats.slot = slot;
    return true;
}

bool Bus::RemoveUnit(int lane)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_awaitingAck == lane)
        m_awaitingAck = 0;
    return m_units.erase(lane) > 0;
}

bool Bus::HasUnit(int lane) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_units.count(lane) > 0;
}

bool Bus::QueueMessage(int lane, Bytes payload)
{
    if (payload.empty() || payload.size() > 253)
        return false;
    return lane != 0 && ForLanes(lane, [&](Unit& u) { u.outbox.push_back(payload); });
}

bool Bus::QueueShot(int lane, int shotNumber, int value, int x, int y, int series, int relay, int competition)
{
    platform::LocalTime t = platform::Now();
    ShotFields shot;
    shot.lane = lane;
    shot.shotNumber = shotNumber;
    shot.value = value;
    shot.x = x;
    shot.y = y;
    shot.series = series;
    shot.relay = relay;
    shot.competition = competition;
    shot.hundredths = ((t.hour * 60 + t.minute) * 60 + t.second) * 100 + t.millisecond / 10;
    return lane != 0 && ForLanes(lane, [&](Unit& u) {
        if (shot.series == 0)
            shot.series = NextShotSeries(u);
        // The levels wander a little from shot to shot, as a real sensor's do.
        for (int k = 0; k < 4; ++k)
            shot.sensors[k] = u.sensors[k] == 0 ? 0 : static_cast<uint8_t>(u.sensors[k] + (shotNumber * (k + 3)) % 3 - 1);
        // A unit that fires in a series is on it.
        u.series = shot.series;
        ++u.fired;
        Bytes p = ShotPayload(shot);
        u.shots[shotNumber] = p;
        u.outbox.push_back(std::move(p));
    });
}

int Bus::NextShotSeries(const Unit& u)
{
    const int series = std::clamp(u.series, 1, 28);
    const int wanted = u.programShots[series];
    if (wanted <= 0)
        return series;
    int held = 0;
    for (const auto& [number, shot] : u.shots)
        held += (shot[9 - 2] & 0x7F) == series;
    if (held < wanted)
        return series;
    // A full series: the monitor goes on to the program's next series with shots.
    for (int next = series + 1; next <= 28; ++next)
        if (u.programShots[next] > 0)
            return next;
    return series;
}

bool Bus::SetSensors(int lane, const uint8_t (&levels)[4])
{
    return ForLanes(lane, [&](Unit& u) { std::copy(std::begin(levels), std::end(levels), u.sensors); });
}

bool Bus::SetFaultySensor(int lane)
{
    return ForLanes(lane, [&](Unit& u) { u.sensors[2] = 0; });
}

bool Bus::SetProgram(int lane, const std::vector<int>& shots)
{
    return ForLanes(lane, [&](Unit& u) {
        for (int s = 1; s <= 28; ++s)
            u.programShots[s] = s <= static_cast<int>(shots.size()) ? shots[static_cast<size_t>(s - 1)] : 0;
    });
}

int Bus::SeriesOf(int lane) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_units.find(lane);
    return it == m_units.end() ? 0 : it->second.series;
}

bool Bus::QueueLaneState(int lane, int state, int relay, int series, int competition)
{
    Bytes p(14, 0);  // positions 2..15
    p[0] = 0x40;
    p[1] = 0xB3;
    p[2] = static_cast<uint8_t>(lane);
    p[4] = static_cast<uint8_t>(state);
    ForLanes(lane, [&](Unit& u) {
        u.laneState = state;
        u.relay = relay;
        u.series = series;
        u.competition = competition;
    });
    p[5] = static_cast<uint8_t>(relay >> 8);
    p[6] = static_cast<uint8_t>(relay);
    p[7] = static_cast<uint8_t>(series);
    p[9] = static_cast<uint8_t>(competition);
    return QueueMessage(lane, std::move(p));
}

bool Bus::SetTarget(int lane, int state, int relay, int series, int competition)
{
    return ForLanes(lane, [&](Unit& u) {
        u.laneState = state;
        u.relay = relay;
        u.series = series;
        u.competition = competition;
    });
}

bool Bus::LoadCard(int lane, const std::vector<CardShot>& card)
{
    return lane != 0 && ForLanes(lane, [&](Unit& u) {
        u.shots.clear();
        int next = 0;
        for (const CardShot& c : card) {
            int number = c.shotNumber != 0 ? c.shotNumber : next + 1;
            next = std::max(next, number);
            ShotFields f;
            f.lane = u.lane;
            f.shotNumber = number;
            f.value = c.value;
            f.x = c.x;
            f.y = c.y;
            f.series = c.series;
            f.relay = c.relay;
            f.competition = u.competition;
            Bytes p = ShotPayload(f);
            p[5 - 2] = 0x21;                                   // a shot sent again
            p[46 - 2] = static_cast<uint8_t>(number);          // the target's run byte
            Put24(p, 42, number * 100);                        // shot at, one a second
            u.shots[number] = std::move(p);
        }
        // Every shot tells how many the card holds.
        for (auto& [number, p] : u.shots)
            p[11 - 2] = static_cast<uint8_t>(std::min(next, 250));
        u.card = true;
    });
}

bool Bus::RequestPrint(int lane, bool abort)
{
    return lane != 0 && ForLanes(lane, [&](Unit& u) {
        // 'Y', bytes 5 to 29: relay, series, target code, series byte,
        // request (1 print, 2 abort), two values, mode, series marks.
        Bytes p(28, 0);
        p[0] = 0x40;
        p[1] = 'Y';
        p[2] = static_cast<uint8_t>(u.lane);
        int relay = u.shots.empty() ? u.relay : (u.shots.begin()->second[7 - 2] | (u.shots.begin()->second[8 - 2] << 8));
        p[5 - 2] = static_cast<uint8_t>(relay >> 8);
        p[6 - 2] = static_cast<uint8_t>(relay);
        p[7 - 2] = static_cast<uint8_t>(u.series);
        p[9 - 2] = 1;
        p[10 - 2] = abort ? 2 : 1;
        u.printing = !abort;
        u.outbox.push_back(std::move(p));
    });
}

bool Bus::SetDropCardShots(int lane, int count)
{
    bool card = true;
    bool found = ForLanes(lane, [&](Unit& u) {
        if (u.card)
            u.dropCardShots = count;
        else
            card = false;
    });
    return found && card;
}

bool Bus::SetTurnaround(int lane, int ms)
{
    if (ms < 0)
        return false;
    if (lane == 0) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_options.turnaroundMs = ms;
        for (auto& [l, u] : m_units)
            u.turnaroundMs = -1;
        return true;
    }
    return ForLanes(lane, [&](Unit& u) { u.turnaroundMs = ms; });
}

bool Bus::SetChecksumErrors(int lane, int count) { return ForLanes(lane, [&](Unit& u) { u.checksumErrors = count; }); }
bool Bus::SetLostAnswers(int lane, int count) { return ForLanes(lane, [&](Unit& u) { u.lostAnswers = count; }); }
bool Bus::SetRefusedAcknowledges(int lane, int count)
{
    return ForLanes(lane, [&](Unit& u) { u.refusedAcks = count; });
}
bool Bus::SetBurst(int lane) { return ForLanes(lane, [&](Unit& u) { u.burst = true; }); }
bool Bus::SetAnswerPause(int lane, int pauseMs)
{
    return pauseMs >= 0 && ForLanes(lane, [&](Unit& u) { u.answerPauseMs = pauseMs; });
}
bool Bus::SetCutAnswers(int lane, int count) { return ForLanes(lane, [&](Unit& u) { u.cutAnswers = count; }); }

bool Bus::SetLoader(int lane, bool on)
{
    return ForLanes(lane, [&](Unit& u) { u.loader = on ? std::make_unique<LoaderUnit>(u.lane) : nullptr; });
}

bool Bus::SetTwin(int lane, int twin)
{
    bool loader = true;
    bool found = ForLanes(lane, [&](Unit& u) {
        if (u.loader)
            u.loader->SetTwin(twin);
        else
            loader = false;
    });
    return found && loader;
}

bool Bus::SetDropLists(int lane, int count)
{
    bool loader = true;
    bool found = ForLanes(lane, [&](Unit& u) {
        if (u.loader)
            u.loader->SetDropLists(count);
        else
            loader = false;
    });
    return found && loader;
}

bool Bus::SetRefuseBlocks(int lane, int count)
{
    bool loader = true;
    bool found = ForLanes(lane, [&](Unit& u) {
        if (u.loader)
            u.loader->SetRefuseBlocks(count);
        else
            loader = false;
    });
    return found && loader;
}

bool Bus::InspectLoader(int lane, const std::function<void(const LoaderUnit&)>& f) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_units.find(lane);
    if (it == m_units.end() || !it->second.loader)
        return false;
    f(*it->second.loader);
    return true;
}

void Bus::Respond(Unit& u, const Bytes& p, bool broadcast)
{
    if (u.loader) {
        for (Bytes& answer : u.loader->Hear(p, broadcast))
            u.outbox.push_back(std::move(answer));
        return;
    }
    if (p.size() < 3)
        return;
    uint8_t code = p[1];
    int lane = p[2];
    bool named = lane == u.lane || (broadcast && (lane == 0 || lane == 0x3C));
    switch (code) {
    case 'S':
        // A shot request: the shots first..last that the unit has sent go
        // again, marked as sent on request.
        if (p.size() >= 7 && lane == u.lane)
            for (int shot = p[5]; shot <= p[6]; ++shot)
                if (auto it = u.shots.find(shot); it != u.shots.end()) {
                    Bytes again = it->second;
                    again[3] = 0x21;
                    u.outbox.push_back(std::move(again));
                }
        break;
    case 'r':
        // A mode command: the unit confirms with its lane state.
        if (named)
            u.outbox.push_back({0x40, 0xB2, static_cast<uint8_t>(u.lane), static_cast<uint8_t>(u.laneState)});
        break;
    case 's':
        // The reset of every lane: each unit reports its lane state.
        if (p.size() >= 4 && p[3] == 0xA0)
            u.outbox.push_back(LaneState(u));
        break;
    case 'Q':
        // Shoot or mark a series: the unit goes to the series and reports it,
        // which ends the range control's wait for the lane's new series.
        if (p.size() >= 5 && named && p[4] >= 1 && p[4] <= 28) {
            u.series = p[4];
            u.outbox.push_back(LaneState(u));
        }
        break;
    case 'v':
        // The program: the shots of each series, 0x80 added.
        if (lane == u.lane && p.size() >= 61)
            for (int s = 1; s <= 28; ++s)
                u.programShots[s] = (p[static_cast<size_t>(32 + s)] & 0x80) ? p[static_cast<size_t>(32 + s)] & 0x7F : 0;
        break;
    case '?':
        // The status query: the unit's software version, then its status.
        if (named && m_options.answerStatus) {
            u.outbox.push_back(VersionReply(u));
            u.outbox.push_back(StatusReply(u));
        }
        break;
    case 't':
        // The card summary while the monitor asks to print: it sends its
        // card, less the shots lost on the way.
        if (lane == u.lane && u.printing && p.size() >= 4 && p[3] == 1)
            for (auto& [number, shot] : u.shots) {
                if (u.dropCardShots > 0) {
                    --u.dropCardShots;
                    continue;
                }
                u.outbox.push_back(shot);
            }
        break;
    case 0xA6:
        // The card is printed.
        if (lane == u.lane)
            u.printing = false;
        break;
    default:
        break;
    }
}

Bytes Bus::LaneState(const Unit& u)
{
    Bytes state(14, 0);
    state[0] = 0x40;
    state[1] = 0xB3;
    state[2] = static_cast<uint8_t>(u.lane);
    state[4] = static_cast<uint8_t>(u.laneState);
    state[5] = static_cast<uint8_t>(u.relay >> 8);
    state[6] = static_cast<uint8_t>(u.relay);
    state[7] = static_cast<uint8_t>(u.series);
    state[9] = static_cast<uint8_t>(u.competition);
    return state;
}

namespace {

// Software 4.12 of 2024-03-15.
constexpr uint8_t kUnitVersion[6] = {4, 12, 20, 24, 3, 15};
constexpr uint8_t kUnitHardware = 40;  // counts for itself in the flag byte
constexpr uint8_t kUnitModel = 1;

Bytes UnitReply(int lane, uint8_t type, int lastPosition)
{
    Bytes p(static_cast<size_t>(lastPosition - 1), 0);
    p[0] = 0x40;
    p[1] = type;
    p[2] = static_cast<uint8_t>(lane);
    std::copy(std::begin(kUnitVersion), std::end(kUnitVersion), p.begin() + 3);
    return p;
}

// A counter as two 16-bit halves, the upper one worth 10000, high bytes first.
void PutCounter(Bytes& p, int position, int value)
{
    const int high = value / 10000, low = value % 10000;
    p[static_cast<size_t>(position - 2)] = static_cast<uint8_t>(high >> 8);
    p[static_cast<size_t>(position - 1)] = static_cast<uint8_t>(high);
    p[static_cast<size_t>(position)] = static_cast<uint8_t>(low >> 8);
    p[static_cast<size_t>(position + 1)] = static_cast<uint8_t>(low);
}

}  // namespace

Bytes Bus::VersionReply(const Unit& u) { return UnitReply(u.lane, 0x86, 12); }

Bytes Bus::StatusReply(const Unit& u)
{
    Bytes p = UnitReply(u.lane, 0x87, 28);
    // Shots the unit has heard in its life, and the ones it could not place.
    PutCounter(p, 11, 12000 + 100 * u.lane + u.fired);
    PutCounter(p, 15, u.lane);
    p[22 - 2] = kUnitHardware;
    p[25 - 2] = static_cast<uint8_t>(u.lane & 0x0F);
    p[26 - 2] = kUnitModel;
    return p;
}

void Bus::SetEcho(bool on)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_options.echo = on;
}

void Bus::Silence(int ms)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_silentUntil = Now() + MsToCounts(ms);
}

bool Bus::Stats(int lane, UnitStats& out) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_units.find(lane);
    if (it == m_units.end())
        return false;
    out = it->second.stats;
    out.queued = static_cast<int>(it->second.outbox.size());
    return true;
}

std::vector<UnitStats> Bus::AllStats() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<UnitStats> all;
    for (const auto& [lane, u] : m_units) {
        all.push_back(u.stats);
        all.back().queued = static_cast<int>(u.outbox.size());
    }
    return all;
}

std::vector<int> Bus::PollOrder() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return {m_pollOrder.begin(), m_pollOrder.end()};
}

int Bus::Collisions() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_collisions;
}

std::vector<Bytes> Bus::Commands(int lane) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_units.find(lane);
    if (it == m_units.end())
        return {};
    return {it->second.commands.begin(), it->second.commands.end()};
}

std::vector<Bytes> Bus::BroadcastsHeard() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return {m_broadcasts.begin(), m_broadcasts.end()};
}

bool Bus::WaitFor(const std::function<bool()>& test, int timeoutMs)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        uint64_t seen;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            seen = m_generation;
        }
        if (test())
            return true;
        std::unique_lock<std::mutex> hold(m_lock);
        // Also look now and then: the test may depend on more than the bus.
        auto next = std::min(until, std::chrono::steady_clock::now() + std::chrono::milliseconds(20));
        m_changed.wait_until(hold, next, [&] { return m_generation != seen; });
        if (std::chrono::steady_clock::now() >= until) {
            hold.unlock();
            return test();
        }
    }
}

int64_t Bus::Turnaround(const Unit& u) const
{
    return MsToCounts(u.turnaroundMs >= 0 ? u.turnaroundMs : m_options.turnaroundMs);
}

int64_t Bus::ScheduleFrame(int64_t start, const Bytes& frame, int lane, bool message, const Bytes& payload,
                           int64_t pause, bool cut)
{
    const size_t middle = (pause > 0 || cut) ? frame.size() / 2 : frame.size();
    const size_t end = cut ? middle : frame.size();
    int64_t at = start;
    for (size_t done = 0; done < end;) {
        if (done == middle)
            at += pause;
        size_t piece = std::min({kPieceBytes, end - done, done < middle ? middle - done : end - done});
        at += static_cast<int64_t>(piece) * m_byteTime;
        bool last = done + piece == frame.size();
        Output o{at, Bytes(frame.begin() + static_cast<long>(done), frame.begin() + static_cast<long>(done + piece)),
                 lane, message && last, last ? payload : Bytes{}, last ? frame : Bytes{}, start};
        auto it = std::upper_bound(m_outputs.begin(), m_outputs.end(), o.at,
                                   [](int64_t t, const Output& x) { return t < x.at; });
        m_outputs.insert(it, std::move(o));
        done += piece;
    }
    return at;
}

void Bus::Heard(const Bytes& frame, int64_t end, std::vector<BusEvent>& events)
{
    if (m_trace)
        events.push_back({BusEvent::FrameIn, 0, frame, end});
    HeardFrame h = Hear(frame);
    int awaiting = m_awaitingAck;
    m_awaitingAck = 0;
    if (h.kind == HeardFrame::Acknowledge) {
        Unit* u = awaiting ? UnitOfLane(awaiting) : nullptr;
        if (u && !u->outbox.empty()) {
            events.push_back({BusEvent::Acknowledged, u->lane, u->outbox.front(), end});
            u->outbox.pop_front();
            ++u->stats.acknowledged;
        }
        return;
    }
    // Any other frame of the range control ends the wait for an
    // acknowledgement: the message stays and goes again at the next poll.
    bool silent = end < m_silentUntil;
    // Bytes of an answer still to go when this frame began: both met on the wire.
    int64_t began = end - static_cast<int64_t>(frame.size()) * m_byteTime;
    for (const Output& o : m_outputs)
        if (o.frameStart < began) {
            ++m_collisions;
            break;
        }
    switch (h.kind) {
    case HeardFrame::Poll: {
        m_pollOrder.push_back(h.slot);
        if (m_pollOrder.size() > kPollOrderKept)
            m_pollOrder.pop_front();
        Unit* u = UnitOnSlot(h.slot);
        if (!u)
            return;
        ++u->stats.polls;
        if (silent)
            return;
        if (u->lostAnswers > 0) {
            --u->lostAnswers;
            return;
        }
        int64_t t = end + Turnaround(*u);
        if (u->outbox.empty() && u->loader) {
            Bytes list;
            if (u->loader->TakeAcknowledgements(list))
                u->outbox.push_back(std::move(list));
        }
        if (u->outbox.empty()) {
            ++u->stats.nothing;
            ScheduleFrame(t, {0x01, 0x0D}, u->lane, false, {});
            return;
        }
        size_t count = (u->burst && u->outbox.size() >= 2) ? 2 : 1;
        u->burst = false;
        for (size_t k = 0; k < count; ++k) {
            bool bad = u->checksumErrors > 0;
            if (bad)
                --u->checksumErrors;
            bool cut = u->cutAnswers > 0;
            if (cut)
                --u->cutAnswers;
            Bytes out = MessageFrame(static_cast<uint8_t>(0xC0 + u->slot), u->outbox[k], bad);
            ++u->stats.framesSent;
            t = ScheduleFrame(t, out, u->lane, true, u->outbox[k], MsToCounts(u->answerPauseMs), cut);
        }
        m_awaitingAck = u->lane;
        return;
    }
    case HeardFrame::Message: {
        Unit* u = UnitOnSlot(h.slot);
        if (!u)
            return;
        if (!h.checksumOk) {
            ++u->stats.badCommands;
            events.push_back({BusEvent::BadCommand, u->lane, h.payload, end});
            return;
        }
        ++u->stats.commands;
        u->commands.push_back(h.payload);
        if (u->commands.size() > kCommandsKept)
            u->commands.pop_front();
        events.push_back({BusEvent::Command, u->lane, h.payload, end});
        if (silent)
            return;
        if (u->lostAnswers > 0) {
            --u->lostAnswers;
            return;
        }
        Respond(*u, h.payload, false);
        if (u->refusedAcks > 0) {
            --u->refusedAcks;
            return;
        }
        ScheduleFrame(end + Turnaround(*u), {0x02, 0x0D}, u->lane, false, {});
        return;
    }
    case HeardFrame::Broadcast:
        if (!h.checksumOk)
            return;
        m_broadcasts.push_back(h.payload);
        if (m_broadcasts.size() > kCommandsKept)
            m_broadcasts.pop_front();
        for (auto& [lane, u] : m_units) {
            ++u.stats.broadcasts;
            if (!silent)
                Respond(u, h.payload, true);
        }
        events.push_back({BusEvent::Broadcast, 0, h.payload, end});
        return;
    default:
        return;
    }
}

void Bus::Run()
{
    uint8_t buffer[1024];
    std::vector<BusEvent> events;
    for (;;) {
        int64_t next = INT64_MAX;
        bool echo;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            if (m_stop)
                break;
            if (!m_outputs.empty())
                next = m_outputs.front().at;
            echo = m_options.echo;
        }
        int64_t now = Now();
        int64_t waitUs = kLongestWaitUs;
        if (next != INT64_MAX)
            waitUs = std::clamp<int64_t>((next - now) * 1000000 / platform::HighResFrequency(), 0, kLongestWaitUs);
        int ready = m_port->WaitInput(waitUs);
        events.clear();
        if (ready > 0) {
            for (;;) {
                size_t got = 0;
                if (m_port->Read(buffer, sizeof buffer, got) != 0 || got == 0)
                    break;
                now = Now();
                if (echo) {
                    size_t written;
                    m_port->Write(buffer, got, 1000, written);
                }
                std::lock_guard<std::mutex> hold(m_lock);
                for (size_t k = 0; k < got; ++k) {
                    if (m_incoming.empty())
                        m_incomingStart = now;
                    m_incoming.push_back(buffer[k]);
                    if (buffer[k] == 0x0D) {
                        // Heard when its last byte has come over the wire.
                        int64_t end = std::max(now, m_incomingStart + static_cast<int64_t>(m_incoming.size()) * m_byteTime);
                        Heard(m_incoming, end, events);
                        m_incoming.clear();
                    } else if (m_incoming.size() > kLongestFrame) {
                        m_incoming.clear();
                    }
                }
            }
        } else if (ready < 0) {
            // The other side has gone (a hang-up): look again a little later.
            platform::SleepMs(10);
        }
        std::vector<Output> due;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            now = Now();
            auto it = m_outputs.begin();
            while (it != m_outputs.end() && it->at <= now)
                ++it;
            // Held up (a busy machine): go on from now at the line's speed
            // rather than hand on the backlog in one piece, which a reader
            // would take for bytes that crossed the wire long ago.
            if (it != m_outputs.begin() && now - m_outputs.front().at > static_cast<int64_t>(kPieceBytes) * m_byteTime) {
                int64_t late = now - m_outputs.front().at;
                it = m_outputs.begin() + 1;
                for (auto rest = it; rest != m_outputs.end(); ++rest) {
                    rest->at += late;
                    rest->frameStart += late;
                }
            }
            due.assign(std::make_move_iterator(m_outputs.begin()), std::make_move_iterator(it));
            m_outputs.erase(m_outputs.begin(), it);
        }
        bool trace;
        std::function<void(const BusEvent&)> listener;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            trace = m_trace;
            listener = m_listener;
        }
        for (Output& o : due) {
            size_t written = 0;
            m_port->Write(o.bytes.data(), o.bytes.size(), 1000, written);
            int64_t at = Now();
            if (o.message)
                events.push_back({BusEvent::MessageSent, o.lane, o.payload, at});
            if (trace && !o.frame.empty())
                events.push_back({BusEvent::FrameOut, o.lane, o.frame, at});
        }
        if (listener)
            for (const BusEvent& e : events)
                listener(e);
        if (ready != 0 || !due.empty())
            Changed();
    }
}

}  // namespace bvsim
