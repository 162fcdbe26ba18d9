// The names a technician finds a test under: suggested file names and the report viewer's caption.
#include "report/testnames.h"
#include "tests/support/recordbuilder.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TZRTestRec> RecordOf(const QString& deviceID, DateStamp stamp) {
    auto rec = std::make_unique<TZRTestRec>();
    SetStatus(*rec, "ZR-004711", stamp);
    rec->SetDeviceInfo(diDeviceID, deviceID);
    return rec;
}

const DateStamp Dec9At0930{12, 30, 9, 9, 12, 26};
const DateStamp NotADate{0, 0, 0, 31, 4, 26}; // 31 April

TEST(TestNames, FileNamesAreTheDeviceAndTheTestsDateAndTime) {
    EXPECT_EQ(SuggestedFileStem(*RecordOf(QStringLiteral("DEF-0042"), Dec9At0930)),
              QStringLiteral("DEF-0042_2026-12-09_0930"));
    // What a file system would refuse or misread becomes one "_"; letters of the record's own
    // character set stay.
    EXPECT_EQ(SuggestedFileStem(*RecordOf(QStringLiteral(" ER 3/B:Nord*?\"<>|\\ "), Dec9At0930)),
              QStringLiteral("ER_3_B_Nord_2026-12-09_0930"));
    EXPECT_EQ(FileNameSafe(QStringLiteral("..\\..\\Défi.")), QStringLiteral("Défi"));
    EXPECT_EQ(SuggestedFileStem(*RecordOf(QStringLiteral("/"), Dec9At0930)),
              QStringLiteral("2026-12-09_0930"));
    EXPECT_EQ(SuggestedFileStem(*RecordOf(QStringLiteral("DEF-0042"), NotADate)), QStringLiteral("DEF-0042"));
    EXPECT_EQ(SuggestedFileStem(*RecordOf(QString(), NotADate)), QString());
}

TEST(TestNames, TheReportViewersCaptionNamesTheDeviceAndTheDate) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ReportViewerCaption(*RecordOf(QStringLiteral("DEF-0042"), Dec9At0930), english),
              QStringLiteral("CorvexZR Test Report Viewer - DEF-0042, Dec 9, 2026"));
    EXPECT_EQ(ReportViewerCaption(*RecordOf(QStringLiteral("DEF-0042"), NotADate), english),
              QStringLiteral("CorvexZR Test Report Viewer - DEF-0042"));
    EXPECT_EQ(ReportViewerCaption(*RecordOf(QStringLiteral("  "), Dec9At0930), english),
              QStringLiteral("CorvexZR Test Report Viewer"));
}

} // namespace
