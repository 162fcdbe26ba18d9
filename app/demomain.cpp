// CorvexZR demo: the same program with a simulated analyzer, load accessory and defibrillator, and a
// Simulator window to play them, so that anyone can try a whole test without hardware and trainers
// can teach with it.
#include "app/programentry.h"
#include "sim/simulatedanalyzer.h"
#include "sim/simulatorwindow.h"
#include "testrun/teststepform.h"

#include <QApplication>
#include <QScreen>

namespace {

// The load of the test step on show, for the accessory's jumpers to follow; -1 when no test runs.
int LoadBeingTested() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* step = qobject_cast<TTestStep*>(window); step && step->isVisible())
            return step->Sequencer().CurrentStep();
    return -1;
}

class SimulatedBackend : public AnalyzerBackend {
public:
    explicit SimulatedBackend(QWidget& mainWindow) : m_window(m_analyzer, LoadBeingTested) {
        // Beside the main window, where it stays in view during the test.
        const QRect area = mainWindow.screen()->availableGeometry();
        m_window.adjustSize();
        m_window.move(area.right() - m_window.frameGeometry().width() - 16, area.top() + 40);
        m_window.show();
    }
    FtdiDriver& Driver() override { return m_analyzer; }

private:
    SimulatedAnalyzer m_analyzer; // real time
    TSimulatorWindow m_window;
};

} // namespace

int main(int argc, char** argv) {
    return RunProgram(argc, argv,
                      [](QWidget& mainWindow) { return std::make_unique<SimulatedBackend>(mainWindow); });
}
