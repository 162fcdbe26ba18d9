#include "library/librarybackend.h"

#include "base/global.h"
#include "base/settings.h"
#include "library/postgresaddress.h"
#include "library/postgreserrors.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

// How long a writer waits for another program's write on the same library before giving up.
constexpr int BusyTimeoutMs = 10000;
// How long a program waits for a PostgreSQL server that does not answer.
constexpr int ConnectTimeoutSeconds = 10;

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
    QStringList BeginWriteStatements() const override { return {QStringLiteral("BEGIN IMMEDIATE")}; }
    QStringList WritableSetup() const override {
        return {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA foreign_keys=ON")};
    }
    // SQLite keeps any length of text whatever the column's declared type.
    QStringList WidenVerdictStatements() const override { return {}; }
    QStringList SkipDiskFlushesStatements() const override {
        return {QStringLiteral("PRAGMA synchronous=OFF")};
    }
    bool ConnectionLost(const QSqlDatabase&) const override { return false; }
    // SQLite's "+N months" runs on past the month's end (Jan 31 + 1 month is Mar 3): the earlier of it
    // and the last day of the month it should be in.
    QString NextDueExpression(const QString& testedAt, const QString& months) const override {
        return QStringLiteral("MIN(date(%1, '+' || (%2) || ' months'), "
                              "date(%1, 'start of month', '+' || ((%2) + 1) || ' months', '-1 day'))")
            .arg(testedAt, months);
    }
    // SQLite's LIKE ignores the case of ASCII letters, and its LOWER knows no others: the column as it
    // is, which makes a search of 100 000 devices three times faster.
    QString LowerCase(const QString& column) const override { return column; }
};

class PostgresBackend : public TLibraryBackend {
public:
    QString DriverName() const override { return QStringLiteral("QPSQL"); }

    bool Configure(QSqlDatabase& db, const QString& location, QString& why) const override {
        std::optional<PostgresAddress> address = ParsePostgresAddress(location, why);
        if (!address)
            return false;
        if (!address->HasOption(QStringLiteral("connect_timeout")))
            address->options.append(
                {QStringLiteral("connect_timeout"), QString::number(ConnectTimeoutSeconds)});
        db.setHostName(address->host);
        db.setPort(address->port);
        db.setUserName(address->user);
        db.setPassword(address->password);
        db.setDatabaseName(address->dbname);
        db.setConnectOptions(address->ConnectOptions());
        return true;
    }

    QString Explain(const QString& driverText) const override { return ExplainPostgresError(driverText); }

    QString IdColumnType() const override { return QStringLiteral("BIGSERIAL PRIMARY KEY"); }
    QString BytesColumnType() const override { return QStringLiteral("BYTEA"); }
    // One writer at a time, across every program sharing the database: the second waits at the lock,
    // then finds the record the first one stored. The lock needs no table, so it also guards the
    // creation of the tables.
    QStringList BeginWriteStatements() const override {
        return {QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(7226104572)")};
    }
    QStringList WritableSetup() const override { return {}; }
    QString NextDueExpression(const QString& testedAt, const QString& months) const override {
        return QStringLiteral("to_char(CAST(%1 AS timestamp) + make_interval(months => CAST(%2 AS integer)), "
                              "'YYYY-MM-DD')")
            .arg(testedAt, months);
    }
    QStringList WidenVerdictStatements() const override {
        return {QStringLiteral("ALTER TABLE tests ALTER COLUMN verdict TYPE VARCHAR(16)")};
    }
    QStringList SkipDiskFlushesStatements() const override {
        return {QStringLiteral("SET synchronous_commit = off")};
    }
    bool ConnectionLost(const QSqlDatabase& db) const override {
        QSqlQuery q(db);
        return !q.exec(QStringLiteral("SELECT 1"));
    }
};

} // namespace

bool IsPostgresLocation(const QString& location) {
    return IsPostgresAddress(location);
}

std::unique_ptr<TLibraryBackend> BackendFor(const QString& location) {
    if (IsPostgresLocation(location))
        return std::make_unique<PostgresBackend>();
    return std::make_unique<SqliteBackend>();
}

QString DisplayLocation(const QString& location) {
    if (!IsPostgresLocation(location))
        return QDir::toNativeSeparators(location);
    return DisplayPostgresAddress(location);
}

QString DefaultLibraryLocation() {
    return DataFolder + QStringLiteral("library.sqlite");
}

QString ConfiguredLibraryLocation(const TSettings& settings) {
    const QString named =
        settings.ReadString(QStringLiteral("Library"), QStringLiteral("DATABASE"), QString()).trimmed();
    return named.isEmpty() ? DefaultLibraryLocation() : named;
}
