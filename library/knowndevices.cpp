#include "library/knowndevices.h"

TKnownDevices::TKnownDevices(std::vector<TLibraryDevice> devices) : m_devices(std::move(devices)) {
    for (qsizetype i = 0; i < qsizetype(m_devices.size()); ++i)
        m_byId.insert(m_devices[size_t(i)].deviceInfo[diDeviceID], i);
}

QStringList TKnownDevices::DeviceIds() const {
    QStringList ids;
    ids.reserve(qsizetype(m_devices.size()));
    for (const TLibraryDevice& device : m_devices)
        ids << device.deviceInfo[diDeviceID];
    return ids;
}

const TLibraryDevice* TKnownDevices::Find(const QString& deviceId) const {
    const auto found = m_byId.constFind(deviceId);
    return found == m_byId.constEnd() ? nullptr : &m_devices[size_t(*found)];
}

QString TKnownDevices::SerialWarning(const QString& deviceId, const QString& serial) const {
    const TLibraryDevice* device = Find(deviceId);
    if (!device)
        return QString();
    const QString& held = device->deviceInfo[diSerialNo];
    if (held.isEmpty() || held == serial)
        return QString();
    return QStringLiteral("The library holds serial number %1 for %2.").arg(held, deviceId);
}
