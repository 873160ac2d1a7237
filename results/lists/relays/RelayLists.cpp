// The relay lists: the roll call (who shoots on which target, with paid fee
// and start score), the relay list (the same with every series and up to
// five sub-event totals; also the web's relay pages, whose names link to the
// card pictures) and the shooting cards as framed text, one card per target.
// Each relay of the request is a definition of its own.
#include "results/lists/relays/RelayLists.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/relays/CardPictures.h"

#include <algorithm>

namespace results {

namespace {

// Text flags of the cards' columns, as the drawing takes them.
constexpr int kAlignBottom = 8;
constexpr int kSingleLine = 0x20;

constexpr int kSubEventSlots = 5;
constexpr int kTextKind = 4;  // the value texts of printed lists

// Result types whose relay lists show one text per series instead of shots.
bool HasShotColumns(int rule)
{
    switch (rule) {
    case 1:
    case 2:
    case kRuleDfsField:
    case kRuleTime:
    case kRuleHuntingField:
    case kRulePistolField:
        return false;
    default:
        return true;
    }
}

// The shots of series k on the loaded card, blank-separated when a shot
// takes more than one character.
std::string ShotsText(CDataRes& card, int k, int event)
{
    const bool blanks = card.SeriesFormat(k, event, kTextKind) > 1;
    std::string text;
    for (int j = 1; j <= card.GetSeriesShots(k); ++j) {
        if (j > 1 && blanks)
            text += ' ';
        text += card.ShotText(k, j, kTextKind);
    }
    return text;
}

void SetLines(ListDef& def, std::initializer_list<std::pair<int, int>> ranges, int underlined)
{
    def.bodyLines.assign(ranges.size(), ReportLine());
    int l = 1;
    for (auto [first, last] : ranges) {
        ReportLine& line = Nth(def.bodyLines, l);
        line.firstColumn = first;
        line.columnCount = last - first + 1;
        line.underline = l == underlined;
        for (int c = first; c <= last; ++c)
            Nth(def.bodyColumns, c).line = l;
        ++l;
    }
}

}  // namespace

// ---- set-ups -------------------------------------------------------------

void RelayLists::SetupRollCall(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(7, d);
    static constexpr ColumnShape kShapes[] = {{2, kAlignRight, 6}, {23, kAlignLeft, 36}, {20, kAlignLeft, 26},
                                              {6, kAlignLeft, 8},  {6, kAlignLeft, 8},   {5, kAlignRight, 8},
                                              {3, kAlignRight, 8}};
    ListDef& def = m_report.Def(d);
    OneLineOfColumns(def, kShapes, std::size(kShapes));
    def.bodyColumns[1].bold = true;
    def.bodyLines[0].underline = true;
}

void RelayLists::SetupRelayList(int d)
{
    const int w = std::max<int>(1, static_cast<int>(m_seriesFit.size()));
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(w + 16, d);
    ListDef& def = m_report.Def(d);
    auto column = [&](int c) -> ReportColumn& { return Nth(def.bodyColumns, c); };
    const int points = m_request.fontSize;

    static constexpr ColumnShape kFirst[] = {
        {2, kAlignRight, 5}, {23, kAlignLeft, 40}, {20, kAlignLeft, 35}, {6, kAlignLeft, 10}, {6, kAlignLeft, 10}};
    for (int c = 1; c <= 5; ++c) {
        column(c).fitChars = kFirst[c - 1].fitChars;
        column(c).align = kFirst[c - 1].align;
        column(c).widthPercent = kFirst[c - 1].widthPercent;
    }
    column(2).bold = true;
    column(6).fitChars = 1;
    column(6).widthPercent = 5;

    // The series cells share 96 % by their fits.
    int fits = 0;
    for (int j = 1; j < w; ++j)
        fits += m_seriesFit[static_cast<size_t>(j)] != 0 ? m_seriesFit[static_cast<size_t>(j)] : 4;
    for (int j = 1; j < w; ++j) {
        ReportColumn& series = column(6 + j);
        const int entry = m_seriesFit[static_cast<size_t>(j)];
        series.fitChars = entry != 0 ? entry : 4;
        series.align = kAlignRight | kAlignBottom;
        series.widthPercent = fits > 0 ? series.fitChars * 96 / fits : 0;
        series.face = "Courier New";
        if (entry != 0)
            series.pointSize = points - 2;
        else
            series.bold = true;
    }

    column(w + 6).fitChars = 1;
    column(w + 6).widthPercent = 5;
    column(w + 6).pointSize = 8;
    for (int p = 0; p < kSubEventSlots; ++p) {
        ReportColumn& name = column(w + 7 + 2 * p);
        name.fitChars = 10;
        name.align = kAlignRight;
        name.widthPercent = 11;
        name.pointSize = points - 2;
        ReportColumn& total = column(w + 8 + 2 * p);
        total.fitChars = 4;
        total.align = kAlignRight;
        total.widthPercent = 8;
        total.face = "Courier New";
        total.bold = true;
    }
    SetLines(def, {{1, 5}, {6, w + 5}, {w + 6, w + 16}}, 3);
}

void RelayLists::AddCardColumns(int count, int d)
{
    ListDef& def = m_report.Def(d);
    count = std::max(1, count);
    ReportColumn column;
    column.fitChars = 20;
    column.pointSize = m_request.fontSize;
    column.face = "Arial";
    column.align = kSingleLine | kAlignBottom;
    column.line = 1;
    column.frame = kFrameLeft | kFrameTop;
    column.widthPercent = 100 / count;
    def.bodyColumns.assign(static_cast<size_t>(count), column);
}

void RelayLists::SetupCardList(int d, int sponsors)
{
    CDataRes* card = m_list.GetResultCard(m_request.event);
    const int cardLines = card ? std::max(card->GetSeriesCount(), card->GetSubEventCount()) : 0;
    sponsors = std::clamp(sponsors, 0, 2);
    m_list.ReadMargins();
    AddCardColumns(sponsors + 5 * cardLines + 8, d);
    ListDef& def = m_report.Def(d);
    const int points = m_request.fontSize;
    auto column = [&](int c) -> ReportColumn& { return Nth(def.bodyColumns, c); };
    auto shape = [&](int c, int fit, int width) {
        column(c).fitChars = fit;
        column(c).widthPercent = width;
    };

    shape(1, 7, 20);
    shape(2, 8, 20);
    for (int c : {1, 2}) {
        column(c).pointSize = points + 6;
        column(c).bold = true;
    }
    column(3).pointSize = points - 4;
    column(3).align = kAlignLeft;
    column(3).frame = kFrameLeft | kFrameTop | kFrameRight;
    column(3).widthPercent = 60;
    shape(4, 25, 40);
    shape(5, 20, 30);
    shape(6, 10, 20);
    shape(7, 6, 10);
    column(7).frame = kFrameLeft | kFrameTop | kFrameRight;

    std::vector<std::pair<int, int>> lines = {{1, 3}, {4, 7}};
    for (int k = 1; k <= cardLines; ++k) {
        const int c = 5 * k + 3;
        shape(c, 10, 20);
        ReportColumn& shots = column(c + 1);
        shots.face = "Courier New";
        shots.frame = kFrameTop;
        shots.align |= kAlignRight;
        shots.widthPercent = 30;
        const int type = card ? card->GetSeriesType(k) : 0;
        if (type == 0 || type == 1) {
            shots.fitChars = 30;
            shots.pointSize = points - 6;
        } else if (type >= 4 && type <= 6) {
            shots.fitChars = 25;
            shots.pointSize = points - 4;
        } else {
            shots.fitChars = 20;
        }
        shape(c + 2, 5, 10);
        column(c + 2).frame = kFrameTop;
        column(c + 2).align |= kAlignRight;
        shape(c + 3, 20, 30);
        shape(c + 4, 6, 10);
        column(c + 4).frame = kFrameTop | kFrameRight;
        column(c + 4).align |= kAlignRight;
        lines.emplace_back(c, c + 4);
    }
    int c = 5 * cardLines + 8;
    for (int f = 1; f <= sponsors; ++f, ++c) {
        shape(c, 30, 100);
        column(c).pointSize = points - 2;
        column(c).align = kAlignCentre;
        column(c).frame = f == 1 ? kFrameLeft | kFrameTop | kFrameRight : kFrameLeft | kFrameRight;
        lines.emplace_back(c, c);
    }
    shape(c, 1, 100);
    column(c).pointSize = points - 4;
    column(c).align = kAlignCentre;
    column(c).frame = kFrameTop;
    lines.emplace_back(c, c);

    def.bodyLines.assign(lines.size(), ReportLine());
    for (size_t l = 0; l < lines.size(); ++l) {
        def.bodyLines[l].firstColumn = lines[l].first;
        def.bodyLines[l].columnCount = lines[l].second - lines[l].first + 1;
        for (int k = lines[l].first; k <= lines[l].second; ++k)
            column(k).line = static_cast<int>(l) + 1;
    }
}

// ---- the relay walk --------------------------------------------------------

bool RelayLists::ListEmptyRelay(bool mayAsk, int& answer)
{
    if (!mayAsk)
        return true;
    // The answer holds for the rest of the list: 1 Yes, 2 No.
    if (answer == 0)
        answer = CPrintJob::AskYesNo(ResString(IDS_EMPTY_RELAYS)) ? 1 : 2;
    return answer == 1;
}

void RelayLists::MarkLockedListed(int relayIndex)
{
    CDataEvent* event = m_comp.GetEvent(m_request.event);
    if (!event)
        return;
    CBVConfig& settings = event->Settings();
    if (!(::ReadItem(settings, EventItems::RelayFlags(relayIndex)) & RelayFlag::kResultsLocked))
        return;
    // Under the file's lock on the flags as they are now: another computer
    // may have changed them since this one read the file.
    if (settings.Lock() != 0) {
        BV_LOG(m_list.Log(), 80, "Relay %d of event %d: listed mark not written (no lock)", relayIndex, m_request.event);
        return;
    }
    const int flags = ::ReadItem(settings, EventItems::RelayFlags(relayIndex));
    const bool mark = (flags & RelayFlag::kResultsLocked) && !(flags & RelayFlag::kLockedListed);
    if (mark)
        ::WriteItem(settings, EventItems::RelayFlags(relayIndex), flags | RelayFlag::kLockedListed);
    settings.Unlock();
    if (mark && m_list.frameRefresh)
        m_list.frameRefresh(CDataList::kRefreshRelay);
}

// ---- the kinds ---------------------------------------------------------------

int RelayLists::MakeKind(int kind, int output)
{
    if (kind == kListRelayList || kind == kListShootingCards)
        return MakeRelayList(kind, output, false);
    // A roll call of a field event with result fields is its relay list with
    // the fields to fill in.
    CDataEvent* event = m_comp.GetEvent(m_request.event);
    const int rule = event ? ::ReadItem(event->Settings(), EventItems::ResultType(m_request.event)) : 0;
    if (rule == kRuleDfsField && m_request.resultFields)
        return MakeRelayList(kListRelayList, output, true);
    return MakeRollCall(false);
}

// ---- roll call -------------------------------------------------------------

int RelayLists::MakeRollCall(bool silent)
{
    m_report.aListDef.clear();
    m_request.filtersActive = 0;
    const int eventNr = m_request.event;
    CDataEvent* event = m_comp.GetEvent(eventNr);
    if (!event)
        return 0;
    CBVConfig& comp = m_comp.Comp();
    CBVConfig& settings = event->Settings();
    const int rule = ::ReadItem(settings, EventItems::ResultType(eventNr));
    const std::string eventName = ::ReadItem(comp, CompItems::EventName(eventNr));
    int source = 0;
    if (::ReadItem(m_comp.Exch(), ExchItems::EventType(eventNr)) != 0)
        source = ::ReadItem(m_comp.Exch(), ExchItems::StartScore(eventNr));
    else if (::ReadItem(settings, EventItems::kSeparateFinal) != 0)
        source = 1;
    CDataRes* card = m_list.GetResultCard(eventNr);
    if (card)
        card->LoadEvent(eventNr);

    int answer = 0;
    int d = 0;
    for (int r = m_request.firstRelay; r <= m_request.lastRelay; ++r) {
        const int i = event->RelayIndex(r);
        if (i == 0)
            continue;
        m_list.ClearRows();
        std::vector<int> rows;
        int found = 0;
        for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
            rows.push_back(m_list.FindShooterRow(i, t));
            found += rows.back() >= 0 ? 1 : 0;
        }
        if (found == 0 && !ListEmptyRelay(!silent, answer))
            continue;
        ++d;
        SizeTo(m_report.aListDef, d);
        m_report.Def(d).footerRule = true;
        SetupRollCall(d);
        const int day = ::ReadItem(settings, EventItems::RelayDay(i));
        const std::string title =
            Format("%s %d %s", ResString(IDS_ROLL_CALL).c_str(), r, eventName.c_str());
        const std::string subtitle =
            Format("%s %s %s", ResString(IDS_SHOOTING_TIME).c_str(),
                   event->DayLabel(::ReadItem(settings, EventItems::DayDate(day))).c_str(),
                   ::ReadItem(settings, EventItems::RelayTime(i)).c_str());
        m_list.BuildPageHeader(title, subtitle, d, 0);

        for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
            std::vector<ReportCell> cells = Cells(7, {Format("%d", t)});
            const int k = rows[static_cast<size_t>(t - m_request.firstTarget)];
            if (k >= 0) {
                const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
                cells[1].text = shooter.name;
                cells[2].text = shooter.clubName;
                cells[3].text = shooter.className;
                cells[4].text = shooter.category;
                if (shooter.paid != 0)
                    cells[5].text = Format("%d.%02d", shooter.paid / 100, shooter.paid % 100);
                if (source == 99)
                    cells[6].text = Format("%d", event->Entries().GetStartScore(shooter.startNr) / 10);
                else if (source > 0 && card)
                    cells[6].text = card->SubTotalText(shooter.startNr, source, rule);
            }
            m_report.AddRow(cells, d);
        }
    }
    if (d > 0)
        m_report.ListComplete(d);
    return d;
}

