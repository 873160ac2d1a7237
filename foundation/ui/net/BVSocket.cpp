#include "foundation/ui/net/BVSocket.h"

#include "platform/system/SystemInfo.h"
#include "platform/ui/UiText.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTcpServer>
#include <QTcpSocket>

#include <cerrno>
#include <csignal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Reads and writes of the link go in pieces of at most this many bytes, so
// that each received buffer's count fits its byte.
constexpr int kReadPiece = 255;

intptr_t NewSocketNumber()
{
    static intptr_t last = 0;
    return ++last;
}

void SetAddress(SocketPeer& peer, const QHostAddress& address, quint16 port)
{
    quint32 ip = address.toIPv4Address();
    peer.address[0] = static_cast<uint8_t>(ip >> 24);
    peer.address[1] = static_cast<uint8_t>(ip >> 16);
    peer.address[2] = static_cast<uint8_t>(ip >> 8);
    peer.address[3] = static_cast<uint8_t>(ip);
    peer.port = port;
}

// A connection that is let go: its notifications stop first, so nothing
// more is posted for it, then it is shut at once.
void Discard(QTcpSocket* connection)
{
    QObject::disconnect(connection, nullptr, nullptr, nullptr);
    connection->abort();
    delete connection;
}

}  // namespace

void CBVSocket::Startup()
{
    // A display that vanished makes the next write to it fail; by default the
    // system would answer that with SIGPIPE and end the whole range control.
    // The failure is wanted as a return code, so the signal is turned away
    // for the program, whatever it was set to before.
    std::signal(SIGPIPE, SIG_IGN);
}

void CBVSocket::Cleanup()
{
    // Nothing to release. The signal stays turned away: a write at the very
    // end must not end the program either.
}

CBVSocket::CBVSocket(QWidget* notifyWindow) : m_notify(notifyWindow) {}

CBVSocket::~CBVSocket()
{
    Close();
}

int CBVSocket::Connect(int flags, int port, const std::string& host)
{
    Close();
    m_flags = flags;
    m_host = host;
    m_port = port;
    BV_LOG(m_log, 80, "Startet CBVSocket::Connect");
    int rc = IsServer() ? OpenServer() : OpenClient();
    if (rc != OPEN)
        return rc;
    // The notifications go to the window; without one nobody would ever
    // accept, read or see a close.
    if (!m_notify || !platform::KitWindow::Of(m_notify.data())) {
        BV_LOG(m_log, 80, "Socket notification refused");
        Close();
        return CONNECT_FAILED;
    }
    m_open = true;
    if (!IsServer())
        Notify(m_socket, SOCKET_WRITE);
    return OPEN;
}

int CBVSocket::OpenServer()
{
    // The steps one by one, so that a failure tells which it was: a port
    // that another program holds is a failed bind.
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        BV_LOG(m_log, 90, "Socket create failed=%d", errno);
        Close();
        return SOCKET_NOT_CREATED;
    }
    // A range control started again at once must get its port back while
    // the connections of its last run are still winding down.
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(m_port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        int error = errno;
        ::close(fd);
        BV_LOG(m_log, 80, "Socket bind failed=%d", error);
        Close();
        return BIND_FAILED;
    }
    if (::listen(fd, kListenBacklog) != 0) {
        int error = errno;
        ::close(fd);
        BV_LOG(m_log, 80, "Socket listen failed=%d", error);
        Close();
        return LISTEN_FAILED;
    }
    m_server = new QTcpServer;
    if (!m_server->setSocketDescriptor(fd)) {
        ::close(fd);
        BV_LOG(m_log, 80, "Socket listen failed=%d", static_cast<int>(m_server->serverError()));
        Close();
        return LISTEN_FAILED;
    }
    m_socket = NewSocketNumber();
    const intptr_t socket = m_socket;
    QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this, socket] { Notify(socket, SOCKET_ACCEPT); });
    QObject::connect(m_server, &QTcpServer::acceptError, m_server, [this, socket](QAbstractSocket::SocketError error) {
        Notify(socket, SOCKET_ACCEPT | (static_cast<intptr_t>(error) + 1) << 16);
    });
    return OPEN;
}

