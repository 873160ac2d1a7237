#pragma once
// The range's four line channels: opened and closed from the range
// configuration, and the line status each lane shows, rated from its line
// slot's counters. With the range set to simulation no channel opens.
#include "foundation/files/BVLog.h"

#include <array>
#include <cstdint>
#include <memory>

class CVI9001;
struct RangeObjects;
class FrameServices;

class LineChannels {
public:
    LineChannels(RangeObjects& objects, FrameServices& services);
    ~LineChannels();
    LineChannels(const LineChannels&) = delete;
    LineChannels& operator=(const LineChannels&) = delete;

    // Closes and opens the four channels from the range configuration.
    void OpenPorts();
    void ClosePorts();
    // The line status of a lane a command goes to.
    void MarkLane(int lane, uint8_t value);
    // Rates every serial or USB lane from its slot's counters.
    void UpdateLineStatus();
    // Every open outside range system takes its lanes' control modes anew.
    void UpdateOutsideControl();
    // Some outside range system holds lanes under remote control: that of
    // lane 1's channel or of an active lane's.
    bool OutsideRemote() const;
    // The first open outside range system, or null.
    CVI9001* OutsideSystem() const;

    bool Simulation() const { return m_simulation; }
    bool OutsideSystemOpen() const { return m_outsideSystem; }

private:
    void OpenChannel(int k);
    void OpenOutsideSystem(int k);

    RangeObjects& m_obj;
    FrameServices& m_services;
    CBVLog m_log;
    bool m_simulation = false;
    bool m_outsideSystem = false;
    // The outside range system of each channel of type 10; the port record
    // holds a plain pointer to it.
    std::array<std::unique_ptr<CVI9001>, 4> m_outside;
};
