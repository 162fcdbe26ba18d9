#include "base/global.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QStandardPaths>
#include <QTime>

const QString CompanyFolderName = QStringLiteral("Velmora");
const QString ProgramName = QStringLiteral("CorvexZR");
const QString ApplicationTitle = QStringLiteral("Velmora CorvexZR");

QString ExeFolder;
QString DataFolder;
QString SettingsFilePath;

namespace {

QString WithTrailingSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QDate StampDate(const DateStamp& s) {
    const int year = 2000 + s.Year;
    if (!QDate::isValid(year, s.Month, s.Day))
        return QDate(1899, 12, 30);
    return QDate(year, s.Month, s.Day);
}

QTime StampTime(const DateStamp& s) {
    if (s.Hour > 23 || s.Minute > 59 || s.Second > 59)
        return QTime(0, 0, 0);
    return QTime(s.Hour, s.Minute, s.Second);
}

bool StampValid(const DateStamp& s) {
    return QDate::isValid(2000 + s.Year, s.Month, s.Day) && s.Hour <= 23 && s.Minute <= 59 && s.Second <= 59;
}

QString DateText(const QDate& date, const QLocale& locale) {
    return QStringLiteral("%1 %2, %3")
        .arg(locale.monthName(date.month(), QLocale::ShortFormat))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString TimeText(const QTime& time) {
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour12, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

} // namespace

void SetupDataFolderIn(const QString& configFolder) {
    const QString exePath = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    ExeFolder = WithTrailingSeparator(exePath.isEmpty() ? QDir::currentPath() : exePath);
    DataFolder.clear();
    if (!configFolder.isEmpty()) {
        DataFolder = WithTrailingSeparator(configFolder) + CompanyFolderName + QLatin1Char('/') +
                     ProgramName + QLatin1Char('/');
        // A folder that cannot be created is not reported: readers then get their defaults.
        QDir().mkpath(DataFolder);
    } else {
        DataFolder = ExeFolder;
    }
    SettingsFilePath = DataFolder + QStringLiteral("corvexzr.ini");
}

void SetupDataFolder() {
    SetupDataFolderIn(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString FormatStampDateTime(const DateStamp& stamp, const QLocale& locale) {
    // One invalid field makes the whole value the zero date-time, not just its own half.
    if (!StampValid(stamp))
        return DateText(QDate(1899, 12, 30), locale) + QLatin1Char(' ') + TimeText(QTime(0, 0, 0));
    return DateText(StampDate(stamp), locale) + QLatin1Char(' ') + TimeText(StampTime(stamp));
}

QString FormatStampDate(const DateStamp& stamp, const QLocale& locale) {
    return DateText(StampDate(stamp), locale);
}

QString FormatStampTime(const DateStamp& stamp, const QLocale&) {
    return TimeText(StampTime(stamp));
}

QString FormatDate(const QDate& date, const QLocale& locale) {
    return DateText(date, locale);
}

QString FormatDateTime(const QDateTime& when, const QLocale& locale) {
    return DateText(when.date(), locale) + QLatin1Char(' ') + TimeText(when.time());
}
