#pragma once
// zrqtool pdf draws the service report with Qt Gui and the waveform chart, which the commands, Qt Core
// only, do not link. zrqtool's entry links the drawing: when the command line asks for a drawing
// command, it makes the application object drawing needs (on the offscreen platform unless another is
// set) and installs the writer here.

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <QString>
#include <QStringList>
#include <optional>

// Writes the service report of `rec` to fileName; throws EFileError naming the file when it cannot.
using ServiceReportWriter = void (*)(const QString& fileName, const TZRTestRec& rec,
                                     const std::optional<TVerdictBasis>& verdict);

// The writer zrqtool pdf uses; none installed: the command says this zrqtool cannot draw.
void InstallServiceReportWriter(ServiceReportWriter writer);

// True when zrqtool's arguments (after an optional --trace FILE) name a command that draws.
bool CommandDraws(const QStringList& args);
