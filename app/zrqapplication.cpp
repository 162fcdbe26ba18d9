#include "app/zrqapplication.h"

#include "base/errorbox.h"
#include "base/global.h"

TZRQApplication::TZRQApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: on Linux the platform appends it to every window's title ("About CorvexZR —
    // Velmora CorvexZR"), and each window shows its own caption alone. The main window's caption is
    // the application title.
    setApplicationName(ProgramName);
    setOrganizationName(CompanyFolderName);
    setApplicationVersion(QStringLiteral(CORVEX_VERSION));
}

bool TZRQApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}
