#include "app/zrqapplication.h"

#include "app/errorbox.h"
#include "app/global.h"

TZRQApplication::TZRQApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationDisplayName(ApplicationTitle);
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
