#include "library/keeptest.h"

#include "base/messages.h"
#include "library/programlibrary.h"
#include "records/recordimage.h"

namespace {

const QString Caption = QStringLiteral("Test Library");

TKeepOutcome Refused(const QString& why) {
    ShowMessage(QStringLiteral("The test could not be kept in the test library.\n\n%1\n\n"
                               "Save it as a file so that it is not lost.")
                    .arg(why),
                Caption, MsgIcon::Warning);
    return TKeepOutcome::NotKept;
}

} // namespace

TKeepOutcome KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis,
                               TKeepAnnounce announce) {
    // Said even at the end of a new test: the technician expects every test to be kept.
    if (!rec.HasLoadData()) {
        ShowMessage(QStringLiteral("No load of this test has data, so it was not added to the test library."),
                    Caption, MsgIcon::Information);
        return TKeepOutcome::NoLoadData;
    }
    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    if (!library)
        return Refused(why);
    const TAddResult result = library->Add(EncodeTestRecord(rec), basis);
    switch (result.outcome) {
    case TAddOutcome::Added:
        if (announce == TKeepAnnounce::Always)
            ShowMessage(
                QStringLiteral("The test was added to the test library %1.").arg(library->DisplayName()),
                Caption, MsgIcon::Information);
        return TKeepOutcome::Kept;
    case TAddOutcome::AlreadyPresent:
        if (announce == TKeepAnnounce::Always)
            ShowMessage(
                QStringLiteral("This test is already in the test library %1.").arg(library->DisplayName()),
                Caption, MsgIcon::Information);
        return TKeepOutcome::Kept;
    case TAddOutcome::Refused:
    case TAddOutcome::Failed:
        break;
    }
    return Refused(result.why);
}
