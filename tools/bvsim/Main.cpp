// bvsim: a bus of simulated target units for trying the range control and
// its line layer without hardware. See "bvsim --help".
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "tools/bvsim/lib/Bus.h"
#include "tools/bvsim/lib/Control.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "Usage: bvsim [options]\n"
    "A bus of simulated target units on the other end of a serial line.\n"
    "\n"
    "Options:\n"
    "  --link PATH        make a pseudo-terminal pair and a symbolic link PATH to\n"
    "                     its serial side (without --link and --open the pair is\n"
    "                     made too; its path is printed)\n"
    "  --open DEVICE      use an existing device instead: the other end of a\n"
    "                     pseudo-terminal pair made elsewhere, or a real port\n"
    "  --baud 9600|4800   speed of the bus (default 9600)\n"
    "  --mode N           addressing mode of the bus, 1 to 4 (default 1)\n"
    "  --units LANES      units on the bus at start, e.g. 1-50\n"
    "  --comp N           the units start set to competition N and taking part\n"
    "                     (state 1), as a range control left them; without it\n"
    "                     they start idle in the practice competition\n"
    "  --relay N          with --comp: the relay they start on (default 1)\n"
    "  --program S1,S2..  with --comp: the shots of each series of the program\n"
    "                     the range control sent them; a unit whose series\n"
    "                     holds its shots goes on to the next\n"
    "  --turnaround MS    pause before each answer (default 20 at 9600 baud,\n"
    "                     40 at 4800)\n"
    "  --faulty-sensor LANES\n"
    "                     these units have a sensor that hears nothing: their\n"
    "                     shots report a level of 0 for it\n"
    "  --echo             hand every frame of the range control back, as a\n"
    "                     two-wire bus does\n"
    "  --control FIFO     also read commands from this named pipe (made when\n"
    "                     missing); the simulator then runs on after its\n"
    "                     standard input ends\n"
    "  --trace            print every frame\n"
    "  --help             this text\n"
    "\n"
    "The first line printed is 'pty PATH' (or 'device PATH'), then 'ready'.\n"
    "Point the range control's COM port at PATH, e.g. BV_COM1=PATH.\n"
    "\n";

volatile std::sig_atomic_t g_quit = 0;
void OnSignal(int) { g_quit = 1; }

