#pragma once
// The clock links: one client connection per event to the range control's
// computer (its settings' computer name), kept up while the current picture
// shows the clock, read on their notifications into the events' clock
// values, and closed when the select dialog opens or the display ends. The
// frame owns one; BVVis --render runs one of its own.
#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>

#include "foundation/files/BVLog.h"

class CBVSocket;
class CVisData;
class CVisTarget;
class QWidget;

class ClockLinks {
public:
    static constexpr int kClockPort = 8888;
    // Ticks between two attempts to bring a link back.
    static constexpr int kReconnectTicks = 50;

    // notifyWindow: the kit window whose WM_SOCKET_NOTIFY goes to OnClockMessage.
    // The port is 8888, or BV_CLOCK_PORT as the range control takes it.
    ClockLinks(CVisData& data, QWidget* notifyWindow);
    ~ClockLinks();
    ClockLinks(const ClockLinks&) = delete;
    ClockLinks& operator=(const ClockLinks&) = delete;

    // Every tick of a picture with targets: the links kept up, and the
    // first target's clock text from its event's clock.
    void Update(CVisTarget& first);
    // A notification of a link; 1 when it was one of them.
    intptr_t OnClockMessage(intptr_t socket, intptr_t event);
    void Close();
    CBVSocket* Link(int event) const;

    int port = kClockPort;
    int reconnectCountdown = 0;

private:
    CVisData& m_data;
    QPointer<QWidget> m_window;
    CBVLog m_log;
    std::map<int, std::unique_ptr<CBVSocket>> m_links;  // by event number
};
