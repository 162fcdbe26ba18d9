#include "link/ftdibackend.h"

#include "link/ftdilink.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <ftdi.h>
#include <libusb.h>
#include <tuple>

namespace {

using Context = FtdiLink::Context;

Context NewContext() {
    return Context(ftdi_new(), &ftdi_free);
}

bool IsFtdiProduct(uint16_t vendor, uint16_t product) {
    if (vendor != FtdiVendorId)
        return false;
    for (uint16_t id : FtdiProductIds)
        if (id == product)
            return true;
    return false;
}

// The USB device list of a context, freed (and its devices released) on every way out.
class DeviceList {
public:
    explicit DeviceList(libusb_context* usb) { m_count = libusb_get_device_list(usb, &m_devices); }
    ~DeviceList() {
        if (m_devices)
            libusb_free_device_list(m_devices, 1);
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;
    ssize_t Count() const { return m_count; }
    libusb_device* operator[](ssize_t i) const { return m_devices[i]; }

private:
    libusb_device** m_devices = nullptr;
    ssize_t m_count = 0;
};

struct Scanned {
    FtdiDeviceInfo info;
    libusb_device* device;
};

// The product string the kernel keeps for a device (/sys/bus/usb/devices/BUS-PORT.PORT.../product),
// which anyone may read; empty when there is none.
QString SysfsProduct(libusb_device* device) {
    uint8_t ports[7] = {};
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    if (depth <= 0)
        return QString();
    QString name = QString::number(libusb_get_bus_number(device)) + QLatin1Char('-');
    for (int i = 0; i < depth; ++i)
        name += (i > 0 ? QStringLiteral(".") : QString()) + QString::number(ports[i]);
    QFile file(QStringLiteral("/sys/bus/usb/devices/") + name + QStringLiteral("/product"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll()).trimmed();
}

// Reads the product string of an FTDI device; opening the device for that needs permission.
FtdiDeviceInfo Describe(libusb_device* device, const libusb_device_descriptor& descriptor) {
    FtdiDeviceInfo info;
    info.bus = libusb_get_bus_number(device);
    info.address = libusb_get_device_address(device);
    info.productId = descriptor.idProduct;
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened < 0) {
        info.readError = QString::fromLatin1(libusb_strerror(opened));
        if (opened == LIBUSB_ERROR_ACCESS) {
            info.notPermitted = true;
            info.product = SysfsProduct(device);
        }
        return info;
    }
    unsigned char text[256] = {};
    const int length =
        descriptor.iProduct == 0
            ? 0
            : libusb_get_string_descriptor_ascii(handle, descriptor.iProduct, text, sizeof text);
    libusb_close(handle);
    if (length < 0)
        info.readError = QString::fromLatin1(libusb_strerror(length));
    else
        info.product = QString::fromLatin1(reinterpret_cast<const char*>(text), length);
    return info;
}

template <typename Visit> void ScanFtdi(const DeviceList& list, Visit visit) {
    for (ssize_t i = 0; i < list.Count(); ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) < 0)
            continue;
        if (!IsFtdiProduct(descriptor.idVendor, descriptor.idProduct))
            continue;
        if (!visit(Scanned{Describe(list[i], descriptor), list[i]}))
            return;
    }
}

} // namespace

LibFtdiDriver::LibFtdiDriver() = default;
LibFtdiDriver::~LibFtdiDriver() = default;

QList<FtdiDeviceInfo> LibFtdiDriver::ListDevices(QString* error) {
    QList<FtdiDeviceInfo> devices;
    Context context = NewContext();
    if (!context) {
        if (error)
            *error = QStringLiteral("USB is not available (libusb could not be initialised)");
        return devices;
    }
    DeviceList list(context->usb_ctx);
    if (list.Count() < 0) {
        if (error)
            *error = QStringLiteral("USB devices cannot be listed: %1")
                         .arg(QString::fromLatin1(libusb_strerror(static_cast<int>(list.Count()))));
        return devices;
    }
    ScanFtdi(list, [&](const Scanned& s) {
        devices << s.info;
        return true;
    });
    std::sort(devices.begin(), devices.end(), [](const FtdiDeviceInfo& a, const FtdiDeviceInfo& b) {
        return std::tie(a.bus, a.address) < std::tie(b.bus, b.address);
    });
    return devices;
}

