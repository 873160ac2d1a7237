// bvtool res clubs, org, orgs and persons, run as a user runs them on BVRes's
// working folder.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using bvtest::RunSteps;
using bvtest::TempFolder;

class BvtoolRegisterTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { std::filesystem::create_directory("res"); }
};

TEST_F(BvtoolRegisterTest, ClubsOrganisationsAndPersons)
{
    TempFolder::Write("res/Skytterlag.txt", "5;Hamar skytterlag;Vei 1;;2300;Hamar;1;2;3;4;5;123\r\n"
                                            "4;\xC5sen skytterlag;;;;;;;;;1;\r\n");
    RunSteps({
        {"res clubs import res 1"},
        {"res clubs import res 1 Missing.txt", 1},
        {"res clubs import res 4", 1},
        {"res org res 1 1 0 DFS"},
        {"res org res 1 2 0 Krets"},
        {"res org res 1 5 5 'Nordøst'"},
        {"res org res 1 5 1 Sør"},
        {"res org res 1 8 1 x", 1},
        {"res clubs list res 1", 0,
         "5\tHamar\tVei 1\t\t2300 Hamar\tNordøst\t\t\t1\t2\t123\t\t\n4\tÅsen\t\t\t\tSør\t\t\t\t\t\t\t\n"},
        {"res clubs list res 1 --by number", 0,
         "4\tÅsen\t\t\t\tSør\t\t\t\t\t\t\t\n5\tHamar\tVei 1\t\t2300 Hamar\tNordøst\t\t\t1\t2\t123\t\t\n"},
        {"res orgs res 1", 0,
         "org\t1\tDFS\ncaption\tA\tKrets\ncaption\tB\t\ncaption\tC\t\nregion\tA\t1\tSør\nregion\tA\t5\tNordøst\n"},
        {"res persons put res 1 7 'Kari Ås' --bib 12 --class V55 --date 20040102", 0, "1\n"},
        {"res persons put res 1 7 'kari  ås' --date 20100101", 0, "2\n"},
        {"res persons put res 1 8 'Ola' --date 20050101", 0, "3\n"},
        {"res persons find res 1 7 'KARI ÅS'", 0, "1\n"},
        {"res persons find res 1 9 'Ola'", 0, "0\n"},
        {"res persons list res 1", 0,
         "2\tkari  ås\t7\t\t2010.01.01\t\n1\tKari Ås\t7\tV55\t2004.01.02\t12\n3\tOla\t8\t\t2005.01.01\t\n"},
        {"res persons clean res 1 --merge --older-than 2005"},
        {"res persons list res 1", 0, "2\tkari ås\t7\t\t2010.01.01\t\n3\tOla\t8\t\t2005.01.01\t\n"},
        {"res persons put res 1 9 'Per' --date 20260101", 0, "1\n"},
    });
}

}  // namespace
