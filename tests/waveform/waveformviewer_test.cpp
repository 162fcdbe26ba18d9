// The waveform viewer: what it shows when it opens, the measurement panel, zooming, the axis dialog,
// data points, printing and help.
#include "tests/support/pdftools.h"
#include "tests/support/scripteddialogs.h"
#include "tests/waveform/viewerfixture.h"

#include "base/helptopic.h"
#include "tests/support/recordinghelp.h"

#include <QComboBox>
#include <QTest>
#include <QToolBar>

namespace {

using Viewer = ViewerTest;

QColor SeriesColourOf(TWaveChart* chart, int i) {
    return chart->graph(i)->pen().color();
}

} // namespace

TEST_F(Viewer, OpensOnOneLoadWithItsIdentification) {
    Open({3});
    EXPECT_EQ(viewer->windowTitle(), "CorvexZR Waveform Viewer");
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->parentWidget(), nullptr); // a task-bar entry of its own
    EXPECT_TRUE(viewer->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(Find<QToolBar>("tbWaveViewer")->height(), 32);

    EXPECT_EQ(Chart()->SeriesCount(), 1);
    EXPECT_EQ(Chart()->graph(0)->name(), "100 ohms");
    auto* combo = Find<QComboBox>("cboxWaveDetails");
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "100 ohms");
    EXPECT_EQ(combo->currentIndex(), 0);

    EXPECT_EQ(Text("lblDeviceID"), "BME-0042");
    EXPECT_EQ(Text("lblDate"), "Sep 03, 2013 02:07:05 PM");
    EXPECT_EQ(Text("lblTestType"), "Defib Energy");
    EXPECT_EQ(Text("lblResolution"), "High");
    EXPECT_EQ(Text("lblScale"), "11.4 us");
    EXPECT_EQ(Chart()->TitleLines(), QStringList({"Device ID: BME-0042", "Sep 03, 2013 02:07:05 PM"}));
}

TEST_F(Viewer, TimeAxisSpansTheWaveformAndCurrentAxisIsSymmetric) {
    Open({3});
    const ChartAxesState axes = Axes();
    EXPECT_TRUE(axes.bottom.automatic);
    EXPECT_DOUBLE_EQ(axes.bottom.range.min, 0.0);
    EXPECT_NEAR(axes.bottom.range.max, 58.36, 0.005);
    EXPECT_FALSE(axes.left.automatic);
    EXPECT_EQ(axes.left.range.min, -axes.left.range.max);
}

TEST_F(Viewer, CurrentAxisFitsTheFirstLoadsLargestExcursion) {
    const std::pair<uint16_t, double> cases[] = {{499, 5.0},     {500, 10.0},    {3000, 50.0},
                                                 {14999, 150.0}, {15000, 200.0}, {30000, 200.0}};
    for (const auto& [centiAmps, limit] : cases) {
        const auto rec = RecordPeakingAt({{1, centiAmps}});
        Open({1}, rec.get());
        EXPECT_EQ(Axes().left.range, (AxisRange{-limit, limit})) << centiAmps;
        delete viewer.data();
    }
}

TEST_F(Viewer, OnlyTheFirstSeriesDecidesTheRangeAndColoursFollowThePosition) {
    const auto rec = RecordPeakingAt({{5, 450}, {2, 9000}});
    Open({5, 2}, rec.get());
    EXPECT_EQ(Axes().left.range, (AxisRange{-5.0, 5.0}));
    EXPECT_EQ(SeriesColourOf(Chart(), 0), QColor(0, 0, 160));
    EXPECT_EQ(SeriesColourOf(Chart(), 1), QColor(255, 0, 0));
    EXPECT_EQ(Chart()->graph(0)->name(), "150 ohms");
    EXPECT_EQ(Chart()->graph(1)->name(), "75 ohms");
}

TEST_F(Viewer, SevenLoadsTakeThePaletteInOrder) {
    Open({6, 5, 4, 3, 2, 1, 0});
    const QColor palette[] = {{0, 0, 160},   {255, 0, 0}, {0, 128, 0},  {255, 0, 255},
                              {0, 128, 128}, {128, 0, 0}, {128, 0, 128}};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(SeriesColourOf(Chart(), i), palette[i]) << i;
    EXPECT_EQ(Find<QComboBox>("cboxWaveDetails")->itemText(0), "175 ohms");
}