FtStatus LibFtdiDriver::Open(const char* description, FtHandle& handle, QString* why) {
    Context context = NewContext();
    if (!context) {
        if (why)
            *why = QStringLiteral("USB is not available");
        return FtDeviceNotFound;
    }
    libusb_device* found = nullptr;
    FtdiDeviceInfo foundInfo;
    QString unreadable;
    DeviceList list(context->usb_ctx);
    ScanFtdi(list, [&](const Scanned& s) {
        if (!s.info.readError.isEmpty() && unreadable.isEmpty())
            unreadable = s.info.readError;
        if (s.info.product != QLatin1String(description))
            return true;
        found = s.device;
        foundInfo = s.info;
        return false;
    });
    if (!found) {
        if (why)
            *why = unreadable.isEmpty() ? QStringLiteral("no such device")
                                        : QStringLiteral("no such device among those that could be read; "
                                                         "others could not be read: %1")
                                              .arg(unreadable);
        return FtDeviceNotFound;
    }
    if (foundInfo.notPermitted) {
        if (why)
            *why = foundInfo.readError;
        return FtDeviceNotPermitted;
    }
    std::string error;
    std::unique_ptr<FtdiLink> link = FtdiLink::Open(context, found, &error);
    if (!link) {
        if (why)
            *why = QString::fromStdString(error);
        return FtDeviceNotOpened;
    }
    const uintptr_t id = m_nextHandle++;
    m_links.emplace(id, std::move(link));
    handle = static_cast<FtHandle>(id);
    return FtOK;
}

FtdiLink* LibFtdiDriver::Find(FtHandle handle) {
    const auto it = m_links.find(static_cast<uintptr_t>(handle));
    return it == m_links.end() ? nullptr : it->second.get();
}

FtStatus LibFtdiDriver::OpenEx(const char* arg, uint32_t flags, FtHandle& handle) {
    if (flags != FtOpenByDescription || arg == nullptr)
        return FtInvalidParameter;
    return Open(arg, handle, nullptr);
}

FtStatus LibFtdiDriver::Close(FtHandle handle) {
    return m_links.erase(static_cast<uintptr_t>(handle)) ? FtOK : FtInvalidHandle;
}

FtStatus LibFtdiDriver::GetQueueStatus(FtHandle handle, uint32_t& rxBytes) {
    FtdiLink* link = Find(handle);
    return link ? link->Queued(rxBytes) : FtInvalidHandle;
}

FtStatus LibFtdiDriver::Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) {
    FtdiLink* link = Find(handle);
    return link ? link->Take(buffer, toRead, bytesReturned) : FtInvalidHandle;
}

FtStatus LibFtdiDriver::Write(FtHandle handle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) {
    FtdiLink* link = Find(handle);
    return link ? link->Write(buffer, toWrite, bytesWritten) : FtInvalidHandle;
}

FtStatus LibFtdiDriver::Purge(FtHandle handle, uint32_t mask) {
    FtdiLink* link = Find(handle);
    return link ? link->Purge(mask) : FtInvalidHandle;
}

FtStatus LibFtdiDriver::GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes,
                                  uint32_t& eventWord) {
    FtdiLink* link = Find(handle);
    if (!link)
        return FtInvalidHandle;
    const FtStatus status = link->Queued(rxBytes);
    if (status != FtOK) {
        eventWord = FtEventDeviceGone;
        return status;
    }
    txBytes = 0;
    eventWord = 0;
    return FtOK;
}
