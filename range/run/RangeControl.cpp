#include "range/run/RangeControl.h"

#include "range/run/RangeObjects.h"

RangeControl::RangeControl(RangeObjects& objects, FrameServices& services, TickSchedule& tick)
    : channels(objects, services),
      commands(objects, services, channels),
      records(objects, commands),
      cards(objects, services),
      exchange(objects, services),
      files(objects, services, cards, exchange),
      intake(objects, services, tick, {commands, records, cards, files, exchange}),
      sums(objects, tick, commands),
      simulation(objects, services, tick, channels, records, intake),
      outside(objects, services, tick, {channels, records, intake, simulation}),
      clock(objects),
      dispatcher(objects, services, tick, channels, *this)
{
    objects.lanes.ResetAll();
}
