// The shared library's address as IT writes it, and what its refusals are told as.
#include "library/librarybackend.h"
#include "library/postgresaddress.h"
#include "library/postgreserrors.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

using Options = QList<QPair<QString, QString>>;

PostgresAddress Parsed(const QString& location) {
    QString why;
    const std::optional<PostgresAddress> address = ParsePostgresAddress(location, why);
    EXPECT_TRUE(address.has_value()) << why.toStdString();
    return address.value_or(PostgresAddress{});
}

QString Refusal(const QString& location) {
    QString why;
    EXPECT_FALSE(ParsePostgresAddress(location, why).has_value()) << location.toStdString();
    return why;
}

TEST(PostgresAddress, EitherFormPassesItsPartsAndOptionsOnAsWritten) {
    const PostgresAddress url =
        Parsed(QStringLiteral("postgresql://tech@db.example.org:6432/"
                              "corvexzr?sslmode=verify-full&sslrootcert=/etc/ssl/it%20root.crt"
                              "&application_name=bench%203"));
    EXPECT_EQ(url.host, QStringLiteral("db.example.org"));
    EXPECT_EQ(url.port, 6432);
    EXPECT_EQ(url.user, QStringLiteral("tech"));
    EXPECT_TRUE(url.password.isEmpty());
    EXPECT_EQ(url.dbname, QStringLiteral("corvexzr"));
    EXPECT_EQ(url.ConnectOptions(),
              QStringLiteral(
                  "sslmode='verify-full';sslrootcert='/etc/ssl/it root.crt';application_name='bench 3'"));

    // A service name alone: host, user and database come from the service file.
    EXPECT_EQ(Parsed(QStringLiteral("postgresql:///?service=corvexzr")).options,
              (Options{{QStringLiteral("service"), QStringLiteral("corvexzr")}}));
    const PostgresAddress keywords =
        Parsed(QStringLiteral("service=corvexzr sslmode = require  sslkey='/home/a b/k\\'s.key'"));
    EXPECT_TRUE(keywords.host.isEmpty());
    EXPECT_EQ(keywords.options, (Options{{QStringLiteral("service"), QStringLiteral("corvexzr")},
                                         {QStringLiteral("sslmode"), QStringLiteral("require")},
                                         {QStringLiteral("sslkey"), QStringLiteral("/home/a b/k's.key")}}));
    EXPECT_EQ(keywords.ConnectOptions().count(QStringLiteral("\\'")), 1); // the quote escaped for libpq
    EXPECT_TRUE(IsPostgresLocation(QStringLiteral("service=corvexzr")));
    EXPECT_FALSE(IsPostgresLocation(QStringLiteral("/home/tech/service=old/library.sqlite")));
}

TEST(PostgresAddress, AnOptionThatIsNotLibpqsIsRefusedWithItsName) {
    EXPECT_TRUE(Refusal(QStringLiteral("postgresql://tech@db/corvexzr?sslmod=require"))
                    .contains(QStringLiteral("\"sslmod\"")));
    EXPECT_TRUE(
        Refusal(QStringLiteral("service=corvexzr colour=blue")).contains(QStringLiteral("\"colour\"")));
    EXPECT_TRUE(
        Refusal(QStringLiteral("postgresql://tech@db/")).contains(QStringLiteral("names no database")));
    // The driver would cut the value at the ';'.
    EXPECT_TRUE(Refusal(QStringLiteral("postgresql://tech@db/x?application_name=a;b"))
                    .contains(QStringLiteral("';'")));
}

TEST(PostgresAddress, APasswordIsNeverShownAndTheSettingsFileSaysWhereItBelongs) {
    EXPECT_EQ(DisplayLocation(QStringLiteral("postgresql://tech:s3cret@db:5432/lib?sslmode=require")),
              QStringLiteral("postgresql://tech:***@db:5432/lib?sslmode=require"));
    EXPECT_FALSE(DisplayLocation(QStringLiteral("postgresql://tech@db/lib?password=s3cret&sslpassword=k3y"))
                     .contains(QStringLiteral("3")));
    EXPECT_EQ(DisplayLocation(QStringLiteral("host=db password='a b' sslpassword=k3y")),
              QStringLiteral("host=db password=*** sslpassword=***"));

    EXPECT_TRUE(PasswordAdvice(QStringLiteral("postgresql://tech@db/lib")).isEmpty());
    EXPECT_TRUE(PasswordAdvice(QStringLiteral("postgresql://tech:s3cret@db/lib"))
                    .contains(QStringLiteral("~/.pgpass")));
    EXPECT_TRUE(PasswordAdvice(QStringLiteral("postgresql://tech:s3cret@db/lib"))
                    .contains(QStringLiteral("\ndb:*:lib:tech:PASSWORD\n")));
}

TEST(PostgresErrors, EachRefusalNamesItsCause) {
    const struct {
        const char* driver;
        const char* cause;
    } cases[] = {
        {"connection to server at \"db\" failed: SSL error: certificate verify failed",
         "certificate was refused"},
        {"server does not support SSL, but SSL was required", "does not offer TLS"},
        {"FATAL:  pg_hba.conf rejects connection for host \"10.0.0.5\", user \"tech\", database \"lib\", no "
         "encryption",
         "only over TLS"},
        {"FATAL:  password authentication failed for user \"tech\"", "refused the password"},
        {"fe_sendauth: no password supplied", "none was found"},
        {"ERROR:  permission denied for table tests", "may not do this"},
        {"could not connect to server: Connection refused", "does not answer"},
    };
    for (const auto& c : cases) {
        const QString told = ExplainPostgresError(QString::fromUtf8(c.driver));
        EXPECT_TRUE(told.contains(QString::fromUtf8(c.cause))) << told.toStdString();
        EXPECT_TRUE(told.contains(QString::fromUtf8(c.driver))) << "the driver's own words stay";
    }
    EXPECT_EQ(ExplainPostgresError(QStringLiteral("something new")), QStringLiteral("something new"));
}

} // namespace
