#pragma once
// A byte port under the line protocols: a COM port, a pseudo-terminal or an
// in-memory stream. The protocols see only these operations, so the same
// protocol code runs on a serial bus, against the simulator on a
// pseudo-terminal, or in a test without any device.
//
// Results are 0 or a system error code (errno values); nothing throws.
// One reader thread and one writer thread may use a port at the same time;
// Wake may be called from any thread.
#include <cstddef>
#include <cstdint>

namespace platform {

struct PortSettings {
    int baud = 9600;
    int dataBits = 8;
    char parity = 'E';  // 'N', 'E' or 'O'
    int stopBits = 1;
};

// Receive errors met since they were last taken.
enum PortError : unsigned {
    kPortOverrun = 1,  // bytes lost in the driver or the device
    kPortParity = 2,
    kPortFraming = 4,
};

class Port {
public:
    virtual ~Port() = default;

    // Speed and character format; the port is always raw (no echo, no line
    // editing, no flow control, every byte passed as it is).
    virtual int Configure(const PortSettings& settings) = 0;

    // Modem control lines. A port without them (a pseudo-terminal, a stream)
    // accepts the call and does nothing, so a bus protocol that keys RTS runs
    // unchanged on it.
    virtual int SetRts(bool on) = 0;
    virtual int SetDtr(bool on) = 0;

    // Bytes waiting to be read.
    virtual int InputCount(size_t& count) = 0;
    // Takes the receive errors (PortError bits) seen since the last call.
    virtual int TakeErrors(unsigned& errors) = 0;

    // Reads what is waiting, at most size bytes, without waiting; got is 0
    // when nothing is there.
    virtual int Read(void* buffer, size_t size, size_t& got) = 0;
    // Waits until input is waiting, Wake is called, or timeoutUs passes.
    // 1 when input is waiting, 0 otherwise, or a negative system error.
    virtual int WaitInput(int64_t timeoutUs) = 0;
    // Ends a WaitInput of another thread early (or the next one to start).
    virtual void Wake() = 0;

    // Hands all bytes to the device, waiting at most timeoutMs for room.
    // written tells how many went; a partial transfer returns an error.
    virtual int Write(const void* data, size_t size, int timeoutMs, size_t& written) = 0;

    // Drops what is waiting in either direction.
    virtual int Purge() = 0;

    virtual int Close() = 0;
};

}  // namespace platform
