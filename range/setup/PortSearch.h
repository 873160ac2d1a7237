#pragma once
// The port search: for each of the four line channels in turn it finds a
// serial port COM1..COM9 on which target units answer, and the lanes (1..50)
// that answered there. It runs on a worker thread of its own with line
// objects of its own, while the range's own channels are closed, so the
// range control's tick never meets a line that the search opens and closes.
//
// The worker touches no window. What the busy box is to show (caption, job
// lines, progress) is kept as steps under a lock and announced through
// onSteps; the end is announced through onDone, the last thing the worker
// does. Every wait of the worker is bounded and gives way to a cancel.
#include "foundation/files/BVLog.h"
#include "platform/system/Thread.h"

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class CBVSerCom;

class PortSearch {
public:
    static constexpr int kChannels = 4;

    // The texts of the job list, taken on the user-interface thread before
    // the worker starts.
    struct Texts {
        std::string caption;    // the box's caption while searching
        std::string trying;     // "... COM%d"
        std::string available;  // a port opened
        std::string all;        // polling every lane
        std::string one;        // polled lane ...
        std::string none;       // no unit answered
        std::string lanes;      // units answered on lanes ...
        std::string reply;      // ... (after the lanes)
    };
    struct Options {
        int ports = 9;
        int lanes = 50;
        int mode = 0x81;          // the line's mode: bus master, addressing mode 1
        int firstPollMs = 3000;   // most a lane's first poll is waited for
        int endPauseMs = 200;     // before the end is announced
    };

    // What the busy box shows.
    struct Step {
        enum Kind { Caption, AddLine, ReplaceLastLine, Progress };
        Kind kind = Caption;
        std::string text;
        int value = 0;  // the progress, 0..100
    };

    // A channel's find as its stored setting: the port, the first and the
    // last lane that answered (three bytes), or empty when nothing was found
    // or the search did not reach the channel.
    using Result = std::array<std::string, kChannels>;

    PortSearch(Texts texts, Options options);
    // Cancels a search still running and waits for its worker.
    ~PortSearch();
    PortSearch(const PortSearch&) = delete;
    PortSearch& operator=(const PortSearch&) = delete;

    // Called on the worker thread: steps are waiting; the search has ended.
    std::function<void()> onSteps;
    std::function<void()> onDone;

    // Starts the worker; 0, or the system error.
    int Start();
    // The worker's work, to the end (tests may call it on their own thread).
    void Run();
    // Asks the worker to stop at its next look; it still announces its end.
    void Cancel() { m_cancel.store(true); }
    bool CancelRequested() const { return m_cancel.load(); }
    // Waits for the worker (bounded by its own waits).
    void Join();
    // From the start until the worker has finished its work.
    bool Running() const { return m_running.load(); }

    // The steps since the last call, in order.
    std::vector<Step> TakeSteps();
    Result GetResult() const;

private:
    void Emit(Step::Kind kind, std::string text, int value = 0);
    // Waits for the line's first poll of a lane; false when cancelled.
    bool WaitFirstPoll(CBVSerCom& line, int lane);
    void SearchChannels();

    const Texts m_texts;
    const Options m_options;
    CBVLog m_log;
    platform::Thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_running{false};
    mutable std::mutex m_lock;  // the steps and the result
    std::vector<Step> m_steps;
    Result m_result;
};
