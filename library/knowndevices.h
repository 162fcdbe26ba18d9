#pragma once
// The devices the program's library knows, for the device information editor: their Device IDs to
// offer as the technician types one, and each one's identity from its newest test.

#include "library/testlibrary.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

class TKnownDevices {
public:
    TKnownDevices() = default;
    // The library's devices (TTestLibrary::Devices()); none when it could not be read, so that a library
    // out of reach leaves the editor as it is for a device never tested.
    explicit TKnownDevices(std::vector<TLibraryDevice> devices);

    QStringList DeviceIds() const;
    // The device of exactly this Device ID, or nullptr.
    const TLibraryDevice* Find(const QString& deviceId) const;
    // "The library holds serial number X for ID." when the library holds a serial number for the
    // device and `serial` is another; empty otherwise (an unknown device, or none held).
    QString SerialWarning(const QString& deviceId, const QString& serial) const;

private:
    std::vector<TLibraryDevice> m_devices;
    QHash<QString, qsizetype> m_byId;
};
