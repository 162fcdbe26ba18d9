// A shared library reached as a hospital's IT department sets it up: over TLS with a certificate the
// test made, by a service name with the password in a password file, and each refusal told by its
// cause. Runs through tests/library/with-postgres-tls.sh.
#include "library/librarybackend.h"
#include "library/testlibrary.h"
#include "tests/support/qtprinters.h"

#include <QFile>
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

} // namespace
