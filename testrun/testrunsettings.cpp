#include "testrun/testrunsettings.h"

namespace {

const QString LoadsSection = QStringLiteral("TEST_OPTIONS");
const QString DeviceSection = QStringLiteral("EditInfo");

QString LoadKey(int loadIndex) {
    return QStringLiteral("LOAD_%1").arg(LoadOhms(loadIndex));
}

// The key of a slot that carries over; nullptr for the others.
const char* DeviceKey(TDeviceInfoSlot slot) {
    switch (slot) {
    case diManufacturer:
        return "MAKE";
    case diModel:
        return "MODEL";
    case diFacility:
        return "FACILITY";
    case diLocation:
        return "LOCATION";
    case diTechID:
        return "TECH";
    default:
        return nullptr;
    }
}

} // namespace

std::array<bool, LOAD_COUNT> TTestRunSettings::Loads() const {
    std::array<bool, LOAD_COUNT> loads{};
    for (int i = 0; i < LOAD_COUNT; ++i)
        loads[i] = m_settings.ReadInteger(LoadsSection, LoadKey(i), 1) != 0;
    return loads;
}

TSettingsStatus TTestRunSettings::RememberLoads(const std::array<bool, LOAD_COUNT>& loads) {
    TSettingsChanges changes;
    for (int i = 0; i < LOAD_COUNT; ++i)
        changes.Set(LoadsSection, LoadKey(i), loads[i] ? 1 : 0);
    return m_settings.Write(changes);
}

bool TTestRunSettings::Remembers(TDeviceInfoSlot slot) {
    return DeviceKey(slot) != nullptr;
}

QString TTestRunSettings::Remembered(TDeviceInfoSlot slot) const {
    const char* key = DeviceKey(slot);
    return key ? m_settings.ReadString(DeviceSection, QString::fromLatin1(key), QString()) : QString();
}

TSettingsStatus TTestRunSettings::RememberDevice(const std::array<QString, DEVICE_INFO_SLOTS>& texts) {
    TSettingsChanges changes;
    for (int slot = 0; slot < DEVICE_INFO_SLOTS; ++slot)
        if (const char* key = DeviceKey(static_cast<TDeviceInfoSlot>(slot)))
            changes.Set(DeviceSection, QString::fromLatin1(key), texts[static_cast<size_t>(slot)]);
    return m_settings.Write(changes);
}
