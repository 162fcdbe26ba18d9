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
        if (!kept.handOffWhy.isEmpty())
            ShowMessage(kept.handOffWhy, Caption, MsgIcon::Warning);
        if (announce == TKeepAnnounce::Always)
            ShowMessage((kept.alreadyPresent ? QStringLiteral("This test is already in the test library %1.")
                                             : QStringLiteral("The test was added to the test library %1."))
                            .arg(kept.libraryName),
                        Caption, MsgIcon::Information);
        return;
    case TKeepOutcome::NotKept:
        if (kept.queued)
            ShowMessage(
                QStringLiteral("The test could not be kept in the test library yet.\n\n%1\n\n"
                               "It waits in the outbox and goes into the library as soon as the library "
                               "can be reached again.")
                    .arg(kept.why),
                Caption, MsgIcon::Warning);
        else
            ShowMessage(QStringLiteral("The test could not be kept in the test library.\n\n%1\n\n%2\n\n"
                                       "Save it as a file so that it is not lost.")
                            .arg(kept.why, kept.outboxWhy),
                        Caption, MsgIcon::Warning);
        return;
    }
}

} // namespace

void KeepFinishedTestAndTell(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis,
                             QObject* context) {
    KeepFinishedTest(rec, basis, context,
                     [](const TKeepResult& kept) { Tell(kept, TKeepAnnounce::OnlyFailures); });
}

void KeepTestAndTell(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis, QObject* context) {
    KeepTestOnCommand(rec, basis, context,
                      [](const TKeepResult& kept) { Tell(kept, TKeepAnnounce::Always); });
}
