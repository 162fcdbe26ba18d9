// zrqtool pdf: the service report of a record as a PDF document, the one the report viewer's
// Export PDF writes, checked against a profile when one is given.
#include "cli/command.h"
#include "cli/pdfoutput.h"
#include "cli/recordinput.h"
#include "cli/verdictoutput.h"

namespace {

ServiceReportWriter g_writer = nullptr;

} // namespace

void InstallServiceReportWriter(ServiceReportWriter writer) {
    g_writer = writer;
}

bool CommandDraws(const QStringList& args) {
    const qsizetype command = args.value(0) == QLatin1String("--trace") ? 2 : 0;
    return args.value(command) == QLatin1String("pdf");
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
    if (g_writer == nullptr) {
        err << "zrqtool: pdf: this zrqtool was built without the drawing of documents\n";
        return ExitFailure;
    }
    try {
        g_writer(output, *rec, basis);
    } catch (const EFileError& error) {
        err << "zrqtool: " << QString::fromLocal8Bit(error.what()) << '\n';
        return ExitFailure;
    }
    return ExitSuccess;
}
