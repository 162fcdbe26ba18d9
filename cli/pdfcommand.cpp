// zrqtool pdf: the service report of a record as a PDF document, the one the report viewer's
// Export PDF writes, checked against a profile when one is given.
#include "cli/command.h"
#include "cli/pdfoutput.h"
#include "cli/recordinput.h"
#include "cli/verdictoutput.h"
#include "library/handoff.h"
#include "report/wholefile.h"

bool CommandDraws(const QStringList& args) {
    const qsizetype command = args.value(0) == QLatin1String("--trace") ? 2 : 0;
    if (args.value(command) == QLatin1String("pdf"))
        return true;
    if (args.value(command) != QLatin1String("library"))
        return false;
    const qsizetype action = command + (args.value(command + 1) == QLatin1String("--db") ? 3 : 1);
    return QStringList{QStringLiteral("pdf"), QStringLiteral("import"), QStringLiteral("outbox")}.contains(
        args.value(action));
}

int RunPdfCommand(const QStringList& args, QTextStream&, QTextStream& err) {
    VerdictArguments options;
    if (!ParseVerdictArguments("pdf", args, 2, {}, options, err))
        return ExitUsage;
    if (options.files.size() != 2 || options.profile.isEmpty() != !options.hasEnergy) {
        err << "zrqtool: pdf: expects FILE.zrq OUT.pdf, and --profile with --energy or neither\n";
        return ExitUsage;
    }
    const QString& input = options.files[0];
    const QString& output = options.files[1];
    const auto rec = ReadTestRecord(input, err);
    if (!rec || OutputIsTheRecord(input, output, "PDF", err))
        return ExitFailure;
    std::optional<TVerdictBasis> basis;
    if (!options.profile.isEmpty()) {
        basis = ResolveVerdictBasis(options.profile, options.energy, err);
        if (!basis)
            return ExitFailure;
    }
    const ServiceReportDrawer draw = InstalledServiceReportDrawer();
    if (draw == nullptr) {
        err << "zrqtool: pdf: this zrqtool was built without the drawing of documents\n";
        return ExitFailure;
    }
    try {
        WriteWholeFile(output, draw(*rec, basis));
    } catch (const EFileError& error) {
        err << "zrqtool: " << QString::fromLocal8Bit(error.what()) << '\n';
        return ExitFailure;
    }
    return ExitSuccess;
}
