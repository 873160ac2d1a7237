// BVLeder started headless on range folders each damaged one way: the log
// names the file and its fault once, a box's text reaches standard error, the
// program runs on or closes with a failing status, and the damaged file is
// left as it was.
#include "tests/range/RangeFolder.h"
#include "TempFolder.h"

#include "foundation/comp/DataComp.h"
#include "platform/system/Clock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace damaged_folder_test {

const char kBVLeder[] = BV_BINARY_DIR "/range/BVLeder";

enum class Damage { Truncated, Garbage, RecordSize, Newer, Missing };

struct Case {
    const char* name;
    const char* file;   // below the range folder
    Damage damage;
    const char* logged; // the one log line holds this
    bool closes;        // with a failing status, else it runs on
    const char* boxed = nullptr;  // the box's text holds this; the logged text when none
};

const Case kCases[] = {
    {"RangeTruncated", "BVLeder.bvc", Damage::Truncated, "BVLeder.bvc: truncated", true},
    {"RangeGarbage", "BVLeder.bvc", Damage::Garbage, "BVLeder.bvc: newer version", true},
    {"RangeRecordSize", "BVLeder.bvc", Damage::RecordSize, "BVLeder.bvc: wrong record size 99", true},
    {"RangeNewer", "BVLeder.bvc", Damage::Newer, "BVLeder.bvc: newer version", true},
    {"CompTruncated", "Comp1/Comp.BVC", Damage::Truncated, "Comp1\\Comp.BVC: truncated", true},
    {"CompGarbage", "Comp1/Comp.BVC", Damage::Garbage, "Comp1\\Comp.BVC: newer version", true},
    {"CompRecordSize", "Comp1/Comp.BVC", Damage::RecordSize, "Comp1\\Comp.BVC: wrong record size 99", true},
    {"CardTruncated", "Comp1/Card.BVD", Damage::Truncated, "Comp1\\Card.BVD: truncated", true},
    {"CardGarbage", "Comp1/Card.BVD", Damage::Garbage, "Comp1\\Card.BVD: newer version", true},
    {"CardRecordSize", "Comp1/Card.BVD", Damage::RecordSize, "Comp1\\Card.BVD: wrong record size 99", true},
    {"CardNewer", "Comp1/Card.BVD", Damage::Newer, "Comp1\\Card.BVD: newer version", true},
    {"ShotTruncated", "Comp1/Shot.BVD", Damage::Truncated, "Comp1\\Shot.BVD: truncated", true},
    {"ShotGarbage", "Comp1/Shot.BVD", Damage::Garbage, "Comp1\\Shot.BVD: newer version", true},
    {"ShotRecordSize", "Comp1/Shot.BVD", Damage::RecordSize, "Comp1\\Shot.BVD: wrong record size 99", true},
    {"ShotNewer", "Comp1/Shot.BVD", Damage::Newer, "Comp1\\Shot.BVD: newer version", true},
    {"ProgramTruncated", "Program.BVC", Damage::Truncated, "Program.BVC: truncated", false},
    {"ProgramNewer", "Program.BVC", Damage::Newer, "Program.BVC: newer version", false},
    {"ProgramMissing", "Program.BVC", Damage::Missing, "Program.BVC: missing", false},
    // A new range's configuration names no competition: none is chosen.
    {"RangeMissing", "BVLeder.bvc", Damage::Missing, "BVLeder.bvc: missing", true, "No valid competition selected"},
    {"CompetitionMissing", "Comp1", Damage::Missing, "Comp1: missing", true},
    // Results then cannot be sent; the range runs on and says so once.
    {"ExchangeMissing", "BV", Damage::Missing, "Exchange folder .\\BV\\ missing", false},
    // Without its texts the program runs on with the English built into it.
    {"LanguageMissing", "BVRange.bvt", Damage::Missing, "BVRange.bvt: missing", false},
    {"LanguageGarbage", "BVRange.bvt", Damage::Garbage, "BVRange.bvt: unreadable", false},
};

