#include "app/programentry.h"

#include "app/errorbox.h"
#include "app/helpwindow.h"
#include "app/qtmessages.h"
#include "app/zrqapplication.h"
#include "app/zrqmainform.h"
#include "link/ftdidriver.h"

#include <memory>

int RunProgram(int argc, char** argv, FtdiDriver& analyzer)
{
    TZRQApplication app(argc, argv);
    QtMessageBoxes boxes;
    InstallMessages(&boxes);
    HelpWindows help;
    InstallHelpViewer(&help);
    InstallFtdiDriver(&analyzer);
    // The main window's destructor asks each open report viewer to close, which may ask questions:
    // the program ends when the main window closes, not when the last window does.
    app.setQuitOnLastWindowClosed(false);
    try {
        auto mainForm = std::make_unique<TZRQForm>();
        QObject::connect(mainForm.get(), &TZRQForm::Closed, &app, &QApplication::quit);
        mainForm->show();
        app.exec();
    } catch (const std::exception& error) {
        ShowException(error);
    }
    InstallFtdiDriver(nullptr);
    InstallHelpViewer(nullptr);
    InstallMessages(nullptr);
    return 0;
}
