#include "library/keeptest.h"

#include "library/handoff.h"
#include "library/outbox.h"
#include "library/programlibrary.h"
#include "records/recordimage.h"

namespace {

// Not kept: into the outbox, so that it reaches the library later.
TKeepResult Queued(TKeepResult kept, const QByteArray& record, const std::optional<TVerdictBasis>& basis) {
    std::optional<TVerdictChoice> choice;
    if (basis)
        choice = TVerdictChoice{basis->profile.name, basis->setting.selected};
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(ProgramOutboxLocation(), kept.outboxWhy);
    kept.queued = outbox && outbox->Put(record, choice, ProgramLibraryLocation(), kept.why, kept.outboxWhy);
    return kept;
}

} // namespace

TKeepResult KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis) {
    TKeepResult kept;
    if (!rec.HasLoadData()) {
        kept.outcome = TKeepOutcome::NoLoadData;
        return kept;
    }
    const QByteArray record = EncodeTestRecord(rec);
    TTestLibrary* library = ProgramLibrary(kept.why);
    if (!library)
        return Queued(kept, record, basis);
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
    return Queued(kept, record, basis);
}
