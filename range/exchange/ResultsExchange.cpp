// The exchange with the results program: results written to the exchange
// folder after each stored shot or on command, and the shooters' names taken
// from it onto the lanes' cards.
#include "range/exchange/ResultsExchange.h"

#include "foundation/exchange/BVExch.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/exchange/ExportTriggers.h"

#include <cstring>
#include <string>

ResultsExchange::ResultsExchange(RangeObjects& objects, FrameServices& services)
    : m_obj(objects), m_services(services), m_export(std::make_unique<CBVExch>())
{
}

ResultsExchange::~ResultsExchange() = default;

int ResultsExchange::SendResults(int firstRelay, int lastRelay, int firstLane, int shooters, const char* folder)
{
    int competition = m_obj.CompetitionNumber();
    if (competition == 0) {
        m_services.Message(m_obj.Text("IDS_WRN_COMPTRAIN"));
        return -1;
    }
    BusyScope busy(m_services);
    CBVExch& exch = *m_export;
    // A folder given (a memory stick) takes the files instead of the exchange folder.
    int rc = exch.ExportResults(competition, firstRelay, lastRelay, firstLane, shooters, folder ? folder : "");
    if (rc == CBVExch::kFolderNotWritable)
        FolderMissing(exch.FailedFolder());
    else if (rc == CBVExch::kDone)
        m_missingFolder.clear();
    const ExportTriggers::Outcome* outcome = ExportTriggers::OutcomeOf(rc);
    if (!outcome)
        return rc == 0 ? 0 : -1;
    if (outcome->logLevel != 0) {
        const std::string& subject = rc == CBVExch::kIllegalPrefix ? exch.prefix : exch.FailedFile();
        BV_LOG(m_log, outcome->logLevel, outcome->logText, subject.c_str());
    }
    if (outcome->statusKey) {
        if (outcome->withFolder)
            m_services.ShowStatusText(m_obj.language.GetText(outcome->statusKey) + " " + exch.FailedFolder());
        else
            m_services.ShowStatusKey(outcome->statusKey);
    }
    if (outcome->messageKey)
        m_services.Message(m_obj.Text(outcome->messageKey));
    if (outcome->beep)
        m_services.Beep(rc == 0);
    return rc == 0 ? 0 : -1;
}

void ResultsExchange::FolderMissing(const std::string& folder)
{
    if (folder == m_missingFolder)
        return;
    m_missingFolder = folder;
    BV_LOG(m_log, 80, "Exchange folder %s missing or not writable", folder.c_str());
}

void ResultsExchange::SendOfficeResults()
{
    int first = m_obj.lanes.NextActiveLane(0);
    int relay = first != 0 ? m_obj.lanes[first].active.relay : 0;
    ExportTriggers::Relays relays = ExportTriggers::OfficeRelays(m_obj.RangeInt(RangeItems::kResultsProgram), relay);
    if (SendResults(relays.first, relays.last, first, ExportTriggers::kOfficeShooters) == 0)
        m_services.ShowStatusKeys("IDS_INFO_SENT", "", nullptr);
}

int ResultsExchange::ImportNames(int laneLimit)
{
    CDataComp& comp = m_obj.comp;
    int competition = m_obj.CompetitionNumber();
    if (competition <= 0)
        return 0;
    BusyScope busy(m_services);
    CBVConfig& config = m_obj.settings.Config();
    std::string folder = CBVExch::NormalizeFolder(config.IsOpen() ? CRangeSettings::ReadExchangeFolder(config) : "");
    std::string prefix = ReadItem(comp.CompConfig(), CompSettings::kPrefix);
    int program = m_obj.RangeInt(RangeItems::kResultsProgram);

    CBVExch exch;
    exch.resultsProgram = program;
    exch.startNumbers = comp.StartNumberMode();
    exch.prefix = prefix;
    exch.exchangeFolder = folder;
    // The lanes asked for, each with the relay (or start number) of its card;
    // a single lane is asked for with its own relay.
    int relay = 0;
    auto ask = [&](int lane) {
        LaneBlock& b = m_obj.lanes[lane];
        if (b.card.nameRec != 0)
            comp.ReadName(b.card, b.name);
        exch.relays[lane] = b.card.relay;
        if (relay == 0)
            relay = b.card.relay;
    };
    if (laneLimit == 0) {
        for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane))
            ask(lane);
    } else if (m_obj.lanes.IsActive(laneLimit)) {
        ask(laneLimit);
    }

    if (program != 8 && CBVFileEx::TestFolder(folder) == 0) {
        FolderMissing(folder);
        m_services.ShowStatusText(m_obj.language.GetText("IDS_WRN_FAIL_PATH") + " " + folder);
        return 0;
    }
    if (!CBVExch::IsValidPrefix(prefix)) {
        BV_LOG(m_log, 80, "Illegal prefix (%s)!", prefix.c_str());
        return 0;
    }
    int rc = exch.ImportNames(relay, laneLimit, competition, folder);
    if (rc == CBVExch::kUnknownResultsProgram) {
        BV_LOG(m_log, 90, "Ukjent resultatprogram valgt (%d) - bruker BVRes format", program);
        return 0;
    }
    if (rc != 0)
        return 0;

    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane)) {
        if (laneLimit != 0 && lane != laneLimit)
            continue;
        const NameRecord& got = exch.names[lane];
        if (got.startNumber == -1)
            continue;  // a lane that got no name keeps the one it had
        LaneBlock& b = m_obj.lanes[lane];
        b.name = got;
        b.name.competition = competition;
        if (comp.StoreName(b.card.relay, lane, b.name) == 0) {
            CardRecord card = b.card;
            if (comp.StartNumberMode())
                card.lane = 0;
            if (comp.CardFile().ReadRecKey(&card) == 0)
                b.card.nameRec = card.nameRec;
        }
        b.rowMark = 1;
    }
    // The outside range system shows each of its lanes' shooter, or none.
    for (int lane = LaneTable::kFirstLane; lane <= CVI9001::kMaxLane; ++lane) {
        const LaneBlock& b = m_obj.lanes[lane];
        CVI9001* outside = b.channelType == PortRecord::kOutsideSystem ? m_obj.ports[b.channel].outside : nullptr;
        if (!outside || !b.enabled)
            continue;
        const NameRecord& got = exch.names[lane];
        if (got.startNumber == -1)
            outside->SetLaneShooter(lane, 0, std::string());
        else
            outside->SetLaneShooter(lane, got.startNumber, std::string(got.name, strnlen(got.name, sizeof got.name)));
    }
    return 1;
}
