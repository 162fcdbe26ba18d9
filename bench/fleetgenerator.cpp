#include "bench/fleetgenerator.h"

#include "library/librarybackend.h"
#include "library/testlibrary.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

const char* const FleetSearchTerms[4] = {"leeds", "def-00042", "pro 3", "ward 1"};

namespace {

const char* const Makes[] = {"Acme Medical", "Borealis", "Cardiotek", "Helix Cardio",
                             "Meridian",     "Nordlys",  "Pulsewave", "Vitalis"};
const char* const ModelNames[] = {"AED %1", "Monitor %1", "Pro %1"};
const char* const Cities[] = {"Leeds",     "York",    "Bath",    "Derby",    "Hull",    "Ely",    "Wells",
                              "Exeter",    "Truro",   "Durham",  "Carlisle", "Lincoln", "Oxford", "Bristol",
                              "Leicester", "Preston", "Salford", "Reading",  "Dover",   "Chester"};
const char* const Kinds[] = {"General Hospital",  "Clinic",        "Medical Centre", "Care Home",
                             "Ambulance Station", "Health Centre", "Rehab Centre",   "Surgery Centre",
                             "Fire Station",      "Sports Centre"};
constexpr int FacilityCount = std::size(Cities) * std::size(Kinds); // 200

QString Location(int n) {
    static const char* const Places[] = {"ER",         "ICU",       "Ward %1", "OR %1",
                                         "Cardiology", "Radiology", "Lobby",   "Ambulance %1"};
    const QString place = QLatin1String(Places[n % std::size(Places)]);
    return place.contains(QLatin1String("%1")) ? place.arg(1 + n / static_cast<int>(std::size(Places)) % 20)
                                               : place;
}

bool Is(const char* verdict, const char* value) {
    return verdict != nullptr && std::strcmp(verdict, value) == 0;
}

// One test as the generator stores it.
struct Test {
    QString testedAt;
    const char* verdict = nullptr; // null: not checked against anything
    double limitShare = 0;
};

struct Device {
    QString info[7]; // device_id, serial_no, make, model, facility, location, tech_id
    Test newest;
    qint64 newestId = 0;
};

Device MakeDevice(int d, std::mt19937& random) {
    std::uniform_int_distribution<int> any(0, 1 << 30);
    Device device;
    const int make = any(random) % static_cast<int>(std::size(Makes));
    device.info[0] = FleetDeviceId(d);
    device.info[1] = QStringLiteral("SN%1").arg(10000000 + any(random) % 90000000);
    device.info[2] = QLatin1String(Makes[make]);
    device.info[3] = QString::fromLatin1(ModelNames[any(random) % 3]).arg(100 * (1 + make) + 50 * (d % 2));
    const int facility = any(random) % FacilityCount;
    device.info[4] = QStringLiteral("%1 %2").arg(QLatin1String(Cities[facility % std::size(Cities)]),
                                                 QLatin1String(Kinds[facility / std::size(Cities)]));
    device.info[5] = Location(any(random) % 160);
    device.info[6] = QStringLiteral("T%1").arg(any(random) % 150, 3, 10, QLatin1Char('0'));
    return device;
}

// Rows appended one value at a time and written by a prepared INSERT of `rows` rows at once (with 0,
// only by Finish).
class BatchInsert {
public:
    BatchInsert(QSqlDatabase db, const QString& table, const QStringList& columns, int rows)
        : m_db(db), m_table(table), m_columns(columns), m_rows(rows), m_full(db) {
        if (rows > 0)
            m_full.prepare(Statement(rows));
    }
    void Add(const QVariant& value) { m_values << value; }
    bool Empty() const { return m_values.isEmpty(); }
    // After each row: writes the batch once it is full.
    bool RowDone(QString& why) {
        return m_values.size() < static_cast<qsizetype>(m_rows) * m_columns.size() || Flush(m_full, why);
    }
    // Writes what is left.
    bool Finish(QString& why) {
        if (m_values.isEmpty())
            return true;
        QSqlQuery rest(m_db);
        rest.prepare(Statement(static_cast<int>(m_values.size() / m_columns.size())));
        return Flush(rest, why);
    }

private:
    QString Statement(int rows) const {
        const QString row = QLatin1Char('(') + QStringList(m_columns.size(), QStringLiteral("?")).join(u',') +
                            QLatin1Char(')');
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(m_table, m_columns.join(u','), QStringList(rows, row).join(u','));
    }
    bool Flush(QSqlQuery& q, QString& why) {
        for (qsizetype i = 0; i < m_values.size(); ++i)
            q.bindValue(static_cast<int>(i), m_values[i]);
        m_values.clear();
        if (q.exec())
            return true;
        why = QStringLiteral("writing %1: %2").arg(m_table, SqlErrorText(q.lastError()));
        return false;
    }

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_columns;
    int m_rows;
    QSqlQuery m_full;
    QVariantList m_values;
};

bool Exec(QSqlQuery& q, const QString& sql, QString& why) {
    if (q.exec(sql))
        return true;
    why = QStringLiteral("%1: %2").arg(sql.left(60), SqlErrorText(q.lastError()));
    return false;
}

class Generator {
public:
    Generator(QSqlDatabase db, TFleetSize size, QDate today, bool postgres)
        : m_db(db), m_size(size), m_today(today), m_postgres(postgres) {}

