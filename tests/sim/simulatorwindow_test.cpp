// The demo's Simulator window: its controls reach the simulated analyzer.
#include "base/loadundertest.h"
#include "sim/simulatedanalyzer.h"
#include "sim/simulatorwindow.h"
#include "sim/virtualclock.h"
#include "tests/support/findchild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <array>
#include <gtest/gtest.h>

namespace {

class SimulatorWindow : public ::testing::Test {
protected:
    VirtualClock clock;
    SimulatedAnalyzer sim{&clock};
    int load = 3;
    TSimulatorWindow window{sim, [this] { return load; }};
};

} // namespace

TEST_F(SimulatorWindow, JumpersFollowTheTestOrAreSetByHand) {
    EXPECT_TRUE(Child<QCheckBox>(window, "chkFollowLoad")->isChecked());
    EXPECT_FALSE(Child<QComboBox>(window, "cboBank")->isEnabled());
    Child<QCheckBox>(window, "chkFollowLoad")->setChecked(false);
    EXPECT_TRUE(Child<QComboBox>(window, "cboBank")->isEnabled());
    Child<QComboBox>(window, "cboBank")->setCurrentIndex(Child<QComboBox>(window, "cboBank")->findData(QChar(u'B')));
    Child<QComboBox>(window, "cboResistance")->setCurrentIndex(Child<QComboBox>(window, "cboResistance")->findData(QChar(u'E')));
    EXPECT_EQ(sim.Accessory().bank, 'B');
    EXPECT_EQ(sim.Accessory().resistance, 'E');
    Child<QCheckBox>(window, "chkAccessoryCable")->setChecked(false);
    EXPECT_FALSE(sim.Accessory().cableConnected);
}

TEST_F(SimulatorWindow, DefibrillatorAndAutomaticDischarge) {
    Child<QComboBox>(window, "cboWaveform")->setCurrentIndex(2);
    Child<QDoubleSpinBox>(window, "spinEnergy")->setValue(150);
    EXPECT_EQ(sim.Defibrillator().waveform, DefibWaveform::MonophasicDampedSine);
    EXPECT_DOUBLE_EQ(sim.Defibrillator().selectedJoules, 150.0);
    EXPECT_EQ(sim.Timing().autoDischargeMilliseconds, -1);
    Child<QSpinBox>(window, "spinAutoSeconds")->setValue(3);
    Child<QCheckBox>(window, "chkAutoDischarge")->setChecked(true);
    EXPECT_EQ(sim.Timing().autoDischargeMilliseconds, 3000);
    EXPECT_FALSE(Child<QPushButton>(window, "btnDischarge")->isEnabled()); // only while the analyzer waits for a discharge
}

TEST_F(SimulatorWindow, UsbCableAndFaults) {
    Child<QCheckBox>(window, "chkUsbPlugged")->setChecked(false);
    EXPECT_FALSE(sim.IsPlugged());
    Child<QCheckBox>(window, "chkUsbPlugged")->setChecked(true);
    EXPECT_TRUE(sim.IsPlugged());
    Child<QPushButton>(window, "btnNoReply")->click();
    Child<QPushButton>(window, "btnUnplugDuringDownload")->click();
    Child<QPushButton>(window, "btnStallDownload")->click();
    Child<QPushButton>(window, "btnTestText")->click(); // not waiting: kept for the next discharge wait
    EXPECT_EQ(sim.PendingFaults(), 4);
}

TEST_F(SimulatorWindow, ControlsShowTheHardwareAsItIs) {
    // An armed fault shows pressed; a second click disarms it; one armed elsewhere shows too.
    Child<QPushButton>(window, "btnStallDownload")->click();
    EXPECT_TRUE(Child<QPushButton>(window, "btnStallDownload")->isChecked());
    Child<QPushButton>(window, "btnStallDownload")->click();
    EXPECT_FALSE(Child<QPushButton>(window, "btnStallDownload")->isChecked());
    EXPECT_EQ(sim.PendingFaults(), 0);
    sim.InjectFault(SimFault::NoReply("RL"));
    EXPECT_TRUE(Child<QPushButton>(window, "btnNoReply")->isChecked());
    sim.ClearFaults();
    EXPECT_FALSE(Child<QPushButton>(window, "btnNoReply")->isChecked());

    // The download takes the armed fault, and the cable it pulls shows unplugged.
    Child<QPushButton>(window, "btnUnplugDuringDownload")->click();
    SimTiming atOnce = sim.Timing();
    atOnce.bytesPerSecond = 0;
    sim.SetTiming(atOnce);
    FtHandle handle = FtHandle::Null;
    ASSERT_EQ(sim.OpenEx("Corvex Defib Tester Final", FtOpenByDescription, handle), FtOK);
    uint32_t count = 0;
    ASSERT_EQ(sim.Write(handle, "VW\r", 3, count), FtOK);
    EXPECT_FALSE(Child<QPushButton>(window, "btnUnplugDuringDownload")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(window, "chkUsbPlugged")->isChecked());
    clock.Advance(10'000);
    std::array<char, 4100> bytes{};
    ASSERT_EQ(sim.Read(handle, bytes.data(), bytes.size(), count), FtOK);
    EXPECT_NE(sim.GetQueueStatus(handle, count), FtOK);
    EXPECT_FALSE(Child<QCheckBox>(window, "chkUsbPlugged")->isChecked());
    Child<QCheckBox>(window, "chkUsbPlugged")->setChecked(true); // plugged in again by hand
    EXPECT_TRUE(sim.IsPlugged());
}

TEST(SimulatorWindowFollowing, BoxesShowTheJumpersOfEachAnnouncedLoad) {
    VirtualClock clock;
    SimulatedAnalyzer sim{&clock};
    TSimulatorWindow window(sim, LoadUnderTest);
    const auto shown = [&] {
        return QString(Child<QComboBox>(window, "cboBank")->currentData().toChar()) +
               Child<QComboBox>(window, "cboResistance")->currentData().toChar();
    };
    AnnounceLoadUnderTest(1);
    EXPECT_EQ(shown(), QStringLiteral("A2"));
    AnnounceLoadUnderTest(5);
    EXPECT_EQ(shown(), QStringLiteral("B6"));
    AnnounceLoadUnderTest(NoLoadUnderTest); // the test ended: the jumpers stay where they are
    EXPECT_EQ(shown(), QStringLiteral("B6"));
}
