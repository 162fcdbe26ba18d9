#pragma once
// Sends the outbox to the program's library now and then (at start, and every few minutes while the
// program runs), on the program's library worker so that a server out of reach never holds up the
// windows. One send at a time.

#include <QObject>
#include <QString>

class QTimer;

class TOutboxSender : public QObject {
    Q_OBJECT
public:
    explicit TOutboxSender(QObject* parent, int intervalMs = 5 * 60 * 1000);

    // Starts a send unless one is on its way.
    void SendNow();

signals:
    // A send has ended: how many went into the library, how many still wait.
    void Sent(int sent, int waiting);

private:
    QTimer* m_timer;
    bool m_sending = false;
};
