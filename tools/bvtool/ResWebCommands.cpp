// bvtool res web|upload: BVRes's web pages made as the web screen makes
// them, and the framed site sent to the organiser's FTP server as the page
// writer sends it. Fields are separated by one tab.
#include "ResCommands.h"

#include "platform/files/SystemPath.h"
#include "platform/system/Clock.h"
#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <iostream>
#include <string>

namespace bvtool::res {

using namespace results;

namespace {

// Opens the list object's competition: --comp N, or User.bvc's.
bool OpenList(CDataList& list, const Options& o, std::string& error)
{
    long n = 0;
    if (o.Has("--comp") && !Number(o.Get("--comp"), 1, 999, n, "a competition", error))
        return false;
    if (list.OpenCompetition(static_cast<int>(n)) != 0) {
        error = "cannot make the folder Common";
        return false;
    }
    if (!list.Competition().Comp().IsOpen()) {
        error = "cannot open competition " + std::to_string(list.Competition().competition);
        return false;
    }
    return true;
}

// What a message box would say goes to standard error.
void ReportToStderr(CDataList& list)
{
    list.SetReporter([](const std::string& text, CDataList::Message) {
        std::fprintf(stderr, "%s\n", ToScreen(text).c_str());
    });
}

// "YYYY-MM-DD HH:MM" as the clock's time.
bool ParseWebNow(const std::string& text, platform::LocalTime& now)
{
    int y, mo, d, h, mi;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &y, &mo, &d, &h, &mi, &tail) != 5 || mo < 1 || mo > 12 ||
        d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59)
        return false;
    now = {y, mo, d, h, mi, 0, 0, 0};
    return true;
}

// A page as the folder holds it: "PWeb/data/1-Relay-1.htm".
std::string Shown(const std::string& systemPath)
{
    std::string native = platform::NativePath(systemPath);
    if (native.rfind("./", 0) == 0)
        native.erase(0, 2);
    return native;
}

}  // namespace

