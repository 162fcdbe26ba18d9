// The verdict through the windows of a test: the profile chosen in the load selection and remembered,
// each load's verdict in the step window after its download, and the same verdict in the report
// viewer's panel of that test.
#include "report/testreportviewer.h"
#include "testrun/testoptionsform.h"
#include "testrun/teststepform.h"
#include "tests/support/findchild.h"
#include "tests/testrun/simrun.h"
#include "verdict/profilefolder.h"

#include "base/loadundertest.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

// A label's text with the non-breaking spaces that keep numbers with their units read as spaces.
QString ShownText(const QLabel* label) {
    return label->text().replace(QChar::Nbsp, QLatin1Char(' '));
}

const QString Bte = QStringLiteral("CorvexZR Simulator, biphasic truncated exponential");
const QString Rlb = QStringLiteral("CorvexZR Simulator, rectilinear biphasic");

TVerdictChoice Shown(const QWidget& window) {
    const auto* profile = Child<QComboBox>(window, "cboProfile");
    const auto* energy = Child<QComboBox>(window, "cboEnergy");
    if (profile->currentIndex() == 0)
        return {};
    return {profile->currentText(), energy->currentData().toDouble()};
}

void Choose(QWidget& window, const TVerdictChoice& choice) {
    auto* profile = Child<QComboBox>(window, "cboProfile");
    profile->setCurrentIndex(profile->findText(choice.profile));
    auto* energy = Child<QComboBox>(window, "cboEnergy");
    energy->setCurrentIndex(energy->findData(choice.selected));
}

class VerdictWindows : public SimRun {
protected:
    // Runs every load in the step window checked against `choice`; the mark shown after each download,
    // and in `overall` the whole test's mark after each.
    QStringList RunSevenLoads(const TVerdictChoice& choice, QStringList* overall = nullptr) {
        const uint8_t selected[LOAD_COUNT] = {1, 1, 1, 1, 1, 1, 1};
        EXPECT_EQ(link.Open(), LinkError::None);
        sim.FollowLoad(LoadUnderTest);
        rec->SetDeviceInfo(diManufacturer, QStringLiteral("CorvexZR Simulator"));
        rec->SetDeviceInfo(diModel, QStringLiteral("Biphasic truncated exponential"));
        TTestStep step(nullptr, selected, rec.get(), link);
        step.CheckLoadsAgainst(ResolveVerdictChoice(LoadProfiles().profiles, choice));
        const QString against = QStringLiteral("Checked against \"%1\" at %2 J.")
                                    .arg(choice.profile, JoulesText(choice.selected));
        EXPECT_EQ(Child<QLabel>(step, "lblAgainst")->toolTip(), against);
        EXPECT_EQ(Child<QLabel>(step, "lblOverallMark")->text(), QStringLiteral("INCOMPLETE"));
        EXPECT_EQ(Child<QLabel>(step, "lblOverall")->text(), QStringLiteral("0 of 7 loads judged"));
        QStringList marks;
        for (int load = 0; load < LOAD_COUNT; ++load) {
            Child<QPushButton>(step, "btnOK")->click();
            EXPECT_EQ(rec->Loads[load].HasData, 1);
            marks << Child<QLabel>(step, "lblVerdictMark")->text();
            if (overall)
                *overall << Child<QLabel>(step, "lblOverallMark")->text();
            // The profile and energy stay in view from the first load on.
            EXPECT_TRUE(Child<QLabel>(step, "lblAgainst")->isVisibleTo(&step));
            if (marks.last() == QStringLiteral("PASS")) {
                EXPECT_TRUE(ShownText(Child<QLabel>(step, "lblVerdict"))
                                .startsWith(LoadName(load) + QStringLiteral(": delivered")));
            }
        }
        // Back from the closing step, each fired load shows its own verdict again, newest first.
        QStringList back;
        for (int load = LOAD_COUNT - 1; load >= 0; --load) {
            Child<QPushButton>(step, "btnBack")->click();
            back.prepend(Child<QLabel>(step, "lblVerdictMark")->text());
        }
        EXPECT_EQ(back, marks);
        return marks;
    }

    // The result column and the overall mark of the report viewer of that test.
    QStringList PanelOfTheTest(const TVerdictChoice& choice, QString& overall) {
        const auto owned =
            std::make_unique<TTestReportViewer>(nullptr, *rec); // never closed: no save question
        TTestReportViewer& viewer = *owned;
        viewer.ChooseVerdict(choice);
        EXPECT_EQ(Shown(viewer), choice);
        QStringList results;
        for (int load = 0; load < LOAD_COUNT; ++load)
            results << Child<QTableWidget>(viewer, "tblVerdict")->item(load, 6)->text();
        overall = Child<QLabel>(viewer, "lblOverall")->text();
        return results;
    }
};

} // namespace

