// Any shot list, card, active record and shooting-program items, summed as
// a panel shows them and totalled as the ranking does: the series table
// keeps its shape, counts stay within a series' hundred, the list page and
// the shown shots point at real slots, and the ranking's total of the
// current series agrees with the panel's total.
#include "display/loop/DisplayLoop.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzScratch.h"
#include "fuzz/display/NullDisplayPort.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

using fuzz::Bytes;
using fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const fuzz::ScratchFolder folder("fuzz-shotsums");
    if (chdir(folder.Path().c_str()) != 0)
        return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ShotListRecord shots;
    Bytes in{data, size};
    unlink("BVLog.txt");
    unlink("Program.BVC");

    // Program 1: shots of each series, shots per line, sub-sums and their series.
    {
        CBVConfig prog;
        prog.Open(".\\Program.BVC", 1);
        int series = in.Byte() % 29;
        for (int s = 1; s <= series; ++s)
            prog.WriteInt(25, 1, s + 1, in.Byte() % 2 ? in.Byte() : in.Byte() * 3 - 100);
        prog.WriteInt(29, 1, 550, in.Byte() - 20);
        int subs = in.Byte() % 30;
        prog.WriteInt(29, 1, 533, subs);
        for (int k = 1; k <= subs && k < 4; ++k) {
            char def[21] = {};
            in.Take(def, 20);
            def[20] = 0;
            prog.WriteString(34, 1, k + 1, def);
        }
    }

    fuzz::NullDisplayPort port;
    CVisData vis;
    DisplayLoop loop(vis, port);
    CVisPicture& pic = vis.AddPicture(1);
    vis.current = &pic;
    pic.estimateMode = in.Byte() % 5;
    CVisEvent& e = vis.AddEvent(1);
    e.programs.SetBasePath(".\\");
    e.program = 1;
    e.competition = in.Byte() % 3;
    e.shotsPerLine = in.Byte() % 12;
    e.rangeEquipment = in.Byte() % 3;
    e.timedShots = in.Byte() & 1;
    e.startScore = in.Byte() & 1;
    e.superMode = in.Byte() % 3;
    e.subCount = e.programs.GetSubCount(1);

    CVisTarget& t = pic.AddTarget(1);
    t.event = &e;
    t.lane = 1 + in.Byte() % 100;
    in.Take(&t.active, sizeof t.active);
    in.Take(&t.card, sizeof t.card);
    t.card.shotRec = 0;  // the copy below is the list; no file is read
    in.Take(&t.startScore, sizeof t.startScore);
    t.startScore %= 100000;
    in.Take(&shots, sizeof shots);
    t.shots = shots;
    t.card.valueSystem %= 8;

    loop.ReadShots(t);
    for (int s = 1; s < CVisTarget::kSeriesRows; ++s) {
        Check(t.seriesSums[s][0] >= 0 && t.seriesSums[s][0] <= 100);
        // Past a series' planned lines the row holds -1, whatever was shot.
        const int planned = e.programs.GetSerieShots(s, e.competition == 0 ? -1 : 1);
        const int perLine = e.shotsPerLine < 1 ? 1 : e.shotsPerLine;
        int from = planned == 0 ? 1 : (planned - 1) / perLine + 2;
        for (int c = from < 1 ? 1 : from; c < CVisTarget::kSeriesRows; ++c)
            Check(t.seriesSums[s][c] == -1);
    }
    Check(t.firstListShot >= 1);
    Check(t.values[CVisTarget::kValShotCount].number >= 0 && t.values[CVisTarget::kValShotCount].number <= 100);
    for (int m : t.shownShotMap)
        Check(m >= -1 && m < CDataComp::kSlots);

    int count = -1;
    int total = DisplayLoop::RankTotal(e, t.shots, t.active.seriesState, t.card.valueSystem, count);
    Check(count >= 0 && count <= CDataComp::kSlots);
    Check(total + (e.startScore ? t.startScore : 0) == t.values[CVisTarget::kValTotal].number);
    return 0;
}
