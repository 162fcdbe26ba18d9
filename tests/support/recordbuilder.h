#pragma once
// Records built from fixed values, so golden files can be regenerated from the test code alone.

#include "records/tzrtestrec.h"

#include <QByteArray>
#include <QString>
#include <memory>

// Status block with the given analyzer ID and date stamp (second, minute, hour, day, month, year-2000).
void SetStatus(TZRTestRec& rec, const char* analyzerId, DateStamp stamp);

// Fills load `index` with a plausible biphasic discharge derived from `seed` (no randomness): the
// measurement block, a waveform whose largest magnitude is `peakCount`, HasData = 1 and the given
// accessory resistance in 0.01 ohm.
void FillLoad(TZRTestRec& rec, int index, int seed, uint16_t analyzerLoad, uint16_t accessory,
              int peakCount = 20000);

// A record with all seven loads tested and every device slot filled.
std::unique_ptr<TZRTestRec> MakeFullRecord();

// The record's bytes, and a record made from bytes (which must be 72424 long).
QByteArray RecordBytes(const TZRTestRec& rec);
std::unique_ptr<TZRTestRec> RecordFromBytes(const QByteArray& bytes);
// Where load `load` (0..6) starts within the record's bytes.
qsizetype LoadByteOffset(int load);

// Writes bytes to a file, replacing it.
void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);
