// The web site of a large competition: 5,000 shooters of 100 clubs on 2
// events of 25 relays of 100 targets, half of them with a series of shots,
// class and combined prize lists. Measured: the whole site (slide show and
// framed site, with and without card pictures), the web step's pages for
// one changed relay of one event, and the upload of the whole site and of
// an unchanged one to an FTP server on this machine.
#include "FtpServer.h"

#include "foundation/text/FieldText.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/lists/web/WebChoices.h"
#include "results/registers/DataClub.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kRelays = 25;
constexpr int kMaxTargets = 100;
constexpr int kClubs = 100;
const char* const kPassword = "Bench-2231-passord";

// Under the tests the benchmark only shows that it runs, on a few targets.
int FromEnvironment(const char* name, int most)
{
    const char* value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::min(std::atoi(value), most) : most;
}
int Relays() { return FromEnvironment("BV_WEB_BENCH_RELAYS", kRelays); }
const int kTargets = FromEnvironment("BV_WEB_BENCH_TARGETS", kMaxTargets);

class BigSite {
public:
    static BigSite& Get()
    {
        static BigSite site;
        return site;
    }
    CDataList& List() { return *m_list; }
    bvtest::FtpServer& Server() { return m_server; }
    int Shooters() const { return m_shooters; }

private:
    BigSite()
    {
        static int argc = 1;
        static char name[] = "bench";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance())
            m_app = std::make_unique<QGuiApplication>(argc, argv);
        const std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/bvbench-web-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0)
            std::abort();
        m_folder = pattern;
        Make();
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
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    void Make()
    {
        CCompetition comp;
        if (comp.Open() != 0)
            std::abort();
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kName, std::string("Landsskytterstevnet"));
        ::WriteItem(c, CompItems::kOrgType, 1);
        ::WriteItem(c, CompItems::kClassCount, 3);
        const char* classes[] = {"Senior", "Junior", "Veteran"};
        for (int k = 1; k <= 3; ++k)
            ::WriteItem(c, CompItems::ClassName(k), std::string(classes[k - 1]));
        CDataClub clubs;
        clubs.LoadClubs(1);
        for (int k = 1; k <= kClubs; ++k) {
            ClubRecord club{};
            SetFieldText(club.name, sizeof club.name, "Skytterlag " + std::to_string(k));
            clubs.Put(&club, k, CDataClub::kClubs);
        }
        const int relays = Relays();
        ::WriteItem(c, CompItems::kEventCount, kEvents);
        for (int e = 1; e <= kEvents; ++e) {
            ::WriteItem(c, CompItems::EventInUse(e), 1);
            ::WriteItem(c, CompItems::EventName(e), "Øvelse " + std::to_string(e));
            ::WriteItem(c, CompItems::EventRelays(e), relays);
            ::WriteItem(c, CompItems::EventDays(e), 1);
            ::WriteItem(c, CompItems::EventSeries(e), 1);
            ::WriteItem(c, CompItems::EventFirstTarget(e), 1);
            ::WriteItem(c, CompItems::EventLastTarget(e), kTargets);
            ::WriteItem(comp.Exch(), ExchItems::EventType(e), 1);
        }
        comp.RefreshEvents();
        int32_t nr = 0;
        for (int e = 1; e <= kEvents; ++e) {
            CDataEvent* event = comp.GetEvent(e);
            CBVConfig& s = event->Settings();
            ::WriteItem(s, EventItems::DayDate(1), 20260516 + e);
            ::WriteItem(s, EventItems::SeriesShots(1), 10);
            for (int k = 1; k <= 3; ++k)
                ::WriteItem(s, EventItems::ClassUsed(k), 1);
            for (int r = 1; r <= relays; ++r) {
                ::WriteItem(s, EventItems::RelayNumber(r), r);
                ::WriteItem(s, EventItems::RelayDay(r), 1);
                ::WriteItem(s, EventItems::RelayTime(r), std::string("09:00"));
            }
            CBVConfig& prizes = event->Prizes();
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
            CDataRes& card = event->Card();
            card.LoadEvent(e);
            for (int r = 1; r <= relays; ++r) {
                for (int t = 1; t <= kTargets; ++t) {
                    ++nr;
                    comp.Shooters().Put(nr, "", "Skytter " + std::to_string(nr), 1 + nr % kClubs, 1 + nr % 3,
                                        nr % 2 ? "A" : "B");
                    RegRecord entry{};
                    entry.relay = static_cast<int16_t>(r);
                    entry.target = static_cast<int16_t>(t);
                    entry.startNr = nr;
                    entry.classNr = static_cast<uint8_t>(1 + nr % 3);
                    SetFieldText(entry.category, sizeof entry.category, nr % 2 ? "A" : "B");
                    event->Entries().File().WriteRecKey(&entry);
                    if (nr % 2 == 0) {
                        ShotEntry shots[10];
                        for (int k = 0; k < 10; ++k)
                            shots[k] = {1, static_cast<uint8_t>(k + 1), static_cast<uint8_t>(80 + (nr + k) % 29),
                                        0, 0, 0};
                        card.LoadCard(r, t);
                        card.StoreSeries(r, t, 1, shots, 10);
                    }
                }
            }
        }
        m_shooters = nr;
    }

    std::unique_ptr<QGuiApplication> m_app;
    std::string m_folder;
    int m_shooters = 0;
    bvtest::FtpServer m_server;
    std::unique_ptr<CDataList> m_list;
};

// The whole site as the web screen's "Oppdater websider" makes it.
void MakeSite(CDataList& list, bool cards)
{
    CCompetition& comp = list.Competition();
    comp.awebOn = comp.pwebOn = 1;
    comp.cardsOn = cards ? 1 : 0;
    comp.ftpOn = 0;
    comp.webRebuildAll = 1;
    list.MakeWebIndex();
    for (int e = 1; e <= kEvents; ++e) {
        list.MakeWebPages(e, 1, 0);
        list.MakeWebPages(e, 0, 0);
    }
    list.MakeFramePages(static_cast<uint16_t>(kEvents * 5));
    comp.webRebuildAll = 0;
}

void BM_WebSite(benchmark::State& state)
{
    CDataList& list = BigSite::Get().List();
    for (auto _ : state)
        MakeSite(list, state.range(0) != 0);
    state.counters["shooters"] = BigSite::Get().Shooters();
    state.counters["files"] = static_cast<double>(
        std::distance(std::filesystem::directory_iterator("PWeb/data"), std::filesystem::directory_iterator{}));
}
BENCHMARK(BM_WebSite)->Arg(0)->Arg(1)->ArgName("cards")->Unit(benchmark::kMillisecond);

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
    MakeSite(site.List(), true);
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
