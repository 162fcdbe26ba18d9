#include "library/testlibrary.h"

#include "library/fleet.h"
#include "records/recordimage.h"
#include "verdict/profilefolder.h"
#include "verdict/verdict.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <atomic>

namespace {

const char* const DeviceColumns = "device_id, serial_no, make, model, facility, location, tech_id";

// Each device with its newest test's information, kept up to date with every test added, so that
// the fleet is read without walking through every test; and its own test interval, if it has one.
const QString DevicesTable = QStringLiteral(
    "CREATE TABLE devices (device_id VARCHAR(31) NOT NULL PRIMARY KEY, serial_no VARCHAR(31) NOT NULL, "
    "make VARCHAR(31) NOT NULL, model VARCHAR(31) NOT NULL, facility VARCHAR(31) NOT NULL, "
    "location VARCHAR(31) NOT NULL, tech_id VARCHAR(31) NOT NULL, last_test_id BIGINT NOT NULL, "
    "last_tested_at CHAR(19) NOT NULL, last_verdict VARCHAR(16), last_limit_share DOUBLE PRECISION, "
    "tests INTEGER NOT NULL, interval_months INTEGER)");
// Its indexes: the facilities and locations the fleet view offers are read from them, and a library of
// many thousand devices lists them at once.
const QStringList DeviceIndexes = {
    QStringLiteral("CREATE INDEX devices_by_last_test ON devices (last_tested_at)"),
    QStringLiteral("CREATE INDEX devices_by_facility ON devices (facility)"),
    QStringLiteral("CREATE INDEX devices_by_location ON devices (location)"),
};

} // namespace

QString TestedAt(const DateStamp& s) {
    const QDate date(2000 + s.Year, s.Month, s.Day);
    const QTime time(s.Hour, s.Minute, s.Second);
    const QDateTime when = date.isValid() && time.isValid() ? QDateTime(date, time)
                                                            : QDateTime(QDate(1899, 12, 30), QTime(0, 0));
    return when.toString(Qt::ISODate);
}

TOverallVerdict VerdictFromValue(const QVariant& value) {
    const QString text = value.toString();
    if (text == QLatin1String("pass"))
        return TOverallVerdict::Pass;
    if (text == QLatin1String("fail"))
        return TOverallVerdict::Fail;
    if (text == QLatin1String("incomplete"))
        return TOverallVerdict::Incomplete;
    return TOverallVerdict::NoCheck;
}

QString SqlErrorText(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.isEmpty() ? QStringLiteral("unknown error") : text;
}

namespace {

// A transaction on the query's connection that is rolled back on every way out but a commit, so
// that no early return leaves it open. A reason taken from the query before the guard goes is the
// failure's own, not the rollback's.
class TTransactionGuard {
public:
    explicit TTransactionGuard(QSqlQuery& q) : m_q(q) {}
    ~TTransactionGuard() {
        if (m_committed)
            return;
        m_q.finish();
        m_q.exec(QStringLiteral("ROLLBACK"));
    }
    TTransactionGuard(const TTransactionGuard&) = delete;
    TTransactionGuard& operator=(const TTransactionGuard&) = delete;

    bool Commit() {
        m_committed = m_q.exec(QStringLiteral("COMMIT"));
        return m_committed;
    }

private:
    QSqlQuery& m_q;
    bool m_committed = false;
};

} // namespace

std::unique_ptr<TTestLibrary> TTestLibrary::Open(const QString& location, QString& why) {
    static std::atomic<int> connections{0};
    const QString connection = QStringLiteral("corvex_library_%1").arg(++connections);
    std::unique_ptr<TTestLibrary> library(new TTestLibrary(BackendFor(location), location, connection));
    if (!library->Prepare(why)) {
        why = QStringLiteral("The test library %1 cannot be used: %2").arg(DisplayLocation(location), why);
        return nullptr;
    }
    return library;
}

TTestLibrary::TTestLibrary(std::unique_ptr<TLibraryBackend> backend, const QString& location,
                           const QString& connection)
    : m_backend(std::move(backend)), m_location(location), m_connection(connection) {
    QSqlDatabase::addDatabase(m_backend->DriverName(), m_connection);
}

