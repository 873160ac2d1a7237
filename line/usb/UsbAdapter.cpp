#include "line/usb/UsbAdapter.h"

#include "platform/system/Clock.h"

#include <cerrno>
#include <string>

namespace {

// The driver's status as the port's error code.
int AsError(FT_STATUS status) { return status == FT_OK ? 0 : EIO; }

// The longest the receive side sleeps on the notification alone.
constexpr int kSliceMs = 10;

}  // namespace

UsbAdapter::~UsbAdapter() { Close(); }

int UsbAdapter::OpenDevice(const char* serial)
{
    Close();
    std::string text = serial ? serial : "";
    FT_HANDLE handle = nullptr;
    FT_STATUS status = m_ft.OpenEx(text.data(), FT_OPEN_BY_SERIAL_NUMBER, &handle);
    if (status == FT_OK && !handle)
        status = FT_INVALID_HANDLE;
    if (status == FT_OK)
        m_handle = handle;
    return static_cast<int>(status);
}

int UsbAdapter::Alive()
{
    DWORD rx = 0, tx = 0, ev = 0;
    return static_cast<int>(m_ft.GetStatus(m_handle, &rx, &tx, &ev));
}

void UsbAdapter::ResetDevice() { m_ft.ResetDevice(m_handle); }

int UsbAdapter::Prepare()
{
    m_ft.SetLatencyTimer(m_handle, 10);
    auto fresh = std::make_unique<FtRxEvent>();
    FT_STATUS status = m_ft.SetEventNotification(m_handle, FT_EVENT_RXCHAR, fresh->Param());
    m_event = std::move(fresh);
    if (status != FT_OK)
        return static_cast<int>(status);
    return static_cast<int>(m_ft.Purge(m_handle, FT_PURGE_RX | FT_PURGE_TX));
}

int UsbAdapter::InputCount(size_t& count)
{
    DWORD rx = 0, tx = 0, ev = 0;
    FT_STATUS status = m_ft.GetStatus(m_handle, &rx, &tx, &ev);
    if (status != FT_OK)
        return AsError(status);
    count = rx;
    return 0;
}

int UsbAdapter::TakeErrors(unsigned& errors)
{
    errors = 0;
    return 0;
}

int UsbAdapter::Read(void* buffer, size_t size, size_t& got)
{
    got = 0;
    DWORD n = 0;
    FT_STATUS status = m_ft.Read(m_handle, buffer, static_cast<DWORD>(size), &n);
    if (status != FT_OK)
        return AsError(status);
    got = n;
    return 0;
}

int UsbAdapter::WaitInput(int64_t timeoutUs)
{
    const int64_t until = platform::MonotonicUs() + timeoutUs;
    for (;;) {
        if (m_woken.exchange(false, std::memory_order_acq_rel))
            return 0;
        size_t count = 0;
        if (int e = InputCount(count); e != 0)
            return -e;
        if (count > 0)
            return 1;
        int64_t left = until - platform::MonotonicUs();
        if (left <= 0)
            return 0;
        int ms = static_cast<int>(left / 1000) + 1;
        if (ms > kSliceMs)
            ms = kSliceMs;
        if (m_event)
            m_event->Wait(ms);
        else
            platform::SleepMs(static_cast<unsigned>(ms));
    }
}

int UsbAdapter::Write(const void* data, size_t size, int, size_t& written)
{
    written = 0;
    DWORD n = 0;
    FT_STATUS status = m_ft.Write(m_handle, const_cast<void*>(data), static_cast<DWORD>(size), &n);
    written = n;
    if (status != FT_OK)
        return AsError(status);
    return n == size ? 0 : EIO;
}

int UsbAdapter::Purge() { return AsError(m_ft.Purge(m_handle, FT_PURGE_RX | FT_PURGE_TX)); }

int UsbAdapter::Close()
{
    if (!m_handle)
        return 0;
    FT_STATUS status = m_ft.Close(m_handle);
    m_handle = nullptr;
    // The driver no longer signals the notification of a closed handle.
    m_event.reset();
    return AsError(status);
}
