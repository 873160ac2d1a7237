// The software loader on its own serial line to five bvsim loader units on a
// pseudo-terminal: a whole two-pass load with a unit that refuses a block
// and one whose list of taken blocks is lost. The loader's clock is its tick,
// driven here a little faster than the dialog's timer; every countdown is
// counted in ticks.
#include "LoaderBench.h"
#include "RunCommand.h"
#include "SrecCat.h"
#include "TempFolder.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Clock.h"
#include "tools/bvsim/lib/Bus.h"
#include "tools/bvsim/lib/Control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

using bvtest::TempFolder;
using Bytes = bvsim::Bytes;

constexpr int kCom = 4;
constexpr int kUnits = 5;
constexpr unsigned kTickMs = 40;
constexpr int kMostTicks = 4000;

class LoaderLineTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        bus->SetListener([this](const bvsim::BusEvent& e) { Heard(e); });
        for (int lane = 1; lane <= kUnits; ++lane) {
            ASSERT_TRUE(bus->AddUnit(lane));
            ASSERT_TRUE(bus->SetLoader(lane, true));
        }
        ASSERT_EQ(bus->Start(), 0);
        platform::SetComDevice(kCom, pty.SlavePath());
        loader = std::make_unique<SoftwareLoader>(texts);
        ASSERT_TRUE(loader->SetLaneRange(1, kUnits));
    }
    void TearDown() override
    {
        loader.reset();
        bus->Stop();
        platform::SetComDevice(kCom, "");
    }

    // bvsim's log, as the bus reports it: the blocks each unit's lists have
    // delivered, and each block broadcast against them.
    void Heard(const bvsim::BusEvent& e)
    {
        std::lock_guard<std::mutex> hold(lock);
        busLog.push_back(bvsim::FormatEvent(e));
        if (e.kind == bvsim::BusEvent::Acknowledged && e.bytes.size() > 1 && e.bytes[1] == 0x92)
            for (size_t k = 4; k + 1 < e.bytes.size(); k += 2)
                listed[e.lane].insert(e.bytes[k] * 256 + e.bytes[k + 1]);
        if (e.kind == bvsim::BusEvent::Broadcast && e.bytes.size() > 5 && e.bytes[1] == 0x61) {
            int block = e.bytes[4] * 256 + e.bytes[5];
            int least = 1 << 30;
            for (int lane = 1; lane <= kUnits; ++lane) {
                int prefix = 0;
                while (listed[lane].count(prefix + 1))
                    ++prefix;
                least = std::min(least, prefix);
            }
            if (block > least + SoftwareLoader::kSendWindow)
                beyondWindow.push_back(block);
            ++broadcastBlocks;
        }
    }

    void Tick()
    {
        loader->Tick();
        ++tick;
        platform::SleepMs(kTickMs);
    }
    bool TickUntil(const std::function<bool()>& done)
    {
        for (int k = 0; k < kMostTicks; ++k) {
            if (done())
                return true;
            Tick();
        }
        return done();
    }
    bool Unit(int lane, const std::function<void(const bvsim::LoaderUnit&)>& f) { return bus->InspectLoader(lane, f); }

    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    bvtest::KeyTexts texts;
    std::unique_ptr<SoftwareLoader> loader;
    int tick = 0;

    std::mutex lock;
    std::vector<std::string> busLog;
    std::map<int, std::set<int>> listed;
    std::vector<int> beyondWindow;
    int broadcastBlocks = 0;
};

