// The frame's share of the tick's work and of the lines: its timer, the
// clock link's socket that opens and closes with the lines, and the windows
// that follow the tick while they are open.
#include "range/ui/MainFrm.h"

#include "foundation/ui/net/BVSocket.h"
#include "platform/ui/FrameWnd.h"
#include "range/ui/DlgLineSpy.h"

void CMainFrame::ArmTimer(int milliseconds)
{
    if (platform::FrameWnd* w = Window())
        w->SetTimer(kTickTimer, milliseconds);
}

void CMainFrame::KillTimer()
{
    if (platform::FrameWnd* w = Window())
        w->KillTimer(kTickTimer);
}

// The line monitor shows what it collected while it is open.
void CMainFrame::ShowMonitorFrames()
{
    if (m_lineSpy && m_lineSpy->isVisible())
        m_lineSpy->ShowFrames();
}

void CMainFrame::OpenLineMonitor()
{
    CloseLineMonitor();
    m_lineSpy = new CDlgLineSpy(Window(), m_obj);
    if (m_lineSpy->Create())
        m_lineSpy->ShowWindow(true);
}

void CMainFrame::CloseLineMonitor()
{
    if (!m_lineSpy)
        return;
    m_lineSpy->Close();
    // Without a window to own it, the frame deletes it now.
    if (Window())
        m_lineSpy->deleteLater();
    else
        delete m_lineSpy.data();
    m_lineSpy = nullptr;
}

// The outside range system's events are read on every tick while one is open.
void CMainFrame::PollOutsideSystem() { m_range.outside.PollOutsideSystem(); }

void CMainFrame::OpenPorts()
{
    m_range.channels.OpenPorts();
    // The displays of the range connect to the clock link.
    if (m_socket)
        m_socket->Connect(1, m_clockPort, "");
}

void CMainFrame::ClosePorts()
{
    m_range.channels.ClosePorts();
    if (m_socket)
        m_socket->Close();
}

void CMainFrame::SendClock()
{
    std::string text = m_range.clock.Message();
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
