#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace ProgramItems;

namespace {

// Shooting programs written straight into the two files, as the program
// editor of another computer would have left them.
class ProgramStoreTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        first.Open(".\\Program.BVC", 1);
        second.Open(".\\Program2.BVC", 1);
        ASSERT_TRUE(first.IsOpen() && second.IsOpen());
        first.WriteInt(kProgramSection, 1, kKeySlotsUsed, 12);  // slots used
        second.WriteInt(kProgramSection, 1, kKeySlotsUsed, 60);
        Program(first, 1, "Felt", 3);
        first.WriteInt(kSerieShots, 1, 2, 25);  // series 1: 25 shots
        first.WriteInt(kSerieShots, 1, 3, 10);  // series 2: 10 shots
        first.WriteInt(kSerieShots, 1, 4, 0);   // series 3 not used
        first.WriteString(kSerieName, 1, 2, platform::Ansi("Prøve").c_str());
        Program(first, 5, "Bane", 2);
        first.WriteInt(kProgramSection, 5, kKeySize, 0);  // an empty size cell in the editor
        Program(first, 11, "Grunnlag", 1);
        first.WriteInt(kProgramSection, 11, kKeySize, -3);
        Program(second, 50, "Hundre og femti", 2);
        Program(second, 55, "Hundre og femtifem", 1);
    }

    static void Program(CBVConfig& file, int index, const char* name, int series)
    {
        file.WriteString(kProgramSection, index, kKeyName, name);
        file.WriteInt(kProgramSection, index, kKeySerieCount, series);
    }

    CBVConfig first, second;
};

TEST_F(ProgramStoreTest, NumbersFindTheirFileAndIndex)
{
    CProgramStore store;
    char name[32];
    struct Case {
        int n;
        const char* name;
        int series;
        int organisation;
    } cases[] = {
        {1, "Felt", 3, 99},
        {0, "Felt", 3, 99},      // the current program, 1 at construction
        {5, "Bane", 2, 99},
        {150, "Hundre og femti", 2, 0},
        {155, "Hundre og femtifem", 1, 0},
        {30, "", 0, 99},         // a free slot
        {201, "Prog 1", 20, 0},  // no such program: as a file not open
        {-4, "Prog -4", 20, 0},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(store.GetName(name, c.n), c.name) << c.n;
        EXPECT_EQ(store.GetSerieCount(c.n), c.series) << c.n;
        EXPECT_EQ(store.GetOrganisation(c.n), c.organisation) << c.n;
    }
    store.SetCurrentProgram(155);
    EXPECT_STREQ(store.GetName(nullptr, 0), "Hundre og femtifem");
    EXPECT_EQ(store.GetProgCount(1), 12);
    EXPECT_EQ(store.GetProgCount(0), 160);
}

TEST_F(ProgramStoreTest, SeriesReadWithTheirDefaults)
{
    CProgramStore store;
    char name[32];
    EXPECT_EQ(platform::Cp1252ToUtf8(store.GetSerieName(1, name, 1)), "Prøve");
    EXPECT_STREQ(store.GetSerieName(2, name, 1), "Serie 2");
    EXPECT_STREQ(store.GetSerieName(1, name, -1), "Serie 1");  // a negative program never reads
    EXPECT_EQ(store.GetSerieShots(1, 1), 25);
    EXPECT_EQ(store.GetSerieMark(1, 1), 1);  // has shots
    EXPECT_EQ(store.GetSerieMark(3, 1), 0);
    first.WriteInt(kSerieMark, 1, 2, 3);
    store.Refresh();
    EXPECT_EQ(store.GetSerieMark(1, 1), 3);
    EXPECT_EQ(store.GetSerieTarget(1, 1), -1);
    EXPECT_EQ(store.GetSerieExch(7, 1), 7);
    first.WriteInt(kSerieExch, 1, 8, 2);
    first.WriteInt(kSerieTarget, 1, 8, 29);
    store.Refresh();
    EXPECT_EQ(store.GetSerieExch(7, 1), 2);
    EXPECT_EQ(store.GetSerieTarget(7, 1), 29);
}

TEST_F(ProgramStoreTest, LineCountAndAnEmptySizeCell)
{
    CProgramStore store;
    EXPECT_EQ(store.GetSize(1), 10);
    EXPECT_EQ(store.GetLineCount(3, 1), 1 + 3 + 1);  // 25 and 10 shots, 10 a line
    EXPECT_EQ(store.GetLineCount(1, 1), 1);
    EXPECT_EQ(store.GetLineCount(5, 1), 5);          // series 3 has no shots, 4 is not there
    // A size of 0 or below reads as 10, never as a divisor of 0.
    EXPECT_EQ(store.GetSize(5), 10);
    EXPECT_EQ(store.GetSize(11), 10);
    first.WriteInt(kSerieShots, 5, 2, 12);
    store.Refresh();
    EXPECT_EQ(store.GetLineCount(2, 5), 1 + 2);
    first.WriteInt(kProgramSection, 1, kKeySize, 5);
    store.Refresh();
    EXPECT_EQ(store.GetSerieSize(9, 1), 5);
    EXPECT_EQ(store.GetLineCount(3, 1), 1 + 5 + 2);
}

