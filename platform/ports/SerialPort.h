#pragma once
// A serial port over termios: the COM ports of the target lines.
//
// The programs name their ports "COM1".."COM9". A COM number maps to a
// device: one given with SetComDevice (tools and tests), else the
// environment variable BV_COM<n> (so a range can put COM3 on /dev/ttyUSB0, or
// on the simulator's pseudo-terminal), else /dev/ttyS<n-1>.
//
// A port is opened exclusively: TIOCEXCL keeps other openers out, and an
// flock on the device keeps out those TIOCEXCL lets through (the superuser),
// so two programs never share one bus.
#include "platform/ports/Port.h"

#include <string>

struct termios;

namespace platform {

// The device of COM port n (1 and up).
std::string ComDevicePath(int n);
// Maps COM port n to a device; an empty path removes the mapping.
void SetComDevice(int n, const std::string& devicePath);

// True when the name is "COMn" (any letter case); n is returned in number.
bool ParseComName(const std::string& name, int& number);

class SerialPort : public Port {
public:
    // Makes t raw with the speed and character format of the settings:
    // 0, or EINVAL for a speed or format the port does not have.
    static int ApplySettings(const PortSettings& settings, ::termios& t);

    SerialPort() = default;
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens "COMn" through its mapping, or a device path. 0, or the system
    // error: ENOENT for a missing device, EBUSY when another holds the port.
    int Open(const std::string& name);
    // Takes over an open descriptor (the master side of a pseudo-terminal).
    int Adopt(int fd);
    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    const std::string& Device() const { return m_device; }
    // False on a port without modem control lines (a pseudo-terminal).
    bool HasModemLines() const { return m_modemLines; }

    int Configure(const PortSettings& settings) override;
    int SetRts(bool on) override;
    int SetDtr(bool on) override;
    int InputCount(size_t& count) override;
    int TakeErrors(unsigned& errors) override;
    int Read(void* buffer, size_t size, size_t& got) override;
    int WaitInput(int64_t timeoutUs) override;
    void Wake() override;
    int Write(const void* data, size_t size, int timeoutMs, size_t& written) override;
    int Purge() override;
    int Close() override;

private:
    int Start(int fd);
    int SetModemLine(int line, bool on);

    int m_fd = -1;
    int m_wakeFd = -1;
    bool m_modemLines = true;
    std::string m_device;
    // The driver's error counters when last taken.
    unsigned m_overruns = 0;
    unsigned m_parity = 0;
    unsigned m_framing = 0;
    bool m_countsKnown = false;
    bool m_noCounters = false;  // the device keeps no error counters: never asked again
};

}  // namespace platform
