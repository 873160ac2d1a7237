#include "platform/ports/SerialPort.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace platform {
namespace {

std::mutex g_mapLock;
std::map<int, std::string>& ComMap()
{
    static std::map<int, std::string> map;
    return map;
}

struct BaudCode {
    int baud;
    speed_t code;
};

const BaudCode kBauds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

bool NoModemLinesError(int e) { return e == ENOTTY || e == EINVAL || e == ENOTSUP || e == EOPNOTSUPP; }

}  // namespace

std::string ComDevicePath(int n)
{
    {
        std::lock_guard<std::mutex> hold(g_mapLock);
        auto it = ComMap().find(n);
        if (it != ComMap().end())
            return it->second;
    }
    char name[32];
    std::snprintf(name, sizeof name, "BV_COM%d", n);
    if (const char* env = std::getenv(name); env && *env)
        return env;
    char path[32];
    std::snprintf(path, sizeof path, "/dev/ttyS%d", n - 1);
    return path;
}

void SetComDevice(int n, const std::string& devicePath)
{
    std::lock_guard<std::mutex> hold(g_mapLock);
    if (devicePath.empty())
        ComMap().erase(n);
    else
        ComMap()[n] = devicePath;
}

bool ParseComName(const std::string& name, int& number)
{
    if (name.size() < 4 || name.size() > 6)
        return false;
    if ((name[0] | 0x20) != 'c' || (name[1] | 0x20) != 'o' || (name[2] | 0x20) != 'm')
        return false;
    int n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
        n = n * 10 + (name[i] - '0');
    }
    if (n < 1)
        return false;
    number = n;
    return true;
}

SerialPort::~SerialPort() { Close(); }

int SerialPort::Open(const std::string& name)
{
    if (m_fd >= 0)
        return EBUSY;
    int number = 0;
    std::string path = ParseComName(name, number) ? ComDevicePath(number) : name;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    termios t;
    if (tcgetattr(fd, &t) != 0) {
        int e = errno;
        ::close(fd);
        return e;
    }
    // The superuser passes TIOCEXCL; the flock stops it too.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno;
        ::close(fd);
        return e == EWOULDBLOCK ? EBUSY : e;
    }
    ioctl(fd, TIOCEXCL);
    m_device = path;
    return Start(fd);
}

int SerialPort::Adopt(int fd)
{
    if (m_fd >= 0)
        return EBUSY;
    if (fd < 0)
        return EBADF;
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        return errno;
    m_device.clear();
    return Start(fd);
}

int SerialPort::Start(int fd)
{
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        int e = errno;
        ::close(fd);
        return e;
    }
    m_fd = fd;
    m_modemLines = true;
    m_countsKnown = false;
    m_noCounters = false;
    return 0;
}

int SerialPort::ApplySettings(const PortSettings& s, termios& t)
{
    speed_t speed = 0;
    for (const BaudCode& b : kBauds)
        if (b.baud == s.baud)
            speed = b.code;
    if (speed == 0 || s.dataBits < 5 || s.dataBits > 8 || (s.stopBits != 1 && s.stopBits != 2) ||
        (s.parity != 'N' && s.parity != 'E' && s.parity != 'O'))
        return EINVAL;
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CLOCAL | CREAD;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[s.dataBits - 5];
    if (s.stopBits == 2)
        t.c_cflag |= CSTOPB;
    t.c_iflag &= ~(IGNPAR | PARMRK | INPCK | IXON | IXOFF | IXANY);
    if (s.parity != 'N') {
        t.c_cflag |= PARENB;
        if (s.parity == 'O')
            t.c_cflag |= PARODD;
        // A byte with a parity error arrives as 0, which no checksum survives.
        t.c_iflag |= INPCK;
    }
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return 0;
}

int SerialPort::Configure(const PortSettings& s)
{
    if (m_fd < 0)
        return EBADF;
    termios t;
    if (tcgetattr(m_fd, &t) != 0)
        return errno;
    if (int e = ApplySettings(s, t); e != 0)
        return e;
    if (tcsetattr(m_fd, TCSANOW, &t) == 0)
        return 0;
    int e = errno;
    // A pseudo-terminal has no wire for parity and may refuse it; it also
    // has no modem lines, which is how it is told from a real port.
    int lines = 0;
    if (e == EINVAL && (t.c_cflag & PARENB) && ioctl(m_fd, TIOCMGET, &lines) != 0 && NoModemLinesError(errno)) {
        t.c_cflag &= ~(PARENB | PARODD);
        t.c_iflag &= ~INPCK;
        if (tcsetattr(m_fd, TCSANOW, &t) == 0) {
            m_modemLines = false;
            return 0;
        }
        e = errno;
    }
    return e;
}

