// The shared registers' records byte for byte, and the person register:
// lookup by name and club, free records reused, duplicates merged, two
// programs storing persons at once.
#include "tests/results/ResultsFixture.h"

#include "foundation/text/FieldText.h"
#include "results/registers/DataPerson.h"
#include "results/registers/RegisterRecords.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace results;
using bvtest::TempFolder;
using restest::Field;
using restest::FileBytes;
using restest::Le;

std::string Bytes(const void* p, size_t n) { return std::string(static_cast<const char*>(p), n); }

PersonRecord Person(const std::string& name, int16_t club, uint8_t org = 1, int year = 2026)
{
    PersonRecord p{};
    p.org = org;
    p.club = club;
    SetFieldText(p.name, sizeof p.name, name);
    p.century = static_cast<uint8_t>(year / 100);
    p.year = static_cast<uint8_t>(year % 100);
    p.month = 5;
    p.day = 1;
    return p;
}

TEST(RegisterRecordsTest, LaidOutAsTheFilesHoldThem)
{
    ClubRecord club{};
    club.org = 3;
    club.number = 0xFFFE;
    SetFieldText(club.name, sizeof club.name, "Hamar");
    SetFieldText(club.address3, sizeof club.address3, "2300 Hamar");
    club.regionA = 1;
    club.regionB = 123;
    club.regionC = 65535;
    SetFieldText(club.phone2, sizeof club.phone2, "62 00 00 00");
    SetFieldText(club.email, sizeof club.email, "post@hamar.no");
    SetFieldText(club.web, sizeof club.web, "hamar.no");
    EXPECT_EQ(Bytes(&club, sizeof club),
              "\x03" + std::string(1, '\0') + Le<uint16_t>(0xFFFE) + Field("Hamar", 32) + std::string(64, '\0') +
                  Field("2300 Hamar", 32) + Le<uint16_t>(1) + Le<uint16_t>(123) + Le<uint16_t>(65535) +
                  std::string(15, '\0') + Field("62 00 00 00", 15) + std::string(20, '\0') +
                  Field("post@hamar.no", 50) + Field("hamar.no", 100));

    OrgRecord org{2, kRegionB, 40000, {}};
    SetFieldText(org.text, sizeof org.text, "Hedmark");
    EXPECT_EQ(Bytes(&org, sizeof org), "\x02\x06" + Le<uint16_t>(40000) + Field("Hedmark", 32));

    PersonRecord person = Person("Kari Nordmann", -2, 4, 2003);
    SetFieldText(person.className, sizeof person.className, "V55");
    SetFieldText(person.bib, sizeof person.bib, "A17");
    EXPECT_EQ(Bytes(&person, sizeof person), "\x04" + Le<int16_t>(-2) + Field("Kari Nordmann", 32) +
                                                 Field("V55", 11) + "\x14\x03\x05\x01" + Field("A17", 82));
    EXPECT_LT(PersonDate(Person("a", 1, 1, 2004)), PersonDate(Person("a", 1, 1, 2005)));
}

class PersonRegisterTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { std::filesystem::create_directory("Common"); }
    // Writes the persons straight into a new register, record 1 first.
    void Lay(const std::vector<PersonRecord>& persons)
    {
        std::string records;
        for (const PersonRecord& p : persons)
            records += Bytes(&p, sizeof p);
        TempFolder::Write("Common/Person.BVD", FileBytes(0, 132, 4, records));
    }
    CDataPerson reg;
};

TEST_F(PersonRegisterTest, AnOlderRegisterIsConvertedWithEmptyBibs)
{
    PersonRecord a = Person("Per", 3);
    std::string old = Bytes(&a, 50) + Bytes(&a, 50);
    TempFolder::Write("Common/Person.BVD", FileBytes(2, 50, 3, old));
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Count(), 2);
    std::string records = Bytes(&a, 50) + std::string(82, '\0');
    EXPECT_EQ(TempFolder::Read("Common/Person.BVD").substr(4), Le<int16_t>(132) + Le<int16_t>(4) + records + records);
}

