// bvtool prog: one shooting program of a range folder as the programs read it.
#include "Command.h"

#include "foundation/settings/ProgramStore.h"
#include "platform/files/FileSystem.h"

#include <cstdio>
#include <string>

namespace bvtool {
namespace {

// The editor's limits; a damaged count never floods the screen.
constexpr int kMaxClasses = 20;
constexpr int kMaxSubSums = 10;

std::string Flags(CProgramStore& store, bool subSum, int item, int series, int n)
{
    std::string out;
    for (int p = 1; p <= series && p <= CProgramStore::kDefLength; ++p) {
        int v = subSum ? store.GetSubSumFlag(item, p, n) : store.GetClassFlag(item, p, n);
        out += (p > 1 ? " " : "") + std::to_string(v);
    }
    return out;
}

int RunProg(const Args& args)
{
    long number = 0;
    if (args.size() != 2 || !ParseInt(args[1], number))
        return Fail("usage: bvtool prog FOLDER NUMBER");
    if (number < 1 || number > CProgramStore::kMaxProgram)
        return Fail("a program number is 1 to 200");
    std::string folder = ToFile(args[0]);
    if (!platform::FolderExists(folder))
        return Fail("no folder " + args[0]);

    CProgramStore store;
    store.SetBasePath(folder);
    int n = static_cast<int>(number);
    int index = 0;
    if (!store.FileOf(n, index))
        return Fail(std::string("no ") + (n > CProgramStore::kProgramsPerFile ? "Program2.BVC" : "Program.BVC") +
                    " in " + args[0]);

    char text[CProgramStore::kNameSize];
    std::printf("Program: %d\n", n);
    std::printf("Name: %s\n", ToScreen(store.GetName(text, n)).c_str());
    std::printf("Equipment: %d\n", store.GetEquipment(n));
    std::printf("Command: %d\n", store.GetCommand(n));
    std::printf("Organisation: %d\n", store.GetOrganisation(n));
    std::printf("Size: %d\n", store.GetSize(n));
    int series = store.GetSerieCount(n);
    std::printf("Series: %d\n", series);
    bool turning = store.GetEquipment(n) == 1 || store.GetEquipment(n) == 129;
    for (int s = 1; s <= series && s <= CProgramStore::kMaxSeries; ++s) {
        std::printf("  %d: %s; shots %d; mark %d; target %d; exchange %d", s,
                    ToScreen(store.GetSerieName(s, text, n)).c_str(), store.GetSerieShots(s, n),
                    store.GetSerieMark(s, n), store.GetSerieTarget(s, n), store.GetSerieExch(s, n));
        if (turning) {
            CProgramStore::SerieTiming t;
            store.GetSerieTiming(t, s, n);
            if (t.noTimer)
                std::printf("; timer none");
            else
                std::printf("; timer %d", t.timer);
            std::printf("; delay %d; green %d; red %d; rep %d", t.delay, t.green, t.red, t.rep);
        }
        std::printf("\n");
    }
    int classes = store.GetClassCount(n);
    std::printf("Classes: %d\n", classes);
    for (int c = 1; c <= classes && c <= kMaxClasses; ++c)
        std::printf("  %d: %s; series %s\n", c, ToScreen(store.GetClassName(c, text, n)).c_str(),
                    Flags(store, false, c, series, n).c_str());
    int subs = store.GetSubCount(n);
    std::printf("Sub-sums: %d\n", subs);
    for (int k = 1; k <= subs && k <= kMaxSubSums; ++k)
        std::printf("  %d: %s; series %s\n", k, ToScreen(store.GetSubSumName(k, text, n)).c_str(),
                    Flags(store, true, k, series, n).c_str());
    return 0;
}

[[maybe_unused]] const bool registered = Register(
    {"prog", "bvtool prog FOLDER NUMBER",
     "one shooting program (1-200) of a range folder, as the programs read it", &RunProg});

}  // namespace
}  // namespace bvtool
