// The framed site's upload against a real FTP server on this machine: the
// remote tree ends equal to PWeb, unchanged files stay home, a change is
// found whatever the old 8-bit sum says, a refused file goes again, and
// every failure is reported without the password anywhere.
#include "tests/results/lists/ListsFixture.h"

#include "FtpServer.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/web/WebFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

namespace {

using namespace results;
namespace fs = std::filesystem;

const char* const kPassword = "Publiser-4471-hemmelig";

// The files of a folder below root, by path relative to it, with their bytes.
std::map<std::string, std::string> Tree(const fs::path& root)
{
    std::map<std::string, std::string> files;
    if (!fs::exists(root))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).generic_string()] = bvtest::TempFolder::Read(entry.path().string());
    return files;
}

TEST(WebChecksumTest, TheOldSumWeighsEachByteByItsPlaceInItsBlock)
{
    bvtest::TempFolder folder;
    struct Case {
        const char* what;
        std::string bytes;
        int sum;
    } cases[] = {
        {"three bytes", "abc", 40},
        {"empty", "", 0},
        // One full block, then a read of nothing: byte 199 weighs 199.
        {"exactly one block", std::string(199, '\0') + "\x02", (2 * 199) % 256},
        // Byte 200 opens the second block and weighs nothing.
        {"first byte of a block", std::string(200, '\0') + "\xff", 0},
        {"second byte of a block", std::string(201, '\0') + "\x03", 3},
    };
    for (const Case& c : cases) {
        bvtest::TempFolder::Write(folder.File("f.htm"), c.bytes);
        EXPECT_EQ(FileChecksum(".\\f.htm"), c.sum) << c.what;
        UploadMark mark;
        ASSERT_TRUE(UploadMarkOf(".\\f.htm", mark)) << c.what;
        EXPECT_EQ(mark.checksum, c.sum) << c.what;
        EXPECT_EQ(mark.size, static_cast<int64_t>(c.bytes.size())) << c.what;
    }
    EXPECT_EQ(FileChecksum(".\\missing.htm"), 0);
    UploadMark none;
    EXPECT_FALSE(UploadMarkOf(".\\missing.htm", none));
}

TEST(WebChecksumTest, TheFingerprintSeesChangesTheSumMisses)
{
    bvtest::TempFolder folder;
    // The same sum: the first byte weighs nothing, and 12 x 11 = 11 x 12.
    const std::string a = "A" + std::string(10, 'x') + std::string("\x0c\x00", 2);
    const std::string b = "B" + std::string(10, 'x') + std::string("\x00\x0b", 2);
    bvtest::TempFolder::Write(folder.File("a"), a);
    bvtest::TempFolder::Write(folder.File("b"), b);
    ASSERT_EQ(FileChecksum(".\\a"), FileChecksum(".\\b"));
    UploadMark ma, mb;
    ASSERT_TRUE(UploadMarkOf(".\\a", ma));
    ASSERT_TRUE(UploadMarkOf(".\\b", mb));
    EXPECT_FALSE(ma == mb);
    // SHA-256 of "abc", the standard's own example.
    bvtest::TempFolder::Write(folder.File("abc"), "abc");
    UploadMark mabc;
    ASSERT_TRUE(UploadMarkOf(".\\abc", mabc));
    EXPECT_EQ(mabc.digest[0], 0xba);
    EXPECT_EQ(mabc.digest[31], 0xad);
}

TEST(UploadTableTest, AFileCountsAsSentOnlyOnceRecordedAndTheTableGrows)
{
    UploadTable table;
    UploadMark one, two;
    one.size = 10;
    two.size = 11;
    EXPECT_TRUE(table.IsChanged("1-Relay-1.htm", one));
    // Asking does not record: a file whose send failed is still changed.
    EXPECT_TRUE(table.IsChanged("1-Relay-1.htm", one));
    EXPECT_TRUE(table.Record("1-Relay-1.htm", one));
    EXPECT_FALSE(table.IsChanged("1-Relay-1.htm", one));
    EXPECT_TRUE(table.IsChanged("1-Relay-1.htm", two));
    // Names are told apart by case, as the server's files are.
    EXPECT_TRUE(table.IsChanged("1-relay-1.htm", one));
    // Far past the old 999 entries, with names past its 31 characters.
    for (int i = 0; i < 1500; ++i)
        ASSERT_TRUE(table.Record("Skytekort-med-et-langt-navn_" + std::to_string(i) + ".png", one));
    EXPECT_FALSE(table.IsChanged("Skytekort-med-et-langt-navn_1499.png", one));
    EXPECT_TRUE(table.IsChanged("Skytekort-med-et-langt-navn_1500.png", one));
    EXPECT_FALSE(table.Record("", one));
}

