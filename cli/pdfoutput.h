#pragma once
// zrqtool pdf draws the service report with Qt Gui and the waveform chart, which the commands, Qt Core
// only, do not link. zrqtool's entry links the drawing: when the command line asks for a command that
// draws (pdf, library pdf, and the library commands that may hand a test off to the maintenance
// system), it makes the application object drawing needs (on the offscreen platform unless another is
// set) and installs the drawer of library/handoff.h.

#include <QStringList>

// True when zrqtool's arguments (after an optional --trace FILE) name a command that draws.
bool CommandDraws(const QStringList& args);
