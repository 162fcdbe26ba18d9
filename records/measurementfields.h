#pragma once
// The 18 named fields of the analyzer's measurement block, described once: where each stands in the
// block, which load result it becomes, how many counts make one unit, how the load accessory's
// resistance corrects it, and what the report, the CSV export, the measurement panel and
// `zrqtool info` call it. The record image, the wire's byte order, the load results, those outputs and
// the simulated analyzer all take the fields from this table; each output keeps only its own order.

#include "records/tzrtest.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

// The values of one load shown to the user: the actual load, then one value for each field of the
// block but the analyzer's load, in the order of the block.
enum TLoadResultIndex {
    lrActualLoad = 0,
    lrPeakVoltage1,
    lrPeakCurrent1,
    lrWidth10_1,
    lrWidth50_1,
    lrEnergy1,
    lrPeakVoltage2,
    lrPeakCurrent2,
    lrAvgVoltage1,
    lrAvgVoltage2,
    lrAvgCurrent1,
    lrAvgCurrent2,
    lrTilt,
    lrWidth10_2,
    lrInterphaseDelay,
    lrModulationFreq,
    lrDutyCycle,
    lrTotalEnergy,
    LOAD_RESULT_COUNT
};

// What a field measures: its unit, how many counts make one unit and how its value is shown. The
// accessory's resistance corrects the values by quantity: in parallel with the analyzer (the 25 ohm load)
// it takes part of the current, in series (75..175 ohms) part of the voltage, and the energy both ways;
// the analyzer's load becomes the actual load.
enum TQuantity { qVoltage, qCurrent, qEnergy, qTime, qPercent, qFrequency, qLoad };

struct TQuantityFormat {
    int countsPerUnit;
    int decimals;      // in the report, the CSV export and `zrqtool info`
    int panelDecimals; // in the measurement panel, which shows the corrected values finer
    const char* unit;  // after the panel's value
};

inline constexpr TQuantityFormat QuantityFormats[] = {
    {1, 0, 2, " V"},      // qVoltage: 1 V a count
    {100, 2, 2, " A"},    // qCurrent: 0.01 A
    {10, 1, 2, " J"},     // qEnergy: 0.1 J
    {100, 2, 2, " msec"}, // qTime: 0.01 ms
    {10, 1, 1, " %"},     // qPercent: 0.1 %
    {1, 0, 0, " Hz"},     // qFrequency: 1 Hz
    {100, 2, 2, " ohms"}, // qLoad: 0.01 ohm
};
static_assert(std::size(QuantityFormats) == qLoad + 1);

struct TMeasurementField {
    size_t offset; // of the 16-bit field in TMeasurementBlock
    TLoadResultIndex result;
    TQuantity quantity;
    const char* reportLabel; // at most 25 characters; the report pads it to its label column
    const char* csvLabel;    // nullptr where the CSV export has no row for the field
    const char* caption;     // the measurement panel's row; nullptr where it has none
    const char* valueLabel;  // the object name of the panel's value label
    const char* infoTitle;   // the column of `zrqtool info`; nullptr where it has none

    constexpr const TQuantityFormat& Format() const { return QuantityFormats[quantity]; }
};