class WebUploadTest : public liststest::ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        ASSERT_TRUE(server.Start(folder.File("served"), {{"arr", kPassword, "", bvtest::kFtpAllRights}}))
            << server.Error();
        fs::create_directories(folder.File("served/stevne"));
        UseServer(server.Address(), "stevne");
        Page("StartFrame.htm", "<html>start</html>\r\n");
        Page("data/banner.htm", "<html>banner</html>\r\n");
        Page("data/1-Relay-1.htm", "<html>Lag 1" + std::string(300, '.') + "</html>\r\n");
        Page("data/Team-1.htm", "<html>Lagskyting</html>\r\n");
        // A card picture of an event whose name is not plain ASCII.
        Page("data/Øvelse_1_1_3.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, '\0'));
    }

    void UseServer(const std::string& address, const std::string& remoteFolder)
    {
        CBVConfig& user = comp.User();
        ASSERT_EQ(WriteItem(user, UserItems::kFtpServer, address), 0);
        ASSERT_EQ(::WriteItem(user, UserItems::kFtpUser, std::string("arr")), 0);
        ASSERT_EQ(::WriteItem(user, UserItems::kFtpPassword, std::string(kPassword)), 0);
        ASSERT_EQ(WriteItem(user, UserItems::kFtpFolder, remoteFolder), 0);
    }

    void Page(const std::string& name, const std::string& bytes)
    {
        fs::create_directories(folder.File("PWeb/data"));
        bvtest::TempFolder::Write(folder.File("PWeb/" + name), bytes);
    }

    // One run; the names sent in order.
    std::vector<std::string> Run(CDataList::UploadOutcome* outcome = nullptr)
    {
        std::vector<std::string> sent;
        List().onFileSent = [&sent](const std::string& name) { sent.push_back(name); };
        const CDataList::UploadOutcome o = List().UploadWeb();
        if (outcome)
            *outcome = o;
        return sent;
    }

    size_t Stores() const { return server.Commands("STOR").size(); }

    bvtest::FtpServer server;
};

TEST_F(WebUploadTest, TheFirstRunCopiesTheSiteAndTheNextSendOnlyWhatChanged)
{
    CDataList::UploadOutcome outcome;
    EXPECT_EQ(Run(&outcome), (std::vector<std::string>{"StartFrame.htm", "data/1-Relay-1.htm", "data/Team-1.htm",
                                                       "data/banner.htm", platform::Ansi("data/Øvelse_1_1_3.png")}));
    EXPECT_FALSE(outcome.Failed());
    EXPECT_EQ(Tree(folder.File("served/stevne")), Tree(folder.File("PWeb")));

    // Nothing changed: connects, walks the folders, sends nothing.
    const size_t before = Stores();
    EXPECT_TRUE(Run(&outcome).empty());
    EXPECT_FALSE(outcome.Failed());
    EXPECT_EQ(Stores(), before);

    // A change the old sum cannot see: the first byte of a block.
    std::string relay = bvtest::TempFolder::Read(folder.File("PWeb/data/1-Relay-1.htm"));
    const std::string oldRelay = relay;
    relay[200] = relay[200] == '.' ? ',' : '.';
    Page("data/1-Relay-1.htm", relay);
    ASSERT_EQ(FileChecksum(".\\PWeb\\data\\1-Relay-1.htm"), static_cast<uint8_t>([&] {
                  bvtest::TempFolder::Write(folder.File("old"), oldRelay);
                  return FileChecksum(".\\old");
              }()));
    EXPECT_EQ(Run(), (std::vector<std::string>{"data/1-Relay-1.htm"}));
    EXPECT_EQ(Tree(folder.File("served/stevne")), Tree(folder.File("PWeb")));

    // A new start file takes every data file with it.
    Page("StartFrame.htm", "<html>start, new</html>\r\n");
    EXPECT_EQ(Run().size(), 5u);
    EXPECT_EQ(Tree(folder.File("served/stevne")), Tree(folder.File("PWeb")));
    EXPECT_TRUE(messages.empty());
}

