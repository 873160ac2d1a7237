// The FTP session against a real server on this machine: files arrive byte
// for byte in both modes, folders are walked as a session walks them, and
// every refusal, silence and dead server comes back as a result with a reason
// that never holds the password.
#include "platform/net/FtpSession.h"
#include "platform/system/Codepage.h"

#include "FtpServer.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

using platform::FtpMode;
using platform::FtpSession;
using platform::FtpStatus;

namespace {

const char* const kPassword = "Skudd-7391-hemmelig";
const char* const kGuestPassword = "Gjest-5512-passord";

// Every byte value, and line ends that a text-mode transfer would change.
std::string BinaryBytes()
{
    std::string bytes;
    for (int round = 0; round < 300; ++round)
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>(b);
    return bytes + "\r\n\n\r\r\n";
}

// A port of this machine where nothing listens.
int ClosedPort()
{
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

class FtpSessionTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(folder.File("local"));
        ASSERT_TRUE(server.Start(folder.File("site"), {{"range", kPassword, "", bvtest::kFtpAllRights},
                                                       {"guest", kGuestPassword, "", bvtest::kFtpReadOnly}}))
            << server.Error();
    }

    // A local file, named by its system path (".\local\NAME", Windows-1252).
    std::string Local(const std::string& name, const std::string& bytes)
    {
        bvtest::TempFolder::Write(folder.File("local/" + platform::Cp1252ToUtf8(name)), bytes);
        return ".\\local\\" + name;
    }
    std::string Served(const std::string& path) const { return bvtest::TempFolder::Read(folder.File("site/" + path)); }
    bool IsServed(const std::string& path) const { return std::filesystem::exists(folder.File("site/" + path)); }

    bvtest::FtpServer server;
};

}  // namespace

TEST(FtpServerTextTest, AServerTextNamesItsPortOr21)
{
    struct Case {
        const char* text;
        bool valid;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"ftp.club.no", true, "ftp.club.no", 21},
        {"ftp.club.no:2121", true, "ftp.club.no", 2121},
        {" 10.0.0.5:21  ", true, "10.0.0.5", 21},
        {"web_01.local:65535", true, "web_01.local", 65535},
        {"[fe80::1]:2121", true, "fe80::1", 2121},
        {"[::1]", true, "::1", 21},
        {"::1", true, "::1", 21},
        {"", false, "", 0},
        {"   ", false, "", 0},
        {"ftp.club.no:", false, "", 0},
        {":2121", false, "", 0},
        {"ftp.club.no:0", false, "", 0},
        {"ftp.club.no:65536", false, "", 0},
        {"ftp.club.no:21x", false, "", 0},
        {"ftp://ftp.club.no", false, "", 0},
        {"user@ftp.club.no", false, "", 0},
        {"ftp.club.no/web", false, "", 0},
        {"ftp.club.no?x", false, "", 0},
        {"[::1", false, "", 0},
        {"[::1]x", false, "", 0},
        {"[host]:21", false, "", 0},
    };
    for (const Case& c : cases) {
        std::string host = "unchanged";
        int port = -1;
        EXPECT_EQ(platform::ParseFtpServer(c.text, host, port), c.valid) << '"' << c.text << '"';
        if (c.valid) {
            EXPECT_EQ(host, c.host) << c.text;
            EXPECT_EQ(port, c.port) << c.text;
        } else {
            EXPECT_EQ(host, "unchanged") << c.text;
        }
    }
}

