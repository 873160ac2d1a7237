#pragma once
// Simulated shots: with the range set to simulation no line is opened, and
// the officer makes shots for lanes to try out a competition without
// targets; each tick plays the targets' acknowledgements.
#include "range/shots/ShotSimulator.h"

struct RangeObjects;
class FrameServices;
class TickCounters;
class LineChannels;
class LaneRecords;
class ShotIntake;

class Simulation {
public:
    Simulation(RangeObjects& objects, FrameServices& services, TickCounters& tick, LineChannels& channels,
               LaneRecords& records, ShotIntake& intake);

    // Shots for a lane (0: every lane) of a kind 0..3 (0 moves the band on).
    void SimulateShots(int lane, int kind);
    // The target type of the lane's card, the mixed type resolved by series.
    int EffectiveTargetType(int lane);
    // The targets' acknowledgements, played for at most two lanes a tick.
    void Step();

    ShotSimulator& Simulator() { return m_simulator; }

private:
    RangeObjects& m_obj;
    FrameServices& m_services;
    TickCounters& m_tick;
    LineChannels& m_channels;
    LaneRecords& m_records;
    ShotIntake& m_intake;
    ShotSimulator m_simulator;
};
