#pragma once
// Keeping a test in the program's library, as the windows do it: at the end of a new test (quietly,
// unless it fails) and on the report viewer's command (saying what happened). A test the library
// cannot take goes into the outbox (library/outbox.h), to be sent when the library can be reached. A record
// in which no load has data is no test and is never added. What happened is returned; the windows tell it
// (report/keepmessages.h).
//
// A library on this computer (SQLite) keeps the test at once. A shared library's server is never waited
// for on the user-interface thread: the program's library worker talks to it, and what happened is told
// when it is known.

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QObject;
class TTestLibrary;

enum class TKeepAnnounce { OnlyFailures, Always };

// Kept: in the library afterwards (added now, or already there). NoLoadData: not added, the record
// holds no test. NotKept: the library could not take it.
enum class TKeepOutcome { Kept, NoLoadData, NotKept };

struct TKeepResult {
    TKeepOutcome outcome = TKeepOutcome::NotKept;
    bool alreadyPresent = false; // Kept: it was there before
    QString libraryName;         // Kept: the library's display name
    QString why;                 // NotKept: the library's reason
    bool queued = false;         // NotKept: it waits in the outbox (ProgramOutboxLocation())
    QString outboxWhy;           // NotKept and not queued: why the outbox could not take it either
    QString handOffWhy;          // Kept: why its hand-off to the maintenance system (library/handoff.h) failed
};

// Keeps the test in the program's library, waiting for it whatever it is.
TKeepResult KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis);

// Adds the record to `library` (nullptr: it could not be opened, for `why`), or puts it into the outbox
// at `outboxPath` for `location` when the library cannot take it. On any thread.
TKeepResult KeepRecordIn(TTestLibrary* library, const QString& why, const QByteArray& record,
                         const std::optional<TVerdictBasis>& basis, const QString& location,
                         const QString& outboxPath);

// How the test went in, on the thread that asked; not at all when `context` has gone by then (the test
// is in the library or waits in the outbox all the same).
using TKeepTold = std::function<void(const TKeepResult&)>;

// At the end of a new test, before its report viewer opens. For a shared library the test goes into the
// outbox first, so that nothing is lost whatever happens next, and the worker sends it (with whatever
// else waits there) at once; `told` hears whether it went in or still waits, and why.
void KeepFinishedTest(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis, QObject* context,
                      TKeepTold told);

// On the report viewer's command: for a shared library, the worker adds the test (into the outbox when
// the library cannot take it), and `told` hears what happened, also whether it was there before.
void KeepTestOnCommand(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis, QObject* context,
                       TKeepTold told);
