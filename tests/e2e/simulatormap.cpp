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
    const struct {
        const char* name;
        QWidget* widget;
    } controls[] = {
        {"btnDischarge", window.btnDischarge},
        {"chkFollowLoad", window.chkFollowLoad},
        {"cboBank", window.cboBank},
        {"cboResistance", window.cboResistance},
        {"chkAutoDischarge", window.chkAutoDischarge},
        {"chkUsbPlugged", window.chkUsbPlugged},
        {"chkAccessoryCable", window.chkAccessoryCable},
        {"btnTestText", window.btnTestText},
        {"btnUnplugDuringDownload", window.btnUnplugDuringDownload},
        {"btnStallDownload", window.btnStallDownload},
    };
    for (const auto& control : controls) {
        const QPoint centre = control.widget->mapTo(&window, control.widget->rect().center());
        std::printf("%s %d %d\n", control.name, centre.x(), centre.y());
    }
    std::printf("window %d %d\n", window.width(), window.height());
    return 0;
}