TEST_F(FtpSessionTest, FilesArriveByteForByteInBothModesOverOneLogin)
{
    const std::string bytes = BinaryBytes();
    std::string binary = Local("Resultat\xF8.bin", bytes);  // "Resultatø.bin"
    std::string empty = Local("Tom.htm", "");
    std::string older = Local("Side.htm", "old page");
    std::string newer = Local("Side2.htm", "new page\r\n");

    struct Case {
        FtpMode mode;
        const char* prefix;
        std::vector<const char*> dataCommands;  // one of them opens each transfer
    };
    const Case cases[] = {
        {FtpMode::Passive, "passive-", {"EPSV", "PASV"}},
        {FtpMode::Active, "active-", {"EPRT", "PORT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        size_t logins = server.Commands("USER").size();
        size_t opened = 0;
        for (const char* verb : c.dataCommands)
            opened += server.Commands(verb).size();

        std::string prefix = c.prefix;
        FtpSession session;
        ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, c.mode), platform::kFtpOk) << session.Error();
        EXPECT_TRUE(session.IsConnected());
        EXPECT_EQ(session.PutFile(binary, prefix + "result.bin"), platform::kFtpOk) << session.Error();
        EXPECT_EQ(session.PutFile(empty, prefix + "empty.htm"), platform::kFtpOk) << session.Error();
        EXPECT_EQ(session.PutFile(older, prefix + "page.htm"), platform::kFtpOk) << session.Error();
        EXPECT_EQ(session.PutFile(newer, prefix + "page.htm"), platform::kFtpOk) << session.Error();
        // Names go to the server as given, nothing of them taken for URL syntax.
        EXPECT_EQ(session.PutFile(binary, prefix + "Side 1#;type=a.bin"), platform::kFtpOk) << session.Error();
        EXPECT_EQ(session.PutFile(older, prefix + "%41?.htm"), platform::kFtpOk) << session.Error();
        session.Close();
        EXPECT_FALSE(session.IsConnected());

        EXPECT_EQ(Served(prefix + "result.bin"), bytes);
        EXPECT_TRUE(IsServed(prefix + "empty.htm"));
        EXPECT_EQ(Served(prefix + "empty.htm"), "");
        EXPECT_EQ(Served(prefix + "page.htm"), "new page\r\n");
        EXPECT_EQ(Served(prefix + "Side 1#;type=a.bin"), bytes);
        EXPECT_EQ(Served(prefix + "%41?.htm"), "old page");

        EXPECT_EQ(server.Commands("USER").size(), logins + 1) << "one login for the whole session";
        size_t openedNow = 0;
        for (const char* verb : c.dataCommands)
            openedNow += server.Commands(verb).size();
        EXPECT_EQ(openedNow - opened, 6u) << server.Log();
    }
    EXPECT_EQ(server.Commands("STOR").size(), 12u);
    EXPECT_EQ(server.Commands("TYPE").size(), 2u) << "binary once per session: " << server.Log();
    for (const std::string& line : server.Commands("TYPE"))
        EXPECT_NE(line.find("TYPE I"), std::string::npos) << line;
}

