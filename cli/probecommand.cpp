#include "cli/command.h"

#include "link/ftdiprobe.h"

int RunProbeCommand(const QStringList&, QTextStream& out, QTextStream& err) {
    return ProbeAnalyzer(out, err);
}
