// bvtool's ini and lang commands, run as a user runs them.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using bvtest::RunSteps;
using bvtest::TempFolder;

class BvtoolTest : public bvtest::InTempFolder {};

TEST_F(BvtoolTest, SetMergesAndGetReadsBack)
{
    TempFolder::Write("H1R00101.TXT", "; from the results program\r\n[Def]\r\nStartNr=12\r\n");
    RunSteps({
        {"ini set H1R00101.TXT Res Ser1 '10 9 8'", 0, ""},
        {"ini set H1R00101.TXT Res Ser10 '7'", 0, ""},
        {"ini set H1R00101.TXT Notes Comments 'Skiva byttet på bane 3'", 0, ""},
        {"ini get H1R00101.TXT Res Ser1", 0, "10 9 8\n"},
        {"ini get H1R00101.TXT def STARTNR", 0, "12\n"},
        {"ini get H1R00101.TXT Notes Comments", 0, "Skiva byttet på bane 3\n"},
        {"ini get H1R00101.TXT Res Ser", 1, ""},
        {"ini get Missing.TXT Def StartNr", 1, ""},
        {"ini set H1R00101.TXT Def", 1, ""},
        {"ini frob H1R00101.TXT Def StartNr", 1, ""},
    });
    // The file keeps its comment, and the text is stored in Windows-1252.
    EXPECT_EQ(TempFolder::Read("H1R00101.TXT"),
              "; from the results program\r\n[Def]\r\nStartNr=12\r\n[Res]\r\nSer1=10 9 8\r\nSer10=7\r\n"
              "[Notes]\r\nComments=Skiva byttet p\xE5 bane 3\r\n");
}

TEST_F(BvtoolTest, LangShowsOneTextOfTheBuiltLanguageFile)
{
    const std::string file = std::string(BV_BINARY_DIR) + "/lang/BVRange.bvt";
    RunSteps({
        {"lang " + file + " SE IDS_COMP_TRAINNAME", 0, "Träning\n"},
        {"lang " + file + " DE IDS_DEFCOMP_FRAME", 0, "Rahmenschüsse entfernen\n"},
        {"lang " + file + " US IDS_COMP_NAME", 0, "Competition\n"},
        {"lang " + file + " NO IDS_NO_SUCH_KEY", 1, ""},
        {"lang " + file + " FI IDS_COMP_NAME", 1, ""},
        {"lang Missing.bvt NO IDS_COMP_NAME", 1, ""},
        {"lang " + file + " NO", 1, ""},
    });
}

}  // namespace
