// bvtool res create-event and verify, run as a user runs them on BVRes's
// working folder.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using bvtest::RunPython;
using bvtest::RunSteps;
using bvtest::RunTool;
namespace fs = std::filesystem;

class BvtoolResCreateTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        fs::create_directory("res");
        fs::create_directory("fresh");
    }
};

TEST_F(BvtoolResCreateTest, CreatedEventsTakeEntriesAndAreChecked)
{
    RunSteps({
        // Into a working folder where nothing is yet: folders and files as BVRes makes them.
        {"res create-event fresh --org 2 --kind 1", 0, "event 1\n"},
        {"res verify fresh", 0, "rows 0\n"},

        {"res comp res 1 --org 1 --classes R,ER,J"},
        {"res create-event res --org 1 --kind 1 --exch 1", 0, "event 1\n"},
        {"res create-event res --org 1 --kind 129 --exch 1 --types 0,0,0,0,9", 0, "event 2\nevent 3\n"},
        {"res relays res 3", 0, "1\t1\t1\t  1 08:00   (10)\n"},
        {"res shooter res 7 'Kari Ås' --club 3 --class 1"},
        {"res shooter res 8 'Per Li' --class 2"},
        {"res entry res 1 1 4 7 --paid 500"},
        {"res entry res 1 1 6 7"},
        {"res entry res 1 1 12 8"},
        {"res entry res 2 1 3 8"},
        {"res verify res", 0,
         "1\t100m\t1\t12\tSkytter funnet utenfor lovlig område\n"
         "1\t100m\t1\t4\tManger resultat - skytter funnet\n"
         "1\t100m\t1\t4\tFeil betaling. Beløp=   5.00\n"
         "1\t100m\t1\t4\tStartnr finnes også på: 1:6\n"
         "1\t100m\t1\t6\tManger resultat - skytter funnet\n"
         "1\t100m\t1\t6\tStartnr finnes også på: 1:4\n"
         "2\t100m hoved\t1\t3\tManger resultat - skytter funnet\n"
         "2\t100m hoved\t1\t3\tForening er ikke registrert\n"
         "rows 8\n"},
        {"res verify res 1 --no-missing --no-payment", 0,
         "1\t100m\t1\t12\tSkytter funnet utenfor lovlig område\n"
         "1\t100m\t1\t4\tStartnr finnes også på: 1:6\n"
         "1\t100m\t1\t6\tStartnr finnes også på: 1:4\n"
         "rows 3\n"},
        {"res verify res 2 --limit 0", 0, "rows 0\n"},
    });
    // What another program sees: the prefixes, the final's link and the
    // result type by the series types.
    const char* script = R"PY(
import struct
def items(path):
    data = open(path, 'rb').read()
    out = {}
    for i in range((len(data) - 8) // 36):
        r = data[8 + 36 * i: 8 + 36 * (i + 1)]
        out[struct.unpack_from('<i', r)[0]] = r[4:].split(b'\0')[0].decode('cp1252')
    return out
def key(s, i, k):
    return k + 1000 * s + 1000000 * i
exch = items('res/Comp1/Exch.bvc')
print(' '.join(exch[key(12, n, 630)] for n in (1, 2, 3)), exch[key(12, 3, 21)])
print(items('res/Comp1/Event2.bvc')[key(3, 2, 20)], items('res/Comp1/Event3.bvc')[key(3, 1, 680)])
print(items('res/Comp1/Comp.bvc')[key(2, 1, 1)], items('fresh/Comp1/Comp.bvc')[key(3, 1, 500)])
)PY";
    EXPECT_EQ(RunPython(script), "H1 H2 O1 1\n0 1\n3 60 skudd\n");
}

TEST_F(BvtoolResCreateTest, BadCallsChangeNothing)
{
    RunSteps({
        {"res comp res 1 --org 1"},
        {"res create-event res --kind 1", 1},
        {"res create-event res --org 1", 1},
        {"res create-event res --org 1 --kind 1 --exch 5", 1},
        {"res create-event res --org 1 --kind 1 --types 0,12", 1},
        {"res create-event nowhere --org 1 --kind 1", 1},
        {"res verify res 1", 1},  // no event 1
        {"res verify res --limit x", 1},
        {"res verify res --colour red", 1},
    });
    EXPECT_FALSE(fs::exists("res/Comp1/Event1.bvc"));
    bvtest::ToolRun help = RunTool("help");
    EXPECT_NE(help.out.find("bvtool res create-event DIR --org T --kind K"), std::string::npos);
    EXPECT_NE(help.out.find("bvtool res verify DIR [EVENT]"), std::string::npos);
}

}  // namespace
