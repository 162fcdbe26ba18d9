#include "cli/command.h"

#include "link/wiretrace.h"

namespace {

const QString Tool = QStringLiteral("zrqtool");

QString Latin1(const char* text) {
    return QString::fromLatin1(text);
}

void PrintUsage(QTextStream& s) {
    s << "Usage: zrqtool [--trace FILE] COMMAND ARGUMENTS\n"
         "       zrqtool COMMAND --help\n"
         "       zrqtool --help | --version\n"
         "\n"
         "Turns CorvexZR test records (*.zrq) into text, CSV and a PDF service report, without windows,\n"
         "checks them against the defibrillator's declared energies, checks the connection to the\n"
         "analyzer, and runs a test against the simulated analyzer or against a wire trace written with\n"
         "--trace.\n"
         "\n"
         "  --trace FILE  write every byte exchanged with the analyzer, with its time, to FILE\n"
         "\n"
         "Commands:\n";
    for (const Command& c : Commands()) {
        const QString call = Latin1(c.name) + QLatin1Char(' ') + Latin1(c.arguments);
        s << "  " << call.leftJustified(24) << ' ' << c.summary << '\n';
    }
    s << "\n"
         "PROFILE is a defibrillator profile file (JSON), or the name of one in the profiles folder.\n"
         "\n"
         "Exit status: 0 done, 1 the input could not be used or the output not written,\n"
         "2 wrong usage, 5 a load's delivered energy is outside the profile's limit.\n";
}

void PrintCommandUsage(QTextStream& s, const Command& c) {
    s << "Usage: zrqtool " << c.name << ' ' << c.arguments << '\n' << "  " << c.summary << '\n';
}

bool IsHelp(const QString& arg) {
    return arg == QLatin1String("-h") || arg == QLatin1String("--help");
}

// An argument that looks like an option. A lone "-" is not one; "--" ends the options.
bool IsOption(const QString& arg) {
    return arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
}

const Command* FindCommand(const QString& name) {
    for (const Command& c : Commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

int RunCommand(const Command& command, const QStringList& given, QTextStream& out, QTextStream& err) {
    QStringList args;
    bool optionsEnded = false;
    for (const QString& arg : given) {
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && IsHelp(arg)) {
            PrintCommandUsage(out, command);
            return ExitSuccess;
        } else if (!optionsEnded && IsOption(arg) && !command.ownOptions) {
            err << Tool << ' ' << command.name << ": unknown option '" << arg << "'\n";
            PrintCommandUsage(err, command);
            return ExitUsage;
        } else {
            args << arg;
        }
    }
    if (args.size() < command.minArgs || args.size() > command.maxArgs) {
        err << Tool << ' ' << command.name << ": expects " << command.arguments << '\n';
        PrintCommandUsage(err, command);
        return ExitUsage;
    }
    return command.run(args, out, err);
}

} // namespace

int RunZrqTool(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty()) {
        PrintUsage(err);
        return ExitUsage;
    }
    if (args.first() == QLatin1String("--trace")) {
        if (args.size() < 3) {
            err << Tool << ": --trace expects FILE and a command\n";
            PrintUsage(err);
            return ExitUsage;
        }
        FileWireTrace trace(args[1]);
        if (!trace.IsOpen()) {
            err << Tool << ": " << args[1] << ": cannot write the trace: " << trace.ErrorString() << '\n';
            return ExitFailure;
        }
        const ScopedInstall<WireTrace> traced(trace);
        return RunZrqTool(args.mid(2), out, err);
    }
    const QString& first = args.first();
    if (IsHelp(first) || first == QLatin1String("help")) {
        PrintUsage(out);
        return ExitSuccess;
    }
    if (first == QLatin1String("--version")) {
        out << Tool << " (CorvexZR) " << CORVEX_VERSION << '\n';
        return ExitSuccess;
    }
    const Command* command = FindCommand(first);
    if (command == nullptr) {
        err << Tool << ": " << (IsOption(first) ? "unknown option" : "unknown command") << " '" << first
            << "'\n";
        PrintUsage(err);
        return ExitUsage;
    }
    return RunCommand(*command, args.mid(1), out, err);
}
