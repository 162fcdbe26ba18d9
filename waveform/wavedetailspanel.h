#pragma once
// The "Wave Details" group box of the waveform viewer: a drop-down list of the loads shown and the
// corrected measurements of the chosen one.

#include "records/loadresults.h"

#include <QGroupBox>
#include <QList>

class QComboBox;
class QLabel;

class TWaveDetailsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit TWaveDetailsPanel(QWidget* parent = nullptr);

    QComboBox* cboxWaveDetails() const { return m_combo; }
    // Fills every value label from one load's results.
    void ShowResults(const TLoadResults& results);

signals:
    // A caption or value label of the panel was clicked.
    void LabelClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_combo = nullptr;
    QList<QLabel*> m_values; // in the order of the rows that have a value
};
