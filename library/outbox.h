#pragma once
// The outbox: finished tests that the library could not take (a server out of reach, an account that
// may not add, a full disk, a locked database) wait here, in a small SQLite file in the data folder,
// until they can be sent. Each waits once (its record's SHA-256 decides), with the library it was
// meant for, the verdict choice made for it, when it was put here and why.
//
// One object is one connection; use it from the thread that opened it.

#include "library/testlibrary.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct TOutboxEntry {
    QString sha256;
    QString library;  // the location it is meant for
    QString deviceId; // as the record names it
    QString testedAt; // ISO 8601 local time
    QString queuedAt; // ISO 8601 UTC
    QString why;      // the last reason it could not be stored
    int attempts = 0;
};

struct TOutboxSend {
    int sent = 0;    // stored in the library now (or found there)
    int waiting = 0; // still in the outbox for that library
    QString why;     // the last reason one could not be sent
    QString handOffWhy; // the last reason a test sent could not be handed off (library/handoff.h)
};

class TOutbox {
public:
    // The outbox file at `path`, created when missing; nothing with the reason in `why`.
    static std::unique_ptr<TOutbox> Open(const QString& path, QString& why);
    ~TOutbox();
    TOutbox(const TOutbox&) = delete;
    TOutbox& operator=(const TOutbox&) = delete;

    // Puts the record there for `library` (again: its reason is brought up to date). False, with the
    // reason in `why`, when the outbox itself cannot be written.
    bool Put(const QByteArray& record, const std::optional<TVerdictChoice>& choice, const QString& library,
             const QString& reason, QString& why);
    // What waits, oldest first; for one library only when one is given.
    std::vector<TOutboxEntry> Waiting(const std::optional<QString>& library = std::nullopt);
    // Sends what waits for `library` into it: each test stored (or found there) leaves the outbox.
    // `goOn`, when given, is asked before each test: false leaves the rest waiting.
    TOutboxSend SendTo(TTestLibrary& library, const std::function<bool()>& goOn = {});

private:
    explicit TOutbox(const QString& connection);
    QString m_connection;
};

// The program's outbox file: outbox.sqlite in the data folder.
QString ProgramOutboxLocation();

// Opens the outbox at `outboxPath` and, when anything waits for it, the library at `location`, and sends
// what waits. Uses connections of its own, so any thread may call it.
TOutboxSend SendOutbox(const QString& outboxPath, const QString& location);

class TLibraryAccess;

// The same as a job of the library worker (library/libraryworker.h): through the worker's library, at
// the location the job was posted for; a worker that is ending stops between two tests.
TOutboxSend SendOutboxOn(TLibraryAccess& access, const QString& outboxPath);
