// bvtool res event: makes or changes an event of BVRes's open competition.
// A new event gets the defaults of what is not given: one day (today),
// relays numbered by index on day 1 at 08:00, one series of ten shots,
// targets 1 to 10, the name "Øvelse N". An event in use keeps every item
// that is not given.
#include "ResCommands.h"

#include "platform/system/Clock.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"

#include <cstdio>
#include <cstdlib>

namespace bvtool::res {

using namespace results;

namespace {

struct Series {
    int shots;
    int type;
    std::string name;  // Windows-1252; empty: "Serie %d"
};

bool ParseSeries(const std::string& text, std::vector<Series>& out, std::string& error)
{
    for (const std::string& part : SplitList(text)) {
        auto fields = SplitList(part, ':');
        long shots, type = 0;
        if (!Number(fields[0], 0, 250, shots, "the shots of a series", error))
            return false;
        if (fields.size() > 1 && !Number(fields[1], 0, 11, type, "a series type", error))
            return false;
        std::string name = fields.size() > 2 ? ToFile(part.substr(part.find(':', part.find(':') + 1) + 1)) : "";
        out.push_back({static_cast<int>(shots), static_cast<int>(type), name});
    }
    return true;
}

// "NAME=1.2.0xFF": the sub-event's name and its code bytes.
bool ParseSub(const std::string& text, std::string& name, std::string& codes, std::string& error)
{
    size_t eq = text.find('=');
    if (eq == std::string::npos) {
        error = "a sub-event is NAME=B.B.., not '" + text + "'";
        return false;
    }
    name = ToFile(text.substr(0, eq));
    codes.clear();
    for (const std::string& b : SplitList(text.substr(eq + 1), '.')) {
        char* end = nullptr;
        long value = b.empty() ? -1 : std::strtol(b.c_str(), &end, b.rfind("0x", 0) == 0 || b.rfind("0X", 0) == 0 ? 16 : 10);
        if (b.empty() || *end != '\0' || value < 1 || value > 255) {
            error = "a code byte is 1 to 255 (decimal or 0xHH), not '" + b + "'";
            return false;
        }
        codes += static_cast<char>(value);
    }
    return true;
}

}  // namespace

int RunEvent(const Args& args)
{
    std::string error;
    Options o;
    long n;
    if (args.size() < 3)
        return Fail("usage: bvtool res event DIR EVENT [options]");
    if (!Number(args[2], 1, 999, n, "an event", error) ||
        !ParseOptions(args, 3,
                      {"--name", "--series", "--relays", "--days", "--targets", "--exch", "--prefix", "--start-score",
                       "--text", "--kme-folder", "--result-type", "--classes-used", "--sub"},
                      {"--kme-final", "--final", "--separate-final"}, o, error))
        return Fail(error);
    const int e = static_cast<int>(n);

    // Everything is checked before anything is written.
    std::vector<Series> series;
    if (!ParseSeries(o.Has("--series") ? o.Get("--series") : "10", series, error))
        return Fail(error);
    long relays = 1;
    if (o.Has("--relays") && !Number(o.Get("--relays"), 1, 999, relays, "--relays", error))
        return Fail(error);
    std::vector<int> days;
    if (o.Has("--days")) {
        for (const std::string& d : SplitList(o.Get("--days"))) {
            long date;
            if (!Number(d, 19000101, 99991231, date, "a day date (YYYYMMDD)", error))
                return Fail(error);
            days.push_back(static_cast<int>(date));
        }
    } else {
        platform::LocalTime now = platform::Now();
        days.push_back(now.year * 10000 + now.month * 100 + now.day);
    }
    long first = 1, last = 10;
    if (o.Has("--targets")) {
        auto range = SplitList(o.Get("--targets"), '-');
        if (range.size() != 2 || !Number(range[0], 1, 999, first, "a first target", error) ||
            !Number(range[1], first, 999, last, "a last target", error))
            return Fail(error.empty() ? "targets are F-L, not '" + o.Get("--targets") + "'" : error);
    }
    std::vector<std::pair<std::string, std::string>> subs;
    if (o.Has("--sub"))
        for (const std::string& s : o.values.at("--sub")) {
            std::string name, codes;
            if (!ParseSub(s, name, codes, error))
                return Fail(error);
            subs.emplace_back(name, codes);
        }
    std::vector<int> classesUsed;
    if (o.Has("--classes-used"))
        for (const std::string& c : SplitList(o.Get("--classes-used"))) {
            long value;
            if (!Number(c, 1, 255, value, "a class", error))
                return Fail(error);
            classesUsed.push_back(static_cast<int>(value));
        }
    long exchType = 0, startScore = 0, resultType = 0;
    if ((o.Has("--exch") && !Number(o.Get("--exch"), 0, 4, exchType, "--exch", error)) ||
        (o.Has("--start-score") && !Number(o.Get("--start-score"), 0, 999, startScore, "--start-score", error)) ||
        (o.Has("--result-type") && !Number(o.Get("--result-type"), 0, 999, resultType, "--result-type", error)))
        return Fail(error);

    if (!EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    CBVConfig& c = comp.Comp();
    const bool made = ::ReadItem(c, CompItems::EventInUse(e)) == 0;
    // What a new event takes by default, or what is given.
    auto wanted = [&](const char* option) { return made || o.Has(option); };
    ::WriteItem(c, CompItems::EventInUse(e), 1);
    if (::ReadItem(c, CompItems::kEventCount) < e)
        ::WriteItem(c, CompItems::kEventCount, e);
    char defaultName[32];
    std::snprintf(defaultName, sizeof defaultName, "%s %d", ToFile("Øvelse").c_str(), e);
    if (wanted("--name"))
        ::WriteItem(c, CompItems::EventName(e), o.Has("--name") ? ToFile(o.Get("--name")) : std::string(defaultName));
    if (wanted("--days"))
        ::WriteItem(c, CompItems::EventDays(e), static_cast<int>(days.size()));
    if (wanted("--relays"))
        ::WriteItem(c, CompItems::EventRelays(e), static_cast<int>(relays));
    if (wanted("--series"))
        ::WriteItem(c, CompItems::EventSeries(e), static_cast<int>(series.size()));
    if (wanted("--targets")) {
        ::WriteItem(c, CompItems::EventFirstTarget(e), static_cast<int>(first));
        ::WriteItem(c, CompItems::EventLastTarget(e), static_cast<int>(last));
    }
    if (wanted("--sub"))
        ::WriteItem(c, CompItems::EventSubEvents(e), static_cast<int>(subs.size()));

    comp.RefreshEvents();
    CDataEvent* event = comp.GetEvent(e);
    if (!event || !event->Settings().IsOpen())
        return Fail("cannot open Event" + args[2] + ".bvc");
    CBVConfig& s = event->Settings();
    if (made)
        ::WriteItem(s, EventItems::kKind, 0);
    if (wanted("--days"))
        for (size_t d = 0; d < days.size(); ++d)
            ::WriteItem(s, EventItems::DayDate(static_cast<int>(d) + 1), days[d]);
    if (wanted("--relays"))
        for (int r = 1; r <= relays; ++r) {
            ::WriteItem(s, EventItems::RelayNumber(r), r);
            ::WriteItem(s, EventItems::RelayDay(r), 1);
            ::WriteItem(s, EventItems::RelayTime(r), std::string(EventItems::kRelayTimeWhenCreated));
        }
    if (wanted("--series"))
        for (size_t i = 0; i < series.size(); ++i) {
            int k = static_cast<int>(i) + 1;
            char name[32];
            std::snprintf(name, sizeof name, "Serie %d", k);
            ::WriteItem(s, EventItems::SeriesShots(k), series[i].shots);
            ::WriteItem(s, EventItems::SeriesType(k), series[i].type);
            ::WriteItem(s, EventItems::SeriesName(k), series[i].name.empty() ? std::string(name) : series[i].name);
        }
    for (size_t i = 0; i < subs.size(); ++i) {
        ::WriteItem(s, EventItems::SubEventName(static_cast<int>(i) + 1), subs[i].first);
        ::WriteItem(s, EventItems::SubSeries(static_cast<int>(i) + 1), subs[i].second);
    }
    for (int cls : classesUsed)
        ::WriteItem(s, EventItems::ClassUsed(cls), 1);
    if (o.Has("--final"))
        ::WriteItem(s, EventItems::Final(e), 1);
    if (o.Has("--separate-final"))
        ::WriteItem(s, EventItems::kSeparateFinal, 1);
    if (o.Has("--result-type"))
        ::WriteItem(s, EventItems::ResultType(e), static_cast<int>(resultType));

    CBVConfig& x = comp.Exch();
    if (o.Has("--exch"))
        ::WriteItem(x, ExchItems::EventType(e), static_cast<int>(exchType));
    if (o.Has("--prefix"))
        ::WriteItem(x, ExchItems::EventPrefix(e), ToFile(o.Get("--prefix")));
    if (o.Has("--start-score"))
        ::WriteItem(x, ExchItems::StartScore(e), static_cast<int>(startScore));
    if (o.Has("--text"))
        WriteItem(x, ExchItems::EventText(e), ToFile(o.Get("--text")));
    if (o.Has("--kme-folder"))
        WriteItem(x, ExchItems::EventFolder(e), ToFile(o.Get("--kme-folder")));
    if (o.Has("--kme-final"))
        ::WriteItem(x, ExchItems::KmeFinal(e), 1);
    return 0;
}

}  // namespace bvtool::res
