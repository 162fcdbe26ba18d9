#pragma once
// Where the library tests keep their libraries: fresh SQLite files in a temporary folder, or fresh
// databases on the throwaway PostgreSQL server named by CORVEX_TEST_POSTGRES (tests/library/
// with-postgres.sh starts one). The same tests run against both.

#include <QString>
#include <QStringList>
#include <memory>

class LibraryPlace {
public:
    virtual ~LibraryPlace() = default;
    // A location where no library is yet.
    virtual QString NewLocation() = 0;
    // Runs statements on the library at `location` through a connection of the test's own.
    virtual void Exec(const QString& location, const QStringList& statements) = 0;
    // Statements that make every later write of a test's loads fail with "disk full".
    virtual QStringList FailLoadWrites() const = 0;
    virtual bool IsPostgres() const = 0;
};

// The place this test program was built for.
std::unique_ptr<LibraryPlace> MakeLibraryPlace();
