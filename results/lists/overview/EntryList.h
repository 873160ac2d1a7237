#pragma once
// The entry list (list kind 1): for every club, its shooters' entries in
// all events, one definition per club in the order of the club names.
#include "results/lists/ListProducer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace results {

// A row of the entry list. In group 0 it is a shooter (name, class and
// category of the entry, club); in an event's group the shooter's entry in
// that event (day label, start time, class and category, relay, target; a
// target of 0 = no entry).
struct EntryRow {
    std::string text1;
    std::string text2;
    std::string text3;
    std::string text4;
    int32_t club = 0;
    int16_t relayNumber = 0;
    int16_t target = 0;
};

struct EntryGroup {
    std::string name;
    std::vector<EntryRow> rows;  // by the shooter's place among the start numbers
};

class EntryList : ListProducer {
public:
    explicit EntryList(CDataList& list) : ListProducer(list) {}
    void Make();

private:
    void SetupPage(int d);
    // Group 0 and a group per event with a name, each a row per shooter.
    void GatherGroups();

    std::vector<uint32_t> m_numbers;  // the start numbers of the shooters with a name, ascending
    std::vector<EntryGroup> m_groups;
};

}  // namespace results
