#pragma once
// The load accessory of the simulated analyzer: seven jumper sockets (25..175 ohms), two banks, and
// the resistance it adds for each load. With bank A the accessory lies in parallel with the analyzer's
// own load (25 ohms with the 25-ohm jumper, the analyzer's load alone with the 50-ohm jumper); with
// bank B it lies in series (75..175 ohms).

#include "records/tzrtest.h"

#include <QByteArray>
#include <array>
#include <cstdint>

class SimAccessory {
public:
    SimAccessory();

    // The cable between the accessory and the analyzer; unplugged, the analyzer reports "XX".
    bool cableConnected = true;
    // The jumper setting as the accessory reports it. Bank: 'A', 'B', '-' (none), 'E' (both).
    // Resistance: '1'..'7' (25..175 ohms), '-' (none), 'E' (more than one).
    char bank = 'A';
    char resistance = '1';
    // What the accessory adds for each load, 0.01 ohm: in parallel for 25 ohms, nothing for 50 ohms,
    // in series for 75..175 ohms. Close to nominal, as a real accessory's measured values are.
    std::array<uint16_t, LOAD_COUNT> resistances;

    // Sets bank and jumper for load index 0..6.
    void SetJumpersForLoad(int loadIndex);
    // The load index the jumpers form, or -1 when they form none.
    int ConfiguredLoad() const;
    // The 4-byte reply to "RL": bank, resistance, the added resistance little-endian; "XX" and two
    // zero bytes when the accessory is not linked to the analyzer.
    QByteArray LoadConfigReply(bool linked) const;

    // The circuit the defibrillator discharges into: the resistance it sees, and the share of its
    // current that flows through the analyzer's load of `analyzerOhms`.
    struct Circuit {
        double totalOhms;
        double analyzerShare;
    };
    Circuit CircuitWith(double analyzerOhms) const;
};
