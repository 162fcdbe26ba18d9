#pragma once
// Who added a test to the library: the login name of the person at the computer (many benches may
// share one database account), the computer's name, the program and its version, and when (UTC).

#include <QString>

struct TAddedBy {
    QString by;   // the login name
    QString on;   // the computer's host name
    QString with; // "corvexzr 1.4.0", "zrqtool 1.4.0"
    QString at;   // ISO 8601 in UTC, "2026-12-09T09:31:05Z"

    // This program, now.
    static TAddedBy Now();
    bool Known() const { return !by.isEmpty() || !on.isEmpty() || !with.isEmpty() || !at.isEmpty(); }
};