TEST_F(ProgramStoreTest, TimingTextsOfTurningTargets)
{
    first.WriteInt(kProgramSection, 1, kKeyEquipment, 129);
    struct Case {
        const char* stored;
        bool noTimer;
        int timer, delay, green, red, rep;
    } cases[] = {
        {"X;5;3;7;1;", true, 0, 5, 3, 7, 1},
        {"150;10;3;7;5;", false, 150, 10, 3, 7, 5},
        {" .,;2;3;4;5;", true, 0, 2, 3, 4, 5},
        {"", true, 0, 0, 0, 0, 0},
        {"20;4", false, 20, 4, 0, 0, 0},
    };
    for (const Case& c : cases) {
        first.WriteString(kSerieTiming, 1, 2, c.stored);
        CProgramStore store;
        CProgramStore::SerieTiming t;
        EXPECT_EQ(store.GetSerieTiming(t, 1, 1), 129) << c.stored;
        EXPECT_EQ(t.noTimer, c.noTimer) << c.stored;
        EXPECT_EQ(t.timer, c.timer) << c.stored;
        EXPECT_EQ(t.delay, c.delay) << c.stored;
        EXPECT_EQ(t.green, c.green) << c.stored;
        EXPECT_EQ(t.red, c.red) << c.stored;
        EXPECT_EQ(t.rep, c.rep) << c.stored;
    }

    CProgramStore editor;
    editor.AllowCreate();
    editor.OpenFiles(true);
    editor.SetSerieTiming({true, 99, 5, 3, 7, 1}, 2, 1);
    editor.SetSerieTiming({false, 150, 10, 3, 7, 5}, 3, 1);
    char text[32];
    first.Refresh();
    EXPECT_STREQ(first.ReadString(26, 1, 3, "", text, sizeof text), "X;5;3;7;1;");
    EXPECT_STREQ(first.ReadString(26, 1, 4, "", text, sizeof text), "150;10;3;7;5;");
}

TEST_F(ProgramStoreTest, FindClassComparesTrimmedNamesLikeNames)
{
    first.WriteInt(kProgramSection, 1, kKeyClassCount, 4);
    first.WriteString(kClassName, 1, 2, "Senior");
    first.WriteString(kClassName, 1, 3, platform::Ansi("Åpen").c_str());
    first.WriteString(kClassName, 1, 4, "");
    first.WriteString(kClassName, 1, 5, "Junior");
    CProgramStore store;
    struct Case {
        std::string text;
        int cls;
    } cases[] = {
        {"Senior", 1}, {"  Senior  ", 1}, {"SENIOR", 1}, {platform::Ansi("åpen"), 2}, {"Junior", 4},
        {"Veteran", 3},  // no such class: the last one without a name
    };
    for (const Case& c : cases)
        EXPECT_EQ(store.FindClass(c.text, 1), c.cls) << c.text;
    first.WriteString(kClassName, 1, 4, "Rekrutt");
    store.Refresh();
    EXPECT_EQ(store.FindClass("Veteran", 1), 0);
    char name[32];
    EXPECT_STREQ(store.GetClassName(9, name, 1), "Class 9");
    EXPECT_STREQ(store.GetSubSumName(2, name, 1), "Sum2");
}

