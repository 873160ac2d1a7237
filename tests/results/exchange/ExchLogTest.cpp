// The exchange log: its records byte for byte, the texts of each message,
// and a log emptied and written again.
#include "tests/results/ResultsFixture.h"
#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"
#include "results/exchange/BVResThread.h"
#include "results/exchange/ExchLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace results;
using restest::FileBytes;
using restest::Le;

TEST(ExchLogTextTest, TextsByMessage)
{
    const struct {
        int id, a, b;
        uint8_t kind;
        const char* text;  // UTF-8
    } cases[] = {
        {16811, 12, 3, 2, "12 skyttere lest inn fra lag 3"},
        {16811, 12, -1, 2, "12 skyttere lest inn fra ulike lag"},
        {16813, 4, 1, 2, "4 skyttere lagt ut for lag 1"},
        {16813, 40, -1, 2, "40 skyttere lagt ut for ulike lag"},
        // The text of 16816 ends in a blank of its own: two before the relay.
        {16816, 3, 7, 3, "Skuddverdier er endret på  3:7"},
        {16819, 12, 100, 3, "Skudd fjernet på: 12:100"},
        {16812, 5, 0, 2, "5 skyttere lest inn fra lag"},
    };
    for (const auto& c : cases) {
        uint8_t kind = 0;
        EXPECT_EQ(ExchLogText(c.id, c.a, c.b, kind), platform::Ansi(c.text)) << c.id;
        EXPECT_EQ(kind, c.kind) << c.id;
    }
}

class ExchLogFileTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        clock.now = {2026, 3, 9, 17, 45, 30, 250, 1};
        platform::SetClock(&clock);
        std::filesystem::create_directory("Comp2");
    }
    void TearDown() override { platform::SetClock(nullptr); }

    platform::ManualClock clock;
};

TEST_F(ExchLogFileTest, RecordsByteForByte)
{
    CBVResThread worker(2);
    worker.WriteLog(16811, 7, 20, -1);
    clock.now = {1999, 12, 31, 23, 59, 58, 0, 5};
    worker.WriteLog(16816, 300, 2, 9);

    const std::string text1 = platform::Ansi("20 skyttere lest inn fra ulike lag");
    const std::string text2 = platform::Ansi("Skuddverdier er endret på  2:9");
    const std::string record1 = std::string{2, 20, 26, 3, 9, 17, 45, 30} + Le<int16_t>(7) + restest::Field(text1, 100);
    const std::string record2 = std::string{3, 19, 99, 12, 31, 23, 59, 58} + Le<int16_t>(300) + restest::Field(text2, 100);
    EXPECT_EQ(bvtest::TempFolder::Read("Comp2/Exch.bvd"), FileBytes(2, 110, 1, record1 + record2));
}

TEST_F(ExchLogFileTest, ClearedLogTakesRecordOneAgain)
{
    CBVResThread worker(2);
    worker.WriteLog(16813, 1, 3, 4);
    worker.WriteLog(16813, 1, 5, 4);

    // The exchange screen's own log object lists and clears between entries.
    CExchLog screen;
    ASSERT_EQ(screen.Open(".\\Comp2\\Exch.bvd"), -1);
    EXPECT_EQ(screen.Open(".\\Comp2\\Exch.bvd"), 0);  // already open
    EXPECT_EQ(screen.Count(), 2);
    ASSERT_EQ(screen.Clear(), 0);
    EXPECT_EQ(screen.Count(), 0);
    EXPECT_EQ(bvtest::TempFolder::Read("Comp2/Exch.bvd").size(), 8u);

    worker.WriteLog(16811, 1, 8, 2);
    EXPECT_EQ(screen.Count(), 1);
    ExchLogRecord r;
    ASSERT_TRUE(screen.Read(1, r));
    EXPECT_EQ(std::string(r.text), platform::Ansi("8 skyttere lest inn fra lag 2"));
    EXPECT_EQ(+r.kind, 2);
    screen.Close();
    EXPECT_EQ(bvtest::TempFolder::Read("Comp2/Exch.bvd").size(), 8u + 110u);
}

TEST_F(ExchLogFileTest, ALogOfAnotherLayoutIsLeftAlone)
{
    const std::string other = FileBytes(5, 110, 2, std::string(110, 'x'));
    bvtest::TempFolder::Write("Comp2/Exch.bvd", other);
    CBVResThread worker(2);
    worker.WriteLog(16811, 1, 8, 2);  // lost, not reported
    EXPECT_EQ(bvtest::TempFolder::Read("Comp2/Exch.bvd"), other);
}

}  // namespace
