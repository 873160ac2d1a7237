// The bvsim program as a script or a range officer uses it: started with
// its options, driven by commands on its standard input, talked to through
// the pseudo-terminal it made, reporting on its standard output.
#include "platform/system/Clock.h"
#include "platform/ports/SerialPort.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char kBvsim[] = BV_BINARY_DIR "/tools/bvsim/bvsim";

class Bvsim {
public:
    explicit Bvsim(const std::vector<std::string>& args)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
            std::vector<char*> argv{const_cast<char*>(kBvsim)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(kBvsim, argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        m_in = in[1];
        m_out = out[0];
    }
    ~Bvsim()
    {
        if (m_in >= 0)
            close(m_in);
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            close(m_out);
    }
    void Send(const std::string& line) { [[maybe_unused]] ssize_t n = write(m_in, (line + "\n").data(), line.size() + 1); }
    void CloseInput()
    {
        close(m_in);
        m_in = -1;
    }
    // The next line of output, or "" after five seconds.
    std::string Line()
    {
        int64_t until = platform::MonotonicUs() + 5000000;
        for (;;) {
            size_t eol = m_buffer.find('\n');
            if (eol != std::string::npos) {
                std::string line = m_buffer.substr(0, eol);
                m_buffer.erase(0, eol + 1);
                return line;
            }
            int64_t left = until - platform::MonotonicUs();
            pollfd p{m_out, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, static_cast<int>(left / 1000)) <= 0)
                return "";
            char chunk[512];
            ssize_t n = read(m_out, chunk, sizeof chunk);
            if (n <= 0)
                return "";
            m_buffer.append(chunk, static_cast<size_t>(n));
        }
    }
    // Everything up to the end of the output.
    std::string Rest()
    {
        std::string all;
        char chunk[512];
        for (ssize_t n; (n = read(m_out, chunk, sizeof chunk)) > 0;)
            all.append(chunk, static_cast<size_t>(n));
        return m_buffer + all;
    }
    // Skips lines until one starts so.
    std::string LineStarting(const std::string& prefix)
    {
        for (std::string l = Line(); !l.empty(); l = Line())
            if (l.rfind(prefix, 0) == 0)
                return l;
        return "";
    }
    int Wait()
    {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    std::string m_buffer;
};

std::string Exchange(platform::SerialPort& port, const std::string& frame)
{
    size_t written = 0;
    port.Write(frame.data(), frame.size(), 1000, written);
    std::string got;
    int64_t until = platform::MonotonicUs() + 5000000;
    while (platform::MonotonicUs() < until && (got.empty() || got.back() != '\x0D')) {
        port.WaitInput(100000);
        char chunk[256];
        size_t n = 0;
        port.Read(chunk, sizeof chunk, n);
        got.append(chunk, n);
    }
    return got;
}

class BvsimTest : public bvtest::InTempFolder {};

}  // namespace

TEST_F(BvsimTest, HelpListsEveryCommand)
{
    Bvsim sim({"--help"});
    std::string all = sim.Rest();
    for (const char* word : {"--link", "--open", "--baud", "--units", "--control", "unit LANES", "shot LANE",
                             "state LANE", "send LANE", "turnaround", "checksum", "lose", "noack", "burst", "echo",
                             "silence", "stats", "trace", "quit", "loader LANES", "dual LANE TWIN",
                             "drop LANES", "refuse LANES", "image LANE FILE", "card LANE FILE",
                             "print LANE [abort]", "--comp", "--relay"})
        EXPECT_NE(all.find(word), std::string::npos) << word;
    EXPECT_EQ(sim.Wait(), 0);
    Bvsim wrong({"--baud", "1200"});
    EXPECT_EQ(wrong.Wait(), 1);
}

