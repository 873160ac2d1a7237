#include "range/run/FinalMarking.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "range/base/RangeObjects.h"
#include "range/lanes/Commands.h"
#include "range/run/RangeControl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Values of real shots end here; above are codes of shots without a value.
constexpr int kHighestValue = 1199;

}  // namespace

FinalMarking::FinalMarking(RangeObjects& objects, RangeControl& range) : m_obj(objects), m_range(range) {}

void FinalMarking::Begin(int firstLane, int lastLane, int currentLane, int series)
{
    m_startNumbers = m_obj.Options().IsOn(CompOptions::StartNumbers);
    m_firstLane = firstLane;
    m_lastLane = lastLane;
    m_lane = currentLane;
    m_series = series;
    m_index = 0;
    m_sent = 0;
    m_tempo = 3;
    m_countdown = 0;
    m_zoom = 3;
    SetMaxShot(m_obj.programs.GetSerieShots(series, 0));
    m_relay = LaneTable::IsLane(currentLane) ? m_obj.lanes[currentLane].card.relay : 0;
}

void FinalMarking::SetMaxShot(int n) { m_maxShot = std::clamp(n, 0, kMaxOrder - 1); }

void FinalMarking::SetTempo(int seconds) { m_tempo = std::clamp(seconds, 0, kMaxTempo); }

std::string FinalMarking::SumText(int hundredths)
{
    char text[24];
    std::snprintf(text, sizeof text, "%d.%d", hundredths / 100, (hundredths / 10) % 10);
    return text;
}

std::string FinalMarking::Name() const { return std::string(m_name.name, strnlen(m_name.name, sizeof m_name.name)); }

int FinalMarking::SlotOf(int i) const
{
    if (i < 1 || i > static_cast<int>(m_order.size()))
        return -1;
    return m_order[static_cast<size_t>(i - 1)];
}

int FinalMarking::ValueOf(const ShotRecord& shot) const
{
    // Turned away on a turning-target range: it counts nothing there.
    if ((shot.flags & CDataComp::kFlagMarked) && m_obj.RangeInt(RangeItems::kExternalEquipment) == 1)
        return 0;
    return shot.value;
}

void FinalMarking::Send(const LineMessage& m) { m_range.commands.SendCommand(0, m, Cmd::kEveryLine); }

void FinalMarking::LoadLane(int lane, int relay)
{
    m_lane = lane;
    CDataComp::ClearCard(m_card);
    CDataComp::ClearName(m_name);
    CDataComp::ClearShots(m_shots);
    m_cardRecord = 0;
    CDataComp& comp = m_obj.comp;
    bool read = false;
    CardRecord key;
    CDataComp::ClearCard(key);
    if (m_startNumbers) {
        if (lane != 0) {
            key.relay = static_cast<int16_t>(lane);
            key.lane = 0;
            read = true;
        }
    } else if (LaneTable::IsLane(lane) && m_obj.lanes[lane].enabled) {
        key.relay = static_cast<int16_t>(relay > 0 ? relay : m_obj.lanes[lane].card.relay);
        key.lane = static_cast<int16_t>(lane);
        m_relay = key.relay;
        read = true;
    }
    if (read && comp.IsOpen() && comp.CardFile().ReadRecKey(&key) == 0) {
        m_card = key;
        m_cardRecord = comp.CardFile().LastKeyHit();
        if (m_card.nameRec != 0 && comp.ReadName(m_card, m_name) != 0)
            CDataComp::ClearName(m_name);
        if (m_card.shotRec != 0 && comp.ReadShots(m_card.relay, m_card.lane, m_shots) != 0)
            CDataComp::ClearShots(m_shots);
    }

    m_startValue = m_obj.CompInt(CompSettings::kStartScore) != 0 ? m_name.startScore : 0;
    m_markedSum = 0;
    m_order.clear();
    uint8_t order[CDataComp::kSlots];
    const bool resort =
        m_obj.RangeInt(RangeItems::kExternalEquipment) == 1 && m_obj.programs.GetEquipment(0) == 129;
    CDataComp::BuildShotOrder(m_shots, order, resort);
    for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i) {
        const ShotRecord& s = m_shots.shots[order[i]];
        const int counting = s.countingSeries;
        if (counting == m_series || (counting == 0 && (s.series & 0x7F) == m_series)) {
            if (static_cast<int>(m_order.size()) < kMaxOrder)
                m_order.push_back(order[i]);
        } else if (counting != 0 && counting < m_series) {
            m_startValue += CDataComp::CountedValue(ValueOf(s), m_card.valueSystem);
        }
    }
    m_valueText.clear();
    SendLoaded();
    SendName();
    m_sent = 0;
    WriteLaneSeries();
    WriteRecord();
}

