// bvtool res create-event|verify: a new event from the built-in templates,
// as the event wizard makes it, and the data check of events, one row per
// line with its fields separated by one tab.
#include "ResCommands.h"

#include "platform/files/FileSystem.h"
#include "results/data/CompetitionItems.h"
#include "results/events/VerifySink.h"

#include <cstdio>

namespace bvtool::res {

using namespace results;

namespace {

// Prints each row as it comes and counts them.
class PrintingSink : public VerifySink {
public:
    void AddError(int event, const std::string& eventName, int relay, int target, const std::string& text) override
    {
        std::printf("%d\t%s\t%d\t%d\t%s\n", event, ToScreen(eventName).c_str(), relay, target, ToScreen(text).c_str());
        ++rows;
    }
    int rows = 0;
};

}  // namespace

int RunCreateEvent(const Args& args)
{
    std::string error;
    Options o;
    if (args.size() < 2)
        return Fail("usage: bvtool res create-event DIR --org T --kind K [options]");
    if (!ParseOptions(args, 2, {"--org", "--kind", "--exch", "--types", "--holds", "--extra-holds", "--comp"},
                      {"--national", "--international"}, o, error))
        return Fail(error);
    if (!o.Has("--org") || !o.Has("--kind"))
        return Fail("create-event needs --org T and --kind K");
    long org, kind, exch = 0, holds = 0, extraHolds = 0, competition = 0;
    if (!Number(o.Get("--org"), 0, 255, org, "an organisation type", error) ||
        !Number(o.Get("--kind"), 0, 255, kind, "a program kind", error) ||
        (o.Has("--exch") && !Number(o.Get("--exch"), 0, 4, exch, "an exchange type", error)) ||
        (o.Has("--holds") && !Number(o.Get("--holds"), 0, 255, holds, "--holds", error)) ||
        (o.Has("--extra-holds") && !Number(o.Get("--extra-holds"), 0, 255, extraHolds, "--extra-holds", error)) ||
        (o.Has("--comp") && !Number(o.Get("--comp"), 1, 999, competition, "a competition", error)))
        return Fail(error);
    std::string types;
    if (o.Has("--types"))
        for (const std::string& t : SplitList(o.Get("--types"))) {
            long type;
            if (!Number(t, 0, 11, type, "a series type", error))
                return Fail(error);
            types += static_cast<char>(type);
        }

    if (!EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    if (competition == 0)
        competition = comp.competition;
    std::string folder = ".\\Comp" + std::to_string(competition);
    if (!platform::FolderExists(folder) && platform::CreateFolder(folder) != 0)
        return Fail("cannot make the folder of competition " + std::to_string(competition));

    // A temporary event object, as the wizard's; the competition's own
    // event objects are made from the files afterwards.
    CDataEvent event;
    event.nationalClasses = o.Has("--national") ? 1 : 0;
    event.internationalClasses = o.Has("--international") ? 1 : 0;
    int n = event.CreateEvent(static_cast<int>(competition), static_cast<int>(org), static_cast<int>(kind),
                              static_cast<int>(exch), types, static_cast<int>(holds), static_cast<int>(extraHolds));
    if (n < 0)
        return Fail("no event made: Comp.bvc of competition " + std::to_string(competition) +
                    " is locked by another program, cannot be written or has no event number left");
    for (int e = n; e <= event.Number(); ++e)
        std::printf("event %d\n", e);
    return 0;
}

int RunVerify(const Args& args)
{
    std::string error;
    Options o;
    if (args.size() < 2)
        return Fail("usage: bvtool res verify DIR [EVENT] [--limit N] [--no-missing] [--no-payment]");
    size_t from = 2;
    std::string eventText;
    if (args.size() > 2 && args[2].rfind("--", 0) != 0)
        eventText = args[from++];
    long limit = 9999;
    if (!ParseOptions(args, from, {"--limit"}, {"--no-missing", "--no-payment"}, o, error) ||
        (o.Has("--limit") && !Number(o.Get("--limit"), 0, 32767, limit, "--limit", error)))
        return Fail(error);
    int options = (o.Has("--no-missing") ? CDataEvent::kVerifySkipMissing : 0) |
                  (o.Has("--no-payment") ? CDataEvent::kVerifySkipPayment : 0);

    if (!EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    std::vector<CDataEvent*> events;
    if (!eventText.empty()) {
        CDataEvent* event = EventOf(comp, eventText, error);
        if (!event)
            return Fail(error);
        events.push_back(event);
    } else {
        comp.RefreshEvents();
        for (int n = 1; n <= comp.EventSlots(); ++n)
            if (CDataEvent* event = comp.GetEvent(n))
                events.push_back(event);
    }
    PrintingSink sink;
    for (CDataEvent* event : events)
        event->Verify(static_cast<int>(limit), options, &sink, comp.Shooters());
    std::printf("rows %d\n", sink.rows);
    return 0;
}

}  // namespace bvtool::res
