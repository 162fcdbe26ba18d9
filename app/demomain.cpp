// CorvexZR demo: the same program with a simulated analyzer, load accessory and defibrillator, and a
// Simulator window to play them, so that anyone can try a whole test without hardware and trainers
// can teach with it.
#include "base/loadundertest.h"
#include "app/programentry.h"
#include "base/benchhardware.h"
#include "base/global.h"
#include "sim/simulatedanalyzer.h"
#include "sim/simulatorwindow.h"

#include <QScreen>

namespace {

class SimulatedBackend : public AnalyzerBackend {
public:
    explicit SimulatedBackend(QWidget& mainWindow) : m_window(m_analyzer, LoadUnderTest) {
        m_bench.Add(m_window);
        // Beside the main window, where it stays in view during the test.
        const QRect area = mainWindow.screen()->availableGeometry();
        m_window.adjustSize();
        m_window.move(area.right() - m_window.frameGeometry().width() - 16, area.top() + 40);
        m_window.show();
    }
    FtdiDriver& Driver() override { return m_analyzer; }
    BenchHardware* Bench() override { return &m_bench; }
    // Simulated tests never mix with real ones.
    QString LibraryLocation() const override { return DataFolder + QStringLiteral("demo-library.sqlite"); }
    bool HandsOffTests() const override { return false; }

private:
    SimulatedAnalyzer m_analyzer; // real time
    TSimulatorWindow m_window;
    BenchWindows m_bench;
};

} // namespace

int main(int argc, char** argv) {
    return RunProgram(argc, argv,
                      [](QWidget& mainWindow) { return std::make_unique<SimulatedBackend>(mainWindow); });
}
