// The prize lists a new event starts with: class prize lists (one per group
// of classes, with prize share, prize kind and the press list) and combined
// prize lists (named championships over chosen classes, with medal texts for
// the first places), by organisation type and program kind. The prize
// screens edit them afterwards.
#include "results/data/CompetitionItems.h"
#include "results/data/DataEvent.h"
#include "results/data/EventItems.h"
#include "results/events/TemplateTypes.h"

#include "platform/system/Codepage.h"

#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace results {
namespace {

using templates::KindSet;
using templates::NumberBytes;

constexpr int Sub(int k) { return 0x100 + k; }  // ranked on sub-event k
constexpr int Series(int s) { return s; }       // ranked on series s

enum Order { kAlphabetical = 0, kByFinalSum = 1, kRanked = 2 };
enum PrizeKind { kNoPrize = 0, kObjects = 1, kMoney = 2 };
constexpr bool kNoSettlement = true;
constexpr bool kSettled = false;
constexpr bool kPress = true;
constexpr bool kNoPress = false;

// Result list columns (place, name, club, class, series sums or sub-event
// total, total) of a list ranked on a sub-event and on a series.
constexpr const char* kSubEventColumns = "1,3,4,8,10";
constexpr const char* kSeriesColumns = "1,3,4,7,10";
// Rows of a class prize list's classes on the press list: all of them.
constexpr int kAllPressRows = 99;

// ---- Organisation type 1, class prize lists of a main event ----

struct ClassListRow {
    int source = 0;  // 0 ends the template
    const char* classes = "";
    int order = kRanked;
    const char* share = "1/3";
    int prizeKind = kMoney;
    bool noSettlement = kSettled;
    bool press = kNoPress;
};

struct Org1ClassTemplate {
    KindSet kinds;  // full program kinds
    std::array<ClassListRow, 6> lists;
};

const Org1ClassTemplate kOrg1ClassLists[] = {
    // A
    {{1, 129},
     {{{Sub(2), "1", kAlphabetical, "1/1", kObjects, kSettled, kPress},
       {Sub(1), "2-4", kRanked, "1/3", kMoney, kSettled, kNoPress},
       {Sub(1), "5,6", kRanked, "1/3", kMoney, kSettled, kNoPress},
       {Series(4), "2-4", kRanked, "1/3", kMoney, kSettled, kNoPress},
       {Series(4), "5,6", kRanked, "1/3", kMoney, kSettled, kNoPress},
       {Sub(2), "2-6", kRanked, "1/1", kNoPrize, kNoSettlement, kPress}}}},
    // B
    {{2, 3, 130, 131},
     {{{Sub(1), "7-13", kRanked, "1/3", kMoney, kSettled, kNoPress},
       {Series(4), "7-13", kRanked, "1/3", kMoney, kSettled, kNoPress},
       {Sub(2), "7-13", kRanked, "1/1", kNoPrize, kNoSettlement, kPress}}}},
    // C
    {{4},
     {{{Sub(2), "1", kAlphabetical, "1/1", kObjects, kSettled, kPress},
       {Sub(2), "2-4", kRanked, "1/3", kMoney, kSettled, kPress},
       {Sub(2), "5-12", kRanked, "1/3", kMoney, kSettled, kPress}}}},
    // D
    {{5},
     {{{Sub(1), "1-4", kRanked, "1/3", kMoney, kSettled, kNoPress},
       {Sub(1), "5-11", kRanked, "1/3", kMoney, kSettled, kNoPress}}}},
    // E
    {{8, 9, 137},
     {{{Sub(1), "1", kAlphabetical, "1/1", kObjects, kSettled, kPress},
       {Sub(1), "2-4", kRanked, "1/3", kMoney, kSettled, kPress},
       {Sub(1), "5,6", kRanked, "1/3", kMoney, kSettled, kPress}}}},
    // F
    {{10, 11, 139}, {{{Sub(1), "7-14", kRanked, "1/3", kMoney, kSettled, kPress}}}},
};

// ---- Organisation type 1, combined prize lists ----

struct GroupListRow {
    const char* name;
    const char* classes;
    const char* finalClasses;  // null: as on a main event
    const char* columns;
    int placeTexts;            // places with a medal text: 3 or 1
    int pressRows;
};

const GroupListRow kYouthSet[] = {
    {"Mesterskap Rekrutt", "2", nullptr, kSubEventColumns, 3, 3},
    {"Mesterskap Eldre rekrutt", "3", nullptr, kSubEventColumns, 3, 3},
    {"Mesterskap Junior", "4", nullptr, kSubEventColumns, 3, 3},
    {"Mesterskap V65", "5", nullptr, kSubEventColumns, 1, 3},
    {"Mesterskap V73", "6", nullptr, kSubEventColumns, 1, 3},
};

const GroupListRow kClassSet[] = {
    {"Mesterskap Klasse 3-5", "9-11", "8-11", "1,3,4,5,8,10", 3, 5},
    {"Mesterskap Klasse 1", "7", nullptr, kSubEventColumns, 1, 3},
    {"Mesterskap Klasse 2", "8", nullptr, kSubEventColumns, 1, 3},
    {"Mesterskap V55", "12", nullptr, kSubEventColumns, 1, 3},
};

// Kind 4 has the youth set followed by these.
const GroupListRow kKind4Classes[] = {
    {"Mesterskap Klasse 1", "7", nullptr, kSubEventColumns, 1, 3},
    {"Mesterskap Klasse 2", "8", nullptr, kSubEventColumns, 1, 3},
    {"Mesterskap Klasse 3-5", "9-11", nullptr, kSubEventColumns, 3, 5},
    {"Mesterskap V55", "12", nullptr, kSubEventColumns, 1, 3},
};

const GroupListRow kKind10Set[] = {
    {"Mesterskap Klasse 2-5", "8-12", nullptr, "1,3,4,5,8,10", 3, 5},
    {"Mesterskap Klasse 1", "7", nullptr, kSubEventColumns, 1, 3},
    {"Mesterskap V55", "12", nullptr, kSubEventColumns, 1, 3},
};

struct GroupChoice {
    bool final;
    KindSet kinds;  // main events: the full kind (never with the final bit); finals: its low 7 bits
    std::span<const GroupListRow> lists;
    std::span<const GroupListRow> more;
    std::array<int, 9> subEvents;  // the sub-event of each list, in order
    int order;
    const char* firstName;  // null: the first list keeps its name
};

const GroupChoice kOrg1GroupLists[] = {
    {false, {1}, kYouthSet, {}, {3, 3, 3, 3, 3}, kRanked, nullptr},
    {false, {2, 3}, kClassSet, {}, {3, 2, 2, 3}, kRanked, nullptr},
    {false, {4}, kYouthSet, kKind4Classes, {2, 2, 2, 2, 2, 2, 2, 2, 2}, kRanked, nullptr},
    {false, {8}, kYouthSet, {}, {1, 1, 1, 1, 1}, kRanked, nullptr},
    {false, {9}, kYouthSet, {}, {2, 2, 2, 2, 2}, kRanked, nullptr},
    {false, {10}, kKind10Set, {}, {1, 1, 1}, kRanked, nullptr},
    {false, {11}, kKind10Set, {}, {2, 2, 2}, kRanked, "Mesterskap Klasse 2-5/V55"},
    {true, {1}, kYouthSet, {}, {2, 2, 2, 2, 2}, kRanked, nullptr},
    {true, {2, 3}, kClassSet, {}, {2, 2, 2, 2}, kRanked, nullptr},
    {true, {9}, kYouthSet, {}, {2, 2, 2, 2, 2}, kByFinalSum, nullptr},
    {true, {11}, kKind10Set, {}, {2, 2, 2}, kByFinalSum, "Mesterskap Klasse 2-5/V55"},
};

// ---- Organisation types 2 and 6, class prize lists of a main event ----

enum class Switches { National, International, Both };

struct RankedList {
    int subEvent = 0;  // 0 ends the template
    const char* classes = "";
};

struct Org2ClassRow {
    int kind;  // without the final bit
    Switches switches;
    std::array<RankedList, 5> lists;
};

const Org2ClassRow kOrg2ClassLists[] = {
    {1, Switches::National, {{{1, "9-11"}, {2, "1-8,12-19"}}}},
    {1, Switches::International, {{{2, "1-7"}}}},
    {1, Switches::Both, {{{1, "14-16"}, {2, "1-13,17-21"}}}},
    {2, Switches::National, {{{2, "1-19"}}}},
    {2, Switches::International, {{{2, "1-7"}}}},
    {2, Switches::Both, {{{2, "1-21"}}}},
    {3, Switches::National, {{{6, "9-11"}, {1, "5,6,8,12-16"}, {2, "1-4,7,17-19"}}}},
    {3, Switches::International, {{{1, "3,4"}, {2, "1,2,5-7"}}}},
    {3, Switches::Both, {{{6, "14-16"}, {1, "3,4,12,13,17-21"}, {2, "1,2,5-11"}}}},
    {4, Switches::National, {{{8, "9-11"}, {7, "1-8,13-20"}, {6, "9-12"}, {1, "5,6,8,13-17"}, {2, "1-4,7"}}}},
    {4, Switches::International, {{{7, "1-7"}, {1, "3,4"}, {2, "1,2,5-7"}}}},
    {4, Switches::Both, {{{8, "14-16"}, {7, "1-13,17-21"}, {6, "14-16"}, {1, "3,4,12,13,17-21"}, {2, "1,2,5-11"}}}},
    {5, Switches::National, {{{1, "9-12"}, {2, "5,6,8,13-17,25-31"}, {3, "1-4,7,18-24"}}}},
    {5, Switches::International, {{{2, "3,4,7,8"}, {3, "1,2,5,6"}}}},
    {5, Switches::Both, {{{1, "14-17"}, {2, "3,4,9,10,18-22,27-33,36,37"}, {3, "1,2,5-8,11-13,23-26,34,35"}}}},
    {6, Switches::National, {{{1, "9-12"}, {2, "1-8,13-21"}}}},
    {6, Switches::International, {{{2, "1-7"}}}},
    {6, Switches::Both, {{{1, "14-17"}, {2, "1-13,18-22"}}}},
};

// Kind 4 with the national switch: a match list per category.
struct MatchListRow {
    const char* name;
    int category;
};
const MatchListRow kMatchLists[] = {
    {"Match klasse A", 1},
    {"Match klasse B", 2},
    {"Match klasse C", 3},
    {"Match klasse D", 4},
};
constexpr int kMatchKind = 4;
constexpr int kMatchSubEvent = 2;
constexpr const char* kMatchClassesNational = "1-4";
constexpr const char* kMatchClassesBoth = "1,5-8";
constexpr const char* kMatchColumns = "1,2,3,4,8,10";

// ---- Organisation types 2 and 6, combined prize lists of a final ----

struct ChampionshipRow {
    const char* name;
    const char* nationalClasses;  // with the national switch, with or without the international one
    int nationalCategory;         // 0: none
    const char* internationalClasses;  // with the international switch only
};
const ChampionshipRow kOrg2FinalLists[] = {
    {"Mesterskap Rifle Menn", "1-4", 0, "1"},
    {"Mesterskap Rifle Kvinner", "5,6", 0, "3"},
    {"Mesterskap Rifle Junior Menn", "7", 0, "2"},
    {"Mesterskap Rifle Junior Kvinner", "8", 0, "4"},
    {"Mesterskap Pistol Menn", "21-24", 1, "5"},
    {"Mesterskap Pistol Kvinner", "25-28", 2, "6"},
    {"Mesterskap Pistol Junior Menn", "21-24", 3, "7"},
    {"Mesterskap Pistol Junior Kvinner", "25-28", 3, "8"},
};
constexpr int kChampionshipKind = 5;
constexpr int kChampionshipSubEvent = 2;
constexpr int kChampionshipPlaceTexts = 3;
constexpr int kChampionshipPressRows = 3;

// Medal texts of places 1..3; a list with one place text gives silver.
const char* const kMedals[] = {"Gylt medalje", "Sølv medalje", "Bronse medalje"};
const char* const kSingleMedal = "Sølv medalje";

// ---- Writing ----

struct ClassList {
    int source;
    std::string classes;  // class numbers, one byte each
    int order;
    std::string share;
    int prizeKind;
    bool noSettlement;
    bool press;
};

struct GroupList {
    int source;
    std::string name;  // Windows-1252
    bool writeClasses;
    std::string classes;
    std::string categories;  // empty: not written
    int order;
    std::string columns;
    int placeTexts;  // 0: a match list, without place texts and press choice
    std::string share;
    int prizeKind;
    int pressRows;
};

std::string Columns(int source) { return NumberBytes(source >= 0x100 ? kSubEventColumns : kSeriesColumns); }

void Write(CBVConfig& prizes, int p, const ClassList& list)
{
    std::string columns = Columns(list.source);
    ::WriteItem(prizes, PrizeItems::ClassSource(p), list.source);
    ::WriteItem(prizes, PrizeItems::ClassClasses(p), list.classes);
    ::WriteItem(prizes, PrizeItems::ClassOrder(p), list.order);
    ::WriteItem(prizes, PrizeItems::ClassColumns(p), columns);
    ::WriteItem(prizes, PrizeItems::ClassLandscape(p), 0);
    ::WriteItem(prizes, PrizeItems::ClassWebColumns(p), columns);
    if (list.noSettlement)
        ::WriteItem(prizes, PrizeItems::ClassNoSettlement(p), 1);
    ::WriteItem(prizes, PrizeItems::ClassShare(p), list.share);
    ::WriteItem(prizes, PrizeItems::ClassKind(p), list.prizeKind);
    if (list.press)
        for (unsigned char c : list.classes) {
            ::WriteItem(prizes, PrizeItems::PressClassOn(p, c), 1);
            ::WriteItem(prizes, PrizeItems::PressClassRows(p, c), kAllPressRows);
        }
}

void Write(CBVConfig& prizes, int g, const GroupList& list)
{
    ::WriteItem(prizes, PrizeItems::GroupSource(g), list.source);
    if (list.writeClasses)
        ::WriteItem(prizes, PrizeItems::GroupClasses(g), list.classes);
    if (!list.categories.empty())
        ::WriteItem(prizes, PrizeItems::GroupCategories(g), list.categories);
    ::WriteItem(prizes, PrizeItems::GroupOrder(g), list.order);
    ::WriteItem(prizes, PrizeItems::GroupColumns(g), list.columns);
    ::WriteItem(prizes, PrizeItems::GroupLandscape(g), 0);
    ::WriteItem(prizes, PrizeItems::GroupWebColumns(g), list.columns);
    ::WriteItem(prizes, PrizeItems::GroupName(g), list.name);
    ::WriteItem(prizes, PrizeItems::GroupShare(g), list.share);
    ::WriteItem(prizes, PrizeItems::GroupKind(g), list.prizeKind);
    if (list.placeTexts == 0)
        return;
    ::WriteItem(prizes, PrizeItems::GroupTextCount(g), list.placeTexts);
    for (int m = 1; m <= list.placeTexts; ++m) {
        // The first half only: the second stays as the prize screen left it.
        ConfigTextPair text = PrizeItems::GroupPlaceText(g, m);
        std::string medal = platform::Ansi(list.placeTexts == 1 ? kSingleMedal : kMedals[m - 1]);
        prizes.WriteString(text.section, text.index, text.firstKey, medal.c_str());
    }
    ::WriteItem(prizes, PrizeItems::PressGroupOn(g), 1);
    ::WriteItem(prizes, PrizeItems::PressGroupRows(g), list.pressRows);
}

void Org1Lists(bool final, int kind, std::vector<ClassList>& classLists, std::vector<GroupList>& groupLists)
{
    if (!final)
        for (const Org1ClassTemplate& t : kOrg1ClassLists)
            if (t.kinds.Has(kind)) {
                for (const ClassListRow& row : t.lists)
                    if (row.source != 0)
                        classLists.push_back({row.source, NumberBytes(row.classes), row.order, row.share,
                                              row.prizeKind, row.noSettlement, row.press});
                break;
            }
    // Main events with a final leave the championships to the final.
    if (!final && (kind & templates::kKindHasFinal))
        return;
    const int key = final ? kind & templates::kKindNumber : kind;
    for (const GroupChoice& choice : kOrg1GroupLists) {
        if (choice.final != final || !choice.kinds.Has(key))
            continue;
        size_t i = 0;
        for (auto rows : {choice.lists, choice.more})
            for (const GroupListRow& row : rows) {
                const char* name = i == 0 && choice.firstName ? choice.firstName : row.name;
                const char* classes = final && row.finalClasses ? row.finalClasses : row.classes;
                groupLists.push_back({Sub(choice.subEvents[i]), platform::Ansi(name), true, NumberBytes(classes), {},
                                      choice.order, NumberBytes(row.columns), row.placeTexts,
                                      std::to_string(row.placeTexts), kObjects, row.pressRows});
                ++i;
            }
        return;
    }
}

void Org2Lists(bool final, int kind, bool national, bool international, std::vector<ClassList>& classLists,
               std::vector<GroupList>& groupLists)
{
    const int number = kind & templates::kKindNumber;
    if (final) {
        if (number != kChampionshipKind)
            return;
        for (const ChampionshipRow& row : kOrg2FinalLists) {
            std::string classes = national ? NumberBytes(row.nationalClasses)
                                  : international ? NumberBytes(row.internationalClasses)
                                                  : std::string();
            std::string categories =
                national && row.nationalCategory ? std::string(1, static_cast<char>(row.nationalCategory)) : "";
            groupLists.push_back({Sub(kChampionshipSubEvent), platform::Ansi(row.name), national || international,
                                  classes, categories, kByFinalSum, NumberBytes(kSubEventColumns),
                                  kChampionshipPlaceTexts, std::to_string(kChampionshipPlaceTexts), kObjects,
                                  kChampionshipPressRows});
        }
        return;
    }
    if (!national && !international)
        return;
    Switches switches = national && international ? Switches::Both
                        : national                ? Switches::National
                                                  : Switches::International;
    for (const Org2ClassRow& row : kOrg2ClassLists)
        if (row.kind == number && row.switches == switches)
            for (const RankedList& list : row.lists)
                if (list.subEvent != 0)
                    classLists.push_back({Sub(list.subEvent), NumberBytes(list.classes), kRanked, "1/3", kMoney,
                                          kSettled, kNoPress});
    if (number == kMatchKind && national)
        for (const MatchListRow& row : kMatchLists)
            groupLists.push_back({Sub(kMatchSubEvent), platform::Ansi(row.name), true,
                                  NumberBytes(international ? kMatchClassesBoth : kMatchClassesNational),
                                  std::string(1, static_cast<char>(row.category)), kRanked,
                                  NumberBytes(kMatchColumns), 0, "1/3", kMoney, 0});
}

}  // namespace

