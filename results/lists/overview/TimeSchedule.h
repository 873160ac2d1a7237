#pragma once
// The time schedule (list kind 15): a column per event and, day by day, a
// row per start time at which a relay starts, naming in each event's column
// the relays that start then.
#include "results/lists/ListProducer.h"

namespace results {

class TimeSchedule : ListProducer {
public:
    explicit TimeSchedule(CDataList& list) : ListProducer(list) {}
    void Make();

private:
    void SetupPage(int d, int events);
};

}  // namespace results
