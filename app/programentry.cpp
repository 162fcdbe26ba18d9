#include "app/programentry.h"

#include "app/helpwindow.h"
#include "app/zrqapplication.h"
#include "app/zrqmainform.h"
#include "base/errorbox.h"
#include "base/global.h"
#include "base/qtmessages.h"
#include "base/benchhardware.h"
#include "base/messages.h"
#include "library/handoff.h"
#include "library/programlibrary.h"
#include "report/servicereport.h"
#include "link/ftdidriver.h"

#include <optional>

int RunProgram(int argc, char** argv, const AnalyzerBackendFactory& makeBackend) {
    TZRQApplication app(argc, argv);
    QtMessageBoxes boxes;
    const ScopedInstall<MessageBoxes> boxesInstalled(boxes);
    HelpWindows help;
    const ScopedInstall<HelpViewer> helpInstalled(help);
    // The program ends when its last window closes, as the main window tells (Closed): the main
    // window and the report viewers count, the Simulator, the help and the library windows do not,
    // and a Cancel in a viewer's save question keeps them all.
    app.setQuitOnLastWindowClosed(false);
    InstallServiceReportDrawer(&DrawServiceReport);
    InstallHandOffProblemSink([](const QString& why) {
        ShowMessage(why, QStringLiteral("Test Library"), MsgIcon::Warning);
    });
    try {
        SetupDataFolder(); // nothing reads or writes settings before this
        auto mainForm = std::make_unique<TZRQForm>();
        const std::unique_ptr<AnalyzerBackend> backend = makeBackend(*mainForm);
        ScopedInstall<FtdiDriver> driver(backend->Driver());
        std::optional<ScopedInstall<BenchHardware>> bench;
        if (BenchHardware* hardware = backend->Bench())
            bench.emplace(*hardware);
        UseLibraryInstead(backend->LibraryLocation());
        HandOffTests(backend->HandsOffTests());
        QObject::connect(mainForm.get(), &TZRQForm::Closed, &app, &QApplication::quit);
        mainForm->show();
        app.exec();
        mainForm.reset(); // its report viewers close while the driver is still there
    } catch (const std::exception& error) {
        ShowException(error);
    }
    InstallHandOffProblemSink({});
    return 0;
}
