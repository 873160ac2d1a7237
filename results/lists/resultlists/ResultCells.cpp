// The cell texts of the result lists: one text per column code for a ranked
// row, and the smaller texts the fixed layouts put together (a series'
// shots, parts of a sub-event, the final series, the remark codes).
#include "results/lists/resultlists/ResultCells.h"

#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/resultlists/ResultListCodes.h"
#include "results/lists/settlement/SettlementBooks.h"

namespace results {
namespace {

// What a series sum shows when the series has nothing.
constexpr const char* kEmptySum = "  0";

void JoinTo(std::string& text, const std::string& part, const char* separator = " ")
{
    if (part.empty())
        return;
    if (!text.empty())
        text += separator;
    text += part;
}

}  // namespace

const ShooterRow* ResultCells::ShooterOf(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= m_list.resultRows.size())
        return nullptr;
    const int16_t k = m_list.resultRows[static_cast<size_t>(row)].shooterRow;
    return k >= 0 && static_cast<size_t>(k) < m_list.shooterRows.size() ? &m_list.shooterRows[static_cast<size_t>(k)]
                                                                         : nullptr;
}

std::string ResultCells::SeriesShotsText(int series, int relay, int target, bool blank, bool allShots)
{
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    CDataRes* card = m_list.CardOn(event, relay, target);
    if (!e || !card)
        return {};
    const int resultType = ::ReadItem(e->Settings(), EventItems::ResultType(event));
    const int orgType = ::ReadItem(m_comp.Comp(), CompItems::kOrgType);
    std::string text;

    if (series & kSourceSubEvent) {
        const std::string codes = ::ReadItem(e->Settings(), EventItems::SubSeries(series & 0x7F));
        bool first = true;
        for (size_t i = 0; i < codes.size(); ++i) {
            const auto code = static_cast<uint8_t>(codes[i]);
            if (code == kStartScoreCode)
                continue;
            if (IsLinkCode(code)) {
                ++i;
                continue;
            }
            const int s = code;
            if (orgType == 2 || orgType == 6 || (orgType == 3 && resultType == 6) || (orgType == 1 && resultType == 4)) {
                const std::string sum = card->SeriesSumText(s, resultType);
                if (!first)
                    text += "  ";
                text += sum;
                if (sum.size() == 1)
                    text += "  ";
            } else if (orgType == 1 && resultType != 5) {
                for (int k = 1; k <= card->GetSeriesShots(s); ++k)
                    text += card->ShotText(s, k, 4);
                if (codes.size() > 1)
                    text += " = " + card->SeriesSumText(s, resultType) + "   ";
            }
            first = false;
        }
        return text;
    }

    bool all;
    switch (orgType) {
    case 2:
        all = allShots && resultType != 7;
        break;
    case 6:
        all = allShots;
        break;
    case 1:
        all = resultType != 4;
        break;
    case 3:
        all = resultType != 6;
        break;
    default:
        all = true;
    }
    if (all) {
        for (int k = 1; k <= card->GetSeriesShots(series); ++k) {
            if (k > 1 && blank)
                text += " ";
            text += card->FormatShot(series, k);
        }
    } else {
        text = card->FormatShot(series, 1);
        if (::ReadItem(e->Settings(), EventItems::SeriesType(series)) == kHitSeriesType)
            text += "/" + card->FormatShot(series, 3);
    }
    return text;
}