void FinalMarking::ChangeLane(int lane, int relay)
{
    m_countdown = 0;
    m_index = 0;
    LoadLane(lane, relay);
}

void FinalMarking::SendLoaded()
{
    FinalMarkCmd c;
    c.kind = FinalMarkCmd::kLoaded;
    c.lane = m_lane;
    c.series = m_series;
    c.zoom = m_zoom;
    c.markedSum = m_markedSum;
    c.startValue = m_startValue;
    LineMessage m;
    c.Build(m);
    Send(m);
}

void FinalMarking::SendName()
{
    LineMessage m;
    FinalNameCmd{m_lane, Name()}.Build(m);
    Send(m);
}

void FinalMarking::ShowShot(int i)
{
    m_markedSum = 0;
    for (int k = 1; k <= i; ++k) {
        int slot = SlotOf(k);
        if (slot >= 0 && m_shots.shots[slot].value <= kHighestValue)
            m_markedSum += CDataComp::CountedValue(ValueOf(m_shots.shots[slot]), m_card.valueSystem);
    }
    const int slot = SlotOf(i);
    const bool present = slot >= 0 && m_shots.shots[slot].value <= kHighestValue;
    FinalMarkCmd c;
    c.kind = FinalMarkCmd::kShot;
    c.lane = m_lane;
    c.series = m_series;
    c.zoom = m_zoom;
    c.markedSum = m_markedSum;
    c.startValue = m_startValue;
    c.shotIndex = i;
    const int external = m_obj.RangeInt(RangeItems::kExternalEquipment);
    c.runByte = i;
    m_valueText.clear();
    if (present) {
        const ShotRecord& s = m_shots.shots[slot];
        c.valueHundredths = ValueOf(s);
        if (external == 2)
            c.runByte = s.data44;
        const int typeDistance = m_obj.targetTypes.GetDistance(m_card.targetType);
        CBVConfig& config = m_obj.comp.CompConfig();
        const int simulated = config.IsOpen() ? ReadItem(config, CompSettings::kSimulatedDistance, typeDistance) : 100;
        const int actual = config.IsOpen() ? ReadItem(config, CompSettings::kDistance, typeDistance) : 100;
        c.x = FinalMarkCmd::Scaled(s.x, simulated, actual);
        c.y = FinalMarkCmd::Scaled(s.y, simulated, actual);
        m_obj.comp.ValueText(ValueOf(s), m_card.valueSystem, m_valueText);
    }
    LineMessage m;
    c.Build(m);
    Send(m);
    if (present)
        SetShown({slot}, true);
    m_index = i;
}

void FinalMarking::SetShown(const std::vector<int>& slots, bool shown)
{
    bool changed = false;
    for (int slot : slots) {
        // The record is packed: its flags are copied, never referred to.
        const uint16_t flags = m_shots.shots[slot].flags;
        const uint16_t now = static_cast<uint16_t>(shown ? flags | CDataComp::kFlagShown : flags & ~CDataComp::kFlagShown);
        changed |= now != flags;
        m_shots.shots[slot].flags = now;
    }
    if (!changed || m_card.shotRec == 0)
        return;
    // The list as stored now: a shot stored meanwhile stays.
    m_obj.comp.ChangeShots(m_card.relay, m_card.lane, [&](ShotListRecord& list) {
        for (int slot : slots)
            list.shots[slot].flags = m_shots.shots[slot].flags;
    });
    WriteLaneSeries();
}

