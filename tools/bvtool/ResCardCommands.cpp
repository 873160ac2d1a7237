// bvtool res values|card|shot|series: the value systems shown byte by byte,
// one result card with its slots, texts and sums, and shots typed or stored
// on it as BVRes does. Fields are separated by one tab.
#include "ResCommands.h"

#include "results/values/DataRes.h"
#include "results/values/ValueSystems.h"

#include <cstdio>

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

std::string N(long n) { return std::to_string(n); }

// The event's card object, defined from its settings, for DIR EVENT RELAY TARGET.
struct OpenCard {
    CCompetition comp;
    CDataEvent* event = nullptr;
    int relay = 0, target = 0;
};

bool Open(const Args& args, OpenCard& c, std::string& error)
{
    long relay, target;
    if (!EnterFolder(args[1], error) || !OpenCompetition(c.comp, error))
        return false;
    c.event = EventOf(c.comp, args[2], error);
    if (!c.event || !Number(args[3], 1, 999, relay, "a relay index", error) ||
        !Number(args[4], 0, 32767, target, "a target", error))
        return false;
    c.relay = static_cast<int>(relay);
    c.target = static_cast<int>(target);
    c.event->Card().LoadEvent(c.event->Number());
    return true;
}

}  // namespace

int RunValues(const Args& args)
{
    std::string error;
    Options o;
    long type, org = 0;
    if (args.size() < 2)
        return Fail("usage: bvtool res values TYPE [--final] [--org N]");
    if (!Number(args[1], 0, 255, type, "a series type", error) ||
        !ParseOptions(args, 2, {"--org"}, {"--final"}, o, error) ||
        (o.Has("--org") && !Number(o.Get("--org"), 0, 255, org, "an organisation type", error)))
        return Fail(error);
    const int t = static_cast<int>(type);
    Line({"value", "FormatShot", "mode1", "mode2", "counted"});
    for (int v = 0; v <= 255; ++v) {
        const std::string text = values::FormatShot(t, v, 0, static_cast<int>(org));
        Line({N(v), ToScreen(text), ToScreen(values::ShotText(text, t, 1)), ToScreen(values::ShotText(text, t, 2)),
              N(values::CountedValue(t, v, o.Has("--final")))});
    }
    return 0;
}

int RunCard(const Args& args)
{
    std::string error;
    Options o;
    long kind = 0, start = 0;
    if (args.size() < 5)
        return Fail("usage: bvtool res card DIR EVENT RELAY TARGET [--kind K] [--start N]");
    if (!ParseOptions(args, 5, {"--kind", "--start"}, {}, o, error) ||
        (o.Has("--kind") && !Number(o.Get("--kind"), 0, 255, kind, "a ranking kind", error)) ||
        (o.Has("--start") && !Number(o.Get("--start"), 0, 0x7FFFFFFF, start, "a start number", error)))
        return Fail(error);
    OpenCard c;
    if (!Open(args, c, error))
        return Fail(error);
    CDataRes& res = c.event->Card();
    const bool found = res.LoadCard(c.relay, c.target) == 0;
    if (!o.Has("--start")) {
        RegRecord entry{};
        start = c.event->Entries().Read(c.relay, c.target, entry) ? entry.startNr : 0;
    }
    const ResultRecord& card = res.Record();
    Line({"card", args[2], N(c.relay), N(c.target), N(found), N(card.targetId), N(card.targetIdDef)});
    const int k = static_cast<int>(kind);
    for (int s = 1; s <= res.GetSeriesCount(); ++s) {
        for (int shot = 1; shot <= res.GetSeriesShots(s); ++shot) {
            ShotEntry e;
            res.GetShot(s, shot, e);
            Line({"shot", N(s), N(shot), N(res.SlotOf(s, shot)), N(e.value), N(e.x), N(e.y), N(e.time),
                  ToScreen(res.FormatShot(s, shot)), ToScreen(res.ShotText(s, shot, k)), N(res.CountedValue(s, shot))});
        }
    }
    for (int s = 1; s <= res.GetSeriesCount(); ++s)
        Line({"series", N(s), N(res.GetSeriesType(s)), N(res.GetSeriesShots(s)), N(res.SeriesSum(s)),
              ToScreen(res.SeriesSumText(s, k)), N(res.SeriesWidth(s)), N(res.CountShots(s))});
    const int32_t startNr = static_cast<int32_t>(start);
    for (int sub = 1; sub <= res.GetSubEventCount(); ++sub) {
        const int total = res.SubTotal(startNr, c.event->Number(), sub);
        const std::string text = res.SubTotalText(startNr, sub, k);
        // The walks over linked events load other cards; this one is reloaded.
        const int complete = res.IsSubTotalComplete(startNr, c.event->Number(), sub);
        Line({"sub", N(sub), N(total), ToScreen(text), N(complete)});
    }
    Line({"order", N(res.CheckShotOrder(0, 100, 1)), N(res.CheckShotOrder(0, 100, 2))});
    return 0;
}

int RunShotEntry(const Args& args)
{
    std::string error;
    long series, shot;
    if (args.size() != 8)
        return Fail("usage: bvtool res shot DIR EVENT RELAY TARGET SERIES SHOT TEXT");
    OpenCard c;
    if (!Open(args, c, error) || !Number(args[5], 0, 255, series, "a series", error) ||
        !Number(args[6], 0, 255, shot, "a shot", error))
        return Fail(error);
    const int rc = c.event->Card().SetShot(c.relay, c.target, static_cast<int>(series), static_cast<int>(shot),
                                           ToFile(args[7]));
    Line({"result", N(rc)});
    return rc == 0 ? 0 : Fail("the shot was not entered as typed (" + N(rc) + ")");
}

int RunSeriesStore(const Args& args)
{
    std::string error;
    long series;
    if (args.size() < 6)
        return Fail("usage: bvtool res series DIR EVENT RELAY TARGET SERIES V[:X:Y:T]..");
    OpenCard c;
    if (!Open(args, c, error) || !Number(args[5], 1, 99, series, "a series", error))
        return Fail(error);
    std::vector<ShotEntry> shots;
    for (size_t i = 6; i < args.size(); ++i) {
        const auto fields = SplitList(args[i], ':');
        long f[4] = {0, 0, 0, 0};
        if (fields.empty() || fields.size() > 4)
            return Fail("a shot is V[:X:Y:T], not '" + args[i] + "'");
        for (size_t j = 0; j < fields.size(); ++j)
            if (!Number(fields[j], j == 0 ? 0 : -32768, j == 0 ? 255 : 32767, f[j], "a shot's value or place", error))
                return Fail(error);
        shots.push_back({static_cast<uint8_t>(series), static_cast<uint8_t>(shots.size() + 1), static_cast<uint8_t>(f[0]),
                         static_cast<int16_t>(f[1]), static_cast<int16_t>(f[2]), static_cast<int16_t>(f[3])});
    }
    if (shots.size() > static_cast<size_t>(kMaxSeriesShots))
        return Fail("a series holds at most 10 shots");
    CDataRes& res = c.event->Card();
    res.LoadCard(c.relay, c.target);
    const int rc = res.StoreSeries(c.relay, c.target, static_cast<int>(series), shots.data(), static_cast<int>(shots.size()));
    Line({"result", N(rc)});
    return rc == 0 ? 0 : Fail("the series was not stored (" + N(rc) + ")");
}

}  // namespace bvtool::res
