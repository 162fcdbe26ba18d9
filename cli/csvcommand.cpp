#include "cli/command.h"
#include "cli/recordinput.h"
#include "report/csvexport.h"

#include <QFileInfo>

int RunCsvCommand(const QStringList& args, QTextStream&, QTextStream& err) {
    const QString& input = args.at(0);
    const QString& output = args.at(1);
    const auto rec = ReadTestRecord(input, err);
    if (!rec)
        return ExitFailure;
    // A slip of the fingers (zrqtool csv a.zrq a.zrq) must not replace the test with its export.
    if (QFileInfo(output).canonicalFilePath() == QFileInfo(input).canonicalFilePath()) {
        err << "zrqtool: " << output << ": is the test record itself; the CSV file needs another name\n";
        return ExitFailure;
    }
    try {
        WriteCsvFile(output, BuildCsv(*rec, ComputeLoadResultsTable(*rec)));
    } catch (const EFileError& error) {
        err << "zrqtool: " << QString::fromLocal8Bit(error.what()) << '\n';
        return ExitFailure;
    }
    return ExitSuccess;
}
