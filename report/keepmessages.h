#pragma once
// What the windows say after keeping a test in the library: the report viewer's Add to Library and
// the end of a new test share these boxes.

#include "library/keeptest.h"

// Keeps the test and tells what happened: a failure and a record of no load data always, a test kept
// only when `announce` is Always.
TKeepOutcome KeepTestAndTell(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis,
                             TKeepAnnounce announce);
