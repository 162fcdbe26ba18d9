#include "cli/command.h"
#include "cli/recordinput.h"
#include "report/reportlines.h"

int RunReportCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const auto rec = ReadTestRecord(args.at(0), err);
    if (!rec)
        return ExitFailure;
    const QStringList lines = BuildReportLines(*rec, ComputeLoadResultsTable(*rec));
    for (const QString& line : lines)
        out << line << '\n';
    out.flush();
    if (out.status() != QTextStream::Ok) { // a full disk or a closed pipe behind standard output
        err << "zrqtool: the report could not be written to standard output\n";
        return ExitFailure;
    }
    return ExitSuccess;
}