TEST_F(BvsimTest, UnitsOnTheLinkedPseudoTerminalAnswerAndReport)
{
    std::string link = folder.File("com1");
    Bvsim sim({"--link", link, "--units", "1-3", "--turnaround", "2"});
    ASSERT_EQ(sim.Line().rfind("pty /dev/", 0), 0u);
    ASSERT_EQ(sim.Line(), "ready");
    platform::SerialPort port;
    ASSERT_EQ(port.Open(link), 0);

    EXPECT_EQ(Exchange(port, "\x42\x0D"), "\x01\x0D");  // unit 2 has nothing
    sim.Send("shot 2 7 1050");
    EXPECT_EQ(sim.Line(), "ok");
    std::string answer = Exchange(port, "\x42\x0D");
    ASSERT_GT(answer.size(), 50u);
    EXPECT_EQ(answer.substr(0, 5), "\xC2\x40\x43\x0F\x12");  // from unit 2: 'C', lane 2 escaped
    EXPECT_NE(sim.LineStarting("sent 2 40 43 02 20 "), "");

    // Acknowledged, the unit reports it and has nothing more.
    size_t written = 0;
    port.Write("\x02\x0D", 2, 1000, written);
    EXPECT_NE(sim.LineStarting("ack 2 40 43 02 20 "), "");
    EXPECT_EQ(Exchange(port, "\x42\x0D"), "\x01\x0D");

    // A command to unit 3 is acknowledged and reported.
    EXPECT_EQ(Exchange(port, "\x83\x40\x57\x0F\x13\x91\x0D"), "\x02\x0D");
    EXPECT_EQ(sim.LineStarting("cmd "), "cmd 3 40 57 03");
    sim.Send("stats 3");
    EXPECT_EQ(sim.Line(), "unit 3 slot 3 polls 0 nothing 0 sent 0 acked 0 commands 1 badcommands 0 broadcasts 0 queued 0");
    sim.Send("shot 9 1 1");
    EXPECT_EQ(sim.Line(), "error: no unit on lane 9");
    sim.Send("fly");
    EXPECT_EQ(sim.Line().rfind("error: unknown command", 0), 0u);
    sim.Send("quit");
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_NE(access(link.c_str(), F_OK), 0);  // the link goes with the simulator
}

TEST_F(BvsimTest, AListOfLanesIsRefusedAndLeavesNoLink)
{
    std::string link = folder.File("com1");
    Bvsim sim({"--link", link, "--units", "1,3"});
    EXPECT_EQ(sim.Wait(), 1);
    EXPECT_NE(access(link.c_str(), F_OK), 0);
}

TEST_F(BvsimTest, LoaderUnitsAnswerAndWriteTheirImage)
{
    std::string link = folder.File("com1");
    Bvsim sim({"--link", link, "--units", "1-2", "--turnaround", "2"});
    ASSERT_EQ(sim.Line().rfind("pty /dev/", 0), 0u);
    ASSERT_EQ(sim.Line(), "ready");
    sim.Send("loader 1");
    EXPECT_EQ(sim.Line(), "ok");
    sim.Send("dual 2 3");
    EXPECT_EQ(sim.Line(), "error: no loader unit on lane 2");
    platform::SerialPort port;
    ASSERT_EQ(port.Open(link), 0);
    // A version request to unit 1 (0x40 0x38 0x01, checksum 0x2C), then a poll.
    EXPECT_EQ(Exchange(port, "\x81\x40\x38\x0F\x11\x2C\x0D"), "\x02\x0D");
    std::string answer = Exchange(port, "\x41\x0D");
    ASSERT_GT(answer.size(), 10u);
    EXPECT_EQ(answer.substr(0, 3), "\xC1\x40\x86");
    sim.Send("image 1 " + folder.File("unit1.s28"));
    EXPECT_EQ(sim.LineStarting("ok"), "ok");
    EXPECT_EQ(bvtest::TempFolder::Read(folder.File("unit1.s28")), "S804000000FB\r\n");
    sim.Send("quit");
    EXPECT_EQ(sim.Wait(), 0);
}
