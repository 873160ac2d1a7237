// The federations' club lists read into the club register from files as the
// federations write them (Windows-1252, lines ending in CR LF).
#include "TempFolder.h"

#include "foundation/text/FieldText.h"
#include "results/registers/DataClub.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace results;
using bvtest::TempFolder;

class ClubImportTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory("Common");
        reg.SetReport([this](const std::string& text) { reports += text + "\n"; });
    }
    // "NUMBER NAME|ADDRESS3|A B C|EMAIL" per club in number order.
    std::vector<std::string> Listed(int org)
    {
        reg.LoadClubs(org);
        std::vector<std::string> out;
        ClubRecord c;
        for (int i = 0; reg.Get(&c, i, 72) == 0; ++i)
            out.push_back(std::to_string(c.number) + " " + FieldText(c.name, 32) + "|" + FieldText(c.address3, 32) +
                          "|" + std::to_string(c.regionA) + " " + std::to_string(c.regionB) + " " +
                          std::to_string(c.regionC) + "|" + FieldText(c.email, 50));
        return out;
    }
    CDataClub reg;
    std::string reports;
};

TEST_F(ClubImportTest, ColumnList)
{
    TempFolder::Write("Skytterlag.txt",
                      "Nr;Navn;Adr1;Adr2;Postnr;Sted;Tlf1;Tlf2;B;C;A;Konto\r\n"          // header: 12 columns
                      "5;Hamar skytterlag;Vei 1;;2300;Hamar;1;2;3;4;5;123\r\n"          // 12 columns
                      "6;Short line;a;b;c;d;e;f;1;2;3\r\n"                               // 11: skipped
                      "7;\xC6rfjord sk.l;x;y;9990;\xC5s;;;0;0;1;9;e@x.no;w;15;16;17;18;19;20;21\r\n"
                      "8;Sk.l;;;;;;;;;;\r\n"                                             // pattern at 0 stays
                      "9\tTab skytterl\t\t\t1\tA\t\t\t\t\t\t\r\n"
                      "70000;Too big;;;;;;;;;;\r\n"
                      "10;Last without end;;;;;;;;;;");
    EXPECT_EQ(reg.ImportClubList("Skytterlag.txt"), 0);
    EXPECT_EQ(reg.ImportClubList("Skytterlag.txt"), 0);  // twice: one record per club
    EXPECT_EQ(Listed(1), (std::vector<std::string>{
                             "5 Hamar|2300 Hamar|5 3 4|",
                             "7 \xC6rfjord|9990 \xC5s|1 0 0|e@x.no",
                             "8 Sk.l||0 0 0|",
                             "9 Tab|1 A|0 0 0|",
                             "10 Last without end||0 0 0|",
                         }));
    EXPECT_NE(reports.find("Nr"), std::string::npos);
    EXPECT_NE(reports.find("70000"), std::string::npos);
    // Names with national letters sort after Z.
    ClubRecord c;
    ASSERT_EQ(reg.Get(&c, 4, 56), 0);
    EXPECT_EQ(FieldText(c.name, 32), "\xC6rfjord");
    EXPECT_EQ(reg.ImportClubList("Missing.txt"), -1);
    EXPECT_NE(reports.find("Finner ikke filen \"skytterlag.txt\""), std::string::npos);
}

TEST_F(ClubImportTest, MappedList)
{
    TempFolder::Write("MapID.txt", "[ID]\r\nGR01230045=12\r\nGR02000000=13\r\nBIG=70000\r\nID=0\r\n");
    TempFolder::Write("Klubbliste.txt",
                      "ID;Navn;A2;A1;Post;Sted;Epost;Web;8;9;10;11\r\n"
                      "GR01230045;Oslo Pistolklubb;Boks 1;Gate 2;0150;Oslo;p@o.no;o.no;;;;\r\n"
                      "UNMAPPED;Bergen Skytterlag;;;;;;;;;;\r\n"
                      "BIG;Big club;;;;;;;;;;\r\n"
                      "GR02000000;Salongskytterlag;;;1;X;;;;;;;12;13;14;15;16;17;18;19\r\n"
                      "GR01230045;Short;;;\r\n");
    EXPECT_EQ(reg.ImportMapFile("Klubbliste.txt"), 0);
    EXPECT_EQ(Listed(2), (std::vector<std::string>{
                             "12 Oslo Pk|0150 Oslo|1 123 0|p@o.no",
                             "13 SSL|1 X|2 200 0|",
                         }));
    EXPECT_NE(reports.find("Club Bergen Skytterlag not in mapfile"), std::string::npos);
    EXPECT_NE(reports.find("Big club"), std::string::npos);
    EXPECT_EQ(reg.ImportMapFile("None.txt"), -1);
    EXPECT_NE(reports.find("Finner ikke filen for import Klubbliste.txt"), std::string::npos);
}

TEST_F(ClubImportTest, NjffList)
{
    TempFolder::Write("NJFF.txt", "Nummer;Navn\r\n12;Elverum JFF;x;y\r\n13;Siste");
    EXPECT_EQ(reg.ImportNjff("NJFF.txt"), 0);
    EXPECT_EQ(reg.ImportNjff("NJFF.txt"), 0);
    EXPECT_EQ(Listed(3), (std::vector<std::string>{"12 Elverum JFF||0 0 0|", "13 Siste||0 0 0|"}));
    EXPECT_EQ(reg.ImportNjff("None.txt"), -1);
    EXPECT_NE(reports.find("Finner ikke filen NJFF.txt"), std::string::npos);
}

}  // namespace