void ResultCells::SubEventPartText(int row, int resultType, int subEvent, std::string& out, bool seriesSums,
                                   int event, int entries)
{
    out.clear();
    CDataEvent* e = m_comp.GetEvent(event);
    const ShooterRow* found = ShooterOf(row);
    if (!e || !found)
        return;
    const ShooterRow& shooter = *found;
    std::string codes = ::ReadItem(e->Settings(), EventItems::SubSeries(subEvent));
    const bool whole = static_cast<int>(codes.size()) == entries;
    if (entries >= 0 && codes.size() > static_cast<size_t>(entries))
        codes.resize(static_cast<size_t>(entries));

    // The shooter's card in event e: the row's own in the list's event.
    auto ownCard = [&]() -> CDataRes* {
        if (event == m_request.event)
            return m_list.CardOn(event, shooter.relay, shooter.target);
        int relay = 0, target = 0;
        if (e->Entries().FindShooter(shooter.startNr, relay, target) != 0)
            return nullptr;
        return m_list.CardOn(event, relay, target);
    };

    for (size_t i = 0; i < codes.size(); ++i) {
        const auto code = static_cast<uint8_t>(codes[i]);
        const bool last = i + 1 >= codes.size();
        if (code == kStartScoreCode)
            continue;
        if (IsLinkCode(code)) {
            if (last)
                break;
            const int linked = static_cast<uint8_t>(codes[++i]);
            CDataEvent* le = m_comp.GetEvent(linked);
            int relay = 0, target = 0;
            if (!le || le->Entries().FindShooter(shooter.startNr, relay, target) != 0)
                continue;  // nothing for a shooter who did not shoot there
            CDataRes* card = m_list.CardOn(linked, relay, target);
            if (!card)
                continue;
            if (seriesSums) {
                const std::string linkedCodes = ::ReadItem(le->Settings(), EventItems::SubSeries(code & 0x7F));
                std::string sums;
                for (char c : linkedCodes) {
                    const auto s = static_cast<uint8_t>(c);
                    if (s == kStartScoreCode || (s & 0x80))
                        continue;
                    const std::string sum = card->SeriesSumText(s, resultType);
                    if (sum != kEmptySum)
                        JoinTo(sums, sum);
                }
                JoinTo(out, sums);
                break;
            }
            JoinTo(out, card->SubTotalText(shooter.startNr, code & 0x7F, resultType));
            continue;
        }
        CDataRes* card = ownCard();
        if (!card)
            break;
        if (seriesSums) {
            const std::string sum = card->SeriesSumText(code, resultType);
            if (sum != kEmptySum)
                JoinTo(out, sum);
            continue;
        }
        // Without series sums one total ends the walk: the sub-event's own
        // text when every code counts, else the sum of the codes taken.
        if (whole) {
            out += card->SubTotalText(shooter.startNr, subEvent, resultType);
        } else {
            int sum = 0;
            for (char c : codes) {
                const auto s = static_cast<uint8_t>(c);
                if (s != kStartScoreCode && !(s & 0x80))
                    sum += card->SeriesSum(s);
            }
            out += Format("%d", sum / 10);
        }
        break;
    }
    if (out == "0")
        out.clear();
}

void ResultCells::FinalSeriesText(int row, int resultType, std::string& out, bool withShots)
{
    out.clear();
    const ShooterRow* found = ShooterOf(row);
    if (!found)
        return;
    const ShooterRow& shooter = *found;
    CDataRes* card = m_list.CardOn(m_request.event, shooter.relay, shooter.target);
    if (!card)
        return;
    if (withShots)
        out = "Final: " + SeriesShotsText(1, shooter.relay, shooter.target, false, true);
    else
        out = card->SeriesSumText(1, resultType);
}

namespace {

// The codes of the remarks set in an entry's remark bits, after those
// already in text.
void AppendRemarks(CBVConfig& comp, int32_t bits, std::string& text)
{
    if (bits == 0)
        return;
    const int count = std::min(::ReadItem(comp, CompItems::kRemarkCount), 32);
    for (int i = 1; i <= count; ++i) {
        if (!(static_cast<uint32_t>(bits) & (1u << (i - 1))))
            continue;
        JoinTo(text, ::ReadItem(comp, CompItems::RemarkCode(i)), ",");
    }
}

}  // namespace

void ResultCells::RemarkCodesText(int row, std::string& out, int otherEvent)
{
    out.clear();
    const ShooterRow* found = ShooterOf(row);
    if (!found)
        return;
    const ShooterRow& shooter = *found;
    auto take = [&](const RegRecord& entry) {
        AppendRemarks(m_comp.Comp(), entry.state, out);
        const std::string comment = FieldText(entry.comments, sizeof entry.comments);
        if (!comment.empty())
            m_comments.push_back(comment);
    };
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    RegRecord entry{};
    if (e && e->Entries().Read(shooter.relay, shooter.target, entry))
        take(entry);
    // On a complete final list the remarks of the qualification count too.
    if (e && otherEvent != event && ::ReadItem(e->Settings(), EventItems::kSeparateFinal) == 1 &&
        m_request.completeFinal) {
        CDataEvent* other = m_comp.GetEvent(otherEvent);
        int relay = 0, target = 0;
        if (other && other->Entries().FindShooter(shooter.startNr, relay, target) == 0 &&
            other->Entries().Read(relay, target, entry))
            take(entry);
    }
}

