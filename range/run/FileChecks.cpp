// The tick's work: what the 200 ms timer asks of the frame besides taking
// the lines' messages. The file checks re-read what other programs changed
// in the competition's files; the touch tells other programs that this one
// changed them.
#include "range/ui/MainFrm.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/ui/FrameWnd.h"

void CMainFrame::ArmTimer(int milliseconds)
{
    if (platform::FrameWnd* w = Window())
        w->SetTimer(kTickTimer, milliseconds);
}

void CMainFrame::KillTimer()
{
    if (platform::FrameWnd* w = Window())
        w->KillTimer(kTickTimer);
}

// The line monitor shows what it collected while it is open.
void CMainFrame::ShowMonitorFrames() {}

// The outside range system's events are read on every tick while one is open.
void CMainFrame::PollOutsideSystem() {}

// An open card dialog follows the lane's card.
void CMainFrame::RefreshCardDialog() {}

void CMainFrame::ReloadRangeConfig()
{
    CBVConfig& config = m_obj.settings.Config();
    if (config.IsOpen())
        config.Refresh();
}

bool CMainFrame::RepeatModes()
{
    // Turning targets take their own mode.
    int equipment = m_obj.programs.GetEquipment(0);
    bool turning = RangeInt(RangeItems::kExternalEquipment) != 0 && (equipment == 1 || equipment == 129);
    bool sent = false;
    for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        if (b.pendingMode == 0)
            continue;
        --b.pendingMode;
        SendMode(turning ? 140 : 72, lane, 0x80);
        sent = true;
    }
    return sent;
}

void CMainFrame::LaneWork()
{
    for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        int32_t* timers = b.fetchRunning ? b.fetchTimers : b.shotTimers;
        for (int i = 0; i < CDataComp::kSlots; ++i)
            if (timers[i] != 0)
                --timers[i];
        RequestMissingShots(lane);
        if (b.cardCountdown != 0 && --b.cardCountdown == 0)
            SendCardSummary(lane);
    }
}

int CMainFrame::CheckFiles(bool force)
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

    m_currentSeries = CompInt(CompSettings::kCurrentSeries);
    m_markKind = CompInt(CompSettings::kMarkKind);
    int program = CompInt(CompSettings::kProgram);
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

        uint8_t enabled = competition >= 1 ? (CompInt(CompSettings::LaneActive(lane)) != 0)
                                           : PortRecord::IsLine(b.channelType);
        if (enabled != b.enabled)
            laneChanged = true;
        b.enabled = enabled;
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
            TakeLaneSettings(lane);
            CDataComp::ClearCard(b.card);
            b.card.relay = 1;
            b.card.lane = static_cast<int16_t>(lane);
            StoreLaneSettings(lane);
            comp.GetCard(b.card, 1);
            comp.ReadActive(lane, b.active);
            b.rowMark = 1;
            created = true;
        }
        if (cardsChanged || force || created) {
            TakeLaneSettings(lane);
            b.rowMark = 1;
            CDataComp::ClearCard(b.card);
            b.card.relay = b.active.relay;
            b.card.lane = static_cast<int16_t>(startNumbers ? 0 : lane);
            if (comp.CardFile().ReadRecKey(&b.card) == 0)
                StoreLaneSettings(lane);
        }
        if (cardsChanged || namesChanged || force || created) {
            CDataComp::ClearName(b.name);
            if (b.card.nameRec != 0 && comp.ReadName(b.card, b.name) != 0)
                b.rowMark = 1;
        }
        if (laneChanged) {
            b.rowMark = 1;
            result |= 0x80;
        }
        if (b.rowMark)
            result |= 1;
    }
    if (result != 0)
        ImportNames(0);
    return result;
}

int CMainFrame::ReloadShots(bool force)
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
            RecomputeLane(lane);
            result = 1;
        }
    }
    return result;
}

void CMainFrame::RefreshChangedRows()
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
        RedrawRow(lane);
}

void CMainFrame::RefreshViews()
{
    RefreshPanel();
}

void CMainFrame::TouchFiles()
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

void CMainFrame::SimulationStep()
{
    if (!m_simulation)
        return;
    // The targets' acknowledgements, played for at most two lanes a tick.
    int done = 0;
    for (int lane = NextActiveLane(0); lane != 0 && done < 2; lane = NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        if (!(b.active.seriesState & 0x80) && b.lineStatus == LineStatus::kSimulated)
            continue;
        b.lineStatus = LineStatus::kSimulated;
        b.active.seriesState &= 0x7F;
        b.targetCompetition = static_cast<int16_t>(CompetitionNumber());
        b.targetRelay = b.card.relay;
        b.sensitivity = b.card.sensitivity;
        WriteActive(lane, b.active.seriesState);
        RedrawRow(lane);
        ++done;
    }
}
