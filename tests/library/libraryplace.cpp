#include "tests/library/libraryplace.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

void ExecOn(QSqlDatabase db, const QStringList& statements) {
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    QSqlQuery q(db);
    for (const QString& s : statements)
        ASSERT_TRUE(q.exec(s)) << s.toStdString() << ": " << q.lastError().text().toStdString();
}

class SqlitePlace : public LibraryPlace {
public:
    QString NewLocation() override { return m_dir.filePath(QStringLiteral("library%1.sqlite").arg(++m_count)); }
    void Exec(const QString& location, const QStringList& statements) override {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            db.setDatabaseName(location);
            ExecOn(db, statements);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }
    QStringList FailLoadWrites() const override {
        return {QStringLiteral("CREATE TRIGGER disk_full_trigger BEFORE INSERT ON test_loads "
                               "BEGIN SELECT RAISE(ABORT, 'disk full'); END")};
    }
    bool IsPostgres() const override { return false; }

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};

class PostgresPlace : public LibraryPlace {
public:
    PostgresPlace() : m_server(qEnvironmentVariable("CORVEX_TEST_POSTGRES")) {}

    QString NewLocation() override {
        if (m_server.isEmpty()) {
            ADD_FAILURE() << "CORVEX_TEST_POSTGRES names no server; run this program through "
                             "tests/library/with-postgres.sh";
            return QStringLiteral("postgresql://nobody@localhost/none");
        }
        const QString name = QStringLiteral("corvex_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++s_count);
        Exec(m_server, {QStringLiteral("CREATE DATABASE %1").arg(name)});
        QUrl url(m_server);
        url.setPath(QLatin1Char('/') + name);
        return url.toString();
    }
    void Exec(const QString& location, const QStringList& statements) override {
        const QUrl url(location);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("raw"));
            db.setHostName(url.host());
            db.setPort(url.port(5432));
            db.setUserName(url.userName());
            db.setPassword(url.password());
            db.setDatabaseName(url.path().mid(1));
            ExecOn(db, statements);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }
    QStringList FailLoadWrites() const override {
        return {QStringLiteral("CREATE FUNCTION disk_full() RETURNS trigger AS $$ BEGIN "
                               "RAISE EXCEPTION 'disk full'; END $$ LANGUAGE plpgsql"),
                QStringLiteral("CREATE TRIGGER disk_full_trigger BEFORE INSERT ON test_loads "
                               "FOR EACH ROW EXECUTE FUNCTION disk_full()")};
    }
    bool IsPostgres() const override { return true; }

private:
    QString m_server;
    static inline int s_count = 0; // databases made by this program
};

} // namespace

std::unique_ptr<LibraryPlace> MakeLibraryPlace() {
#ifdef CORVEX_TEST_POSTGRES
    return std::make_unique<PostgresPlace>();
#else
    return std::make_unique<SqlitePlace>();
#endif
}
