#include "range/run/RangeControl.h"

#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"

namespace {

// The first tick puts every line in the shoot command's mode.
constexpr int kStartupMode = 48;

}  // namespace

RangeControl::RangeControl(RangeObjects& objects, FrameServices& services, TickCounters& tick)
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
      dispatcher(objects, services, tick, channels, *this),
      shotFlags(objects, services, records, cards),
      monitorPrint(objects, services, commands, intake),
      m_obj(objects),
      m_services(services)
{
    objects.lanes.ResetAll();
}

void RangeControl::ReadFilesAgain(bool forceCheck, bool forceReload)
{
    files.CheckFiles(forceCheck);
    files.ReloadShots(forceReload);
    m_services.RefreshViews();
    files.RefreshChangedRows();
}

void RangeControl::RefreshAll()
{
    commands.ResetAllLanes();
    files.CheckFiles(true);
    files.ReloadShots(true);
    exchange.ImportNames(0);
    m_services.RefreshViews();
    files.RefreshChangedRows();
}

// A shot sent again for a card being fetched is the print's.
void RangeControl::OnShotMsg(const LineMessage& m)
{
    if (!intake.OnShotMsg(m))
        monitorPrint.OnFetchShot(m);
}

void RangeControl::SendStartupMode() { commands.SendMode(kStartupMode, 0, 0); }

int RangeControl::Competition() { return m_obj.CompetitionNumber(); }
