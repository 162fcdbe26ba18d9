#pragma once
// What a test run remembers for the next one, in the settings file: the loads ticked
// ([TEST_OPTIONS] LOAD_25 ... LOAD_175, all ticked until chosen) and the device details that carry
// over to the next device of the site ([EditInfo] MAKE, MODEL, FACILITY, LOCATION, TECH; never the
// Device ID or the serial number, which name one unit).

#include "base/settings.h"
#include "records/tzrtestrec.h"

#include <array>

class TTestRunSettings {
public:
    explicit TTestRunSettings(TSettings& settings) : m_settings(settings) {}

    std::array<bool, LOAD_COUNT> Loads() const;
    TSettingsStatus RememberLoads(const std::array<bool, LOAD_COUNT>& loads);

    // Whether the slot carries over to the next device.
    static bool Remembers(TDeviceInfoSlot slot);
    // The text remembered for the slot (nothing for one that does not carry over).
    QString Remembered(TDeviceInfoSlot slot) const;
    // Remembers the slots that carry over, from `texts` (one per slot).
    TSettingsStatus RememberDevice(const std::array<QString, DEVICE_INFO_SLOTS>& texts);

private:
    TSettings& m_settings;
};
