#pragma once
// The variable load test proper: one step per selected load in ascending order of resistance, then
// a closing step. On a load step the analyzer checks the accessory's jumpers, waits for the
// discharge, checks again and sends the measurements and the waveform, which go into the record.
//
// The sequencer holds the step list and the flags, runs the exchanges and decides what each result
// calls for; what the user sees and answers goes through a TestStepView (the step window, or the
// command line's automatic run). It shows no box itself.

#include "link/analyzermessages.h"
#include "link/progressstepper.h"
#include "records/tzrtestrec.h"

#include <QString>
#include <vector>

// The analyzer's notices (Tell) are shown as they happen, each answered before the run goes on.
class TestStepView : public AnalyzerNoticeSink {
public:
    virtual void SetLoadCaption(const QString& text) = 0; // the step's name, or "Tests done"
    virtual void SetDescription(const QString& text) = 0; // what the user or the program is doing
    // The jumper figure of a load; none for the closing step (TESTS_DONE_STEP).
    virtual void ShowFigure(int loadIndex) = 0;
    // Which buttons are usable; the OK button takes the focus when it is enabled.
    virtual void SetButtons(bool ok, bool back, bool skip) = 0;
    // Shows the progress display of a download; it lives until CloseProgress.
    virtual ProgressStepper* OpenProgress(int maximum, const QString& label) = 0;
    virtual void CloseProgress() = 0;
    // A waveform viewer on the record as it now stands, for the load just downloaded.
    virtual void OpenLiveViewer(TTestLoad load) = 0;
    // The load's download has been stored in the record (after its live viewer has opened).
    virtual void LoadStored(TTestLoad /*load*/) {}
    // The device information editor, shown modally.
    virtual void EditDeviceInfo(bool deviceIDRequired) = 0;
    // Asks before the test's data is discarded (ExitTestQuestion): true to exit.
    virtual bool ConfirmExit() = 0;
    // Ends the run with modal result 1 (OK) or 2 (Cancel).
    virtual void EndModal(int result) = 0;
};

class TestSequencer {
public:
    // Builds the step list from the seven selection bytes; shows nothing yet (call ShowStep).
    TestSequencer(TestStepView& view, const uint8_t* selectedLoads, TZRTestRec* testRec, AnalyzerLink& link);
    // The test has ended: no load is under test any more.
    ~TestSequencer();
    TestSequencer(const TestSequencer&) = delete;
    TestSequencer& operator=(const TestSequencer&) = delete;

    void ShowStep();
    void btnOKClick();
    void btnBackClick();
    void btnSkipClick();
    void btnCancelClick();
    void btnEditInfoClick();
    // The close box: true when the window may close (a hidden window or one that ended itself closes
    // at once; otherwise the user is asked).
    bool FormCloseQuery(bool visible);

    uint32_t StepIndex() const { return m_stepIndex; }
    TTestLoad CurrentStep() const { return m_steps[m_stepIndex]; }
    // True while btnOKClick runs (the discharge wait and the download keep the windows alive).
    bool Busy() const { return m_busy; }

private:
    enum class WaitEnd { Discharged, Cancelled, TestKey, ReadError };

    // Shows the step at StepIndex; `checkLink`: check the link of a load step and re-open it when
    // it is gone (false when a re-open has just failed: the step is shown without a link).
    void Present(bool checkLink);
    // True when the link answers, or could be re-opened ("Device Not Detected" when not).
    bool EnsureLink();
    // Closes the link and opens it again ("Device Not Detected" when it cannot be).
    bool Reopen();
    // "ECGDJ20" or "ECGDJ10" and its acknowledgement; a failure is only reported.
    void SendStepCommand(TTestLoad load);
    // Tells each fault of an exchange, in order.
    void TellFaults(const TransportFaults& faults);
    // A failed exchange is told only while the analyzer is still there: when the link is gone, the
    // step shown next re-opens it and its one message tells the failure.
    void TellWhileLinked(const AnalyzerNotice& notice);
    // The faults, then a reply that did not come (while linked) or was not the one expected.
    void TellUnfinished(const LinkOutcome& outcome);
    void SetButtons(bool ok, bool back, bool skip);
    bool ConfigurationMatches(TTestLoad load, bool retryNotConnected);
    WaitEnd WaitForDischarge();
    void TakeRestOfDischargeText();
    bool Download(TTestLoad load);
    void ReconnectAccessory();

    TestStepView& m_view;
    TZRTestRec* m_testRec;
    AnalyzerLink& m_link;
    std::vector<TTestLoad> m_steps;
    uint32_t m_stepIndex = 0;
    bool m_cancelRequested = false;
    bool m_closeAllowed = false;
    bool m_okEnabled = false;
    bool m_busy = false;
};

// Load 0..6 or the closing step.
constexpr TTestLoad TESTS_DONE_STEP = CLOSING_STEP;
