#pragma once
// A bus of simulated target units, the other end of a range control's
// serial line. Units answer polls by address after their turnaround time,
// send the messages queued for them until the range control acknowledges
// them, acknowledge the commands they hear, and take the wire time of the
// bus's speed for every frame. Faults can be injected per unit: wrong
// checksums, lost answers, missing acknowledgements, two frames in one
// burst, answers too early; and for the bus: the echo of every frame of the
// range control (a two-wire bus hears itself), and silence.
//
// A unit's frame goes onto the port in pieces of a few bytes, as a
// serial port's receive buffer hands them on, each when its last byte would
// have come over the wire; a frame from the range control counts as heard
// when its last byte would have arrived.
#include "platform/ports/Port.h"
#include "platform/system/Thread.h"
#include "tools/bvsim/lib/LoaderUnit.h"
#include "tools/bvsim/lib/UnitFrame.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace bvsim {

struct BusOptions {
    int baud = 9600;
    int addressingMode = 1;
    // A unit's pause between the end of the frame it heard and its answer;
    // -1: 20 ms at 9600 baud, longer in proportion at a lower speed. The
    // range control takes anything beginning within 12 ms after its own
    // frame (20 ms at 4800 baud) for the echo of that frame.
    int turnaroundMs = -1;
    bool echo = false;
    // Units answer the status query with their version and status, as
    // target units do; off, a test queues the replies it wants itself.
    bool answerStatus = false;
};

struct UnitStats {
    int lane = 0;
    int slot = 0;
    int polls = 0;         // polls heard
    int nothing = 0;       // answered with nothing to send
    int framesSent = 0;    // message frames sent
    int acknowledged = 0;  // messages the range control acknowledged
    int commands = 0;      // commands heard with a good checksum
    int badCommands = 0;   // commands heard with a bad checksum
    int broadcasts = 0;
    int queued = 0;        // messages waiting to be sent
};

struct BusEvent {
    enum Kind {
        Command,      // a unit heard a command (lane, payload)
        Broadcast,    // all units heard a message (payload)
        Acknowledged, // the range control acknowledged a unit's message (lane, payload)
        BadCommand,   // a command with a wrong checksum (lane)
        MessageSent,  // a unit's message frame is on the wire (lane, payload, time)
        FrameIn,      // trace: a frame from the range control
        FrameOut,     // trace: a frame onto the wire
    } kind;
    int lane = 0;
    Bytes bytes;
    int64_t time = 0;  // high-resolution counter when the frame's last byte was on the wire
};

class Bus {
public:
    Bus(std::unique_ptr<platform::Port> port, BusOptions options = {});
    ~Bus();
    Bus(const Bus&) = delete;
    Bus& operator=(const Bus&) = delete;

    // Starts and stops the bus's thread. Start: 0 or a system error.
    int Start();
    void Stop();

    // Events are handed to the listener on the bus's thread, in order.
    void SetListener(std::function<void(const BusEvent&)> listener);
    void SetTrace(bool on);

    // Units, by lane; lane 0 means every unit where it makes sense.
    bool AddUnit(int lane);
    bool RemoveUnit(int lane);
    bool HasUnit(int lane) const;
    // A message the unit sends when polled: payload from position 2 on.
    bool QueueMessage(int lane, Bytes payload);
    // Series 0 is the unit's own: the series the range control last gave it,
    // or the next one of its program once that series holds its shots.
    bool QueueShot(int lane, int shotNumber, int value, int x, int y, int series = 1, int relay = 1, int competition = 1);
    bool QueueLaneState(int lane, int state, int relay = 1, int series = 1, int competition = 1);
    // What units report of themselves when the range control resets them:
    // their state, relay, series and competition (lane 0: every unit). The
    // lane-state command sets them too.
    bool SetTarget(int lane, int state, int relay, int series, int competition);
    // The sensor levels the unit's shots report; a unit with a sensor that
    // hears nothing sends 0 for it.
    bool SetSensors(int lane, const uint8_t (&levels)[4]);
    bool SetFaultySensor(int lane);
    // The shots of series 1, 2, ... of the program the range control sent
    // (lane 0: every unit); a unit whose series is full goes on to the next.
    bool SetProgram(int lane, const std::vector<int>& shots);
    // The series a unit is on (what its lane-state message reports).
    int SeriesOf(int lane) const;

    // A monitor holding a card: its shots answer shot requests (as shots
    // sent again, kind 0x21). Replaces what the unit sent before.
    bool LoadCard(int lane, const std::vector<CardShot>& shots);
    // The monitor asks for its card to be printed, or aborts that; while
    // asking, the range control's card summary makes it send its card, and
    // the print-done command ends the asking.
    bool RequestPrint(int lane, bool abort);
    // A monitor holding a card loses the next COUNT shots of it on the way.
    bool SetDropCardShots(int lane, int count);

