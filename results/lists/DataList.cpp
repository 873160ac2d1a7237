// The list object: its face, which runs the producer of each list kind,
// ranking, export and web page, and the context the producers share (the
// competition, rows, cards, reporter and the report's page frame).
#include "results/lists/DataList.h"

#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListPaths.h"
#include "results/lists/classlists/ClassLists.h"
#include "results/lists/clubfiles/ClubFileWriter.h"
#include "results/lists/clubfiles/ClubSettlementFiles.h"
#include "results/lists/exports/EntryExports.h"
#include "results/lists/files/WriteListFile.h"
#include "results/lists/forms/AddressLabels.h"
#include "results/lists/forms/BankGiro.h"
#include "results/lists/overview/EntryList.h"
#include "results/lists/overview/StatisticsList.h"
#include "results/lists/overview/TimeSchedule.h"
#include "results/lists/press/PressList.h"
#include "results/lists/ranking/PrizeRanking.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/ranking/TeamRanking.h"
#include "results/lists/relays/GraphicCards.h"
#include "results/lists/relays/RelayLists.h"
#include "results/lists/resultlists/ResultLists.h"
#include "results/lists/settlement/CompetitionReport.h"
#include "results/lists/teams/TeamList.h"
#include "results/lists/web/WebListPages.h"
#include "results/lists/web/WebSitePages.h"
#include "results/lists/web/WebUpload.h"
#include "results/print/PageFrame.h"
#include "results/registers/DataClub.h"

#include <algorithm>
#include <optional>

