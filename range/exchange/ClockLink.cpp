// The clock link: every display on the range that connected to the range
// control's port gets the shooting clock about every five seconds, once a
// clock command has sent it the first time. Nothing a display sends matters.
#include "range/ui/MainFrm.h"

#include "foundation/exchange/ClockMessage.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/ui/net/BVSocket.h"
#include "platform/system/SystemInfo.h"

void CMainFrame::SendClock()
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
    std::string text = c.Build();
    if (m_socket)
        m_socket->Send(text.data(), static_cast<int>(text.size()));
    m_tick.clockCountdown = TickSchedule::kClockTicks;
}

void CMainFrame::OnSocketMessage(intptr_t socket, intptr_t event)
{
    if (!m_socket)
        return;
    m_socket->OnSocketMessage(socket, event);
    // Displays only listen; whatever one sends is dropped unread.
    while (!m_socket->GetReceived().empty()) {
    }
}
