// bvtool res: BVRes's data of a competition from the command line, until
// BVRes's screens exist; each call opens the competition in the folder as
// BVRes opens it, so files and folders are made the same way.
#include "ResCommands.h"

#include "foundation/files/BVConfig.h"
#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProfileStore.h"
#include "platform/files/SystemPath.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataFileOpen.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <utility>

#include <unistd.h>

namespace bvtool::res {

using namespace results;

bool ParseOptions(const Args& args, size_t from, const std::set<std::string>& withValue,
                  const std::set<std::string>& flags, Options& options, std::string& error)
{
    for (size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (flags.count(a)) {
            options.values[a].push_back("");
        } else if (withValue.count(a)) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            options.values[a].push_back(args[++i]);
        } else {
            error = "unknown option '" + a + "'";
            return false;
        }
    }
    return true;
}

bool Number(const std::string& text, long low, long high, long& value, const std::string& what, std::string& error)
{
    if (!ParseInt(text, value) || value < low || value > high) {
        error = what + " is a number from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                text + "'";
        return false;
    }
    return true;
}

std::vector<std::string> SplitList(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

bool EnterFolder(const std::string& dir, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        error = "no folder " + dir;
        return false;
    }
    if (chdir(dir.c_str()) != 0) {
        error = "cannot work in " + dir;
        return false;
    }
    // A file of a newer BVRes is not touched: say so the way BVRes does, and stop.
    SetNewerVersionHandler([](const std::string&) {
        Fail(ToScreen(ResString(IDS_NEWER_VERSION)));
        std::exit(1);
    });
    // Nor is a damaged one: name it with its fault, and stop before anything
    // is made from what could not be read.
    SetDamagedFileHandler([](const std::string& path, const std::string& fault) {
        Fail(ToScreen(path) + ": " + fault);
        std::exit(1);
    });
    platform::SetProgramName("BVRes");
    return true;
}

void KeepGoingOnDamagedFiles(std::atomic<int>& named)
{
    // The worker meets the file on every pass; it is named once.
    auto nameOnce = [&named](const std::string& path, const std::string& fault) {
        static std::mutex mutex;
        static std::map<std::string, std::string> seen;
        std::lock_guard<std::mutex> lock(mutex);
        if (std::exchange(seen[path], fault) != fault) {
            Fail(ToScreen(path + ": " + fault));
            ++named;
        }
    };
    SetDamagedFileHandler(nameOnce);
    SetNewerVersionHandler([nameOnce](const std::string& path) { nameOnce(path, ResString(IDS_NEWER_VERSION)); });
}

bool OpenCompetition(CCompetition& comp, std::string& error)
{
    if (comp.Open() != 0) {
        error = "cannot make the folder Common";
        return false;
    }
    if (!comp.Comp().IsOpen()) {
        error = "cannot open competition " + std::to_string(comp.competition);
        return false;
    }
    return true;
}

CDataEvent* EventOf(CCompetition& comp, const std::string& text, std::string& error)
{
    long n;
    if (!Number(text, 1, 999, n, "an event", error))
        return nullptr;
    comp.RefreshEvents();
    CDataEvent* event = comp.GetEvent(static_cast<int>(n));
    if (!event)
        error = "no event " + text + " in competition " + std::to_string(comp.competition);
    return event;
}

void PrintRelays(CCompetition& comp, CDataEvent& event)
{
    int relays = ::ReadItem(comp.Comp(), CompItems::EventRelays(event.Number()));
    for (int r = 1; r <= relays; ++r) {
        std::string label;
        int state = 0;
        int number = event.RelayLabel(r, label, state);
        std::printf("%d\t%d\t%d\t%s\n", r, number, state, ToScreen(label).c_str());
    }
}

