#pragma once
// Which relays' results changed since their web page was made, by event and
// relay number. The exchange import and the entry screen set a flag, the web
// page writer clears it; they run on different threads, so every access
// takes the table's own lock. The table grows to whatever event and relay
// number are set; flags never set read as clear.
#include <cstdint>
#include <mutex>
#include <vector>

namespace results {

class RelayWebFlags {
public:
    // Event numbers and relay numbers below 0, or beyond what a settings
    // item can address (999 events, 1,000,000 relay numbers), are ignored.
    void Set(int event, int relayNumber);
    void Clear(int event, int relayNumber);
    bool Get(int event, int relayNumber) const;
    void ClearAll();

private:
    static bool Valid(int event, int relayNumber);

    mutable std::mutex m_mutex;
    std::vector<std::vector<uint8_t>> m_rows;  // [event][relay number]
};

}  // namespace results
