#pragma once
// The USB serial driver library (D2XX) bound by name while the program runs,
// so that the range control starts and runs its serial lines on a computer
// without it. The library is "libftd2xx.so" from the system's library search
// path, or the file that the environment variable BV_FTD2XX names.
//
// Every operation first makes sure the ten entry points are bound (a failed
// load is tried again by the next operation, so a library installed while
// the program runs is found); without them it does nothing, leaves its
// out-arguments alone and returns FT_OTHER_ERROR. Status 0 is success.
#include "foundation/files/BVLog.h"
#include "line/usb/D2xxTypes.h"
#include "platform/system/SharedLibrary.h"

#include <mutex>

class CFTD2XX {
public:
    CFTD2XX();
    virtual ~CFTD2XX();
    CFTD2XX(const CFTD2XX&) = delete;
    CFTD2XX& operator=(const CFTD2XX&) = delete;

    FT_STATUS GetStatus(FT_HANDLE handle, DWORD* rxBytes, DWORD* txBytes, DWORD* eventStatus);
    FT_STATUS OpenEx(void* arg, DWORD flags, FT_HANDLE* handle);
    FT_STATUS ListDevices(void* arg1, void* arg2, DWORD flags);
    FT_STATUS Close(FT_HANDLE handle);
    FT_STATUS Read(FT_HANDLE handle, void* buffer, DWORD size, DWORD* got);
    FT_STATUS Write(FT_HANDLE handle, void* buffer, DWORD size, DWORD* written);
    FT_STATUS Purge(FT_HANDLE handle, DWORD mask);
    FT_STATUS SetEventNotification(FT_HANDLE handle, DWORD mask, void* param);
    FT_STATUS ResetDevice(FT_HANDLE handle);
    FT_STATUS SetLatencyTimer(FT_HANDLE handle, unsigned char ms);

    // True once all ten entry points are bound (loading when needed).
    bool Ready();
    // The file the wrapper loads.
    static std::string LibraryFile();

private:
    bool m_usable;
    std::mutex m_lock;  // binding only; the calls themselves are the library's
    platform::SharedLibrary m_library;
    bool m_bound = false;
    bool m_failureLogged = false;
    CBVLog m_log;

    FT_GetStatus_t m_getStatus = nullptr;
    FT_OpenEx_t m_openEx = nullptr;
    FT_ListDevices_t m_listDevices = nullptr;
    FT_Close_t m_close = nullptr;
    FT_Read_t m_read = nullptr;
    FT_Write_t m_write = nullptr;
    FT_Purge_t m_purge = nullptr;
    FT_SetEventNotification_t m_setEventNotification = nullptr;
    FT_ResetDevice_t m_resetDevice = nullptr;
    FT_SetLatencyTimer_t m_setLatencyTimer = nullptr;
};

// The received-characters notification handed to the library: a condition
// variable and its mutex owned by the caller. The library may signal it
// from its own thread; a waiter never trusts it alone (see UsbAdapter).
class FtRxEvent {
public:
    FtRxEvent();
    ~FtRxEvent();
    FtRxEvent(const FtRxEvent&) = delete;
    FtRxEvent& operator=(const FtRxEvent&) = delete;

    void* Param() { return &m_event; }
    // Waits until signalled or timeoutMs passes; true when signalled.
    // The signal is taken (auto-reset).
    bool Wait(int timeoutMs);

private:
    EVENT_HANDLE m_event;
};
