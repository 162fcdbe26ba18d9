#include "cli/command.h"
#include "cli/recordinput.h"
#include "report/csvexport.h"

int RunCsvCommand(const QStringList& args, QTextStream&, QTextStream& err) {
    const QString& input = args.at(0);
    const QString& output = args.at(1);
    const auto rec = ReadTestRecord(input, err);
    if (!rec)
        return ExitFailure;
    if (OutputIsTheRecord(input, output, "CSV", err))
        return ExitFailure;
    try {
        WriteCsvFile(output, BuildCsv(*rec, ComputeLoadResultsTable(*rec)));
    } catch (const EFileError& error) {
        err << "zrqtool: " << QString::fromLocal8Bit(error.what()) << '\n';
        return ExitFailure;
    }
    return ExitSuccess;
}
