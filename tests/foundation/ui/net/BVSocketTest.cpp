#include "QtApp.h"
#include "TempFolder.h"

#include "foundation/exchange/ClockMessage.h"
#include "foundation/ui/net/BVSocket.h"
#include "platform/system/SystemInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::string_literals;

namespace bvtest {
namespace {

// Runs the event loop until done() holds; false after the time limit.
bool SpinUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::usleep(200);
    }
    return true;
}

// The window a socket notifies, as a program's frame does it: every
// notification goes to the socket; a range control also throws away what
// the displays sent.
class SocketWindow : public QWidget, public platform::KitWindow {
public:
    SocketWindow() : KitWindow(this) {}
    CBVSocket* socket = nullptr;
    bool discardReceived = false;
    std::vector<std::pair<intptr_t, intptr_t>> notified;

    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message != WM_SOCKET_NOTIFY)
            return 0;
        notified.emplace_back(wParam, lParam);
        if (socket) {
            socket->OnSocketMessage(wParam, lParam);
            while (discardReceived && !socket->GetReceived().empty()) {
            }
        }
        return 0;
    }
};

// A display or any other program at the other end, on plain sockets.
class RawClient {
public:
    explicit RawClient(int port, int receiveBuffer = 0)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0)
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    }
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    // Takes what arrived; false once the other end closed the connection.
    bool Pump()
    {
        char piece[65536];
        while (m_fd >= 0 && !closed) {
            ssize_t n = ::recv(m_fd, piece, sizeof piece, 0);
            if (n > 0)
                received.append(piece, static_cast<size_t>(n));
            else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
            else if (n < 0 && errno == EINTR)
                continue;
            else
                closed = true;
        }
        return !closed;
    }
    bool Write(const std::string& bytes) { return ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size()); }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    // Goes away without the orderly goodbye: the other end gets a reset.
    void Reset()
    {
        linger hard{1, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        Close();
    }

    bool connected = false;
    bool closed = false;
    std::string received;

private:
    int m_fd = -1;
};

// A plain socket that holds a port: listening (the port is in use) or only
// bound (whoever connects is refused).
class PortHolder {
public:
    explicit PortHolder(bool listening)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(listening ? INADDR_ANY : INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        if (listening)
            ::listen(m_fd, 1);
        socklen_t size = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~PortHolder() { ::close(m_fd); }
    int port = 0;

private:
    int m_fd = -1;
};

std::string LogText()
{
    return TempFolder::Read("BVLog.txt");
}

// A clock message as the range control sends it, zero byte included.
std::string Clock(int elapsed)
{
    ClockMessage m;
    m.computer = "RANGE";
    m.prefix = "H1";
    m.mode = 2;
    m.period = 1500;
    m.elapsed = elapsed;
    return m.Build();
}

// The range control's side: a server on a free port of this computer.
class SocketServerTest : public InTempFolder {
protected:
    SocketServerTest()
    {
        window.socket = &server;
        window.discardReceived = true;
    }
    void SetUp() override
    {
        ASSERT_EQ(server.Connect(1, 0, ""), CBVSocket::OPEN);
        port = server.LocalPort();
        ASSERT_GT(port, 0);
    }
    // A new client, taken in by the server before this returns.
    std::unique_ptr<RawClient> Join()
    {
        size_t before = server.PeerCount();
        auto client = std::make_unique<RawClient>(port);
        EXPECT_TRUE(client->connected);
        EXPECT_TRUE(SpinUntil([&] { return server.PeerCount() == before + 1; }));
        return client;
    }
    int Send(const std::string& bytes) { return server.Send(bytes.data(), static_cast<int>(bytes.size())); }
    bool AllReceived(std::vector<std::unique_ptr<RawClient>>& clients, const std::string& expected)
    {
        return SpinUntil([&] {
            bool all = true;
            for (auto& c : clients) {
                c->Pump();
                all = all && c->received.size() >= expected.size();
            }
            return all;
        });
    }

    QApplication& app = QtApp();  // before any window
    SocketWindow window;
    CBVSocket server{&window};
    int port = 0;
};

TEST_F(SocketServerTest, EveryClientGetsEachSend)
{
    EXPECT_TRUE(server.IsOpen());
    EXPECT_NE(server.Socket(), -1);
    const std::string first = Clock(300), second = Clock(350);
    EXPECT_EQ(Send(first), 0);  // nobody connected yet

    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 3; ++i)
        clients.push_back(Join());
    EXPECT_EQ(Send(first), 3);
    EXPECT_EQ(Send(second), 3);
    ASSERT_TRUE(AllReceived(clients, first + second));
    for (auto& c : clients)
        EXPECT_EQ(c->received, first + second);
}

