// The shooting programs of new events: series with their shots, sub-events
// with what they sum, and the categories that take part.
#include "results/data/DataEvent.h"
#include "results/data/EventItems.h"
#include "results/events/TemplateTypes.h"

#include "platform/system/Codepage.h"

#include <array>
#include <string>
#include <vector>

namespace results {
namespace {

using templates::KindSet;
using templates::Offered;
using templates::OrgSet;

// Series numbered from 1: "Serie %d" with a count of 3 is Serie 1, Serie 2,
// Serie 3; a name without %d is one series.
inline constexpr int kHolds = -1;       // as many as the event's holds
inline constexpr int kExtraHolds = -2;  // as many as its additional precision series
struct SeriesRun {
    const char* name = nullptr;  // UTF-8; null ends the list
    int count = 1;
    int shots = 0;
};

// What a sub-event's code starts with, before its own series.
enum class Link {
    None,
    Main,           // sub-event `sub` of the main event of this final
    Previous,       // sub-event `sub` of the event made just before
    MainOwnNumber,  // the main event's sub-event numbered as the main event
};

struct SubEventRow {
    const char* name = nullptr;  // UTF-8; null ends the list
    bool report = false;         // counted in the competition report
    Link link = Link::None;
    int sub = 0;
    const char* series = "";     // number list; b = the holds
};

struct ProgramRow {
    KindSet kinds;
    std::array<SeriesRun, 6> series;
    std::array<SubEventRow, 8> subs;
};

constexpr bool kReport = true;

// Every organisation type: the generic kind, by its full number.
const ProgramRow kGenericMain[] = {
    {{0}, {{{"Serie 1", 1, 10}}}, {{{"Total", false, Link::None, 0, "1"}}}},
    {{128}, {{{"Serie 1", 1, 10}}}, {{{"Hoved", false, Link::None, 0, "1"}}}},
};
const ProgramRow kGenericFinal[] = {
    {{128},
     {{{"Serie 1", 1, 10}}},
     {{{"Innledende", false, Link::Main, 1, ""}, {"Mesterskap", false, Link::Main, 1, "1"}}}},
};

// Organisation type 1, main events by their full kind.
const ProgramRow kOrg1Main[] = {
    {{1},
     {{{"Serie %d", 3, 5}, {"10 Skudd", 1, 10}, {"Omgang", 1, 10}}},
     {{{"15 Skudd", false, Link::None, 0, "1-3"},
       {"25 Skudd", kReport, Link::None, 0, "1-4"},
       {"35 Skudd", kReport, Link::None, 0, "1-5"}}}},
    {{2, 3},
     {{{"Ligg", 1, 5}, {"Stå", 1, 5}, {"Kne", 1, 5}, {"Grunnlag", 1, 10}, {"Omgang", 1, 10}}},
     {{{"15 Skudd", false, Link::None, 0, "1-3"},
       {"25 Skudd", kReport, Link::None, 0, "1-4"},
       {"35 Skudd", kReport, Link::None, 0, "1-5"}}}},
    {{129},
     {{{"Serie %d", 3, 5}, {"10 Skudd", 1, 10}}},
     {{{"15 Skudd", false, Link::None, 0, "1-3"}, {"25 Skudd", kReport, Link::None, 0, "1-4"}}}},
    {{130, 131},
     {{{"Ligg", 1, 5}, {"Stå", 1, 5}, {"Kne", 1, 5}, {"Grunnlag", 1, 10}}},
     {{{"15 Skudd", false, Link::None, 0, "1-3"}, {"25 Skudd", kReport, Link::None, 0, "1-4"}}}},
    {{4},
     {{{"Serie %d", 3, 5}, {"Serie 4", 1, 10}}},
     {{{"15 Skudd", false, Link::None, 0, "1-3"}, {"25 Skudd", kReport, Link::None, 0, "1-4"}}}},
    {{5},
     {{{"Kne", 1, 5}, {"Ligg", 1, 5}, {"Grunnlag", 1, 10}, {"Omgang", 1, 10}}},
     {{{"Organisasjonsmedalje", kReport, Link::None, 0, "1-4"}}}},
    {{6}, {{{"10 skudd 100m", 1, 10}}}, {}},
    {{7}, {{{"10 skudd senior", 1, 10}}}, {}},
    {{8, 10, 137, 139}, {{{"%d Hold", 5, 6}}}, {{{"30 Skudd", kReport, Link::None, 0, "1-5"}}}},
    {{9, 11},
     {{{"%d Hold", 7, 6}}},
     {{{"30 Skudd", kReport, Link::None, 0, "1-5"}, {"42 Skudd", kReport, Link::None, 0, "1-7"}}}},
    {{12}, {{{"Hold %d", 2, 30}}}, {{{"Stang", kReport, Link::None, 0, "1,2"}}}},
    {{13}, {{{"Tid", 1, 99}}}, {{{"Felthurtig", kReport, Link::None, 0, "1"}}}},
};
const ProgramRow kOrg1Final[] = {
    {{129, 130, 131},
     {{{"Omgang", 1, 10}}},
     {{{"Hovedskyting", false, Link::Main, 2, ""}, {"Mesterskap", kReport, Link::Main, 2, "1"}}}},
    {{137, 139},
     {{{"%d Hold", 2, 6}}},
     {{{"Hovedskyting", false, Link::Main, 1, ""}, {"Mesterskap", kReport, Link::Main, 1, "1,2"}}}},
};

// Organisation types 2 and 6, main events by the kind without its final bit.
const ProgramRow kOrg2Main[] = {
    {{1},
     {{{"Serie %d", 6, 10}}},
     {{{"30 Skudd", false, Link::None, 0, "1-3"}, {"60 Skudd", kReport, Link::None, 0, "1-6"}}}},
    {{2},
     {{{"Ligg %d", 2, 10}, {"Stå %d", 2, 10}, {"Kne %d", 2, 10}}},
     {{{"Kvartmatch", false, Link::None, 0, "1,3,5"},
       {"Halvmatch", kReport, Link::None, 0, "1-6"},
       {"Ligg", false, Link::None, 0, "1,2"},
       {"Stå", false, Link::None, 0, "3,4"},
       {"Kne", false, Link::None, 0, "5,6"}}}},
    {{3},
     {{{"Ligg %d", 4, 10}, {"Stå %d", 4, 10}, {"Kne %d", 4, 10}}},
     {{{"Halvmatch", false, Link::None, 0, "1,2,5,6,9,10"},
       {"Helmatch", kReport, Link::None, 0, "1-12"},
       {"Ligg", false, Link::None, 0, "1-4"},
       {"Stå", false, Link::None, 0, "5-8"},
       {"Kne", false, Link::None, 0, "9-12"},
       {"Kvartmatch", false, Link::None, 0, "1,5,9"}}}},
    {{4},
     {{{"Ligg %d", 6, 10}, {"Stå %d", 4, 10}, {"Kne %d", 4, 10}}},
     {{{"Halvmatch", false, Link::None, 0, "1,2,7,8,11,12"},
       {"Helmatch", kReport, Link::None, 0, "1-4,7-14"},
       {"Ligg", false, Link::None, 0, "1-4"},
       {"Stå", false, Link::None, 0, "7-10"},
       {"Kne", false, Link::None, 0, "11-14"},
       {"Kvartmatch", false, Link::None, 0, "1,7,11"},
       {"60 Ligg", kReport, Link::None, 0, "1-6"},
       {"30 Ligg", false, Link::None, 0, "1-3"}}}},
    {{5},
     {{{"Serie %d", 6, 10}}},
     {{{"30 Skudd", false, Link::None, 0, "1-3"},
       {"40 Skudd", false, Link::None, 0, "1-4"},
       {"60 Skudd", kReport, Link::None, 0, "1-6"}}}},
    {{6},
     {{{"Serie %d", 9, 5}}},
     {{{"30 Skudd", false, Link::None, 0, "1-6"}, {"45 Skudd", kReport, Link::None, 0, "1-9"}}}},
    {{7},
     {{{"10 sek %d serie", 2, 10}, {"8 sek %d serie", 2, 10}, {"6 sek %d serie", 2, 10}}},
     {{{"10 sek", false, Link::None, 0, "1,2"},
       {"8 sek", false, Link::None, 0, "3,4"},
       {"6 sek", false, Link::None, 0, "5,6"},
       {"Hurtig", kReport, Link::None, 0, "1-6"}}}},
    {{8},
     {{{"Press %d serie", 3, 10}, {"Duell %d serie", 3, 10}}},
     {{{"Press", kReport, Link::None, 0, "1-3"},
       {"Duell", kReport, Link::None, 0, "4-6"},
       {"VM", kReport, Link::None, 0, "1-6"}}}},
    {{10}, {{{"%d serie", 6, 10}}}, {{{"Fripistol", kReport, Link::None, 0, "1-6"}}}},
    {{11},
     {{{"150 sek %d serie", 2, 10}, {"20 sek %d serie", 2, 10}, {"10 sek %d serie", 2, 10}}},
     {{{"150 sek", false, Link::None, 0, "1,2"},
       {"20 sek", false, Link::None, 0, "3,4"},
       {"10 sek", false, Link::None, 0, "5,6"},
       {"Standard", kReport, Link::None, 0, "1-6"}}}},
    {{12},
     {{{"8 sek 1 serie", 1, 10},
       {"6 sek 1 serie", 1, 10},
       {"4 sek 1 serie", 1, 10},
       {"8 sek 3 serie", 1, 10},
       {"6 sek 3 serie", 1, 10},
       {"4 sek 3 serie", 1, 10}}},
     {{{"Stage 1", false, Link::None, 0, "1,3,5"},
       {"Stage 2", false, Link::None, 0, "2,4,6"},
       {"Silhuett", kReport, Link::None, 0, "1-6"}}}},
    {{13}, {{{"Press %d serie", 3, 10}}}, {{{"Press", kReport, Link::None, 0, "1-3"}}}},
    {{14},
     {{{"Duell %d serie", 3, 10}}},
     {{{"Duell", false, Link::None, 0, "1-3"}, {"VM", kReport, Link::Previous, 1, "1-3"}}}},
    {{15}, {{{"H %d", kHolds, 6}}}, {{{"Feltpistol", kReport, Link::None, 0, "1-b"}}}},
    {{16}, {{{"H %d", kHolds, 6}, {"P.Hold %d", kExtraHolds, 99}}}, {{{"Feltpistol", kReport, Link::None, 0, "1-b"}}}},
    {{9}, {}, {}},
};
const ProgramRow kOrg2Final[] = {
    {{129, 131, 132, 134},
     {{{"Finale", 1, 10}}},
     {{{"Hovedskyting", false, Link::Main, 2, ""}, {"Mesterskap", false, Link::Main, 2, "1"}}}},
    {{133},
     {{{"Finale", 1, 10}}},
     {{{"Hovedskyting", false, Link::Main, 3, ""}, {"Mesterskap", false, Link::Main, 3, "1"}}}},
    {{138},
     {{{"Finale", 1, 10}}},
     {{{"Hovedskyting", false, Link::Main, 1, ""}, {"Mesterskap", false, Link::Main, 1, "1"}}}},
    {{135, 139, 140},
     {{{"%d Finaleserie", 2, 10}}},
     {{{"Hovedskyting", false, Link::Main, 4, ""}, {"Mesterskap", false, Link::Main, 4, "1,2"}}}},
    {{136},
     {{{"%d Finaleserie", 2, 10}}},
     {{{"Hovedskyting", false, Link::Main, 3, ""}, {"Mesterskap", false, Link::Main, 3, "1,2"}}}},
    {{142},
     {{{"%d Finaleserie", 2, 10}}},
     {{{"Hovedskyting", false, Link::Main, 2, ""}, {"Mesterskap", false, Link::Main, 2, "1,2"}}}},
};

// Organisation type 3, main events by the kind without its final bit.
const ProgramRow kOrg3Main[] = {
    {{1}, {{{"Hold %d", 6, 5}, {"Rangeringshold", 1, 25}}}, {{{"30 Skudd", kReport, Link::None, 0, "1-6"}}}},
    {{2}, {{{"Hold %d", 6, 5}}}, {{{"30 Skudd", kReport, Link::None, 0, "1-6"}}}},
    {{4}, {{{"Serie %d", 2, 5}}}, {{{"Fasthold", false, Link::None, 0, "1,2"}}}},
    {{5},
     {{{"Serie %d", 2, 5}}},
     {{{"Løpende", false, Link::None, 0, "1,2"}, {"Totalt", kReport, Link::Previous, 1, "1,2"}}}},
};
const ProgramRow kOrg3Final[] = {
    {{133},
     {{{"%d Finaleserie", 2, 5}}},
     {{{"Hovedskyting", false, Link::Main, 2, ""}, {"Mesterskap", false, Link::Main, 2, "1,2"}}}},
};

// Finals of types 2, 3 and 6 whose kind has no final of its own above (and
// the generic final, after its own sub-events). What they should hold was
// never settled; this is what they have always been given.
struct FinalWithoutTemplate {
    OrgSet orgs;
    std::array<SubEventRow, 2> subs;
};
const FinalWithoutTemplate kFinalsWithoutTemplate[] = {
    {{2, 6}, {{{"Hovedskyting", false, Link::MainOwnNumber, 0, ""}, {"Mesterskap", false, Link::None, 0, ""}}}},
    {{3}, {{{"Hovedskyting", false, Link::Main, 2, ""}, {"Mesterskap", false, Link::None, 0, ""}}}},
};

// Categories that take part, by the full kind.
struct CategoryRow {
    OrgSet orgs;
    KindSet kinds;
    Offered offered;
    const char* categories;
};
const CategoryRow kCategories[] = {
    {{1}, KindSet::Range(0, 255), Offered::Always, "4"},
    {{1}, {1, 6, 129}, Offered::Always, "5"},
    {{2, 6}, {4, 132}, Offered::National, "1-4"},
    {{2, 6}, {5, 133}, Offered::National, "1-6"},
};

template <size_t N>
const ProgramRow* Find(const ProgramRow (&rows)[N], int kind)
{
    for (const ProgramRow& row : rows)
        if (row.kinds.Has(kind))
            return &row;
    return nullptr;
}

}  // namespace

int CDataEvent::BuildProgram(int orgType, int finalIndex, int kind, CBVConfig& eventSettings, int& subEvents,
                             int event, int holds, int extraHolds) const
{
    const bool final = finalIndex != 0;
    const bool generic = (kind & templates::kKindNumber) == 0;
    // Rows in the order they are written: the generic kind first.
    std::vector<const SeriesRun*> series;
    std::vector<const SubEventRow*> subs;
    auto take = [&](const ProgramRow* row) {
        if (!row)
            return;
        for (const SeriesRun& run : row->series)
            if (run.name)
                series.push_back(&run);
        for (const SubEventRow& sub : row->subs)
            if (sub.name)
                subs.push_back(&sub);
    };

    take(final ? Find(kGenericFinal, kind) : Find(kGenericMain, kind));
    const ProgramRow* own = nullptr;
    bool hasOwnFinals = false;
    if (orgType == 1) {
        own = final ? Find(kOrg1Final, kind) : Find(kOrg1Main, kind);
    } else if (orgType == 2 || orgType == 6) {
        own = final ? Find(kOrg2Final, kind) : generic ? nullptr : Find(kOrg2Main, kind & templates::kKindNumber);
        hasOwnFinals = true;
    } else if (orgType == 3) {
        own = final ? Find(kOrg3Final, kind) : generic ? nullptr : Find(kOrg3Main, kind & templates::kKindNumber);
        hasOwnFinals = true;
    }
    take(own);
    if (final && hasOwnFinals && !own)
        for (const FinalWithoutTemplate& row : kFinalsWithoutTemplate)
            if (row.orgs.Has(orgType))
                for (const SubEventRow& sub : row.subs)
                    subs.push_back(&sub);

    int s = 0;
    for (const SeriesRun* run : series) {
        int count = run->count == kHolds ? holds : run->count == kExtraHolds ? extraHolds : run->count;
        std::string pattern = platform::Ansi(run->name);
        bool numbered = pattern.find("%d") != std::string::npos;
        for (int i = 1; i <= count; ++i) {
            std::string name = pattern;
            if (numbered)
                name.replace(name.find("%d"), 2, std::to_string(i));
            ++s;
            ::WriteItem(eventSettings, EventItems::SeriesName(s), name);
            ::WriteItem(eventSettings, EventItems::SeriesShots(s), run->shots);
        }
    }

    int k = 0;
    for (const SubEventRow* sub : subs) {
        std::string code;
        switch (sub->link) {
        case Link::None:
            break;
        case Link::Main:
            code = {static_cast<char>(0x80 | sub->sub), static_cast<char>(finalIndex)};
            break;
        case Link::Previous:
            code = {static_cast<char>(0x80 | sub->sub), static_cast<char>(event - 1)};
            break;
        case Link::MainOwnNumber:
            code = {static_cast<char>(0x80 | finalIndex), static_cast<char>(finalIndex)};
            break;
        }
        code += templates::NumberBytes(sub->series, holds);
        ++k;
        ::WriteItem(eventSettings, EventItems::SubEventName(k), platform::Ansi(sub->name));
        ::WriteItem(eventSettings, EventItems::SubSeries(k), code);
        ::WriteItem(eventSettings, EventItems::SubEventReport(k), sub->report ? 1 : 0);
    }

    for (const CategoryRow& row : kCategories)
        if (row.orgs.Has(orgType) && row.kinds.Has(kind) &&
            templates::IsOffered(row.offered, nationalClasses != 0, internationalClasses != 0))
            for (char category : templates::NumberBytes(row.categories))
                ::WriteItem(eventSettings, EventItems::CategoryUsed(static_cast<unsigned char>(category)), 1);

    subEvents = k;
    return s;
}

}  // namespace results
