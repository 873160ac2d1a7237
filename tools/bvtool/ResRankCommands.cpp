// bvtool res rank|prize-table|prize|shootoff|team: the prize forms'
// rankings of a prize list or a team competition as the forms make them,
// a row of the prize table, and what the prize and team screens write: the
// items of a prize list, a shoot-off in the rank file, the items and
// members of a team competition. Fields are separated by one tab.
#include "ResCommands.h"

#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataRank.h"
#include "results/data/DataTeam.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/ranking/StakePrizeTable.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace bvtool::res {

using namespace results;

namespace {

void Line(const std::vector<std::string>& fields)
{
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + fields[i];
    std::printf("%s\n", line.c_str());
}

std::string N(long long n) { return std::to_string(n); }

template <typename T>
std::string Joined(const std::vector<T>& values)
{
    std::string text;
    for (size_t i = 0; i < values.size(); ++i)
        text += (i ? "," : "") + std::to_string(values[i]);
    return text;
}

// A whole number, decimal or 0x.., within [low, high].
bool Value(const std::string& text, long low, long high, long& value, const std::string& what, std::string& error)
{
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    errno = 0;
    char* end = nullptr;
    value = text.empty() ? 0 : std::strtol(text.c_str(), &end, hex ? 16 : 10);
    if (text.empty() || errno != 0 || *end != '\0' || value < low || value > high) {
        error = what + " is a number from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                text + "'";
        return false;
    }
    return true;
}

// A code string: one character per number, the numbers comma-separated.
bool Codes(const std::string& text, std::string& codes, std::string& error)
{
    codes.clear();
    if (text.empty())
        return true;
    for (const std::string& part : SplitList(text)) {
        long code;
        if (!Value(part, 1, 255, code, "a code", error))
            return false;
        codes += static_cast<char>(code);
    }
    return true;
}

void PrintRanking(CDataList& list)
{
    const RankingOutcome& r = list.ranking;
    Line({"rank", N(r.kind), N(::ReadItem(list.Competition().Comp(), CompItems::kOrgType)), N(r.share), N(r.per),
          N(r.stake), N(static_cast<long long>(list.resultRows.size())), N(r.winners), N(r.pool), N(r.table)});
    Line({"weights", Joined(r.weights)});
    for (size_t i = 0; i < list.resultRows.size(); ++i) {
        const ResultRow& row = list.resultRows[i];
        const std::string pos = N(static_cast<long long>(i) + 1);
        long long start = 0, relay = 0, target = 0;
        std::string name;
        const TeamRow* team = nullptr;
        const auto k = static_cast<size_t>(row.shooterRow);
        if (list.teamResults) {
            team = &list.teamRows.at(k);
            name = team->name;
        } else {
            const ShooterRow& shooter = list.shooterRows.at(k);
            start = shooter.startNr;
            relay = shooter.relay;
            target = shooter.target;
            name = shooter.name;
        }
        Line({"row", pos, N(row.shooterRow), N(start), N(relay), N(target), N(row.place), N(row.finalPlace),
              N(row.sharedPlace), N(row.shootOff), N(row.prizeAmount), N(row.prizeFlag), ToScreen(PlaceText(row)),
              ToScreen(name)});
        Line({"figures", pos, Joined(row.ranking), Joined(row.series)});
        for (int s = 1; team && s <= r.memberSlots; ++s)
            Line({"member", pos, N(s), N(team->memberStart[s]), N(team->memberEvent[s]), N(team->memberRelay[s]),
                  N(team->memberTarget[s]), N(team->memberScore[s])});
    }
}

// The items of the prize and team screens by their names; the number at
// the end of a name is the item's index (a definition row, an entered
// team, a place).
struct Item {
    enum Kind { Int, Text, Code, Pair } kind;
    std::function<ConfigIntItem(int)> number;
    std::function<ConfigTextItem(int)> text;
    std::function<ConfigTextPair(int)> pair;
};

Item IntItem(std::function<ConfigIntItem(int)> f) { return {Item::Int, std::move(f), {}, {}}; }
Item TextItem(std::function<ConfigTextItem(int)> f, bool codes = false)
{
    return {codes ? Item::Code : Item::Text, {}, std::move(f), {}};
}
Item PairItem(std::function<ConfigTextPair(int)> f) { return {Item::Pair, {}, {}, std::move(f)}; }

// "RowEvent2" as "RowEvent" and 2; a name without a number has index 0.
void SplitName(const std::string& name, std::string& base, int& index)
{
    size_t at = name.size();
    while (at > 0 && std::isdigit(static_cast<unsigned char>(name[at - 1])))
        --at;
    base = name.substr(0, at);
    index = at < name.size() && name.size() - at <= 4 ? std::atoi(name.c_str() + at) : 0;
}

// Writes the item; ITEM=VALUE as the command line gave it.
bool WriteNamed(CBVConfig& file, const Item& item, int index, const std::string& value, const std::string& name,
                std::string& error)
{
    int rc = 0;
    switch (item.kind) {
    case Item::Int: {
        long number;
        if (!Value(value, INT32_MIN, INT32_MAX, number, name, error))
            return false;
        rc = ::WriteItem(file, item.number(index), static_cast<int>(number));
        break;
    }
    case Item::Code: {
        std::string codes;
        if (!Codes(value, codes, error))
            return false;
        rc = ::WriteItem(file, item.text(index), codes);
        break;
    }
    case Item::Text:
        rc = ::WriteItem(file, item.text(index), ToFile(value));
        break;
    case Item::Pair:
        rc = results::WriteItem(file, item.pair(index), ToFile(value));
        break;
    }
    if (rc != 0)
        error = "cannot write " + name;
    return rc == 0;
}

// At least atLeast: a count the screens raise when an item beyond it is set.
void Raise(CBVConfig& file, const ConfigIntItem& count, int atLeast)
{
    if (::ReadItem(file, count) < atLeast)
        ::WriteItem(file, count, atLeast);
}

bool SplitAssignment(const std::string& arg, std::string& name, std::string& value, std::string& error)
{
    const size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "an item is ITEM=VALUE, not '" + arg + "'";
        return false;
    }
    name = arg.substr(0, eq);
    value = arg.substr(eq + 1);
    return true;
}

}  // namespace