TEST_F(FtpSessionTest, FoldersAreWalkedAsASessionAndARefusedChangeStaysPut)
{
    std::string page = Local("page.htm", "<html></html>\r\n");
    FtpSession session;
    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Passive), platform::kFtpOk)
        << session.Error();
    EXPECT_EQ(session.Folder(), "");
    bvtest::TempFolder::Write(folder.File("site/keep.htm"), "keep");

    enum Op { Make, Change, Put };
    struct Step {
        Op op;
        const char* path;
        FtpStatus status;
        const char* folderAfter;
    };
    const Step steps[] = {
        {Make, "data", platform::kFtpOk, ""},
        {Make, "data", platform::kFtpRefused, ""},  // it is there already
        {Change, "data", platform::kFtpOk, "data"},
        {Put, "a.htm", platform::kFtpOk, "data"},
        {Change, "missing", platform::kFtpRefused, "data"},
        {Put, "b.htm", platform::kFtpOk, "data"},  // still in data
        {Put, "sub/c.htm", platform::kFtpRefused, "data"},  // no folder is made on the way
        {Make, "sub", platform::kFtpOk, "data"},
        {Put, "sub/c.htm", platform::kFtpOk, "data"},
        {Change, "..", platform::kFtpOk, ""},
        {Change, "/data/sub/", platform::kFtpOk, "/data/sub"},
        {Put, "../d.htm", platform::kFtpOk, "/data/sub"},
        {Put, "/e.htm", platform::kFtpOk, "/data/sub"},
        {Change, "./..", platform::kFtpOk, "/data"},
        {Change, "/", platform::kFtpOk, "/"},
        {Change, "data/../nowhere", platform::kFtpRefused, "/"},
        {Make, "new\r\nDELE keep.htm", platform::kFtpBadName, "/"},
        {Put, "x\r\nDELE keep.htm", platform::kFtpBadName, "/"},
        {Change, "data\n", platform::kFtpBadName, "/"},
        {Put, "data/", platform::kFtpBadName, "/"},
        {Put, "data/..", platform::kFtpBadName, "/"},
        {Make, "/", platform::kFtpBadName, "/"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.path);
        FtpStatus status = step.op == Make     ? session.MakeFolder(step.path)
                           : step.op == Change ? session.ChangeFolder(step.path)
                                               : session.PutFile(page, step.path);
        EXPECT_EQ(status, step.status) << session.Error();
        EXPECT_EQ(session.Folder(), step.folderAfter);
        if (status != platform::kFtpOk)
            EXPECT_FALSE(session.Error().empty());
        if (status == platform::kFtpRefused)
            EXPECT_EQ(session.Reply() / 100, 5) << session.Error();
    }
    for (const char* path : {"data/a.htm", "data/b.htm", "data/sub/c.htm", "data/d.htm", "e.htm"})
        EXPECT_EQ(Served(path), "<html></html>\r\n") << path;
    EXPECT_FALSE(IsServed("sub"));
    EXPECT_FALSE(IsServed("data/missing"));
    EXPECT_EQ(Served("keep.htm"), "keep");
    EXPECT_EQ(server.Commands("USER").size(), 1u) << "one connection for all the commands";
    EXPECT_TRUE(server.Commands("DELE").empty());
}

TEST_F(FtpSessionTest, AFailedFolderChangeTellsTheFolderAndTheServersAnswer)
{
    FtpSession session;
    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Passive), platform::kFtpOk);
    EXPECT_EQ(session.ChangeFolder("web/"), platform::kFtpRefused);
    EXPECT_EQ(session.Reply(), 550);
    EXPECT_NE(session.Error().find("\"web/\""), std::string::npos) << session.Error();
    EXPECT_NE(session.Error().find("550"), std::string::npos) << session.Error();
    // The session goes on where it was.
    EXPECT_TRUE(session.IsConnected());
    EXPECT_EQ(session.MakeFolder("web"), platform::kFtpOk) << session.Error();
    EXPECT_EQ(session.ChangeFolder("web/"), platform::kFtpOk) << session.Error();
    EXPECT_TRUE(session.Error().empty());
}

TEST_F(FtpSessionTest, TheServersRefusalsAreReportedWithItsReason)
{
    std::string page = Local("page.htm", "page");
    std::filesystem::create_directory(folder.File("site/data"));

    FtpSession guest;
    ASSERT_EQ(guest.Connect(server.Address(), "guest", kGuestPassword, FtpMode::Passive), platform::kFtpOk)
        << guest.Error();
    EXPECT_EQ(guest.ChangeFolder("data"), platform::kFtpOk) << "reading is allowed: " << guest.Error();
    EXPECT_EQ(guest.PutFile(page, "page.htm"), platform::kFtpRefused);
    EXPECT_EQ(guest.Reply(), 550);
    EXPECT_NE(guest.Error().find("page.htm"), std::string::npos) << guest.Error();
    EXPECT_EQ(guest.MakeFolder("more"), platform::kFtpRefused);
    EXPECT_EQ(guest.Reply(), 550);
    EXPECT_FALSE(IsServed("data/page.htm"));
    EXPECT_FALSE(IsServed("data/more"));

    FtpSession wrong;
    EXPECT_EQ(wrong.Connect(server.Address(), "range", "not-the-password", FtpMode::Passive),
              platform::kFtpLoginRefused);
    EXPECT_EQ(wrong.Reply(), 530);
    EXPECT_FALSE(wrong.IsConnected());
    EXPECT_EQ(wrong.PutFile(page, "page.htm"), platform::kFtpNotConnected);
}

