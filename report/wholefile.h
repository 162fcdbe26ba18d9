#pragma once
// Writing an export (CSV, PDF) the way every save is written: to a temporary file beside the target,
// which replaces the target only once every byte is on disk.

#include <QByteArray>
#include <QString>

// Writes `bytes` to fileName whole, or leaves any earlier file as it was and no half-written one.
// Where the folder takes no new file but the target may be written, the target is written in place.
// Throws EFileError with a one-line message that names the file ("Cannot create file NAME: reason",
// "Cannot write file NAME: reason").
void WriteWholeFile(const QString& fileName, const QByteArray& bytes);
