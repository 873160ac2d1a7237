// What loading the shared registers costs: the person register's name index
// over 20,000 persons and the club register's two indexes over 2,000 clubs,
// each a fresh register reading its file (a cold cache) and sorting.
#include "foundation/text/FieldText.h"
#include "results/registers/DataClub.h"
#include "results/registers/DataPerson.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace results;

// A folder of its own with .\Common, made once.
void EnterFolder()
{
    static bool done = false;
    if (done)
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-registers-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    std::filesystem::current_path(pattern);
    std::filesystem::create_directory("Common");
    done = true;
}

std::string Name(int i)
{
    // Names spread over the alphabet, as a register fills over the years.
    char text[32];
    std::snprintf(text, sizeof text, "%c%c Person %05d", 'A' + (i * 7919) % 26, 'a' + (i * 31) % 26, i);
    return text;
}

void BM_PersonLoad(benchmark::State& state)
{
    EnterFolder();
    {
        CDataPerson fill;
        fill.Load(1);
        if (fill.File().GetRecCount() < 20000) {
            for (int i = fill.File().GetRecCount(); i < 20000; ++i) {
                PersonRecord p{};
                p.org = 1;
                p.club = static_cast<int16_t>(1 + i % 500);
                SetFieldText(p.name, sizeof p.name, Name(i));
                int n = 0;
                fill.File().AddRec(n, &p);
            }
        }
    }
    for (auto _ : state) {
        CDataPerson reg;
        reg.Load(1);
        benchmark::DoNotOptimize(reg.Count());
    }
}
BENCHMARK(BM_PersonLoad)->Unit(benchmark::kMillisecond);

void BM_ClubLoad(benchmark::State& state)
{
    EnterFolder();
    {
        CDataClub fill;
        fill.LoadClubs(1);
        if (fill.Count(CDataClub::kClubs) < 2000) {
            for (int i = 0; i < 2000; ++i) {
                ClubRecord c{};
                SetFieldText(c.name, sizeof c.name, Name(i));
                fill.Put(&c, 1 + (i * 37) % 60000, CDataClub::kClubs);
            }
        }
    }
    for (auto _ : state) {
        CDataClub reg;
        reg.LoadClubs(1);
        benchmark::DoNotOptimize(reg.Count(CDataClub::kClubs));
    }
}
BENCHMARK(BM_ClubLoad)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