    bool Run(QString& why) {
        QSqlQuery q(m_db);
        if (!m_postgres && (!Exec(q, QStringLiteral("PRAGMA synchronous=OFF"), why) ||
                            !Exec(q, QStringLiteral("PRAGMA cache_size=-1000000"), why)))
            return false;
        std::mt19937 random(20261209);
        for (int d = 0; d < m_size.devices; ++d)
            m_devices.push_back(MakeDevice(d, random));
        // Round by round, as a service company tests its fleet: a device's tests lie apart in the tables.
        const int days = 3650 / m_size.testsPerDevice;
        std::vector<int> phase(m_devices.size());
        std::uniform_int_distribution<int> phases(0, days + days / 10);
        for (int& p : phase)
            p = phases(random);
        qint64 id = 0;
        const int roundsPerTransaction = std::max(1, 100000 / m_size.devices);
        for (int round = 0; round < m_size.testsPerDevice; ++round) {
            if (round % roundsPerTransaction == 0 && !Exec(q, QStringLiteral("BEGIN"), why))
                return false;
            // The loads are written each time their tests are (test_loads refers to tests).
            BatchInsert tests(m_db, QStringLiteral("tests"), TestColumns(), 200);
            BatchInsert loads(
                m_db, QStringLiteral("test_loads"),
                {QStringLiteral("test_id"), QStringLiteral("load_index"), QStringLiteral("delivered_energy")},
                0); // written with its tests
            const int ago = (m_size.testsPerDevice - 1 - round) * days;
            for (size_t d = 0; d < m_devices.size(); ++d) {
                const QDateTime at = QDateTime(m_today.addDays(-ago - phase[d]), QTime(8, 0))
                                         .addSecs(std::uniform_int_distribution<int>(0, 9 * 3600)(random));
                if (!AddTest(++id, m_devices[d], at, random, tests, loads, why))
                    return false;
            }
            if (!tests.Finish(why) || !loads.Finish(why))
                return false;
            if ((round + 1) % roundsPerTransaction == 0 || round + 1 == m_size.testsPerDevice)
                if (!Exec(q, QStringLiteral("COMMIT"), why))
                    return false;
        }
        return WriteDevices(why) && Finish(id, why);
    }

private:
    static QStringList TestColumns() {
        return QString::fromLatin1("id,sha256,device_id,serial_no,make,model,facility,location,tech_id,"
                                   "analyzer_id,tested_at,profile,selected_energy,verdict,added_by,added_on,"
                                   "added_with,added_at,limit_share,record")
            .split(u',');
    }

    bool AddTest(qint64 id, Device& device, const QDateTime& at, std::mt19937& random, BatchInsert& tests,
                 BatchInsert& loads, QString& why) {
        static const QByteArray Placeholder("generated for a benchmark: not a record");
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        const double draw = unit(random);
        Test test;
        test.testedAt = at.toString(Qt::ISODate);
        test.verdict = draw < 0.86 ? "pass" : draw < 0.91 ? "fail" : draw < 0.95 ? "incomplete" : nullptr;
        const double u = unit(random);
        test.limitShare = Is(test.verdict, "fail") ? 1.0 + u / 2 : 0.95 * u * u;
        const QVariant noText{QMetaType(QMetaType::QString)};
        const QVariant noNumber{QMetaType(QMetaType::Double)};
        tests.Add(id);
        tests.Add(QStringLiteral("%1").arg(id, 64, 16, QLatin1Char('0')));
        for (const QString& info : device.info)
            tests.Add(info);
        tests.Add(QStringLiteral("ZR-%1").arg(id % 300, 4, 10, QLatin1Char('0')));
        tests.Add(test.testedAt);
        tests.Add(test.verdict ? QVariant(QStringLiteral("Generic impedance-compensated biphasic")) : noText);
        tests.Add(test.verdict ? QVariant(200.0) : noNumber);
        tests.Add(test.verdict ? QVariant(QString::fromLatin1(test.verdict)) : noText);
        tests.Add(QStringLiteral("tech%1").arg(device.info[6].mid(1)));
        tests.Add(QStringLiteral("LAPTOP-%1").arg(id % 97));
        tests.Add(QStringLiteral("CorvexZR (generated)"));
        tests.Add(at.addSecs(600).toString(Qt::ISODate));
        tests.Add(test.verdict ? QVariant(test.limitShare) : noNumber);
        tests.Add(Placeholder);
        if (!test.verdict)
            test.limitShare = 0;
        const int tested = Is(test.verdict, "incomplete") ? 5 : 7;
        std::normal_distribution<double> spread(200.0, 4.0);
        for (int load = 0; load < tested; ++load) {
            loads.Add(id);
            loads.Add(load);
            loads.Add(Is(test.verdict, "fail") && load == 3 ? 150.0 : spread(random));
        }
        if (!tests.RowDone(why) || (tests.Empty() && !loads.Finish(why)))
            return false;
        device.newest = test;
        device.newestId = id;
        return true;
    }

