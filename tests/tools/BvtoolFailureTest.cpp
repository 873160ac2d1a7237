// bvtool on what it cannot use: a damaged competition, a shot list that is no
// list, an ini file that is none, names and numbers out of range. Every
// failure exits non-zero with one line that says what is wrong, and leaves the
// files as they were.
#include "RecordBytes.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;
using bvtest::RecordHeader;
using bvtest::TempFolder;

class BvtoolFailureTest : public bvtest::InTempFolder {
protected:
    // A range folder "good" with competition 1: lanes 1-10, two shots on
    // relay 1 lane 3, an exchange folder BV.
    void SetUp() override
    {
        fs::create_directories("good/BV");
        ASSERT_EQ(bvtest::RunTool("comp create good 1 1-10").status, 0);
        TempFolder::Write("shots.txt", "1 3 1 10.9 1 1\n1 3 1 9.5 0 0\n");
        ASSERT_EQ(bvtest::RunTool("shots add good 1 shots.txt").status, 0);
    }
    // A fresh copy of the good range as "range", for one case to damage.
    static void FreshRange()
    {
        fs::remove_all("range");
        fs::copy("good", "range", fs::copy_options::recursive);
    }
    static std::string Comp(const std::string& name) { return "range/Comp1/" + name; }
    static void Cut(const std::string& name, size_t size)
    {
        fs::resize_file(Comp(name), size);
    }
    static void Header(const std::string& name, int16_t recordSize, int16_t version)
    {
        std::string bytes = TempFolder::Read(Comp(name));
        bytes.replace(0, 8, RecordHeader(0, recordSize, version));
        TempFolder::Write(Comp(name), bytes);
    }
};

// Every file of the range, by name, with its bytes.
std::string Snapshot(const std::string& folder)
{
    std::string all;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() != ".undo")
            all += entry.path().string() + "\n" + TempFolder::Read(entry.path().string()) + "\n";
    return all;
}

}  // namespace