// A display that leaves, politely or not, takes only its own connection with
// it; sends to it in the meantime fail quietly (no signal kills the range
// control) and the others go on getting the clock.
TEST_F(SocketServerTest, ClientLeavingKeepsTheServerForTheOthers)
{
    struct Case {
        const char* name;
        void (RawClient::*leave)();
    };
    const Case cases[] = {{"closes", &RawClient::Close}, {"resets", &RawClient::Reset}};
    // A write to a gone peer must not end the program by SIGPIPE. The socket
    // layer turns the signal away by itself only at its first write of the
    // program; after that the program's own start must see to it.
    auto previous = std::signal(SIGPIPE, SIG_DFL);
    {
        auto warmUp = Join();
        Send(Clock(0));
        warmUp->Close();
        ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == 0; }));
    }
    std::signal(SIGPIPE, SIG_DFL);
    CBVSocket::Startup();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<RawClient>> clients;
        for (int i = 0; i < 3; ++i)
            clients.push_back(Join());
        (clients[1].get()->*c.leave)();
        // Sends before the server has heard of the leaving hit the dead
        // connection: the first is answered with a reset, the next fails.
        for (int i = 0; i < 5; ++i) {
            Send(Clock(i));
            QThread::usleep(2000);
        }
        ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == 2; }));
        EXPECT_TRUE(server.IsOpen());
        clients.erase(clients.begin() + 1);

        EXPECT_EQ(Send(Clock(99)), 2);
        std::string expected;
        for (int i = 0; i < 5; ++i)
            expected += Clock(i);
        expected += Clock(99);
        ASSERT_TRUE(AllReceived(clients, expected));
        for (auto& client : clients)
            EXPECT_EQ(client->received, expected);

        // And it still takes new displays.
        clients.push_back(Join());
        EXPECT_EQ(Send(Clock(100)), 3);
        ASSERT_TRUE(SpinUntil([&] { return clients.back()->Pump() && clients.back()->received == Clock(100); }));
        clients.clear();
        ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == 0; }));
    }
    std::signal(SIGPIPE, previous);
}

TEST_F(SocketServerTest, ClientsBeyondTheBoundAreClosedAtOnce)
{
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < CBVSocket::kMaxPeers; ++i)
        clients.push_back(Join());
    for (int i = 0; i < 3; ++i) {
        RawClient extra(port);
        ASSERT_TRUE(extra.connected);
        ASSERT_TRUE(SpinUntil([&] { return !extra.Pump(); })) << "extra client " << i << " was kept";
        EXPECT_EQ(server.PeerCount(), size_t(CBVSocket::kMaxPeers));
    }
    EXPECT_NE(LogText().find("Socket accept refused from 127.0.0.1:"), std::string::npos) << LogText();

    const std::string clock = Clock(10);
    EXPECT_EQ(Send(clock), CBVSocket::kMaxPeers);
    ASSERT_TRUE(AllReceived(clients, clock));
    for (auto& c : clients)
        EXPECT_EQ(c->received, clock);

    // A place that frees up is taken by the next one.
    clients.pop_back();
    ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == size_t(CBVSocket::kMaxPeers - 1); }));
    clients.push_back(Join());
    EXPECT_EQ(server.PeerCount(), size_t(CBVSocket::kMaxPeers));
}

// A display that stops reading is let go once its backlog passes the bound;
// the one that reads keeps getting everything.
TEST_F(SocketServerTest, PeerThatDoesNotReadIsDropped)
{
    std::vector<std::unique_ptr<RawClient>> clients;
    clients.push_back(Join());
    size_t before = server.PeerCount();
    auto stuck = std::make_unique<RawClient>(port, 4096);
    ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == before + 1; }));
    RawClient& reader = *clients.front();

    const std::string piece(4096, 'x');
    size_t sentToReader = 0;
    const size_t limit = size_t(64) << 20;
    size_t sent = 0;
    while (server.PeerCount() == 2 && sent < limit) {
        int took = Send(piece);
        sent += piece.size();
        if (took >= 1)
            sentToReader += piece.size();
        reader.Pump();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    ASSERT_EQ(server.PeerCount(), 1u) << "nobody was dropped after " << sent << " bytes";
    EXPECT_NE(LogText().find("not taken"), std::string::npos) << LogText();
    ASSERT_TRUE(SpinUntil([&] { return reader.Pump() && reader.received.size() >= sentToReader; }));
    EXPECT_EQ(reader.received.size(), sentToReader);
    EXPECT_TRUE(reader.Pump());
    // The dropped one sees its connection end once it reads what it has.
    EXPECT_TRUE(SpinUntil([&] { return !stuck->Pump(); }, 20000));
}