int CBVSocket::OpenClient()
{
    QHostAddress target;
    if (m_host == platform::ComputerName()) {
        target = QHostAddress(QHostAddress::LocalHost);
    } else {
        QHostInfo info = QHostInfo::fromName(platform::ToQt(m_host));
        BV_LOG(m_log, 80, "ServerName = %s", m_host.c_str());
        for (const QHostAddress& found : info.addresses()) {
            if (found.protocol() == QAbstractSocket::IPv4Protocol) {
                target = found;
                break;
            }
        }
        if (target.isNull()) {
            BV_LOG(m_log, 90, "Socket GetHostByName=%d", static_cast<int>(info.error()));
            BV_LOG(m_log, 90, "Could not get NetBIOS Name");
            Close();
            return HOST_NOT_FOUND;
        }
    }
    auto* connection = new QTcpSocket;
    connection->connectToHost(target, static_cast<quint16>(m_port));
    if (!connection->waitForConnected(kConnectTimeoutMs)) {
        QAbstractSocket::SocketError error = connection->error();
        Discard(connection);
        if (error == QAbstractSocket::SocketResourceError || error == QAbstractSocket::UnsupportedSocketOperationError) {
            BV_LOG(m_log, 90, "Socket create failed=%d", static_cast<int>(error));
            Close();
            return SOCKET_NOT_CREATED;
        }
        BV_LOG(m_log, 80, "Socket connect failed=%d", static_cast<int>(error));
        Close();
        return CONNECT_FAILED;
    }
    // The client's one connection is its own socket.
    SocketPeer peer;
    peer.socket = m_socket = NewSocketNumber();
    peer.connection = connection;
    SetAddress(peer, target, static_cast<quint16>(m_port));
    m_peers.push_front(peer);
    Watch(peer);
    return OPEN;
}

int CBVSocket::Reconnect(int flags, int port, const std::string& host)
{
    if (host != m_host || port != m_port || flags != m_flags)
        Close();
    m_flags = flags;
    m_host = host;
    m_port = port;
    if (m_open && m_socket != -1)
        return OPEN;
    BV_LOG(m_log, 0, "Reconnect");
    return Connect(flags, port, host);
}

void CBVSocket::Close()
{
    m_open = false;
    for (SocketPeer& peer : m_peers)
        Discard(peer.connection);
    m_peers.clear();
    if (m_server) {
        QObject::disconnect(m_server, nullptr, nullptr, nullptr);
        delete m_server;  // with the connections it accepted but nobody took yet
        m_server = nullptr;
    }
    m_socket = -1;
    m_received.clear();
}

int CBVSocket::LocalPort() const
{
    if (m_server)
        return m_server->serverPort();
    if (!IsServer() && !m_peers.empty())
        return m_peers.front().connection->localPort();
    return 0;
}

void CBVSocket::Notify(intptr_t socket, intptr_t event)
{
    platform::PostMessage(m_notify.data(), WM_SOCKET_NOTIFY, socket, event);
}

void CBVSocket::Watch(const SocketPeer& peer)
{
    QTcpSocket* connection = peer.connection;
    const intptr_t socket = peer.socket;
    QObject::connect(connection, &QTcpSocket::readyRead, connection, [this, socket] { Notify(socket, SOCKET_READ); });
    QObject::connect(connection, &QTcpSocket::disconnected, connection, [this, socket] { Notify(socket, SOCKET_CLOSE); });
    QObject::connect(connection, &QTcpSocket::errorOccurred, connection,
                     [this, socket, connection](QAbstractSocket::SocketError error) {
                         // The other end closing is the close event itself.
                         if (error != QAbstractSocket::RemoteHostClosedError)
                             Notify(socket, SOCKET_CLOSE | (static_cast<intptr_t>(error) + 1) << 16);
                         if (connection->state() == QAbstractSocket::UnconnectedState)
                             Notify(socket, SOCKET_CLOSE);
                     });
}

std::list<SocketPeer>::iterator CBVSocket::FindPeer(intptr_t socket)
{
    for (auto it = m_peers.begin(); it != m_peers.end(); ++it)
        if (it->socket == socket)
            return it;
    return m_peers.end();
}

void CBVSocket::CloseConnection(std::list<SocketPeer>::iterator peer)
{
    Discard(peer->connection);
    const bool own = peer->socket == m_socket;
    m_peers.erase(peer);
    // A client's connection is its link: with it the link is closed. A
    // server's link is its listening socket, which goes on accepting.
    if (own) {
        m_socket = -1;
        m_open = false;
    }
}

