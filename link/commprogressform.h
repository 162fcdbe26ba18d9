#pragma once
// The communications progress window: a stay-on-top label and progress bar shown while a long reply
// is read from the analyzer. While it is shown every other window of the program is disabled, so
// nothing else can be started during the transfer. An optional time-out ends it with a message.
// Only its caller closes it: Esc and the window manager's close do nothing.

#include "base/modalform.h"

#include <QList>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TCommProgress : public TModalForm {
    Q_OBJECT
public:
    // Centred on `owner`, which keeps and deletes it. The time-out (milliseconds, 0 for none) counts
    // from construction, not from showing.
    TCommProgress(QWidget* owner, int maximum, int timeoutInterval, const QString& label);
    ~TCommProgress() override;

    // One step of the bar; after `maximum` steps it is full.
    void StepIt();
    bool Cancelled() const { return m_cancelled; }

    void btnOKClick();
    void btnCancelClick();
    void TimerProgressTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Widgets, named after their members for tests and tools (findChild).
    QLabel* labelProgress = nullptr;
    QProgressBar* pbComm = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QTimer* TimerProgress = nullptr;

    void EnableDisabledWindows();

    bool m_cancelled = false;
    bool m_disabledAny = false;
    QList<QPointer<QWidget>> m_disabledWindows;
};
