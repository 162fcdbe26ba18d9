#pragma once
// The FTDI driver seam: the seven calls the transport makes to the USB chip of the analyzer, shaped
// like FTDI's D2XX library (same operations, same status codes), so that the transport reads exactly
// as it was designed. Each executable installs one backend at start-up: libftdi1 for a real analyzer,
// the simulated analyzer for the demo program and the tests.

#include "base/seam.h"

#include <cstdint>

// Status codes of the D2XX library; only FtOK means success.
enum FtStatus : uint32_t {
    FtOK = 0,
    FtInvalidHandle = 1,
    FtDeviceNotFound = 2,
    FtDeviceNotOpened = 3,
    FtIoError = 4,
    FtInsufficientResources = 5,
    FtInvalidParameter = 6,
    FtOtherError = 18,
    // Not a D2XX code: OpenEx found the device on the bus, but this account may not open it (the
    // operating system's permission). A caller that knows only the D2XX codes sees a failed open.
    FtDeviceNotPermitted = 0x100,
};

// An opened device, as handed out by the installed driver. The value belongs to the caller (one
// variable per test run); Null means "not open".
enum class FtHandle : uintptr_t { Null = 0 };

// Flag of OpenEx: the argument is the USB product description.
constexpr uint32_t FtOpenByDescription = 2;
// Purge masks.
constexpr uint32_t FtPurgeRx = 1;
constexpr uint32_t FtPurgeTx = 2;
// Event word bit set by the backends once the device has gone (unplugged or failing).
constexpr uint32_t FtEventDeviceGone = 0x80000000u;

class FtdiDriver {
public:
    virtual ~FtdiDriver() = default;

    // Opens the first device whose USB product description equals `arg` exactly (flags
    // FtOpenByDescription); stores the handle and returns FtOK, or leaves `handle` alone and returns
    // why not (FtDeviceNotFound, FtDeviceNotPermitted, ...).
    virtual FtStatus OpenEx(const char* arg, uint32_t flags, FtHandle& handle) = 0;
    virtual FtStatus Close(FtHandle handle) = 0;
    // Bytes waiting in the receive queue.
    virtual FtStatus GetQueueStatus(FtHandle handle, uint32_t& rxBytes) = 0;
    // Takes up to `toRead` bytes from the receive queue. The transport only asks for bytes that the
    // queue already holds, so a read never has to wait for the device.
    virtual FtStatus Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) = 0;
    virtual FtStatus Write(FtHandle handle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) = 0;
    virtual FtStatus Purge(FtHandle handle, uint32_t mask) = 0;
    // The event word is 0 while the device answers; a backend may leave the three outputs untouched
    // when the handle is not usable.
    virtual FtStatus GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes,
                               uint32_t& eventWord) = 0;
};

// Until a driver is installed (ScopedInstall<FtdiDriver>), one that finds no device at all.
template <> Seam<FtdiDriver>& TheSeam<FtdiDriver>();
// The installed driver.
FtdiDriver& TheFtdiDriver();
