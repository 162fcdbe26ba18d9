#include "library/keeptest.h"

#include "base/messages.h"
#include "library/programlibrary.h"
#include "records/recordimage.h"

namespace {

const QString Caption = QStringLiteral("Test Library");

bool Refused(const QString& why) {
    ShowMessage(QStringLiteral("The test could not be kept in the test library.\n\n%1\n\n"
                               "Save it as a file so that it is not lost.")
                    .arg(why),
                Caption, MsgIcon::Warning);
    return false;
}

} // namespace

bool KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis, TKeepAnnounce announce) {
    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    if (!library)
        return Refused(why);
    const TAddResult result = library->Add(EncodeTestRecord(rec), basis);
    switch (result.outcome) {
    case TAddOutcome::Added:
        if (announce == TKeepAnnounce::Always)
            ShowMessage(QStringLiteral("The test was added to the test library %1.").arg(library->DisplayName()),
                        Caption, MsgIcon::Information);
        return true;
    case TAddOutcome::AlreadyPresent:
        if (announce == TKeepAnnounce::Always)
            ShowMessage(QStringLiteral("This test is already in the test library %1.").arg(library->DisplayName()),
                        Caption, MsgIcon::Information);
        return true;
    case TAddOutcome::Refused:
    case TAddOutcome::Failed:
        break;
    }
    return Refused(result.why);
}
