#pragma once
// zrqtool run in-process: its exit status and what it wrote on each stream.

#include "cli/command.h"

struct ZrqResult {
    int status = -1;
    QString out;
    QString err;
};

inline ZrqResult Zrq(const QStringList& args) {
    ZrqResult r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = RunZrqTool(args, out, err);
    out.flush();
    err.flush();
    return r;
}
