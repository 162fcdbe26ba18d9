#pragma once
// Reading the test record named on zrqtool's command line.

#include "records/tzrtestrec.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <memory>
#include <optional>

// The 72424 bytes of the record file, or nothing with a one-line message naming the file and the
// problem (missing, a folder, unreadable, not 72424 bytes long).
std::optional<QByteArray> ReadRecordBytes(const QString& path, QString& error);

// The record in the file, or null with a one-line message naming the file and the problem (missing,
// a folder, unreadable, not 72424 bytes long).
std::unique_ptr<TZRTestRec> ReadTestRecord(const QString& path, QString& error);

// The same, writing the message as "zrqtool: ..." to err when the file cannot be used.
std::unique_ptr<TZRTestRec> ReadTestRecord(const QString& path, QTextStream& err);

// A slip of the fingers (zrqtool csv a.zrq a.zrq) must not replace the test with its export: true,
// with "zrqtool: OUT: is the test record itself; the KIND file needs another name" on err, when
// `output` is the record file `input`.
bool OutputIsTheRecord(const QString& input, const QString& output, const char* kind, QTextStream& err);
