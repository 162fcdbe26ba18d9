#pragma once
// The address of a shared library on a PostgreSQL server, as the settings file names it:
//   postgresql://[USER[:PASSWORD]@][HOST][:PORT][/DBNAME][?OPTION=VALUE&...]
// (postgres:// too), or libpq's own keyword form, "service=corvexzr" or "host=db1 dbname=corvexzr ...".
// The options are libpq's connection options (sslmode, sslrootcert, service, connect_timeout, ...),
// passed to the driver as they stand; an option libpq does not know is refused with its name. Parts
// left out are libpq's to fill in: from a service file (PGSERVICEFILE, ~/.pg_service.conf), the
// password from ~/.pgpass (PGPASSFILE), the rest from its defaults.

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

struct PostgresAddress {
    QString host;
    int port = -1; // -1: libpq's (5432, or the service's)
    QString user;
    QString password; // written in the address itself: works, but belongs in ~/.pgpass
    QString dbname;
    QList<QPair<QString, QString>> options; // in the order written

    // The options as the driver's connection options (libpq keyword=value pairs).
    QString ConnectOptions() const;
    bool HasOption(const QString& keyword) const;
};

// True for a location in either form.
bool IsPostgresAddress(const QString& location);

// The address, or nothing with the reason in `why` (the location shown without its password).
std::optional<PostgresAddress> ParsePostgresAddress(const QString& location, QString& why);

// The location as messages show it: its password, in the address or among its options, as ***.
QString DisplayPostgresAddress(const QString& location);

// For a location that holds its password: where to move it, as one paragraph; empty otherwise.
QString PasswordAdvice(const QString& location);
