#pragma once
// Sends the outbox to the program's library now and then (at start, and every few minutes while the
// program runs), on a thread of its own so that a server out of reach never holds up the windows.
// One send at a time.

#include <QObject>
#include <QString>

class QThread;
class QTimer;

class TOutboxSender : public QObject {
    Q_OBJECT
public:
    explicit TOutboxSender(QObject* parent, int intervalMs = 5 * 60 * 1000);
    ~TOutboxSender() override;

    // Starts a send unless one is running.
    void SendNow();

signals:
    // A send has ended: how many went into the library, how many still wait.
    void Sent(int sent, int waiting);

private:
    QTimer* m_timer;
    QThread* m_running = nullptr;
};