void Spoil(const std::string& path, Damage damage)
{
    std::string bytes = bvtest::TempFolder::Read(path);
    switch (damage) {
    case Damage::Truncated: bytes.resize(5); break;
    case Damage::Garbage: bytes.assign(bytes.size(), 'x'); break;
    case Damage::RecordSize: bytes[4] = 99; bytes[5] = 0; break;
    case Damage::Newer: bytes[6] = static_cast<char>(bytes[6] + 1); break;
    case Damage::Missing: std::filesystem::remove_all(path); return;
    }
    bvtest::TempFolder::Write(path, bytes);
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class DamagedFolderTest : public bvtest::InTempFolder {};

TEST_F(DamagedFolderTest, NamesTheFileAndLeavesItAlone)
{
    const std::string top = std::filesystem::current_path().string();
    struct Run {
        const Case* c;
        std::string folder;
        std::string before;
        pid_t pid = 0;
        int status = -1;
        bool ranOn = false;  // still running when every case was done
    };
    std::vector<Run> runs;
    for (const Case& c : kCases) {
        Run r{&c, top + "/" + c.name, {}, 0, -1, false};
        std::filesystem::create_directory(r.folder);
        ASSERT_EQ(chdir(r.folder.c_str()), 0);
        bvtest::RangeFolderSetup setup;
        setup.com = 0;
        bvtest::MakeRangeFolder(setup);
        {
            CDataComp comp;  // the competition's record files, as a start makes them
            ASSERT_EQ(comp.Open(1, 1), 0);
        }
        Spoil(c.file, c.damage);
        r.before = bvtest::TempFolder::Read(c.file);
        ASSERT_EQ(chdir(top.c_str()), 0);
        runs.push_back(r);
    }
    // All at once, so the table costs one program's start.
    for (Run& r : runs) {
        r.pid = fork();
        if (r.pid == 0) {
            if (chdir(r.folder.c_str()) != 0)
                _exit(126);
            int err = open((r.folder + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(err, 2);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("XDG_CONFIG_HOME", r.folder.c_str(), 1);
            setenv("BV_UNSEEN_ANSWER_MS", "300", 1);
            setenv("BV_CLOCK_PORT", "0", 1);
            execl(kBVLeder, kBVLeder, static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(r.pid, 0);
    }
    // A case is done when its program has closed, or, for one that runs on,
    // when it has logged what it found. A loaded machine may take its time.
    auto done = [](Run& r) {
        if (r.status != -1)
            return true;
        int status = 0;
        if (waitpid(r.pid, &status, WNOHANG) == r.pid) {
            r.status = status;
            return true;
        }
        return !r.c->closes &&
               bvtest::TempFolder::Read(r.folder + "/BVLog.txt").find(r.c->logged) != std::string::npos;
    };
    for (int waited = 0; waited < 120000; waited += 50) {
        bool all = true;
        for (Run& r : runs)
            all = done(r) && all;
        if (all)
            break;
        platform::SleepMs(50);
    }
    // Two seconds more of running on, so that a fault logged again shows.
    platform::SleepMs(2000);
    // What still runs is told to stop, and killed if it does not.
    for (Run& r : runs) {
        if (r.status != -1)
            continue;
        r.ranOn = true;
        kill(r.pid, SIGTERM);
        for (int waited = 0; waited < 30000 && waitpid(r.pid, &r.status, WNOHANG) != r.pid; waited += 50)
            platform::SleepMs(50);
        if (waitpid(r.pid, &r.status, WNOHANG) == 0) {
            ADD_FAILURE() << r.c->name << " did not stop on SIGTERM";
            kill(r.pid, SIGKILL);
            waitpid(r.pid, &r.status, 0);
        }
    }
    for (Run& r : runs) {
        SCOPED_TRACE(r.c->name);
        const bool ranOn = r.ranOn;
        std::string log = bvtest::TempFolder::Read(r.folder + "/BVLog.txt");
        std::string err = bvtest::TempFolder::Read(r.folder + ".err");
        EXPECT_EQ(Count(log, r.c->logged), 1u) << log;
        EXPECT_EQ(Count(log, "CreateFile Failed"), 0u) << log;
        EXPECT_EQ(Count(log, "directory!"), 0u) << log;
        if (r.c->closes) {
            EXPECT_FALSE(ranOn);
            EXPECT_TRUE(WIFEXITED(r.status) && WEXITSTATUS(r.status) != 0) << r.status;
            EXPECT_NE(err.find(r.c->boxed ? r.c->boxed : r.c->logged), std::string::npos) << err;
        } else {
            EXPECT_TRUE(ranOn) << err;
        }
        if (r.c->damage != Damage::Missing)
            EXPECT_EQ(bvtest::TempFolder::Read(r.folder + "/" + r.c->file), r.before);
        if (std::filesystem::exists(r.folder + "/BV"))
            EXPECT_TRUE(std::filesystem::is_empty(r.folder + "/BV"));
    }
}

}  // namespace
