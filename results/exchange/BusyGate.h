#pragma once
// The main frame's busy state, as a gate between the frame and the worker.
// Some of the frame's work must not overlap an exchange pass (importing
// shooters from a file rewrites the entries the pass reads): the frame
// holds the gate for that work, and while it does, the worker skips its
// passes whole. Holding waits for a pass that is already running, so the
// two never overlap in either direction.
#include <atomic>
#include <mutex>

namespace results {

class CBusyGate {
public:
    // The frame's side. Enter waits until no pass runs, then marks the frame
    // busy until Leave. Calls may nest.
    void Enter();
    void Leave();
    // Set while the frame holds the gate; the frame's own refresh does not
    // run then.
    bool IsBusy() const { return m_depth.load() > 0; }

    // The worker's side: a pass runs only when TryPass gives true, and ends
    // with EndPass.
    bool TryPass();
    void EndPass();

    // Holds the gate for the life of the object.
    class Hold {
    public:
        explicit Hold(CBusyGate& gate) : m_gate(gate) { m_gate.Enter(); }
        ~Hold() { m_gate.Leave(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        CBusyGate& m_gate;
    };

private:
    std::mutex m_pass;  // held by a running pass; taken briefly to become busy
    std::atomic<int> m_depth{0};
};

}  // namespace results