TEST_F(PersonRegisterTest, FindByNameCaseAndClub)
{
    Lay({Person("Ola Berg", 5)});
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Find("Ola Berg", 5), 1);  // one person is found too
    EXPECT_EQ(reg.Find("Ola Berg", 6), 0);

    Lay({Person("Ola Berg", 5), Person("Anne", 7), Person("ola berg", 7), Person("\xC5se", 7), Person("Zeta", 5),
         Person("Ola Berg", 7, 2)});
    CDataPerson reg;
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Count(), 5);
    PersonRecord p;
    std::vector<std::string> order;
    for (int i = 0; reg.Get(i, p) != 0; ++i)
        order.push_back(FieldText(p.name, sizeof p.name));
    EXPECT_EQ(order, (std::vector<std::string>{"Anne", "Ola Berg", "ola berg", "Zeta", "\xC5se"}));
    EXPECT_EQ(reg.Get(5, p), 0);
    EXPECT_EQ(reg.Find("OLA BERG", 7), 3);
    EXPECT_EQ(reg.Find("OLA BERG", 5), 1);
    EXPECT_EQ(reg.Find("\xC5se", 7), 4);
    EXPECT_EQ(reg.Find("Olav", 7), 0);
}

TEST_F(PersonRegisterTest, PutTakesTheFirstFreeRecordElseAppends)
{
    Lay({Person("A", 1), Person("B", 1), Person("C", 1), Person("", 0, 0), Person("E", 1)});
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Put(Person("New", 2)), 4);
    EXPECT_EQ(reg.Put(Person("Next", 2)), 6);
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Find("New", 2), 4);
    EXPECT_EQ(reg.Find("Next", 2), 6);
}

TEST_F(PersonRegisterTest, MergeDuplicatesKeepsTheLatestAndRemovesOld)
{
    Lay({Person("Kari  Li", 3, 1, 2010), Person("KARI LI", 3, 1, 2020), Person("Kari Li", 4, 1, 2004),
         Person("Old One", 3, 1, 2004), Person("New One", 3, 1, 2005)});
    ASSERT_EQ(reg.Load(1), 0);
    reg.MergeDuplicates(true, false, 0);
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Count(), 4);
    EXPECT_EQ(reg.Find("Kari Li", 3), 2);  // used last
    EXPECT_EQ(reg.Find("Kari Li", 4), 3);  // another club
    PersonRecord freed;
    reg.File().ReadRec(1, &freed);
    EXPECT_EQ(+freed.club, 0);
    EXPECT_EQ(+freed.org, 0);

    reg.MergeDuplicates(false, true, 2005);
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Count(), 2);
    EXPECT_EQ(reg.Find("New One", 3), 5);
    EXPECT_EQ(reg.Find("KARI LI", 3), 2);
}

TEST_F(PersonRegisterTest, TwoProgramsPutTwoHundredDistinctRecords)
{
    std::vector<PersonRecord> start;
    for (int i = 0; i < 20; ++i)
        start.push_back(i % 2 ? Person("", 0, 0) : Person("Keep " + std::to_string(i), 1));
    Lay(start);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            CDataPerson mine;
            int bad = mine.Load(1);
            for (int i = 0; i < 100; ++i)
                bad += mine.Put(Person("P" + std::to_string(c) + "-" + std::to_string(i), 2)) == 0;
            ::_exit(bad == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ASSERT_EQ(reg.Load(1), 0);
    EXPECT_EQ(reg.Count(), 210);
    EXPECT_EQ(reg.File().GetRecCount(), 210);
    std::set<int> records;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 100; ++i)
            records.insert(reg.Find("P" + std::to_string(c) + "-" + std::to_string(i), 2));
    EXPECT_EQ(records.size(), 200u);
    EXPECT_EQ(records.count(0), 0u);
}

}  // namespace
