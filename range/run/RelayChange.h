#pragma once
// A new relay of shooters comes to the line: the officer says which relay
// (or start number) each lane shoots next, every lane concerned gets its new
// card, its active record starts over at series 1, and the targets are told.
#include "foundation/files/BVLog.h"

#include <array>
#include <functional>

struct RangeObjects;
class FrameServices;
class RangeControl;

// What the new-shooter commands ask for: the proposed relay is the highest
// + 1 (nextRelay), every lane starts at relay 1 (reset), the relay is not
// offered for all lanes at once (noAllLanes); force renews lanes whose
// target already has the relay.
struct RelayRequest {
    bool nextRelay = false;
    bool force = false;
    bool noAllLanes = false;
    bool reset = false;
};

// The officer's answer: one relay for all lanes, or one per lane (1..100).
struct RelayChoice {
    bool allLanes = true;
    int relay = 1;
    std::array<int, 101> laneRelay{};
    // The relay the lane shoots next.
    int RelayOf(int lane) const { return allLanes ? relay : laneRelay[static_cast<size_t>(lane)]; }
};

// Asks the officer; false when cancelled.
class RelayChooser {
public:
    virtual ~RelayChooser() = default;
    virtual bool Choose(const RelayRequest& request, RelayChoice& choice) = 0;
};

// What the new-shooters dialog proposes, and answers on OK when nothing in
// it was changed: each lane's current relay; with nextRelay the highest
// relay + 1 (for all lanes when they change together); with reset 1.
RelayChoice ProposedRelays(RangeObjects& objects, const RelayRequest& request);

// A chooser that takes the proposal as it stands.
class ProposedRelayChooser : public RelayChooser {
public:
    explicit ProposedRelayChooser(RangeObjects& objects) : m_obj(objects) {}
    bool Choose(const RelayRequest& request, RelayChoice& choice) override;

private:
    RangeObjects& m_obj;
};

class RelayChange {
public:
    // The chooser's answers.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    RelayChange(RangeObjects& objects, FrameServices& services, RangeControl& range);

    // Asks the chooser, then renews the lanes; the welcome texts go out
    // through welcome (lane 0: every lane). kOk or kCancel.
    int NewRelay(const RelayRequest& request, RelayChooser& chooser, const std::function<void(int lane)>& welcome);

private:
    RangeObjects& m_obj;
    FrameServices& m_services;
    RangeControl& m_range;
    CBVLog m_log;
};