TEST_F(FtpSessionTest, CommandsNeedAConnectionAndAReadableLocalFile)
{
    std::string page = Local("page.htm", "page");
    FtpSession session;
    EXPECT_EQ(session.PutFile(page, "page.htm"), platform::kFtpNotConnected);
    EXPECT_EQ(session.ChangeFolder("data"), platform::kFtpNotConnected);
    EXPECT_EQ(session.MakeFolder("data"), platform::kFtpNotConnected);
    EXPECT_EQ(session.Connect("not a server", "range", kPassword, FtpMode::Passive), platform::kFtpBadName);

    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Passive), platform::kFtpOk);
    EXPECT_EQ(session.PutFile(".\\local\\missing.htm", "missing.htm"), platform::kFtpLocalFile);
    EXPECT_NE(session.Error().find("missing.htm"), std::string::npos) << session.Error();
    EXPECT_EQ(session.PutFile(".\\local", "local"), platform::kFtpLocalFile);
    EXPECT_FALSE(IsServed("missing.htm"));
    EXPECT_FALSE(IsServed("local"));
    EXPECT_TRUE(server.Commands("STOR").empty());
    EXPECT_EQ(session.PutFile(page, "page.htm"), platform::kFtpOk) << "a failure leaves the session usable";

    session.Close();
    session.Close();
    EXPECT_EQ(session.PutFile(page, "again.htm"), platform::kFtpNotConnected);
    EXPECT_FALSE(IsServed("again.htm"));
}

TEST_F(FtpSessionTest, ADeadOrSilentServerHoldsTheCallerForSecondsOnly)
{
    using Clock = std::chrono::steady_clock;
    const platform::FtpLimits quick{1, 1, 1};

    // Nobody listens.
    FtpSession session;
    auto start = Clock::now();
    EXPECT_EQ(session.Connect("127.0.0.1:" + std::to_string(ClosedPort()), "range", kPassword, FtpMode::Passive, quick),
              platform::kFtpUnreachable);
    EXPECT_FALSE(session.IsConnected());
    EXPECT_NE(session.Error().find("127.0.0.1"), std::string::npos) << session.Error();

    // Something takes the connection and never says a word.
    int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(silent, 4), 0);
    socklen_t length = sizeof address;
    ::getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
    start = Clock::now();
    EXPECT_EQ(session.Connect("127.0.0.1:" + std::to_string(ntohs(address.sin_port)), "range", kPassword,
                              FtpMode::Passive, quick),
              platform::kFtpTimedOut)
        << session.Error();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    ::close(silent);

    // The server hangs in the middle of a session: the command gives up,
    // and so does the goodbye.
    std::string page = Local("page.htm", "page");
    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Passive, quick), platform::kFtpOk);
    server.Freeze();
    start = Clock::now();
    EXPECT_EQ(session.PutFile(page, "page.htm"), platform::kFtpTimedOut) << session.Error();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    server.Thaw();
    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Active, quick), platform::kFtpOk);
    server.Freeze();
    start = Clock::now();
    session.Close();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    server.Thaw();

    // The server goes away in the middle of a session.
    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Passive, quick), platform::kFtpOk);
    server.Stop();
    start = Clock::now();
    EXPECT_NE(session.PutFile(page, "page.htm"), platform::kFtpOk);
    EXPECT_FALSE(session.Error().empty());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
}

