#include "waveform/wavedetailspanel.h"

#include "waveform/wavetexts.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {
constexpr int ValueLabelWidth = 129;
}

TWaveDetailsPanel::TWaveDetailsPanel(QWidget* parent) : QGroupBox(QStringLiteral("Wave Details"), parent) {
    setObjectName(QStringLiteral("gbWaveDetails"));
    // Clicks on the box itself have no action and must not reach the information panel around it.
    setAttribute(Qt::WA_NoMousePropagation);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    grid->setContentsMargins(6, 4, 6, 6);

    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("cboxWaveDetails"));
    m_combo->setEditable(false);
    grid->addWidget(m_combo, 0, 0, 1, 2);

    int row = 1;
    for (const WaveDetailRow& r : WaveDetailRows()) {
        auto* caption = new QLabel(QString::fromLatin1(r.caption), this);
        caption->installEventFilter(this);
        grid->addWidget(caption, row, 0);
        if (r.valueLabel) {
            auto* value = new QLabel(this);
            value->setObjectName(QString::fromLatin1(r.valueLabel));
            value->setFixedWidth(ValueLabelWidth);
            value->installEventFilter(this);
            grid->addWidget(value, row, 1);
            m_values.append(value);
        } else {
            QFont underlined = caption->font();
            underlined.setUnderline(true);
            caption->setFont(underlined);
        }
        ++row;
    }
    grid->setColumnStretch(2, 1);
}

void TWaveDetailsPanel::ShowResults(const TLoadResults& results) {
    qsizetype i = 0;
    for (const WaveDetailRow& r : WaveDetailRows())
        if (r.valueLabel)
            m_values[i++]->setText(WaveDetailText(r, results));
}

bool TWaveDetailsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit LabelClicked();
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}