TTestLibrary::~TTestLibrary() {
    {
        QSqlDatabase db = Db();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

const char* VerdictValue(TOverallVerdict verdict) {
    switch (verdict) {
    case TOverallVerdict::Pass:
        return "pass";
    case TOverallVerdict::Fail:
        return "fail";
    case TOverallVerdict::Incomplete:
        return "incomplete";
    case TOverallVerdict::NoCheck:
        break;
    }
    return nullptr;
}

int TLibraryTest::LoadsTested() const {
    int tested = 0;
    for (const std::optional<double>& energy : delivered)
        tested += energy.has_value();
    return tested;
}

QString TTestLibrary::DisplayName() const {
    return DisplayLocation(m_location);
}

QSqlDatabase TTestLibrary::Db() const {
    return QSqlDatabase::database(m_connection, false);
}

bool TTestLibrary::Fail(const QString& what, const QString& reason) {
    m_lastError = what + QStringLiteral(": ") + reason;
    return false;
}

// Reads the schema version; creates the schema in a library that has none yet. Nothing is written
// to a library before its version is known to be this program's.
bool TTestLibrary::Prepare(QString& why) {
    QSqlDatabase db = Db();
    if (!db.isValid()) {
        why = QStringLiteral("the database driver %1 is not installed").arg(m_backend->DriverName());
        return false;
    }
    if (!m_backend->Configure(db, m_location, why))
        return false;
    return Connect(why);
}

// Opens the connection and checks the schema before anything is written.
bool TTestLibrary::Connect(QString& why) {
    QSqlDatabase db = Db();
    if (!db.open()) {
        why = m_backend->Explain(SqlErrorText(db.lastError()));
        return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT schema_version FROM library_info")) && q.next()) {
            const int version = q.value(0).toInt();
            q.finish();
            if (version > LIBRARY_SCHEMA_VERSION) {
                why = QStringLiteral("it was made by a newer version of the program (schema version %1; "
                                     "this version reads up to %2). It was left as it was.")
                          .arg(version)
                          .arg(LIBRARY_SCHEMA_VERSION);
                return false;
            }
            if (version < 1) {
                why =
                    QStringLiteral("its schema version %1 is not valid. It was left as it was.").arg(version);
                return false;
            }
            for (const QString& statement : m_backend->WritableSetup()) {
                if (!q.exec(statement)) {
                    why = SqlErrorText(q.lastError());
                    return false;
                }
            }
            return version == LIBRARY_SCHEMA_VERSION || Migrate(version, why);
        }
        q.finish();
        if (attempt == 0 && !CreateSchema(why))
            return false;
    }
    why = QStringLiteral("its version cannot be read. It was left as it was.");
    return false;
}

void TTestLibrary::EnsureConnected() {
    m_lastError.clear(); // every call starts afresh: an empty answer with no error is an empty library
    QSqlDatabase db = Db();
    if (!m_backend->ConnectionLost(db))
        return;
    db.close();
    QString why;
    Connect(why);
}

bool TTestLibrary::BeginWrite(QSqlQuery& q) {
    for (const QString& statement : m_backend->BeginWriteStatements()) {
        if (!q.exec(statement))
            return false;
    }
    return true;
}

namespace {

// A version 1 library judged a test PASS on any number of loads. The verdict again, where it can be
// told: against the profile it was checked against when that profile is known here, else by its
// loads (fewer than seven tested, or none judged, is incomplete). A failure stays a failure.
std::optional<TOverallVerdict> Rejudged(const std::vector<TProfile>& profiles, const TVerdictChoice& choice,
                                        const std::optional<QByteArray>& record, TOverallVerdict stored,
                                        int loadsTested) {
    if (record) {
        auto rec = std::make_unique<TZRTestRec>();
        QString why;
        const std::optional<TVerdictBasis> basis = ResolveVerdictChoice(profiles, choice);
        if (basis && DecodeTestRecord(*record, *rec, why))
            return RecordVerdict(*rec, basis->setting, basis->profile.tolerance).overall;
    }
    if (stored == TOverallVerdict::NoCheck || loadsTested < LOAD_COUNT)
        return TOverallVerdict::Incomplete;
    return std::nullopt;
}

} // namespace

bool TTestLibrary::Migrate(int version, QString& why) {
    QSqlQuery q(Db());
    auto failed = [&](const QString& what) {
        why = QStringLiteral(
                  "it could not be brought up to this version of the program (%1: %2). It was left as "
                  "it was.")
                  .arg(what, SqlErrorText(q.lastError()));
        return false;
    };
    TTransactionGuard transaction(q); // also after a failed start, which may have begun one
    if (!BeginWrite(q))
        return failed(QStringLiteral("starting to write"));
    // Another program may have brought it up to date meanwhile.
    if (!q.exec(QStringLiteral("SELECT schema_version FROM library_info")) || !q.next())
        return failed(QStringLiteral("reading its version"));
    version = q.value(0).toInt();
    q.finish();
    if (version < 3) {
        const QSqlRecord columns = Db().record(QStringLiteral("tests"));
        for (const char* column : {"added_by", "added_on", "added_with", "added_at"})
            if (!columns.contains(QLatin1String(column)) &&
                !q.exec(QStringLiteral("ALTER TABLE tests ADD COLUMN %1 VARCHAR(255)")
                            .arg(QLatin1String(column))))
                return failed(QStringLiteral("adding the column %1").arg(QLatin1String(column)));
    }
    if (version < 2) {
        for (const QString& statement : m_backend->WidenVerdictStatements())
            if (!q.exec(statement))
                return failed(QStringLiteral("widening the verdict column"));
        struct Stored {
            qint64 id;
            TVerdictChoice choice;
            TOverallVerdict verdict;
            int loads;
        };
        std::vector<Stored> judged;
        if (!q.exec(
                QStringLiteral("SELECT t.id, t.profile, t.selected_energy, t.verdict, "
                               "(SELECT COUNT(*) FROM test_loads l WHERE l.test_id = t.id) FROM tests t "
                               "WHERE t.profile IS NOT NULL AND (t.verdict IS NULL OR t.verdict = 'pass')")))
            return failed(QStringLiteral("reading the verdicts"));
        while (q.next())
            judged.push_back({q.value(0).toLongLong(),
                              {q.value(1).toString(), q.value(2).toDouble()},
                              VerdictFromValue(q.value(3)),
                              q.value(4).toInt()});
        q.finish();
        const std::vector<TProfile> profiles =
            judged.empty() ? std::vector<TProfile>{} : LoadProfiles().profiles;
        for (const Stored& test : judged) {
            std::optional<QByteArray> record;
            if (ResolveVerdictChoice(profiles, test.choice)) {
                q.prepare(QStringLiteral("SELECT record FROM tests WHERE id = ?"));
                q.addBindValue(test.id);
                if (!q.exec() || !q.next())
                    return failed(QStringLiteral("reading a record"));
                record = q.value(0).toByteArray();
                q.finish();
            }
            const std::optional<TOverallVerdict> now =
                Rejudged(profiles, test.choice, record, test.verdict, test.loads);
            if (!now || *now == test.verdict)
                continue;
            q.prepare(QStringLiteral("UPDATE tests SET verdict = ? WHERE id = ?"));
            q.addBindValue(QString::fromLatin1(VerdictValue(*now)));
            q.addBindValue(test.id);
            if (!q.exec())
                return failed(QStringLiteral("writing a verdict"));
        }
    }
    if (version < 4 && !MigrateToDevices(q, failed))
        return false;
    if (!q.exec(QStringLiteral("UPDATE library_info SET schema_version = %1").arg(LIBRARY_SCHEMA_VERSION)))
        return failed(QStringLiteral("writing its version"));
    if (!transaction.Commit())
        return failed(QStringLiteral("committing"));
    return true;
}

// Version 4: each test's share of its closest load's limit, and the devices table.
bool TTestLibrary::MigrateToDevices(QSqlQuery& q, const std::function<bool(const QString&)>& failed) {
    if (!Db().record(QStringLiteral("tests")).contains(QStringLiteral("limit_share")) &&
        !q.exec(QStringLiteral("ALTER TABLE tests ADD COLUMN limit_share DOUBLE PRECISION")))
        return failed(QStringLiteral("adding the column limit_share"));
    struct Judged {
        qint64 id;
        TVerdictChoice choice;
        std::array<std::optional<double>, LOAD_COUNT> delivered;
    };
    std::vector<Judged> judged;
    QHash<qint64, size_t> index;
    if (!q.exec(QStringLiteral("SELECT id, profile, selected_energy FROM tests WHERE profile IS NOT NULL")))
        return failed(QStringLiteral("reading the choices"));
    while (q.next()) {
        index.insert(q.value(0).toLongLong(), judged.size());
        judged.push_back({q.value(0).toLongLong(), {q.value(1).toString(), q.value(2).toDouble()}, {}});
    }
    if (!q.exec(QStringLiteral("SELECT l.test_id, l.load_index, l.delivered_energy FROM test_loads l "
                               "JOIN tests t ON t.id = l.test_id WHERE t.profile IS NOT NULL")))
        return failed(QStringLiteral("reading the loads"));
    while (q.next()) {
        const auto at = index.constFind(q.value(0).toLongLong());
        const int load = q.value(1).toInt();
        if (at != index.constEnd() && load >= 0 && load < LOAD_COUNT)
            judged[*at].delivered[load] = q.value(2).toDouble();
    }
    q.finish();
    const std::vector<TProfile> profiles = judged.empty() ? std::vector<TProfile>{} : LoadProfiles().profiles;
    for (const Judged& test : judged) {
        const std::optional<TVerdictBasis> basis = ResolveVerdictChoice(profiles, test.choice);
        if (!basis)
            continue; // a profile this program does not know: not near its limit for all it can tell
        TRecordVerdict verdict;
        for (int load = 0; load < LOAD_COUNT; ++load)
            verdict.loads[load] =
                JudgeLoad(load, test.delivered[load], basis->setting.declared[load], basis->profile.tolerance);
        const std::optional<double> share = LimitShare(verdict);
        if (!share)
            continue;
        q.prepare(QStringLiteral("UPDATE tests SET limit_share = ? WHERE id = ?"));
        q.addBindValue(*share);
        q.addBindValue(test.id);
        if (!q.exec())
            return failed(QStringLiteral("writing a limit share"));
    }
    const bool present = Db().tables(QSql::Tables).contains(QStringLiteral("devices"), Qt::CaseInsensitive);
    if (!q.exec(present ? QStringLiteral("DELETE FROM devices") : DevicesTable))
        return failed(QStringLiteral("making the devices table"));
    for (const QString& statement : DeviceIndexes)
        if (!present && !q.exec(statement))
            return failed(QStringLiteral("making the devices table"));
    // Each device's newest test; of two in the same second, the one stored last.
    if (!q.exec(QStringLiteral(
            "INSERT INTO devices (%1, last_test_id, last_tested_at, last_verdict, last_limit_share, tests) "
            "SELECT t.%2, t.id, t.tested_at, t.verdict, t.limit_share, "
            "(SELECT COUNT(*) FROM tests c WHERE c.device_id = t.device_id) FROM tests t "
            "WHERE t.id = (SELECT n.id FROM tests n WHERE n.device_id = t.device_id "
            "ORDER BY n.tested_at DESC, n.id DESC LIMIT 1)")
                    .arg(QLatin1String(DeviceColumns),
                         QString::fromLatin1(DeviceColumns).replace(QStringLiteral(", "), QStringLiteral(", t.")))))
        return failed(QStringLiteral("filling the devices table"));
    return true;
}

bool TTestLibrary::CreateSchema(QString& why) {
    QSqlDatabase db = Db();
    QSqlQuery q(db);
    if (!BeginWrite(q)) {
        why = QStringLiteral("it is not a test library (%1). It was left as it was.")
                  .arg(SqlErrorText(q.lastError()));
        return false;
    }
    TTransactionGuard transaction(q);
    // Another program may have created it meanwhile; a database holding other tables is not ours.
    // (Asked of the driver: a failed query would end the transaction on some databases.)
    const QStringList tables = db.tables(QSql::Tables);
    const bool created = tables.contains(QStringLiteral("library_info"), Qt::CaseInsensitive);
    if (!tables.isEmpty()) {
        if (!created)
            why = QStringLiteral("it is a database but not a test library. It was left as it was.");
        return created;
    }
    QStringList schema = {
        QStringLiteral("CREATE TABLE library_info (schema_version INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO library_info (schema_version) VALUES (%1)").arg(LIBRARY_SCHEMA_VERSION),
        QStringLiteral("CREATE TABLE tests ("
                       "id %1, sha256 CHAR(64) NOT NULL UNIQUE, "
                       "device_id VARCHAR(31) NOT NULL, serial_no VARCHAR(31) NOT NULL, "
                       "make VARCHAR(31) NOT NULL, model VARCHAR(31) NOT NULL, "
                       "facility VARCHAR(31) NOT NULL, location VARCHAR(31) NOT NULL, "
                       "tech_id VARCHAR(31) NOT NULL, analyzer_id VARCHAR(16) NOT NULL, "
                       "tested_at CHAR(19) NOT NULL, "
                       "profile VARCHAR(255), selected_energy DOUBLE PRECISION, verdict VARCHAR(16), "
                       "added_by VARCHAR(255), added_on VARCHAR(255), added_with VARCHAR(255), "
                       "added_at VARCHAR(255), limit_share DOUBLE PRECISION, "
                       // Last: SQLite reads the columns before a record's 72424 bytes without
                       // walking through them, which makes the device list several times faster.
                       "record %2 NOT NULL)")
            .arg(m_backend->IdColumnType(), m_backend->BytesColumnType()),
        QStringLiteral("CREATE INDEX tests_by_device ON tests (device_id, tested_at)"),
        QStringLiteral("CREATE INDEX tests_by_date ON tests (tested_at)"),
        QStringLiteral("CREATE TABLE test_loads ("
                       "test_id BIGINT NOT NULL REFERENCES tests (id), load_index INTEGER NOT NULL, "
                       "delivered_energy DOUBLE PRECISION NOT NULL, PRIMARY KEY (test_id, load_index))"),
        DevicesTable,
    };
    schema << DeviceIndexes;
    for (const QString& statement : schema) {
        if (!q.exec(statement)) {
            why = QStringLiteral("its tables cannot be created (%1)").arg(SqlErrorText(q.lastError()));
            return false;
        }
    }
    if (!transaction.Commit()) {
        why = QStringLiteral("its tables cannot be created (%1)").arg(SqlErrorText(q.lastError()));
        return false;
    }
    return true;
}

TAddResult TTestLibrary::Add(QByteArrayView bytes, const std::optional<TVerdictBasis>& basis) {
    TAddResult result;
    auto rec = std::make_unique<TZRTestRec>();
    if (!DecodeTestRecord(bytes, *rec, result.why)) {
        result.outcome = TAddOutcome::Refused;
        m_lastError = result.why;
        return result;
    }
    const QByteArray record = bytes.toByteArray();
    const QString sha = RecordSha256(record);

    EnsureConnected();
    QSqlQuery q(Db());
    auto failed = [&](const QString& what) {
        result.outcome = TAddOutcome::Failed;
        const QString reason = SqlErrorText(q.lastError());
        result.why =
            reason.contains(QStringLiteral("permission denied"), Qt::CaseInsensitive)
                ? QStringLiteral("This account may not add tests to the library: ask the IT department "
                                 "for the technicians' role (%1).")
                      .arg(reason.trimmed())
                : QStringLiteral("The test could not be stored in the library (%1: %2).").arg(what, reason);
        m_lastError = result.why;
        return result;
    };
    TTransactionGuard transaction(q); // also after a failed start, which may have begun one
    if (!BeginWrite(q))
        return failed(QStringLiteral("starting to write"));
    auto findId = [&]() -> std::optional<qint64> {
        q.prepare(QStringLiteral("SELECT id FROM tests WHERE sha256 = ?"));
        q.addBindValue(sha);
        if (!q.exec() || !q.next())
            return std::nullopt;
        const qint64 id = q.value(0).toLongLong();
        q.finish();
        return id;
    };
    if (const std::optional<qint64> present = findId()) {
        result.outcome = TAddOutcome::AlreadyPresent;
        result.id = *present;
        return result;
    }
    if (q.lastError().isValid())
        return failed(QStringLiteral("reading"));

    q.prepare(QStringLiteral("INSERT INTO tests (sha256, record, %1, analyzer_id, tested_at, profile, "
                             "selected_energy, verdict, added_by, added_on, added_with, added_at, "
                             "limit_share) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                  .arg(QLatin1String(DeviceColumns)));
    q.addBindValue(sha);
    q.addBindValue(record);
    for (int slot = 0; slot < DEVICE_INFO_SLOTS; ++slot)
        q.addBindValue(rec->GetDeviceInfo(static_cast<TDeviceInfoSlot>(slot)));
    q.addBindValue(rec->AnalyzerID());
    q.addBindValue(TestedAt(rec->TestDateTime()));
    const QVariant noText{QMetaType(QMetaType::QString)};
    q.addBindValue(basis ? QVariant(basis->profile.name) : noText);
    const QVariant noNumber{QMetaType(QMetaType::Double)};
    q.addBindValue(basis ? QVariant(basis->setting.selected) : noNumber);
    std::optional<TRecordVerdict> judged;
    if (basis)
        judged = RecordVerdict(*rec, basis->setting, basis->profile.tolerance);
    const char* verdict = judged ? VerdictValue(judged->overall) : nullptr;
    const QVariant verdictValue = verdict ? QVariant(QString::fromLatin1(verdict)) : noText;
    q.addBindValue(verdictValue);
    const TAddedBy added = TAddedBy::Now();
    for (const QString& text : {added.by, added.on, added.with, added.at})
        q.addBindValue(text);
    const std::optional<double> share = judged ? LimitShare(*judged) : std::nullopt;
    const QVariant shareValue = share ? QVariant(*share) : noNumber;
    q.addBindValue(shareValue);
    if (!q.exec())
        return failed(QStringLiteral("writing the test"));
    const std::optional<qint64> id = findId();
    if (!id)
        return failed(QStringLiteral("reading the new test"));

    for (int load = 0; load < LOAD_COUNT; ++load) {
        if (rec->Loads[load].HasData == 0)
            continue;
        q.prepare(QStringLiteral(
            "INSERT INTO test_loads (test_id, load_index, delivered_energy) VALUES (?, ?, ?)"));
        q.addBindValue(*id);
        q.addBindValue(load);
        q.addBindValue(DeliveredEnergy(rec->Loads[load], load));
        if (!q.exec())
            return failed(QStringLiteral("writing a load"));
    }
    if (!NoteInDevices(q, *id, *rec, verdictValue, shareValue))
        return failed(QStringLiteral("writing the device"));
    if (!transaction.Commit())
        return failed(QStringLiteral("committing"));
    result.outcome = TAddOutcome::Added;
    result.id = *id;
    return result;
}

// The device's row in the devices table: one test more, and this one its newest unless a test with a
// later date is there already.
bool TTestLibrary::NoteInDevices(QSqlQuery& q, qint64 id, const TZRTestRec& rec, const QVariant& verdict,
                                 const QVariant& limitShare) {
    const QString deviceId = rec.GetDeviceInfo(diDeviceID);
    const QString testedAt = TestedAt(rec.TestDateTime());
    q.prepare(QStringLiteral("UPDATE devices SET tests = tests + 1 WHERE device_id = ?"));
    q.addBindValue(deviceId);
    if (!q.exec())
        return false;
    const bool known = q.numRowsAffected() > 0;
    if (known)
        q.prepare(QStringLiteral("UPDATE devices SET serial_no = ?, make = ?, model = ?, facility = ?, "
                                 "location = ?, tech_id = ?, last_test_id = ?, last_tested_at = ?, "
                                 "last_verdict = ?, last_limit_share = ? "
                                 "WHERE device_id = ? AND last_tested_at <= ?"));
    else
        q.prepare(QStringLiteral("INSERT INTO devices (device_id, serial_no, make, model, facility, location, "
                                 "tech_id, last_test_id, last_tested_at, last_verdict, last_limit_share, tests) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)"));
    for (int slot = known ? 1 : 0; slot < DEVICE_INFO_SLOTS; ++slot)
        q.addBindValue(rec.GetDeviceInfo(static_cast<TDeviceInfoSlot>(slot)));
    q.addBindValue(id);
    q.addBindValue(testedAt);
    q.addBindValue(verdict);
    q.addBindValue(limitShare);
    if (known) {
        q.addBindValue(deviceId);
        q.addBindValue(testedAt);
    }
    return q.exec();
}

void TTestLibrary::SkipDiskFlushes() {
    QSqlQuery q(Db());
    for (const QString& statement : m_backend->SkipDiskFlushesStatements())
        q.exec(statement);
}

std::optional<qint64> TTestLibrary::FindBySha256(const QString& sha256) {
    EnsureConnected();
    QSqlQuery q(Db());
    q.prepare(QStringLiteral("SELECT id FROM tests WHERE sha256 = ?"));
    q.addBindValue(sha256.toLower());
    if (!q.exec()) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

std::vector<TLibraryTest> TTestLibrary::List(const std::optional<QString>& deviceId) {
    if (!deviceId)
        return ListWhere(QString(), {});
    // A null text would be bound as SQL NULL, which no Device ID equals; a device without one has "".
    return ListWhere(QStringLiteral("device_id = ?"), {deviceId->isNull() ? QStringLiteral("") : *deviceId});
}

std::optional<TLibraryTest> TTestLibrary::Test(qint64 id) {
    std::vector<TLibraryTest> tests = ListWhere(QStringLiteral("id = ?"), {id});
    if (tests.empty())
        return std::nullopt;
    return std::move(tests.front());
}

std::vector<TLibraryTest> TTestLibrary::ListWhere(const QString& condition, const QVariantList& values) {
    std::vector<TLibraryTest> tests;
    const QString where = condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
    EnsureConnected();
    QSqlQuery q(Db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
                  "SELECT id, sha256, %1, tested_at, analyzer_id, profile, selected_energy, verdict, "
                  "added_by, added_on, added_with, added_at FROM tests%2 ORDER BY tested_at DESC, id DESC")
                  .arg(QLatin1String(DeviceColumns), where));
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec()) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return {};
    }
    QHash<qint64, size_t> index;
    while (q.next()) {
        TLibraryTest test;
        test.id = q.value(0).toLongLong();
        test.sha256 = q.value(1).toString();
        for (int slot = 0; slot < DEVICE_INFO_SLOTS; ++slot)
            test.deviceInfo[slot] = q.value(2 + slot).toString();
        test.testedAt = q.value(9).toString();
        test.analyzerId = q.value(10).toString();
        if (!q.value(11).isNull())
            test.choice = TVerdictChoice{q.value(11).toString(), q.value(12).toDouble()};
        test.verdict = VerdictFromValue(q.value(13));
        test.added = TAddedBy{q.value(14).toString(), q.value(15).toString(), q.value(16).toString(),
                              q.value(17).toString()};
        index.insert(test.id, tests.size());
        tests.push_back(std::move(test));
    }
    q.prepare(QStringLiteral("SELECT l.test_id, l.load_index, l.delivered_energy FROM test_loads l "
                             "JOIN tests t ON t.id = l.test_id%1")
                  .arg(condition.isEmpty() ? QString() : QStringLiteral(" WHERE t.") + condition));
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec()) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return {};
    }
    while (q.next()) {
        const auto at = index.constFind(q.value(0).toLongLong());
        const int load = q.value(1).toInt();
        if (at != index.constEnd() && load >= 0 && load < LOAD_COUNT)
            tests[*at].delivered[load] = q.value(2).toDouble();
    }
    return tests;
}

std::vector<TLibraryDevice> TTestLibrary::Devices() {
    EnsureConnected();
    QSqlQuery q(Db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1, last_tested_at, last_verdict, tests FROM devices ORDER BY device_id")
                    .arg(QLatin1String(DeviceColumns)))) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return {};
    }
    std::vector<TLibraryDevice> devices;
    while (q.next()) {
        TLibraryDevice device;
        for (int slot = 0; slot < DEVICE_INFO_SLOTS; ++slot)
            device.deviceInfo[slot] = q.value(slot).toString();
        device.lastTestedAt = q.value(7).toString();
        device.lastVerdict = VerdictFromValue(q.value(8));
        device.tests = q.value(9).toInt();
        devices.push_back(std::move(device));
    }
    return devices;
}

std::optional<QByteArray> TTestLibrary::RecordBytes(qint64 id) {
    EnsureConnected();
    QSqlQuery q(Db());
    q.prepare(QStringLiteral("SELECT record FROM tests WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return q.value(0).toByteArray();
}