TEST_F(LoaderLineTest, TwoPassLoadToFiveUnits)
{
    // The image: 1536 bytes from 0x100 for the first pass, 512 from
    // 0x10000 for the second, in srec_cat's records of 64 bytes.
    std::string data = bvtest::ImageBinary(2048);
    TempFolder::Write("a.bin", data.substr(0, 1536));
    TempFolder::Write("b.bin", data.substr(1536));
    int status = -1;
    bvtest::RunCommand("srec_cat a.bin -binary -offset 0x100 b.bin -binary -offset 0x10000 "
                       "-execution-start-address=0 -o Display.s28 -motorola -address-length=3 -obs=64 "
                       "-disable=data-count",
                       &status);
    ASSERT_EQ(status, 0);

    ASSERT_EQ(loader->SelectKind(SoftwareLoader::kDisplayUnits, kCom, ""), SoftwareLoader::KindResult::Ok);
    ASSERT_TRUE(TickUntil([&] {
        for (int lane = 1; lane <= kUnits; ++lane)
            if (!loader->TakesPart(lane))
                return false;
        return true;
    }));
    int blocks = loader->LoadImage("Display.s28");
    ASSERT_GT(blocks, 0);
    int firstPass = loader->Image()->FirstPassBlocks();
    ASSERT_GT(firstPass, SoftwareLoader::kSendWindow);
    ASSERT_LT(blocks - firstPass, SoftwareLoader::kSendWindow);

    struct Sent {
        int tick, block;
    };
    std::vector<Sent> sent;
    bool dropSet = false, refusalShown = false;
    loader->SetQueuedListener([&](const LineMessage& m) {
        if (m.data[3] != 0x61)
            return;
        int block = m.data[6] * 256 + m.data[7];
        sent.push_back({tick, block});
        if (block > firstPass && !dropSet)
            dropSet = bus->SetDropLists(2, 1);  // unit 2 loses its first list of the second pass
    });
    ASSERT_TRUE(bus->SetRefuseBlocks(4, 1));  // unit 4 refuses the first block it hears
    ASSERT_TRUE(loader->StartLoading());
    ASSERT_TRUE(TickUntil([&] {
        refusalShown = refusalShown || loader->Cell(4, SoftwareLoader::kColReceived) == loaderkeys::kSwError;
        return loader->State() == 1;
    }));
    EXPECT_TRUE(dropSet);
    EXPECT_TRUE(refusalShown);

    // Every unit committed both passes and was restarted, and holds the image.
    ASSERT_TRUE(TickUntil([&] {
        int restarted = 0;
        for (int lane = 1; lane <= kUnits; ++lane)
            Unit(lane, [&](const bvsim::LoaderUnit& u) { restarted += u.Restarts() > 0; });
        return restarted == kUnits;
    }));
    for (int lane = 1; lane <= kUnits; ++lane) {
        SCOPED_TRACE(lane);
        std::string records;
        Unit(lane, [&](const bvsim::LoaderUnit& u) {
            // A commit whose answer comes late on a busy bus is sent again.
            EXPECT_GE(u.Commits(), 2);
            records = u.ImageRecords();
        });
        std::string name = "unit" + std::to_string(lane) + ".s28";
        TempFolder::Write(name, records);
        int same = -1;
        std::string said = bvtest::RunCommand("srec_cmp Display.s28 -motorola " + name + " -motorola 2>&1", &same);
        EXPECT_EQ(same, 0) << said;
        // Finished, or cleared by the answer to a commit sent again.
        std::string sent = loader->Cell(lane, SoftwareLoader::kColSent);
        EXPECT_TRUE(sent == loaderkeys::kMsgFinish || sent.empty()) << sent;
    }
    Unit(4, [](const bvsim::LoaderUnit& u) { EXPECT_EQ(u.BlocksRefused(), 1); });
    Unit(2, [](const bvsim::LoaderUnit& u) { EXPECT_EQ(u.ListsDropped(), 1); });

    {
        std::lock_guard<std::mutex> hold(lock);
        EXPECT_GT(broadcastBlocks, blocks);
        EXPECT_TRUE(beyondWindow.empty()) << "block " << beyondWindow.front() << " went beyond the window";
    }
    // Resends: each from the first unacknowledged block, after a countdown
    // without progress; the lost list of the second pass after 12 to 14 s.
    int resends = 0, secondPass = 0, highest = 0, last = 0;
    for (const Sent& s : sent) {
        if (s.block <= highest && s.block != last + 1) {
            ++resends;
            // A countdown set while a tick handles messages already runs
            // down in that tick: one tick less between the two sends.
            int waited = s.tick - (&s)[-1].tick + 1;
            EXPECT_GE(waited, SoftwareLoader::kRefusedTicks) << "block " << s.block;
            EXPECT_LE(waited, SoftwareLoader::kResentTicks) << "block " << s.block;
            if (s.block > firstPass) {
                ++secondPass;
                EXPECT_GE(waited, SoftwareLoader::kSentTicks) << "block " << s.block;
            }
        }
        highest = std::max(highest, s.block);
        last = s.block;
    }
    EXPECT_GE(resends, 2);
    EXPECT_GE(secondPass, 1);
}

}  // namespace
