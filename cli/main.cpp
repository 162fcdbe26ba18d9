// zrqtool: the test report, CSV export, PDF service report and summary of *.zrq test records, for
// scripts.
#include "cli/command.h"
#include "cli/pdfoutput.h"
#include "library/handoff.h"
#include "report/servicereport.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    // Only a drawing command needs a window system, and none that shows anything: without a platform
    // chosen it draws offscreen, also where no display is set.
    std::unique_ptr<QCoreApplication> app;
    if (CommandDraws(args)) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        InstallServiceReportDrawer(&DrawServiceReport);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::System);
    err.setEncoding(QStringConverter::System);
    const int status = RunZrqTool(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
