// The display beside a running range control: another process stores shots
// while the display ticks, and the display writes nothing into the range or
// exchange folders it reads.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "DisplayFixture.h"

namespace bvtest {
namespace {

constexpr int kLanes = 20;
constexpr int kSeries = 5;
constexpr int kPerSeries = 50;

int ValueOf(int lane, int k) { return 700 + (lane * 37 + k * 11) % 391; }

class SharedRangeTest : public InTempFolder {};

TEST_F(SharedRangeTest, SumsAndPlacesMatchTheFilesAfterAnotherProcessStoredTheShots)
{
    {
        RangeFolder range("R1");
        range.Program(1, std::vector<int>(kSeries, kPerSeries), 10);
        for (int lane = 1; lane <= kLanes; ++lane) {
            range.Card(1, lane, 0);
            range.Series(lane, kSeries);
        }
    }
    DisplayFiles::Event(1, "Bane 1", "R1");
    std::vector<Slot> slots;
    for (int lane = 1; lane <= kLanes; ++lane)
        slots.push_back({lane, 1, 2});
    DisplayFiles::Picture(1, "Liste", slots, {{VisItems::kShowPlace, 1}});
    DisplayFiles::Profile({{1, 600}});

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The range control's side: its own record files, made after the fork.
        CDataComp data;
        data.SetBasePath("R1");
        if (data.Open(1, 1) != 0)
            _exit(2);
        for (int k = 0; k < kSeries * kPerSeries; ++k)
            for (int lane = 1; lane <= kLanes; ++lane) {
                ShotRecord s;
                std::memset(&s, 0, sizeof s);
                s.state = CDataComp::kSlotShot;
                s.flags = CDataComp::kFlagFromTarget | 0x80;
                s.value = static_cast<int16_t>(ValueOf(lane, k));
                s.series = static_cast<uint8_t>(k / kPerSeries + 1);
                if (data.AddShot(1, lane, s, nullptr, kPerSeries, 0) == 0)
                    _exit(3);
            }
        _exit(0);
    }

    Display d;
    int status = -1;
    bool done = false;
    int oddCopies = 0;
    while (!done) {
        d.Tick();
        if (d.data.current)
            for (auto& t : d.Picture().targets)
                oddCopies += t->shots.updateCounter & 1;
        done = waitpid(child, &status, WNOHANG) == child;
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    d.Tick(3);
    EXPECT_EQ(oddCopies, 0);

    // The test's own count from the files.
    CDataComp data;
    data.SetBasePath("R1");
    ASSERT_EQ(data.Open(1, 0), 0);
    std::map<int, int> totals, seriesSums;
    for (int lane = 1; lane <= kLanes; ++lane) {
        ShotListRecord list;
        ASSERT_EQ(data.ReadShots(1, lane, list), 0);
        for (const ShotRecord& s : list.shots) {
            if (s.state == 0)
                continue;
            int v = CDataComp::CountedValue(s.value, 0);
            totals[lane] += v;
            if ((s.series & 0x7F) == kSeries)
                seriesSums[lane] += v;
        }
    }
    std::vector<int> sorted;
    for (auto& [lane, total] : totals)
        sorted.push_back(total);
    std::sort(sorted.rbegin(), sorted.rend());
    ASSERT_EQ(d.Picture().targets.size(), static_cast<size_t>(kLanes));
    for (auto& tp : d.Picture().targets) {
        CVisTarget& t = *tp;
        int expectedPlace = static_cast<int>(std::find(sorted.begin(), sorted.end(), totals[t.lane]) - sorted.begin()) + 1;
        EXPECT_EQ(t.values[CVisTarget::kValTotal].number, totals[t.lane]) << t.lane << " " << t.errorKey;
        EXPECT_EQ(t.values[CVisTarget::kValSeriesSum].number, seriesSums[t.lane]) << t.lane;
        EXPECT_EQ(t.values[CVisTarget::kValShotCount].number, kPerSeries) << t.lane;
        EXPECT_EQ(t.values[CVisTarget::kValPlace].number, expectedPlace) << t.lane;
    }
}

// Every file below a folder: its bytes and its change time.
std::map<std::string, std::pair<std::string, long>> Snapshot(const std::string& folder)
{
    std::map<std::string, std::pair<std::string, long>> files;
    for (auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        struct stat st {};
        stat(entry.path().c_str(), &st);
        files[entry.path().string()] = {TempFolder::Read(entry.path().string()),
                                        static_cast<long>(st.st_mtim.tv_sec * 1000000000L + st.st_mtim.tv_nsec)};
    }
    return files;
}

TEST_F(SharedRangeTest, TheDisplayWritesNothingIntoRangeOrExchangeFolders)
{
    for (bool readOnly : {true, false}) {
        std::string folder = readOnly ? "RO" : "RW";
        std::string exchange = folder + "X";
        {
            RangeFolder range(folder);
            range.Program(1, {10, 10}, 10);
            WriteItem(range.data.CompConfig(), CompSettings::kStartScore, 1);
            for (int lane = 1; lane <= 6; ++lane) {
                range.Card(1, lane);
                range.Series(lane, 1);
                range.Shot(1, lane, 1, 900 + lane);
            }
            CBVConfig rs;
            rs.Open(folder + "\\BVLeder.bvc", 1);
            std::filesystem::create_directory(exchange);
            rs.WriteLong(1, 1, 570, exchange);
            std::ofstream(exchange + "/N00007.txt") << "[H1]\r\nStart=12,5\r\n";
            std::ofstream(exchange + "/H1R00105.txt") << "[Def]\r\nStartNr=7\r\n";
        }
        DisplayFiles::Event(1, "Bane", folder);
        DisplayFiles::Picture(1, "Skive", {{1}, {2}, {3, 1, 2}}, {{VisItems::kShowPlace, 1}});
        DisplayFiles::Profile({{1, 60}});
        if (readOnly)
            for (auto& entry : std::filesystem::recursive_directory_iterator(folder))
                chmod(entry.path().c_str(), entry.is_directory() ? 0555 : 0444);
        if (readOnly)
            chmod(folder.c_str(), 0555);
        auto before = Snapshot(folder);
        auto exchangeBefore = Snapshot(exchange);
        {
            Display d;
            d.Tick(40);
            ASSERT_EQ(d.Picture().targets.size(), 3u) << folder;
            EXPECT_FALSE(d.Target(0).HasError()) << folder << " " << d.Target(0).errorKey;
            EXPECT_EQ(d.Target(0).values[CVisTarget::kValTotal].number, 900) << folder;
        }
        EXPECT_EQ(Snapshot(folder), before) << folder;
        EXPECT_EQ(Snapshot(exchange), exchangeBefore) << folder;
        chmod(folder.c_str(), 0755);
        for (auto& entry : std::filesystem::recursive_directory_iterator(folder))
            chmod(entry.path().c_str(), entry.is_directory() ? 0755 : 0644);
    }
}

}  // namespace
}  // namespace bvtest
