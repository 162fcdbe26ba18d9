#pragma once
// The start of a test: open the analyzer, read its status block into the record and check that the
// analyzer and the load accessory answer. Each failure is told to the sink as it happens, before the
// link is closed.

#include "link/analyzermessages.h"
#include "records/tzrtestrec.h"

struct StartResult {
    // The analyzer and the accessory answered; the link stays open. Otherwise it is closed, or was
    // never opened.
    bool ok = false;
    // Why not: the last notice told.
    AnalyzerNotice::Kind failure = AnalyzerNotice::Kind::NotConnectedToPc;
};

// Every attempt starts again with a fresh open.
StartResult RunStartHandshake(TZRTestRec& testRec, AnalyzerLink& link, AnalyzerNoticeSink& tell);