std::mutex g_out;
void Print(const std::string& line)
{
    std::lock_guard<std::mutex> hold(g_out);
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Fail(const std::string& text)
{
    std::fprintf(stderr, "bvsim: %s\n", text.c_str());
    return 1;
}

bool Number(const char* s, int& v)
{
    char* end = nullptr;
    long x = std::strtol(s, &end, 10);
    if (!s[0] || *end)
        return false;
    v = static_cast<int>(x);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string link, device, control, units, faulty;
    int competition = -1, relay = 1;
    std::vector<int> program;
    bvsim::BusOptions options;
    options.answerStatus = true;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs(bvsim::kCommandHelp, stdout);
            return 0;
        } else if (a == "--echo") {
            options.echo = true;
        } else if (a == "--trace") {
            trace = true;
        } else if (a == "--link" && (v = value())) {
            link = v;
        } else if (a == "--open" && (v = value())) {
            device = v;
        } else if (a == "--control" && (v = value())) {
            control = v;
        } else if (a == "--units" && (v = value())) {
            units = v;
        } else if (a == "--faulty-sensor" && (v = value())) {
            faulty = v;
        } else if (a == "--comp" && (v = value())) {
            if (!Number(v, competition) || competition < 0 || competition > 255)
                return Fail("--comp takes a competition 0 to 255");
        } else if (a == "--relay" && (v = value())) {
            if (!Number(v, relay) || relay < 1 || relay > 65535)
                return Fail("--relay takes a relay 1 to 65535");
        } else if (a == "--program" && (v = value())) {
            std::istringstream list(v);
            int shots = 0;
            for (std::string item; std::getline(list, item, ',');) {
                if (!Number(item.c_str(), shots) || shots < 0 || shots > 127 || program.size() >= 28)
                    return Fail("--program takes up to 28 shot counts 0 to 127, e.g. 10,10");
                program.push_back(shots);
            }
        } else if (a == "--baud" && (v = value())) {
            if (!Number(v, options.baud) || (options.baud != 9600 && options.baud != 4800))
                return Fail("--baud takes 9600 or 4800");
        } else if (a == "--mode" && (v = value())) {
            if (!Number(v, options.addressingMode) || options.addressingMode < 1 || options.addressingMode > 4)
                return Fail("--mode takes 1 to 4");
        } else if (a == "--turnaround" && (v = value())) {
            if (!Number(v, options.turnaroundMs) || options.turnaroundMs < 0)
                return Fail("--turnaround takes milliseconds");
        } else {
            return Fail("unknown or incomplete option '" + a + "' (--help lists them)");
        }
    }
    if (!link.empty() && !device.empty())
        return Fail("--link and --open exclude each other");

    platform::PseudoTerminal pty;
    auto port = std::make_unique<platform::SerialPort>();
    std::string shown;
    if (!device.empty()) {
        if (int e = port->Open(device); e != 0)
            return Fail("cannot open " + device + ": " + std::strerror(e));
        shown = "device " + device;
    } else {
        if (int e = pty.Open(); e != 0)
            return Fail(std::string("cannot make a pseudo-terminal: ") + std::strerror(e));
        if (int e = port->Adopt(pty.ReleaseMaster()); e != 0)
            return Fail(std::string("cannot use the pseudo-terminal: ") + std::strerror(e));
        if (!link.empty()) {
            ::unlink(link.c_str());
            if (::symlink(pty.SlavePath().c_str(), link.c_str()) != 0)
                return Fail("cannot make the link " + link + ": " + std::strerror(errno));
        }
        shown = "pty " + pty.SlavePath();
    }

    bvsim::Bus bus(std::move(port), options);
    bus.SetTrace(trace);
    bus.SetListener([](const bvsim::BusEvent& e) {
        std::string line = bvsim::FormatEvent(e);
        if (!line.empty())
            Print(line);
    });
    // A start-up command that fails leaves nothing of this run behind.
    auto setUp = [&](const std::string& command, const std::string& option) {
        bvsim::ControlResult r = bvsim::Execute(bus, command);
        if (r.reply == "ok")
            return true;
        if (!link.empty())
            ::unlink(link.c_str());
        Fail(option + ": " + r.reply);
        return false;
    };
    if (!units.empty() && !setUp("unit " + units, "--units " + units))
        return 1;
    if (!faulty.empty() && !setUp("sensors " + faulty + " faulty", "--faulty-sensor " + faulty))
        return 1;
    // Units already set up by the range control before: they report the
    // competition and relay and that they take part.
    if (competition >= 0) {
        bus.SetTarget(0, 1, relay, 1, competition);
        bus.SetProgram(0, program);
    }
    if (int e = bus.Start(); e != 0)
        return Fail(std::string("cannot set up the port: ") + std::strerror(e));

    int fifo = -1;
    if (!control.empty()) {
        if (::mkfifo(control.c_str(), 0600) != 0 && errno != EEXIST)
            return Fail("cannot make " + control + ": " + std::strerror(errno));
        // Opened for writing too, so that the pipe never reports its end
        // when a writer goes away.
        fifo = ::open(control.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fifo < 0)
            return Fail("cannot open " + control + ": " + std::strerror(errno));
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    Print(shown);
    Print("ready");

    std::string pending[2];
    bool stdinOpen = true;
    bool quit = false;
    while (!quit && !g_quit) {
        pollfd fds[2] = {{stdinOpen ? 0 : -1, POLLIN, 0}, {fifo, POLLIN, 0}};
        int r = ::poll(fds, 2, 200);
        if (r < 0 && errno != EINTR)
            break;
        for (int k = 0; k < 2 && !quit; ++k) {
            if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            ssize_t n = ::read(fds[k].fd, buffer, sizeof buffer);
            if (n <= 0) {
                if (k == 0 && n == 0) {
                    stdinOpen = false;
                    if (fifo < 0)
                        quit = true;
                }
                continue;
            }
            pending[k].append(buffer, static_cast<size_t>(n));
            size_t eol;
            while (!quit && (eol = pending[k].find('\n')) != std::string::npos) {
                std::string line = pending[k].substr(0, eol);
                pending[k].erase(0, eol + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                bvsim::ControlResult result = bvsim::Execute(bus, line);
                if (!line.empty())
                    Print(result.reply);
                quit = result.quit;
            }
        }
    }
    bus.Stop();
    if (!link.empty())
        ::unlink(link.c_str());
    if (fifo >= 0)
        ::close(fifo);
    return 0;
}
