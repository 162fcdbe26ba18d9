#pragma once
// Waits, running the event loop, until every job posted to the program's library worker has been
// answered (the answers delivered to the windows that asked, and what they asked next answered too).

#include "library/libraryworker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

inline bool LibraryAnswered(int timeoutMs = 20000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (ProgramLibraryWorker().Pending() > 0) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    QCoreApplication::processEvents();
    return true;
}
