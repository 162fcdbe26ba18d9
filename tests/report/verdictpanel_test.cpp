// The report viewer's verdict panel: what it offers on opening a record, and that choosing leaves the
// record file as it was.
#include "library/programlibrary.h"
#include "report/testreportviewer.h"
#include "tests/support/findchild.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString Bte = QStringLiteral("CorvexZR Simulator, biphasic truncated exponential");
const QString Rlb = QStringLiteral("CorvexZR Simulator, rectilinear biphasic");

class VerdictPanel : public ::testing::Test {
protected:
    QString Save(const char* name, const char* make, const char* model) {
        auto rec = std::make_unique<TZRTestRec>();
        FillLoad(*rec, 1, 1, 5000, 5000);
        rec->SetDeviceInfo(diManufacturer, QString::fromLatin1(make));
        rec->SetDeviceInfo(diModel, QString::fromLatin1(model));
        const QString path = settings.Folder() + QLatin1Char('/') + QString::fromLatin1(name);
        WriteBytes(path, RecordBytes(*rec));
        return path;
    }
    static QString Offered(const TTestReportViewer& viewer) {
        return Child<QComboBox>(viewer, "cboProfile")->currentText() + QStringLiteral(" @ ") +
               Child<QComboBox>(viewer, "cboEnergy")->currentText();
    }

    TempSettings settings;
    ScriptedMessages boxes;
};

} // namespace

// Looking at a record against another profile or energy is not a choice for the next test.
TEST_F(VerdictPanel, OpeningAFileOffersItsMakeAndModelsProfileAndChangingItRemembersNothing) {
    const QString path = Save("bte.zrq", "CorvexZR Simulator", "Biphasic truncated exponential");
    const QByteArray bytes = ReadBytes(path);
    {
        // Never chosen for this device: the profile naming it, at its first setting.
        const auto viewer = std::make_unique<TTestReportViewer>(nullptr, path);
        EXPECT_EQ(Offered(*viewer), Bte + QStringLiteral(" @ 200 J"));
        EXPECT_EQ(Child<QTableWidget>(*viewer, "tblVerdict")->item(0, 6)->text(),
                  QStringLiteral("not tested"));
        EXPECT_FALSE(Child<QTableWidget>(*viewer, "tblVerdict")->item(1, 1)->text().isEmpty());
        auto* profile = Child<QComboBox>(*viewer, "cboProfile");
        profile->setCurrentIndex(profile->findText(Rlb));
        auto* energy = Child<QComboBox>(*viewer, "cboEnergy");
        energy->setCurrentIndex(energy->findText(QStringLiteral("150 J")));
    }
    const auto again = std::make_unique<TTestReportViewer>(nullptr, path);
    EXPECT_EQ(Offered(*again), Bte + QStringLiteral(" @ 200 J"));
    again->ChooseVerdict(TVerdictChoice{Rlb, 150.0}); // as the Test Library opens a test
    const TVerdictSettings remembered(settings.Ini());
    EXPECT_EQ(remembered.Last(), TVerdictChoice{});
    EXPECT_FALSE(remembered.For(QStringLiteral("CorvexZR Simulator"),
                                QStringLiteral("Biphasic truncated exponential")));
    // The choice lives in the settings, never in the record.
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(bytes.size(), 72424);

    // A device no profile names, never checked: no check.
    const auto other = std::make_unique<TTestReportViewer>(nullptr, Save("acme.zrq", "Acme", "LifeKeeper"));
    EXPECT_EQ(Child<QComboBox>(*other, "cboProfile")->currentText(), QStringLiteral("No check"));
    EXPECT_EQ(Child<QLabel>(*other, "lblOverall")->text(), QStringLiteral("NO CHECK"));
}

// "Add to Test Library" keeps the opened record with the choice the panel shows, and says so; a
// second time it says the test is already there.
TEST_F(VerdictPanel, AddToLibraryKeepsTheRecordWithThePanelsChoice) {
    const QString path = Save("bte.zrq", "CorvexZR Simulator", "Biphasic truncated exponential");
    const auto viewer = std::make_unique<TTestReportViewer>(nullptr, path);
    viewer->ChooseVerdict(TVerdictChoice{Rlb, 150.0});
    Child<QAction>(*viewer, "mmAddToLibrary")->trigger();
    Child<QAction>(*viewer, "mmAddToLibrary")->trigger();
    ASSERT_EQ(boxes.Shown().size(), 2);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(QStringLiteral("The test was added to the test library")));
    EXPECT_TRUE(boxes.Shown()[1].text.startsWith(QStringLiteral("This test is already in the test library")));

    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    ASSERT_TRUE(library) << why.toStdString();
    const std::vector<TLibraryTest> tests = library->List();
    ASSERT_EQ(tests.size(), 1u);
    EXPECT_EQ(library->RecordBytes(tests[0].id), ReadBytes(path));
    EXPECT_EQ(tests[0].choice, (TVerdictChoice{Rlb, 150.0}));
}