    bool WriteDevices(QString& why) {
        QSqlQuery q(m_db);
        if (!Exec(q, QStringLiteral("BEGIN"), why))
            return false;
        BatchInsert devices(m_db, QStringLiteral("devices"),
                            QString::fromLatin1("device_id,serial_no,make,model,facility,location,tech_id,"
                                                "last_test_id,last_tested_at,last_verdict,last_limit_share,"
                                                "tests,interval_months")
                                .split(u','),
                            500);
        for (size_t d = 0; d < m_devices.size(); ++d) {
            const Device& device = m_devices[d];
            for (const QString& info : device.info)
                devices.Add(info);
            devices.Add(device.newestId);
            devices.Add(device.newest.testedAt);
            devices.Add(device.newest.verdict ? QVariant(QString::fromLatin1(device.newest.verdict))
                                              : QVariant(QMetaType(QMetaType::QString)));
            devices.Add(device.newest.verdict ? QVariant(device.newest.limitShare)
                                              : QVariant(QMetaType(QMetaType::Double)));
            devices.Add(m_size.testsPerDevice);
            devices.Add(d % 40 == 7   ? QVariant(6)
                        : d % 97 == 3 ? QVariant(24)
                                      : QVariant(QMetaType(QMetaType::Int)));
            if (!devices.RowDone(why))
                return false;
        }
        return devices.Finish(why) && Exec(q, QStringLiteral("COMMIT"), why);
    }

    // The id sequence past the ids written, and the planner's statistics, as a server that has been
    // in use for a while has them.
    bool Finish(qint64 lastId, QString& why) {
        if (!m_postgres)
            return true;
        QSqlQuery q(m_db);
        return Exec(q, QStringLiteral("SELECT setval(pg_get_serial_sequence('tests', 'id'), %1)").arg(lastId),
                    why) &&
               Exec(q, QStringLiteral("VACUUM ANALYZE"), why);
    }

    QSqlDatabase m_db;
    TFleetSize m_size;
    QDate m_today;
    bool m_postgres;
    std::vector<Device> m_devices;
};

// The number of rows in `table`; -1 when it cannot be read.
qint64 Rows(QSqlDatabase& db, const char* table) {
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))) && q.next()
               ? q.value(0).toLongLong()
               : -1;
}

} // namespace

TFleetSize FleetSizeFromEnvironment() {
    TFleetSize size;
    const QStringList given = qEnvironmentVariable("CORVEX_BENCH_FLEET").split(u'x');
    if (given.size() == 2 && given[0].toInt() > 0 && given[1].toInt() > 0)
        size = {given[0].toInt(), given[1].toInt()};
    return size;
}

QString FleetDeviceId(int device) {
    return QStringLiteral("DEF-%1").arg(device, 6, 10, QLatin1Char('0'));
}

bool GenerateFleet(const QString& location, TFleetSize size, QDate today, QString& why) {
    if (!TTestLibrary::Open(location, why)) // the schema, as the program makes it
        return false;
    const QString connection = QStringLiteral("fleet_generator");
    bool done = false;
    {
        const std::unique_ptr<TLibraryBackend> backend = BackendFor(location);
        QSqlDatabase db = QSqlDatabase::addDatabase(backend->DriverName(), connection);
        if (!backend->Configure(db, location, why) || !db.open()) {
            why = why.isEmpty() ? SqlErrorText(db.lastError()) : why;
        } else {
            const qint64 tests = Rows(db, "tests");
            const qint64 devices = Rows(db, "devices");
            if (tests == size.Tests() && devices == size.devices)
                done = true;
            else if (tests != 0 || devices != 0)
                why = QStringLiteral("it holds %1 tests of %2 devices, not a generated fleet of %3 x %4")
                          .arg(tests)
                          .arg(devices)
                          .arg(size.devices)
                          .arg(size.testsPerDevice);
            else
                done = Generator(db, size, today, backend->DriverName() == QLatin1String("QPSQL")).Run(why);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return done;
}