namespace results {
namespace {

std::string RowText(std::string text)
{
    if (text.size() > kRowTextSize)
        text.resize(kRowTextSize);
    return text;
}

// What MakeList does around a kind's producer.
struct KindRule {
    bool startsFresh;   // variant and definitions set to 0 before the producer
    bool printsItself;  // the producer prints for every output (giro forms, labels)
};

constexpr KindRule kKindRules[kListKindCount] = {
    /* 0 statistics     */ {false, false},
    /* 1 participants   */ {false, false},
    /* 2 settlement     */ {true, false},
    /* 3 bank giro      */ {false, true},
    /* 4 address labels */ {true, true},
    /* 5 press list     */ {true, false},
    /* 6 roll call      */ {false, false},
    /* 7 relay list     */ {false, false},
    /* 8 shooting cards */ {false, false},
    /* 9 graphic cards  */ {false, false},
    /* 10 by class      */ {false, false},
    /* 11 combined      */ {false, false},
    /* 12 auto lists    */ {false, false},
    /* 13 other lists   */ {false, false},
    /* 14 team shooting */ {false, false},
    /* 15 time schedule */ {false, false},
};

// Runs the producer of the kind. The competition report stays in
// `settlement`: its books give the per-club files after the list file.
void Produce(CDataList& list, int kind, std::optional<CompetitionReport>& settlement)
{
    const CDataList::ResultListChoice& choice = list.resultListChoice;
    switch (kind) {
    case kListStatistics:
        StatisticsList(list).Make();
        break;
    case kListParticipants:
        EntryList(list).Make();
        break;
    case kListSettlement:
        settlement.emplace(list);
        settlement->Make();
        break;
    case kListBankGiro:
        BankGiro(list).Make();
        break;
    case kListAddressLabels:
        AddressLabels(list).Make();
        break;
    case kListPressList:
        PressList(list).Make();
        break;
    case kListRollCall:
    case kListRelayList:
    case kListShootingCards:
        RelayLists(list).MakeKind(kind, list.Output());
        break;
    case kListResultsByClass:
    case kListResultsCombined:
        ResultLists(list).Make(kind, {.withPrizes = choice.withPrizes, .web = choice.web});
        break;
    case kListAutoResultLists:
    case kListOtherLists:
        ClassLists(list).Make(true);
        break;
    case kListTeamShooting:
        TeamList(list).Make(false, false);
        break;
    case kListRunningOrder:
        TimeSchedule(list).Make();
        break;
    default:
        break;
    }
}

}  // namespace

CDataList::CDataList() = default;

CDataList::~CDataList()
{
    // The cards first: they point into the competition's event objects.
    m_cards.clear();
    shooterRows.clear();
    resultRows.clear();
}

// ---- the face ------------------------------------------------------------------

int CDataList::OpenCompetition(int number)
{
    m_followUser = number <= 0;
    m_cards.clear();
    m_comp.DropAllEvents();
    m_comp.Shooters().Close();
    m_comp.TeamMembers().Close();
    int rc = m_comp.Open(number);
    m_comp.RefreshEvents();
    return rc;
}

void CDataList::ResetSelection()
{
    request.event = 0;
    request.variant = 0;
    request.lastTarget = request.firstTarget = 0;
    request.lastRelay = request.firstRelay = 0;
    request.filtersActive = 0;
    request.classFilter.clear();
    request.letterFilter.clear();
    request.seriesFilter.clear();
    request.selection = 0;
}

int CDataList::MakeList(int output)
{
    // Nothing of an earlier list may come along: a printout that was
    // cancelled, or a file that could not be written, left its model.
    ClearRows();
    report.Reset();
    report.m_currentDef = 0;
    report.m_defCount = 0;
    report.m_lastPrinted = 0;
    report.m_continuePrinting = 0;
    PrepareRows();

    if (request.fileName.size() > kMaxListFileName)
        request.fileName.resize(kMaxListFileName);
    report.m_previewFlag = output == kOutputPreview;
    m_output = output;

    const int kind = request.kind;
    if (kind < 0 || kind >= kListKindCount)
        return 0;
    // The graphic cards go to the card printer, or as pictures into the
    // competition's Print folder; the model is not used.
    if (kind == kListGraphicCards) {
        report.m_currentDef = GraphicCards(*this).Print(output == kOutputFile, false) > 0 ? 1 : 0;
        return report.m_currentDef;
    }
    const KindRule& rule = kKindRules[kind];
    // One file per club is a file output's: a preview or printout of the
    // entry list or the report shows them whole (a model shows what the
    // file output would write).
    if ((output == kOutputPreview || output == kOutputPrint) &&
        (kind == kListParticipants || kind == kListSettlement))
        request.splitList = 0;
    if (rule.startsFresh) {
        request.variant = 0;
        report.m_defCount = 0;
    }
    std::optional<CompetitionReport> settlement;
    Produce(*this, kind, settlement);

    if (rule.printsItself) {
        report.m_currentDef = 1;
        return report.m_currentDef;
    }
    if (report.m_currentDef != 1)
        return report.m_currentDef;
    switch (output) {
    case kOutputFile: {
        const ListFileOptions& o = request.file;
        // Split, the entry list goes into the club files instead of the one
        // file; the settlement's report is written whole, then its sheets
        // club by club.
        clubFilesWritten.clear();
        if (request.splitList && kind == kListParticipants) {
            ClubFileWriter(*this).Write();
        } else {
            const bool written = WriteListFile(*this, o.textFile != 0, o.header != 0, o.footer != 0,
                                               request.fileName, kind == kListPressList) == 0;
            if (written && request.splitList && settlement)
                ClubSettlementFiles(*this, settlement->Books()).Write();
        }
        request.splitList = 0;
        break;
    }
    case kOutputPreview:
    case kOutputPrint:
        if (output == kOutputPrint && printTarget != nullptr)
            report.PrintTo(*printTarget);
        else
            report.Print();
        break;
    default:
        break;  // the model stays for the caller
    }
    return report.m_currentDef;
}

bool CDataList::NameListFile(const std::string& typedName)
{
    ListFileFormat format = request.file.html       ? ListFileFormat::Html
                            : request.file.textFile ? ListFileFormat::Text
                                                    : ListFileFormat::Rtf;
    std::string path;
    if (!ListFilePath(m_comp.competition, typedName, format, path)) {
        Report(ResString(IDS_WRITE_ERROR), Message::Error);
        return false;
    }
    request.fileName = path;
    return true;
}

void CDataList::MakeRanking(int event, int listKind, int list, int classNr)
{
    PrizeRanking(*this).Make(event, listKind, list, classNr);
}

void CDataList::MakeTeamRanking(int team) { TeamRanking(*this).Make(team); }

int CDataList::ExportShooters()
{
    EntryExports exports(*this);
    const int rc = exports.Shooters();
    m_lastExport = exports.Path();
    return rc;
}

int CDataList::ExportRelay(int relayNumber)
{
    EntryExports exports(*this);
    const int rc = exports.Relay(relayNumber);
    m_lastExport = exports.Path();
    return rc;
}

int CDataList::ExportSiusStartList(int relayNumber)
{
    EntryExports exports(*this);
    const int rc = exports.SiusStartList(relayNumber);
    // A start list without the outside system's folder was never tried.
    if (!exports.Path().empty())
        m_lastExport = exports.Path();
    return rc;
}

void CDataList::MakeWebPages(int number, int aweb, int prize) { WebListPages(*this).Make(number, aweb, prize); }

void CDataList::MakeFramePages(uint16_t pageCount) { WebSitePages(*this).MakeFramePages(pageCount); }

void CDataList::MakeWebIndex() { WebSitePages(*this).MakeIndex(); }

CDataList::UploadOutcome CDataList::UploadWeb() { return WebUpload(*this, m_uploaded).Run(); }

// ---- the context --------------------------------------------------------------

void CDataList::Report(const std::string& text, Message kind)
{
    if (m_reporter) {
        m_reporter(text, kind);
        return;
    }
    BV_LOG(m_log, kind == Message::Error ? 80 : 10, "%s", text.c_str());
}

CDataClub& CDataList::Clubs()
{
    if (!m_clubs)
        m_clubs = std::make_unique<CDataClub>();
    return *m_clubs;
}

void CDataList::PrepareRows()
{
    // The object opens the program's competition on first use, and follows
    // it when the program changes to another.
    if (m_followUser && !m_comp.User().IsOpen()) {
        OpenCompetition(0);
    } else if (m_followUser) {
        m_comp.User().Refresh();
        if (::ReadItem(m_comp.User(), UserItems::kCompetition) != m_comp.competition)
            OpenCompetition(0);
    }
    m_comp.RefreshEvents();
    Clubs().LoadClubs(m_comp.orgType);
}

void CDataList::ClearRows()
{
    shooterRows.clear();
    resultRows.clear();
    teamResults = false;
}

int CDataList::FindShooterRow(int relay, int target)
{
    if (relay <= 0 || target <= 0)
        return -1;
    CDataEvent* event = m_comp.GetEvent(request.event);
    if (!event) {
        BV_LOG(m_log, 90, "Event %d not available", request.event);
        return -1;
    }
    RegRecord entry;
    if (!event->Entries().Read(relay, target, entry) || entry.startNr == 0)
        return -1;
    const std::string category = FieldText(entry.category, sizeof entry.category);
    if (request.filtersActive) {
        const auto& classes = request.classFilter;
        if (std::find(classes.begin(), classes.end(), entry.classNr) == classes.end())
            return -1;
        for (char letter : request.letterFilter)
            if (category.find(letter) == std::string::npos)
                return -1;
    }
    BV_LOG(m_log, 10, "Shooter %d %d", relay, target);

    ShooterRow row;
    row.relay = static_cast<int16_t>(relay);
    row.target = static_cast<int16_t>(target);
    row.startNr = entry.startNr;
    row.classNr = entry.classNr;
    row.category = category;
    row.paid = entry.paid;
    ShooterRecord shooter;
    if (m_comp.Shooters().Read(entry.startNr, shooter)) {
        row.name = RowText(FieldText(shooter.name, sizeof shooter.name));
        row.club = shooter.club;
        std::string bib = FieldText(shooter.bib, sizeof shooter.bib);
        row.bib = bib.size() <= CDataShooter::kMaxBib ? RowText(bib) : std::string();
    }
    ClubRecord club;
    if (row.club != 0 && Clubs().Get(&club, row.club, CDataClub::kClubByKey) == 0)
        row.clubName = RowText(FieldText(club.name, sizeof club.name));
    if (row.classNr != 0)
        row.className = RowText(::ReadItem(m_comp.Comp(), CompItems::ClassName(row.classNr)));
    shooterRows.push_back(std::move(row));
    return static_cast<int>(shooterRows.size()) - 1;
}

bool CDataList::HasHitSeries()
{
    CDataEvent* event = m_comp.GetEvent(request.event);
    if (!event)
        return false;
    int series = ::ReadItem(m_comp.Comp(), CompItems::EventSeries(request.event));
    for (int s = 1; s <= series; ++s)
        if (::ReadItem(event->Settings(), EventItems::SeriesType(s)) == kHitSeriesType)
            return true;
    return false;
}

CDataRes* CDataList::GetResultCard(int event)
{
    if (event < 1)
        return nullptr;
    if (static_cast<int>(m_cards.size()) < event)
        m_cards.resize(static_cast<size_t>(event));
    auto& card = m_cards[static_cast<size_t>(event) - 1];
    if (!card)
        card = std::make_unique<CDataRes>(&m_cardEvents);
    // Bound anew every time: the competition may have made the event's
    // object again since the card was last used.
    card->SetFile(nullptr, event);
    return card.get();
}

CDataRes* CDataList::CardOn(int event, int relay, int target)
{
    CDataRes* card = GetResultCard(event);
    if (!card)
        return nullptr;
    if (card->GetSeriesCount() == 0 || card->Event() != event)
        card->LoadEvent(event);
    if (card->CurrentRelay() != relay || card->CurrentTarget() != target)
        card->LoadCard(relay, target);
    return card;
}

void CDataList::ClearCards()
{
    for (auto& card : m_cards)
        if (card)
            card->Clear();
}

void CDataList::ReadMargins() { CPageFrame::ReadMargins(report); }

void CDataList::SetupHeader(int d, int captions) { CPageFrame::SetupHeader(Def(d), captions); }

void CDataList::SetupFooter(int d) { CPageFrame::SetupFooter(Def(d)); }

void CDataList::SetupBody(int columns, int d) { CPageFrame::SetupBody(Def(d), columns, request.fontSize); }

void CDataList::BuildPageHeader(const std::string& title1, const std::string& title2, int d, int captions)
{
    CPageFrame(m_comp).BuildPageHeader(report, title1, title2, d, captions);
}

}  // namespace results
