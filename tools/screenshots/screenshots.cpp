// screenshots: opens each of the program's windows on a test record and writes a picture of it, with
// its window frame, to docs/screenshots/*.png, so that the pictures in the README can be made again
// after a change to a window. It needs a real X server: tools/screenshots/make-screenshots.sh starts
// one (Xvfb, with openbox for the frames when it is installed), makes a seven-load record with
// zrqtool simulate and runs
//   screenshots RECORD.zrq OUTFOLDER
// Settings are read and written in a temporary folder, never the user's own.
#include "app/zrqaboutform.h"
#include "app/zrqapplication.h"
#include "app/zrqmainform.h"
#include "base/global.h"
#include "base/messages.h"
#include "library/libraryworker.h"
#include "library/programlibrary.h"
#include "libraryview/fleetlist.h"
#include "libraryview/testlibrarywindow.h"
#include "link/analyzerlink.h"
#include "link/commprogressform.h"
#include "link/ftdidriver.h"
#include "records/recordimage.h"
#include "records/tzrtestrec.h"
#include "report/testreportviewer.h"
#include "sim/simulatedanalyzer.h"
#include "sim/simulatorwindow.h"
#include "testrun/editinfoform.h"
#include "testrun/testoptionsform.h"
#include "testrun/teststartform.h"
#include "testrun/teststepform.h"
#include "verdict/profilefolder.h"
#include "waveform/waveformviewer.h"

#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// A box during the run means the pictures would not show what they should: it is printed and
// counted, and the run fails.
class CountingMessages : public MessageBoxes {
public:
    int Show(const MessageRequest& r) override {
        std::fprintf(stderr, "screenshots: message \"%s\": %s\n", qPrintable(r.caption), qPrintable(r.text));
        ++shown;
        return r.buttons == MsgButtons::YesNo || r.buttons == MsgButtons::YesNoCancel ? mrNo : mrOK;
    }
    int shown = 0;

private:
    const ScopedInstall<MessageBoxes> m_installed{*this}; // installed for the lifetime of this object
};

