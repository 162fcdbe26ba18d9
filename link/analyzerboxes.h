#pragma once
// The windows' side of the analyzer's notices: each shown as its message box (link/analyzermessages.h).

#include "link/analyzermessages.h"

class AnalyzerBoxes : public AnalyzerNoticeSink {
public:
    // Shows the notice's box until it is answered.
    void Tell(const AnalyzerNotice& notice) override;
};

// Asks "Exit Test?": true when the technician chose to exit.
bool AskExitTest();