void ResultCells::Text(int row, int code, int resultType, int settlementRow, std::string& out, int listKind, int list,
                       bool withPrizes, bool sumsWithShots, bool web)
{
    out.clear();
    const ShooterRow* found = ShooterOf(row);
    if (!found)
        return;
    const ResultRow& r = m_list.resultRows[static_cast<size_t>(row)];
    const ShooterRow& shooter = *found;
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    if (!e)
        return;
    CBVConfig& comp = m_comp.Comp();
    CBVConfig& settings = e->Settings();
    const bool group = listKind == kListResultsCombined;
    auto source = [&] {
        return ::ReadItem(e->Prizes(), group ? PrizeItems::GroupSource(list) : PrizeItems::ClassSource(list));
    };
    const int orgType = ::ReadItem(comp, CompItems::kOrgType);
    const bool decimal = ::ReadItem(settings, EventItems::Final(event)) != 0;

    switch (code) {
    case kCodePlace:
        out = PlaceText(r);
        break;
    case kCodeStartNr:
        out = ::ReadItem(comp, CompItems::EventUseStartNr(event)) == 1 ? shooter.bib : Format("%d", shooter.startNr);
        break;
    case kCodeName:
        out = shooter.name;
        break;
    case kCodeClub:
        out = shooter.clubName;
        break;
    case kCodeClass:
        out = shooter.className;
        break;
    case kCodeCategory:
        out = shooter.category;
        break;
    case kCodeShots: {
        CDataRes* card = m_list.CardOn(event, shooter.relay, shooter.target);
        if (!card)
            break;
        const int s = source();
        auto withSum = [&](int series, std::string text) {
            if (sumsWithShots)
                text += "=" + card->SeriesSumText(series, resultType) + " ";
            return text;
        };
        if (!(s & kSourceSubEvent)) {
            out = withSum(s, SeriesShotsText(s, shooter.relay, shooter.target, false, true));
            break;
        }
        const bool blank = orgType == 6 && group && ::ReadItem(settings, EventItems::kSeparateFinal) != 0;
        const std::string codes = ::ReadItem(settings, EventItems::SubSeries(s & 0xFF));
        for (size_t i = 0; i < codes.size(); ++i) {
            const auto b = static_cast<uint8_t>(codes[i]);
            if (b == kStartScoreCode)
                continue;
            if (IsLinkCode(b)) {
                // A linked sub-event has no shots here: its total stands in
                // their place, as the series sums show it.
                if (i + 1 >= codes.size())
                    break;
                const int linked = static_cast<uint8_t>(codes[++i]);
                CDataEvent* le = m_comp.GetEvent(linked);
                int relay = 0, target = 0;
                if (le && le->Entries().FindShooter(shooter.startNr, relay, target) == 0)
                    if (CDataRes* lc = m_list.CardOn(linked, relay, target))
                        JoinTo(out, lc->SubTotalText(shooter.startNr, b & 0x7F, resultType));
                continue;
            }
            JoinTo(out, withSum(b, SeriesShotsText(b, shooter.relay, shooter.target, blank, true)));
        }
        break;
    }
    case kCodeSeriesSums: {
        CDataRes* card = m_list.CardOn(event, shooter.relay, shooter.target);
        if (!card)
            break;
        const int s = source();
        if (!(s & kSourceSubEvent)) {
            out = card->SeriesSumText(s, resultType);
            break;
        }
        const std::string codes = ::ReadItem(settings, EventItems::SubSeries(s & 0xFF));
        const bool skipLinks = group && orgType == 6;
        for (size_t i = 0; i < codes.size(); ++i) {
            const auto b = static_cast<uint8_t>(codes[i]);
            if (b == kStartScoreCode)
                continue;
            if (IsLinkCode(b)) {
                if (i + 1 >= codes.size())
                    break;
                const int linked = static_cast<uint8_t>(codes[++i]);
                CDataEvent* le = m_comp.GetEvent(linked);
                int relay = 0, target = 0;
                if (skipLinks || !le || le->Entries().FindShooter(shooter.startNr, relay, target) != 0)
                    continue;
                if (CDataRes* lc = m_list.CardOn(linked, relay, target))
                    JoinTo(out, lc->SubTotalText(shooter.startNr, b & 0x7F, resultType));
                continue;
            }
            card = m_list.CardOn(event, shooter.relay, shooter.target);
            const std::string sum = card->SeriesSumText(b, resultType);
            if (sum != kEmptySum)
                JoinTo(out, sum);
        }
        break;
    }
    case kCodeStartScore: {
        const int from = ::ReadItem(m_comp.Exch(), ExchItems::StartScore(event));
        int value = 0;
        if (from == 99) {
            value = e->Entries().GetStartScore(shooter.startNr);
        } else if (from != 0) {
            CDataRes* card = m_list.CardOn(event, shooter.relay, shooter.target);
            value = card ? card->SubTotal(shooter.startNr, event, from) : 0;
        }
        if (value >= 1)
            out = decimal ? Format("%d.%d", value / 10, value % 10) : Format("%d", value / 10);
        break;
    }
    case kCodeTotal: {
        const int s0 = SeriesFigure(r, 0), s1 = SeriesFigure(r, 1);
        const int lastSeries = ::ReadItem(comp, CompItems::EventSeries(event));
        const bool lastIsPoints =
            lastSeries > 0 && ::ReadItem(settings, EventItems::SeriesType(lastSeries)) == kPointsSeriesType;
        auto points = [&](int series) {
            CDataRes* card = m_list.CardOn(event, shooter.relay, shooter.target);
            return card ? card->SeriesSum(series) / 1000 : 0;
        };
        switch (resultType) {
        case 4:
            out = m_list.HasHitSeries() ? Format("%d/%d", s1, s0) : Format("%d", s1);
            break;
        case 5:
            out = Format("%d.%02d", s1, s0);
            break;
        case 6:
            out = lastIsPoints ? Format("%d(%d)", 3 * s1 + 2 * s0, points(lastSeries)) : Format("%d", 3 * s1 + 2 * s0);
            break;
        case 7:
            if (lastIsPoints) {
                // The points series that follow the hit pairs, last first.
                std::string firsts;
                for (int s = lastSeries; s >= 1 && ::ReadItem(settings, EventItems::SeriesType(s)) == kPointsSeriesType;
                     --s)
                    JoinTo(firsts, Format("%d", points(s)), ",");
                out = Format("%d(%s)", s1 + s0, firsts.c_str());
            } else {
                out = Format("%d", s1 + s0);
            }
            break;
        default: {
            const int total = RankingFigure(r, 1);
            if (!decimal)
                out = Format("%d", total / 10);
            else if (orgType == 2 || orgType == 6)
                out = Format("%d.%d", total / 10, total % 10);
            else
                out = Format("%d,%d", total / 10, total % 10);
        }
        }
        if (out == "0")
            out.clear();
        break;
    }
    case kCodePrize: {
        if (!r.prizeFlag)
            break;
        PrizeRow* books = withPrizes && !web && m_books ? m_books->PrizesOf(settlementRow, shooter.startNr) : nullptr;
        auto money = [&] {
            if (r.flag) {
                out = ResString(IDS_GIFT_PRIZE);
                if (books)
                    ++books->gifts;
            } else {
                out = Format("%s %3d", ResString(IDS_MONEY_PREFIX).c_str(), r.prizeAmount / 100);
                if (books)
                    books->moneyPaid += r.prizeAmount;
            }
        };
        if (!group) {
            const int kind = ::ReadItem(e->Prizes(), PrizeItems::ClassKind(list));
            if (kind == 1) {
                out = ResString(IDS_OBJECT_PRIZE);
                if (books)
                    ++books->objects;
            } else if (kind == 2) {
                money();
            }
        } else if (::ReadItem(e->Prizes(), PrizeItems::GroupKind(list)) == 2) {
            money();
        } else if (row < ::ReadItem(e->Prizes(), PrizeItems::GroupTextCount(list))) {
            // Only the places that have a prize text: beyond them a stale
            // text of an earlier setting may stand.
            out = ReadItem(e->Prizes(), PrizeItems::GroupPlaceText(list, row + 1));
        }
        break;
    }
    case kCodeRemarks: {
        RemarkCodesText(row, out, event);
        if (withPrizes && r.prizeAmount > 0)
            out = Format("%s %d", out.c_str(), r.prizeAmount / 100);
        break;
    }
    default:
        break;
    }
}

}  // namespace results