TEST_F(WebUploadTest, AMissingRemoteFolderSendsNothingAndAMissingDataFolderIsMade)
{
    ASSERT_EQ(WriteItem(comp.User(), UserItems::kFtpFolder, std::string("finnes-ikke")), 0);
    CDataList::UploadOutcome outcome;
    EXPECT_TRUE(Run(&outcome).empty());
    EXPECT_TRUE(outcome.Failed());
    EXPECT_EQ(Stores(), 0u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "error: " + platform::Cp1252ToUtf8(ResString(IDS_FTP_FOLDER_ERROR)));

    // The folder made by hand: the next run sends everything, making data/.
    fs::create_directories(folder.File("served/finnes-ikke"));
    EXPECT_EQ(Run(&outcome).size(), 5u);
    EXPECT_FALSE(outcome.Failed());
    EXPECT_EQ(server.Commands("MKD").size(), 1u);
    EXPECT_EQ(Tree(folder.File("served/finnes-ikke")), Tree(folder.File("PWeb")));
}

TEST_F(WebUploadTest, AFileTheServerRefusedGoesAgainOnTheNextRun)
{
    // A folder in the file's place: the server cannot store it.
    fs::create_directories(folder.File("served/stevne/data/Team-1.htm"));
    CDataList::UploadOutcome outcome;
    const std::vector<std::string> first = Run(&outcome);
    EXPECT_EQ(first.size(), 4u);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_TRUE(outcome.Failed());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "error: " + platform::Cp1252ToUtf8(ResString(IDS_FTP_TRANSFER_ERROR)));

    fs::remove(folder.File("served/stevne/data/Team-1.htm"));
    EXPECT_EQ(Run(&outcome), (std::vector<std::string>{"data/Team-1.htm"}));
    EXPECT_FALSE(outcome.Failed());
    EXPECT_EQ(Tree(folder.File("served/stevne")), Tree(folder.File("PWeb")));
}

TEST_F(WebUploadTest, AStoppedServerIsReportedAndNoServerIsNoRun)
{
    server.Stop();
    CDataList::UploadOutcome outcome;
    EXPECT_TRUE(Run(&outcome).empty());
    EXPECT_FALSE(outcome.connected);
    EXPECT_TRUE(outcome.Failed());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "error: " + platform::Cp1252ToUtf8(TextFtpConnectFailed()));

    messages.clear();
    UseServer("", "stevne");
    EXPECT_TRUE(Run(&outcome).empty());
    EXPECT_TRUE(outcome.noServer);
    EXPECT_FALSE(outcome.Failed());
    EXPECT_TRUE(messages.empty());
}

// bvtool res upload: runs on one list object, a file changed between them,
// and the password in nothing the runs wrote.
TEST_F(WebUploadTest, TheToolRunsUploadsOnOneListObject)
{
    std::ofstream(folder.File("BVLog.ini")) << "[BVLog]\r\nLevel=10\r\n";
    // Each change waits until the run before has said it is done.
    const std::string outFile = folder.File("out"), script = folder.File("between.sh");
    std::ofstream(script) << "until grep -q 'done	1' '" << outFile << "' 2>/dev/null; do sleep 0.1; done\n"
                          << "printf 'ny' >> '" << folder.File("PWeb/data/banner.htm") << "'; echo\n"
                          << "until grep -q 'done	2' '" << outFile << "'; do sleep 0.1; done; echo\n";
    int status = -1;
    bvtest::RunCommand("sh '" + script + "' | '" BV_BINARY_DIR "/tools/bvtool/bvtool' res upload '" + folder.Path() +
                           "' --runs 3 --pause >'" + outFile + "' 2>'" + folder.File("err") + "'",
                       &status);
    const std::string out = bvtest::TempFolder::Read(outFile);
    EXPECT_EQ(status, 0) << bvtest::TempFolder::Read(folder.File("err"));
    EXPECT_EQ(out,
              "run\t1\nsent\tStartFrame.htm\nsent\tdata/1-Relay-1.htm\nsent\tdata/Team-1.htm\nsent\tdata/banner.htm\n"
              "sent\tdata/Øvelse_1_1_3.png\ndone\t1\t5\t0\nrun\t2\nsent\tdata/banner.htm\ndone\t2\t1\t0\nrun\t3\ndone\t3\t0\t0\n");
    EXPECT_EQ(Tree(folder.File("served/stevne")), Tree(folder.File("PWeb")));

    server.Stop();
    const bvtest::ToolRun failed = bvtest::RunTool("res upload '" + folder.Path() + "'");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "run\t1\ndone\t1\t0\t0\n");
    EXPECT_EQ(failed.err, platform::Cp1252ToUtf8(TextFtpConnectFailed()) + "\n");

    // Nothing written by the runs holds the password.
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        if (!entry.is_regular_file() || entry.path().filename() == "User.bvc")
            continue;
        EXPECT_EQ(bvtest::TempFolder::Read(entry.path().string()).find(kPassword), std::string::npos)
            << entry.path();
    }
    EXPECT_EQ((out + failed.err + server.Log()).find(kPassword), std::string::npos);
}

