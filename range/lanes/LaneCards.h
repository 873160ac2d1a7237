#pragma once
// The lanes' cards as the range control holds them: the settings a lane
// carries from card to card, and the sums and display order recomputed from
// a lane's shots.
#include <cstdint>

struct RangeObjects;
class FrameServices;

class LaneCards {
public:
    LaneCards(RangeObjects& objects, FrameServices& services);

    // Takes the settings a new card of the lane gets: the lane's own, else
    // its nearest configured neighbour's, else the range's defaults.
    void TakeLaneSettings(int lane);
    // Puts the settings taken last onto the lane's card.
    void StoreLaneSettings(int lane);
    // Writes the five settings of the lane's card image into its stored
    // card, the rest of the record as stored; false when it cannot.
    bool WriteCardSettings(int lane);
    // The lane's sums, counts and display order from its shots; the lane
    // list ranks again when the series sum changed.
    void RecomputeLane(int lane);

private:
    RangeObjects& m_obj;
    FrameServices& m_services;
    // The lane settings taken last, for the card being filled.
    uint8_t m_laneSettings[5] = {};
};
