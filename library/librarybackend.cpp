#include "library/librarybackend.h"

#include "base/global.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// How long a writer waits for another program's write on the same library before giving up.
constexpr int BusyTimeoutMs = 10000;

class SqliteBackend : public TLibraryBackend {
public:
    QString DriverName() const override { return QStringLiteral("QSQLITE"); }

    bool Configure(QSqlDatabase& db, const QString& location, QString& why) const override {
        const QFileInfo file(location);
        if (file.exists() && !file.isFile()) {
            why = QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(location));
            return false;
        }
        if (!file.dir().exists()) {
            why = QStringLiteral("The folder %1 does not exist.")
                      .arg(QDir::toNativeSeparators(file.dir().path()));
            return false;
        }
        db.setDatabaseName(location);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        return true;
    }

    QString IdColumnType() const override { return QStringLiteral("INTEGER PRIMARY KEY"); }
    QString BytesColumnType() const override { return QStringLiteral("BLOB"); }
    // A plain BEGIN takes the write lock only at the first write; a second writer that read first
    // then gets "database is locked" at once, without waiting out the busy timeout.
    QString BeginWriteStatement() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QStringList WritableSetup() const override {
        return {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA foreign_keys=ON")};
    }
};

} // namespace

std::unique_ptr<TLibraryBackend> BackendFor(const QString&) {
    return std::make_unique<SqliteBackend>();
}

QString DefaultLibraryLocation() {
    return DataFolder + QStringLiteral("library.sqlite");
}
