// The clock links: one client connection per event to the range control's
// computer, opened while the current picture shows the clock, read on its
// notifications, and closed when the select dialog opens.
#include "display/ui/ClockLinks.h"

#include <cstdio>
#include <cstdlib>

#include "display/loop/DisplayClock.h"
#include "display/model/VisData.h"
#include "foundation/ui/net/BVSocket.h"
#include "platform/system/Clock.h"

namespace {

// A client, as the link's flags say.
constexpr int kClient = 2;

}  // namespace

ClockLinks::ClockLinks(CVisData& data, QWidget* notifyWindow) : m_data(data), m_window(notifyWindow)
{
    if (const char* p = std::getenv("BV_CLOCK_PORT"); p && *p)
        port = std::atoi(p);
}

ClockLinks::~ClockLinks() { Close(); }

void ClockLinks::Update(CVisTarget& first)
{
    if (m_data.events.empty()) {
        BV_LOG(m_log, 80, "Loader Timer, men starter ikke socket.");
        return;
    }
    // Every picture that shows the clock keeps its links up, not only a
    // Nettcast picture: a link never opened would leave the clock at 0:00.
    const CVisPicture* pic = m_data.current;
    const bool showsClock = pic && (pic->showClock || pic->type == CVisPicture::kNettcast);
    if (showsClock && m_window) {
        for (auto& e : m_data.events) {
            if (!e->dataOpen)
                continue;
            std::unique_ptr<CBVSocket>& link = m_links[e->number];
            if (!link) {
                link = std::make_unique<CBVSocket>(m_window.data());
                if (!e->rangeComputer.empty()) {
                    BV_LOG(m_log, 0, "Connect to %s", e->rangeComputer.c_str());
                    e->clockPending.clear();
                    link->Connect(kClient, port, e->rangeComputer);
                }
            } else if (!link->IsOpen()) {
                if (reconnectCountdown > 0)
                    --reconnectCountdown;
                if (reconnectCountdown == 0 && !e->rangeComputer.empty()) {
                    e->clockPending.clear();
                    link->Reconnect(kClient, port, e->rangeComputer);
                    reconnectCountdown = kReconnectTicks;
                }
            }
        }
    }
    if (first.event) {
        const std::string text = DisplayClock::Text(*first.event, platform::TickCount());
        std::snprintf(first.clockText, sizeof first.clockText, "%s", text.c_str());
    }
}

intptr_t ClockLinks::OnClockMessage(intptr_t socket, intptr_t event)
{
    for (auto& [number, link] : m_links) {
        if (!link || link->Socket() != socket)
            continue;
        // The link learns of a close whatever its event's state.
        link->OnSocketMessage(socket, event);
        CVisEvent* e = m_data.FindEvent(number);
        std::vector<std::vector<uint8_t>> received;
        for (std::vector<uint8_t> b = link->GetReceived(); !b.empty(); b = link->GetReceived())
            received.push_back(std::move(b));
        if (!e || received.empty())
            return 1;
        const uint32_t now = platform::TickCount();
        const std::string text = DisplayClock::Receive(*e, received, now);
        if (!text.empty())
            BV_LOG(m_log, 0, "Clock %s: mode %d period %d extra %d elapsed %u", text.c_str(), e->clockMode,
                   e->clockPeriod, e->clockExtra, (now - e->clockStartTick) / 100);
        return 1;
    }
    return 0;
}

void ClockLinks::Close()
{
    for (auto& [number, link] : m_links)
        if (link)
            link->Close();
    m_links.clear();
}

CBVSocket* ClockLinks::Link(int event) const
{
    auto it = m_links.find(event);
    return it == m_links.end() ? nullptr : it->second.get();
}
