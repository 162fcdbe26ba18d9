#pragma once
// The seed corpus of the reply fuzz target: complete, correct runs of one and two loads, and runs
// with the usual troubles (no answer, the accessory not connected, wrong jumpers, the "TEST" text,
// Cancel in the discharge wait and in the download, the analyzer unplugged, slow replies).

#include <QString>

// Writes one file per seed into `dir` (created if needed); aborts when a file cannot be written.
void WriteReplySeeds(const QString& dir);
