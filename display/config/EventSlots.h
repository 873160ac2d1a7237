#pragma once
// The events of BVVis.bvc as the events page keeps them: numbered slots,
// each a range folder with a name and the lanes taken into the ranking.
#include <string>
#include <vector>

class CBVConfig;

namespace EventSlots {

inline constexpr int kFirstLane = 1;
inline constexpr int kLastLane = 100;

struct EventRow {
    int event = 0;
    std::string name;
    std::string folder;
    int firstLane = kFirstLane;
    int lastLane = kLastLane;
};

// The events in use, in slot order.
std::vector<EventRow> Rows(CBVConfig& settings);
EventRow Row(CBVConfig& settings, int event);

// Takes the first free slot (or one past the count) and names it "Hold %d".
// A slot used before keeps its folder and lanes. The new event's number.
int New(CBVConfig& settings);
// Frees the slot and lowers the count to the highest slot still in use.
void Delete(CBVConfig& settings, int event);

void SaveName(CBVConfig& settings, int event, const std::string& name);
// The folder as stored: trimmed and cut to 270 characters.
std::string SaveFolder(CBVConfig& settings, int event, const std::string& folder);
// A typed lane brought into 1 .. 100.
int ClampLane(int lane);
// Stores the lane clamped; the value stored.
int SaveFirstLane(CBVConfig& settings, int event, int lane);
int SaveLastLane(CBVConfig& settings, int event, int lane);

}  // namespace EventSlots
