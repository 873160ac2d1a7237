// A long list through the report engine: 5,000 rows of three lines (compact
// rows from the ninth on, as a result list with its shots) laid out and
// printed into a PDF file, and onto a recorder that only keeps the calls.
// The counters give the pages and the time per page.
#include "platform/ui/draw/DrawRecorder.h"
#include "platform/ui/draw/PrintJob.h"
#include "results/print/PageFrame.h"
#include "results/print/Report.h"

#include <QGuiApplication>

#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

using namespace results;

// Under the tests the benchmark only shows that it runs, on fewer rows.
int Rows()
{
    const char* rows = std::getenv("BV_REPORT_ROWS");
    return rows != nullptr && std::atoi(rows) > 0 ? std::atoi(rows) : 5000;
}

// The list a producer would make: a page frame with nine captions, a row
// line of nine columns, then two lines of shots that rows from the ninth on
// leave out.
void FillList(CReport& report)
{
    report.aListDef.assign(1, ListDef());
    ListDef& def = report.Def(1);
    CPageFrame::SetupHeader(def, 9);
    CPageFrame::SetupFooter(def);
    CPageFrame::SetupBody(def, 11, 10);
    const int widths[9] = {4, 6, 28, 6, 7, 21, 7, 7, 14};
    for (int k = 0; k < 9; ++k) {
        def.bodyColumns[static_cast<size_t>(k)].widthPercent = widths[k];
        def.bodyColumns[static_cast<size_t>(k)].fitChars = 2;
    }
    for (int k = 9; k < 11; ++k) {
        def.bodyColumns[static_cast<size_t>(k)].line = k - 7;
        def.bodyColumns[static_cast<size_t>(k)].widthPercent = 100;
        def.bodyColumns[static_cast<size_t>(k)].fitChars = 60;
    }
    def.bodyLines.assign(3, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[1].firstColumn = 10;
    def.bodyLines[2].firstColumn = 11;
    std::vector<ReportCell> header(15);
    header[0].text = "Landsskytterstevnet";
    header[1].text = "Arrangor:Skytterlaget";
    header[4].text = "Resultatliste";
    const char* captions[] = {"Pl", "SNr", "Navn", "Land", "Serie", "Total", "Merknad"};
    for (int k = 0; k < 7; ++k)
        header[static_cast<size_t>(6 + k)].text = captions[k];
    report.AddHeaderRow(header, 1);
    report.AddFooterRow({{"Sparebanken"}, {"Bakeriet"}, {"12:00 - 17.05"}, {"www.brevandi.no"}}, 1);
    std::vector<ReportCell> cells(11);
    for (int i = 1, rows = Rows(); i <= rows; ++i) {
        cells[0].text = std::to_string(i);
        cells[1].text = std::to_string(1000 + i);
        cells[2].text = "Skytter nummer " + std::to_string(i);
        cells[3].text = "NOR";
        cells[4].text = "98";
        cells[5].text = std::to_string(600 - i % 50);
        cells[9].text = "10,4 10,1 9,8 10,6 10,0 9,9 10,2 10,7 10,3 9,7";
        cells[10].text = "9,8 10,0 10,5 9,6 10,9 10,1 9,9 10,3 10,0 10,2";
        report.AddRow(cells, 1, i >= 9 ? 0x6 : 0);
    }
    report.ListComplete(1);
}

// Counts the pages before the end of the printout empties the model.
class CountingReport : public CReport {
public:
    int pages = 0;
    void OnEndPrinting(platform::DrawSurface& dc, PrintInfo& info) override
    {
        pages = static_cast<int>(m_pages.size());
        CReport::OnEndPrinting(dc, info);
    }
};

void Report(benchmark::State& state, int pages)
{
    state.counters["pages"] = pages;
    state.counters["per_page"] =
        benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ReportIntoPdf(benchmark::State& state)
{
    std::string path = "/tmp/bv_bench_report_" + std::to_string(::getpid()) + ".pdf";
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CountingReport report;
        FillList(report);
        platform::PrintJob pdf;
        pdf.UsePdfFile(path);
        state.ResumeTiming();
        report.PrintTo(*pdf.Target());
        pages = report.pages;
    }
    std::remove(path.c_str());
    Report(state, pages);
}
BENCHMARK(BM_ReportIntoPdf)->Unit(benchmark::kMillisecond);

void BM_ReportOntoRecorder(benchmark::State& state)
{
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CountingReport report;
        FillList(report);
        platform::DrawRecorder recorder(platform::DrawRecorder::A4(600, 0, 0));  // the PDF file's paper
        state.ResumeTiming();
        report.PrintTo(recorder);
        pages = report.pages;
    }
    Report(state, pages);
}
BENCHMARK(BM_ReportOntoRecorder)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksOffscreen<QGuiApplication>(argc, argv); }
