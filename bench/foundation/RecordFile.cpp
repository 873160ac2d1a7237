// What a durable record write costs: a rewrite or an append through the
// record file (open, lock, undo journal, write, counter, one flush, unlock,
// close) against a bare pwrite + fdatasync of the same size on the same disk.
//
// Each benchmark alternates one bare write and one record write, so that both
// meet the same disk at the same moment (other programs' writes, the disk's
// own cache), and reports the median of each and their ratio. A summary of the
// ratios is printed at the end.
//
// The files lie in a fresh folder under BV_BENCH_DIR, or beside this program
// (the build folder), so that they are on the disk the programs would use.
#include "foundation/files/BVFileEx.h"
#include "platform/system/Clock.h"
#include "platform/files/NativeFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string g_folder;

const std::string& Folder()
{
    if (g_folder.empty()) {
        const char* env = std::getenv("BV_BENCH_DIR");
        std::filesystem::path base = env && *env ? std::filesystem::path(env)
                                                 : std::filesystem::read_symlink("/proc/self/exe").parent_path();
        std::string pattern = (base / "bench-records-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        g_folder = std::filesystem::weakly_canonical(std::filesystem::absolute(pattern)).string();
    }
    return g_folder;
}

std::string FreshFile(const std::string& name)
{
    std::string path = Folder() + "/" + name;
    std::filesystem::remove(path);
    return path;
}

std::vector<char> Record(int size, int i)
{
    std::vector<char> r(static_cast<size_t>(size), static_cast<char>('A' + i % 26));
    std::memcpy(r.data(), &i, 4);
    return r;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

constexpr int kSpan = 16;  // rewrites go round this many records

enum class Kind { Rewrite, RewriteKeptOpen, Append };

void Paired(benchmark::State& state, Kind kind)
{
    const int size = static_cast<int>(state.range(0));
    const std::string tag = std::to_string(static_cast<int>(kind)) + "-" + std::to_string(size);

    // 0x82: opened for each operation, as the range control writes its
    // competition files; 0x8E: cached and kept open, as the results program.
    CBVFileEx records;
    uint8_t options = kind == Kind::RewriteKeptOpen ? 0x8E : 0x82;
    if (records.Open(FreshFile("records" + tag + ".bvd"), static_cast<int16_t>(size), 1, 1, options) != 0) {
        state.SkipWithError("cannot make the record file");
        return;
    }
    platform::NativeFile bare;
    bare.OpenOrCreate(FreshFile("bare" + tag + ".dat"));
    if (kind != Kind::Append) {
        for (int i = 0; i < kSpan; ++i) {
            int n = 0;
            records.AddRec(n, Record(size, i).data());
            bare.WriteAt(Record(size, i).data(), static_cast<size_t>(size), 8 + static_cast<int64_t>(i) * size);
        }
        bare.Sync();
    }

    std::vector<double> bareUs, recordUs;
    int64_t bareEnd = 8;
    int i = 0;
    for (auto _ : state) {
        std::vector<char> data = Record(size, i);
        int64_t t0 = platform::MonotonicUs();
        int64_t at = kind == Kind::Append ? bareEnd : 8 + static_cast<int64_t>(i % kSpan) * size;
        bool bareOk = bare.WriteAt(data.data(), data.size(), at) == size && bare.Sync() == 0;
        int64_t t1 = platform::MonotonicUs();
        int n = 0;
        bool recordOk = kind == Kind::Append ? records.AddRec(n, data.data()) == 0
                                             : records.WriteRec(1 + i % kSpan, data.data()) == 0;
        int64_t t2 = platform::MonotonicUs();
        if (!bareOk || !recordOk) {
            state.SkipWithError("a write failed");
            break;
        }
        bareEnd += size;
        bareUs.push_back(static_cast<double>(t1 - t0));
        recordUs.push_back(static_cast<double>(t2 - t1));
        ++i;
    }
    double b = Median(bareUs), r = Median(recordUs);
    state.counters["bare_us"] = b;
    state.counters["record_us"] = r;
    state.counters["ratio"] = b > 0 ? r / b : 0;
    state.SetBytesProcessed(state.iterations() * size * 2);
}

void BM_Rewrite(benchmark::State& state) { Paired(state, Kind::Rewrite); }
void BM_RewriteKeptOpen(benchmark::State& state) { Paired(state, Kind::RewriteKeptOpen); }
void BM_Append(benchmark::State& state) { Paired(state, Kind::Append); }

// 36: a configuration item; 54: a shooting card; 13,254: a shot list.
#define SIZES Arg(36)->Arg(54)->Arg(13254)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_Rewrite)->SIZES;
BENCHMARK(BM_RewriteKeptOpen)->SIZES;
BENCHMARK(BM_Append)->SIZES;

// Prints the runs as usual and keeps each one's ratio for the summary.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto it = run.counters.find("ratio");
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && it != run.counters.end())
                ratios[run.benchmark_name()] = it->second.value;
        }
    }
    std::map<std::string, double> ratios;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nMedian record write / bare pwrite + fdatasync of the same size, in %s:\n", Folder().c_str());
    for (const char* size : {"36", "54", "13254"}) {
        // A run the filter left out, or one that failed, shows as "-".
        auto ratio = [&](const char* name) {
            auto it = reporter.ratios.find(std::string(name) + "/" + size);
            char text[16] = "-";
            if (it != reporter.ratios.end())
                std::snprintf(text, sizeof text, "%.2f", it->second);
            return std::string(text);
        };
        std::printf("  %5s bytes: rewrite %s, rewrite kept open %s, append %s\n", size, ratio("BM_Rewrite").c_str(),
                    ratio("BM_RewriteKeptOpen").c_str(), ratio("BM_Append").c_str());
    }
    std::error_code ec;
    std::filesystem::remove_all(Folder(), ec);
    return 0;
}
