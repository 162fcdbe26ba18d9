#pragma once
// The program's entry, shared by the program and its demo: the application object with its title,
// the seams installed, the main window, and the message loop until the main window closes.

#include <QString>
#include <functional>
#include <memory>

class BenchHardware;
class FtdiDriver;
class QWidget;

// What a program talks to: a real analyzer, or the simulated one with its control window. What the
// simulated one changes in the program comes from here, never from a test of which program it is.
class AnalyzerBackend {
public:
    virtual ~AnalyzerBackend() = default;
    virtual FtdiDriver& Driver() = 0;
    // The windows that stand for the bench hardware; none for a real analyzer.
    virtual BenchHardware* Bench() { return nullptr; }
    // Where the tests go instead of the configured library; empty: the configured one.
    virtual QString LibraryLocation() const { return QString(); }
    // Whether the tests that enter the library are handed off to a maintenance system's folder
    // ([Library] EXPORT_FOLDER); simulated tests are not.
    virtual bool HandsOffTests() const { return true; }
};

// Made once the main window exists (and has set up the settings folder).
using AnalyzerBackendFactory = std::function<std::unique_ptr<AnalyzerBackend>(QWidget& mainWindow)>;

// Returns 0 in every case, as the program's exit status.
int RunProgram(int argc, char** argv, const AnalyzerBackendFactory& makeBackend);
