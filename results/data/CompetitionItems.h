#pragma once
// The items of a competition's settings files as BVRes and its worker and
// lists read them: Comp.bvc, Exch.bvc, WEB.bvc and Team.bvc of .\Comp<n>,
// and User.bvc of .\Common, shared by all competitions. Each item's address
// and default are given once here; n is an event number, i a list position,
// t a team competition, k a definition row, r a composition rule, j an
// entered team, p a prize. The items a result card reads (the organisation
// type, an event's series and sub-events) are in results/values/CardItems.h.
#include "foundation/files/ConfigItem.h"
#include "foundation/files/BVConfig.h"
#include "results/data/LongTextItems.h"
#include "results/values/CardItems.h"

#include <algorithm>

namespace results {

namespace CompItems {
inline constexpr ConfigIntItem kEventCount{2, 1, 1, 0};      // events are 1..n; a deleted event's slot stays counted
inline constexpr ConfigIntItem kClassCount{2, 1, 2, 0};
inline constexpr ConfigIntItem kCategoryCount{2, 1, 3, 0};
inline constexpr ConfigIntItem kFontSize{2, 1, 4, 12};       // points, 8..16, of printed lists
inline constexpr ConfigIntItem kRemarkCount{2, 1, 5, 0};
// 0 nations, 1 clubs; the result lists take 1 when missing, the page header
// and the press list 0, hence the two defaults.
inline constexpr ConfigIntItem kRepresent{2, 1, 6, 1};
inline constexpr ConfigIntItem kRepresentHeader{2, 1, 6, 0};
inline constexpr ConfigTextItem kName{2, 1, 500, ""};
inline constexpr ConfigTextItem kTitle2{2, 1, 510, ""};      // the competition's date as free text
inline constexpr ConfigTextPair kSponsor1{2, 1, 620, 621};
inline constexpr ConfigTextPair kSponsor2{2, 1, 622, 623};
inline constexpr ConfigTextItem kNumberText{2, 1, 624, ""};
inline constexpr ConfigTextPair kJudges{2, 1, 625, 626};
inline constexpr ConfigTextItem kProgramText{2, 1, 627, ""};
inline constexpr ConfigIntItem kWebOn{17, 1, 680, 0};

constexpr ConfigIntItem EventDays(int n) { return {3, n, 11, 0}; }
constexpr ConfigIntItem EventRelays(int n) { return {3, n, 12, 0}; }       // relay indexes 1..k
constexpr ConfigIntItem EventFirstTarget(int n) { return {3, n, 14, 1}; }
constexpr ConfigIntItem EventLastTarget(int n) { return {3, n, 15, 10}; }
constexpr ConfigIntItem EventUseStartNr(int n) { return {3, n, 17, 0}; }
constexpr ConfigTextItem EventName(int n) { return {3, n, 500, ""}; }
constexpr ConfigIntItem EventExcluded(int n) { return {3, n, 640, 0}; }   // left out of web, statistics, schedule, settlement
constexpr ConfigIntItem EventInUse(int n) { return {3, n, 680, 0}; }      // nonzero: the event exists

// Class numbers and category numbers are positions in these lists, stored
// in records as one byte.
constexpr ConfigTextItem ClassName(int i) { return {6, i, 501, ""}; }
constexpr ConfigTextItem ClassText(int i) { return {6, i, 500, ""}; }
constexpr ConfigTextItem CategoryLetter(int i) { return {7, i, 501, ""}; }
constexpr ConfigTextItem CategoryText(int i) { return {7, i, 500, ""}; }
constexpr ConfigTextItem RemarkCode(int i) { return {39, i, 501, ""}; }
constexpr ConfigTextItem RemarkText(int i) { return {39, i, 500, ""}; }
}  // namespace CompItems

// The number of events for a walk over them: a count read from a damaged
// file may name two thousand million, and no index beyond the settings'
// last one is an event.
inline int EventCount(CBVConfig& comp)
{
    return std::clamp(::ReadItem(comp, CompItems::kEventCount), 0, CBVConfig::kLastIndex);
}

namespace ExchItems {
inline constexpr ConfigIntItem kReadNow{2, 1, 1, 0};         // import at once, every file; the reader clears it
inline constexpr ConfigIntItem kInterval{2, 1, 520, 15};     // worker passes between two imports
inline constexpr ConfigIntItem kHeartbeat{2, 1, 521, 0};     // written so other computers see the file change
inline constexpr ConfigTextItem kReaderId{2, 1, 522, ""};    // "pid computer" of the worker that reads the exchange
inline constexpr ConfigIntItem kLastEvent{2, 1, 530, 0};
inline constexpr ConfigIntItem kLastRelay{2, 1, 531, 0};
inline constexpr ConfigIntItem kOn{2, 1, 680, 0};
constexpr ConfigNinePieces EventFolder(int n) { return {1, n, 570}; }     // the outside system's folder
constexpr ConfigIntItem KmeFinal(int n) { return {12, n, 2, 0}; }         // outside relay numbers are relay + 1000
constexpr ConfigIntItem StartScore(int n) { return {12, n, 21, 0}; }      // 0 none, 99 the entry's, else a sub-event
constexpr ConfigTextPair EventText(int n) { return {12, n, 620, 621}; }   // sent to the range control for every lane
constexpr ConfigTextItem EventPrefix(int n) { return {12, n, 630, ""}; }  // two characters of every file name
// 0 none, 1 BV2000, 2 Q-NET, 3 Siusdata, 4 KME.
constexpr ConfigIntItem EventType(int n) { return {12, n, 640, 0}; }
}  // namespace ExchItems

namespace WebItems {
inline constexpr ConfigIntItem kIndexDirty{1, 1, 1, 0};
inline constexpr ConfigIntItem kHeartbeat{2, 1, 2, 0};       // 0..255, by the web writer on every pass
inline constexpr ConfigIntItem kCommonDirty{2, 1, 3, 0};
inline constexpr ConfigIntItem kAWebPageCount{2, 1, 4, 0};
inline constexpr ConfigIntItem kFontSize{2, 1, 5, 3};
// "pid computer" of the worker that makes the pages, as Exch.bvc names its reader.
inline constexpr ConfigTextItem kWriterId{2, 1, 6, ""};
inline constexpr ConfigIntItem kAWebOn{23, 1, 1, 0};         // the slide show is made
inline constexpr ConfigIntItem kPWebOn{24, 1, 1, 0};         // the framed site is made
inline constexpr ConfigIntItem kCardsOn{24, 1, 2, 0};        // PNG cards for the framed site
inline constexpr ConfigIntItem kFtpOn{24, 1, 3, 0};
// Index t + 128 stands for team competition t.
constexpr ConfigIntItem EventDirty(int n) { return {2, n, 1, 0}; }
constexpr ConfigIntItem ActiveRelay(int n) { return {23, n, 2, 1}; }
// 1: the results of relay number r of event n changed since its page was
// made. The program's relay web flags say the same on the computer that
// imported them; this item tells the web writer on any computer.
constexpr ConfigIntItem RelayChanged(int n, int r) { return {3, n, r, 0}; }
}  // namespace WebItems

namespace UserItems {
inline constexpr ConfigTextItem kOrganiser{1, 1, 500, ""};
inline constexpr ConfigTextPair kFtpServer{1, 1, 501, 502};
inline constexpr ConfigTextItem kFtpUser{1, 1, 503, ""};
inline constexpr ConfigTextItem kFtpPassword{1, 1, 504, ""};
inline constexpr ConfigTextPair kFtpFolder{1, 1, 505, 506};
inline constexpr ConfigIntItem kCompetition{1, 1, 530, 1};   // the competition that opens
constexpr ConfigTextItem Address(int line) { return {1, 1, 559 + line, ""}; }  // lines 1..4
inline constexpr ConfigTextItem kAccount{1, 1, 600, ""};
}  // namespace UserItems

namespace TeamItems {
inline constexpr ConfigIntItem kCount{2, 1, 530, 0};
constexpr ConfigTextItem Name(int t) { return {15, t, 500, ""}; }          // empty = free
constexpr ConfigIntItem Size(int t) { return {15, t, 530, 0}; }            // at most 20 are used
inline constexpr int kSizeWhenCreated = 3;
constexpr ConfigIntItem Represent(int t) { return {15, t, 1, 0}; }
constexpr ConfigIntItem BestOnly(int t) { return {15, t, 2, 0}; }
constexpr ConfigIntItem RankRule(int t) { return {15, t, 3, 0}; }
constexpr ConfigIntItem PrizeRankRule(int t) { return {15, t, 5, 0}; }     // 3 when created
constexpr ConfigIntItem RuleCount(int t) { return {15, t, 531, 0}; }
constexpr ConfigIntItem PrizeCount(int t) { return {15, t, 532, 0}; }
constexpr ConfigIntItem RowCount(int t) { return {15, t, 533, 0}; }
constexpr ConfigIntItem EntryCount(int t) { return {15, t, 534, 0}; }
constexpr ConfigIntItem Fee(int t) { return {15, t, 670, 0}; }             // hundredths
constexpr ConfigIntItem RowEvent(int t, int k) { return {16, t, k, 0}; }   // negative = deleted row
constexpr ConfigIntItem RowSubEvent(int t, int k) { return {8, t, k, 0}; }
constexpr ConfigTextItem RowCodes(int t, int k) { return {505, t, k, ""}; }
constexpr ConfigIntItem RowOption(int t, int k) { return {503, t, k, 0}; }
constexpr ConfigIntItem RuleRow(int t, int r) { return {504, t, r, 0}; }   // negative = deleted rule
constexpr ConfigTextItem RuleClasses(int t, int r) { return {6, t, r, ""}; }
constexpr ConfigTextItem RuleCategories(int t, int r) { return {7, t, r, ""}; }
// The rules' first number has a section of its own: the entered teams'
// names hold (500, t, j), and rule r and team j = r would overwrite each other.
constexpr ConfigIntItem RuleMin(int t, int r) { return {506, t, r, -1}; }
constexpr ConfigIntItem RuleMax(int t, int r) { return {501, t, r, -1}; }
constexpr ConfigTextItem EntryName(int t, int j) { return {500, t, j, ""}; }  // empty = free
constexpr ConfigIntItem EntryClub(int t, int j) { return {502, t, j, 0}; }    // negative = deleted
constexpr ConfigTextPair PrizeText(int t, int p) { return {13, t, p, p, 14}; }  // halves in sections 13 and 14
constexpr ConfigIntItem WebInShow(int t) { return {17, t, 1, 0}; }
constexpr ConfigIntItem WebSeconds(int t) { return {18, t, 1, 10}; }
constexpr ConfigIntItem WebColumn(int t) { return {19, t, 1, 0}; }
constexpr ConfigIntItem PressOn(int t) { return {35, t, 1, 0}; }
constexpr ConfigIntItem PressChoice(int t) { return {37, t, 1, 0}; }
}  // namespace TeamItems

}  // namespace results
