#include "tools/bvsim/lib/Control.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace bvsim {

const char kCommandHelp[] =
    "Commands (one per line; LANES is a lane, a range 3-12, or 0 for every unit):\n"
    "  unit LANES                   put units on the bus\n"
    "  remove LANES                 take units off the bus\n"
    "  shot LANE SHOT VALUE [X Y [SERIES [RELAY [COMP]]]]\n"
    "                               the unit sends a shot message (VALUE in 1/100 ring,\n"
    "                               X and Y in micrometres; SERIES 0 or none: the unit's\n"
    "                               own, the next of its program once that one is full)\n"
    "  sensors LANES A B C D|faulty the levels the units' sensors report (28 27 29 28);\n"
    "                               faulty: one sensor hears nothing\n"
    "  state LANE STATE [RELAY [SERIES [COMP]]]\n"
    "                               the unit sends a lane-state message\n"
    "  send LANE HEX...             the unit sends a message with these bytes from\n"
    "                               position 2 on (e.g. send 5 40 50 05)\n"
    "  card LANE FILE               the unit's monitor holds a card: the shots of LANE\n"
    "                               in FILE, lines RELAY LANE SERIES VALUE X Y [SHOT]\n"
    "                               (VALUE in rings, X and Y in mm); it answers shot\n"
    "                               requests with them (kind 21)\n"
    "  print LANE [abort]           the monitor asks for its card to be printed (or\n"
    "                               aborts); it sends the card when the range control\n"
    "                               fetches it\n"
    "  turnaround MS [LANES]        pause before an answer (all units when no lanes)\n"
    "  checksum LANES [COUNT]       the next COUNT messages go out with a wrong checksum\n"
    "  lose LANES [COUNT]           the next COUNT frames to the unit get no answer\n"
    "  noack LANES [COUNT]          the next COUNT commands are not acknowledged\n"
    "  burst LANES                  the next answer carries two messages in one burst\n"
    "  echo on|off                  hand every frame of the range control back\n"
    "  loader LANES [off]           the units answer the software loader: versions,\n"
    "                               configuration, counters, loading, logs\n"
    "  dual LANE TWIN               a loader unit answers as a dual unit naming TWIN\n"
    "  drop LANES [COUNT]           loader units lose their next COUNT lists of blocks;\n"
    "                               a monitor with a card the next COUNT shots it sends\n"
    "  refuse LANES [COUNT]         loader units refuse the next COUNT blocks they hear\n"
    "  image LANE FILE              write what a loader unit was loaded with as S-records\n"
    "  silence MS                   no unit answers for MS milliseconds\n"
    "  stats [LANES]                counters per unit\n"
    "  trace on|off                 print every frame ('>' heard, '<' sent)\n"
    "  help                         this list\n"
    "  quit                         end the simulator\n"
    "Events printed: 'cmd LANE HEX' a command heard, 'bcast HEX' a message to all,\n"
    "'ack LANE HEX' a message acknowledged, 'badcmd LANE' a command with a wrong\n"
    "checksum, 'sent LANE HEX' a message on the wire.\n";

namespace {

bool ParseInt(const std::string& s, int& v)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    long x = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || x < -1000000000L || x > 1000000000L)
        return false;
    v = static_cast<int>(x);
    return true;
}

// "7", "3-12" or "0".
bool ParseLanes(const std::string& s, int& first, int& last)
{
    size_t dash = s.find('-');
    if (dash == std::string::npos) {
        if (!ParseInt(s, first) || first < 0)
            return false;
        last = first;
        return true;
    }
    return ParseInt(s.substr(0, dash), first) && ParseInt(s.substr(dash + 1), last) && first >= 1 && last >= first &&
           last <= 255;
}

std::string FormatStats(const UnitStats& s)
{
    std::ostringstream o;
    o << "unit " << s.lane << " slot " << s.slot << " polls " << s.polls << " nothing " << s.nothing << " sent "
      << s.framesSent << " acked " << s.acknowledged << " commands " << s.commands << " badcommands "
      << s.badCommands << " broadcasts " << s.broadcasts << " queued " << s.queued;
    return o.str();
}

}  // namespace

