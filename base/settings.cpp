#include "base/settings.h"

#include "base/global.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace {

// A write takes milliseconds; a lock held longer is another program stuck or gone (then stale).
constexpr int LockWaitMs = 5000;
constexpr int StaleLockMs = 30000;
// File times are only as fine as the file system's clock tick, so a file changed this recently may
// have changed again without its time or size showing it: it is read afresh.
constexpr qint64 SettleMs = 2000;

QString Named(const QString& what, const QString& path) {
    return what + QStringLiteral(" (") + QDir::toNativeSeparators(path) + QLatin1Char(')');
}

TSettingsStatus Fault(TSettingsFault fault, const QString& reason) {
    return TSettingsStatus{fault, reason};
}

} // namespace

TSettingsChanges& TSettingsChanges::Set(const QString& section, const QString& key, const QString& value) {
    m_changes.push_back({section, key, value});
    return *this;
}

TSettingsChanges& TSettingsChanges::Set(const QString& section, const QString& key, int value) {
    return Set(section, key, QString::number(value));
}

TSettingsChanges& TSettingsChanges::Append(const TSettingsChanges& more) {
    m_changes.insert(m_changes.end(), more.m_changes.begin(), more.m_changes.end());
    return *this;
}

void TSettingsChanges::ApplyTo(IniDocument& document) const {
    for (const Change& change : m_changes)
        document.Set(change.section, change.key, change.value);
}

TSettingsStatus WriteSettingsFile(const QString& path, const TSettingsChanges& changes) {
    if (path.isEmpty())
        return Fault(TSettingsFault::Unwritable, QStringLiteral("No settings file has been set up"));
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return Fault(TSettingsFault::Busy,
                         Named(QStringLiteral("Another program holds the settings file"), path));
        return Fault(TSettingsFault::Unwritable,
                     Named(QStringLiteral("The settings file's lock cannot be created"),
                           path + QStringLiteral(".lock")));
    }
    // Read under the lock: what another program wrote a moment ago is kept.
    IniDocument document;
    QFile current(path);
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly))
            return Fault(TSettingsFault::Unreadable, Named(current.errorString(), path));
        document = IniDocument::Parse(current.readAll());
        current.close();
    }
    changes.ApplyTo(document);

    QSaveFile file(path);
    // Unbuffered: a buffered write that the disk takes only in part is flushed at commit without an
    // error, and a shortened file would replace the whole one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fault(TSettingsFault::Unwritable, Named(file.errorString(), path));
    const QByteArray bytes = document.Bytes();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.error() == QFileDevice::NoError
                                   ? QStringLiteral("Only part of the file could be written")
                                   : file.errorString();
        file.cancelWriting();
        return Fault(TSettingsFault::Unwritable, Named(reason, path));
    }
    if (!file.commit())
        return Fault(TSettingsFault::Unwritable, Named(file.errorString(), path));
    return TSettingsStatus{};
}

TSettings::TSettings(QString path) : m_path(std::move(path)) {}

void TSettings::SetPath(const QString& path) {
    m_path = path;
    m_loaded = false;
    m_document = IniDocument();
}

TSettings::Stamp TSettings::StampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return Stamp{};
    return Stamp{true, info.size(), info.lastModified()};
}

const IniDocument& TSettings::Current() const {
    const Stamp now = StampOf(m_path);
    const bool settled = now.exists && now.modified.msecsTo(QDateTime::currentDateTime()) > SettleMs;
    if (m_loaded && now == m_stamp && (settled || !now.exists))
        return m_document;
    // The stamp before the text: a change in between makes the next read read again.
    m_stamp = now;
    m_document = IniDocument();
    QFile file(m_path);
    if (now.exists && file.open(QIODevice::ReadOnly))
        m_document = IniDocument::Parse(file.readAll());
    m_loaded = true;
    return m_document;
}

QString TSettings::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    return IniString(Current(), section, key, defaultValue);
}

int TSettings::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    return IniInteger(Current(), section, key, defaultValue);
}

bool TSettings::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

TSettingsStatus TSettings::Write(const TSettingsChanges& changes) {
    const TSettingsStatus status = WriteSettingsFile(m_path, changes);
    // Another program may write between this write and its stamp; the next read reads the file again.
    if (status.Written())
        m_loaded = false;
    return status;
}

TSettingsStatus TSettings::WriteString(const QString& section, const QString& key, const QString& value) {
    return Write(TSettingsChanges().Set(section, key, value));
}

TSettingsStatus TSettings::WriteInteger(const QString& section, const QString& key, int value) {
    return Write(TSettingsChanges().Set(section, key, value));
}

TSettingsStatus TSettings::WriteBool(const QString& section, const QString& key, bool value) {
    return WriteInteger(section, key, value ? 1 : 0);
}

TSettings& ProgramSettings() {
    static TSettings settings;
    if (settings.Path() != SettingsFilePath)
        settings.SetPath(SettingsFilePath);
    return settings;
}