int RunWeb(const Args& args)
{
    std::string error;
    Options o;
    long aweb = -1, pweb = -1, cards = -1, ftp = -1, pages = -1;
    if (args.size() < 2)
        return Fail("usage: bvtool res web DIR [--comp N] [--aweb 0|1] [--pweb 0|1] [--cards 0|1] [--ftp 0|1] "
                    "[--pages N] [--prize] [--now \"YYYY-MM-DD HH:MM\"]");
    if (!ParseOptions(args, 2, {"--comp", "--aweb", "--pweb", "--cards", "--ftp", "--pages", "--now"}, {"--prize"}, o,
                      error) ||
        (o.Has("--aweb") && !Number(o.Get("--aweb"), 0, 1, aweb, "--aweb", error)) ||
        (o.Has("--pweb") && !Number(o.Get("--pweb"), 0, 1, pweb, "--pweb", error)) ||
        (o.Has("--cards") && !Number(o.Get("--cards"), 0, 1, cards, "--cards", error)) ||
        (o.Has("--ftp") && !Number(o.Get("--ftp"), 0, 1, ftp, "--ftp", error)) ||
        (o.Has("--pages") && !Number(o.Get("--pages"), 0, 65535, pages, "--pages", error)))
        return Fail(error);
    static platform::ManualClock clock;
    if (o.Has("--now")) {
        if (!ParseWebNow(o.Get("--now"), clock.now))
            return Fail("--now is \"YYYY-MM-DD HH:MM\", not '" + o.Get("--now") + "'");
        platform::SetClock(&clock);
    }
    if (!EnterFolder(args[1], error))
        return Fail(error);
    StartQt();
    CDataList list;
    if (!OpenList(list, o, error))
        return Fail(error);
    ReportToStderr(list);
    list.onPageWritten = [](const std::string& path) {
        std::printf("wrote\t%s\n", ToScreen(Shown(path)).c_str());
        std::fflush(stdout);
    };
    list.onFileSent = [](const std::string& name) {
        std::printf("sent\t%s\n", ToScreen(name).c_str());
        std::fflush(stdout);
    };

    // The switches given, as the web screen stores them.
    CCompetition& comp = list.Competition();
    CBVConfig& web = comp.Web();
    const struct {
        long value;
        const ConfigIntItem& item;
    } switches[] = {{aweb, WebItems::kAWebOn}, {pweb, WebItems::kPWebOn}, {cards, WebItems::kCardsOn},
                    {ftp, WebItems::kFtpOn}, {pages, WebItems::kAWebPageCount}};
    for (const auto& s : switches)
        if (s.value >= 0 && ::WriteItem(web, s.item, static_cast<int>(s.value)) != 0)
            return Fail("cannot write WEB.bvc of competition " + std::to_string(comp.competition));
    comp.awebOn = ::ReadItem(web, WebItems::kAWebOn);
    comp.pwebOn = ::ReadItem(web, WebItems::kPWebOn);
    comp.cardsOn = ::ReadItem(web, WebItems::kCardsOn);
    comp.ftpOn = ::ReadItem(web, WebItems::kFtpOn) != 0;
    const int pageCount = ::ReadItem(web, WebItems::kAWebPageCount);

    // The card question, answered Yes.
    if (comp.cardsOn)
        std::fprintf(stderr, "%s\n", ToScreen(ResString(IDS_WEB_CARDS_ASK)).c_str());
    // Switching web pages on for the competition on this computer.
    ::WriteItem(comp.Comp(), CompItems::kWebOn, 1);
    comp.context[kCtxWebExchange] = 1;
    comp.webRebuildAll = 1;
    if (comp.awebOn) {
        ::WriteItem(web, WebItems::kCommonDirty, 1);
        ::WriteItem(web, WebItems::kAWebPageCount, pageCount);
    }
    if (comp.pwebOn)
        list.MakeWebIndex();

    const int events = EventCount(comp.Comp());
    CBVConfig& team = comp.Team();
    const int teams = ::ReadItem(team, TeamItems::kCount);
    constexpr int kTeamBit = 0x80;
    if (o.Has("--prize")) {
        for (int e = 1; e <= events; ++e)
            if (comp.GetEvent(e))
                list.MakeWebPages(e, 0, 1);
        for (int t = 1; t <= teams; ++t)
            if (!::ReadItem(team, TeamItems::Name(t)).empty())
                list.MakeWebPages(t + kTeamBit, 0, 1);
        ::WriteItem(web, WebItems::kPWebOn, 0);
        comp.pwebOn = 0;
    } else {
        for (int e = 1; e <= events; ++e) {
            if (!comp.GetEvent(e))
                continue;
            if (comp.awebOn)
                list.MakeWebPages(e, 1, 0);
            if (comp.pwebOn)
                list.MakeWebPages(e, 0, 0);
        }
        for (int t = 1; t <= teams; ++t) {
            if (::ReadItem(team, TeamItems::Name(t)).empty())
                continue;
            if (comp.pwebOn)
                list.MakeWebPages(t + kTeamBit, 0, 1);
            else if (comp.awebOn)
                list.MakeWebPages(t + kTeamBit, 1, 1);
        }
    }
    comp.webRebuildAll = 0;
    // The slide show's pages, as the worker's next pass makes them.
    if (comp.awebOn)
        list.MakeFramePages(static_cast<uint16_t>(pageCount));
    return 0;
}

int RunUpload(const Args& args)
{
    std::string error;
    Options o;
    long runs = 1;
    if (args.size() < 2)
        return Fail("usage: bvtool res upload DIR [--comp N] [--runs K] [--pause]");
    if (!ParseOptions(args, 2, {"--comp", "--runs"}, {"--pause"}, o, error) ||
        (o.Has("--runs") && !Number(o.Get("--runs"), 1, 100000, runs, "--runs", error)) ||
        !EnterFolder(args[1], error))
        return Fail(error);
    CDataList list;
    if (!OpenList(list, o, error))
        return Fail(error);
    ReportToStderr(list);
    list.onFileSent = [](const std::string& name) {
        std::printf("sent\t%s\n", ToScreen(name).c_str());
        std::fflush(stdout);
    };
    bool anyFailed = false;
    for (long k = 1; k <= runs; ++k) {
        if (k > 1 && o.Has("--pause")) {
            std::string line;
            if (!std::getline(std::cin, line))
                break;
        }
        std::printf("run\t%ld\n", k);
        std::fflush(stdout);
        const CDataList::UploadOutcome outcome = list.UploadWeb();
        anyFailed = anyFailed || outcome.Failed();
        std::printf("done\t%ld\t%d\t%d\n", k, outcome.sent, outcome.failed);
        std::fflush(stdout);
    }
    return anyFailed ? 1 : 0;
}

}  // namespace bvtool::res
