#pragma once
// The settings file corvexzr.ini has one owner per program: TSettings. Reads come from a copy in
// memory that is read again whenever the file on disk has changed, so a key another program wrote is
// seen. A write is a read-modify-write under a lock file beside the settings file: the file is read
// afresh, the keys changed, and the whole file replaced at once, so that two programs writing at the
// same time lose nothing of each other's and a crash mid-write never leaves half a file.

#include "base/inifile.h"

#include <QDateTime>
#include <QString>
#include <vector>

// Why a write did not reach the settings file. The file is then exactly as it was.
enum class TSettingsFault {
    None,
    Busy,       // another program held the lock for longer than a write takes
    Unreadable, // the file is there but could not be read: writing it whole would lose its keys
    Unwritable, // the folder or the file may not be written, or the disk is full
};

struct TSettingsStatus {
    TSettingsFault fault = TSettingsFault::None;
    QString reason; // the system's words, with the file's name

    bool Written() const { return fault == TSettingsFault::None; }
};

// Keys to write together, in one locked read-modify-write.
class TSettingsChanges {
public:
    TSettingsChanges& Set(const QString& section, const QString& key, const QString& value);
    TSettingsChanges& Set(const QString& section, const QString& key, int value);
    TSettingsChanges& Append(const TSettingsChanges& more);

    void ApplyTo(IniDocument& document) const;

private:
    struct Change {
        QString section;
        QString key;
        QString value;
    };
    std::vector<Change> m_changes;
};

// Writes `changes` into the file at `path` under its lock, whoever else holds a copy of it.
TSettingsStatus WriteSettingsFile(const QString& path, const TSettingsChanges& changes);

class TSettings {
public:
    explicit TSettings(QString path = QString());
    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;

    // Points at another file (a new data folder); the copy in memory is dropped.
    void SetPath(const QString& path);
    const QString& Path() const { return m_path; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    TSettingsStatus Write(const TSettingsChanges& changes);
    TSettingsStatus WriteString(const QString& section, const QString& key, const QString& value);
    TSettingsStatus WriteInteger(const QString& section, const QString& key, int value);
    TSettingsStatus WriteBool(const QString& section, const QString& key, bool value);

private:
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp StampOf(const QString& path);
    const IniDocument& Current() const;

    QString m_path;
    mutable IniDocument m_document;
    mutable Stamp m_stamp;
    mutable bool m_loaded = false;
};

// The program's settings object, on SettingsFilePath (base/global.h) as it stands at each call: the
// windows and program entries hand it, or the section a module needs, to the code below them.
TSettings& ProgramSettings();
