#include "display/config/EventSlots.h"

#include <cstdio>

#include "display/config/LongText.h"
#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"

namespace EventSlots {

EventRow Row(CBVConfig& settings, int event)
{
    EventRow row;
    row.event = event;
    row.name = ReadItem(settings, VisItems::EventName(event));
    row.folder = VisItems::ReadLongItem(settings, 3, event, VisItems::kEventFolderKey);
    row.firstLane = ReadItem(settings, VisItems::EventFirstLane(event));
    row.lastLane = ReadItem(settings, VisItems::EventLastLane(event));
    return row;
}

std::vector<EventRow> Rows(CBVConfig& settings)
{
    std::vector<EventRow> rows;
    const int n = ReadItem(settings, VisItems::kEventCount);
    for (int e = 1; e <= n; ++e)
        if (ReadItem(settings, VisItems::EventInUse(e)) != 0)
            rows.push_back(Row(settings, e));
    return rows;
}

int New(CBVConfig& settings)
{
    const int n = ReadItem(settings, VisItems::kEventCount);
    const int e = VisSlots::FirstFree(n, [&](int s) { return ReadItem(settings, VisItems::EventInUse(s)) == 0; });
    if (e > n)
        WriteItem(settings, VisItems::kEventCount, e);
    WriteItem(settings, VisItems::EventInUse(e), 1);
    char name[32];
    std::snprintf(name, sizeof name, "Hold %d", e);
    WriteItem(settings, VisItems::EventName(e), name);
    return e;
}

void Delete(CBVConfig& settings, int event)
{
    WriteItem(settings, VisItems::EventName(event), "");
    settings.WriteString(3, event, 1, "");
    WriteItem(settings, VisItems::EventInUse(event), 0);
    const int n = ReadItem(settings, VisItems::kEventCount);
    int highest = 0;
    for (int e = 1; e <= n; ++e)
        if (ReadItem(settings, VisItems::EventInUse(e)) != 0)
            highest = e;
    if (highest != n)
        WriteItem(settings, VisItems::kEventCount, highest);
}

void SaveName(CBVConfig& settings, int event, const std::string& name)
{
    WriteItem(settings, VisItems::EventName(event), name);
}

std::string SaveFolder(CBVConfig& settings, int event, const std::string& folder)
{
    return ConfigText::WriteCut(settings, 3, event, VisItems::kEventFolderKey, folder);
}

int ClampLane(int lane)
{
    if (lane < kFirstLane)
        return kFirstLane;
    return lane > kLastLane ? kLastLane : lane;
}

int SaveFirstLane(CBVConfig& settings, int event, int lane)
{
    lane = ClampLane(lane);
    WriteItem(settings, VisItems::EventFirstLane(event), lane);
    return lane;
}

int SaveLastLane(CBVConfig& settings, int event, int lane)
{
    lane = ClampLane(lane);
    WriteItem(settings, VisItems::EventLastLane(event), lane);
    return lane;
}

}  // namespace EventSlots