TEST_F(Viewer, EntriesThatAreNoLoadAreLeftOut) {
    Open({2, 7, -1, 4});
    EXPECT_EQ(Chart()->SeriesCount(), 2);
    EXPECT_EQ(Find<QComboBox>("cboxWaveDetails")->count(), 2);
    EXPECT_EQ(Find<QComboBox>("cboxWaveDetails")->itemText(1), "125 ohms");
}

TEST_F(Viewer, PanelShowsParallelAndSeriesCorrectedValues) {
    // Analyzer 50 ohms and accessory 50 ohms on both loads: a factor of 2 either way.
    Open({0, 3});
    auto* combo = Find<QComboBox>("cboxWaveDetails");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "25 ohms");
    EXPECT_EQ(combo->itemText(1), "100 ohms");
    // 25 ohms: currents and energies doubled, voltages as measured.
    EXPECT_EQ(Text("lblAmpsP1"), "62.26 A");
    EXPECT_EQ(Text("lblAmpsA1"), "45.22 A");
    EXPECT_EQ(Text("lblVoltsP1"), "1537.00 V");
    EXPECT_EQ(Text("lblEnergy1"), "249.00 J");
    EXPECT_EQ(Text("lblEnergy"), "383.40 J");
    EXPECT_EQ(Text("lblEnergy2"), "134.40 J");
    EXPECT_EQ(Text("lblWidthPos10"), "5.27 msec");

    combo->setCurrentIndex(1);
    // 100 ohms: voltages and energies doubled, currents as measured.
    EXPECT_EQ(Text("lblAmpsP1"), "34.52 A");
    EXPECT_EQ(Text("lblVoltsP1"), "3296.00 V");
    EXPECT_EQ(Text("lblVoltsA1"), "2352.00 V");
    EXPECT_EQ(Text("lblEnergy1"), "255.60 J");
    EXPECT_EQ(Text("lblEnergy"), "393.60 J");
    EXPECT_EQ(Text("lblEnergy2"), "138.00 J");
    EXPECT_EQ(Text("lblWidthPos10"), "5.48 msec");
    EXPECT_EQ(Text("lblDelay"), "0.44 msec");
    EXPECT_EQ(Text("lblTilt"), "56.7 %");
    EXPECT_EQ(Text("lblFreq"), "68 Hz");
    EXPECT_EQ(Text("lblDuty"), "11.6 %");

    combo->setCurrentIndex(0);
    EXPECT_EQ(Text("lblAmpsP1"), "62.26 A");
}

TEST_F(Viewer, SecondPhaseEnergyIsTheDifferenceOfCorrectedEnergies) {
    auto rec = MakeFullRecord();
    rec->Loads[0].Results.TotalEnergy = 1000; // 100.0 J, doubled by the parallel correction
    rec->Loads[0].Results.Energy1 = 600;
    Open({0}, rec.get());
    EXPECT_EQ(Text("lblEnergy"), "200.00 J");
    EXPECT_EQ(Text("lblEnergy1"), "120.00 J");
    EXPECT_EQ(Text("lblEnergy2"), "80.00 J");
}

TEST_F(Viewer, LoadWithoutMeasurementsShowsZeros) {
    auto rec = MakeFullRecord();
    TMeasurementBlock& b = rec->Loads[4].Results;
    const uint16_t analyzerLoad = b.AnalyzerLoad;
    std::memset(static_cast<void*>(&b), 0, sizeof b);
    b.AnalyzerLoad = analyzerLoad;
    Open({4}, rec.get());
    EXPECT_EQ(Text("lblEnergy"), "0.00 J");
    EXPECT_EQ(Text("lblAmpsP2"), "0.00 A");
    EXPECT_EQ(Text("lblVoltsA1"), "0.00 V");
    EXPECT_EQ(Text("lblWidthNeg10"), "0.00 msec");
    EXPECT_EQ(Text("lblTilt"), "0.0 %");
    EXPECT_EQ(Text("lblDuty"), "0.0 %");
    EXPECT_EQ(Text("lblFreq"), "0 Hz");
    EXPECT_EQ(Axes().left.range, (AxisRange{-5.0, 5.0})); // a waveform scaled to 0 A
}

