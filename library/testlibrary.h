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
#include "library/fleet.h"
#include "library/librarybackend.h"
#include "verdict/verdict.h"
#include "verdict/verdictchoice.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariantList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The schema this program writes and reads.
// Version 2: a test of fewer than seven judged loads is "incomplete", no longer "pass"; the verdict
// column holds up to 16 characters.
// Version 3: each test records who added it (added_by, added_on, added_with, added_at; null for the
// tests added before).
// Version 4: each test's share of its closest load's limit (limit_share), and a devices table with each
// device's newest test and its own test interval (interval_months).
constexpr int LIBRARY_SCHEMA_VERSION = 4;

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
class QSqlQuery;

// A failed statement's reason: the database's own words, else the driver's.
QString SqlErrorText(const QSqlError& error);

// The test's date and time as ISO 8601 text, which sorts as the dates do. A stamp that is no valid
// date gives the zero date-time, as the report shows it.
QString TestedAt(const DateStamp& stamp);

// The verdict as the library stores it and zrqtool prints it: "pass", "fail", "incomplete", or null
// for none (no profile was chosen).
const char* VerdictValue(TOverallVerdict verdict);
// The verdict a stored value names (NoCheck for null or anything else).
TOverallVerdict VerdictFromValue(const QVariant& value);

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
    QString handOffWhy; // added, but its hand-off to the maintenance system could not be written
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
    // The test with this ID, as List() gives it; nothing when there is none (or, with LastError(), on a
    // failed read).
    std::optional<TLibraryTest> Test(qint64 id);
    // The record's bytes, exactly as they were added; nothing when there is no such test.
    std::optional<QByteArray> RecordBytes(qint64 id);

    // The fleet (library/fleet.h): the devices `query` finds, most urgent first (or by due date), from
    // its offset on. Empty on a failed read, with the reason in LastError().
    std::vector<TFleetDevice> Fleet(const TFleetQuery& query);
    // How many devices `query` finds of each status (its status, offset and limit aside), indexed by
    // TFleetStatus. Nothing on a failed read.
    std::optional<std::array<int, FleetStatusCount>> FleetCounts(const TFleetQuery& query);
    // The facilities (or locations) of the devices, sorted.
    QStringList DeviceValues(TDeviceInfoSlot slot);
    // Gives the device a test interval of its own (1 to 120 months), or none: it then follows the
    // program's. False, with the reason in LastError(), for a device the library does not hold.
    bool SetInterval(const QString& deviceId, std::optional<int> months);

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
    bool MigrateToDevices(QSqlQuery& q, const std::function<bool(const QString&)>& failed);
    bool NoteInDevices(QSqlQuery& q, qint64 id, const TZRTestRec& rec, const QVariant& verdict,
                       const QVariant& limitShare);
    std::vector<TLibraryTest> ListWhere(const QString& condition, const QVariantList& values);
    // The fleet's SELECT for `query` (with its values to bind), and its status expression.
    QString FleetSelect(const TFleetQuery& query, QVariantList& values) const;
    // Brings a library of an older schema up to this one, in one transaction.
    bool Migrate(int version, QString& why);
    bool Fail(const QString& what, const QString& reason);

    std::unique_ptr<TLibraryBackend> m_backend;
    QString m_location;
    QString m_connection;
    QString m_lastError;
};