int RunRank(const Args& args)
{
    constexpr const char* kRankUsage =
        "usage: bvtool res rank DIR EVENT class P C | group G [C]  or  bvtool res rank DIR team T  [--comp N]";
    std::string error;
    Options o;
    if (args.size() < 4)
        return Fail(kRankUsage);
    const bool team = args[2] == "team";
    long event = 0, list = 0, classNr = 0, t = 0;
    size_t from;
    if (team) {
        if (!Number(args[3], 1, 255, t, "a team competition", error))
            return Fail(error);
        from = 4;
    } else {
        if (args.size() < 5 || (args[3] != "class" && args[3] != "group"))
            return Fail(kRankUsage);
        const bool group = args[3] == "group";
        if (!Number(args[2], 1, 999, event, "an event", error) ||
            !Number(args[4], 1, 32767, list, group ? "a combined list" : "a class prize list", error))
            return Fail(error);
        from = 5;
        if (!group && args.size() < 6)
            return Fail(kRankUsage);
        if (args.size() > 5 && args[5].rfind("--", 0) != 0) {
            if (!Number(args[5], 0, 255, classNr, "a class", error))
                return Fail(error);
            from = 6;
        }
    }
    if (!ParseOptions(args, from, {"--comp"}, {}, o, error) || !EnterFolder(args[1], error))
        return Fail(error);
    CDataList rankingList;
    if (!OpenListCompetition(rankingList, o, error))
        return Fail(error);
    CCompetition& comp = rankingList.Competition();
    if (team) {
        if (t > ::ReadItem(comp.Team(), TeamItems::kCount))
            return Fail("no team competition " + args[3] + " in competition " + std::to_string(comp.competition));
        rankingList.MakeTeamRanking(static_cast<int>(t));
    } else {
        comp.RefreshEvents();
        if (!comp.GetEvent(static_cast<int>(event)))
            return Fail("no event " + args[2] + " in competition " + std::to_string(comp.competition));
        const int kind = args[3] == "group" ? CDataRank::kGroupList : CDataRank::kClassList;
        rankingList.MakeRanking(static_cast<int>(event), kind, static_cast<int>(list), static_cast<int>(classNr));
    }
    PrintRanking(rankingList);
    return 0;
}

int RunPrizeTable(const Args& args)
{
    std::string error;
    long n;
    if (args.size() != 2)
        return Fail("usage: bvtool res prize-table N");
    if (!Number(args[1], 0, 100000, n, "a number of participants", error))
        return Fail(error);
    Line({"table", N(n), Joined(StakePrizeRow(static_cast<int>(n)))});
    return 0;
}