TEST_F(Viewer, ZoomInAndOutFromTheMenuAndTheToolBar) {
    Open({3});
    RunAxisDialog({"0", "50", "-50", "50"});
    Action("mmZoomIn")->trigger();
    EXPECT_EQ(Axes().bottom.range, (AxisRange{5.0, 45.0}));
    EXPECT_EQ(Axes().left.range, (AxisRange{-40.0, 40.0}));
    RunAxisDialog({"0", "50", "-50", "50"});
    Action("mmZoomOut")->trigger();
    EXPECT_EQ(Axes().bottom.range, (AxisRange{-5.0, 55.0}));
    EXPECT_FALSE(Axes().bottom.automatic);
}

TEST_F(Viewer, AxisDialogShowsTheLimitsInEffectAndSetsBothAxes) {
    const auto rec = RecordPeakingAt({{1, 3000}});
    Open({1}, rec.get());
    const QStringList shown = RunAxisDialog({"2", "12.5", "-35", "35"});
    EXPECT_EQ(shown.mid(2), QStringList({"-50", "50"}));
    EXPECT_EQ(shown[0], "0");
    EXPECT_TRUE(shown[1].startsWith("58.35")) << shown[1].toStdString();
    const ChartAxesState axes = Axes();
    EXPECT_EQ(axes.bottom.range, (AxisRange{2.0, 12.5}));
    EXPECT_EQ(axes.left.range, (AxisRange{-35.0, 35.0}));
    EXPECT_FALSE(axes.bottom.automatic);
}

TEST_F(Viewer, AxisDialogCancelledLeavesTheChart) {
    Open({3});
    const ChartAxesState before = Axes();
    RunAxisDialog({"1", "2", "3", "4"}, "btnCancel");
    EXPECT_EQ(Axes(), before);
    EXPECT_TRUE(messages.Shown().isEmpty());
}

TEST_F(Viewer, UndoZoomAfterOnlySettingTheAxesReturnsToTheOpeningView) {
    const auto rec = RecordPeakingAt({{1, 3000}});
    Open({1}, rec.get());
    const ChartAxesState opening = Axes();
    RunAxisDialog({"10", "20", "-5", "5"});
    Action("mmUndoZoom")->trigger();
    EXPECT_EQ(Axes(), opening);
    EXPECT_TRUE(Axes().bottom.automatic);
    EXPECT_EQ(Axes().left.range, (AxisRange{-50.0, 50.0}));
}

TEST_F(Viewer, UndoZoomAfterAHandSetAxisAndAZoomReturnsToTheHandSetAxis) {
    Open({3});
    RunAxisDialog({"10", "20", "-5", "5"});
    Action("mmZoomIn")->trigger();
    Action("mmZoomIn")->trigger();
    Action("mmUndoZoom")->trigger();
    EXPECT_EQ(Axes().bottom.range, (AxisRange{10.0, 20.0}));
    EXPECT_EQ(Axes().left.range, (AxisRange{-5.0, 5.0}));
    // A second undo has no zoom left to undo and returns to the opening view.
    Action("mmUndoZoom")->trigger();
    EXPECT_TRUE(Axes().bottom.automatic);
}

TEST_F(Viewer, DataPointsToggleTheButtonAndEverySeries) {
    Open({0, 1});
    QAction* points = Action("mmShowDataPoints");
    auto* button = ToolButton(points);
    button->click();
    EXPECT_TRUE(points->isChecked());
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(Chart()->graph(1)->scatterStyle().shape(), QCPScatterStyle::ssPixmap);
    points->trigger();
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(Chart()->graph(0)->scatterStyle().shape(), QCPScatterStyle::ssNone);
}