TEST_F(VerdictWindows, LoadSelectionRemembersTheChoiceAndPrefersTheProfileOfTheDevice) {
    uint8_t loads[LOAD_COUNT] = {};
    {
        TTestOptions options(nullptr, loads);
        EXPECT_EQ(Shown(options), TVerdictChoice{}) << "no check until a profile is chosen";
        EXPECT_FALSE(Child<QComboBox>(options, "cboEnergy")->isEnabled());
        Choose(options, {Bte, 150});
        Child<QPushButton>(options, "Button1")->click();
        EXPECT_EQ(options.VerdictChoice(), (TVerdictChoice{Bte, 150}));
        ASSERT_TRUE(options.VerdictBasis());
        EXPECT_EQ(options.VerdictBasis()->setting.declared[0], 145.0);
    }
    {
        TTestOptions options(nullptr, loads);
        EXPECT_EQ(Shown(options), (TVerdictChoice{Bte, 150})) << "the last choice";
    }
    // The device editor will offer a device a profile names: that profile, at the energy last chosen.
    settings.Ini().WriteString(QStringLiteral("EditInfo"), QStringLiteral("MAKE"),
                               QStringLiteral("corvexzr simulator"));
    settings.Ini().WriteString(QStringLiteral("EditInfo"), QStringLiteral("MODEL"),
                               QStringLiteral("Rectilinear biphasic "));
    TTestOptions options(nullptr, loads);
    EXPECT_EQ(Shown(options), (TVerdictChoice{Rlb, 150}));
    // No check stays possible, and is what the test then gets.
    Child<QComboBox>(options, "cboProfile")->setCurrentIndex(0);
    Child<QPushButton>(options, "Button1")->click();
    EXPECT_EQ(options.VerdictChoice(), TVerdictChoice{});
    EXPECT_FALSE(options.VerdictBasis());
}

TEST_F(VerdictWindows, MatchingProfilePassesEveryLoadLiveAndInTheReport) {
    const TVerdictChoice choice{Bte, 200};
    QStringList overall6;
    EXPECT_EQ(RunSevenLoads(choice, &overall6), QStringList(LOAD_COUNT, QStringLiteral("PASS")));
    // Six loads within the limit are not yet a pass.
    EXPECT_EQ(overall6, QStringList(LOAD_COUNT - 1, QStringLiteral("INCOMPLETE")) << QStringLiteral("PASS"));
    QString overall;
    EXPECT_EQ(PanelOfTheTest(choice, overall), QStringList(LOAD_COUNT, QStringLiteral("PASS")));
    EXPECT_EQ(overall, QStringLiteral("PASS"));
}

TEST_F(VerdictWindows, DeclaredEnergiesOffByAQuarterFailExactlyThoseLoads) {
    // The shipped profile's energies at 200 J, a quarter higher on 25, 75, 125 and 175 ohms.
    QDir().mkpath(ProfilesFolder());
    QFile file(ProfilesFolder() + QStringLiteral("off.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"name": "Off by a quarter", "settings": [{"selected": 200, "declared":
                 {"25": 241.25, "50": 200, "75": 253.75, "100": 204, "125": 256.25, "150": 204, "175": 247.5}}]})");
    file.close();
    const TVerdictChoice choice{QStringLiteral("Off by a quarter"), 200};
    const QStringList expected{QStringLiteral("FAIL"), QStringLiteral("PASS"), QStringLiteral("FAIL"),
                               QStringLiteral("PASS"), QStringLiteral("FAIL"), QStringLiteral("PASS"),
                               QStringLiteral("FAIL")};
    EXPECT_EQ(RunSevenLoads(choice), expected);
    QString overall;
    EXPECT_EQ(PanelOfTheTest(choice, overall), expected);
    EXPECT_EQ(overall, QStringLiteral("FAIL"));
}

// A 200 J discharge judged at 150 J fails by more than twice the limit: the windows ask whether the
// defibrillator is set to the energy chosen.
TEST_F(VerdictWindows, AnotherEnergyThanTheOneChosenIsAskedAbout) {
    const TVerdictChoice choice{Bte, 150};
    QStringList overall;
    RunSevenLoads(choice, &overall);
    EXPECT_EQ(overall.first(), QStringLiteral("FAIL"));
    const auto owned = std::make_unique<TTestReportViewer>(nullptr, *rec);
    owned->ChooseVerdict(choice);
    EXPECT_TRUE(Child<QLabel>(*owned, "lblSummary")
                    ->text()
                    .contains(QStringLiteral("150 J chosen: is the defibrillator set to 150 J?")))
        << Child<QLabel>(*owned, "lblSummary")->text().toStdString();
    const uint8_t one[LOAD_COUNT] = {0, 1, 0, 0, 0, 0, 0};
    TTestStep step(nullptr, one, rec.get(), link);
    step.CheckLoadsAgainst(ResolveVerdictChoice(LoadProfiles().profiles, choice));
    Child<QPushButton>(step, "btnOK")->click();
    EXPECT_TRUE(
        ShownText(Child<QLabel>(step, "lblVerdict")).startsWith(QStringLiteral("50 ohms: delivered ")) &&
        ShownText(Child<QLabel>(step, "lblVerdict"))
            .endsWith(QStringLiteral("is the defibrillator set to 150 J?")))
        << Child<QLabel>(step, "lblVerdict")->text().toStdString();
}

TEST_F(VerdictWindows, NoCheckShowsNothingInTheStepWindow) {
    const uint8_t selected[LOAD_COUNT] = {0, 1, 0, 0, 0, 0, 0};
    ASSERT_EQ(link.Open(), LinkError::None);
    sim.FollowLoad(LoadUnderTest);
    TTestStep step(nullptr, selected, rec.get(), link);
    step.CheckLoadsAgainst(std::nullopt);
    Child<QPushButton>(step, "btnOK")->click();
    ASSERT_EQ(rec->Loads[1].HasData, 1);
    EXPECT_FALSE(Child<QLabel>(step, "lblVerdict")->isVisibleTo(&step));
    EXPECT_FALSE(Child<QLabel>(step, "lblVerdictMark")->isVisibleTo(&step));
    EXPECT_EQ(step.height(), 475);
}