int RunPrize(const Args& args)
{
    std::string error;
    if (args.size() < 5 || (args[3] != "class" && args[3] != "group"))
        return Fail("usage: bvtool res prize DIR EVENT class P|group G ITEM=VALUE..");
    const bool group = args[3] == "group";
    long list;
    if (!Number(args[4], 1, 32767, list, group ? "a combined list" : "a class prize list", error))
        return Fail(error);
    CCompetition comp;
    if (!EnterFolder(args[1], error) || !OpenCompetition(comp, error))
        return Fail(error);
    CDataEvent* event = EventOf(comp, args[2], error);
    if (!event)
        return Fail(error);
    CBVConfig& prizes = event->Prizes();

    using namespace PrizeItems;
    const std::map<std::string, Item> classItems = {
        {"Source", IntItem(ClassSource)},           {"Classes", TextItem(ClassClasses, true)},
        {"Categories", TextItem(ClassCategories, true)}, {"Gifts", IntItem(ClassGifts)},
        {"Order", IntItem(ClassOrder)},             {"Columns", TextItem(ClassColumns, true)},
        {"Landscape", IntItem(ClassLandscape)},     {"WebColumns", TextItem(ClassWebColumns, true)},
        {"NoSettlement", IntItem(ClassNoSettlement)}, {"Share", TextItem(ClassShare)},
        {"Kind", IntItem(ClassKind)},               {"Stake", IntItem(ClassStake)},
    };
    const std::map<std::string, Item> groupItems = {
        {"Source", IntItem(GroupSource)},           {"Classes", TextItem(GroupClasses, true)},
        {"Gifts", IntItem(GroupGifts)},
        {"Categories", TextItem(GroupCategories, true)}, {"Order", IntItem(GroupOrder)},
        {"Columns", TextItem(GroupColumns, true)},  {"Landscape", IntItem(GroupLandscape)},
        {"WebColumns", TextItem(GroupWebColumns, true)}, {"NoSettlement", IntItem(GroupNoSettlement)},
        {"Name", TextItem(GroupName)},              {"Share", TextItem(GroupShare)},
        {"TextCount", IntItem(GroupTextCount)},     {"Kind", IntItem(GroupKind)},
        {"Fee", IntItem(GroupFee)},                 {"Stake", IntItem(GroupStake)},
    };
    const int p = static_cast<int>(list);
    Raise(prizes, group ? kGroupCount : kClassCount, p);
    for (size_t i = 5; i < args.size(); ++i) {
        std::string name, value, base;
        int place;
        if (!SplitAssignment(args[i], name, value, error))
            return Fail(error);
        SplitName(name, base, place);
        if (group && base == "PlaceText" && place >= 1) {
            const Item item = PairItem([p](int m) { return GroupPlaceText(p, m); });
            if (!WriteNamed(prizes, item, place, value, name, error))
                return Fail(error);
            continue;
        }
        const auto& items = group ? groupItems : classItems;
        auto it = items.find(name);
        if (it == items.end())
            return Fail("no prize list item '" + name + "'");
        if (!WriteNamed(prizes, it->second, p, value, name, error))
            return Fail(error);
    }
    return 0;
}

int RunShootoff(const Args& args)
{
    std::string error;
    Options o;
    if (args.size() < 8)
        return Fail("usage: bvtool res shootoff DIR EVENT KIND LIST CLASS START PLACE [--text TEXT] [--gift 0|1]");
    long kind, list, classNr, start, place, gift = 0;
    if (!Number(args[3], CDataRank::kClassList, CDataRank::kGroupList, kind, "a list kind", error) ||
        !Number(args[4], 1, 32767, list, "a prize list", error) ||
        !Number(args[5], 0, 255, classNr, "a class", error) ||
        !Number(args[6], 1, INT32_MAX, start, "a start number", error) ||
        !Number(args[7], 0, 32767, place, "a shoot-off place", error) ||
        !ParseOptions(args, 8, {"--text", "--gift"}, {}, o, error) ||
        (o.Has("--gift") && !Number(o.Get("--gift"), 0, 1, gift, "--gift", error)))
        return Fail(error);
    CCompetition comp;
    if (!EnterFolder(args[1], error) || !OpenCompetition(comp, error))
        return Fail(error);
    CDataEvent* event = EventOf(comp, args[2], error);
    if (!event)
        return Fail(error);
    CDataRank& ranks = event->Ranks();
    RankRecord record;
    ranks.Find(static_cast<int>(kind), static_cast<int>(list), static_cast<int>(classNr), static_cast<int32_t>(start),
               record);
    record.shootOff = static_cast<int16_t>(place);
    if (o.Has("--text"))
        SetFieldText(record.rankText, sizeof record.rankText, ToFile(o.Get("--text")));
    if (o.Has("--gift"))
        record.gift = static_cast<int16_t>(gift);
    if (ranks.Put(static_cast<int>(kind), static_cast<int>(list), static_cast<int>(classNr),
                  static_cast<int32_t>(start), record) != 0)
        return Fail("cannot write the rank file of event " + args[2]);
    return 0;
}

