#pragma once
// The folder last used for each kind of file the program saves, kept in the settings file's
// [Folders] section, one key per kind, so that each save dialog opens where its kind went last.

#include "base/settings.h"

#include <QString>

// Keys of the [Folders] section (inline: ready before any static that names them).
inline const QString TestRecordFolderKey = QStringLiteral("TEST_RECORDS");
inline const QString CsvFolderKey = QStringLiteral("CSV");
inline const QString PdfFolderKey = QStringLiteral("PDF");

// The folder last used for `kind`, or an empty string when none is stored or it has gone (a USB
// stick taken out).
QString LastFolder(const TSettings& settings, const QString& kind);
// Remembers the folder of `filePath` for `kind`. A settings file that cannot be written keeps the
// old folder: the file itself has been chosen all the same.
void RememberFolder(TSettings& settings, const QString& kind, const QString& filePath);
