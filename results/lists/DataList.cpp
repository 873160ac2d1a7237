#include "results/lists/DataList.h"

#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "platform/net/FtpSession.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListPaths.h"
#include "results/print/PageFrame.h"
#include "results/registers/DataClub.h"

#include <algorithm>

namespace results {

const char kXRun[101] =
    "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";

namespace {

std::string RowText(std::string text)
{
    if (text.size() > kRowTextSize)
        text.resize(kRowTextSize);
    return text;
}

constexpr int kHitSeries = 7;
// The club register's request for a club by its number.

}  // namespace

CDataList::CDataList() = default;

CDataList::~CDataList()
{
    // The cards first: they point into the competition's event objects.
    m_cards.clear();
    shooterRows.clear();
    resultRows.clear();
}

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

CDataClub& CDataList::Clubs()
{
    if (m_clubs)
        return *m_clubs;
    if (!m_ownClubs)
        m_ownClubs = std::make_unique<CDataClub>();
    return *m_ownClubs;
}

void CDataList::Report(const std::string& text, Message kind)
{
    if (m_reporter) {
        m_reporter(text, kind);
        return;
    }
    BV_LOG(m_log, kind == Message::Error ? 80 : 10, "%s", text.c_str());
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

bool CDataList::HasHitSeries()
{
    CDataEvent* event = m_comp.GetEvent(request.event);
    if (!event)
        return false;
    int series = ::ReadItem(m_comp.Comp(), CompItems::EventSeries(request.event));
    for (int s = 1; s <= series; ++s)
        if (::ReadItem(event->Settings(), EventItems::SeriesType(s)) == kHitSeries)
            return true;
    return false;
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

void CDataList::ReadMargins() { CPageFrame::ReadMargins(*this); }

void CDataList::SetupHeader(int d, int captions) { CPageFrame::SetupHeader(Def(d), captions); }

void CDataList::SetupFooter(int d) { CPageFrame::SetupFooter(Def(d)); }

void CDataList::SetupBody(int columns, int d) { CPageFrame::SetupBody(Def(d), columns, request.fontSize); }

void CDataList::BuildPageHeader(const std::string& title1, const std::string& title2, int d, int captions)
{
    CPageFrame(m_comp).BuildPageHeader(*this, title1, title2, d, captions);
}

}  // namespace results
