#pragma once
// "zrqtool probe": what a technician runs when the program does not find the analyzer. Lists the
// FTDI devices on the USB bus with their product strings, says whether the analyzer is among them
// and whether it can be opened (permissions, another program holding it), and once opened whether it
// answers its status query (it does only in REMOTE mode; that is reported, not counted as a failure).

#include <QTextStream>

// Exit codes of the probe.
enum ProbeExitCode {
    ProbeAnalyzerOpened = 0,   // found, opened and closed again: ready for a test
    ProbeAnalyzerNotFound = 3, // no device with the analyzer's product string
    ProbeAnalyzerNotOpened = 4 // found, but it could not be opened
};

// Writes the listing to `out` and what went wrong, with a hint, to `err`; returns the exit code.
int ProbeAnalyzer(QTextStream& out, QTextStream& err);
