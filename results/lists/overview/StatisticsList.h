#pragma once
// The statistics (list kind 0): per event and class, how many entered
// shooters have shot and how many have not, all events in one definition.
#include "results/lists/ListProducer.h"

namespace results {

class StatisticsList : ListProducer {
public:
    explicit StatisticsList(CDataList& list) : ListProducer(list) {}
    void Make();

private:
    void SetupPage(int d);
};

}  // namespace results
