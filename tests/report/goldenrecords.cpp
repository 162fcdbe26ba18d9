#include "tests/report/goldenrecords.h"

#include "tests/support/recordbuilder.h"

std::unique_ptr<TZRTestRec> MakeLoad75Record() {
    auto rec = std::make_unique<TZRTestRec>();
    SetStatus(*rec, "ZR-000075", DateStamp{59, 59, 23, 31, 12, 25});
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("BME-0075"));
    rec->SetDeviceInfo(diManufacturer, QStringLiteral("Acme Medical"));
    rec->SetDeviceInfo(diModel, QStringLiteral("LifeKeeper 2"));
    FillLoad(*rec, 2, 3, 5000, 2500);
    return rec;
}

std::unique_ptr<TZRTestRec> MakeEmptyRecord() {
    return std::make_unique<TZRTestRec>();
}

std::unique_ptr<TZRTestRec> MakeEdgeRecord() {
    auto rec = std::make_unique<TZRTestRec>();
    // Sixteen characters and no NUL: the ID runs right up to the date bytes. Feb 29 of a leap year at
    // midnight (12 AM).
    SetStatus(*rec, "ANALYZER-ID-0016", DateStamp{0, 0, 0, 29, 2, 12});
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("DEFIB-UNIT-0123456789-ABCDEFGH"));     // 30
    rec->SetDeviceInfo(diManufacturer, QStringLiteral("Manufacturer With A Long Name!")); // 30
    rec->SetDeviceInfo(diModel, QStringLiteral("Mod\u00e8le \u00c9t\u00e9"));             // Latin-1
    rec->SetDeviceInfo(diFacility, QStringLiteral("Exactly Twenty-Four Char"));           // 24
    rec->SetDeviceInfo(diLocation, QStringLiteral("Twenty-Five Characters..."));          // 25
    rec->SetDeviceInfo(diTechID, QStringLiteral("T"));

    // 25 ohms without an accessory resistance: shown uncorrected.
    FillLoad(*rec, 0, 3, 5000, 0);

    // 50 ohms: 1234.5 J total is cut to " 1234"; a first phase larger than the total gives a negative
    // second phase (-765.5 J, cut to " -765"); the largest peak voltage.
    FillLoad(*rec, 1, 4, 4987, 0);
    rec->Loads[1].Results.TotalEnergy = 12345;
    rec->Loads[1].Results.Energy1 = 20000;
    rec->Loads[1].Results.PeakVoltage1 = 65535;

    // 75 ohms: fields filled but no data: nothing shown, zeros in the CSV.
    FillLoad(*rec, 2, 5, 5000, 2500);
    rec->Loads[2].HasData = 0;

    // 100 ohms: an analyzer load of 0.01 ohm and the largest accessory: k = 65536, voltages and
    // energies in the billions; any nonzero HasData counts.
    FillLoad(*rec, 3, 6, 1, 65535);
    rec->Loads[3].HasData = 0xFF;

    // 125 ohms: a full-scale negative sample sets the scale (M = 32768).
    FillLoad(*rec, 4, 7, 5000, 7500, 32767);
    rec->Loads[4].Samples[3000] = -32768;

    // 150 ohms: a silent waveform.
    FillLoad(*rec, 5, 8, 5000, 10000);
    for (int16_t& s : rec->Loads[5].Samples)
        s = 0;

    // 175 ohms: 50.00 + 125.43 ohms, cut to "175.4".
    FillLoad(*rec, 6, 9, 5000, 12543);
    return rec;
}

const std::vector<GoldenRecord>& GoldenRecords() {
    static const std::vector<GoldenRecord> records = {
        {QStringLiteral("full"), MakeFullRecord},
        {QStringLiteral("load75"), MakeLoad75Record},
        {QStringLiteral("empty"), MakeEmptyRecord},
        {QStringLiteral("edge"), MakeEdgeRecord},
    };
    return records;
}