// Whatever a client writes is read in pieces of at most 255 bytes, each a
// count byte, the bytes and a zero byte, handed out newest first.
TEST_F(SocketServerTest, ReceivedBuffersHoldAtMost255BytesNewestFirst)
{
    window.discardReceived = false;
    auto client = Join();
    std::string sent;
    for (int i = 0; i < 600; ++i)
        sent += static_cast<char>('A' + i % 26);
    ASSERT_TRUE(client->Write(sent));

    std::vector<std::vector<uint8_t>> buffers;
    size_t total = 0;
    ASSERT_TRUE(SpinUntil([&] {
        std::vector<std::vector<uint8_t>> taken;
        for (std::vector<uint8_t> b = server.GetReceived(); !b.empty(); b = server.GetReceived()) {
            total += b[0];
            taken.push_back(std::move(b));
        }
        // Back into the order of arrival.
        buffers.insert(buffers.end(), taken.rbegin(), taken.rend());
        return total >= sent.size();
    }));
    std::string joined;
    bool full = false;
    for (const auto& b : buffers) {
        ASSERT_GE(b[0], 1);
        ASSERT_EQ(b.size(), size_t(b[0]) + 2);
        EXPECT_EQ(b.back(), 0);
        full = full || b[0] == 255;
        joined.append(reinterpret_cast<const char*>(b.data() + 1), b[0]);
    }
    EXPECT_EQ(joined, sent);
    EXPECT_TRUE(full);
    EXPECT_TRUE(server.GetReceived().empty());
}

// The display's side: a client of the range control's server.
class SocketClientTest : public InTempFolder {
protected:
    SocketClientTest()
    {
        serverWindow.socket = &server;
        serverWindow.discardReceived = true;
        clientWindow.socket = &client;
    }
    void SetUp() override
    {
        ASSERT_EQ(server.Connect(1, 0, ""), CBVSocket::OPEN);
        port = server.LocalPort();
    }
    int Send(const std::string& bytes) { return server.Send(bytes.data(), static_cast<int>(bytes.size())); }

    QApplication& app = QtApp();  // before any window
    SocketWindow serverWindow, clientWindow;
    CBVSocket server{&serverWindow};
    CBVSocket client{&clientWindow};
    int port = 0;
};

TEST_F(SocketClientTest, ClientReceivesBuffersAndHandsOutTheNewestFirst)
{
    ASSERT_EQ(client.Connect(2, port, "127.0.0.1"), CBVSocket::OPEN);
    EXPECT_TRUE(client.IsOpen());
    EXPECT_EQ(client.PeerCount(), 1u);
    ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == 1; }));

    const std::string messages[] = {Clock(1), Clock(22), Clock(333)};
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(Send(messages[i]), 1);
        ASSERT_TRUE(SpinUntil([&] { return client.ReceivedCount() == i + 1; }));
    }
    for (int i = 2; i >= 0; --i) {
        std::vector<uint8_t> buffer = client.GetReceived();
        std::vector<uint8_t> expected{static_cast<uint8_t>(messages[i].size())};
        expected.insert(expected.end(), messages[i].begin(), messages[i].end());
        expected.push_back(0);
        EXPECT_EQ(buffer, expected) << "message " << i;
        ClockMessage read;
        ASSERT_TRUE(ClockMessage::Parse(std::string_view(reinterpret_cast<const char*>(buffer.data() + 1), buffer[0]), read));
        ClockMessage sent;
        ASSERT_TRUE(ClockMessage::Parse(messages[i], sent));
        EXPECT_EQ(read.elapsed, sent.elapsed);
    }
    EXPECT_TRUE(client.GetReceived().empty());

    // The display finds its link by the socket of each notification.
    ASSERT_FALSE(clientWindow.notified.empty());
    for (auto [socket, event] : clientWindow.notified)
        EXPECT_EQ(socket, client.Socket());

    // What the display sends reaches the server, which throws it away.
    EXPECT_EQ(client.Send("hello", 5), 1);
    ASSERT_TRUE(SpinUntil([&] { return !serverWindow.notified.empty() && serverWindow.notified.back().second == SOCKET_READ; }));
    EXPECT_EQ(server.ReceivedCount(), 0u);
}

