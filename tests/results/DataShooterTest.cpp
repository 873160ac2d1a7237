// The shooter file: records by start number, names per club, searches.
#include "ResultsFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace results;
using bvtest::TempFolder;

class DataShooterTest : public restest::CompetitionTest {
protected:
    CDataShooter& shooters = comp.Shooters();
};

TEST_F(DataShooterTest, PutAndReadBack)
{
    ASSERT_EQ(shooters.Put(12, "B-1", "Ola Nordmann", 5, 2, "Jr"), 0);
    EXPECT_EQ(shooters.GetName(12), "Ola Nordmann");
    EXPECT_EQ(shooters.GetText(12), "Jr");
    EXPECT_EQ(shooters.GetClub(12), 5);
    EXPECT_EQ(shooters.GetClass(12), 2);
    EXPECT_EQ(shooters.GetBibNr(12), "B-1");
    // Nothing for a start number without record.
    EXPECT_EQ(shooters.GetName(13), "");
    EXPECT_EQ(shooters.GetClub(13), 0);
    EXPECT_EQ(shooters.GetBibNr(13), "");

    std::string before = TempFolder::Read("Comp1/Shooter.bvd");
    EXPECT_EQ(shooters.Put(0, "", "Nobody", 1, 1, ""), 0);
    EXPECT_EQ(TempFolder::Read("Comp1/Shooter.bvd"), before);

    ASSERT_EQ(shooters.Put(14, std::string(31, '9'), "Kari", 5, 1, ""), 0);
    EXPECT_EQ(shooters.GetBibNr(14), "");
    ASSERT_EQ(shooters.Put(14, std::string(30, '9'), "Kari", 5, 1, ""), 0);
    EXPECT_EQ(shooters.GetBibNr(14), std::string(30, '9'));
}

TEST_F(DataShooterTest, ANameKnownInTheClubIsLoggedAndStoredAgain)
{
    ASSERT_EQ(shooters.Put(12, "", "Per Hansen", 3, 1, ""), 0);
    ASSERT_EQ(shooters.Put(15, "", "per hansen", 3, 1, ""), 0);
    EXPECT_NE(TempFolder::Read("BVLog.txt").find("Shooter already in DB with different startnr"), std::string::npos);
    EXPECT_EQ(shooters.GetName(15), "per hansen");
    EXPECT_EQ(shooters.FindByName("PER HANSEN", 3), 12);
    EXPECT_EQ(shooters.FindByName("Per Hansen", 4), 0);
}

TEST_F(DataShooterTest, SearchAndSortedNumbersKeepWholeStartNumbers)
{
    ASSERT_EQ(shooters.Put(70000, "", "Anne Berg", 1, 1, ""), 0);
    ASSERT_EQ(shooters.Put(9, "", "Bergljot Li", 0, 1, ""), 0);
    ASSERT_EQ(shooters.Put(300, "", "Ola Dahl", 2, 1, ""), 0);
    ASSERT_EQ(shooters.Put(4, "", "Lise Berge", 2, 1, ""), 0);
    std::vector<int32_t> found;
    EXPECT_EQ(shooters.Search("berg", found), 3);
    EXPECT_EQ(found, (std::vector<int32_t>{70000, 9, 4}));
    EXPECT_EQ(shooters.Search("xyz", found), 0);
    EXPECT_TRUE(found.empty());
    std::vector<uint32_t> numbers;
    EXPECT_EQ(shooters.SortedNumbers(numbers), 3);
    EXPECT_EQ(numbers, (std::vector<uint32_t>{4, 300, 70000}));  // 9 has no club
}

}  // namespace
