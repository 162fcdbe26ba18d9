#pragma once
// The demo program's Simulator window: the controls a trainer needs to play the analyzer, the load
// accessory and the defibrillator: jumpers following the test or set by hand, the accessory's cable,
// the USB cable, the defibrillator's waveform and energy, the discharge (by hand or automatic), and
// the faults a technician should learn to recognise. The controls always show the simulated
// hardware as it is: a cable pulled by a fault shows unplugged, an armed fault shows pressed.

#include "base/loadundertest.h"
#include "sim/simfault.h"

#include <QList>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class SimulatedAnalyzer;

class TSimulatorWindow : public QWidget {
    Q_OBJECT
public:
    // `currentLoad` tells which load the test is on (0..6), or anything else when none.
    TSimulatorWindow(SimulatedAnalyzer& analyzer, std::function<int()> currentLoad);

private:
    // Widgets, named after their members for tests and tools (findChild).
    QCheckBox* chkFollowLoad = nullptr;
    QComboBox* cboBank = nullptr;
    QComboBox* cboResistance = nullptr;
    QCheckBox* chkAccessoryCable = nullptr;
    QCheckBox* chkUsbPlugged = nullptr;
    QComboBox* cboWaveform = nullptr;
    QDoubleSpinBox* spinEnergy = nullptr;
    QPushButton* btnDischarge = nullptr;
    QCheckBox* chkAutoDischarge = nullptr;
    QSpinBox* spinAutoSeconds = nullptr;
    QPushButton* btnNoReply = nullptr;
    QPushButton* btnTestText = nullptr;
    QPushButton* btnUnplugDuringDownload = nullptr;
    QPushButton* btnStallDownload = nullptr;
    QLabel* lblState = nullptr;
    QListWidget* lstCommands = nullptr;

    QGroupBox* CreateAccessoryBox();
    QGroupBox* CreateDefibrillatorBox();
    QGroupBox* CreateFaultsBox();
    void ConnectControls();
    void ConnectAnalyzer();
    // A checkable button that arms `fault`, shows it armed while the analyzer holds it, and disarms
    // it when clicked again.
    void AddFaultButton(QPushButton* button, const SimFault& fault);
    void ShowFaults();
    void ShowPlug(bool plugged);
    void ApplyAccessory();
    // While the jumpers follow the load, the bank and resistance boxes show where they are.
    void ShowFollowedJumpers();
    void ApplyDefibrillator();
    void ApplyAutoDischarge();
    void ShowState();

    struct FaultButton {
        QPushButton* button;
        SimFault fault;
    };

    SimulatedAnalyzer& m_analyzer;
    std::function<int()> m_currentLoad;
    QList<FaultButton> m_faultButtons;
    LoadUnderTestListener m_loadListener{[this](int) { ShowFollowedJumpers(); }};
};