// Def texts: position p (1..20) is character p - 1, a blank being 0; the
// position 20 is the last character of the 20, never past it.
TEST_F(ProgramStoreTest, DefPositionsAddressTheirOwnCharacter)
{
    const std::string def = "!\"" + std::string(17, ' ') + "#";  // 1 for series 1, 2 for 2, 3 for 20
    first.WriteString(kClassDef, 1, 2, def.c_str());
    first.WriteString(kSubSumDef, 1, 3, "!!");  // a short text from another editor
    CProgramStore store;
    struct Case {
        int p;
        int classValue;
        int subSumValue;
    } cases[] = {{1, 1, 1}, {2, 2, 1}, {3, 0, 0}, {19, 0, 0}, {20, 3, 0}, {0, 0, 0}, {21, 0, 0}, {-1, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(store.GetClassFlag(1, c.p, 1), c.classValue) << c.p;
        EXPECT_EQ(store.GetSubSumFlag(2, c.p, 1), c.subSumValue) << c.p;
    }

    CProgramStore editor;
    editor.AllowCreate();
    editor.OpenFiles(true);
    editor.SetClassFlag(1, 20, 1, 5);
    editor.SetClassFlag(1, 21, 1, 5);   // nothing
    editor.SetClassFlag(1, 0, 1, 5);    // nothing
    editor.SetSubSumFlag(2, 4, 1, 1);   // pads the short text to 20
    editor.SetSubSumFlag(3, 1, 1, 1);   // a sub-sum without a text gets the blanks
    char text[32];
    EXPECT_EQ(std::string(editor.GetClassDef(1, text, 1)), "!\"" + std::string(17, ' ') + "%");
    EXPECT_EQ(std::string(editor.GetSubSumDef(2, text, 1)), "!! !" + std::string(16, ' '));
    EXPECT_EQ(std::string(editor.GetSubSumDef(3, text, 1)), "!" + std::string(19, ' '));
    EXPECT_EQ(editor.GetClassFlag(1, 20, 1), 5);
    EXPECT_EQ(editor.GetSubSumFlag(2, 4, 1), 1);
}

TEST_F(ProgramStoreTest, NextProgramStaysInItsOwnFile)
{
    CProgramStore store;
    struct Case {
        int n;
        int next;
    } cases[] = {{1, 5}, {5, 11}, {11, 0}, {99, 0}, {100, 0}, {101, 150}, {150, 155}, {155, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(store.NextProgram(c.n), c.next) << c.n;
    first.WriteInt(kProgramSection, 1, kKeySlotsUsed, 100);
    first.WriteString(kProgramSection, 100, kKeyName, "Siste");
    store.Refresh();
    EXPECT_EQ(store.NextProgram(99), 100);
    EXPECT_EQ(store.NextProgram(100), 0);  // never on into program 101
}

TEST_F(ProgramStoreTest, RefreshSeesAnotherEditorsChangeOnce)
{
    CProgramStore store;
    EXPECT_EQ(store.GetSerieCount(150), 2);
    EXPECT_EQ(store.Refresh(), 0);
    second.WriteInt(kProgramSection, 50, kKeySerieCount, 6);
    EXPECT_EQ(store.Refresh(), 1);
    EXPECT_EQ(store.Refresh(), 0);
    EXPECT_EQ(store.GetSerieCount(150), 6);
}

class ProgramStoreWithoutFilesTest : public bvtest::InTempFolder {};

TEST_F(ProgramStoreWithoutFilesTest, MissingFilesGiveTheNotOpenValuesAndAreNotMade)
{
    CProgramStore store;
    char name[32];
    EXPECT_STREQ(store.GetName(name, 150), "Prog 50");
    EXPECT_EQ(store.GetSerieCount(3), 20);
    EXPECT_EQ(store.GetSize(3), 10);
    EXPECT_EQ(store.GetSerieShots(1, 3), 0);
    EXPECT_EQ(store.GetSerieMark(1, 3), 0);
    EXPECT_EQ(store.GetSerieTarget(1, 3), -1);
    EXPECT_EQ(store.GetSerieExch(4, 3), 4);
    EXPECT_EQ(store.GetProgCount(1), 0);
    EXPECT_EQ(store.GetProgCount(0), 0);
    EXPECT_EQ(store.GetClassFlag(1, 1, 3), 0);
    EXPECT_EQ(store.NextProgram(1), 0);
    EXPECT_STREQ(store.GetSerieName(3, name, 3), "Serie 3");
    EXPECT_FALSE(platform::FileExists("Program.BVC"));

    // The program editor makes them in the folder given.
    ASSERT_EQ(platform::CreateFolder("Range"), 0);
    CProgramStore editor;
    editor.SetBasePath("Range");
    editor.AllowCreate();
    editor.OpenFiles(true);
    EXPECT_TRUE(platform::FileExists("Range/Program.BVC"));
    EXPECT_TRUE(platform::FileExists("Range/Program2.BVC"));
    EXPECT_EQ(editor.GetSerieCount(3), 0);
}

}  // namespace

// A range with programs 1 to 100 only: the missing second file is no fault,
// and a reader asked on every tick fills no log with it.
TEST(ProgramStoreOneFile, MissingSecondFileIsQuiet)
{
    bvtest::TempFolder folder;
    {
        CBVConfig first;
        first.Open(".\\Program.BVC", 1);
        first.WriteString(kProgramSection, 1, kKeyName, "Felt");
        first.WriteInt(kSerieShots, 1, 2, 10);
    }
    CProgramStore store;
    for (int tick = 0; tick < 5; ++tick) {
        store.Refresh();
        EXPECT_EQ(store.GetSerieShots(1, 1), 10);
        EXPECT_EQ(store.GetProgCount(0), 0);
    }
    EXPECT_EQ(bvtest::TempFolder::Read("BVLog.txt").find("Not open"), std::string::npos);
    EXPECT_FALSE(platform::FileExists("Program2.BVC"));
}
