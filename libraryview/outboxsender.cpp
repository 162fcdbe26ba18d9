#include "libraryview/outboxsender.h"

#include "library/libraryworker.h"
#include "library/outbox.h"
#include "library/programlibrary.h"

#include <QTimer>

TOutboxSender::TOutboxSender(QObject* parent, int intervalMs) : QObject(parent), m_timer(new QTimer(this)) {
    connect(m_timer, &QTimer::timeout, this, &TOutboxSender::SendNow);
    m_timer->start(intervalMs);
    QTimer::singleShot(0, this, &TOutboxSender::SendNow);
}

void TOutboxSender::SendNow() {
    if (m_sending)
        return;
    m_sending = true;
    // Read here, on the thread the settings belong to.
    ProgramLibraryWorker().Post(
        ProgramLibraryLocation(), this,
        [outbox = ProgramOutboxLocation()](TLibraryAccess& access) { return SendOutboxOn(access, outbox); },
        [this](const TOutboxSend& sent) {
            m_sending = false;
            emit Sent(sent.sent, sent.waiting);
        });
}