// When the range control goes away the display's link closes; Reconnect
// tries again, and leaves a working link alone.
TEST_F(SocketClientTest, ServerGoingAwayClosesTheClientUntilReconnect)
{
    ASSERT_EQ(client.Reconnect(2, port, "127.0.0.1"), CBVSocket::OPEN);
    ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == 1; }));
    intptr_t first = client.Socket();
    ASSERT_NE(first, -1);

    server.Close();
    ASSERT_TRUE(SpinUntil([&] { return !client.IsOpen(); }));
    EXPECT_EQ(client.Socket(), -1);
    EXPECT_EQ(client.PeerCount(), 0u);
    EXPECT_EQ(client.Send("x", 1), 0);
    EXPECT_EQ(client.Reconnect(2, port, "127.0.0.1"), CBVSocket::CONNECT_FAILED);

    // The range control starts again on its port at once.
    ASSERT_EQ(server.Connect(1, port, ""), CBVSocket::OPEN);
    ASSERT_EQ(client.Reconnect(2, port, "127.0.0.1"), CBVSocket::OPEN);
    ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == 1; }));
    intptr_t second = client.Socket();
    EXPECT_NE(second, first);
    EXPECT_EQ(client.Reconnect(2, port, "127.0.0.1"), CBVSocket::OPEN);
    EXPECT_EQ(client.Socket(), second);
    EXPECT_EQ(Send(Clock(5)), 1);
    ASSERT_TRUE(SpinUntil([&] { return client.ReceivedCount() == 1; }));
    EXPECT_EQ(server.PeerCount(), 1u);
}

// This computer's own name needs no name service: it is the loopback address.
TEST_F(SocketClientTest, OwnComputerNameConnectsWithoutLookUp)
{
    ASSERT_EQ(client.Connect(2, port, platform::ComputerName()), CBVSocket::OPEN);
    ASSERT_TRUE(SpinUntil([&] { return server.PeerCount() == 1; }));
    EXPECT_EQ(LogText().find("ServerName"), std::string::npos) << LogText();
}

class SocketConnectTest : public InTempFolder {
protected:
    SocketConnectTest() { QtApp(); }
};

TEST_F(SocketConnectTest, FailuresAreReturnedLoggedAndLeaveTheLinkClosed)
{
    SocketWindow window;
    PortHolder inUse(true), refusing(false);
    struct Case {
        const char* name;
        int flags;
        int port;
        std::string host;
        bool withWindow;
        int rc;
        const char* log;
    };
    const Case cases[] = {
        {"no host name", 2, refusing.port, "", true, CBVSocket::HOST_NOT_FOUND, "Could not get NetBIOS Name"},
        {"malformed host name", 2, refusing.port, "a..b", true, CBVSocket::HOST_NOT_FOUND, "Socket GetHostByName="},
        {"port in use", 1, inUse.port, "", true, CBVSocket::BIND_FAILED, "Socket bind failed=98"},
        {"connection refused", 2, refusing.port, "127.0.0.1", true, CBVSocket::CONNECT_FAILED, "Socket connect failed="},
        {"server without a window", 1, 0, "", false, CBVSocket::CONNECT_FAILED, "Socket notification refused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder::Write("BVLog.txt", "");
        CBVSocket socket(c.withWindow ? &window : nullptr);
        window.socket = &socket;
        // A link that was open is closed by the failed attempt.
        int openPort = 0;
        if (c.withWindow) {
            ASSERT_EQ(socket.Connect(1, 0, ""), CBVSocket::OPEN);
            openPort = socket.LocalPort();
        }
        EXPECT_EQ(socket.Connect(c.flags, c.port, c.host), c.rc);
        EXPECT_FALSE(socket.IsOpen());
        EXPECT_EQ(socket.Socket(), -1);
        EXPECT_EQ(socket.PeerCount(), 0u);
        EXPECT_EQ(socket.LocalPort(), 0);
        EXPECT_NE(LogText().find(c.log), std::string::npos) << LogText();
        EXPECT_NE(LogText().find("Startet CBVSocket::Connect"), std::string::npos);
        if (c.withWindow) {
            RawClient late(openPort);
            EXPECT_FALSE(late.connected) << "the earlier server still listens";
        }
        window.socket = nullptr;
    }
}

}  // namespace
}  // namespace bvtest
