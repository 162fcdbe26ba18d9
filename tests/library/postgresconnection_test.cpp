// A shared library reached as a hospital's IT department sets it up: over TLS with a certificate the
// test made, by a service name with the password in a password file, each refusal told by its cause,
// and the roles for technicians and auditors. Runs through tests/library/with-postgres-tls.sh.
#include "library/librarybackend.h"
#include "library/testlibrary.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordbuilder.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class PostgresConnection : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server.isEmpty()) << "run through tests/library/with-postgres-tls.sh";
        const QUrl url(server);
        host = url.host();
        port = url.port(5432);
    }
    QString Server(const QString& options) const { return server + QLatin1Char('?') + options; }
    QString Tls(const QString& root) const {
        return QStringLiteral("sslmode=verify-full&sslrootcert=%1/%2").arg(tls, root);
    }
    QString TlsOnly(const QString& password, const QString& options) const {
        return QStringLiteral("postgresql://tls_only:%1@%2:%3/tlsdb?%4")
            .arg(password, host)
            .arg(port)
            .arg(options);
    }
    // Why the library could not be opened (empty when it could).
    static QString Refusal(const QString& location) {
        QString why;
        const std::unique_ptr<TTestLibrary> library = TTestLibrary::Open(location, why);
        return library ? QString() : why;
    }

    const QString server = qEnvironmentVariable("CORVEX_TEST_POSTGRES");
    const QString tls = qEnvironmentVariable("CORVEX_TEST_TLS_DIR");
    QString host;
    int port = 0;
};

TEST_F(PostgresConnection, TheAddressesOptionsReachTheServer) {
    const QString location =
        Server(Tls(QStringLiteral("server.crt")) + QStringLiteral("&application_name=bench-7"));
    EXPECT_EQ(Refusal(location), QString());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("tls-check"));
    QString why;
    ASSERT_TRUE(BackendFor(location)->Configure(db, location, why)) << why.toStdString();
    ASSERT_TRUE(db.open());
    {
        QSqlQuery q(
            QStringLiteral("SELECT s.ssl, a.application_name FROM pg_stat_ssl s JOIN pg_stat_activity a "
                           "ON a.pid = s.pid WHERE s.pid = pg_backend_pid()"),
            db);
        ASSERT_TRUE(q.next());
        EXPECT_TRUE(q.value(0).toBool());
        EXPECT_EQ(q.value(1).toString(), QStringLiteral("bench-7"));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("tls-check"));
}

TEST_F(PostgresConnection, EachRefusalIsToldByItsCause) {
    EXPECT_TRUE(Refusal(Server(Tls(QStringLiteral("other.crt"))))
                    .contains(QStringLiteral("certificate was refused")));
    EXPECT_TRUE(Refusal(TlsOnly(QStringLiteral("tls-only-secret"), QStringLiteral("sslmode=disable")))
                    .contains(QStringLiteral("only over TLS")));
    EXPECT_TRUE(Refusal(TlsOnly(QStringLiteral("wrong"), QStringLiteral("sslmode=require")))
                    .contains(QStringLiteral("refused the password")));
    EXPECT_EQ(Refusal(TlsOnly(QStringLiteral("tls-only-secret"), QStringLiteral("sslmode=require"))),
              QString());
}

TEST_F(PostgresConnection, AServiceNameAloneWithThePasswordInAPasswordFile) {
    QTemporaryDir dir;
    QFile service(dir.filePath(QStringLiteral("pg_service.conf")));
    ASSERT_TRUE(service.open(QIODevice::WriteOnly));
    service.write(
        QStringLiteral("[corvexzr]\nhost=%1\nport=%2\ndbname=tlsdb\nuser=tls_only\nsslmode=require\n")
            .arg(host)
            .arg(port)
            .toUtf8());
    service.close();
    QFile pass(dir.filePath(QStringLiteral("pgpass")));
    ASSERT_TRUE(pass.open(QIODevice::WriteOnly));
    pass.write(QStringLiteral("%1:%2:tlsdb:tls_only:tls-only-secret\n").arg(host).arg(port).toUtf8());
    pass.close();
    pass.setPermissions(QFileDevice::ReadOwner |
                        QFileDevice::WriteOwner); // libpq ignores a file others may read
    // The throwaway server's own password would come before the file's.
    const QByteArray serverPassword = qgetenv("PGPASSWORD");
    qunsetenv("PGPASSWORD");
    qputenv("PGSERVICEFILE", service.fileName().toLocal8Bit());
    qputenv("PGPASSFILE", pass.fileName().toLocal8Bit());
    EXPECT_EQ(Refusal(QStringLiteral("postgresql:///?service=corvexzr")), QString());
    EXPECT_EQ(Refusal(QStringLiteral("service=corvexzr")), QString());
    EXPECT_TRUE(
        Refusal(QStringLiteral("service=nosuch")).contains(QStringLiteral("not in the service file")));
    qunsetenv("PGSERVICEFILE");
    qunsetenv("PGPASSFILE");
    qputenv("PGPASSWORD", serverPassword);
}