// In the order of the block.
// clang-format off
inline constexpr TMeasurementField MeasurementFields[] = {
    // field                                       result             quantity    report label                 CSV label                   panel caption        value label      info title
    {offsetof(TMeasurementBlock, PeakVoltage1),    lrPeakVoltage1,    qVoltage,   "PEAK Voltage (Volts)",      "PEAK (+) VOLTAGE (volts)", "Peak Voltage:",     "lblVoltsP1",    "Peak voltage (V)"},
    {offsetof(TMeasurementBlock, PeakCurrent1),    lrPeakCurrent1,    qCurrent,   "PEAK CURRENT (Amps)",       "PEAK (+) CURRENT (Amps)",  "Peak Current:",     "lblAmpsP1",     "Peak current (A)"},
    {offsetof(TMeasurementBlock, Width10_1),       lrWidth10_1,       qTime,      "WIDTH @ 10% (msec)",        "WIDTH (+) @ 10% (msec)",   "Pulse Width 10%:",  "lblWidthPos10", nullptr},
    {offsetof(TMeasurementBlock, Width50_1),       lrWidth50_1,       qTime,      "WIDTH @ 50% (msec)",        "WIDTH (+) @ 50% (msec)",   "Pulse Width 50%:",  "lblWidthPos50", nullptr},
    {offsetof(TMeasurementBlock, Energy1),         lrEnergy1,         qEnergy,    "ENERGY (J)",                nullptr,                    "Energy:",           "lblEnergy1",    nullptr},
    {offsetof(TMeasurementBlock, PeakVoltage2),    lrPeakVoltage2,    qVoltage,   "PEAK VOLTAGE (Volts)",      "PEAK (-) VOLTAGE (volts)", "Peak Voltage:",     "lblVoltsP2",    nullptr},
    {offsetof(TMeasurementBlock, PeakCurrent2),    lrPeakCurrent2,    qCurrent,   "PEAK CURRENT (Amps)",       "PEAK (-) CURRENT (Amps)",  "Peak Current:",     "lblAmpsP2",     nullptr},
    {offsetof(TMeasurementBlock, AvgVoltage1),     lrAvgVoltage1,     qVoltage,   "AVERAGE Voltage (Volts)",   nullptr,                    "Average Voltage:",  "lblVoltsA1",    nullptr},
    {offsetof(TMeasurementBlock, AvgVoltage2),     lrAvgVoltage2,     qVoltage,   "AVERAGE VOLTAGE (Volts)",   nullptr,                    "Average Voltage:",  "lblVoltsA2",    nullptr},
    {offsetof(TMeasurementBlock, AvgCurrent1),     lrAvgCurrent1,     qCurrent,   "AVERAGE CURRENT (Amps)",    nullptr,                    "Average Current:",  "lblAmpsA1",     nullptr},
    {offsetof(TMeasurementBlock, AvgCurrent2),     lrAvgCurrent2,     qCurrent,   "AVERAGE CURRENT (Amps)",    nullptr,                    "Average Current:",  "lblAmpsA2",     nullptr},
    {offsetof(TMeasurementBlock, Tilt),            lrTilt,            qPercent,   "TILT (%)",                  nullptr,                    "Tilt:",             "lblTilt",       nullptr},
    {offsetof(TMeasurementBlock, Width10_2),       lrWidth10_2,       qTime,      "WIDTH @ 10% (msec)",        "WIDTH (-) @ 10% (msec)",   "Pulse Width 10%:",  "lblWidthNeg10", nullptr},
    {offsetof(TMeasurementBlock, InterphaseDelay), lrInterphaseDelay, qTime,      "INTERPHASE DELAY (msec)",   nullptr,                    "Interphase Delay:", "lblDelay",      nullptr},
    {offsetof(TMeasurementBlock, ModulationFreq),  lrModulationFreq,  qFrequency, "MODULATION FREQUENCY (Hz)", nullptr,                    "Frequency:",        "lblFreq",       nullptr},
    {offsetof(TMeasurementBlock, DutyCycle),       lrDutyCycle,       qPercent,   "DUTY CYCLE (%)",            nullptr,                    "Duty Cycle:",       "lblDuty",       nullptr},
    {offsetof(TMeasurementBlock, TotalEnergy),     lrTotalEnergy,     qEnergy,    "DISCHARGE ENERGY (J)",      "DISCHARGE ENERGY (J)",     "Total Energy:",     "lblEnergy",     "Energy (J)"},
    {offsetof(TMeasurementBlock, AnalyzerLoad),    lrActualLoad,      qLoad,      "ACTUAL LOAD (ohms)",        "ACTUAL LOAD (ohms)",       nullptr,             nullptr,         "Actual load (ohms)"},
};
// clang-format on

// The table against the block's layout: every 16-bit field from PeakVoltage1 up to the uninterpreted
// Middle bytes, then AnalyzerLoad, each once and in order, and nothing else (not Head, Middle or Tail).
// Thus no field is converted twice, and none is left in the analyzer's byte order.
consteval bool FieldsMatchTheBlock() {
    constexpr size_t count = std::size(MeasurementFields);
    size_t i = 0;
    for (size_t at = offsetof(TMeasurementBlock, PeakVoltage1); at < offsetof(TMeasurementBlock, Middle);
         at += sizeof(uint16_t), ++i)
        if (i == count || MeasurementFields[i].offset != at)
            return false;
    return i + 1 == count && MeasurementFields[i].offset == offsetof(TMeasurementBlock, AnalyzerLoad);
}
static_assert(FieldsMatchTheBlock(), "the table's fields must be exactly the block's 16-bit fields");

// Every load result comes from exactly one field.
consteval bool EveryResultOnce() {
    int seen[LOAD_RESULT_COUNT] = {};
    for (const TMeasurementField& field : MeasurementFields)
        ++seen[field.result];
    for (int n : seen)
        if (n != 1)
            return false;
    return std::size(MeasurementFields) == LOAD_RESULT_COUNT;
}
static_assert(EveryResultOnce(), "every load result must come from exactly one field");

// The field that becomes a load result (the actual load comes from the analyzer's load).
constexpr const TMeasurementField& ResultField(int result) {
    for (const TMeasurementField& field : MeasurementFields)
        if (field.result == result)
            return field;
    return MeasurementFields[0]; // not reached: every result has its field
}

// A field's label in an output that shows it. The outputs make their rows at compile time, so that a row
// for a field that has no label in that output does not compile.
constexpr const char* ShownLabel(const char* label) {
    if (label == nullptr)
        std::abort(); // not a constant expression
    return label;
}

// The counts of a field. Copied byte-wise: the block of a load inside a record, and AnalyzerLoad in any
// block, lie at odd addresses.
inline uint16_t FieldCounts(const TMeasurementBlock& block, const TMeasurementField& field) {
    uint16_t counts;
    std::memcpy(&counts, reinterpret_cast<const uint8_t*>(&block) + field.offset, sizeof counts);
    return counts;
}

inline void SetFieldCounts(TMeasurementBlock& block, const TMeasurementField& field, uint16_t counts) {
    std::memcpy(reinterpret_cast<uint8_t*>(&block) + field.offset, &counts, sizeof counts);
}

// The field in its unit, in single precision. The quotients are exactly the floats 0.01f, 0.1f and 1.0f,
// as the division is rounded correctly.
inline float FieldValue(const TMeasurementBlock& block, const TMeasurementField& field) {
    const float unitsPerCount = 1.0f / static_cast<float>(field.Format().countsPerUnit);
    return static_cast<float>(FieldCounts(block, field)) * unitsPerCount;
}
static_assert(1.0f / 100 == 0.01f && 1.0f / 10 == 0.1f);
