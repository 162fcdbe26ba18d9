#include "waveform/setaxis.h"

#include "base/messages.h"
#include "base/uifonts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int EditMaxLength = 15;

QLineEdit* AddRow(QGridLayout* grid, int row, const QString& caption, const QString& unit, double value,
                  const QString& name) {
    const QString text = FormatAxisValue(value);
    auto* box = new QLineEdit;
    box->setObjectName(name);
    // The limit is for typing: a longer limit in effect is shown whole, not cut short.
    box->setMaxLength(std::max<int>(EditMaxLength, static_cast<int>(text.size())));
    box->setText(text);
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(new QLabel(unit), row, 2);
    return box;
}

QPushButton* PlainButton(const QString& text, const QString& name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    // Neither button is the dialog's default: Enter presses nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TSetAxis::TSetAxis(QWidget* owner, AxisLimits& limits)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_limits(limits) {
    setObjectName(QStringLiteral("SetAxis"));
    setWindowTitle(QStringLiteral("Set Chart Axis"));
    setFont(WindowFont());
    setFixedSize(276, 212);

    auto* group = new QGroupBox(QStringLiteral("Set Chart Axis"));
    auto* grid = new QGridLayout(group);
    txtXMin = AddRow(grid, 0, QStringLiteral("Time Axis Min"), QStringLiteral("msec"), limits.timeMin,
                     QStringLiteral("txtXMin"));
    txtXMax = AddRow(grid, 1, QStringLiteral("Time Axis Max"), QStringLiteral("msec"), limits.timeMax,
                     QStringLiteral("txtXMax"));
    txtYMin = AddRow(grid, 2, QStringLiteral("Current Axis Min"), QStringLiteral("A"), limits.currentMin,
                     QStringLiteral("txtYMin"));
    txtYMax = AddRow(grid, 3, QStringLiteral("Current Axis Max"), QStringLiteral("A"), limits.currentMax,
                     QStringLiteral("txtYMax"));

    btnOK = PlainButton(QStringLiteral("OK"), QStringLiteral("btnOK"));
    btnCancel = PlainButton(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &TSetAxis::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TSetAxis::btnCancelClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

void TSetAxis::btnOKClick() {
    AxisLimits typed = m_limits;
    switch (CheckAxisTexts({txtXMin->text(), txtXMax->text(), txtYMin->text(), txtYMax->text()}, typed)) {
    case AxisTextCheck::Valid:
        m_limits = typed;
        accept();
        break;
    case AxisTextCheck::InvalidNumber:
        ShowMessage(QStringLiteral("Invalid Axis"), QStringLiteral("An invalid number was entered."),
                    MsgIcon::Error);
        break;
    case AxisTextCheck::MaxNotLarger:
        ShowMessage(QStringLiteral("Invalid Axis"),
                    QStringLiteral("Maximum axis must be larger than minimum axis."), MsgIcon::Error);
        break;
    }
}

void TSetAxis::btnCancelClick() {
    reject();
}

void TSetAxis::keyPressEvent(QKeyEvent* event) {
    // Escape is no Cancel button here; only the buttons and the window's close box end the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
