#pragma once
// The records behind the golden reports and CSV files, built from fixed values so that the golden
// files can always be made again from this code.

#include "records/tzrtestrec.h"

#include <QString>
#include <memory>
#include <vector>

struct GoldenRecord {
    QString name; // the golden files are tests/data/report/<name>.txt and <name>.csv
    std::unique_ptr<TZRTestRec> (*make)();
};

// "full": every load and every device slot (MakeFullRecord).
// "load75": only the 75 ohm load tested.
// "empty": a fresh record, nothing tested, every slot empty, an all-zero status block.
// "edge": values that need cutting, negative values, the 16-character analyzer ID, 30-character
//   device texts, Latin-1 letters, HasData other than 1, a load without data whose fields are not
//   zero, a silent waveform and a sample of -32768.
const std::vector<GoldenRecord>& GoldenRecords();

std::unique_ptr<TZRTestRec> MakeLoad75Record();
std::unique_ptr<TZRTestRec> MakeEmptyRecord();
std::unique_ptr<TZRTestRec> MakeEdgeRecord();
