#pragma once
// The verdict as zrqtool prints it, shared by `check` and `simulate --profile`.

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// The arguments of a command that checks a record against a profile: its files, --profile PROFILE,
// --energy J, and the flags it knows (--json).
struct VerdictArguments {
    QStringList files;
    QString profile;
    double energy = 0.0;
    bool hasEnergy = false;
    QStringList flags; // those given
};

// False, with "zrqtool: COMMAND: ..." on err, when an option lacks its value, the energy is not a
// number above zero, or an argument is not one the command takes (an unknown option, a file more
// than `fileCount`).
bool ParseVerdictArguments(const char* command, const QStringList& args, int fileCount,
                           const QStringList& knownFlags, VerdictArguments& parsed, QTextStream& err);

// The profile named by --profile (a file, or a name in the profiles folder) and its setting of
// `energy` joules; nothing, with a "zrqtool: ..." line on err, when either cannot be had.
std::optional<TVerdictBasis> ResolveVerdictBasis(const QString& profileArgument, double energy, QTextStream& err);

// Prints one line per load and the overall verdict, or with `json` one JSON object, and returns the
// exit status: 0 every checked load passes, 5 one fails, 1 when no load could be checked.
int PrintVerdict(const TZRTestRec& rec, const TVerdictBasis& basis, bool json, QTextStream& out,
                 QTextStream& err);
