#pragma once
// One USB line adapter reached through the driver library (CFTD2XX), as a
// port: the adapter protocol reads and writes it like any other line, and
// adds the few operations only a USB device has (opening by serial text,
// asking whether it is still there, resetting it).
//
// The driver signals received characters through a notification that the
// adapter owns; every wait on it is short and also asks the driver how many
// bytes wait, so a signal that slipped between two waits costs nothing.
#include "line/usb/CFTD2XX.h"
#include "platform/ports/Port.h"

#include <atomic>
#include <memory>

class UsbAdapter : public platform::Port {
public:
    UsbAdapter() = default;
    ~UsbAdapter() override;

    // Opens the adapter with this serial text: 0 or the driver's status.
    int OpenDevice(const char* serial);
    bool IsOpen() const { return m_handle != nullptr; }
    // The driver's get-status: 0 while the adapter is connected.
    int Alive();
    void ResetDevice();
    // Latency timer, a fresh received-characters notification, both buffers
    // purged: what an adapter needs after (re)opening. 0 or the failing status.
    int Prepare();

    int Configure(const platform::PortSettings&) override { return 0; }
    int SetRts(bool) override { return 0; }
    int SetDtr(bool) override { return 0; }
    int InputCount(size_t& count) override;
    int TakeErrors(unsigned& errors) override;
    int Read(void* buffer, size_t size, size_t& got) override;
    int WaitInput(int64_t timeoutUs) override;
    void Wake() override { m_woken.store(true, std::memory_order_release); }
    int Write(const void* data, size_t size, int timeoutMs, size_t& written) override;
    int Purge() override;
    int Close() override;

    CFTD2XX& Driver() { return m_ft; }

private:
    CFTD2XX m_ft;
    FT_HANDLE m_handle = nullptr;
    std::unique_ptr<FtRxEvent> m_event;
    std::atomic<bool> m_woken{false};
};
