#include "range/shots/TwinSums.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "range/base/RangeObjects.h"
#include "range/base/TickCounters.h"
#include "range/lanes/Commands.h"
#include "range/lanes/LaneCommands.h"

#include <vector>

TwinSums::TwinSums(RangeObjects& objects, TickCounters& tick, LaneCommands& commands)
    : m_obj(objects), m_tick(tick), m_commands(commands)
{
}

void TwinSums::StartSums(int lane, int series)
{
    m_sumsLane = lane;
    m_sumsSeries = series;
    m_sumsIndex = 0;
    SendSums();
}

void TwinSums::ClearSums(int lane, int series)
{
    m_sumsLane = lane;
    m_sumsSeries = series;
    m_sumsIndex = -1;
    SendSums();
}

void TwinSums::SendSums()
{
    int twin = m_obj.CompInt(CompSettings::kTwinLane);
    SumsCmd c;
    c.zoomMode = m_obj.CompInt(CompSettings::kZoomMode);
    c.laneShown = m_sumsLane;
    c.seriesShown = m_sumsSeries;
    bool show = m_sumsIndex >= 0 && LaneTable::IsLane(m_sumsLane) && m_sumsSeries >= 1 &&
                m_sumsSeries <= CDataComp::kMaxSeries && m_obj.lanes[m_sumsLane].shotsPerSeries[m_sumsSeries] > 0;
    if (show) {
        const LaneBlock& b = m_obj.lanes[m_sumsLane];
        int system = b.card.valueSystem;
        int external = m_obj.RangeInt(RangeItems::kExternalEquipment);
        int earlier = 0;
        for (const ShotRecord& r : b.shots.shots)
            if (r.state == CDataComp::kSlotShot && r.countingSeries >= 1 && r.countingSeries < m_sumsSeries)
                earlier += CDataComp::CountedValue(r.value, system);
        // The shots of the series shown, in the order the card shows them.
        uint8_t order[CDataComp::kSlots];
        bool resort = external == 1 && m_obj.programs.GetEquipment(0) == 129;
        CDataComp::BuildShotOrder(b.shots, order, resort);
        std::vector<int> shown;
        for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i)
            if (b.shots.shots[order[i]].countingSeries == m_sumsSeries)
                shown.push_back(order[i]);
        if (m_sumsIndex < static_cast<int>(shown.size())) {
            int running = 0;
            for (int i = 0; i <= m_sumsIndex; ++i)
                running += CDataComp::CountedValue(b.shots.shots[shown[static_cast<size_t>(i)]].value, system);
            const ShotRecord& shot = b.shots.shots[shown[static_cast<size_t>(m_sumsIndex)]];
            const ShotRecord& first = b.shots.shots[shown.front()];
            c.kind = SumsCmd::kShot;
            c.seriesTenths = running / 10;
            c.totalTenths = (earlier + running) / 10;
            c.shotIndex = m_sumsIndex;
            c.valueTenths = CDataComp::CountedValue(shot.value, system) / 10;
            c.runByte = SumsCmd::RunByte(external, shot.data44, first.data44, m_sumsIndex + 1);
            c.xMicrometres = shot.x;
            c.yMicrometres = shot.y;
            LineMessage m;
            c.Build(m);
            m_commands.SendCommand(twin, m, Cmd::kEvenDisabled);
            ++m_sumsIndex;
            if (m_sumsIndex < static_cast<int>(shown.size()))
                m_tick.sumsCountdown = m_obj.CompInt(CompSettings::kMarkingTempo) * 1000 / TickCounters::kTickMs;
            return;
        }
    }
    c.kind = SumsCmd::kClear;
    LineMessage m;
    c.Build(m);
    m_commands.SendCommand(twin, m, Cmd::kEvenDisabled);
}
