#pragma once
// What the last ranking of a prize list or team competition decided, for
// the forms that show it beside the rows.
#include <cstdint>
#include <vector>

namespace results {

struct RankingOutcome {
    int kind = 0;            // the ranking kind the rows were sorted by
    int share = 0;           // the prize share, as read
    int per = 0;
    int stake = 0;           // hundredths per participant
    int winners = 0;
    int64_t pool = 0;        // rows x stake
    bool table = false;      // the prize table paid (else the margins, or nothing)
    std::vector<int> weights;  // the winners' weights when the margins paid
    int memberSlots = 0;     // team rankings: the member slots looked at
};

}  // namespace results
