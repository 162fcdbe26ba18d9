#pragma once
// What the windows say after keeping a test in the library: the report viewer's Add to Library and
// the end of a new test share these boxes. For a shared library each is told when the library's worker
// has an answer, over the window that asked (`context`), and not at all when that window has gone: the
// test is then in the library or waits in the outbox, whose count the Test Library window shows.

#include "library/keeptest.h"

// At the end of a new test: tells a failure and a record of no load data, never a test kept.
void KeepFinishedTestAndTell(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis,
                             QObject* context);

// On the report viewer's command: tells what happened, a test kept too.
void KeepTestAndTell(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis, QObject* context);
