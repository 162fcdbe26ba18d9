#pragma once
// Keeping a test in the program's library, as the windows do it: at the end of a new test (quietly,
// unless it fails) and on the report viewer's command (saying what happened). A library that cannot
// take the test is reported with the advice to save the test as a file; nothing else is lost. A
// record in which no load has data is no test and is never added.

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <optional>

enum class TKeepAnnounce { OnlyFailures, Always };

// Kept: in the library afterwards (added now, or already there). NoLoadData: not added, the record
// holds no test. NotKept: the library could not take it.
enum class TKeepOutcome { Kept, NoLoadData, NotKept };

TKeepOutcome KeepTestInLibrary(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis,
                               TKeepAnnounce announce);
