#pragma once
// A library of tests: each one kept whole (the record's 72424 bytes) with what finding and comparing
// tests needs beside it: the record's SHA-256, the device information, the test's date and time,
// the analyzer ID, each tested load's delivered energy and the verdict choice made for it. A record
// is stored once however often it is added. Every change is one transaction; a library made by a
// newer version of the program is refused and never altered.
//
// One object is one connection; use it from the thread that opened it. Several objects, in one
// program or several, may share a library.

#include "library/addedby.h"
#include "library/librarybackend.h"
#include "verdict/verdict.h"
#include "verdict/verdictchoice.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

// The schema this program writes and reads.
// Version 2: a test of fewer than seven judged loads is "incomplete", no longer "pass"; the verdict
// column holds up to 16 characters.
// Version 3: each test records who added it (added_by, added_on, added_with, added_at; null for the
// tests added before).
constexpr int LIBRARY_SCHEMA_VERSION = 3;

// One test as the library lists it (without its record's bytes).
struct TLibraryTest {
    qint64 id = 0;
    QString sha256;                    // 64 lower-case hex digits
    std::array<QString, 7> deviceInfo; // indexed by TDeviceInfoSlot
    QString testedAt;                  // ISO 8601 local time, "2026-12-08T14:07:05"
    QString analyzerId;
    std::array<std::optional<double>, 7> delivered;     // J, for each tested load
    std::optional<TVerdictChoice> choice;               // none when none was made
    TOverallVerdict verdict = TOverallVerdict::NoCheck; // against the choice, when stored
    TAddedBy added;                                     // empty for a test added before it was recorded

    int LoadsTested() const;
};

class QSqlError;

// A failed statement's reason: the database's own words, else the driver's.
QString SqlErrorText(const QSqlError& error);

// The test's date and time as ISO 8601 text, which sorts as the dates do. A stamp that is no valid
// date gives the zero date-time, as the report shows it.
QString TestedAt(const DateStamp& stamp);

// The verdict as the library stores it and zrqtool prints it: "pass", "fail", "incomplete", or null
// for none (no profile was chosen).
const char* VerdictValue(TOverallVerdict verdict);

// A device as the library knows it: the device information of its newest test.
struct TLibraryDevice {
    std::array<QString, 7> deviceInfo; // indexed by TDeviceInfoSlot
    QString lastTestedAt;              // ISO 8601 local time
    TOverallVerdict lastVerdict = TOverallVerdict::NoCheck;
    int tests = 0;
};

// Refused: the bytes are not a record. Failed: the library could not store it.
enum class TAddOutcome { Added, AlreadyPresent, Refused, Failed };

struct TAddResult {
    TAddOutcome outcome = TAddOutcome::Refused;
    qint64 id = 0; // the stored test, unless refused
    QString why;   // for a refused record or a failed write
};

class TTestLibrary {
public:
    // Opens the library at `location` (a file path for SQLite), creating it when the file is missing
    // or empty. Returns nothing, with the reason in `why`, for a location that is not a library this
    // program can use; such a file is left as it was.
    static std::unique_ptr<TTestLibrary> Open(const QString& location, QString& why);
    ~TTestLibrary();
    TTestLibrary(const TTestLibrary&) = delete;
    TTestLibrary& operator=(const TTestLibrary&) = delete;

    QString Location() const { return m_location; }
    // The location as messages show it (a database URL without its password).
    QString DisplayName() const;
    int SchemaVersion() const { return LIBRARY_SCHEMA_VERSION; }

    // Adds the record in `bytes` with the verdict choice made for it (the profile and setting it was
    // checked against) and the verdict that gives, and who added it (TAddedBy::Now()). A record already
    // present is not stored again (and keeps its choice). A refused record, or a failed write, leaves
    // the library as it was; an account that may not add tests is told so.
    TAddResult Add(QByteArrayView bytes, const std::optional<TVerdictBasis>& basis = std::nullopt);
    // The test whose record has this SHA-256 (hex, any case), if present.
    std::optional<qint64> FindBySha256(const QString& sha256);
    // The tests, newest first; only those of `deviceId` when one is given. Empty on a failed read,
    // with the reason in LastError().
    std::vector<TLibraryTest> List(const std::optional<QString>& deviceId = std::nullopt);
    // Every device with its newest test, by Device ID. Empty on a failed read, with the reason in
    // LastError().
    std::vector<TLibraryDevice> Devices();
    // The record's bytes, exactly as they were added; nothing when there is no such test.
    std::optional<QByteArray> RecordBytes(qint64 id);

    // For throwaway libraries built by tests and benchmarks: commits no longer wait for the disk, so
    // a power cut may lose the latest of them. Never for a library that keeps real tests.
    void SkipDiskFlushes();

    // Why the last call failed; empty when it did not.
    QString LastError() const { return m_lastError; }

private:
    TTestLibrary(std::unique_ptr<TLibraryBackend> backend, const QString& location,
                 const QString& connection);
    QSqlDatabase Db() const;
    bool Prepare(QString& why);
    bool Connect(QString& why);
    // Opens the connection again when it was lost (a database server that went away and came back).
    void EnsureConnected();
    bool BeginWrite(QSqlQuery& q);
    bool CreateSchema(QString& why);
    // Brings a library of an older schema up to this one, in one transaction.
    bool Migrate(int version, QString& why);
    bool Fail(const QString& what, const QString& reason);

    std::unique_ptr<TLibraryBackend> m_backend;
    QString m_location;
    QString m_connection;
    QString m_lastError;
};
