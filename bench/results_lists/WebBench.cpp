// The web site of a large competition: 5,000 shooters of 100 clubs on 2
// events of 25 relays of 100 targets, half of them with a series of shots,
// class and combined prize lists. Measured: the whole site (slide show and
// framed site; without card pictures, with all of them new, and with all
// of them there already and unchanged), the web step's pages for
// one changed relay of one event, and the upload of the whole site and of
// an unchanged one to an FTP server on this machine.
#include "BigCompetition.h"
#include "FtpServer.h"

#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/lists/web/WebChoices.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kRelays = 25;
constexpr int kMaxTargets = 100;
constexpr int kClubs = 100;
const char* const kPassword = "Bench-2231-passord";

// Under the tests the benchmark only shows that it runs, on a few targets.
int Relays() { return CountFromEnvironment("BV_WEB_BENCH_RELAYS", kRelays); }
const int kTargets = CountFromEnvironment("BV_WEB_BENCH_TARGETS", kMaxTargets);

// Class and combined prize lists, all of them in the slide show.
BigCompetitionShape Shape()
{
    BigCompetitionShape shape;
    shape.folder = "bvbench-web";
    shape.classes = {"Senior", "Junior", "Veteran"};
    shape.clubs = kClubs;
    shape.events = kEvents;
    shape.relays = Relays();
    shape.targets = kTargets;
    shape.firstDate = 20260517;
    shape.eventInCompetition = [](CCompetition& comp, int e) { ::WriteItem(comp.Exch(), ExchItems::EventType(e), 1); };
    shape.relayTime = [](int) { return std::string("09:00"); };
    shape.prizeLists = [](CBVConfig& prizes, int) {
        ::WriteItem(prizes, PrizeItems::kClassCount, 1);
        ::WriteItem(prizes, PrizeItems::ClassSource(1), 1);
        ::WriteItem(prizes, PrizeItems::ClassClasses(1), std::string("\x01\x02\x03"));
        ::WriteItem(prizes, PrizeItems::ClassOrder(1), 2);
        ::WriteItem(prizes, PrizeItems::kGroupCount, 1);
        ::WriteItem(prizes, PrizeItems::GroupSource(1), 1);
        ::WriteItem(prizes, PrizeItems::GroupName(1), std::string("Sammenlagt"));
        ::WriteItem(prizes, PrizeItems::GroupClasses(1), std::string("\x01\x02\x03"));
        ::WriteItem(prizes, WebChoice::kRelayInShow, 1);
        for (int k = 1; k <= 3; ++k)
            ::WriteItem(prizes, WebChoice::ClassInShow(1, k), 1);
        ::WriteItem(prizes, WebChoice::GroupInShow(1), 1);
    };
    shape.shots = TenShotsForEveryOther;
    return shape;
}

class BigSite {
public:
    static BigSite& Get()
    {
        static BigSite site;
        return site;
    }
    CDataList& List() { return *m_list; }
    bvtest::FtpServer& Server() { return m_server; }
    int Shooters() const { return m_competition->Shooters(); }

private:
    BigSite()
    {
        static int argc = 1;
        static char name[] = "bench";
        static char* argv[] = {name, nullptr};
        // Run by hand as well as under the tests: no screen needed.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (!QGuiApplication::instance())
            m_app = std::make_unique<QGuiApplication>(argc, argv);
        m_competition = std::make_unique<BigCompetition>(Shape());
        m_folder = m_competition->Folder();
        if (!m_server.Start(m_folder + "/served", {{"web", kPassword, "", bvtest::kFtpAllRights}}))
            std::abort();
        std::filesystem::create_directories(m_folder + "/served/site");
        CCompetition comp;
        comp.Open();
        WriteItem(comp.User(), UserItems::kFtpServer, m_server.Address());
        ::WriteItem(comp.User(), UserItems::kFtpUser, std::string("web"));
        ::WriteItem(comp.User(), UserItems::kFtpPassword, std::string(kPassword));
        WriteItem(comp.User(), UserItems::kFtpFolder, std::string("site"));
        m_list = std::make_unique<CDataList>();
        m_list->OpenCompetition();
        m_list->SetReporter([](const std::string& text, CDataList::Message) { std::fprintf(stderr, "%s\n", text.c_str()); });
    }
    ~BigSite()
    {
        m_list.reset();
        m_server.Stop();
        m_competition.reset();
    }

