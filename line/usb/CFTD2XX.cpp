#include "line/usb/CFTD2XX.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>

CFTD2XX::CFTD2XX()
    // Every Linux system the program builds on carries what the library needs.
    : m_usable(true)
{
}

CFTD2XX::~CFTD2XX() { m_library.Close(); }

std::string CFTD2XX::LibraryFile()
{
    const char* named = std::getenv("BV_FTD2XX");
    return named && *named ? named : "libftd2xx.so";
}

bool CFTD2XX::Ready()
{
    if (!m_usable)
        return false;
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_library.IsOpen())
        return m_bound;
    if (!m_library.Open(LibraryFile())) {
        // Asked for once a second while a USB line waits for its adapter:
        // one line says the library is missing, not one a second.
        if (!m_failureLogged)
            BV_LOG(m_log, 80, "USB driver library %s not loaded: %s", m_library.File().c_str(),
                   m_library.Error().c_str());
        m_failureLogged = true;
        return false;
    }
    m_getStatus = reinterpret_cast<FT_GetStatus_t>(m_library.Symbol("FT_GetStatus"));
    m_openEx = reinterpret_cast<FT_OpenEx_t>(m_library.Symbol("FT_OpenEx"));
    m_listDevices = reinterpret_cast<FT_ListDevices_t>(m_library.Symbol("FT_ListDevices"));
    m_close = reinterpret_cast<FT_Close_t>(m_library.Symbol("FT_Close"));
    m_read = reinterpret_cast<FT_Read_t>(m_library.Symbol("FT_Read"));
    m_write = reinterpret_cast<FT_Write_t>(m_library.Symbol("FT_Write"));
    m_purge = reinterpret_cast<FT_Purge_t>(m_library.Symbol("FT_Purge"));
    m_setEventNotification = reinterpret_cast<FT_SetEventNotification_t>(m_library.Symbol("FT_SetEventNotification"));
    m_resetDevice = reinterpret_cast<FT_ResetDevice_t>(m_library.Symbol("FT_ResetDevice"));
    m_setLatencyTimer = reinterpret_cast<FT_SetLatencyTimer_t>(m_library.Symbol("FT_SetLatencyTimer"));
    m_bound = m_getStatus && m_openEx && m_listDevices && m_close && m_read && m_write && m_purge &&
              m_setEventNotification && m_resetDevice && m_setLatencyTimer;
    if (m_bound)
        BV_LOG(m_log, 10, "USB driver library %s loaded", m_library.File().c_str());
    else
        BV_LOG(m_log, 80, "USB driver library %s lacks entry points: %s", m_library.File().c_str(),
               m_library.Error().c_str());
    m_failureLogged = false;
    return m_bound;
}

FT_STATUS CFTD2XX::GetStatus(FT_HANDLE h, DWORD* rx, DWORD* tx, DWORD* ev)
{
    return Ready() ? m_getStatus(h, rx, tx, ev) : FT_OTHER_ERROR;
}

FT_STATUS CFTD2XX::OpenEx(void* arg, DWORD flags, FT_HANDLE* h)
{
    return Ready() ? m_openEx(arg, flags, h) : FT_OTHER_ERROR;
}

FT_STATUS CFTD2XX::ListDevices(void* a1, void* a2, DWORD flags)
{
    return Ready() ? m_listDevices(a1, a2, flags) : FT_OTHER_ERROR;
}

FT_STATUS CFTD2XX::Close(FT_HANDLE h) { return Ready() ? m_close(h) : FT_OTHER_ERROR; }

FT_STATUS CFTD2XX::Read(FT_HANDLE h, void* buffer, DWORD size, DWORD* got)
{
    return Ready() ? m_read(h, buffer, size, got) : FT_OTHER_ERROR;
}

FT_STATUS CFTD2XX::Write(FT_HANDLE h, void* buffer, DWORD size, DWORD* written)
{
    return Ready() ? m_write(h, buffer, size, written) : FT_OTHER_ERROR;
}

FT_STATUS CFTD2XX::Purge(FT_HANDLE h, DWORD mask) { return Ready() ? m_purge(h, mask) : FT_OTHER_ERROR; }

FT_STATUS CFTD2XX::SetEventNotification(FT_HANDLE h, DWORD mask, void* param)
{
    return Ready() ? m_setEventNotification(h, mask, param) : FT_OTHER_ERROR;
}

FT_STATUS CFTD2XX::ResetDevice(FT_HANDLE h) { return Ready() ? m_resetDevice(h) : FT_OTHER_ERROR; }

FT_STATUS CFTD2XX::SetLatencyTimer(FT_HANDLE h, unsigned char ms)
{
    return Ready() ? m_setLatencyTimer(h, ms) : FT_OTHER_ERROR;
}

FtRxEvent::FtRxEvent()
{
    pthread_condattr_t attr;
    pthread_condattr_init(&attr);
    pthread_condattr_setclock(&attr, CLOCK_MONOTONIC);
    pthread_cond_init(&m_event.eCondVar, &attr);
    pthread_condattr_destroy(&attr);
    pthread_mutex_init(&m_event.eMutex, nullptr);
    m_event.iVar = 0;
}

FtRxEvent::~FtRxEvent()
{
    pthread_cond_destroy(&m_event.eCondVar);
    pthread_mutex_destroy(&m_event.eMutex);
}

bool FtRxEvent::Wait(int timeoutMs)
{
    timespec until;
    clock_gettime(CLOCK_MONOTONIC, &until);
    until.tv_sec += timeoutMs / 1000;
    until.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (until.tv_nsec >= 1000000000L) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000L;
    }
    pthread_mutex_lock(&m_event.eMutex);
    // The library signals without setting iVar; a signal between two waits
    // is caught by the caller's look at the receive count.
    int rc = 0;
    while (m_event.iVar == 0 && rc != ETIMEDOUT) {
        rc = pthread_cond_timedwait(&m_event.eCondVar, &m_event.eMutex, &until);
        if (rc == 0)
            break;
    }
    m_event.iVar = 0;
    pthread_mutex_unlock(&m_event.eMutex);
    return rc == 0;
}
