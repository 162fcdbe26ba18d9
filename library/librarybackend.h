#pragma once
// What differs between the databases a test library can live in: the Qt SQL driver, how a location
// names a database, the two column types that have no common spelling, and how a connection is set
// up. Everything else (the schema, every query) is written once, in SQL both databases accept.
//
// A location is a file path (SQLite) or the address of a PostgreSQL database (library/postgresaddress.h:
// postgresql://USER@HOST[:PORT]/DBNAME?OPTION=VALUE..., or service=NAME).

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

class TLibraryBackend {
public:
    virtual ~TLibraryBackend() = default;

    // The Qt SQL driver ("QSQLITE", "QPSQL").
    virtual QString DriverName() const = 0;
    // Points `db` at `location` and sets its connection options; returns false with the reason in
    // `why` when the location cannot hold a library (nothing has been opened yet).
    virtual bool Configure(QSqlDatabase& db, const QString& location, QString& why) const = 0;
    // The key column of the tests table, filled by the database, and the column type for a record's bytes.
    virtual QString IdColumnType() const = 0;
    virtual QString BytesColumnType() const = 0;
    // Starts a transaction that writes: taken so that a second writer waits for the first instead of
    // failing half-way (or storing a record the first one is storing too).
    virtual QStringList BeginWriteStatements() const = 0;
    // Statements run once the library is known to be one this program may change (journal mode...).
    virtual QStringList WritableSetup() const = 0;
    // Statements that let the verdict column hold "incomplete" (a version 1 library held four characters).
    virtual QStringList WidenVerdictStatements() const = 0;
    // Statements after which commits on this connection no longer wait for the disk.
    virtual QStringList SkipDiskFlushesStatements() const = 0;
    // The date (ISO 8601, "2027-02-28") `months` calendar months after the date and time `testedAt`,
    // a day past the end of the month falling on its last day: both are SQL expressions.
    virtual QString NextDueExpression(const QString& testedAt, const QString& months) const = 0;
    // `column` folded to lower case for a LIKE against a lower-case pattern.
    virtual QString LowerCase(const QString& column) const { return QStringLiteral("LOWER(%1)").arg(column); }
    // The driver's reason for a failed connection, with its cause named where it is one a technician or
    // the IT department can act on (a refused certificate, a wrong password, ...).
    virtual QString Explain(const QString& driverText) const { return driverText; }
    // True when a failed statement means the connection itself is gone (a server that went away),
    // so that opening it again may help.
    virtual bool ConnectionLost(const QSqlDatabase& db) const = 0;
};

// True for a location naming a PostgreSQL database (either form of address).
bool IsPostgresLocation(const QString& location);

// The backend for `location`: PostgreSQL for a database address, SQLite for anything else (a file path).
std::unique_ptr<TLibraryBackend> BackendFor(const QString& location);

// The location as messages show it: a file path with the platform's separators, an address without its
// password.
QString DisplayLocation(const QString& location);

// The library the program uses when none is named: library.sqlite in the data folder.
QString DefaultLibraryLocation();

class TSettings;

// The library named in the settings ([Library] DATABASE=), else the default one.
QString ConfiguredLibraryLocation(const TSettings& settings);
