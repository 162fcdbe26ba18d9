#include "sim/simulatorwindow.h"

#include "sim/simulatedanalyzer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString StateText(SimState state) {
    switch (state) {
    case SimState::Idle:
        return QStringLiteral("Answering commands");
    case SimState::WaitingForDischarge:
        return QStringLiteral("Waiting for the discharge");
    case SimState::Measuring:
        return QStringLiteral("Measuring the discharge");
    }
    return QString();
}

QString CommandText(const QByteArray& command) {
    return command == "\x1b" ? QStringLiteral("ESC") : QString::fromLatin1(command);
}

} // namespace

TSimulatorWindow::TSimulatorWindow(SimulatedAnalyzer& analyzer, std::function<int()> currentLoad)
    : QWidget(nullptr, Qt::Window), m_analyzer(analyzer), m_currentLoad(std::move(currentLoad)) {
    setWindowTitle(QStringLiteral("CorvexZR Simulator"));

    // Created in the order the keyboard visits them.
    QGroupBox* accessory = CreateAccessoryBox();
    QGroupBox* defib = CreateDefibrillatorBox();
    QGroupBox* faults = CreateFaultsBox();
    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lstCommands = new QListWidget(this);
    lstCommands->setObjectName(QStringLiteral("lstCommands"));
    lstCommands->setMinimumHeight(90);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(accessory);
    layout->addWidget(defib);
    layout->addWidget(faults);
    layout->addWidget(lblState);
    layout->addWidget(new QLabel(QStringLiteral("Commands received:"), this));
    layout->addWidget(lstCommands, 1);

    ConnectControls();
    ConnectAnalyzer();

    ApplyAccessory();
    ShowState();
    ShowFaults();
}

void TSimulatorWindow::AddFaultButton(QPushButton* button, const SimFault& fault) {
    button->setCheckable(true);
    button->setToolTip(QStringLiteral("Pressed while armed; click again to disarm."));
    m_faultButtons.append({button, fault});
    connect(button, &QPushButton::toggled, this, [this, fault](bool arm) {
        if (!arm)
            m_analyzer.RemoveFault(fault.kind, fault.command);
        else if (fault.kind != SimFault::Kind::TestText || !m_analyzer.SendTestText())
            m_analyzer.InjectFault(fault); // the TEST key acts at once while the analyzer waits
        ShowFaults();
    });
}

void TSimulatorWindow::ShowFaults() {
    for (const FaultButton& entry : m_faultButtons) {
        const QSignalBlocker quiet(entry.button);
        entry.button->setChecked(m_analyzer.HasFault(entry.fault.kind, entry.fault.command));
    }
}

void TSimulatorWindow::ShowPlug(bool plugged) {
    const QSignalBlocker quiet(chkUsbPlugged);
    chkUsbPlugged->setChecked(plugged);
}

void TSimulatorWindow::ApplyAccessory() {
    const bool follow = chkFollowLoad->isChecked();
    cboBank->setEnabled(!follow);
    cboResistance->setEnabled(!follow);
    m_analyzer.Accessory().cableConnected = chkAccessoryCable->isChecked();
    if (follow) {
        m_analyzer.FollowLoad(m_currentLoad);
        ShowFollowedJumpers();
        return;
    }
    m_analyzer.FollowLoad({});
    m_analyzer.Accessory().bank = cboBank->currentData().toChar().toLatin1();
    m_analyzer.Accessory().resistance = cboResistance->currentData().toChar().toLatin1();
}

void TSimulatorWindow::ShowFollowedJumpers() {
    const int load = m_currentLoad();
    if (!chkFollowLoad->isChecked() || load < 0 || load >= LOAD_COUNT)
        return; // between tests the boxes keep the last jumpers
    SimAccessory jumpers;
    jumpers.SetJumpersForLoad(load);
    const QSignalBlocker quietBank(cboBank);
    const QSignalBlocker quietResistance(cboResistance);
    cboBank->setCurrentIndex(cboBank->findData(QChar(QLatin1Char(jumpers.bank))));
    cboResistance->setCurrentIndex(cboResistance->findData(QChar(QLatin1Char(jumpers.resistance))));
}

void TSimulatorWindow::ApplyDefibrillator() {
    DefibSettings settings = m_analyzer.Defibrillator();
    settings.waveform = static_cast<DefibWaveform>(cboWaveform->currentData().toInt());
    settings.selectedJoules = spinEnergy->value();
    m_analyzer.SetDefibrillator(settings);
}

