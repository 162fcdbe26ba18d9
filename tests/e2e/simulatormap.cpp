// simulatormap: where the controls of the demo's Simulator window stand, for the end-to-end test to
// click them through the X server. It lays the window out exactly as the demo does (same class, same
// fonts, same display) and prints one line per control: its name and its centre in window
// coordinates, then the window's own size, which the test compares with the demo's window.
#include "sim/simulatedanalyzer.h"
#include "sim/simulatorwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SimulatedAnalyzer analyzer;
    TSimulatorWindow window(analyzer, [] { return -1; });
    window.adjustSize();
    window.show();
    QApplication::processEvents();
    const char* controls[] = {"btnDischarge",      "chkFollowLoad", "cboBank",
                              "cboResistance",     "chkAutoDischarge", "chkUsbPlugged",
                              "chkAccessoryCable", "btnTestText",   "btnUnplugDuringDownload",
                              "btnStallDownload"};
    for (const char* name : controls) {
        const QWidget* control = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (control == nullptr) {
            std::fprintf(stderr, "simulatormap: the Simulator has no control named %s\n", name);
            return 1;
        }
        const QPoint centre = control->mapTo(&window, control->rect().center());
        std::printf("%s %d %d\n", name, centre.x(), centre.y());
    }
    std::printf("window %d %d\n", window.width(), window.height());
    return 0;
}
