// The club and organisation registers: clubs of one organisation by name and
// number, organisations, region lists and captions, writes by kind, and a
// reload on one thread while another reads.
#include "TempFolder.h"

#include "foundation/text/FieldText.h"
#include "platform/files/ProfileStore.h"
#include "results/data/CompetitionItems.h"
#include "results/registers/ClubRegisterHook.h"
#include "results/registers/DataClub.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

using namespace results;

class ClubRegisterTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { std::filesystem::create_directory("Common"); }
    int PutClub(CDataClub& reg, int number, const std::string& name)
    {
        ClubRecord c{};
        SetFieldText(c.name, sizeof c.name, name);
        c.org = 99;  // the register writes its current organisation instead
        return reg.Put(&c, number, CDataClub::kClubs);
    }
    int PutOrg(CDataClub& reg, int kind, int value, const std::string& text)
    {
        OrgRecord o{};
        SetFieldText(o.text, sizeof o.text, text);
        return reg.Put(&o, value, kind);
    }
    std::vector<std::string> Clubs(CDataClub& reg, int request)
    {
        std::vector<std::string> out;
        ClubRecord c;
        for (int i = 0; reg.Get(&c, i, request) == 0; ++i)
            out.push_back(std::to_string(c.number) + " " + FieldText(c.name, sizeof c.name));
        return out;
    }
    CDataClub reg;
};

TEST_F(ClubRegisterTest, ClubsOfTheCurrentOrganisationByNameAndNumber)
{
    reg.LoadClubs(1);
    EXPECT_EQ(reg.Count(8), 0);
    ClubRecord c;
    EXPECT_EQ(reg.Get(&c, 0, 56), -1);
    ASSERT_EQ(PutClub(reg, 12, "Vang"), 0);
    ASSERT_EQ(PutClub(reg, 3, "Hamar"), 0);
    ASSERT_EQ(PutClub(reg, 40000, "\xD8ksendal"), 0);  // Ø after Z
    ASSERT_EQ(PutClub(reg, 7, "Zeta"), 0);
    reg.LoadOrg(2);  // the clubs stay those of organisation 1
    EXPECT_EQ(reg.ClubOrg(), 1);
    reg.LoadClubs(2);
    ASSERT_EQ(PutClub(reg, 12, "Other"), 0);
    EXPECT_NE(reg.LoadClubs(1), 0);
    EXPECT_EQ(Clubs(reg, 56), (std::vector<std::string>{"3 Hamar", "12 Vang", "7 Zeta", "40000 \xD8ksendal"}));
    EXPECT_EQ(Clubs(reg, 72), (std::vector<std::string>{"3 Hamar", "7 Zeta", "12 Vang", "40000 \xD8ksendal"}));
    EXPECT_EQ(reg.Get(&c, 12, 40), 0);
    EXPECT_EQ(FieldText(c.name, 32), "Vang");
    EXPECT_EQ(reg.LoadClubs(1), 0);  // nothing changed

    EXPECT_NE(reg.LoadClubs(2), 0);
    EXPECT_EQ(Clubs(reg, 56), (std::vector<std::string>{"12 Other"}));
    EXPECT_EQ(reg.Get(&c, 12, 40), 0);
    EXPECT_EQ(FieldText(c.name, 32), "Other");
    EXPECT_EQ(c.org, 2);

    // Renamed, a club moves in the name order only.
    reg.LoadClubs(1);
    ASSERT_EQ(PutClub(reg, 3, "\xC5sen"), 0);
    EXPECT_NE(reg.LoadClubs(1), 0);
    EXPECT_EQ(Clubs(reg, 56), (std::vector<std::string>{"12 Vang", "7 Zeta", "40000 \xD8ksendal", "3 \xC5sen"}));
    EXPECT_EQ(Clubs(reg, 72), (std::vector<std::string>{"3 \xC5sen", "7 Zeta", "12 Vang", "40000 \xD8ksendal"}));
    EXPECT_EQ(reg.Get(&c, 5, 24), 0);  // by record number: the club of organisation 2
    EXPECT_EQ(c.org, 2);
    EXPECT_EQ(reg.Get(&c, 6, 24), -1);
    EXPECT_EQ(reg.Get(&c, 0, 99), -2);
}

