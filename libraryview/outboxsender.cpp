#include "libraryview/outboxsender.h"

#include "library/outbox.h"
#include "library/programlibrary.h"

#include <QThread>
#include <QTimer>
#include <memory>

TOutboxSender::TOutboxSender(QObject* parent, int intervalMs) : QObject(parent), m_timer(new QTimer(this)) {
    connect(m_timer, &QTimer::timeout, this, &TOutboxSender::SendNow);
    m_timer->start(intervalMs);
    QTimer::singleShot(0, this, &TOutboxSender::SendNow);
}

TOutboxSender::~TOutboxSender() {
    if (m_running) {
        m_running->wait(); // a send in flight ends within the server's connect time-out
        delete m_running;  // its finished signal no longer reaches this object
    }
}

void TOutboxSender::SendNow() {
    if (m_running)
        return;
    // Read here, on the thread the settings belong to; the thread opens connections of its own.
    const QString outbox = ProgramOutboxLocation();
    const QString library = ProgramLibraryLocation();
    auto result = std::make_shared<TOutboxSend>();
    m_running = QThread::create([outbox, library, result] { *result = SendOutbox(outbox, library); });
    connect(m_running, &QThread::finished, this, [this, result] {
        m_running->deleteLater();
        m_running = nullptr;
        emit Sent(result->sent, result->waiting);
    });
    m_running->start();
}
