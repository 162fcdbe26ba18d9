#pragma once
// A *.zrq file's bytes and the test record they hold. The file is the record's byte image: exactly
// 72424 bytes, no header, every value little-endian as the record holds it. The file load and save,
// and anything else that has a record's bytes in hand, go through these two.

#include "records/tzrtestrec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The record's 72424 bytes, as a file holds them.
QByteArray EncodeTestRecord(const TZRTestRec& rec);
// Fills `rec` from `bytes` when they are a whole record and returns true. Otherwise returns false and
// says why in `why`; `rec` is left as it was.
bool DecodeTestRecord(QByteArrayView bytes, TZRTestRec& rec, QString& why);

// The SHA-256 of the record's bytes in 64 lower-case hex digits: the fingerprint of the file the record is
// saved as, which ties a printed document to one file.
QString RecordSha256(const TZRTestRec& rec);
// The same of a record's bytes as they stand.
QString RecordSha256(QByteArrayView bytes);
