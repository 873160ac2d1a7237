// Closing a large competition: 5,000 shooters of 100 clubs on 2 events of
// 25 relays of 100 targets, every shooter with a series of ten shots; per
// event class prize lists with money and objects and a combined list with
// its fee, entry fees per class, a team competition of automatic teams by
// club with its fee, and a club register with addresses, accounts and
// e-mail addresses. Measured:
// - the competition report (list kind 2: every result list, the team list,
//   the settlement sheet, payment list and accounts) into an RTF file, a
//   PDF file, and split into club files (RTF and HTML, with the link page,
//   the payment list and the accounts);
// - every list kind of the report form, as a file (RTF) or, for the kinds
//   that only print, into a PDF file, one after the other for both events,
//   and the whole web site, all in one run. The graphic cards take one
//   relay's first ten targets, as a printout would be asked for.
#include "foundation/text/FieldText.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintJob.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/registers/DataClub.h"

#include <QGuiApplication>
#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "BigCompetition.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kRelays = 25;
constexpr int kTargets = 100;
constexpr int kClubs = 100;

// Under the tests a relay of ten targets shows that it works.
int Relays() { return CountFromEnvironment("BV_CLOSING_RELAYS", kRelays); }
int Targets() { return CountFromEnvironment("BV_CLOSING_TARGETS", kTargets); }

BigCompetitionShape Shape()
{
    BigCompetitionShape shape;
    shape.folder = "bvbench-closing";
    shape.classes = {"Senior", "Junior", "Veteran"};
    shape.clubs = kClubs;
    shape.clubDetails = [](ClubRecord& club, int k) {
        // Every tenth club shares its name with the one before: their
        // pages and files are kept apart.
        const int named = k % 10 == 0 ? k - 1 : k;
        SetFieldText(club.name, sizeof club.name, "Skytterlag " + std::to_string(named));
        SetFieldText(club.address1, sizeof club.address1, "Postboks " + std::to_string(k));
        SetFieldText(club.address3, sizeof club.address3, std::to_string(1000 + k) + " Bygda");
        SetFieldText(club.account, sizeof club.account, "1234.56." + std::to_string(10000 + k));
        SetFieldText(club.email, sizeof club.email, "post@lag" + std::to_string(k) + ".no");
    };
    shape.events = kEvents;
    shape.relays = Relays();
    shape.targets = Targets();
    shape.days = 2;
    shape.relayTime = RelayTimeThroughTheDay;
    shape.classFee = [](int k) { return 10000 + 2500 * k; };
    // Prize lists of every class: money ranked 1/3 with a stake, objects
    // 1/4; the combined list of all classes, money 1/2 with its fee and
    // stake.
    shape.prizeLists = [](CBVConfig& prizes, int) {
        ::WriteItem(prizes, PrizeItems::kClassCount, 2);
        for (int p = 1; p <= 2; ++p) {
            ::WriteItem(prizes, PrizeItems::ClassSource(p), 1);
            ::WriteItem(prizes, PrizeItems::ClassClasses(p), std::string("\x01\x02\x03"));
            ::WriteItem(prizes, PrizeItems::ClassOrder(p), 2);
            ::WriteItem(prizes, PrizeItems::ClassShare(p), std::string(p == 1 ? "1/3" : "1/4"));
            ::WriteItem(prizes, PrizeItems::ClassStake(p), p == 1 ? 5000 : 0);
            ::WriteItem(prizes, PrizeItems::ClassKind(p), p == 1 ? 2 : 1);
        }
        ::WriteItem(prizes, PrizeItems::kGroupCount, 1);
        ::WriteItem(prizes, PrizeItems::GroupName(1), std::string("Alle klasser"));
        ::WriteItem(prizes, PrizeItems::GroupSource(1), 1);
        ::WriteItem(prizes, PrizeItems::GroupClasses(1), std::string("\x01\x02\x03"));
        ::WriteItem(prizes, PrizeItems::GroupOrder(1), 2);
        ::WriteItem(prizes, PrizeItems::GroupShare(1), std::string("1/2"));
        ::WriteItem(prizes, PrizeItems::GroupStake(1), 1000);
        ::WriteItem(prizes, PrizeItems::GroupFee(1), 2000);
        ::WriteItem(prizes, PrizeItems::GroupKind(1), 2);
    };
    // Every shooter with a series of ten shots.
    shape.shots = [](CDataRes& card, int, int r, int t, int32_t nr) {
        ShotEntry shots[10];
        for (int k = 0; k < 10; ++k)
            shots[k] = {1, static_cast<uint8_t>(k + 1), static_cast<uint8_t>(60 + (nr * 7 + k * 3) % 49), 0, 0, 0};
        card.LoadCard(r, t);
        card.StoreSeries(r, t, 1, shots, 10);
    };
    // The team competition with its fee.
    shape.finish = [](CCompetition& comp) { AddBestThreeOfEachClub(comp, TeamItems::Fee(1), 30000); };
    return shape;
}

BigCompetition& Big()
{
    static BigCompetition competition(Shape());
    return competition;
}

// The list object, its messages on standard error.
CDataList& List()
{
    static CDataList& list = []() -> CDataList& {
        CDataList& opened = Big().List();
        opened.SetReporter([](const std::string& text, CDataList::Message) {
            std::fprintf(stderr, "%s\n", text.c_str());
        });
        return opened;
    }();
    return list;
}