// A server that answers every step in time but takes a file in slowly, or
// freezes half-way through it, holds one command no longer than its
// allowance, however the steps' own limits add up. The session ends with
// it, so the caller's next command does not wait once more.
TEST_F(FtpSessionTest, NoServerHoldsOneCommandBeyondItsAllowance)
{
    using Clock = std::chrono::steady_clock;
    server.Stop();
    ASSERT_TRUE(server.Start(folder.File("site"), {{"range", kPassword, "", bvtest::kFtpAllRights}}, 300, 64 << 10))
        << server.Error();
    // At the server's pace the file would take a minute.
    std::string big = Local("big.bin", std::string(64 * 64 << 10, 'x'));
    const platform::FtpLimits limits{5, 10, 15, 2};
    for (bool freeze : {false, true}) {
        SCOPED_TRACE(freeze ? "frozen half-way" : "slow");
        FtpSession session;
        ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Passive, limits), platform::kFtpOk);
        std::thread freezer;
        if (freeze)
            freezer = std::thread([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                server.Freeze();
            });
        const auto start = Clock::now();
        EXPECT_EQ(session.PutFile(big, "big.bin"), platform::kFtpTimedOut) << session.Error();
        const auto took = Clock::now() - start;
        EXPECT_GT(took, std::chrono::milliseconds(1500)) << "given up before its time";
        EXPECT_LT(took, std::chrono::seconds(10));
        EXPECT_FALSE(session.IsConnected());
        EXPECT_FALSE(session.Error().empty());
        EXPECT_EQ(session.PutFile(big, "big.bin"), platform::kFtpNotConnected);
        if (freezer.joinable())
            freezer.join();
        server.Thaw();
    }
}

TEST_F(FtpSessionTest, AConnectionTheServerDroppedIsMadeAgainInTheSameFolder)
{
    server.Stop();
    std::filesystem::create_directories(folder.File("site/web/data"));
    ASSERT_TRUE(server.Start(folder.File("site"), {{"range", kPassword, "", bvtest::kFtpAllRights}}, 1))
        << server.Error();
    std::string page = Local("page.htm", "page");
    FtpSession session;
    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Active), platform::kFtpOk);
    ASSERT_EQ(session.ChangeFolder("web/data"), platform::kFtpOk) << session.Error();
    // The server drops the silent connection after its idle second.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (server.Log().find("-> 421") == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_NE(server.Log().find("-> 421"), std::string::npos) << server.Log();
    EXPECT_EQ(session.PutFile(page, "page.htm"), platform::kFtpOk) << session.Error();
    EXPECT_EQ(Served("web/data/page.htm"), "page");
    EXPECT_EQ(server.Commands("USER").size(), 2u) << server.Log();
}

TEST_F(FtpSessionTest, NoPasswordInAnyTextOrTheServersLog)
{
    std::string page = Local("page.htm", "page");
    std::vector<std::string> texts;
    auto keep = [&](const FtpSession& session) { texts.push_back(session.Error()); };

    FtpSession session;
    session.Connect(server.Address(), "range", "Feil-8820-passord", FtpMode::Passive);
    keep(session);
    session.Connect("127.0.0.1:" + std::to_string(ClosedPort()), "range", kPassword, FtpMode::Active);
    keep(session);
    ASSERT_EQ(session.Connect(server.Address(), "range", kPassword, FtpMode::Passive), platform::kFtpOk);
    session.ChangeFolder("missing");
    keep(session);
    session.PutFile(".\\local\\missing.htm", "x.htm");
    keep(session);
    session.PutFile(page, "missing/x.htm");
    keep(session);
    FtpSession guest;
    ASSERT_EQ(guest.Connect(server.Address(), "guest", kGuestPassword, FtpMode::Active), platform::kFtpOk);
    guest.PutFile(page, "x.htm");
    keep(guest);

    const std::string log = server.Log();
    EXPECT_EQ(server.Commands("PASS").size(), 3u) << log;
    for (const char* password : {kPassword, kGuestPassword, "Feil-8820-passord"}) {
        EXPECT_EQ(log.find(password), std::string::npos) << password;
        for (const std::string& text : texts) {
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(text.find(password), std::string::npos) << text;
        }
    }
}