TEST_F(PostgresConnection, TechniciansAddAndReadAuditorsOnlyReadAndNobodyChangesATest) {
    auto at = [&](const QString& user) {
        QUrl url(server);
        url.setPath(QStringLiteral("/rolesdb"));
        if (!user.isEmpty()) {
            url.setUserName(user);
            url.setPassword(user + QStringLiteral("-secret"));
        }
        return url.toString();
    };
    QString why;
    std::unique_ptr<TTestLibrary> owner = TTestLibrary::Open(at(QString()), why);
    ASSERT_TRUE(owner) << why.toStdString();
    std::unique_ptr<TZRTestRec> rec = MakeFullRecord();
    ASSERT_EQ(owner->Add(RecordBytes(*rec)).outcome, TAddOutcome::Added);
    owner.reset();

    QProcess psql;
    psql.start(QStringLiteral("psql"),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-d"), at(QString()), QStringLiteral("-f"),
                QStringLiteral(CORVEX_SOURCE_DIR "/resources/library/postgresql-roles.sql"),
                QStringLiteral("-c"),
                QStringLiteral("GRANT corvexzr_technician TO bench; "
                               "GRANT corvexzr_auditor TO audit")});
    ASSERT_TRUE(psql.waitForFinished(30000));
    ASSERT_EQ(psql.exitCode(), 0) << psql.readAllStandardError().toStdString();

    std::unique_ptr<TTestLibrary> bench = TTestLibrary::Open(at(QStringLiteral("bench")), why);
    ASSERT_TRUE(bench) << why.toStdString();
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-0099"));
    const TAddResult added = bench->Add(RecordBytes(*rec));
    EXPECT_EQ(added.outcome, TAddOutcome::Added) << added.why.toStdString();
    EXPECT_EQ(bench->List().size(), 2u);
    EXPECT_TRUE(bench->SetInterval(QStringLiteral("DEF-0099"), 6)) << bench->LastError().toStdString();
    bench.reset();

    std::unique_ptr<TTestLibrary> audit = TTestLibrary::Open(at(QStringLiteral("audit")), why);
    ASSERT_TRUE(audit) << why.toStdString();
    EXPECT_EQ(audit->List().size(), 2u);
    TFleetQuery fleet;
    fleet.today = QDate(2026, 12, 9);
    EXPECT_EQ(audit->Fleet(fleet).size(), 2u) << audit->LastError().toStdString();
    EXPECT_FALSE(audit->SetInterval(QStringLiteral("DEF-0099"), 1));
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-0100"));
    const TAddResult refused = audit->Add(RecordBytes(*rec));
    EXPECT_EQ(refused.outcome, TAddOutcome::Failed);
    EXPECT_TRUE(refused.why.contains(QStringLiteral("may not add tests"))) << refused.why.toStdString();
    audit.reset();

    // Neither role changes or deletes a stored test.
    for (const QString& user : {QStringLiteral("bench"), QStringLiteral("audit")}) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), user);
        const QString location = at(user);
        ASSERT_TRUE(BackendFor(location)->Configure(db, location, why));
        ASSERT_TRUE(db.open());
        {
            QSqlQuery q(db);
            EXPECT_FALSE(q.exec(QStringLiteral("UPDATE tests SET device_id = 'X'"))) << user.toStdString();
            EXPECT_FALSE(q.exec(QStringLiteral("DELETE FROM test_loads"))) << user.toStdString();
            EXPECT_FALSE(q.exec(QStringLiteral("DELETE FROM tests"))) << user.toStdString();
            EXPECT_FALSE(q.exec(QStringLiteral("DELETE FROM devices"))) << user.toStdString();
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(user);
    }
}

} // namespace
