#pragma once
// The start of a test: open the analyzer, read its status block into the record and check that the
// analyzer and the load accessory answer. Each failure is reported with its own message.

#include "link/analyzerlink.h"
#include "records/tzrtestrec.h"

// 0 when the analyzer and the accessory answered (the link stays open), -1 otherwise (the link is
// closed, or was never opened). Every attempt starts again with a fresh open.
int RunStartHandshake(TZRTestRec& testRec, AnalyzerLink& link);
