// The ini cache on a result exchange file of a full card: reading every key
// as the results program does, and merging one value in as the range control
// does after each shot (a locked, durable rewrite).
#include "foundation/files/BVIniFile.h"
#include "foundation/settings/LanguageTable.h"
#include "platform/files/FileSystem.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string ResultFile()
{
    std::string text = "[Def]\r\nStartNr=1234\r\nTargetID=3\r\nTargetIDDef=3\r\n[Res]\r\n";
    char line[600];
    for (int s = 1; s <= 28; ++s) {
        std::string shots;
        for (int k = 0; k < 10; ++k)
            shots += "10.4 ";
        std::snprintf(line, sizeof line, "Ser%d=%s\r\nX%d=%s\r\nY%d=%s\r\nT%d=%s\r\n", s, shots.c_str(), s,
                      shots.c_str(), s, shots.c_str(), s, shots.c_str());
        text += line;
    }
    return text + "[Notes]\r\nState=1\r\nComments=\r\n";
}

struct Scratch {
    std::string folder;
    Scratch()
    {
        char name[] = "/tmp/bench_ini_XXXXXX";
        folder = mkdtemp(name);
    }
    ~Scratch() { std::system(("rm -rf " + folder).c_str()); }
    std::string File(const char* name) const { return folder + "/" + name; }
};

void BM_IniReadWholeCard(benchmark::State& state)
{
    Scratch scratch;
    std::string path = scratch.File("H1R00101.TXT");
    platform::WriteFileAtomically(path, ResultFile());
    char key[16];
    for (auto _ : state) {
        CBVIniFile ini;
        ini.Open(path);
        int sum = ini.GetInt("Def", "StartNr", -1);
        for (int s = 1; s <= 28; ++s) {
            std::snprintf(key, sizeof key, "Ser%d", s);
            sum += static_cast<int>(ini.GetString("Res", key).size());
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_IniReadWholeCard);

void BM_IniMergeOneValue(benchmark::State& state)
{
    Scratch scratch;
    std::string path = scratch.File("H1R00101.TXT");
    platform::WriteFileAtomically(path, ResultFile());
    int n = 0;
    for (auto _ : state) {
        CBVIniFile ini;
        ini.PutInt("Notes", "State", ++n % 4 + 1);
        benchmark::DoNotOptimize(ini.Write(path));
    }
}
BENCHMARK(BM_IniMergeOneValue)->Unit(benchmark::kMillisecond);

void BM_LanguageLookup(benchmark::State& state)
{
    CLanguageTable table;
    table.Load(std::string(BV_BINARY_DIR) + "/lang/BVRange.bvt", "NO");
    for (auto _ : state)
        benchmark::DoNotOptimize(table.GetText("IDS_DEFCOMP_RELAYCHANGE"));
}
BENCHMARK(BM_LanguageLookup);

}  // namespace

BENCHMARK_MAIN();