namespace {

int RunComp(const Args& args)
{
    std::string error;
    Options o;
    long n;
    if (args.size() < 3)
        return Fail("usage: bvtool res comp DIR COMP [options]");
    if (!Number(args[2], 1, 999, n, "a competition", error) ||
        !ParseOptions(args, 3, {"--name", "--org", "--classes", "--categories", "--exch-on", "--interval"}, {}, o,
                      error) ||
        !EnterFolder(args[1], error))
        return Fail(error);
    // UserCompetition first, so that the competition opens as BVRes opens it.
    platform::CreateFolder(kCommonFolder);
    {
        CBVConfig user;
        user.Open(".\\Common\\User.bvc", 1);
        if (!user.IsOpen() || ::WriteItem(user, UserItems::kCompetition, static_cast<int>(n)) != 0)
            return Fail("cannot write Common/User.bvc in " + args[1]);
    }
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    CBVConfig& c = comp.Comp();
    long value;
    if (o.Has("--name"))
        ::WriteItem(c, CompItems::kName, ToFile(o.Get("--name")));
    if (o.Has("--org")) {
        if (!Number(o.Get("--org"), 0, 99, value, "an organisation type", error))
            return Fail(error);
        ::WriteItem(c, CompItems::kOrgType, static_cast<int>(value));
    }
    if (o.Has("--classes")) {
        auto names = SplitList(ToFile(o.Get("--classes")));
        ::WriteItem(c, CompItems::kClassCount, static_cast<int>(names.size()));
        for (size_t i = 0; i < names.size(); ++i)
            ::WriteItem(c, CompItems::ClassName(static_cast<int>(i) + 1), names[i]);
    }
    if (o.Has("--categories")) {
        auto letters = SplitList(ToFile(o.Get("--categories")));
        ::WriteItem(c, CompItems::kCategoryCount, static_cast<int>(letters.size()));
        for (size_t i = 0; i < letters.size(); ++i)
            ::WriteItem(c, CompItems::CategoryLetter(static_cast<int>(i) + 1), letters[i]);
    }
    if (o.Has("--exch-on")) {
        if (!Number(o.Get("--exch-on"), 0, 1, value, "--exch-on", error))
            return Fail(error);
        ::WriteItem(comp.Exch(), ExchItems::kOn, static_cast<int>(value));
    }
    if (o.Has("--interval")) {
        if (!Number(o.Get("--interval"), 0, 100000, value, "--interval", error))
            return Fail(error);
        ::WriteItem(comp.Exch(), ExchItems::kInterval, static_cast<int>(value));
    }
    return 0;
}

int RunRelay(const Args& args)
{
    std::string error;
    Options o;
    long index;
    if (args.size() < 4)
        return Fail("usage: bvtool res relay DIR EVENT INDEX [options]");
    if (!Number(args[3], 1, 999, index, "a relay index", error) ||
        !ParseOptions(args, 4, {"--number", "--day", "--time", "--flags", "--text"}, {}, o, error) ||
        !EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    CDataEvent* event = EventOf(comp, args[2], error);
    if (!event)
        return Fail(error);
    int r = static_cast<int>(index);
    CBVConfig& s = event->Settings();
    long value;
    struct IntOption {
        const char* name;
        ConfigIntItem item;
        long high;
    };
    for (const IntOption& opt : {IntOption{"--number", EventItems::RelayNumber(r), 999},
                                 IntOption{"--day", EventItems::RelayDay(r), 999},
                                 IntOption{"--flags", EventItems::RelayFlags(r), 0x7FFFFFFF}}) {
        if (!o.Has(opt.name))
            continue;
        if (!Number(o.Get(opt.name), 0, opt.high, value, opt.name, error))
            return Fail(error);
        ::WriteItem(s, opt.item, static_cast<int>(value));
    }
    if (o.Has("--time"))
        ::WriteItem(s, EventItems::RelayTime(r), ToFile(o.Get("--time")));
    if (o.Has("--text"))
        ::WriteItem(s, EventItems::RelayText(r), ToFile(o.Get("--text")));
    ConfigIntItem relays = CompItems::EventRelays(event->Number());
    if (::ReadItem(comp.Comp(), relays) < r)
        ::WriteItem(comp.Comp(), relays, r);
    return 0;
}

int RunShooter(const Args& args)
{
    std::string error;
    Options o;
    long start;
    if (args.size() < 4)
        return Fail("usage: bvtool res shooter DIR START NAME [options]");
    if (!Number(args[2], 1, 0x7FFFFFFF, start, "a start number", error) ||
        !ParseOptions(args, 4, {"--club", "--class", "--cat", "--bib"}, {}, o, error) ||
        !EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    CDataShooter& shooters = comp.Shooters();
    int32_t nr = static_cast<int32_t>(start);
    // What is not given stays as the shooter has it.
    ShooterRecord old;
    bool known = shooters.Read(nr, old);
    long club = known ? old.club : 0;
    long classNr = known ? old.classNr : 0;
    std::string category = known ? FieldText(old.category, sizeof old.category) : "";
    std::string bib = known ? FieldText(old.bib, sizeof old.bib) : "";
    if (o.Has("--club") && !Number(o.Get("--club"), 0, 32767, club, "a club", error))
        return Fail(error);
    if (o.Has("--class") && !Number(o.Get("--class"), 0, 255, classNr, "a class", error))
        return Fail(error);
    if (o.Has("--cat"))
        category = ToFile(o.Get("--cat"));
    if (o.Has("--bib"))
        bib = ToFile(o.Get("--bib"));
    if (shooters.Put(nr, bib, ToFile(args[3]), static_cast<int>(club), static_cast<int>(classNr), category) != 0)
        return Fail("cannot write the shooter into Shooter.bvd");
    return 0;
}

int RunEntry(const Args& args)
{
    std::string error;
    Options o;
    long relay, target, start;
    if (args.size() < 6)
        return Fail("usage: bvtool res entry DIR EVENT RELAY TARGET START [options]");
    if (!Number(args[3], 1, 999, relay, "a relay index", error) ||
        !Number(args[4], 1, 999, target, "a target", error) ||
        !Number(args[5], 0, 0x7FFFFFFF, start, "a start number", error) ||
        !ParseOptions(args, 6, {"--class", "--cat", "--paid", "--score", "--changed", "--state", "--remarks", "--comments"},
                      {}, o, error) ||
        !EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    CDataEvent* event = EventOf(comp, args[2], error);
    if (!event)
        return Fail(error);
    RegRecord entry{};
    entry.relay = static_cast<int16_t>(relay);
    entry.target = static_cast<int16_t>(target);
    entry.startNr = static_cast<int32_t>(start);
    long value = comp.Shooters().GetClass(entry.startNr);
    if (o.Has("--class") && !Number(o.Get("--class"), 0, 255, value, "a class", error))
        return Fail(error);
    entry.classNr = static_cast<uint8_t>(value);
    SetFieldText(entry.category, sizeof entry.category,
                 o.Has("--cat") ? ToFile(o.Get("--cat")) : comp.Shooters().GetText(entry.startNr));
    // Packed fields are filled from locals: they may sit at any address.
    int32_t paid = 0, score = 0, changed = 0, state = 0;
    struct IntOption {
        const char* name;
        int32_t* field;
        long low, high;
    };
    for (const IntOption& opt : {IntOption{"--paid", &paid, -0x7FFFFFFF, 0x7FFFFFFF},
                                 IntOption{"--score", &score, -0x7FFFFFFF, 0x7FFFFFFF},
                                 IntOption{"--changed", &changed, 0, 1},
                                 IntOption{"--state", &state, -0x7FFFFFFF, 0x7FFFFFFF}}) {
        if (!o.Has(opt.name))
            continue;
        if (!Number(o.Get(opt.name), opt.low, opt.high, value, opt.name, error))
            return Fail(error);
        *opt.field = static_cast<int32_t>(value);
    }
    // The remark bits share the entry's state word: bit i - 1 is remark i.
    if (o.Has("--remarks")) {
        const std::string& bits = o.Get("--remarks");
        char* end = nullptr;
        const unsigned long mask = bits.empty() ? 0 : std::strtoul(bits.c_str(), &end, 0);
        if (bits.empty() || *end != '\0' || bits[0] == '-' || mask > 0xFFFFFFFFul)
            return Fail("--remarks is a 32-bit mask (decimal or 0x..), not '" + bits + "'");
        state = static_cast<int32_t>(static_cast<uint32_t>(mask));
    }
    entry.paid = paid;
    entry.startScore = score;
    entry.state = state;
    entry.changed = static_cast<uint8_t>(changed);
    if (o.Has("--comments"))
        SetFieldText(entry.comments, sizeof entry.comments, ToFile(o.Get("--comments")));
    if (!event->Entries().IsOpen() || event->Entries().File().WriteRecKey(&entry) != 0)
        return Fail("cannot write the entry into Reg" + args[2] + ".bvd");
    return 0;
}

int RunStartNr(const Args& args)
{
    std::string error;
    if (args.size() != 2)
        return Fail("usage: bvtool res startnr DIR");
    if (!EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    int32_t number = comp.NextStartNumber();
    if (number == 0)
        return Fail("no start number: StartNr.bvd is locked by another program or cannot be written");
    std::printf("%d\n", number);
    return 0;
}

int RunRelays(const Args& args, bool renumber)
{
    std::string error;
    if (args.size() != 3)
        return Fail(std::string("usage: bvtool res ") + (renumber ? "renumber" : "relays") + " DIR EVENT");
    if (!EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenCompetition(comp, error))
        return Fail(error);
    CDataEvent* event = EventOf(comp, args[2], error);
    if (!event)
        return Fail(error);
    if (renumber && event->RenumberRelays() != 0)
        return Fail("cannot lock Event" + args[2] + ".bvc to renumber its relays");
    PrintRelays(comp, *event);
    return 0;
}

int RunRes(const Args& args)
{
    if (args.empty())
        return Fail("usage: bvtool res comp|event|relay|shooter|entry|startnr|relays|renumber|values|card|shot|series|zip|clubs|org|orgs|persons|create-event|verify|list|export|club|web|upload DIR ... (see 'bvtool help')");
    const std::string& sub = args[0];
    if (sub == "comp")
        return RunComp(args);
    if (sub == "event")
        return RunEvent(args);
    if (sub == "relay")
        return RunRelay(args);
    if (sub == "shooter")
        return RunShooter(args);
    if (sub == "entry")
        return RunEntry(args);
    if (sub == "startnr")
        return RunStartNr(args);
    if (sub == "relays")
        return RunRelays(args, false);
    if (sub == "renumber")
        return RunRelays(args, true);
    if (sub == "values")
        return RunValues(args);
    if (sub == "card")
        return RunCard(args);
    if (sub == "shot")
        return RunShotEntry(args);
    if (sub == "series")
        return RunSeriesStore(args);
    if (sub == "zip" || sub == "clubs" || sub == "org" || sub == "orgs" || sub == "persons")
        return RunRegisters(args);
    if (sub == "create-event")
        return RunCreateEvent(args);
    if (sub == "verify")
        return RunVerify(args);
    if (sub == "exchange" || sub == "worker" || sub == "log")
        return RunExchange(args);
    if (sub == "list")
        return RunList(args);
    if (sub == "export")
        return RunExport(args);
    if (sub == "club")
        return RunClub(args);
    if (sub == "web")
        return RunWeb(args);
    if (sub == "upload")
        return RunUpload(args);
    if (sub == "rank")
        return RunRank(args);
    if (sub == "prize-table")
        return RunPrizeTable(args);
    if (sub == "prize")
        return RunPrize(args);
    if (sub == "shootoff")
        return RunShootoff(args);
    if (sub == "team")
        return RunTeam(args);
    return Fail("unknown res command '" + sub + "' (see 'bvtool help')");
}

constexpr const char* kUsage =
    "bvtool res comp DIR COMP [--name TEXT] [--org T] [--classes N1,N2..] [--categories L1,L2..] [--exch-on 0|1] "
    "[--interval N]\n"
    "bvtool res event DIR EVENT [--name TEXT] [--series SHOTS[:TYPE[:NAME]],..] [--relays N] [--days YYYYMMDD,..] "
    "[--targets F-L] [--exch TYPE] [--prefix PP] [--start-score K] [--text TEXT] [--kme-folder PATH] [--kme-final] "
    "[--final] [--separate-final] [--result-type N] [--classes-used C,..] [--sub NAME=B.B..]..\n"
    "bvtool res relay DIR EVENT INDEX [--number N] [--day D] [--time HH:MM] [--flags N] [--text TEXT]\n"
    "bvtool res shooter DIR START NAME [--club N] [--class K] [--cat TEXT] [--bib TEXT]\n"
    "bvtool res entry DIR EVENT RELAY TARGET START [--class K] [--cat TEXT] [--paid N] [--score N] [--changed 0|1] "
    "[--remarks BITS] "
    "[--state N] [--comments TEXT]\n"
    "bvtool res startnr DIR\n"
    "bvtool res relays DIR EVENT\n"
    "bvtool res renumber DIR EVENT\n"
    "bvtool res values TYPE [--final] [--org N]\n"
    "bvtool res card DIR EVENT RELAY TARGET [--kind K] [--start N]\n"
    "bvtool res shot DIR EVENT RELAY TARGET SERIES SHOT TEXT\n"
    "bvtool res series DIR EVENT RELAY TARGET SERIES V[:X:Y:T]..\n"
    "bvtool res zip ARCHIVE [--base FOLDER] [--append] [--flat] FILE..\n"
    "bvtool res clubs import DIR ORG [FILE]\n"
    "bvtool res clubs list DIR ORG [--by number]\n"
    "bvtool res org DIR ORG KIND ITEM TEXT\n"
    "bvtool res orgs DIR ORG\n"
    "bvtool res persons list DIR ORG\n"
    "bvtool res persons put DIR ORG CLUB NAME [--class TEXT] [--bib TEXT] [--date YYYYMMDD]\n"
    "bvtool res persons find DIR ORG CLUB NAME\n"
    "bvtool res persons clean DIR ORG [--merge] [--older-than YEAR]\n"
    "bvtool res create-event DIR --org T --kind K [--exch X] [--types T1,T2,..] [--holds H] [--extra-holds E] "
    "[--national] [--international] [--comp N]\n"
    "bvtool res verify DIR [EVENT] [--limit N] [--no-missing] [--no-payment]\n"
    "bvtool res exchange DIR [--comp N] [--runs N] [--read-now]\n"
    "bvtool res worker DIR [--comp N] [--passes N] [--pass-ms MS] [--take-part] [--web]\n"
    "bvtool res log DIR [--comp N] [--clear]\n"
    "bvtool res list DIR --kind N [--out FILE|-] [--comp N] [--event E] [--relays A-B] [--targets A-B] "
    "[--classes C,..] [--letters TEXT] [--series S,..] [--variant V] [--team T] [--common] [--complete-final] "
    "[--time-protest] [--result-fields] [--with-prizes] [--web] [--split] [--email] [--png] [--font-size N] "
    "[--sheet-series N] [--aiming-mark] [--compact] [--header] [--footer] [--yes] [--now \"YYYY-MM-DD HH:MM\"] "
    "[--printer none|a4|a4-landscape] [--offsets L,T]\n"
    "bvtool res export DIR shooters|relay R|sius R [--comp N] [--event E] [--targets A-B]\n"
    "bvtool res club DIR ORG NUMBER NAME [--address1 T] [--address2 T] [--address3 T] [--email T] [--account T]\n"
    "bvtool res web DIR [--comp N] [--aweb 0|1] [--pweb 0|1] [--cards 0|1] [--ftp 0|1] [--pages N] [--prize] "
    "[--now \"YYYY-MM-DD HH:MM\"]\n"
    "bvtool res upload DIR [--comp N] [--runs K] [--pause]\n"
    "bvtool res rank DIR EVENT class P C | group G [C] [--comp N]\n"
    "bvtool res rank DIR team T [--comp N]\n"
    "bvtool res prize-table N\n"
    "bvtool res prize DIR EVENT class P|group G ITEM=VALUE..\n"
    "bvtool res shootoff DIR EVENT KIND LIST CLASS START PLACE [--text TEXT] [--gift 0|1]\n"
    "bvtool res team DIR T ITEM=VALUE..";

}  // namespace

[[maybe_unused]] const bool registered = Register(
    {"res", kUsage,
     "BVRes's data in its working folder DIR: makes the competition, events, relays, shooters and entries, draws "
     "start numbers, lists and renumbers relays; shows the value systems and a result card, enters shots and series; "
     "packs zip backups; keeps the club, organisation and person registers; creates events from the built-in "
     "templates and checks events' data; makes lists into RTF, HTML, text or PDF files (or prints their model), "
     "exports the entries, writes a club into the club register; ranks prize lists and team competitions as the prize "
     "forms do, shows the prize table, writes prize lists, shoot-offs and team competitions; makes the web pages and "
     "uploads the framed site",
     &RunRes});

}  // namespace bvtool::res