void FinalMarking::ShowUpTo(int n)
{
    n = std::clamp(n, 0, m_maxShot);
    std::vector<int> after;
    for (int i = n + 1; i <= static_cast<int>(m_order.size()); ++i)
        if (m_shots.shots[SlotOf(i)].flags & CDataComp::kFlagShown)
            after.push_back(SlotOf(i));
    SetShown(after, false);
    if (n == 0) {
        m_index = 0;
        m_markedSum = 0;
        m_valueText.clear();
        WriteLaneSeries();
        WriteRecord();
        return;
    }

    // The monitors zoom out for a shot far from the centre.
    int zoom = 3;
    for (int i = 1; i <= n; ++i) {
        int slot = SlotOf(i);
        if (slot < 0 || m_shots.shots[slot].value > kHighestValue)
            continue;
        const int value = m_shots.shots[slot].value;
        if (value < 600)
            zoom = 1;
        else if (value < 800)
            zoom = std::min(zoom, 2);
    }
    const bool zoomChanged = zoom != m_zoom;
    if (zoomChanged) {
        m_zoom = zoom;
        m_sent = 0;
    }
    if (!zoomChanged && n == m_sent + 1) {
        ShowShot(n);
    } else {
        if (n <= m_sent)
            LoadLane(m_lane, m_relay);
        for (int i = m_sent + 1; i <= n; ++i)
            ShowShot(i);
        SendName();
    }
    m_sent = n;
    m_index = n;
    WriteLaneSeries();
    WriteRecord();
}

void FinalMarking::UnmarkAll()
{
    std::vector<int> slots;
    for (int i = 1; i <= static_cast<int>(m_order.size()); ++i)
        slots.push_back(SlotOf(i));
    SetShown(slots, false);
    m_index = 0;
    m_markedSum = 0;
    m_valueText.clear();
    WriteRecord();
}

void FinalMarking::End()
{
    m_countdown = 0;
    FinalMarkCmd c;
    c.kind = FinalMarkCmd::kEnd;
    c.lane = m_lane;
    c.series = m_series;
    LineMessage m;
    c.Build(m);
    Send(m);
    m_range.records.WriteActive(0, 0);
}

bool FinalMarking::StartTempo()
{
    if (m_index < m_maxShot)
        ShowUpTo(m_index + 1);
    if (m_index >= m_maxShot) {
        m_countdown = 0;
        return false;
    }
    m_countdown = std::max(1, m_tempo);
    return true;
}

bool FinalMarking::Tick()
{
    if (m_countdown == 0)
        return false;
    if (--m_countdown > 0)
        return true;
    if (m_index < m_maxShot)
        ShowUpTo(m_index + 1);
    if (m_index >= m_maxShot)
        return false;
    m_countdown = std::max(1, m_tempo);
    return true;
}

void FinalMarking::WriteLaneSeries()
{
    if (!m_startNumbers && LaneTable::IsLane(m_lane))
        m_range.records.WriteActive(m_lane, static_cast<uint8_t>(m_series));
}

void FinalMarking::WriteRecord()
{
    CDataComp& comp = m_obj.comp;
    if (!comp.IsOpen())
        return;
    ActiveRecord r;
    CDataComp::ClearActive(r);
    r.lane = 0;
    r.relay = static_cast<int16_t>(m_startNumbers ? m_lane : m_relay);
    r.cardRec = static_cast<int16_t>(m_startNumbers ? m_cardRecord : m_lane);
    r.changeCounter = static_cast<int16_t>(m_index);
    r.seriesState = static_cast<uint8_t>(m_series);
    comp.ActiveFile().WriteRecKey(&r);
}
