#include "library/keeptest.h"

#include "library/handoff.h"
#include "library/librarybackend.h"
#include "library/libraryworker.h"
#include "library/outbox.h"
#include "library/programlibrary.h"
#include "records/recordimage.h"

namespace {

std::optional<TVerdictChoice> ChoiceOf(const std::optional<TVerdictBasis>& basis) {
    if (!basis)
        return std::nullopt;
    return TVerdictChoice{basis->profile.name, basis->setting.selected};
}

// Not kept: into the outbox, so that it reaches the library later.
TKeepResult Queued(TKeepResult kept, const QByteArray& record, const std::optional<TVerdictBasis>& basis,
                   const QString& location, const QString& outboxPath) {
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(outboxPath, kept.outboxWhy);
    kept.queued = outbox && outbox->Put(record, ChoiceOf(basis), location, kept.why, kept.outboxWhy);
    return kept;
}

TKeepResult NoLoadData() {
    TKeepResult kept;
    kept.outcome = TKeepOutcome::NoLoadData;
    return kept;
}

// On the worker: sends the outbox the finished test was put into, and says whether that test went in.
TKeepResult SendFinishedTest(TLibraryAccess& access, const QString& outboxPath, const QByteArray& record,
                             const std::optional<TVerdictChoice>& choice) {
    TKeepResult kept;
    kept.queued = true;
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(outboxPath, kept.why);
    if (!outbox)
        return kept; // it was put there a moment ago and waits for the next send
    TTestLibrary* library = access.Library(kept.why);
    if (!library) {
        QString unused; // the outbox took the test before; this only brings its reason up to date
        outbox->Put(record, choice, access.Location(), kept.why, unused);
        return kept;
    }
    outbox->SendTo(*library, [&access] { return !access.Stopping(); });
    const QString sha256 = RecordSha256(record);
    for (const TOutboxEntry& entry : outbox->Waiting(access.Location())) {
        if (entry.sha256 == sha256) {
            kept.why = entry.why;
            return kept;
        }
    }
    kept.outcome = TKeepOutcome::Kept;
    kept.queued = false;
    kept.libraryName = library->DisplayName();
    return kept;
}

// On the worker: the record into the worker's library, else the outbox.
void PostKeep(const QByteArray& record, const std::optional<TVerdictBasis>& basis, QObject* context,
              TKeepTold told) {
    ProgramLibraryWorker().Post(
        ProgramLibraryLocation(), context,
        [record, basis, outboxPath = ProgramOutboxLocation()](TLibraryAccess& access) {
            QString why;
            TTestLibrary* library = access.Library(why);
            return KeepRecordIn(library, why, record, basis, access.Location(), outboxPath);
        },
        std::move(told));
}

} // namespace

TKeepResult KeepRecordIn(TTestLibrary* library, const QString& why, const QByteArray& record,
                         const std::optional<TVerdictBasis>& basis, const QString& location,
                         const QString& outboxPath) {
    TKeepResult kept;
    kept.why = why;
    if (!library)
        return Queued(kept, record, basis, location, outboxPath);
    const TAddResult result = AddAndHandOff(*library, record, basis);
    switch (result.outcome) {
    case TAddOutcome::Added:
    case TAddOutcome::AlreadyPresent:
        kept.outcome = TKeepOutcome::Kept;
        kept.alreadyPresent = result.outcome == TAddOutcome::AlreadyPresent;
        kept.libraryName = library->DisplayName();
        kept.handOffWhy = result.handOffWhy;
        return kept;
    case TAddOutcome::Refused:
    case TAddOutcome::Failed:
        break;
    }
    kept.why = result.why;
    return Queued(kept, record, basis, location, outboxPath);
}

TKeepResult KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis) {
    if (!rec.HasLoadData())
        return NoLoadData();
    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    return KeepRecordIn(library, why, EncodeTestRecord(rec), basis, ProgramLibraryLocation(),
                        ProgramOutboxLocation());
}

void KeepFinishedTest(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis, QObject* context,
                      TKeepTold told) {
    const QString location = ProgramLibraryLocation();
    if (!rec.HasLoadData() || !IsPostgresLocation(location)) {
        told(KeepTestInLibrary(rec, basis));
        return;
    }
    const QByteArray record = EncodeTestRecord(rec);
    const QString outboxPath = ProgramOutboxLocation();
    const std::optional<TVerdictChoice> choice = ChoiceOf(basis);
    QString why;
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(outboxPath, why);
    if (!outbox ||
        !outbox->Put(record, choice, location,
                     QStringLiteral("It was put here at the end of its test, to be sent at once."), why)) {
        PostKeep(record, basis, context, std::move(told)); // the library may take it all the same
        return;
    }
    ProgramLibraryWorker().Post(
        location, context,
        [outboxPath, record, choice](TLibraryAccess& access) {
            return SendFinishedTest(access, outboxPath, record, choice);
        },
        std::move(told));
}

void KeepTestOnCommand(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis, QObject* context,
                       TKeepTold told) {
    if (!rec.HasLoadData()) {
        told(NoLoadData());
        return;
    }
    if (!IsPostgresLocation(ProgramLibraryLocation())) {
        told(KeepTestInLibrary(rec, basis));
        return;
    }
    PostKeep(EncodeTestRecord(rec), basis, context, std::move(told));
}
