#pragma once
// One cell of the fault matrix, run from the start of a test: the start handshake, then the
// sequencer over 25, 100 and 175 ohms, the fault injected at its stage; what the run shows and keeps
// afterwards, and what it takes to finish it.

#include "testrun/sequencer.h"
#include "tests/testrun/faultmatrix.h"
#include "tests/testrun/recordingview.h"
#include "tests/testrun/simrun.h"

#include <memory>
#include <optional>

class MatrixRun : public SimBench {
public:
    // `expected` names the change the record should show; the run reports the change it did show.
    MatrixRun(Stage stage, Fault fault, RecordChange expected);
    Outcome Run();

private:
    Outcome RunStart();
    Outcome RunLoadStep();
    // The outcome of a faulted action on a load step; `before`: the record as it was expected to be
    // before the action; `faultedStep`: the step whose OK was the action (-1: none).
    Outcome Observe(const QByteArray& before, TTestLoad faultedStep);
    void Arm();
    void StartSequencer();
    void PressOk();
    void OnCommand(const QByteArray& command);
    void OnPump();

    QList<Box> Messages() const;
    QString LinkLabel() const;
    QString ShownLabel() const;
    QString RecordLabel(const QByteArray& base) const;
    QByteArray Candidate(RecordChange change, const QByteArray& base) const;
    QByteArray WithLoadFilled(const QByteArray& base, int load) const;
    // What finishes the run from where the fault left it; a reason when it does not finish.
    QString Then(bool startFailed, TTestLoad faultedStep);
    QString Completed(const QString& label);

    Stage m_stage;
    Fault m_fault;
    RecordChange m_expectedRecord;
    RecordingView m_view;
    std::unique_ptr<TestSequencer> m_seq;
    QByteArray m_firstLoad; // the 25-ohm load as stored, which nothing may change afterwards

    std::optional<SimFault> m_faultOnDischarge; // injected when "DEHT" arrives
    int m_cancelAfterMilliseconds = 0;          // Cancel this long after "DEHT"
    int64_t m_cancelAt = -1;
    int64_t m_okPressedAt = 0;
    bool m_hung = false;
};
