#pragma once
// The chart axis dialog: the user types the limits of the time axis (msec) and the current axis (A).
// The four values are the caller's; they are replaced only when OK succeeds.

#include "waveform/axistext.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class TSetAxis : public QDialog {
    Q_OBJECT
public:
    TSetAxis(QWidget* owner, AxisLimits& limits);

    void btnOKClick();
    void btnCancelClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    AxisLimits& m_limits;
    QLineEdit* txtXMin = nullptr;
    QLineEdit* txtXMax = nullptr;
    QLineEdit* txtYMin = nullptr;
    QLineEdit* txtYMax = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