TEST_F(BvtoolFailureTest, EachFailureExitsWithOneLineAndChangesNothing)
{
    struct Case {
        const char* args;
        std::function<void()> damage;  // done to a fresh copy of the range
        const char* says;              // a part of the one line
    };
    const Case cases[] = {
        // A competition whose files cannot be read.
        {"cards range 1", [] { TempFolder::Write(Comp("Card.BVD"), std::string(60, 'x')); }, "Card.BVD"},
        {"cards range 1", [] { Cut("Card.BVD", 5); }, "Card.BVD: truncated"},
        {"cards range 1", [] { Header("Card.BVD", 50, 2); }, "Card.BVD: wrong record size 50"},
        {"cards range 1", [] { Header("Card.BVD", 54, 3); }, "Card.BVD: newer version 3"},
        {"cards range 1", [] { fs::remove(Comp("Name.BVD")); }, "Name.BVD: missing"},
        {"cards range 1", [] { Header("Comp.BVC", 40, 1); }, "Comp.BVC: wrong record size 40"},
        {"cards range 1", [] { Cut("Shot.BVD", 8); }, "cannot read shot list 1 of Shot.BVD"},
        {"shots range 1 1 3", [] { Header("Shot.BVD", 13254, 4); }, "Shot.BVD: newer version 4"},
        {"shots range 1 1 3", [] { Cut("Shot.BVD", 8); }, "cannot read the shots of relay 1 lane 3"},
        {"shots range 1 1 3", [] { Header("Shot.BVD", 13004, 2); }, "Shot.BVD: older version 2"},
        {"print cards range 1 out.pdf", [] { Cut("Shot.BVD", 8); }, "cannot read the shots of relay 1 lane 3"},
        {"print cards range 1 out.pdf", [] { Header("Name.BVD", 100, 1); }, "Name.BVD: wrong record size 100"},
        {"print log range 1 3 out.pdf", [] { Cut("Shot.BVD", 100); }, "cannot read the shots of relay 1 lane 3"},
        {"print log range 1 3 out.pdf", [] { Header("Card.BVD", 54, 9); }, "Card.BVD: newer version 9"},
        {"import range 1 1 range/BV", [] { Header("Card.BVD", 60, 2); }, "Card.BVD: wrong record size 60"},
        {"import range 1 1", [] { bvtest::RunTool("cfg set range/BVLeder.bvc 1 1 15 3"); }, "H1-XX-s.001"},
        {"shots add range 1 range/shots.d", [] { fs::create_directories("range/shots.d"); }, "is a folder"},
        {"shots add range 1 range/empty.txt", [] { TempFolder::Write("range/empty.txt", ""); }, "no shots"},
        {"shots add range 1 range/notes.txt", [] { TempFolder::Write("range/notes.txt", "# none yet\n\n"); },
         "no shots"},
        // An ini file that is none, and names that would not read back.
        {"ini set range/Comp1/Shot.BVD Def Name x", nullptr, "not an ini file"},
        {"ini set range/Comp1/Card.BVD Def Name x", nullptr, "not an ini file"},
        {"ini set range/x.ini 'De]f' Name x", nullptr, "']'"},
        {"ini set range/x.ini Def 'Na=me' x", nullptr, "']'"},
        {"ini set range/x.ini 'De=f' Name x", nullptr, "']'"},
        {"ini set range/x.ini Def \"$(printf 'Na\\nme')\" x", nullptr, "line break"},
        {"ini set range/x.ini \"$(printf 'De\\rf')\" Name x", nullptr, "line break"},
        {"ini set range/x.ini Def Name \"$(printf 'x\\ny')\"", nullptr, "one line"},
        // Codes and languages that name nothing.
        {"score 999 0 0", nullptr, "unknown target type code 999"},
        {"score 23 0 0 --lang XX", nullptr, "unknown language 'XX'"},
        {"target 250", nullptr, "unknown target type code 250"},
        // A text the configuration files cannot hold.
        {"cfg set range/BVLeder.bvc 1 1 501 'Ω range'", nullptr, "Windows-1252"},
        {"cfg set range/BVLeder.bvc 1 1 501 '✓'", nullptr, "Windows-1252"},
        // Relays and lanes out of range are refused, never wrapped.
        {"shots range 1 65537 3", nullptr, "relays 1-32767"},
        {"shots range 1 0 3", nullptr, "relays 1-32767"},
        {"shots range 1 1 101", nullptr, "lanes 1-100"},
        {"import range 1 65537 range/BV", nullptr, "1 to 32767"},
        {"export range 1 range/BV --relays 1-65537", nullptr, "1-32767"},
        {"print log range 1 101 out.pdf", nullptr, "lane"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        FreshRange();
        if (c.damage)
            c.damage();
        const std::string before = Snapshot("range");
        bvtest::ToolRun run = bvtest::RunTool(c.args);
        EXPECT_TRUE(bvtest::FailedWithOneLine(run));
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Snapshot("range"), before) << "a failing command changed the range";
        EXPECT_FALSE(fs::exists("out.pdf"));
    }
}

// The cases above fail for their damage alone: on the good range the same
// commands do their work.
TEST_F(BvtoolFailureTest, TheSameCommandsWorkOnTheGoodRange)
{
    FreshRange();
    TempFolder::Write("range/x.ini", "[Def]\r\nName=a\r\n");
    for (const char* args : {"cards range 1", "shots range 1 1 3", "print cards range 1 out.pdf",
                             "print log range 1 3 out.pdf", "ini set range/x.ini Def Name x", "score 23 0 0 --lang DE",
                             "target 34", "cfg set range/BVLeder.bvc 1 1 501 'Brevandi €'",
                             "import range 1 32767 range/BV"}) {
        bvtest::ToolRun run = bvtest::RunTool(args);
        EXPECT_EQ(run.status, 0) << args << ": " << run.err;
    }
    EXPECT_EQ(bvtest::RunTool("ini get range/x.ini Def Name").out, "x\n");
    EXPECT_EQ(bvtest::RunTool("cfg get range/BVLeder.bvc 1 1 501").out, "Brevandi €\n");
}
