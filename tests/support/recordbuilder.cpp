#include "tests/support/recordbuilder.h"

#include <QFile>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <stdexcept>

void SetStatus(TZRTestRec& rec, const char* analyzerId, DateStamp stamp) {
    for (int i = 0; i < ANALYZER_STATUS_SIZE; ++i)
        rec.AnalyzerStatus[i] = static_cast<uint8_t>(0xA0 + i); // bytes the program carries uninterpreted
    std::memset(rec.AnalyzerStatus + ANALYZER_ID_OFFSET, 0, ANALYZER_ID_SIZE);
    std::memcpy(rec.AnalyzerStatus + ANALYZER_ID_OFFSET, analyzerId, strnlen(analyzerId, ANALYZER_ID_SIZE));
    std::memcpy(rec.AnalyzerStatus + TEST_DATE_TIME_OFFSET, &stamp, sizeof stamp);
}

void FillLoad(TZRTestRec& rec, int index, int seed, uint16_t analyzerLoad, uint16_t accessory,
              int peakCount) {
    TZRTest& t = rec.Loads[index];
    TMeasurementBlock& b = t.Results;
    for (int i = 0; i < 22; ++i)
        b.Head[i] = static_cast<uint8_t>(seed + i);
    b.PeakVoltage1 = static_cast<uint16_t>(1500 + 37 * seed);
    b.PeakCurrent1 = static_cast<uint16_t>(3000 + 113 * seed);
    b.Width10_1 = static_cast<uint16_t>(520 + 7 * seed);
    b.Width50_1 = static_cast<uint16_t>(310 + 5 * seed);
    b.Energy1 = static_cast<uint16_t>(1234 + 11 * seed);
    b.PeakVoltage2 = static_cast<uint16_t>(900 + 23 * seed);
    b.PeakCurrent2 = static_cast<uint16_t>(1800 + 71 * seed);
    b.AvgVoltage1 = static_cast<uint16_t>(1100 + 19 * seed);
    b.AvgVoltage2 = static_cast<uint16_t>(700 + 13 * seed);
    b.AvgCurrent1 = static_cast<uint16_t>(2200 + 61 * seed);
    b.AvgCurrent2 = static_cast<uint16_t>(1400 + 41 * seed);
    b.Tilt = static_cast<uint16_t>(555 + 3 * seed);
    b.Width10_2 = static_cast<uint16_t>(380 + 9 * seed);
    b.InterphaseDelay = static_cast<uint16_t>(40 + seed);
    b.ModulationFreq = static_cast<uint16_t>(seed * 17);
    b.DutyCycle = static_cast<uint16_t>(seed * 29);
    b.TotalEnergy = static_cast<uint16_t>(1900 + 17 * seed);
    for (int i = 0; i < 7; ++i)
        b.Middle[i] = static_cast<uint8_t>(0x50 + seed + i);
    b.AnalyzerLoad = analyzerLoad;
    b.Tail = static_cast<uint8_t>(0x77 + seed);

    // A truncated exponential first phase, a short gap and a negative second phase, with the
    // largest magnitude exactly peakCount.
    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        double v = 0.0;
        if (j >= 20 && j < 620)
            v = peakCount * std::exp(-(j - 20) / (900.0 + 40 * seed));
        else if (j >= 640 && j < 1040)
            v = -0.6 * peakCount * std::exp(-(j - 640) / (700.0 + 30 * seed));
        t.Samples[j] = static_cast<int16_t>(std::lround(v));
    }
    t.HasData = 1;
    t.AccessoryResistance = accessory;
}

std::unique_ptr<TZRTestRec> MakeFullRecord() {
    auto rec = std::make_unique<TZRTestRec>();
    SetStatus(*rec, "ZR-004711", DateStamp{5, 7, 14, 3, 9, 13});
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("BME-0042"));
    rec->SetDeviceInfo(diSerialNo, QStringLiteral("SN 99-1234"));
    rec->SetDeviceInfo(diManufacturer, QStringLiteral("Acme Medical"));
    rec->SetDeviceInfo(diModel, QStringLiteral("LifeKeeper 3"));
    rec->SetDeviceInfo(diFacility, QStringLiteral("General Hospital"));
    rec->SetDeviceInfo(diLocation, QStringLiteral("ER Bay 4"));
    rec->SetDeviceInfo(diTechID, QStringLiteral("JD"));
    const uint16_t accessory[LOAD_COUNT] = {5000, 0, 2500, 5000, 7500, 10000, 12500};
    for (int i = 0; i < LOAD_COUNT; ++i)
        FillLoad(*rec, i, i + 1, 5000, accessory[i]);
    return rec;
}

QByteArray RecordBytes(const TZRTestRec& rec) {
    return QByteArray(reinterpret_cast<const char*>(&rec), sizeof rec);
}

qsizetype LoadByteOffset(int load) {
    return static_cast<qsizetype>(offsetof(TZRTestRec, Loads) + static_cast<size_t>(load) * sizeof(TZRTest));
}

std::unique_ptr<TZRTestRec> RecordFromBytes(const QByteArray& bytes) {
    if (bytes.size() != TEST_RECORD_SIZE)
        throw std::invalid_argument("a record needs 72424 bytes");
    auto rec = std::make_unique<TZRTestRec>();
    std::memcpy(static_cast<void*>(rec.get()), bytes.constData(), TEST_RECORD_SIZE);
    return rec;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
