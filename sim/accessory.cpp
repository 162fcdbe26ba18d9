#include "sim/accessory.h"

SimAccessory::SimAccessory() : resistances{5008, 0, 2496, 5011, 7493, 10006, 12512} {}

void SimAccessory::SetJumpersForLoad(int loadIndex) {
    if (loadIndex < 0 || loadIndex >= LOAD_COUNT)
        return;
    bank = loadIndex <= 1 ? 'A' : 'B';
    resistance = static_cast<char>('1' + loadIndex);
}

int SimAccessory::ConfiguredLoad() const {
    if (resistance < '1' || resistance > '7')
        return -1;
    const int load = resistance - '1';
    const char expectedBank = load <= 1 ? 'A' : 'B';
    return bank == expectedBank ? load : -1;
}

QByteArray SimAccessory::LoadConfigReply(bool linked) const {
    if (!linked || !cableConnected)
        return QByteArray("XX\0\0", 4);
    const int load = ConfiguredLoad();
    const uint16_t added = load >= 0 ? resistances[load] : 0;
    QByteArray reply(4, '\0');
    reply[0] = bank;
    reply[1] = resistance;
    reply[2] = static_cast<char>(added & 0xFF);
    reply[3] = static_cast<char>(added >> 8);
    return reply;
}

SimAccessory::Circuit SimAccessory::CircuitWith(double analyzerOhms) const {
    const int load = ConfiguredLoad();
    const double added = load >= 0 ? resistances[load] / 100.0 : 0.0;
    if (load == 0 && added > 0)
        return {added * analyzerOhms / (added + analyzerOhms), added / (added + analyzerOhms)};
    if (load >= 2)
        return {analyzerOhms + added, 1.0};
    // The 50-ohm setting, or jumpers that form no load: the analyzer's own load alone.
    return {analyzerOhms, 1.0};
}
