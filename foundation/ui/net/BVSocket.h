#pragma once
// The clock link's TCP socket. The range control runs it as the server that
// every display on the range connects to, and sends each of them the clock
// message; a display runs one as a client towards each range control's
// computer. The same class serves both ends; bit 0 of the flags chooses.
//
// Everything happens on the thread of the window that owns the socket: the
// socket layer posts WM_SOCKET_NOTIFY to that window (wParam: the socket the
// event is about, lParam: the event), the window's handler passes both to
// OnSocketMessage, which accepts, reads and closes; the window's tick calls
// Send and GetReceived. There is no lock.
#include "foundation/files/BVLog.h"
#include "platform/ui/KitWindow.h"

#include <QPointer>

#include <cstdint>
#include <deque>
#include <list>
#include <string>
#include <vector>

class QTcpServer;
class QTcpSocket;
class QWidget;

// The message the socket posts to its notify window.
constexpr int WM_SOCKET_NOTIFY = platform::WM_APP + 150;

// Events in lParam. An error on a connection arrives as its event with the
// error (plus one) in the upper 16 bits.
constexpr intptr_t SOCKET_READ = 1;
constexpr intptr_t SOCKET_WRITE = 2;
constexpr intptr_t SOCKET_ACCEPT = 8;
constexpr intptr_t SOCKET_CONNECT = 16;
constexpr intptr_t SOCKET_CLOSE = 32;

// One connection of the link: each display at the server, the server at a client.
struct SocketPeer {
    // The link's number of this connection. Numbers are never used twice in
    // a program, so a notification that arrives after its connection was
    // closed can never be taken for a newer connection.
    intptr_t socket = -1;
    QTcpSocket* connection = nullptr;
    // The other end's IPv4 address as it connected.
    uint16_t family = 2;
    uint16_t port = 0;
    uint8_t address[4] = {0, 0, 0, 0};
};

class CBVSocket {
public:
    // Results of Connect.
    enum {
        OPEN = 0,
        HOST_NOT_FOUND = 1,
        SOCKET_NOT_CREATED = 2,
        BIND_FAILED = 3,
        LISTEN_FAILED = 4,
        CONNECT_FAILED = 5,  // or no window to notify
    };
    // A range has a handful of displays; a server takes no more than this
    // many at once, so a faulty program that keeps connecting cannot use up
    // the range control's descriptors. Further ones are closed at once.
    static constexpr int kMaxPeers = 32;
    // Bytes a connection may have waiting to go out before its display counts
    // as gone: a display that stopped reading would otherwise make the range
    // control hold every clock message for it. 64 KiB is hours of clock
    // messages beyond what the system's own buffers hold.
    static constexpr int64_t kMaxBacklog = 64 * 1024;
    // A client connects before Connect returns; a computer that does not
    // answer holds its caller this long.
    static constexpr int kConnectTimeoutMs = 3000;
    static constexpr int kListenBacklog = 5;

    // Program start and end: a program calls Startup before its first
    // socket and Cleanup after its last one is gone.
    static void Startup();
    static void Cleanup();

    // notifyWindow: a kit window (or a widget inside one) that routes
    // WM_SOCKET_NOTIFY to OnSocketMessage.
    explicit CBVSocket(QWidget* notifyWindow);
    virtual ~CBVSocket();
    CBVSocket(const CBVSocket&) = delete;
    CBVSocket& operator=(const CBVSocket&) = delete;

    // Closes, then opens the link. flags bit 0: a server listening on every
    // interface at port (0 takes a free port, see LocalPort); otherwise a
    // client connecting to host at port (this computer's own name goes to
    // 127.0.0.1 without a look-up). One of the results above; on a failure
    // the link is closed.
    int Connect(int flags, int port, const std::string& host);
    // Keeps an open, connected link to the same flags, port and host;
    // otherwise connects again.
    int Reconnect(int flags, int port, const std::string& host);
    // Closes every connection and the own socket, and drops what was received.
    void Close();

    // Sends the bytes to every connection once; the number of connections
    // that took them. Nothing is queued for a later try.
    int Send(const void* data, int length);

    // Handles one notification: socket and event as posted with WM_SOCKET_NOTIFY.
    void OnSocketMessage(intptr_t socket, intptr_t event);

    // The newest received buffer, taken off the list: a count byte (1..255),
    // that many bytes and a terminating zero byte, so that the bytes read as
    // a text. Empty when nothing is left.
    std::vector<uint8_t> GetReceived();

    bool IsOpen() const { return m_open; }
    // The own socket's number: the listening socket of a server, the
    // connection of a client; -1 while there is none.
    intptr_t Socket() const { return m_socket; }
    int Flags() const { return m_flags; }
    int Port() const { return m_port; }
    const std::string& Host() const { return m_host; }
    // The port the own socket is bound to; 0 while there is none.
    int LocalPort() const;
    size_t PeerCount() const { return m_peers.size(); }
    size_t ReceivedCount() const { return m_received.size(); }

private:
    bool IsServer() const { return (m_flags & 1) != 0; }
    int OpenServer();
    int OpenClient();
    void Notify(intptr_t socket, intptr_t event);
    void Watch(const SocketPeer& peer);
    void Accept();
    void ReadAll();
    void CloseConnection(std::list<SocketPeer>::iterator peer);
    std::list<SocketPeer>::iterator FindPeer(intptr_t socket);

    bool m_open = false;
    intptr_t m_socket = -1;
    QTcpServer* m_server = nullptr;  // a server's listening socket
    std::string m_host;
    int m_flags = 0;
    int m_port = 0;
    QPointer<QWidget> m_notify;
    CBVLog m_log;
    std::list<SocketPeer> m_peers;                // newest connection first
    std::deque<std::vector<uint8_t>> m_received;  // newest buffer first
};