void CBVSocket::OnSocketMessage(intptr_t socket, intptr_t event)
{
    switch (event) {
    case SOCKET_READ:
        ReadAll();
        break;
    case SOCKET_WRITE:
        BV_LOG(m_log, 0, "Socket write");
        break;
    case SOCKET_ACCEPT:
        Accept();
        break;
    case SOCKET_CONNECT:
        BV_LOG(m_log, 0, "Socket connect");
        break;
    case SOCKET_CLOSE: {
        // Only the connection that closed goes; a server stays open for the
        // other displays and for those that come back.
        auto peer = FindPeer(socket);
        if (peer != m_peers.end()) {
            // What it sent before it closed is still taken.
            ReadAll();
            CloseConnection(peer);
        }
        BV_LOG(m_log, 0, "Socket close");
        break;
    }
    default:
        BV_LOG(m_log, 0, "Socket default lPar=%d wPar=%d", static_cast<int>(event), static_cast<int>(socket));
        break;
    }
}

void CBVSocket::Accept()
{
    if (!m_server)
        return;
    while (QTcpSocket* connection = m_server->nextPendingConnection()) {
        connection->setParent(nullptr);
        SocketPeer peer;
        SetAddress(peer, connection->peerAddress(), connection->peerPort());
        if (static_cast<int>(m_peers.size()) >= kMaxPeers) {
            BV_LOG(m_log, 80, "Socket accept refused from %d.%d.%d.%d:%d, %d clients connected", peer.address[0],
                   peer.address[1], peer.address[2], peer.address[3], peer.port, static_cast<int>(m_peers.size()));
            Discard(connection);
            continue;
        }
        peer.socket = NewSocketNumber();
        peer.connection = connection;
        m_peers.push_front(peer);
        Watch(peer);
        BV_LOG(m_log, 0, "Socket accept from %d.%d.%d.%d:%d", peer.address[0], peer.address[1], peer.address[2],
               peer.address[3], peer.port);
        // What happened while it waited to be taken was told to nobody.
        Notify(peer.socket, SOCKET_WRITE);
        if (connection->bytesAvailable() > 0)
            Notify(peer.socket, SOCKET_READ);
        if (connection->state() != QAbstractSocket::ConnectedState)
            Notify(peer.socket, SOCKET_CLOSE);
    }
}

void CBVSocket::ReadAll()
{
    // Everything waiting is taken now: the socket layer tells of new bytes
    // only once, however many there are.
    for (SocketPeer& peer : m_peers) {
        char piece[kReadPiece];
        qint64 n;
        while (peer.connection->bytesAvailable() > 0 && (n = peer.connection->read(piece, sizeof piece)) > 0) {
            std::vector<uint8_t> buffer;
            buffer.reserve(static_cast<size_t>(n) + 2);
            buffer.push_back(static_cast<uint8_t>(n));
            buffer.insert(buffer.end(), piece, piece + n);
            buffer.push_back(0);
            BV_LOG(m_log, 0, "Socket read from %d.%d.%d.%d:%d=%s", peer.address[0], peer.address[1],
                   peer.address[2], peer.address[3], peer.port, reinterpret_cast<const char*>(buffer.data() + 1));
            m_received.push_front(std::move(buffer));
        }
    }
}

int CBVSocket::Send(const void* data, int length)
{
    if (length <= 0)
        return 0;
    const char* bytes = static_cast<const char*>(data);
    int taken = 0;
    for (auto it = m_peers.begin(); it != m_peers.end();) {
        SocketPeer& peer = *it;
        QTcpSocket* connection = peer.connection;
        if (connection->bytesToWrite() + length > kMaxBacklog) {
            BV_LOG(m_log, 80, "Socket %d.%d.%d.%d:%d dropped, %lld bytes not taken", peer.address[0],
                   peer.address[1], peer.address[2], peer.address[3], peer.port,
                   static_cast<long long>(connection->bytesToWrite()));
            CloseConnection(it++);
            continue;
        }
        if (connection->state() != QAbstractSocket::ConnectedState || connection->write(bytes, length) != length) {
            BV_LOG(m_log, 80, "Socket send failed=%d", static_cast<int>(connection->error()));
            ++it;
            continue;
        }
        // Out now rather than on the next pass of the event loop, so that
        // what is still waiting afterwards is what the display did not take.
        connection->flush();
        BV_LOG(m_log, 0, "Socket send to %d.%d.%d.%d:%d=%.*s", peer.address[0], peer.address[1], peer.address[2],
               peer.address[3], peer.port, length, bytes);
        ++taken;
        ++it;
    }
    return taken;
}

std::vector<uint8_t> CBVSocket::GetReceived()
{
    if (m_received.empty())
        return {};
    std::vector<uint8_t> buffer = std::move(m_received.front());
    m_received.pop_front();
    return buffer;
}