// A PDF printer on A4 for the lists that print.
struct PdfOutput {
    explicit PdfOutput(CDataList& list, const std::string& name) : m_list(list)
    {
        m_job.UsePdfFile(std::filesystem::absolute(name).string());
        list.printTarget = m_job.Target();
    }
    ~PdfOutput() { m_list.printTarget = nullptr; }
    int Pages() { return m_job.Target()->PagesPrinted(); }

private:
    CDataList& m_list;
    platform::PrintJob m_job;
};

enum ReportOutput { kRtf = 0, kPdf = 1, kSplitRtf = 2, kSplitHtml = 3 };

void BM_CompetitionReport(benchmark::State& state)
{
    const auto output = static_cast<ReportOutput>(state.range(0));
    platform::SetDefaultPrinter(platform::A4Printer(600, 0, 0));
    CDataList& list = List();
    size_t files = 0;
    int pages = 0;
    for (auto _ : state) {
        list.ResetSelection();
        list.request.kind = kListSettlement;
        list.request.file = ListFileOptions{};
        list.request.file.header = list.request.file.footer = 1;
        list.request.file.html = output == kSplitHtml ? 1 : 0;
        list.request.splitList = output == kSplitRtf || output == kSplitHtml ? 1 : 0;
        list.request.fileName = output == kSplitHtml ? ".\\report.htm" : ".\\report.rtf";
        int made = 0;
        if (output == kPdf) {
            PdfOutput pdf(list, "report.pdf");
            made = list.MakeList(kOutputPrint);
            pages = pdf.Pages();
        } else {
            made = list.MakeList(kOutputFile);
            files = list.clubFilesWritten.size();
        }
        if (made == 0)
            state.SkipWithError("no report");
        list.report.Reset();
    }
    state.counters["shooters"] = Big().Shooters();
    if (output == kPdf)
        state.counters["pages"] = pages;
    else if (output != kRtf)
        state.counters["club_files"] = static_cast<double>(files);
    platform::UseMachineDefaultPrinter();
}
BENCHMARK(BM_CompetitionReport)
    ->Arg(kRtf)
    ->Arg(kPdf)
    ->Arg(kSplitRtf)
    ->Arg(kSplitHtml)
    ->ArgName("rtf_pdf_splitrtf_splithtml")
    ->Unit(benchmark::kMillisecond);

// The request of list kind `kind` for event e, as the report form fills it.
void Request(CDataList& list, int kind, int e)
{
    list.ResetSelection();
    list.request.kind = static_cast<int16_t>(kind);
    list.request.event = static_cast<uint16_t>(e);
    list.request.firstRelay = 1;
    list.request.lastRelay = static_cast<uint16_t>(Relays());
    list.request.firstTarget = 1;
    list.request.lastTarget = static_cast<uint16_t>(Targets());
    list.request.classFilter = {1, 2, 3};
    list.request.treeSelection = 1;
    list.request.file = ListFileOptions{};
    list.request.file.header = list.request.file.footer = 1;
    list.request.fileName = ".\\list" + std::to_string(kind) + ".rtf";
    switch (kind) {
    case kListResultsByClass:
        list.request.seriesFilter = {1, 2};
        break;
    case kListResultsCombined:
        list.request.seriesFilter = {1};
        break;
    case kListAutoResultLists:
    case kListOtherLists:
        list.request.seriesFilter = {1};
        break;
    case kListGraphicCards:
        list.request.lastRelay = 1;
        list.request.lastTarget = static_cast<uint16_t>(std::min(10, Targets()));
        break;
    default:
        break;
    }
}

// The lists that are made per event; the others once for the competition.
bool PerEvent(int kind)
{
    return kind == kListRollCall || kind == kListRelayList || kind == kListShootingCards ||
           kind == kListGraphicCards || kind == kListResultsByClass || kind == kListResultsCombined ||
           kind == kListAutoResultLists || kind == kListOtherLists;
}
// The lists that only print: into the PDF file.
bool PrintsOnly(int kind)
{
    return kind == kListBankGiro || kind == kListAddressLabels || kind == kListGraphicCards;
}

void BM_EveryListAndWebSite(benchmark::State& state)
{
    platform::SetDefaultPrinter(platform::A4Printer(600, 0, 0));
    CDataList& list = List();
    int made = 0, kinds = 0;
    for (auto _ : state) {
        made = 0;
        bool kindMade[kListKindCount] = {};
        PdfOutput pdf(list, "lists.pdf");
        for (int kind = 0; kind < kListKindCount; ++kind) {
            for (int e = 1; e <= (PerEvent(kind) ? kEvents : 1); ++e) {
                Request(list, kind, e);
                if (list.MakeList(PrintsOnly(kind) ? kOutputPrint : kOutputFile) != 0) {
                    ++made;
                    kindMade[kind] = true;
                }
                list.report.Reset();
            }
        }
        kinds = 0;
        for (bool k : kindMade)
            kinds += k ? 1 : 0;

        MakeWholeSite(list, kEvents, false);
    }
    if (made == 0)
        state.SkipWithError("no list");
    state.counters["shooters"] = Big().Shooters();
    state.counters["lists"] = made;
    state.counters["kinds"] = kinds;  // the kinds that made a list
    platform::UseMachineDefaultPrinter();
}
BENCHMARK(BM_EveryListAndWebSite)->Unit(benchmark::kMillisecond);

}  // namespace

// The result lists measure and the printouts draw with the kit's fonts.
int main(int argc, char** argv) { return RunBenchmarksOffscreen<QGuiApplication>(argc, argv); }