int SerialPort::SetModemLine(int line, bool on)
{
    if (m_fd < 0)
        return EBADF;
    if (!m_modemLines)
        return 0;
    int bits = line;
    if (ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits) != 0) {
        int e = errno;
        if (NoModemLinesError(e)) {
            m_modemLines = false;
            return 0;
        }
        return e;
    }
    return 0;
}

int SerialPort::SetRts(bool on) { return SetModemLine(TIOCM_RTS, on); }
int SerialPort::SetDtr(bool on) { return SetModemLine(TIOCM_DTR, on); }

int SerialPort::InputCount(size_t& count)
{
    count = 0;
    if (m_fd < 0)
        return EBADF;
    int n = 0;
    if (ioctl(m_fd, FIONREAD, &n) != 0)
        return errno;
    count = n > 0 ? static_cast<size_t>(n) : 0;
    return 0;
}

int SerialPort::TakeErrors(unsigned& errors)
{
    errors = 0;
    if (m_fd < 0)
        return EBADF;
    if (m_noCounters)
        return 0;
    serial_icounter_struct c{};
    if (ioctl(m_fd, TIOCGICOUNT, &c) != 0) {
        // Pseudo-terminals and some adapters keep no counters: no errors,
        // and a busy line need not hear so again on every read.
        if (!NoModemLinesError(errno))
            return errno;
        m_noCounters = true;
        return 0;
    }
    unsigned overruns = static_cast<unsigned>(c.overrun + c.buf_overrun);
    unsigned parity = static_cast<unsigned>(c.parity);
    unsigned framing = static_cast<unsigned>(c.frame);
    if (m_countsKnown) {
        if (overruns != m_overruns)
            errors |= kPortOverrun;
        if (parity != m_parity)
            errors |= kPortParity;
        if (framing != m_framing)
            errors |= kPortFraming;
    }
    m_overruns = overruns;
    m_parity = parity;
    m_framing = framing;
    m_countsKnown = true;
    return 0;
}

int SerialPort::Read(void* buffer, size_t size, size_t& got)
{
    got = 0;
    if (m_fd < 0)
        return EBADF;
    if (size == 0)
        return 0;
    for (;;) {
        ssize_t n = ::read(m_fd, buffer, size);
        if (n >= 0) {
            got = static_cast<size_t>(n);
            return 0;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return 0;
        return errno;
    }
}

int SerialPort::WaitInput(int64_t timeoutUs)
{
    if (m_fd < 0)
        return -EBADF;
    if (timeoutUs < 0)
        timeoutUs = 0;
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    timespec ts{static_cast<time_t>(timeoutUs / 1000000), static_cast<long>(timeoutUs % 1000000) * 1000};
    int r = ppoll(fds, 2, &ts, nullptr);
    if (r < 0)
        return errno == EINTR ? 0 : -errno;
    if (fds[1].revents & POLLIN) {
        uint64_t v;
        [[maybe_unused]] ssize_t n = ::read(m_wakeFd, &v, sizeof v);
    }
    if (fds[0].revents & (POLLERR | POLLNVAL))
        return -EIO;
    // A hang-up is reported as input: the read that follows gives the error.
    return (fds[0].revents & (POLLIN | POLLHUP)) ? 1 : 0;
}

void SerialPort::Wake()
{
    if (m_wakeFd < 0)
        return;
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

int SerialPort::Write(const void* data, size_t size, int timeoutMs, size_t& written)
{
    written = 0;
    if (m_fd < 0)
        return EBADF;
    const auto* p = static_cast<const unsigned char*>(data);
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    while (written < size) {
        ssize_t n = ::write(m_fd, p + written, size - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return errno;
        // The driver's buffer is full: wait for room, but never for ever.
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        long elapsed = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (elapsed >= timeoutMs)
            return ETIMEDOUT;
        pollfd fd{m_fd, POLLOUT, 0};
        if (poll(&fd, 1, static_cast<int>(timeoutMs - elapsed)) < 0 && errno != EINTR)
            return errno;
    }
    return 0;
}

int SerialPort::Purge()
{
    if (m_fd < 0)
        return EBADF;
    return tcflush(m_fd, TCIOFLUSH) == 0 ? 0 : errno;
}

int SerialPort::Close()
{
    int rc = 0;
    if (m_fd >= 0) {
        // The exclusive mark stays on the terminal while anyone else holds it
        // open (the simulator holds its pseudo-terminal); take it off.
        ioctl(m_fd, TIOCNXCL);
        if (::close(m_fd) != 0)
            rc = errno;
        m_fd = -1;
    }
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
        m_wakeFd = -1;
    }
    m_device.clear();
    return rc;
}

}  // namespace platform