// ---- relay list and text cards ------------------------------------------------

int RelayLists::MakeRelayList(int kind, int output, bool withResultFields)
{
    m_report.aListDef.clear();
    m_request.filtersActive = 0;
    const int eventNr = m_request.event;
    CDataEvent* event = m_comp.GetEvent(eventNr);
    CDataRes* card = m_list.GetResultCard(eventNr);
    if (!event || !card)
        return 0;
    const bool web = output == kOutputWebPage;
    const bool cards = kind == kListShootingCards;
    CBVConfig& comp = m_comp.Comp();
    CBVConfig& settings = event->Settings();
    const std::string eventName = ::ReadItem(comp, CompItems::EventName(eventNr));
    card->LoadEvent(eventNr);
    const int n = card->GetSeriesCount();
    const int s = card->GetSubEventCount();
    const int rule = ::ReadItem(settings, EventItems::ResultType(eventNr));
    const bool shotColumns = HasShotColumns(rule);
    const bool seriesCells = rule != kRuleTime;
    if (web)
        m_comp.Web().Refresh();  // the web's settings change in the screens while the worker runs
    const bool linkCards = web && ::ReadItem(m_comp.Web(), WebItems::kCardsOn) != 0;

    // The cards' head and foot texts.
    const std::string competition = ::ReadItem(comp, CompItems::kName) + " " + ::ReadItem(comp, CompItems::kTitle2) +
                                    "\r\n" + ResString(IDS_ORGANISER) + ":" +
                                    ::ReadItem(m_comp.User(), UserItems::kOrganiser);
    std::vector<std::string> sponsors;
    for (const ConfigTextPair& item : {CompItems::kSponsor1, CompItems::kSponsor2}) {
        std::string text = ReadItem(comp, item);
        if (!text.empty())
            sponsors.push_back(std::move(text));
    }
    const int f = static_cast<int>(sponsors.size());
    const int cardLines = std::max(n, s);

    auto seriesText = [&](int k) {
        std::string v = card->SeriesSumText(k, rule);
        const int type = ::ReadItem(settings, EventItems::SeriesType(k));
        switch (rule) {
        case kRuleDfsField:
            return Format("%s %d: %s", ResString(IDS_SERIES_HOLD).c_str(), k, withResultFields ? " /" : v.c_str());
        case kRuleHuntingField:
        case kRulePistolField: {
            if (withResultFields)
                v.clear();
            if (type == kPointsSeriesType)
                return Format("%s: %s", ResString(IDS_SERIES_PHOLD).c_str(), v.c_str());
            const int word = rule == kRuleHuntingField ? IDS_SERIES_HOLD : IDS_SERIES_H;
            return Format("%s %d: %s", ResString(word).c_str(), k, v.c_str());
        }
        default:
            return v;
        }
    };

    int answer = 0;
    int d = 0;
    for (int r = m_request.firstRelay; r <= m_request.lastRelay; ++r) {
        const int i = event->RelayIndex(r);
        if (i == 0)
            continue;
        if (!web)
            MarkLockedListed(i);
        m_list.ClearRows();
        std::vector<int> rows;
        int found = 0;
        for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
            rows.push_back(m_list.FindShooterRow(i, t));
            found += rows.back() >= 0 ? 1 : 0;
        }
        if (found == 0 && (cards || !ListEmptyRelay(!web, answer)))
            continue;

        m_seriesFit.assign(1, 0);
        for (int k = 1; k <= n; ++k) {
            if (shotColumns) {
                const int width = card->SeriesFormat(k, eventNr, kTextKind);
                m_seriesFit.push_back(static_cast<uint16_t>(width * (card->GetSeriesShots(k) <= 5 ? 5 : 10)));
            }
            m_seriesFit.push_back(0);
        }
        const int w = static_cast<int>(m_seriesFit.size());
        const int firstSub = w + 5;  // S: the cell before the sub-event slots

        ++d;
        SizeTo(m_report.aListDef, d);
        m_report.Def(d).footerRule = !cards;
        if (cards) {
            SetupCardList(d, f);
        } else {
            SetupRelayList(d);
            m_list.BuildPageHeader(Format("%s %d %s", ResString(IDS_RELAY_RESULTS).c_str(), r, eventName.c_str()), "", d,
                            0);
        }

        for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
            const int k = rows[static_cast<size_t>(t - m_request.firstTarget)];
            const ShooterRow* shooter = k >= 0 ? &m_list.shooterRows[static_cast<size_t>(k)] : nullptr;
            const int32_t startNr = shooter ? shooter->startNr : 0;
            const bool stored = card->LoadCard(i, t) == 0;

            if (cards) {
                std::vector<ReportCell> cells = Cells(static_cast<size_t>(f + 5 * cardLines + 8));
                cells[0].text = Format("%s:%d", ResString(IDS_RELAY_WORD).c_str(), r);
                cells[1].text = Format("%s:%d", ResString(IDS_TARGET_WORD).c_str(), t);
                cells[2].text = competition;
                if (shooter) {
                    cells[3].text = shooter->name;
                    cells[4].text = shooter->clubName;
                    cells[5].text = shooter->className;
                    cells[6].text = shooter->category;
                }
                if (stored || shooter) {
                    for (int line = 1; line <= cardLines; ++line) {
                        const size_t c = static_cast<size_t>(7 + 5 * (line - 1));
                        if (line <= n) {
                            const int type = ::ReadItem(settings, EventItems::SeriesType(line));
                            cells[c].text = card->GetSeriesName(line);
                            if (type == kHitSeriesType)
                                cells[c + 1].text = rule == kRuleHuntingField || rule == kRulePistolField
                                                        ? card->SeriesSumText(line, rule)
                                                        : card->ShotText(line, 1, kTextKind) + "/" +
                                                              card->ShotText(line, 3, kTextKind);
                            else if (type == 8 || type == 9)
                                cells[c + 1].text = card->ShotText(line, 1, kTextKind);
                            else if (type == 10 || type == 11)
                                cells[c + 1].text = card->SeriesSumText(line, rule);
                            else
                                cells[c + 1].text = ShotsText(*card, line, eventNr);
                            if (type < kHitSeriesType)
                                cells[c + 2].text = card->SeriesSumText(line, rule);
                        }
                        if (line <= s) {
                            cells[c + 3].text = card->GetSubEventName(line);
                            cells[c + 4].text = card->SubTotalText(startNr, line, rule);
                        }
                    }
                }
                for (int g = 0; g < f; ++g)
                    cells[static_cast<size_t>(5 * cardLines + 7 + g)].text = sponsors[static_cast<size_t>(g)];
                if (shooter || card->CountAllShots() != 0)
                    m_report.AddRow(cells, d);
                continue;
            }

            std::vector<ReportCell> cells = Cells(static_cast<size_t>(firstSub + 11), {Format("%d", t)});
            if (shooter) {
                cells[1].text = shooter->name;
                cells[2].text = shooter->clubName;
                cells[3].text = shooter->className;
                cells[4].text = shooter->category;
                if (linkCards) {
                    // The picture the web's cards write for this target; a card of
                    // several sheets links to its first.
                    const int sheets = stored ? CardPictureSheets(*card, kWebSeriesPerSheet) : 0;
                    cells[1].link = "./" + CardPictureName(eventName, r, t, sheets > 1 ? 1 : 0);
                }
            }
            if (!stored && !shooter) {
                m_report.AddRow(cells, d);
                continue;
            }
            if (seriesCells) {
                for (int line = 1; line <= n; ++line) {
                    if (shotColumns) {
                        cells[static_cast<size_t>(2 * line + 4)].text = ShotsText(*card, line, eventNr);
                        cells[static_cast<size_t>(2 * line + 5)].text = card->SeriesSumText(line, rule);
                    } else {
                        cells[static_cast<size_t>(5 + line)].text = seriesText(line);
                    }
                }
            }
            const int m = std::min(s, kSubEventSlots);
            for (int sub = 1; sub <= m; ++sub) {
                const int p = kSubEventSlots - m + sub;
                cells[static_cast<size_t>(firstSub + 2 * p - 1)].text = card->GetSubEventName(sub);
                cells[static_cast<size_t>(firstSub + 2 * p)].text = card->SubTotalText(startNr, sub, rule);
            }
            m_report.AddRow(cells, d);
        }
    }
    if (d > 0) {
        KeepVariantRows(m_report.Def(d).bodyRows, m_request.variant);
        m_report.ListComplete(d);
    }
    return d;
}

}  // namespace results
