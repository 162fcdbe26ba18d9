#include "library/outbox.h"

#include "base/global.h"
#include "library/handoff.h"
#include "library/libraryworker.h"
#include "records/recordimage.h"
#include "verdict/profilefolder.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>

TOutbox::TOutbox(const QString& connection) : m_connection(connection) {}

TOutbox::~TOutbox() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

std::unique_ptr<TOutbox> TOutbox::Open(const QString& path, QString& why) {
    static std::atomic<int> serial{0};
    const QString connection = QStringLiteral("corvex-outbox-%1").arg(serial++);
    std::unique_ptr<TOutbox> outbox(new TOutbox(connection));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    QSqlQuery q(db);
    if (!db.open() || !q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS waiting (sha256 CHAR(64) PRIMARY KEY, "
                               "library TEXT NOT NULL, device_id TEXT NOT NULL, tested_at TEXT NOT NULL, "
                               "profile TEXT, selected_energy DOUBLE PRECISION, queued_at TEXT NOT NULL, "
                               "why TEXT NOT NULL, attempts INTEGER NOT NULL, record BLOB NOT NULL)"))) {
        why = QStringLiteral("The outbox %1 cannot be used (%2).")
                  .arg(path, SqlErrorText(db.isOpen() ? q.lastError() : db.lastError()));
        return nullptr;
    }
    return outbox;
}

bool TOutbox::Put(const QByteArray& record, const std::optional<TVerdictChoice>& choice,
                  const QString& library, const QString& reason, QString& why) {
    auto rec = std::make_unique<TZRTestRec>();
    if (!DecodeTestRecord(record, *rec, why))
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    // Put again: the same test, the newest reason; it keeps its place in the queue.
    q.prepare(QStringLiteral(
        "INSERT INTO waiting (sha256, library, device_id, tested_at, profile, selected_energy, queued_at, "
        "why, "
        "attempts, record) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1, ?) ON CONFLICT (sha256) DO UPDATE SET "
        "why = excluded.why, attempts = attempts + 1, library = excluded.library"));
    q.addBindValue(RecordSha256(record));
    q.addBindValue(library);
    q.addBindValue(rec->GetDeviceInfo(diDeviceID));
    q.addBindValue(TestedAt(rec->TestDateTime()));
    q.addBindValue(choice ? QVariant(choice->profile) : QVariant(QMetaType(QMetaType::QString)));
    q.addBindValue(choice ? QVariant(choice->selected) : QVariant(QMetaType(QMetaType::Double)));
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    q.addBindValue(reason);
    q.addBindValue(record);
    if (!q.exec()) {
        why = QStringLiteral("The test could not be put in the outbox either (%1).")
                  .arg(SqlErrorText(q.lastError()));
        return false;
    }
    return true;
}

std::vector<TOutboxEntry> TOutbox::Waiting(const std::optional<QString>& library) {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral(
                  "SELECT sha256, library, device_id, tested_at, queued_at, why, attempts FROM waiting%1 "
                  "ORDER BY queued_at, sha256")
                  .arg(library ? QStringLiteral(" WHERE library = ?") : QString()));
    if (library)
        q.addBindValue(*library);
    std::vector<TOutboxEntry> entries;
    if (!q.exec())
        return entries;
    while (q.next())
        entries.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                           q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                           q.value(6).toInt()});
    return entries;
}

TOutboxSend TOutbox::SendTo(TTestLibrary& library, const std::function<bool()>& goOn) {
    TOutboxSend result;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    const std::vector<TOutboxEntry> waiting = Waiting(library.Location());
    const std::vector<TProfile> profiles =
        waiting.empty() ? std::vector<TProfile>{} : LoadProfiles().profiles;
    for (const TOutboxEntry& entry : waiting) {
        if (goOn && !goOn()) {
            ++result.waiting;
            continue;
        }
        q.prepare(QStringLiteral("SELECT record, profile, selected_energy FROM waiting WHERE sha256 = ?"));
        q.addBindValue(entry.sha256);
        if (!q.exec() || !q.next()) {
            ++result.waiting;
            continue;
        }
        const QByteArray record = q.value(0).toByteArray();
        std::optional<TVerdictBasis> basis;
        if (!q.value(1).isNull())
            basis = ResolveVerdictChoice(profiles, {q.value(1).toString(), q.value(2).toDouble()});
        q.finish();
        const TAddResult added = AddAndHandOff(library, record, basis);
        if (!added.handOffWhy.isEmpty())
            result.handOffWhy = added.handOffWhy;
        if (added.outcome == TAddOutcome::Added || added.outcome == TAddOutcome::AlreadyPresent) {
            q.prepare(QStringLiteral("DELETE FROM waiting WHERE sha256 = ?"));
            q.addBindValue(entry.sha256);
            q.exec();
            ++result.sent;
            continue;
        }
        result.why = added.why;
        ++result.waiting;
        q.prepare(QStringLiteral("UPDATE waiting SET why = ?, attempts = attempts + 1 WHERE sha256 = ?"));
        q.addBindValue(added.why);
        q.addBindValue(entry.sha256);
        q.exec();
    }
    return result;
}

QString ProgramOutboxLocation() {
    return DataFolder + QStringLiteral("outbox.sqlite");
}

TOutboxSend SendOutbox(const QString& outboxPath, const QString& location) {
    TOutboxSend result;
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(outboxPath, result.why);
    if (!outbox)
        return result;
    result.waiting = static_cast<int>(outbox->Waiting(location).size());
    if (result.waiting == 0)
        return result;
    const std::unique_ptr<TTestLibrary> library = TTestLibrary::Open(location, result.why);
    if (!library)
        return result;
    return outbox->SendTo(*library);
}

TOutboxSend SendOutboxOn(TLibraryAccess& access, const QString& outboxPath) {
    TOutboxSend result;
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(outboxPath, result.why);
    if (!outbox)
        return result;
    result.waiting = static_cast<int>(outbox->Waiting(access.Location()).size());
    if (result.waiting == 0)
        return result;
    TTestLibrary* library = access.Library(result.why);
    if (!library)
        return result;
    return outbox->SendTo(*library, [&access] { return !access.Stopping(); });
}
