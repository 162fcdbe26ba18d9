#include "link/analyzerboxes.h"

void AnalyzerBoxes::Tell(const AnalyzerNotice& notice) {
    Messages().Show(AnalyzerMessage(notice));
}

bool AskExitTest() {
    return Messages().Show(ExitTestQuestion()) == mrYes;
}
