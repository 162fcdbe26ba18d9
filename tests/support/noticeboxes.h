#pragma once
// The analyzer's notices shown as the windows show them, through the installed message boxes (the
// scripted ones in a test), so that a test sees every box of a run.

#include "link/analyzermessages.h"

class NoticeBoxes : public AnalyzerNoticeSink {
public:
    void Tell(const AnalyzerNotice& notice) override { Messages().Show(AnalyzerMessage(notice)); }
    static bool ConfirmExit() { return Messages().Show(ExitTestQuestion()) == mrYes; }
};
