#pragma once
// Values shared by every window: the product name, the per-user data folder with the settings file,
// and the formatting of the analyzer's date stamps.

#include "base/datestamp.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

extern const QString CompanyFolderName; // "Velmora"
extern const QString ProgramName;       // "CorvexZR"
extern const QString ApplicationTitle;  // "Velmora CorvexZR", the application's title

// Set by SetupDataFolder; empty before it has run. Folders end with a separator.
extern QString ExeFolder;
extern QString DataFolder;
extern QString SettingsFilePath;

// Sets the three paths above from the per-user configuration folder, creating the data folder and
// its parents when missing. Falls back to the executable's folder when there is no configuration
// folder. Run once by the main window before any setting is read.
void SetupDataFolder();
// The same with the configuration folder given (empty: none), for tools and tests.
void SetupDataFolderIn(const QString& configFolder);

// "mmm dd, yyyy hh:mm:ss AM/PM", "mmm dd, yyyy" and "hh:mm:ss AM/PM". A stamp that is not a valid
// date or time gives the zero date-time, 30 December 1899 at midnight. The month name comes from
// the locale (the default locale is the user's).
QString FormatStampDateTime(const DateStamp& stamp, const QLocale& locale = QLocale());
QString FormatStampDate(const DateStamp& stamp, const QLocale& locale = QLocale());
QString FormatStampTime(const DateStamp& stamp, const QLocale& locale = QLocale());
// A date and a date and time written as the stamps are: "mmm dd, yyyy" and "mmm dd, yyyy hh:mm:ss AM/PM".
QString FormatDate(const QDate& date, const QLocale& locale = QLocale());
QString FormatDateTime(const QDateTime& when, const QLocale& locale = QLocale());