void TSimulatorWindow::ApplyAutoDischarge() {
    SimTiming timing = m_analyzer.Timing();
    timing.autoDischargeMilliseconds = chkAutoDischarge->isChecked() ? spinAutoSeconds->value() * 1000 : -1;
    m_analyzer.SetTiming(timing);
}

void TSimulatorWindow::ShowState() {
    lblState->setText(QStringLiteral("Analyzer: ") + StateText(m_analyzer.State()));
    btnDischarge->setEnabled(m_analyzer.State() == SimState::WaitingForDischarge);
}

QGroupBox* TSimulatorWindow::CreateAccessoryBox() {
    auto* accessory = new QGroupBox(QStringLiteral("ZRQ load accessory"), this);
    chkFollowLoad = new QCheckBox(QStringLiteral("Jumpers follow the load being tested"), accessory);
    chkFollowLoad->setObjectName(QStringLiteral("chkFollowLoad"));
    chkFollowLoad->setChecked(true);
    cboBank = new QComboBox(accessory);
    cboBank->setObjectName(QStringLiteral("cboBank"));
    cboBank->addItem(QStringLiteral("Bank A"), QChar(u'A'));
    cboBank->addItem(QStringLiteral("Bank B"), QChar(u'B'));
    cboBank->addItem(QStringLiteral("No bank"), QChar(u'-'));
    cboBank->addItem(QStringLiteral("Both banks"), QChar(u'E'));
    cboResistance = new QComboBox(accessory);
    cboResistance->setObjectName(QStringLiteral("cboResistance"));
    for (int load = 0; load < 7; ++load)
        cboResistance->addItem(QStringLiteral("%1 ohms").arg(load * 25 + 25), QChar(u'1' + load));
    cboResistance->addItem(QStringLiteral("No jumper"), QChar(u'-'));
    cboResistance->addItem(QStringLiteral("Two jumpers"), QChar(u'E'));
    chkAccessoryCable = new QCheckBox(QStringLiteral("Cable to the analyzer connected"), accessory);
    chkAccessoryCable->setObjectName(QStringLiteral("chkAccessoryCable"));
    chkAccessoryCable->setChecked(true);
    auto* accessoryForm = new QFormLayout(accessory);
    accessoryForm->addRow(chkFollowLoad);
    accessoryForm->addRow(QStringLiteral("Cable in:"), cboBank);
    accessoryForm->addRow(QStringLiteral("Jumper on:"), cboResistance);
    accessoryForm->addRow(chkAccessoryCable);
    return accessory;
}

QGroupBox* TSimulatorWindow::CreateDefibrillatorBox() {
    auto* defib = new QGroupBox(QStringLiteral("Defibrillator under test"), this);
    cboWaveform = new QComboBox(defib);
    cboWaveform->setObjectName(QStringLiteral("cboWaveform"));
    cboWaveform->addItem(QStringLiteral("Biphasic truncated exponential"),
                         static_cast<int>(DefibWaveform::BiphasicTruncatedExponential));
    cboWaveform->addItem(QStringLiteral("Rectilinear biphasic"),
                         static_cast<int>(DefibWaveform::RectilinearBiphasic));
    cboWaveform->addItem(QStringLiteral("Monophasic damped sine"),
                         static_cast<int>(DefibWaveform::MonophasicDampedSine));
    spinEnergy = new QDoubleSpinBox(defib);
    spinEnergy->setObjectName(QStringLiteral("spinEnergy"));
    spinEnergy->setRange(1.0, 360.0);
    spinEnergy->setDecimals(0);
    spinEnergy->setSuffix(QStringLiteral(" J"));
    spinEnergy->setValue(m_analyzer.Defibrillator().selectedJoules);
    btnDischarge = new QPushButton(QStringLiteral("&Fire discharge"), defib);
    btnDischarge->setObjectName(QStringLiteral("btnDischarge"));
    chkAutoDischarge = new QCheckBox(QStringLiteral("Fire by itself after"), defib);
    chkAutoDischarge->setObjectName(QStringLiteral("chkAutoDischarge"));
    spinAutoSeconds = new QSpinBox(defib);
    spinAutoSeconds->setObjectName(QStringLiteral("spinAutoSeconds"));
    spinAutoSeconds->setRange(1, 60);
    spinAutoSeconds->setValue(5);
    spinAutoSeconds->setSuffix(QStringLiteral(" s of waiting"));
    auto* autoRow = new QHBoxLayout;
    autoRow->addWidget(chkAutoDischarge);
    autoRow->addWidget(spinAutoSeconds);
    auto* defibForm = new QFormLayout(defib);
    defibForm->addRow(QStringLiteral("Waveform:"), cboWaveform);
    defibForm->addRow(QStringLiteral("Energy:"), spinEnergy);
    defibForm->addRow(btnDischarge);
    defibForm->addRow(autoRow);
    return defib;
}