TEST_F(ClubRegisterTest, OrganisationsRegionsAndCaptions)
{
    reg.LoadOrg(2);
    EXPECT_EQ(PutOrg(reg, kOrgName, 2, "NJFF"), 0);
    EXPECT_EQ(PutOrg(reg, kOrgName, 1, "DFS"), 0);
    EXPECT_EQ(PutOrg(reg, kCaptionA, 0, "Krets"), 0);
    EXPECT_EQ(PutOrg(reg, kCaptionB, 0, "Lag"), 0);
    for (int item : {10, 2, 65535})
        EXPECT_EQ(PutOrg(reg, kRegionB, item, "R" + std::to_string(item)), 0);
    EXPECT_EQ(PutOrg(reg, kRegionA, 1, "Nord"), 0);
    EXPECT_EQ(PutOrg(reg, 0, 1, "x"), CDataClub::kNotTaken);
    EXPECT_EQ(PutOrg(reg, 9, 1, "x"), CDataClub::kNotTaken);
    EXPECT_NE(reg.LoadOrg(2), 0);
    EXPECT_EQ(reg.Count(1), 2);
    EXPECT_EQ(reg.Count(5), 1);
    EXPECT_EQ(reg.Count(6), 3);
    OrgRecord o;
    std::vector<int> items;
    for (int i = 0; reg.Get(&o, i, 70) == 0; ++i)
        items.push_back(o.item);
    EXPECT_EQ(items, (std::vector<int>{2, 10, 65535}));
    EXPECT_EQ(reg.Get(&o, 3, 70), -1);
    EXPECT_EQ(reg.Get(&o, 0, 65), 0);
    EXPECT_EQ(FieldText(o.text, 32), "DFS");
    EXPECT_EQ(reg.Get(&o, 2, 65), 1);
    EXPECT_EQ(reg.Get(&o, 0, 2), 0);
    EXPECT_EQ(FieldText(o.text, 32), "Krets");
    EXPECT_EQ(reg.Get(&o, 0, 4), 0);
    EXPECT_EQ(FieldText(o.text, 32), "");
    EXPECT_EQ(reg.Get(&o, 10, 38), 0);
    EXPECT_EQ(FieldText(o.text, 32), "R10");
    EXPECT_EQ(reg.Get(&o, 11, 38), -1);
    EXPECT_EQ(reg.Get(&o, 2, 33), 0);
    EXPECT_EQ(FieldText(o.text, 32), "NJFF");
    // Another organisation has no regions of its own yet.
    EXPECT_NE(reg.LoadOrg(1), 0);
    EXPECT_EQ(reg.Count(6), 0);
    EXPECT_EQ(reg.Caption(0), "");
}

TEST_F(ClubRegisterTest, ReloadingWhileAnotherThreadReads)
{
    for (int org : {1, 2}) {
        reg.LoadClubs(org);
        for (int n = 1; n <= 50; ++n)
            ASSERT_EQ(PutClub(reg, org * 100 + n, "Club " + std::to_string(n)), 0);
    }
    reg.LoadClubs(1);
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        while (!stop) {
            // Whichever load is in place, its index is whole: position i is
            // the club i + 1 of one of the two organisations.
            for (int i = 0; i < 50; ++i) {
                ClubRecord c;
                if (reg.Get(&c, i, 72) != 0 || c.number != c.org * 100 + i + 1)
                    ++bad;
                ++reads;
            }
        }
    });
    for (int round = 0; round < 200; ++round)
        reg.LoadClubs(round % 2 ? 1 : 2);
    while (reads < 500)
        std::this_thread::yield();
    stop = true;
    reader.join();
    EXPECT_EQ(bad, 0);
}

TEST_F(ClubRegisterTest, AnOpenedCompetitionLoadsItsOrganisation)
{
    platform::MemoryProfileStore profile;
    CCompetition comp;
    comp.SetProfile(&profile);
    ASSERT_EQ(comp.Open(), 0);
    ::WriteItem(comp.Comp(), CompItems::kOrgType, 3);
    AttachClubRegister(comp, reg);
    ASSERT_EQ(comp.Open(), 0);
    EXPECT_EQ(reg.ClubOrg(), 3);
    EXPECT_EQ(reg.OrgOrg(), 3);
}

}  // namespace
