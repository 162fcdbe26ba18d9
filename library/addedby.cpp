#include "library/addedby.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

QString LoginName() {
#ifdef Q_OS_UNIX
    if (const passwd* user = getpwuid(geteuid()); user && user->pw_name)
        return QString::fromLocal8Bit(user->pw_name);
#endif
    for (const char* name : {"USER", "LOGNAME", "USERNAME"})
        if (const QString value = qEnvironmentVariable(name); !value.isEmpty())
            return value;
    return QString();
}

} // namespace

TAddedBy TAddedBy::Now() {
    const QString program =
        QCoreApplication::instance() ? QCoreApplication::applicationName() : QStringLiteral("corvexzr");
    return TAddedBy{LoginName(), QSysInfo::machineHostName(),
                    program + QLatin1Char(' ') + QStringLiteral(CORVEX_VERSION),
                    QDateTime::currentDateTimeUtc().toString(Qt::ISODate)};
}