QGroupBox* TSimulatorWindow::CreateFaultsBox() {
    auto* faults = new QGroupBox(QStringLiteral("Analyzer and USB"), this);
    chkUsbPlugged = new QCheckBox(QStringLiteral("USB cable plugged in"), faults);
    chkUsbPlugged->setObjectName(QStringLiteral("chkUsbPlugged"));
    chkUsbPlugged->setChecked(m_analyzer.IsPlugged());
    btnNoReply = new QPushButton(QStringLiteral("Ignore the next load query"), faults);
    btnNoReply->setObjectName(QStringLiteral("btnNoReply"));
    btnTestText = new QPushButton(QStringLiteral("Press the analyzer's TEST key"), faults);
    btnTestText->setObjectName(QStringLiteral("btnTestText"));
    btnUnplugDuringDownload =
        new QPushButton(QStringLiteral("Pull the USB cable during the next download"), faults);
    btnUnplugDuringDownload->setObjectName(QStringLiteral("btnUnplugDuringDownload"));
    btnStallDownload = new QPushButton(QStringLiteral("Stall the next download"), faults);
    btnStallDownload->setObjectName(QStringLiteral("btnStallDownload"));
    auto* faultBox = new QVBoxLayout(faults);
    faultBox->addWidget(chkUsbPlugged);
    faultBox->addWidget(btnNoReply);
    faultBox->addWidget(btnTestText);
    faultBox->addWidget(btnUnplugDuringDownload);
    faultBox->addWidget(btnStallDownload);
    return faults;
}

void TSimulatorWindow::ConnectControls() {
    connect(chkFollowLoad, &QCheckBox::toggled, this, &TSimulatorWindow::ApplyAccessory);
    connect(cboBank, &QComboBox::currentIndexChanged, this, &TSimulatorWindow::ApplyAccessory);
    connect(cboResistance, &QComboBox::currentIndexChanged, this, &TSimulatorWindow::ApplyAccessory);
    connect(chkAccessoryCable, &QCheckBox::toggled, this, &TSimulatorWindow::ApplyAccessory);
    connect(cboWaveform, &QComboBox::currentIndexChanged, this, &TSimulatorWindow::ApplyDefibrillator);
    connect(spinEnergy, &QDoubleSpinBox::valueChanged, this, &TSimulatorWindow::ApplyDefibrillator);
    connect(chkAutoDischarge, &QCheckBox::toggled, this, &TSimulatorWindow::ApplyAutoDischarge);
    connect(spinAutoSeconds, &QSpinBox::valueChanged, this, &TSimulatorWindow::ApplyAutoDischarge);
    connect(btnDischarge, &QPushButton::clicked, this, [this] { m_analyzer.Discharge(); });
    connect(chkUsbPlugged, &QCheckBox::toggled, this, [this](bool plugged) {
        if (plugged)
            m_analyzer.Plug();
        else
            m_analyzer.Unplug();
    });
    AddFaultButton(btnNoReply, SimFault::NoReply("RL"));
    AddFaultButton(btnTestText, SimFault::TestText());
    AddFaultButton(btnUnplugDuringDownload, SimFault::UnplugAtByte(4000));
    AddFaultButton(btnStallDownload, SimFault::StallAtByte(4000));
}

void TSimulatorWindow::ConnectAnalyzer() {
    connect(&m_analyzer, &SimulatedAnalyzer::FaultsChanged, this, &TSimulatorWindow::ShowFaults);
    connect(&m_analyzer, &SimulatedAnalyzer::PlugChanged, this, &TSimulatorWindow::ShowPlug);
    connect(&m_analyzer, &SimulatedAnalyzer::StateChanged, this, &TSimulatorWindow::ShowState);
    connect(&m_analyzer, &SimulatedAnalyzer::CommandReceived, this, [this](const QByteArray& command) {
        lstCommands->addItem(CommandText(command));
        while (lstCommands->count() > 200)
            delete lstCommands->takeItem(0);
        lstCommands->scrollToBottom();
    });
}