int CDataEvent::BuildPrizes(int orgType, int finalIndex, int kind, int event, int competition, CBVConfig& comp)
{
    if (::ReadItem(comp, CompItems::EventInUse(event)) == 0)
        return 0;
    char path[48];
    std::snprintf(path, sizeof path, ".\\Comp%d\\Prize%d.bvc", competition, event);
    m_prizes.Open(path, 1);

    std::vector<ClassList> classLists;
    std::vector<GroupList> groupLists;
    const bool final = finalIndex != 0;
    if (orgType == 1)
        Org1Lists(final, kind, classLists, groupLists);
    else if (orgType == 2 || orgType == 6)
        Org2Lists(final, kind, nationalClasses != 0, internationalClasses != 0, classLists, groupLists);

    if (!classLists.empty())
        ::WriteItem(m_prizes, PrizeItems::kClassCount, static_cast<int>(classLists.size()));
    for (size_t p = 0; p < classLists.size(); ++p)
        Write(m_prizes, static_cast<int>(p) + 1, classLists[p]);
    if (!groupLists.empty())
        ::WriteItem(m_prizes, PrizeItems::kGroupCount, static_cast<int>(groupLists.size()));
    for (size_t g = 0; g < groupLists.size(); ++g)
        Write(m_prizes, static_cast<int>(g) + 1, groupLists[g]);
    m_prizes.Refresh();
    return 0;
}

}  // namespace results
