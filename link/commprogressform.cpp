#include "link/commprogressform.h"

#include "base/benchhardware.h"
#include "base/clock.h"
#include "base/global.h"
#include "base/messages.h"
#include "base/uifonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

TCommProgress::TCommProgress(QWidget* owner, int maximum, int timeoutInterval, const QString& label)
    : TModalForm(nullptr) {
    // No parent widget: disabling the other windows would otherwise disable this one with its owner.
    // Its owner keeps it and deletes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFont());
    setFixedSize(303, 119);
    setWindowTitle(ProgramName + QStringLiteral(" Communications"));

    labelProgress = new QLabel(label, this);
    labelProgress->setObjectName(QStringLiteral("labelProgress"));
    labelProgress->move(16, 16);
    labelProgress->adjustSize();
    pbComm = new QProgressBar(this);
    pbComm->setObjectName(QStringLiteral("pbComm"));
    pbComm->setGeometry(16, 40, 273, 25);
    pbComm->setRange(0, maximum);
    pbComm->setValue(0);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(69, 87, 78, 25);
    btnOK->setEnabled(false);
    btnOK->hide();
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(157, 87, 78, 25);
    btnCancel->hide();
    connect(btnOK, &QPushButton::clicked, this, &TCommProgress::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TCommProgress::btnCancelClick);

    TimerProgress = new QTimer(this);
    TimerProgress->setObjectName(QStringLiteral("TimerProgress"));
    TimerProgress->setSingleShot(true);
    connect(TimerProgress, &QTimer::timeout, this, &TCommProgress::TimerProgressTimer);
    if (timeoutInterval != 0)
        TimerProgress->start(timeoutInterval);

    if (owner)
        move(owner->geometry().center() - rect().center());
    ThePump().ProcessMessages();
}

TCommProgress::~TCommProgress() {
    EnableDisabledWindows();
}

void TCommProgress::StepIt() {
    pbComm->setValue(std::min(pbComm->value() + 1, pbComm->maximum()));
}

void TCommProgress::btnOKClick() {
    TimerProgress->stop();
    close();
}

void TCommProgress::btnCancelClick() {
    TimerProgress->stop();
    m_cancelled = true;
}

void TCommProgress::TimerProgressTimer() {
    TimerProgress->stop();
    m_cancelled = true;
    ShowMessage(
        QStringLiteral("Communications has timed out.     \r\nPlease note this version software only works "
                       "with Corvex firmware V2.0 and above."),
        QStringLiteral("Communications time out"), MsgIcon::Warning, MsgButtons::OK, mfTaskModal);
    // Ends a modal run; a window shown without waiting stays open.
    setResult(mrFormCancel);
    if (isModal() && isVisible())
        done(mrFormCancel);
}

void TCommProgress::showEvent(QShowEvent* event) {
    TModalForm::showEvent(event);
    if (m_disabledAny)
        return;
    m_disabledAny = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // The Simulator stands for the bench hardware: the USB cable can still be pulled mid-download.
        if (window == this || !window->isVisible() || !window->isEnabled() || IsBenchHardware(window))
            continue;
        window->setEnabled(false);
        m_disabledWindows.append(window);
    }
}

void TCommProgress::EnableDisabledWindows() {
    TimerProgress->stop();
    for (const QPointer<QWidget>& window : m_disabledWindows)
        if (window)
            window->setEnabled(true);
    m_disabledWindows.clear();
    m_disabledAny = false;
}

void TCommProgress::closeEvent(QCloseEvent* event) {
    // A close from the window system (the window manager's close, Alt+F4) is the user's: the
    // transfer is still running and the window stays.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    EnableDisabledWindows();
    TModalForm::closeEvent(event);
}

void TCommProgress::keyPressEvent(QKeyEvent* event) {
    // Esc would end the window as a dialog does; the transfer decides when it ends.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    TModalForm::keyPressEvent(event);
}

void TCommProgress::hideEvent(QHideEvent* event) {
    // Hidden by any means (closed, or its owner going away): the other windows must come back.
    EnableDisabledWindows();
    TModalForm::hideEvent(event);
}
