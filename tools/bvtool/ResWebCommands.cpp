// bvtool res web|upload: BVRes's web pages made as the web screen makes
// them, and the framed site sent to the organiser's FTP server as the page
// writer sends it. Fields are separated by one tab.
#include "ResCommands.h"

#include "platform/system/Clock.h"
#include "results/data/CompetitionItems.h"
#include "results/lists/DataList.h"

#include <cstdio>
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

}  // namespace

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

namespace bvtool::res {
int RunWeb(const Args&) { return Fail("bvtool res web: not built yet"); }
}  // namespace bvtool::res