// A server that dies or freezes half-way through a file. The run ends, in
// the time one file is allowed, and says so in BVLog.txt as the log stands
// by default; the cut file is not counted as sent, and the next run replaces
// it whole before going on with the rest.
TEST_F(WebUploadTest, AFileCutOffByADeadOrFrozenServerIsSentWholeOnTheNextRun)
{
    // Bigger than what the connection's buffers take in at once, so that the
    // server's end of the file is still to come when it stops.
    std::string big(16 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('a' + i % 23);
    Page("data/Big.htm", big);
    ASSERT_FALSE(fs::exists(folder.File("BVLog.ini")));

    struct Case {
        const char* what;
        bool freeze;  // else the server is killed
    };
    for (const Case c : {Case{"killed", false}, Case{"frozen", true}}) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder.File("served/stevne"));
        fs::create_directories(folder.File("served/stevne"));
        fs::remove(folder.File("BVLog.txt"));
        messages.clear();
        list.reset();  // a fresh list object: nothing sent yet
        // A slow line: the file arrives in pieces while the test looks on.
        ASSERT_TRUE(server.Start(folder.File("served"), {{"arr", kPassword, "", bvtest::kFtpAllRights}}, 300,
                                 256 << 10))
            << server.Error();
        UseServer(server.Address(), "stevne");

        CDataList::UploadOutcome outcome;
        std::vector<std::string> sent;
        const auto start = std::chrono::steady_clock::now();
        std::thread run([&] { sent = Run(&outcome); });
        const std::string served = folder.File("served/stevne/data/Big.htm");
        const auto giveUp = start + std::chrono::seconds(30);
        while (!(fs::exists(served) && fs::file_size(served) > 0) && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (c.freeze)
            server.Freeze();
        else
            server.Stop();
        run.join();
        const auto took = std::chrono::steady_clock::now() - start;
        ASSERT_GT(fs::file_size(served), 0u);
        ASSERT_LT(fs::file_size(served), big.size()) << "the file was not cut off";
        EXPECT_LT(took, std::chrono::seconds(60)) << "the run did not end";
        std::printf("[ %s server: the run ended after %.1f s ]\n", c.what,
                    std::chrono::duration<double>(took).count());

        EXPECT_EQ(sent, (std::vector<std::string>{"StartFrame.htm", "data/1-Relay-1.htm"}));
        // A killed server's next file finds nobody to connect to, and ends the run.
        EXPECT_GE(outcome.failed, 1);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "error: " + platform::Cp1252ToUtf8(ResString(IDS_FTP_TRANSFER_ERROR)));
        EXPECT_NE(bvtest::TempFolder::Read(folder.File("BVLog.txt")).find("Error with transfering file Big.htm"),
                  std::string::npos)
            << bvtest::TempFolder::Read(folder.File("BVLog.txt"));

        server.Stop();
        ASSERT_TRUE(server.Start(folder.File("served"), {{"arr", kPassword, "", bvtest::kFtpAllRights}}))
            << server.Error();
        UseServer(server.Address(), "stevne");
        EXPECT_EQ(Run(&outcome), (std::vector<std::string>{"data/Big.htm", "data/Team-1.htm", "data/banner.htm",
                                                           platform::Ansi("data/Øvelse_1_1_3.png")}));
        EXPECT_FALSE(outcome.Failed());
        EXPECT_TRUE(Tree(folder.File("served/stevne")) == Tree(folder.File("PWeb"))) << "a file differs";
    }
}

// Every failure that a message sends the user to BVLog.txt for is there
// with the log at its default threshold.
TEST_F(WebUploadTest, FailuresAreInTheLogAtItsDefaultThreshold)
{
    ASSERT_FALSE(fs::exists(folder.File("BVLog.ini")));
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* logged;
    };
    const Case cases[] = {
        {"a file refused", [&] { fs::create_directories(folder.File("served/stevne/data/Team-1.htm")); },
         "Error with transfering file Team-1.htm"},
        {"no remote folder", [&] { UseServer(server.Address(), "finnes-ikke"); },
         "Error with folder on ftp server finnes-ikke/"},
        {"no server answers", [&] { server.Stop(); }, "Error with connecting to ftp server 127.0.0.1:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(folder.File("BVLog.txt"));
        c.arrange();
        CDataList::UploadOutcome outcome;
        Run(&outcome);
        EXPECT_TRUE(outcome.Failed());
        const std::string log = bvtest::TempFolder::Read(folder.File("BVLog.txt"));
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        EXPECT_EQ(log.find(kPassword), std::string::npos);
    }
}

}  // namespace
