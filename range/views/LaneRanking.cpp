#include "range/views/LaneRanking.h"

#include "range/base/LaneTable.h"

#include <algorithm>
#include <vector>

namespace LaneRanking {

int RankLanes(LaneTable& lanes)
{
    struct Entry {
        int lane;
        int total;
    };
    std::vector<Entry> order;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        const LaneBlock& b = lanes[lane];
        order.push_back({lane, b.channelType != 0 && b.enabled != 0 ? b.total : 0});
    }
    // Stable: lanes of one total keep their lane order.
    std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) { return a.total > b.total; });
    int changed = 0;
    int place = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || order[i].total != order[i - 1].total)
            place = static_cast<int>(i) + 1;
        int shown = order[i].total == 0 ? 0 : place;
        LaneBlock& b = lanes[order[i].lane];
        if (b.place != shown) {
            // Places past 255 cannot happen with 100 lanes.
            b.place = static_cast<uint8_t>(shown);
            b.rowMark = 1;
            ++changed;
        }
    }
    return changed;
}

}  // namespace LaneRanking
