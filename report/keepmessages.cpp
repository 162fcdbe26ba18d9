#include "report/keepmessages.h"

#include "base/messages.h"

namespace {

const QString Caption = QStringLiteral("Test Library");

void Tell(const TKeepResult& kept, TKeepAnnounce announce) {
    switch (kept.outcome) {
    case TKeepOutcome::NoLoadData:
        // Said even at the end of a new test: the technician expects every test to be kept.
        ShowMessage(QStringLiteral("No load of this test has data, so it was not added to the test library."),
                    Caption, MsgIcon::Information);
        return;
    case TKeepOutcome::Kept:
        if (announce == TKeepAnnounce::Always)
            ShowMessage((kept.alreadyPresent ? QStringLiteral("This test is already in the test library %1.")
                                             : QStringLiteral("The test was added to the test library %1."))
                            .arg(kept.libraryName),
                        Caption, MsgIcon::Information);
        return;
    case TKeepOutcome::NotKept:
        ShowMessage(QStringLiteral("The test could not be kept in the test library.\n\n%1\n\n"
                                   "Save it as a file so that it is not lost.")
                        .arg(kept.why),
                    Caption, MsgIcon::Warning);
        return;
    }
}

} // namespace

TKeepOutcome KeepTestAndTell(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis,
                             TKeepAnnounce announce) {
    const TKeepResult kept = KeepTestInLibrary(rec, basis);
    Tell(kept, announce);
    return kept.outcome;
}
