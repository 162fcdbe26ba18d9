#include "library/keeptest.h"

#include "library/programlibrary.h"
#include "records/recordimage.h"

TKeepResult KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis) {
    TKeepResult kept;
    if (!rec.HasLoadData()) {
        kept.outcome = TKeepOutcome::NoLoadData;
        return kept;
    }
    TTestLibrary* library = ProgramLibrary(kept.why);
    if (!library)
        return kept;
    const TAddResult result = library->Add(EncodeTestRecord(rec), basis);
    switch (result.outcome) {
    case TAddOutcome::Added:
    case TAddOutcome::AlreadyPresent:
        kept.outcome = TKeepOutcome::Kept;
        kept.alreadyPresent = result.outcome == TAddOutcome::AlreadyPresent;
        kept.libraryName = library->DisplayName();
        return kept;
    case TAddOutcome::Refused:
    case TAddOutcome::Failed:
        break;
    }
    kept.why = result.why;
    return kept;
}