int RunTeam(const Args& args)
{
    std::string error;
    long t;
    if (args.size() < 3)
        return Fail("usage: bvtool res team DIR T ITEM=VALUE..");
    if (!Number(args[2], 1, 255, t, "a team competition", error))
        return Fail(error);
    CCompetition comp;
    if (!EnterFolder(args[1], error) || !OpenCompetition(comp, error))
        return Fail(error);
    CBVConfig& team = comp.Team();
    const int n = static_cast<int>(t);
    Raise(team, TeamItems::kCount, n);

    using namespace TeamItems;
    // By the name's base: the item, and the count that its index raises.
    struct Named {
        Item item;
        std::function<ConfigIntItem(int)> count;
    };
    auto of = [n](auto f) { return [n, f](int i) { return f(n, i); }; };
    auto whole = [n](auto f) { return [n, f](int) { return f(n); }; };
    const std::map<std::string, Named> items = {
        {"Name", {TextItem(whole(TeamItems::Name)), {}}},
        {"Size", {IntItem(whole(Size)), {}}},
        {"Represent", {IntItem(whole(Represent)), {}}},
        {"BestOnly", {IntItem(whole(BestOnly)), {}}},
        {"RankRule", {IntItem(whole(RankRule)), {}}},
        {"PrizeRankRule", {IntItem(whole(PrizeRankRule)), {}}},
        {"RuleCount", {IntItem(whole(RuleCount)), {}}},
        {"PrizeCount", {IntItem(whole(PrizeCount)), {}}},
        {"RowCount", {IntItem(whole(RowCount)), {}}},
        {"EntryCount", {IntItem(whole(EntryCount)), {}}},
        {"Fee", {IntItem(whole(Fee)), {}}},
        {"RowEvent", {IntItem(of(RowEvent)), RowCount}},
        {"RowSubEvent", {IntItem(of(RowSubEvent)), RowCount}},
        {"RowCodes", {TextItem(of(RowCodes), true), RowCount}},
        {"RowOption", {IntItem(of(RowOption)), RowCount}},
        {"RuleRow", {IntItem(of(RuleRow)), RuleCount}},
        {"RuleClasses", {TextItem(of(RuleClasses), true), RuleCount}},
        {"RuleCategories", {TextItem(of(RuleCategories), true), RuleCount}},
        {"RuleMin", {IntItem(of(RuleMin)), RuleCount}},
        {"RuleMax", {IntItem(of(RuleMax)), RuleCount}},
        {"EntryName", {TextItem(of(EntryName)), EntryCount}},
        {"EntryClub", {IntItem(of(EntryClub)), EntryCount}},
        {"PrizeText", {PairItem(of(PrizeText)), PrizeCount}},
    };

    for (size_t i = 3; i < args.size(); ++i) {
        std::string name, value;
        if (!SplitAssignment(args[i], name, value, error))
            return Fail(error);
        if (name == "member" || name == "shootoff") {
            // J:SLOT:START:EVENT, or J:VALUE for the team's own record.
            const auto parts = SplitList(value, ':');
            const bool member = name == "member";
            long j, slot = CDataTeam::kTeamSlot, start, eventNr = 0;
            if (parts.size() != (member ? 4u : 2u))
                return Fail(member ? "member=J:SLOT:START:EVENT" : "shootoff=J:VALUE");
            if (!Number(parts[0], 1, 32767, j, "an entered team", error) ||
                (member && !Number(parts[1], 1, 100, slot, "a member slot", error)) ||
                !Number(parts[member ? 2 : 1], INT32_MIN, INT32_MAX, start, member ? "a start number" : "a shoot-off",
                        error) ||
                (member && !Number(parts[3], INT32_MIN, INT32_MAX, eventNr, "an event", error)))
                return Fail(error);
            if (!comp.TeamMembers().IsOpen())
                return Fail("cannot open Team.bvd");
            TeamMemberRecord record{};
            record.competition = static_cast<uint8_t>(n);
            record.slot = static_cast<uint8_t>(slot);
            record.team = static_cast<int16_t>(j);
            record.startNr = static_cast<int32_t>(start);
            record.event = static_cast<int32_t>(eventNr);
            if (comp.TeamMembers().File().WriteRecKey(&record) != 0)
                return Fail("cannot write Team.bvd");
            Raise(team, EntryCount(n), static_cast<int>(j));
            continue;
        }
        std::string base;
        int index;
        SplitName(name, base, index);
        auto it = items.find(base);
        if (it == items.end() || (it->second.count ? index < 1 : base != name))
            return Fail("no team item '" + name + "'");
        if (!WriteNamed(team, it->second.item, index, value, name, error))
            return Fail(error);
        if (it->second.count)
            Raise(team, it->second.count(n), index);
    }
    return 0;
}

}  // namespace bvtool::res