void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Until the library's worker has answered every read the windows posted.
void WaitForLibrary() {
    QElapsedTimer timer;
    timer.start();
    while (ProgramLibraryWorker().Pending() > 0 && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

class Camera {
public:
    explicit Camera(const QString& folder) : m_folder(folder) {}

    // Shows the window, lets the window manager frame and place it, and saves it as NAME.png.
    void Shoot(QWidget& window, const QString& name) {
        window.show();
        window.raise();
        window.activateWindow();
        QElapsedTimer timer;
        timer.start();
        while (!(window.windowHandle() && window.windowHandle()->isExposed()) && timer.elapsed() < 3000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        Settle(400); // the frame, the placement and the first paint
        QPixmap picture;
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            // From the screen, so that the frame the window manager draws is in the picture.
            const QRect frame = window.frameGeometry();
            picture = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        } else {
            picture = window.grab();
        }
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        // Quality 0 is PNG's strongest compression: the pictures are kept in the repository.
        if (picture.isNull() || !picture.save(path, "PNG", 0)) {
            std::fprintf(stderr, "screenshots: could not write %s\n", qPrintable(path));
            ++m_failures;
            return;
        }
        std::printf("%s: window %dx%d, client %dx%d\n", qPrintable(path), window.frameGeometry().width(),
                    window.frameGeometry().height(), window.width(), window.height());
    }
    int Failures() const { return m_failures; }

private:
    QString m_folder;
    int m_failures = 0;
};

// A small library as a workshop would have it after some years: five devices of the simulator's make,
// each tested once a year since 2021 and checked against the simulator's profile at 200 J, on a new
// analyzer from 2024. DEF-0042's energy drifts down a little more each year until its last test fails,
// and in 2023 it was also checked at 150 J the same day; the others stay near their nominal energy.
// Made from `record` with each device's identity, date, analyzer and delivered energy.
bool FillLibrary(const TZRTestRec& record) {
    struct Device {
        const char* id;
        const char* serial;
        const char* facility;
        const char* location;
        int month;
        double drift; // of the delivered energy, per year
    };
    const Device devices[] = {
        {"DEF-0042", "SN 40-1187", "St. Brigid Hospital", "ER Bay 2", 3, -0.022},
        {"DEF-0057", "SN 40-2231", "St. Brigid Hospital", "ICU 4", 4, 0.0},
        {"DEF-0113", "SN 41-0078", "North Valley Clinic", "Treatment 1", 6, -0.004},
        {"DEF-0120", "SN 41-0342", "North Valley Clinic", "Ambulance 3", 9, 0.002},
        {"AED-0007", "AE 77-0901", "Riverside School", "Main lobby", 11, 0.0},
    };
    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    const QString profile = QStringLiteral("CorvexZR Simulator, biphasic truncated exponential");
    const std::optional<TVerdictBasis> basis = ResolveVerdictChoice(LoadProfiles().profiles, {profile, 200});
    const std::optional<TVerdictBasis> lower = ResolveVerdictChoice(LoadProfiles().profiles, {profile, 150});
    if (!library || !basis || !lower) {
        std::fprintf(stderr, "screenshots: no library to show: %s\n", qPrintable(why));
        return false;
    }
    auto test = std::make_unique<TZRTestRec>();
    // One test of `device` in `year`, `later` hours after the year's first, at `scale` of the energy.
    const auto add = [&](const Device& device, int year, int later, double scale,
                         const std::optional<TVerdictBasis>& checked) {
        test->CopyTest(record);
        test->SetDeviceInfo(diDeviceID, QString::fromLatin1(device.id));
        test->SetDeviceInfo(diSerialNo, QString::fromLatin1(device.serial));
        test->SetDeviceInfo(diManufacturer, QStringLiteral("CorvexZR Simulator"));
        test->SetDeviceInfo(diModel, QStringLiteral("Biphasic truncated exponential"));
        test->SetDeviceInfo(diFacility, QString::fromLatin1(device.facility));
        test->SetDeviceInfo(diLocation, QString::fromLatin1(device.location));
        if (year >= 2024) // the bench's new analyzer
            test->AnalyzerStatus[ANALYZER_ID_OFFSET + std::strlen("CVX-SIM-000")] = '2';
        const DateStamp stamp{0,
                              static_cast<uint8_t>(10 + 7 * (year % 5)),
                              static_cast<uint8_t>(9 + year % 6 + later),
                              static_cast<uint8_t>(4 + 3 * (year % 7)),
                              static_cast<uint8_t>(device.month),
                              static_cast<uint8_t>(year - 2000)};
        std::memcpy(test->AnalyzerStatus + TEST_DATE_TIME_OFFSET, &stamp, sizeof stamp);
        const int age = year - 2021;
        for (int load = 0; load < LOAD_COUNT; ++load) {
            // A drift that grows with age, and a little scatter from test to test.
            const double scatter = 0.006 * (((year * 7 + load * 3 + device.month) % 5) - 2);
            const double factor = scale * (1.0 + device.drift * age * (1.0 + 0.1 * age) + scatter);
            TMeasurementBlock& results = test->Loads[load].Results;
            results.TotalEnergy = static_cast<uint16_t>(results.TotalEnergy * factor + 0.5);
            results.Energy1 = static_cast<uint16_t>(results.Energy1 * factor + 0.5);
        }
        const TAddResult added = library->Add(EncodeTestRecord(*test), checked);
        if (added.outcome != TAddOutcome::Added)
            std::fprintf(stderr, "screenshots: a test did not go into the library: %s\n",
                         qPrintable(added.why));
        return added.outcome == TAddOutcome::Added;
    };
    for (const Device& device : devices)
        for (int year = 2021; year <= 2026; ++year)
            if (!add(device, year, 0, 1.0, basis))
                return false;
    return add(devices[0], 2023, 2, 0.75, lower);
}

int Usage() {
    std::fprintf(stderr, "usage: screenshots RECORD.zrq OUTFOLDER   (under an X server)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Before the application object: the main window takes its settings folder from here.
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "screenshots: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    TZRQApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 2)
        return Usage();
    const QString recordFile = args[0];
    const QString folder = args[1];
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "screenshots: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    SetupDataFolder(); // as the program's entry does, in the temporary folder
    CountingMessages boxes;
    auto record = std::make_unique<TZRTestRec>();
    try {
        if (record->LoadTestFile(recordFile) != 0) {
            std::fprintf(stderr, "screenshots: %s is not a test record\n", qPrintable(recordFile));
            return 1;
        }
    } catch (const EFileError& e) {
        std::fprintf(stderr, "screenshots: %s\n", e.what());
        return 1;
    }
    // Away from every window, so that no control is drawn as hovered.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        QCursor::setPos(screen->geometry().bottomRight());

    Camera camera(folder);
    TZRQForm mainForm;
    if (!SettingsFilePath.startsWith(config.path())) {
        std::fprintf(stderr, "screenshots: the settings are not in the temporary folder\n");
        return 1;
    }
    camera.Shoot(mainForm, QStringLiteral("main-window"));
    mainForm.hide();
    {
        TZRQAbout about(&mainForm);
        camera.Shoot(about, QStringLiteral("about"));
        about.findChild<QPushButton*>(QStringLiteral("btnMore"))->click();
        camera.Shoot(about, QStringLiteral("about-more"));
    }
    {
        auto* viewer = new TTestReportViewer(nullptr, recordFile);
        // The verdict panel as after a test of the simulator's device checked against its profile.
        viewer->ChooseVerdict({QStringLiteral("CorvexZR Simulator, biphasic truncated exponential"), 200});
        camera.Shoot(*viewer, QStringLiteral("report-viewer"));
        delete viewer;
    }
    {
        auto* viewer = new TWaveformViewer(nullptr, {0, 2, 4, 6}, *record);
        camera.Shoot(*viewer, QStringLiteral("waveform-viewer"));
        delete viewer;
    }
    if (!FillLibrary(*record))
        return 1;
    {
        auto* library = new TTestLibraryWindow(nullptr);
        WaitForLibrary();
        // DEF-0042, drifting out of its band, wherever its status puts it in the list.
        auto* devices = library->findChild<QTableView*>(QStringLiteral("tblDevices"));
        for (int row = 0; row < devices->model()->rowCount(); ++row)
            if (devices->model()->index(row, TFleetListModel::colDeviceId).data().toString() == QLatin1String("DEF-0042"))
                devices->selectRow(row);
        WaitForLibrary();
        camera.Shoot(*library, QStringLiteral("test-library"));
        delete library;
    }

    // The test run against the demo's simulated analyzer, in real time as in the demo.
    SimulatedAnalyzer analyzer;
    const ScopedInstall<FtdiDriver> installed(analyzer);
    TSimulatorWindow simulator(analyzer, [] { return -1; });
    auto testRec = std::make_unique<TZRTestRec>();
    AnalyzerLink link;
    {
        TTestStart start(nullptr, testRec.get(), link);
        camera.Shoot(start, QStringLiteral("test-start"));
    }
    {
        uint8_t selected[LOAD_COUNT] = {};
        TTestOptions options(nullptr, selected);
        camera.Shoot(options, QStringLiteral("test-options"));
    }
    {
        const uint8_t selected[LOAD_COUNT] = {1, 1, 1, 1, 1, 1, 1};
        // Three loads fired, checked against the simulator's profile: INCOMPLETE until all seven are judged.
        for (int load = 0; load < 3; ++load)
            testRec->Loads[load].CopyTest(record->Loads[load]);
        TTestStep step(nullptr, selected, testRec.get(), link);
        step.CheckLoadsAgainst(ResolveVerdictChoice(
            LoadProfiles().profiles,
            {QStringLiteral("CorvexZR Simulator, biphasic truncated exponential"), 200}));
        // The 100-ohm step: a Bank B figure, with Back and Skip both usable.
        for (int i = 0; i < 3; ++i)
            step.findChild<QPushButton*>(QStringLiteral("btnSkip"))->click();
        camera.Shoot(step, QStringLiteral("test-step"));
        TEditInfo editor(&step, false, testRec.get());
        camera.Shoot(editor, QStringLiteral("edit-device-info"));
        editor.hide();
        TCommProgress progress(&step, 10306, 0, QStringLiteral("Downloading real-time wave data..."));
        for (int i = 0; i < 6000; ++i)
            progress.StepIt();
        camera.Shoot(progress, QStringLiteral("download-progress"));
        progress.hide();
        step.hide();
    }
    link.Close();
    simulator.adjustSize();
    camera.Shoot(simulator, QStringLiteral("simulator"));
    simulator.hide();
    return camera.Failures() == 0 && boxes.shown == 0 ? 0 : 1;
}
