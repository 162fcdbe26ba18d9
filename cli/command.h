#pragma once
// The subcommands of zrqtool. Each one is a handler in a file of its own and one row of the command
// table (commandtable.cpp); the dispatcher checks the arguments before a handler runs.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <span>

enum ExitCode {
    ExitSuccess = 0,
    ExitFailure = 1, // bad input, or the output could not be written
    ExitUsage = 2,
    ExitPartedWays = 3, // replay: the program and the trace part ways
    // 3 and 4: probe (the analyzer not found, not opened)
    ExitChecksFailed = 5, // check: a load's delivered energy is outside the limit
    ExitIncomplete = 6,   // check: none outside the limit, but not all seven loads were judged
};

// A handler gets the arguments after the command's name, already counted, and reports on the two
// streams; it returns the exit code.
using CommandHandler = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);

struct Command {
    const char* name;
    const char* arguments; // as the usage shows them, e.g. "FILE.zrq OUT.csv"
    const char* summary;
    int minArgs;
    int maxArgs;
    CommandHandler run;
    // The handler reads its own options ("--name value"); the dispatcher passes them through.
    bool ownOptions = false;
};

std::span<const Command> Commands();

// Runs zrqtool with its arguments (without the program name) and returns the exit status.
int RunZrqTool(const QStringList& args, QTextStream& out, QTextStream& err);

// The handlers.
int RunReportCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunCsvCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunInfoCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunProbeCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunSimulateCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunCheckCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunReplayCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunLibraryCommand(const QStringList& args, QTextStream& out, QTextStream& err);
// zrqtool library outbox [--send] [--json], for the library at `location`.
int RunOutboxAction(const QString& location, const QStringList& args, QTextStream& out, QTextStream& err);
class TTestLibrary;
// zrqtool library due and interval, on an open library.
int RunDueAction(TTestLibrary& library, const QStringList& args, QTextStream& out, QTextStream& err);
int RunIntervalAction(TTestLibrary& library, const QStringList& args, QTextStream& out, QTextStream& err);
int RunPdfCommand(const QStringList& args, QTextStream& out, QTextStream& err);
