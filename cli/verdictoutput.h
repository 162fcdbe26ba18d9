#pragma once
// The verdict as zrqtool prints it, shared by `check` and `simulate --profile`.

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <QString>
#include <QTextStream>
#include <optional>

// The profile named by --profile (a file, or a name in the profiles folder) and its setting of
// `energy` joules; nothing, with a "zrqtool: ..." line on err, when either cannot be had.
std::optional<TVerdictBasis> ResolveVerdictBasis(const QString& profileArgument, double energy, QTextStream& err);

// Prints one line per load and the overall verdict, or with `json` one JSON object, and returns the
// exit status: 0 every checked load passes, 5 one fails, 1 when no load could be checked.
int PrintVerdict(const TZRTestRec& rec, const TVerdictBasis& basis, bool json, QTextStream& out,
                 QTextStream& err);