    std::unique_ptr<QGuiApplication> m_app;
    std::unique_ptr<BigCompetition> m_competition;
    std::string m_folder;
    bvtest::FtpServer m_server;
    std::unique_ptr<CDataList> m_list;
};

// The card pictures in the framed site's data folder.
int Pictures()
{
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator("PWeb/data"))
        pictures += entry.path().extension() == ".png" ? 1 : 0;
    return pictures;
}

// Cards 0: without card pictures; 1: every picture new (the folder's
// pictures removed before each pass); 2: every picture there already, its
// card unchanged.
void BM_WebSite(benchmark::State& state)
{
    CDataList& list = BigSite::Get().List();
    const int cards = static_cast<int>(state.range(0));
    if (cards == 2)
        MakeWholeSite(list, kEvents, true);
    for (auto _ : state) {
        if (cards == 1) {
            state.PauseTiming();
            for (const auto& entry : std::filesystem::directory_iterator("PWeb/data"))
                if (entry.path().extension() == ".png")
                    std::filesystem::remove(entry.path());
            state.ResumeTiming();
        }
        MakeWholeSite(list, kEvents, cards != 0);
    }
    state.counters["shooters"] = BigSite::Get().Shooters();
    state.counters["files"] = static_cast<double>(
        std::distance(std::filesystem::directory_iterator("PWeb/data"), std::filesystem::directory_iterator{}));
    if (cards != 0)
        state.counters["pictures"] = Pictures();
}
BENCHMARK(BM_WebSite)->Arg(0)->Arg(1)->Arg(2)->ArgName("cards")->Unit(benchmark::kMillisecond);

// What the web step does for one event whose relay got new results.
void BM_WebStepOneEvent(benchmark::State& state)
{
    CDataList& list = BigSite::Get().List();
    CCompetition& comp = list.Competition();
    comp.awebOn = comp.pwebOn = 1;
    comp.cardsOn = 0;
    comp.ftpOn = 0;
    for (auto _ : state) {
        comp.WebFlags().Set(1, 1);
        list.ResetSelection();
        list.MakeFramePages(static_cast<uint16_t>(kEvents * 5));
        list.MakeWebPages(1, 1, 0);
        list.MakeWebPages(1, 0, 0);
        list.MakeWebIndex();
    }
}
BENCHMARK(BM_WebStepOneEvent)->Unit(benchmark::kMillisecond);

// The framed site uploaded whole (a fresh list object), then unchanged.
void BM_UploadWhole(benchmark::State& state)
{
    BigSite& site = BigSite::Get();
    MakeWholeSite(site.List(), kEvents, true);
    int sent = 0;
    for (auto _ : state) {
        CDataList fresh;
        fresh.OpenCompetition();
        fresh.SetReporter([](const std::string& text, CDataList::Message) { std::fprintf(stderr, "%s\n", text.c_str()); });
        const CDataList::UploadOutcome outcome = fresh.UploadWeb();
        if (outcome.Failed())
            state.SkipWithError("the upload failed");
        sent = outcome.sent;
    }
    state.counters["sent"] = sent;
}
BENCHMARK(BM_UploadWhole)->Unit(benchmark::kMillisecond);

void BM_UploadUnchanged(benchmark::State& state)
{
    CDataList& list = BigSite::Get().List();
    list.UploadWeb();
    int sent = 0;
    for (auto _ : state) {
        const CDataList::UploadOutcome outcome = list.UploadWeb();
        if (outcome.Failed())
            state.SkipWithError("the upload failed");
        sent = outcome.sent;
    }
    state.counters["sent"] = sent;
}
BENCHMARK(BM_UploadUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
