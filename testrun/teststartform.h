#pragma once
// The start window of a variable load test: how to connect the analyzer and the accessory, and the
// handshake that checks both answer.

#include "base/modalform.h"
#include "link/analyzerlink.h"
#include "records/tzrtestrec.h"

class QLabel;
class QPushButton;

class TTestStart : public TModalForm {
    Q_OBJECT
public:
    TTestStart(QWidget* owner, TZRTestRec* testRec, AnalyzerLink& link);

    // Runs the handshake; modal result OK when the analyzer and the accessory answered, otherwise the
    // window stays open for another try.
    void btnStartClick();
    void btnCancelClick();

private:
    // Widgets, named after their members for tests and tools (findChild).
    QPushButton* btnStart = nullptr;
    QPushButton* btnCancel = nullptr;
    QLabel* Image1 = nullptr;

    TZRTestRec* m_testRec;
    AnalyzerLink& m_link;
};
