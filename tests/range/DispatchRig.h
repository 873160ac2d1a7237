#pragma once
// The dispatcher without a window: the range's logic on the test's objects,
// a recording stand-in for the window's side, and receivers that note what
// the dispatcher hands on (the lane records' work they also do).
#include "RecordingServices.h"

#include "range/base/RangeObjects.h"
#include "range/lanes/Dispatcher.h"
#include "range/run/RangeControl.h"
#include "range/run/TickSchedule.h"

#include <string>
#include <vector>

namespace bvtest {

struct DispatchRig {
    explicit DispatchRig(RangeObjects& objects)
        : services(objects.language, notes),
          range(objects, services, tick),
          receivers(range.Receivers(), notes),
          dispatcher(objects, services, tick, range.channels, receivers)
    {
    }
    void Dispatch(int channel, const LineMessage& m) { dispatcher.Dispatch(channel, m); }
    const std::vector<std::string>& calls() const { return notes.calls; }

    CallLog notes;
    TickSchedule tick;
    RecordingServices services;
    RangeControl range;
    RecordingReceivers receivers;
    Dispatcher dispatcher;
};

}  // namespace bvtest
