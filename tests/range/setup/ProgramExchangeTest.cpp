// A shooting program carried to another range in ProgExport.ini: the file
// written for a turning-target program and a plain one, byte for byte; a
// program exported and imported again reads as the same program but for its
// number (bvtool prog); the file is emptied by an import; what a hostile
// file says is held within the editor's limits; a full program file takes
// nothing in. The Def lists convert in the store's own layout.
#include "ProgramFiles.h"
#include "SetupFixture.h"

#include "foundation/files/BVIniFile.h"
#include "foundation/settings/ProgramDefList.h"
#include "range/setup/ProgramEdits.h"
#include "range/setup/ProgramExchange.h"

#include <fstream>
#include <sstream>

namespace {

using bvtest::PlainProgram;
using bvtest::TurningProgram;
using bvtest::WriteProgram;
namespace PX = ProgramExchange;

constexpr const char* kFile = ".\\ProgExport.ini";

std::string Expected(const std::string& name)
{
    std::ifstream in(std::string(BV_SOURCE_DIR) + "/tests/range/setup/data/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The program as bvtool shows it, without its number line.
std::string ProgramByTool(int n)
{
    std::string out = bvtest::RunCommand(std::string("'") + BV_BINARY_DIR + "/tools/bvtool/bvtool' prog . " +
                                         std::to_string(n) + " 2>&1");
    return out.substr(out.find('\n') + 1);
}

std::string Bytes(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        out += (out.empty() ? "" : " ") + std::to_string(c);
    return out;
}

TEST(ProgramDefListTest, ListsAndStoredTexts)
{
    struct Case {
        const char* list;
        int maxValue;
        const char* bytes;  // the stored text's bytes
    };
    const Case cases[] = {
        {"1 0 1 ", 1, "33 32 33"},
        {"1 0 1", 1, "33 32 33"},
        {"1   1 ", 1, "33 33"},
        {"", 1, ""},
        {"3 7 0 5 ", 7, "35 39 32 37"},
        // Values the editor does not know become 0, so nothing ends the text early.
        {"1 2 -1 224 -32 1", 1, "33 32 32 32 32 33"},
        {"8 -1 7", 7, "32 32 39"},
        {"x 1", 1, "32 33"},
        // At most 20 values.
        {"1 1 1 1 1 1 1 1 1 1 0 0 0 0 0 0 0 0 0 1 1", 1,
         "33 33 33 33 33 33 33 33 33 33 32 32 32 32 32 32 32 32 32 33"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        EXPECT_EQ(Bytes(ProgramDef::FromList(c.list, c.maxValue)), c.bytes);
    }
    // And back: each stored character as its value and a blank.
    EXPECT_EQ(ProgramDef::ToList("! !", 20), "1 0 1 ");
    EXPECT_EQ(ProgramDef::ToList("                    ", 20), "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ");
    EXPECT_EQ(ProgramDef::ToList("!!!!", 2), "1 1 ");
    EXPECT_EQ(ProgramDef::ToList("", 20), "");
}

class ProgramExchangeTest : public bvtest::SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        store.SetBasePath(".\\");
        store.AllowCreate();
        store.OpenFiles(true);
    }
    CProgramStore store;
};

TEST_F(ProgramExchangeTest, ExportWritesTheProgramAlone)
{
    WriteProgram(TurningProgram());
    WriteProgram(PlainProgram());
    store.Refresh();
    // Whatever the file held before is gone.
    bvtest::TempFolder::Write("ProgExport.ini", "[Old]\r\nKey=1\r\n");
    struct Case {
        int program;
        const char* expected;
    };
    for (const Case& c : {Case{101, "ProgExport-turning.ini"}, Case{5, "ProgExport-plain.ini"}}) {
        SCOPED_TRACE(c.expected);
        ASSERT_EQ(PX::Export(store, c.program, kFile), 0);
        EXPECT_EQ(bvtest::TempFolder::Read("ProgExport.ini"), Expected(c.expected));
    }
}

TEST_F(ProgramExchangeTest, ExportedAndImportedIsTheSameProgram)
{
    WriteProgram(TurningProgram());
    WriteProgram(PlainProgram());
    store.Refresh();
    struct Case {
        int program;
        int filter;
        int expected;  // the new program's number
    };
    // The private filter takes the next slot of Program2.BVC, the others of Program.BVC.
    for (const Case& c : {Case{101, 0, 102}, Case{5, 2, 6}, Case{5, 0, 103}}) {
        SCOPED_TRACE(c.program);
        ASSERT_EQ(PX::Export(store, c.program, kFile), 0);
        EXPECT_EQ(PX::ProgramName(kFile), store.GetName(nullptr, c.program));
        ASSERT_EQ(PX::Import(store, c.filter, kFile), c.expected);
        std::string before = ProgramByTool(c.program);
        std::string after = ProgramByTool(c.expected);
        if (c.filter != store.GetOrganisation(c.program)) {
            // Only the organisation is the filter's.
            auto org = [](std::string text, int o) {
                size_t at = text.find("Organisation: ");
                return text.replace(at, text.find('\n', at) - at, "Organisation: " + std::to_string(o));
            };
            before = org(before, c.filter);
        }
        EXPECT_EQ(after, before);
        // Taken once: the file is empty, a second import finds nothing.
        EXPECT_EQ(bvtest::TempFolder::Read("ProgExport.ini"), "");
        EXPECT_EQ(PX::ProgramName(kFile), "");
        EXPECT_EQ(PX::Import(store, c.filter, kFile), PX::kNoProgram);
    }
    // What bvtool shows of the turning program, imported as 102.
    EXPECT_EQ(ProgramByTool(102),
              "Name: Felt 25m\n"
              "Equipment: 1\n"
              "Command: 125\n"
              "Organisation: 0\n"
              "Size: 5\n"
              "Series: 3\n"
              "  1: Pr\xC3\xB8ve; shots 5; mark 0; target 0; exchange 0; timer none; delay 30; green 35; red 70; rep 1\n"
              "  2: Presisjon; shots 10; mark 1; target 1; exchange 2; timer 150; delay 35; green 30; red 70; rep 2\n"
              "  3: Serie 3; shots 5; mark 1; target -1; exchange 3; timer none; delay 0; green 0; red 0; rep 0\n"
              "Classes: 1\n"
              "  1: Senior; series 3 0 7\n"
              "Sub-sums: 2\n"
              "  1: Grunn; series 1 1 0\n"
              "  2: Finale; series 0 0 1\n");
}

TEST_F(ProgramExchangeTest, HostileFilesAreHeldToTheEditorsLimits)
{
    struct Case {
        const char* name;
        std::string file;
        const char* program;  // bvtool prog of the import, "" when none is made
    };
    const Case cases[] = {
        {"no name", "[Prog]\r\nSize=5\r\nSerieCount=2\r\n", ""},
        {"blank name", "[Prog]\r\nName=   \r\n", ""},
        {"name of NUL bytes", std::string("[Prog]\r\nName=\0\0ap\r\nSerieCount=2\r\n", 33), ""},
        {"missing keys take their defaults", "[Prog]\r\nName=Bare\r\n",
         "Name: Bare\nEquipment: 0\nCommand: 0\nOrganisation: 0\nSize: 10\nSeries: 0\nClasses: 0\nSub-sums: 0\n"},
        {"counts beyond the limits",
         "[Prog]\r\nName=Big\r\nSerieCount=999\r\nSubCount=50\r\nClassCount=-4\r\n"
         "[SubSum11]\r\nName=Eleventh\r\n[Serie29]\r\nName=Too far\r\nShots=3\r\n",
         nullptr},
        {"values beyond the lists",
         "[Prog]\r\nName=Values\r\nSerieCount=2\r\nSubCount=1\r\nClassCount=1\r\n"
         "[SubSum1]\r\nName=S\r\nDef=1 5 -1\r\n[Class1]\r\nName=C\r\nDef=7 8 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n"
         "[Serie1]\r\nShots=4\r\n[Serie2]\r\nShots=x\r\n",
         "Name: Values\nEquipment: 0\nCommand: 0\nOrganisation: 0\nSize: 10\nSeries: 2\n"
         "  1: ; shots 4; mark 0; target -1; exchange 0\n"
         "  2: ; shots 0; mark 0; target -1; exchange 0\n"
         "Classes: 1\n  1: C; series 7 0\nSub-sums: 1\n  1: S; series 1 0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder::Write("ProgExport.ini", c.file);
        int before = store.GetProgCount(0);
        int n = PX::Import(store, 0, kFile);
        if (c.program && std::string(c.program).empty()) {
            EXPECT_EQ(n, PX::kNoProgram);
            EXPECT_EQ(store.GetProgCount(0), before);
            EXPECT_EQ(bvtest::TempFolder::Read("ProgExport.ini"), c.file);
            continue;
        }
        ASSERT_EQ(n, before + 1);
        if (c.program) {
            EXPECT_EQ(ProgramByTool(n), c.program);
            continue;
        }
        EXPECT_EQ(store.GetSerieCount(n), 28);
        EXPECT_EQ(store.GetSubCount(n), 10);
        EXPECT_EQ(store.GetClassCount(n), 0);
        // Nothing beyond the limits is written.
        int index = 0;
        CBVConfig* file = store.FileOf(n, index);
        ASSERT_NE(file, nullptr);
        EXPECT_STREQ(file->ReadString(ProgramItems::kSubSumName, index, 12, "(none)"), "(none)");
        EXPECT_STREQ(file->ReadString(ProgramItems::kSerieName, index, 30, "(none)"), "(none)");
    }
}

TEST_F(ProgramExchangeTest, AFullProgramFileTakesNoNewProgram)
{
    WriteProgram(PlainProgram());
    // Program.BVC with all its 100 slots used, Program2.BVC with 99.
    using namespace ProgramItems;
    int index = 0;
    store.FileOf(1, index)->WriteInt(kProgramSection, 1, kKeySlotsUsed, 100);
    store.FileOf(101, index)->WriteInt(kProgramSection, 1, kKeySlotsUsed, 99);
    store.Refresh();
    ASSERT_EQ(PX::Export(store, 5, kFile), 0);
    const std::string file = bvtest::TempFolder::Read("ProgExport.ini");

    EXPECT_EQ(ProgramEdits::NewProgramNumber(store, 2), 0);
    EXPECT_EQ(ProgramEdits::AddProgram(store, 2), 0);
    EXPECT_EQ(PX::Import(store, 2, kFile), PX::kFull);
    // Nothing written: not program 101, not the slot count, not the file.
    EXPECT_EQ(store.GetProgCount(1), 100);
    EXPECT_EQ(store.GetProgCount(0), 199);
    EXPECT_EQ(bvtest::TempFolder::Read("ProgExport.ini"), file);

    // The last private slot, then none.
    EXPECT_EQ(PX::Import(store, 0, kFile), 200);
    ASSERT_EQ(PX::Export(store, 5, kFile), 0);
    EXPECT_EQ(PX::Import(store, 0, kFile), PX::kFull);
    EXPECT_EQ(ProgramEdits::AddProgram(store, 0), 0);
    EXPECT_EQ(store.GetProgCount(0), 200);
}

}  // namespace