ControlResult Execute(Bus& bus, const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string t; in >> t;)
        w.push_back(t);
    ControlResult r{"ok", false};
    auto error = [&](const std::string& text) {
        r.reply = "error: " + text;
        return r;
    };
    if (w.empty())
        return r;
    const std::string& c = w[0];
    int first = 0, last = 0;
    // Applies f to each lane of LANES in word i; false when a lane has no unit.
    auto eachLane = [&](size_t i, auto f) {
        if (w.size() <= i || !ParseLanes(w[i], first, last))
            return false;
        bool ok = true;
        for (int lane = first; lane <= last; ++lane)
            ok = f(lane) && ok;
        return ok;
    };
    auto countAt = [&](size_t i, int& count) {
        count = 1;
        return w.size() <= i || (ParseInt(w[i], count) && count >= 0);
    };

    if (c == "help") {
        r.reply = kCommandHelp;
        if (!r.reply.empty() && r.reply.back() == '\n')
            r.reply.pop_back();
    } else if (c == "quit" || c == "exit") {
        r.quit = true;
    } else if (c == "unit") {
        if (w.size() < 2 || !ParseLanes(w[1], first, last) || first == 0)
            return error("LANES is one lane or a range such as 3-12, not '" + (w.size() < 2 ? std::string() : w[1]) +
                         "'");
        if (!eachLane(1, [&](int lane) { return bus.AddUnit(lane); }))
            return error("no room for a unit on some of these lanes");
    } else if (c == "remove") {
        if (!eachLane(1, [&](int lane) { return lane == 0 ? false : bus.RemoveUnit(lane); }))
            return error("no unit on some of these lanes");
    } else if (c == "shot") {
        int v[8] = {0, 0, 0, 0, 0, 0, 1, 1};
        if (w.size() < 4 || w.size() > 9)
            return error("shot LANE SHOT VALUE [X Y [SERIES [RELAY [COMP]]]]");
        for (size_t k = 1; k < w.size(); ++k)
            if (!ParseInt(w[k], v[k - 1]))
                return error("not a number: " + w[k]);
        if (!bus.QueueShot(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]))
            return error("no unit on lane " + w[1]);
    } else if (c == "sensors") {
        uint8_t levels[4] = {};
        const bool faulty = w.size() == 3 && w[2] == "faulty";
        if (!faulty) {
            int level = 0;
            if (w.size() != 6)
                return error("sensors LANES A B C D|faulty");
            for (size_t k = 2; k < 6; ++k) {
                if (!ParseInt(w[k], level) || level < 0 || level > 254)
                    return error("a sensor level is 0 to 254, not " + w[k]);
                levels[k - 2] = static_cast<uint8_t>(level);
            }
        }
        if (!eachLane(1, [&](int lane) { return faulty ? bus.SetFaultySensor(lane) : bus.SetSensors(lane, levels); }))
            return error("no unit on some of these lanes");
    } else if (c == "state") {
        int v[5] = {0, 0, 1, 1, 1};
        if (w.size() < 3 || w.size() > 6)
            return error("state LANE STATE [RELAY [SERIES [COMP]]]");
        for (size_t k = 1; k < w.size(); ++k)
            if (!ParseInt(w[k], v[k - 1]))
                return error("not a number: " + w[k]);
        if (!bus.QueueLaneState(v[0], v[1], v[2], v[3], v[4]))
            return error("no unit on lane " + w[1]);
    } else if (c == "send") {
        int lane = 0;
        Bytes payload;
        std::string hex;
        for (size_t k = 2; k < w.size(); ++k)
            hex += w[k] + " ";
        if (w.size() < 3 || !ParseInt(w[1], lane) || !ParseHex(hex, payload))
            return error("send LANE HEX...");
        if (!bus.QueueMessage(lane, payload))
            return error("no unit on lane " + w[1] + ", or no bytes");
    } else if (c == "turnaround") {
        int ms = 0;
        if (w.size() < 2 || !ParseInt(w[1], ms) || ms < 0 || ms > 60000)
            return error("turnaround MS [LANES]");
        if (w.size() == 2)
            bus.SetTurnaround(0, ms);
        else if (!eachLane(2, [&](int lane) { return bus.SetTurnaround(lane, ms); }))
            return error("no unit on some of these lanes");
    } else if (c == "checksum" || c == "lose" || c == "noack") {
        int count = 1;
        if (!countAt(2, count))
            return error(c + " LANES [COUNT]");
        bool ok = eachLane(1, [&](int lane) {
            return c == "checksum" ? bus.SetChecksumErrors(lane, count)
                   : c == "lose"   ? bus.SetLostAnswers(lane, count)
                                   : bus.SetRefusedAcknowledges(lane, count);
        });
        if (!ok)
            return error("no unit on some of these lanes");
    } else if (c == "loader") {
        bool on = w.size() < 3 || w[2] != "off";
        if (w.size() > 3 || (w.size() == 3 && w[2] != "off"))
            return error("loader LANES [off]");
        if (!eachLane(1, [&](int lane) { return bus.SetLoader(lane, on); }))
            return error("no unit on some of these lanes");
    } else if (c == "dual") {
        int lane = 0, twin = 0;
        if (w.size() != 3 || !ParseInt(w[1], lane) || !ParseInt(w[2], twin) || twin < 1 || twin > 255)
            return error("dual LANE TWIN");
        if (!bus.SetTwin(lane, twin))
            return error("no loader unit on lane " + w[1]);
    } else if (c == "drop" || c == "refuse") {
        int count = 1;
        if (!countAt(2, count))
            return error(c + " LANES [COUNT]");
        bool ok = eachLane(1, [&](int lane) {
            if (c == "drop")
                return bus.SetDropLists(lane, count) || bus.SetDropCardShots(lane, count);
            return bus.SetRefuseBlocks(lane, count);
        });
        if (!ok)
            return error(c == "drop" ? "no loader unit or card on some of these lanes"
                                     : "no loader unit on some of these lanes");
    } else if (c == "card") {
        int lane = 0;
        if (w.size() != 3 || !ParseInt(w[1], lane) || lane < 1)
            return error("card LANE FILE");
        std::ifstream in(w[2]);
        if (!in)
            return error("cannot read " + w[2]);
        std::vector<CardShot> shots;
        int lineNo = 0;
        for (std::string line; std::getline(in, line);) {
            ++lineNo;
            if (line.find_first_not_of(" \t\r") == std::string::npos)
                continue;
            CardShot shot;
            if (!ParseCardLine(line, shot))
                return error(w[2] + " line " + std::to_string(lineNo) + ": not RELAY LANE SERIES VALUE X Y [SHOT]");
            if (shot.lane == lane)
                shots.push_back(shot);
        }
        if (shots.empty())
            return error("no shots of lane " + w[1] + " in " + w[2]);
        if (!bus.LoadCard(lane, shots))
            return error("no unit on lane " + w[1]);
    } else if (c == "print") {
        int lane = 0;
        if (w.size() < 2 || w.size() > 3 || !ParseInt(w[1], lane) || lane < 1 || (w.size() == 3 && w[2] != "abort"))
            return error("print LANE [abort]");
        if (!bus.RequestPrint(lane, w.size() == 3))
            return error("no unit on lane " + w[1]);
    } else if (c == "image") {
        int lane = 0;
        if (w.size() != 3 || !ParseInt(w[1], lane))
            return error("image LANE FILE");
        std::string records;
        if (!bus.InspectLoader(lane, [&](const LoaderUnit& u) { records = u.ImageRecords(); }))
            return error("no loader unit on lane " + w[1]);
        std::FILE* f = std::fopen(w[2].c_str(), "wb");
        if (!f)
            return error("cannot write " + w[2]);
        bool written = std::fwrite(records.data(), 1, records.size(), f) == records.size();
        written = std::fclose(f) == 0 && written;
        if (!written)
            return error("cannot write " + w[2]);
    } else if (c == "burst") {
        if (!eachLane(1, [&](int lane) { return bus.SetBurst(lane); }))
            return error("no unit on some of these lanes");
    } else if (c == "echo" || c == "trace") {
        if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
            return error(c + " on|off");
        if (c == "echo")
            bus.SetEcho(w[1] == "on");
        else
            bus.SetTrace(w[1] == "on");
    } else if (c == "silence") {
        int ms = 0;
        if (w.size() != 2 || !ParseInt(w[1], ms) || ms < 0)
            return error("silence MS");
        bus.Silence(ms);
    } else if (c == "stats") {
        std::string out;
        if (w.size() == 1 || w[1] == "0") {
            for (const UnitStats& s : bus.AllStats())
                out += FormatStats(s) + "\n";
        } else {
            bool ok = eachLane(1, [&](int lane) {
                UnitStats s;
                if (!bus.Stats(lane, s))
                    return false;
                out += FormatStats(s) + "\n";
                return true;
            });
            if (!ok)
                return error("no unit on some of these lanes");
        }
        if (!out.empty())
            out.pop_back();
        r.reply = out.empty() ? "no units" : out;
    } else {
        return error("unknown command '" + c + "' (help lists them)");
    }
    return r;
}

std::string FormatEvent(const BusEvent& e)
{
    switch (e.kind) {
    case BusEvent::Command: return "cmd " + std::to_string(e.lane) + " " + Hex(e.bytes);
    case BusEvent::Broadcast: return "bcast " + Hex(e.bytes);
    case BusEvent::Acknowledged: return "ack " + std::to_string(e.lane) + " " + Hex(e.bytes);
    case BusEvent::BadCommand: return "badcmd " + std::to_string(e.lane);
    case BusEvent::MessageSent: return "sent " + std::to_string(e.lane) + " " + Hex(e.bytes);
    case BusEvent::FrameIn: return "> " + Hex(e.bytes);
    case BusEvent::FrameOut: return "< " + Hex(e.bytes);
    }
    return {};
}

}  // namespace bvsim
