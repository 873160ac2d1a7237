#include "range/exchange/ClockLink.h"

#include "foundation/exchange/ClockMessage.h"
#include "foundation/settings/CompSettings.h"
#include "platform/system/SystemInfo.h"
#include "range/base/RangeObjects.h"

std::string ClockLink::Message()
{
    const CShotClock& clock = m_obj.clock;
    ClockMessage c;
    c.computer = platform::ComputerName();
    c.prefix = CompSettings::kPrefix.defaultValue;
    if (m_obj.comp.IsOpen() && m_obj.comp.CompConfig().IsOpen())
        c.prefix = ReadItem(m_obj.comp.CompConfig(), CompSettings::kPrefix);
    c.mode = clock.IsRunning() ? clock.GetRunningMode() : 0;
    c.period = clock.GetPeriodTenths();
    c.extra = clock.GetExtraTenths();
    c.elapsed = static_cast<int32_t>(clock.GetElapsedTenths());
    return c.Build();
}
