#pragma once
// The calling interface of the USB serial driver library (D2XX) as the
// library publishes it on Linux: the types, flags and the received-characters
// notification. Shared by the wrapper and by our stand-in of the library.
#include <cstdint>
#include <pthread.h>

extern "C" {

typedef void* FT_HANDLE;
typedef uint32_t FT_STATUS;
typedef uint32_t DWORD;

enum : FT_STATUS {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_OTHER_ERROR = 18,
};

enum : DWORD {
    FT_OPEN_BY_SERIAL_NUMBER = 1,
    FT_LIST_NUMBER_ONLY = 0x80000000u,
    FT_LIST_BY_INDEX = 0x40000000u,
    FT_LIST_ALL = 0x20000000u,
    FT_PURGE_RX = 1,
    FT_PURGE_TX = 2,
    FT_EVENT_RXCHAR = 1,
};

// On Linux the library signals received characters through a condition
// variable and its mutex that the caller owns; iVar is the caller's.
typedef struct {
    pthread_cond_t eCondVar;
    pthread_mutex_t eMutex;
    int iVar;
} EVENT_HANDLE;

typedef FT_STATUS (*FT_GetStatus_t)(FT_HANDLE, DWORD* rxBytes, DWORD* txBytes, DWORD* eventStatus);
typedef FT_STATUS (*FT_OpenEx_t)(void* arg, DWORD flags, FT_HANDLE* handle);
typedef FT_STATUS (*FT_ListDevices_t)(void* arg1, void* arg2, DWORD flags);
typedef FT_STATUS (*FT_Close_t)(FT_HANDLE);
typedef FT_STATUS (*FT_Read_t)(FT_HANDLE, void* buffer, DWORD size, DWORD* got);
typedef FT_STATUS (*FT_Write_t)(FT_HANDLE, void* buffer, DWORD size, DWORD* written);
typedef FT_STATUS (*FT_Purge_t)(FT_HANDLE, DWORD mask);
typedef FT_STATUS (*FT_SetEventNotification_t)(FT_HANDLE, DWORD mask, void* param);
typedef FT_STATUS (*FT_ResetDevice_t)(FT_HANDLE);
typedef FT_STATUS (*FT_SetLatencyTimer_t)(FT_HANDLE, unsigned char ms);

}  // extern "C"