TEST_F(Viewer, ZoomRectangleModeIsKeptInTheMenuAndTheButton) {
    Open({3});
    QAction* zoomRect = Action("mmZoomRect");
    zoomRect->trigger();
    EXPECT_TRUE(zoomRect->isChecked());
    EXPECT_TRUE(ToolButton(zoomRect)->isChecked());
    EXPECT_TRUE(Chart()->RectangleZoom());
    ToolButton(zoomRect)->click();
    EXPECT_FALSE(zoomRect->isChecked());
    EXPECT_FALSE(Chart()->RectangleZoom());
}

TEST_F(Viewer, MenusHaveTheirShortcutsAndShareTheirActions) {
    Open({3});
    const std::pair<const char*, const char*> shortcuts[] = {
        {"Print1", "Ctrl+P"},     {"mmEditDeviceID", "Ctrl+D"}, {"mmSetChartAxis", "Ctrl+H"},
        {"mmZoomIn", "Ctrl+="},   {"mmZoomOut", "Ctrl+-"},      {"mmZoomRect", "Ctrl+R"},
        {"mmUndoZoom", "Ctrl+Z"}, {"mmShowInfo", "Ctrl+I"},     {"mmShowDataPoints", "Ctrl+T"},
        {"mmHelp", "F1"}};
    for (const auto& [name, keys] : shortcuts)
        EXPECT_EQ(Action(name)->shortcut(), QKeySequence(QString::fromLatin1(keys))) << name;
    EXPECT_EQ(Action("mmZoomIn")->text(), "Zoom &In");
    EXPECT_EQ(Action("pmEditDeviceID")->text(), "Edit &Device ID");
    EXPECT_EQ(ToolButton(Action("Print1"))->toolTip(), "Print");
    EXPECT_EQ(ToolButton(Action("mmUndoZoom"))->toolTip(), "Undo Zoom");
    // The tool bar and the pop-up hold the menus' actions, in their own order.
    EXPECT_EQ(ActionNames(Find("tbWaveViewer")->actions()),
              QStringList({"Print1", "", "mmZoomIn", "mmZoomOut", "mmZoomRect", "mmUndoZoom", "",
                           "mmShowDataPoints"}));
    EXPECT_EQ(ActionNames(Find("PopupMenuWaveChart")->actions()),
              QStringList({"mmUndoZoom", "", "mmShowInfo", "mmShowDataPoints", "", "pmEditDeviceID",
                           "mmSetChartAxis"}));
    for (QAction* action : Find("tbWaveViewer")->actions()) {
        if (action->isSeparator())
            continue;
        EXPECT_FALSE(action->icon().pixmap(24, 24).isNull()) << action->objectName().toStdString();
        EXPECT_FALSE(action->isIconVisibleInMenu()); // the menus show texts alone, as before
        EXPECT_FALSE(action->isShortcutVisibleInContextMenu());
    }
}

TEST_F(Viewer, PrintsTheChartOnOneLandscapePage) {
    ScriptedDialogs dialogs;
    const QString pdf = dir.filePath(QStringLiteral("wave.pdf"));
    dialogs.PrintTo({QString(), pdf});
    Open({0, 3});
    ToolButton(Action("Print1"))->click(); // cancelled
    EXPECT_FALSE(QFile::exists(pdf));
    Action("Print1")->trigger();
    EXPECT_EQ(dialogs.PrintDialogsShown(), 2);
    const PdfInfo info = ReadPdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_GT(info.width, info.height);
}

TEST_F(Viewer, HelpShowsTheViewersTopic) {
    RecordingHelp help;
    Open({3});
    Action("mmHelp")->trigger();
    EXPECT_EQ(help.topics, QStringList({"ZRQWaveformViewerHelp.html"}));
}

TEST_F(Viewer, CtrlEqualsAndCtrlMinusZoomFromTheKeyboard) {
    Open({3});
    Chart()->SetTimeAxis({0.0, 50.0});
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    QTest::keyClick(viewer, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(Axes().bottom.range, (AxisRange{5.0, 45.0}));
    QTest::keyClick(viewer, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Axes().bottom.range.min, 1.0);
    EXPECT_DOUBLE_EQ(Axes().bottom.range.max, 49.0);
}