    bool SetTurnaround(int lane, int ms);
    bool SetChecksumErrors(int lane, int count);
    bool SetLostAnswers(int lane, int count);
    bool SetRefusedAcknowledges(int lane, int count);
    bool SetBurst(int lane);
    // The unit's message frames stop in their middle: for pauseMs before the
    // rest follows (every answer), or for good (the next count answers).
    bool SetAnswerPause(int lane, int pauseMs);
    bool SetCutAnswers(int lane, int count);

    // Units of the software loader (see LoaderUnit): on is 'loader', off a
    // range unit again.
    bool SetLoader(int lane, bool on);
    bool SetTwin(int lane, int twin);
    bool SetDropLists(int lane, int count);
    bool SetRefuseBlocks(int lane, int count);
    // Calls f with the loader unit of a lane under the bus's lock; false
    // when the lane has none.
    bool InspectLoader(int lane, const std::function<void(const LoaderUnit&)>& f) const;
    void SetEcho(bool on);
    void Silence(int ms);

    bool Stats(int lane, UnitStats& out) const;
    std::vector<UnitStats> AllStats() const;
    // The slots polled, oldest first (the last 1000).
    std::vector<int> PollOrder() const;
    // Frames of the range control that began while a unit's answer was
    // still going out: on a real bus both would be lost.
    int Collisions() const;
    // Payloads of the commands a unit heard, oldest first (the last 100).
    std::vector<Bytes> Commands(int lane) const;
    std::vector<Bytes> BroadcastsHeard() const;

    // Waits until test() is true, looking again after every change on the
    // bus; false when timeoutMs passed first.
    bool WaitFor(const std::function<bool()>& test, int timeoutMs);

    int SlotOf(int lane) const;
    int64_t ByteTime() const { return m_byteTime; }

private:
    struct Unit {
        int lane = 0;
        int slot = 0;
        int turnaroundMs = -1;  // -1: the bus's
        std::deque<Bytes> outbox;
        int checksumErrors = 0;
        int lostAnswers = 0;
        int refusedAcks = 0;
        bool burst = false;
        int answerPauseMs = 0;
        int cutAnswers = 0;
        int laneState = 0;                 // what its lane-state message reports
        int relay = 1;
        int series = 1;
        int competition = 0;
        int programShots[29] = {};         // shots per series of the program the range control sent, by series
        uint8_t sensors[4] = {28, 27, 29, 28};
        int fired = 0;                     // shots since the unit was made, for its status reply
        std::map<int, Bytes> shots;        // shots sent, by shot number, for requests
        bool card = false;                 // the shots are a card loaded whole
        bool printing = false;             // asked for its card to be printed
        int dropCardShots = 0;
        std::unique_ptr<LoaderUnit> loader;
        std::deque<Bytes> commands;
        UnitStats stats;
    };
    struct Output {
        int64_t at;
        Bytes bytes;
        int lane;
        bool message;  // the last piece of a message frame
        Bytes payload;
        Bytes frame;   // the whole frame, on its last piece
        int64_t frameStart = 0;  // when the frame's first byte goes out
    };

    void Run();
    void Heard(const Bytes& frame, int64_t end, std::vector<BusEvent>& events);
    // Puts a frame on the wire from start on; returns when its last byte is
    // there. A pause splits it in the middle; a cut frame is never finished.
    int64_t ScheduleFrame(int64_t start, const Bytes& frame, int lane, bool message, const Bytes& payload,
                          int64_t pause = 0, bool cut = false);
    Unit* UnitOnSlot(int slot);
    Unit* UnitOfLane(int lane);
    int64_t Turnaround(const Unit& u) const;
    template <typename F> bool ForLanes(int lane, F f);
    // What a unit does beyond acknowledging a message it heard.
    void Respond(Unit& u, const Bytes& payload, bool broadcast);
    // The lane-state message of what the unit is set to.
    static Bytes LaneState(const Unit& u);
    // The unit's series for its next shot.
    static int NextShotSeries(const Unit& u);
    // The answers to the range control's status query: version and status.
    static Bytes VersionReply(const Unit& u);
    static Bytes StatusReply(const Unit& u);
    void Changed();

    std::unique_ptr<platform::Port> m_port;
    BusOptions m_options;
    int64_t m_byteTime;

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    uint64_t m_generation = 0;
    std::map<int, Unit> m_units;  // by lane
    std::vector<Output> m_outputs;
    std::deque<int> m_pollOrder;
    std::deque<Bytes> m_broadcasts;
    int m_awaitingAck = 0;  // lane whose message is on the wire, waiting for the acknowledgement
    int64_t m_silentUntil = 0;
    int m_collisions = 0;
    bool m_trace = false;
    std::function<void(const BusEvent&)> m_listener;

    platform::Thread m_thread;
    bool m_running = false;
    bool m_stop = false;

    // The loop thread's own: bytes of the frame being heard.
    Bytes m_incoming;
    int64_t m_incomingStart = 0;
};

}  // namespace bvsim
