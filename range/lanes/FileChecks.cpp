#include "range/lanes/FileChecks.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/exchange/ResultsExchange.h"
#include "range/lanes/LaneCards.h"

FileChecks::FileChecks(RangeObjects& objects, FrameServices& services, LaneCards& cards, ResultsExchange& exchange)
    : m_obj(objects), m_services(services), m_cards(cards), m_exchange(exchange)
{
}

void FileChecks::ReloadRangeConfig()
{
    CBVConfig& config = m_obj.settings.Config();
    if (config.IsOpen())
        config.Refresh();
}

int FileChecks::CheckFiles(bool force)
{
    CDataComp& comp = m_obj.comp;
    if (!comp.IsOpen())
        return 0;
    bool activeChanged = comp.ActiveFile().CacheVerify(1) > 0;
    bool compChanged = comp.CompConfig().Refresh() > 0;
    bool programChanged = comp.ProgramConfig().Refresh() > 0;
    programChanged |= m_obj.programs.Refresh() > 0;
    bool cardsChanged = comp.CardFile().CacheVerify(1) > 0;
    bool namesChanged = comp.NameFile().CacheVerify(1) > 0;
    if (!activeChanged && !compChanged && !programChanged && !cardsChanged && !namesChanged && !force)
        return 0;

    currentSeries = m_obj.CompInt(CompSettings::kCurrentSeries);
    markKind = m_obj.CompInt(CompSettings::kMarkKind);
    int program = m_obj.CompInt(CompSettings::kProgram);
    if (program != comp.GetCurrentProgram()) {
        programChanged = true;
        comp.SetCurrentProgram(program);
    }
    m_obj.programs.SetCurrentProgram(program);

    bool shared = programChanged || cardsChanged || namesChanged;
    int result = shared ? 1 : 0;
    int competition = comp.GetComp();
    bool startNumbers = comp.StartNumberMode();
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = m_obj.lanes[lane];
        bool laneChanged = shared;
        comp.ReadActive(lane, b.active);

        uint8_t enabled = competition >= 1 ? (m_obj.CompInt(CompSettings::LaneActive(lane)) != 0)
                                           : PortRecord::IsLine(b.channelType);
        if (enabled != b.enabled)
            laneChanged = true;
        b.enabled = enabled;
        ForEachOutsideSystem(m_obj.ports, [&](CVI9001& vi) { vi.SetLaneActive(lane, enabled != 0); });
        if (!enabled) {
            // A lane that left is drawn again, and the lane set changed.
            b.rowMark = 1;
            if (laneChanged)
                result |= 0x81;
            continue;
        }

        bool created = false;
        if (b.active.cardRec == 0) {
            // A lane without a card gets one for the first relay.
            m_cards.TakeLaneSettings(lane);
            CDataComp::ClearCard(b.card);
            b.card.relay = 1;
            b.card.lane = static_cast<int16_t>(lane);
            m_cards.StoreLaneSettings(lane);
            comp.GetCard(b.card, 1);
            comp.ReadActive(lane, b.active);
            b.rowMark = 1;
            created = true;
        }
        if (cardsChanged || force || created) {
            m_cards.TakeLaneSettings(lane);
            b.rowMark = 1;
            CDataComp::ClearCard(b.card);
            b.card.relay = b.active.relay;
            b.card.lane = static_cast<int16_t>(startNumbers ? 0 : lane);
            if (comp.CardFile().ReadRecKey(&b.card) == 0)
                m_cards.StoreLaneSettings(lane);
        }
        if (cardsChanged || namesChanged || force || created) {
            CDataComp::ClearName(b.name);
            if (b.card.nameRec != 0 && comp.ReadName(b.card, b.name) != 0)
                b.rowMark = 1;
        }
        if (b.channelType == PortRecord::kOutsideSystem && m_obj.ports[b.channel].outside)
            m_obj.ports[b.channel].outside->SetLaneTargetType(lane, b.card.targetType);
        if (laneChanged) {
            b.rowMark = 1;
            result |= 0x80;
        }
        if (b.rowMark)
            result |= 1;
    }
    if (result != 0)
        m_exchange.ImportNames(0);
    return result;
}

int FileChecks::ReloadShots(bool force)
{
    CDataComp& comp = m_obj.comp;
    if (!comp.IsOpen())
        return 0;
    int result = 0;
    CBVFileEx& file = comp.ShotFile();
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = m_obj.lanes[lane];
        if (b.channelType == 0 || !b.enabled)
            continue;
        if (force) {
            b.rowMark = 1;
            CDataComp::ClearShots(b.shots);
        }
        if (b.card.shotRec != 0) {
            // A lane's list is read whole only when its own counter moved.
            int32_t counter = b.shotsCounterSeen;
            if (!b.rowMark)
                file.ReadField(b.card.shotRec, 0, 4, &counter);
            if (force || b.rowMark || counter != b.shotsCounterSeen) {
                if (file.ReadRecDirect(b.card.shotRec, &b.shots) == 0) {
                    b.shotsCounterSeen = b.shots.updateCounter;
                    b.rowMark = 1;
                } else {
                    CDataComp::ClearShots(b.shots);
                }
            }
        }
        if (b.rowMark) {
            m_cards.RecomputeLane(lane);
            result = 1;
        }
    }
    return result;
}

void FileChecks::RefreshChangedRows()
{
    int lowest = 0, highest = 0;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = m_obj.lanes[lane];
        if (!b.rowMark)
            continue;
        b.rowMark = 0;
        if (lowest == 0)
            lowest = lane;
        highest = lane;
    }
    if (lowest == 0)
        return;
    for (int lane = lowest; lane <= highest; ++lane)
        m_services.RedrawRow(lane);
}

void FileChecks::TouchFiles()
{
    CDataComp& comp = m_obj.comp;
    if (!comp.IsOpen())
        return;
    CBVFileEx* files[] = {&comp.ActiveFile(), &comp.ShotFile()};
    for (CBVFileEx* file : files) {
        if (file == &comp.ActiveFile() && file->IsOpen() && file->Path().empty())
            BV_LOG(m_log, 80, "Filename is blank for fActive");
        if (file->CheckOpen() != 0)
            continue;
        // The counters tell the display and remote programs to read again.
        if (file->Lock() == 0)
            file->IncrementUnique();
        file->CheckClose(0);
    }
}
