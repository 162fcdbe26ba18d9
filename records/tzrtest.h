#pragma once
// One load of a variable load test: the analyzer's measurement block, the discharge waveform,
// the data flag and the resistance the load accessory added. The layout is the file layout of a
// *.zrq record, byte for byte, so the structure is packed and checked at compile time.

#include <cstddef>
#include <cstdint>

constexpr int LOAD_COUNT = 7;
constexpr int SAMPLE_COUNT = 5120;
constexpr int MEASUREMENT_BLOCK_SIZE = 66;
constexpr int LOAD_RECORD_SIZE = 10309;

#pragma pack(push, 1)

// The first 66 bytes of the analyzer's "VW" reply. The 18 named 16-bit fields (described in
// records/measurementfields.h) are held in host (little-endian) order once they have been received;
// the other bytes are kept as the analyzer sent them and are not interpreted.
struct TMeasurementBlock {
    uint8_t Head[22];
    uint16_t PeakVoltage1;    // 1 V
    uint16_t PeakCurrent1;    // 0.01 A
    uint16_t Width10_1;       // 0.01 ms
    uint16_t Width50_1;       // 0.01 ms
    uint16_t Energy1;         // 0.1 J
    uint16_t PeakVoltage2;    // 1 V
    uint16_t PeakCurrent2;    // 0.01 A
    uint16_t AvgVoltage1;     // 1 V
    uint16_t AvgVoltage2;     // 1 V
    uint16_t AvgCurrent1;     // 0.01 A
    uint16_t AvgCurrent2;     // 0.01 A
    uint16_t Tilt;            // 0.1 %
    uint16_t Width10_2;       // 0.01 ms
    uint16_t InterphaseDelay; // 0.01 ms
    uint16_t ModulationFreq;  // 1 Hz
    uint16_t DutyCycle;       // 0.1 %
    uint16_t TotalEnergy;     // 0.1 J
    uint8_t Middle[7];
    uint16_t AnalyzerLoad; // 0.01 ohm, at the odd offset 63
    uint8_t Tail;
};

class TZRTest {
public:
    TMeasurementBlock Results;
    int16_t Samples[SAMPLE_COUNT];
    uint8_t HasData;
    uint16_t AccessoryResistance; // 0.01 ohm, from the "RL" reply, little-endian

    TZRTest() { ClearTest(); }
    ~TZRTest() { ClearTest(); }
    TZRTest(const TZRTest&) = delete;
    TZRTest& operator=(const TZRTest&) = delete;

    void ClearTest();
    void CopyTest(const TZRTest& source);
};

#pragma pack(pop)

static_assert(sizeof(TMeasurementBlock) == MEASUREMENT_BLOCK_SIZE);
// The file format pins every offset; records/measurementfields.h checks its table of the fields against them.
static_assert(offsetof(TMeasurementBlock, PeakVoltage1) == 22);
static_assert(offsetof(TMeasurementBlock, PeakCurrent1) == 24);
static_assert(offsetof(TMeasurementBlock, Width10_1) == 26);
static_assert(offsetof(TMeasurementBlock, Width50_1) == 28);
static_assert(offsetof(TMeasurementBlock, Energy1) == 30);
static_assert(offsetof(TMeasurementBlock, PeakVoltage2) == 32);
static_assert(offsetof(TMeasurementBlock, PeakCurrent2) == 34);
static_assert(offsetof(TMeasurementBlock, AvgVoltage1) == 36);
static_assert(offsetof(TMeasurementBlock, AvgVoltage2) == 38);
static_assert(offsetof(TMeasurementBlock, AvgCurrent1) == 40);
static_assert(offsetof(TMeasurementBlock, AvgCurrent2) == 42);
static_assert(offsetof(TMeasurementBlock, Tilt) == 44);
static_assert(offsetof(TMeasurementBlock, Width10_2) == 46);
static_assert(offsetof(TMeasurementBlock, InterphaseDelay) == 48);
static_assert(offsetof(TMeasurementBlock, ModulationFreq) == 50);
static_assert(offsetof(TMeasurementBlock, DutyCycle) == 52);
static_assert(offsetof(TMeasurementBlock, TotalEnergy) == 54);
static_assert(offsetof(TMeasurementBlock, Middle) == 56);
static_assert(offsetof(TMeasurementBlock, AnalyzerLoad) == 63);
static_assert(offsetof(TMeasurementBlock, Tail) == 65);

static_assert(sizeof(TZRTest) == LOAD_RECORD_SIZE);
static_assert(offsetof(TZRTest, Results) == 0);
static_assert(offsetof(TZRTest, Samples) == 66);
static_assert(offsetof(TZRTest, HasData) == 10306);
static_assert(offsetof(TZRTest, AccessoryResistance) == 10307);
