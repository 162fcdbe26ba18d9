#pragma once
// The FTDI driver backend for a real analyzer, on libftdi1 and libusb. It finds the analyzer by the
// product string of its USB chip, scanning the FTDI vendor's usual product ids, and makes no chip
// setting of its own (no baud rate, latency or bit mode). libftdi itself resets the chip when it
// opens it, which leaves the chip at its power-on defaults; the kernel's ftdi_sio driver, which binds
// such chips as /dev/ttyUSB*, is detached from the device for as long as it is open.

#include "link/ftdidriver.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>

class FtdiLink;

// The FTDI vendor id and the product ids the backend looks at.
inline constexpr uint16_t FtdiVendorId = 0x0403;
inline constexpr uint16_t FtdiProductIds[] = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};

// One FTDI device seen on the bus.
struct FtdiDeviceInfo {
    uint8_t bus = 0;
    uint8_t address = 0;
    uint16_t productId = 0;
    QString product;   // its USB product string, when it could be read
    QString readError; // why it could not be read (for example, no permission), otherwise empty
    // This account may not open the device. Its product string then comes from the system's own
    // record of the device (sysfs), when that has one.
    bool notPermitted = false;
};

class LibFtdiDriver : public FtdiDriver {
public:
    LibFtdiDriver();
    ~LibFtdiDriver() override;
    LibFtdiDriver(const LibFtdiDriver&) = delete;
    LibFtdiDriver& operator=(const LibFtdiDriver&) = delete;

    // The FTDI devices on the bus, in bus order, with their product strings. `error` receives a
    // message when USB cannot be reached at all.
    static QList<FtdiDeviceInfo> ListDevices(QString* error = nullptr);

    // Opens the first device whose product string equals `description`. FtDeviceNotFound when there
    // is none, FtDeviceNotPermitted when there is one that this account may not open, FtDeviceNotOpened
    // when there is one that cannot be opened for another reason (`why` says why).
    FtStatus Open(const char* description, FtHandle& handle, QString* why);

    FtStatus OpenEx(const char* arg, uint32_t flags, FtHandle& handle) override;
    FtStatus Close(FtHandle handle) override;
    FtStatus GetQueueStatus(FtHandle handle, uint32_t& rxBytes) override;
    FtStatus Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) override;
    FtStatus Write(FtHandle handle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) override;
    FtStatus Purge(FtHandle handle, uint32_t mask) override;
    FtStatus GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes, uint32_t& eventWord) override;

private:
    FtdiLink* Find(FtHandle handle);

    std::map<uintptr_t, std::unique_ptr<FtdiLink>> m_links;
    uintptr_t m_nextHandle = 1;
};
