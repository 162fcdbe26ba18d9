#pragma once
// Keeping a test in the program's library, as the windows do it: at the end of a new test (quietly,
// unless it fails) and on the report viewer's command (saying what happened). A test the library
// cannot take goes into the outbox (library/outbox.h), to be sent when the library can be reached. A record
// in which no load has data is no test and is never added. What happened is returned; the windows tell it
// (report/keepmessages.h).

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <QString>
#include <optional>

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

TKeepResult KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis);
