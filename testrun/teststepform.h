#pragma once
// The step window of a variable load test: the jumper figure of each load, the buttons that run,
// skip or repeat a step, and the live waveform viewers of the loads downloaded so far. The steps
// themselves are run by a TestSequencer.

#include "base/modalform.h"
#include "testrun/sequencer.h"
#include "verdict/verdictchoice.h"

#include <QList>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class TCommProgress;
class TWaveformViewer;

class TTestStep : public TModalForm, private TestStepView {
    Q_OBJECT
public:
    TTestStep(QWidget* owner, const uint8_t* selectedLoads, TZRTestRec* testRec, AnalyzerLink& link);
    ~TTestStep() override;

    // From now on each load's verdict against `basis` shows after its download, above the buttons
    // (the window grows for it); nothing shows without a basis.
    void CheckLoadsAgainst(std::optional<TVerdictBasis> basis);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Widgets, named after their members for tests and tools (findChild).
    QPushButton* btnOK = nullptr;
    QPushButton* btnSkip = nullptr;
    QPushButton* btnBack = nullptr;
    QPushButton* btnEditInfo = nullptr;
    QPushButton* btnCancel = nullptr;
    QLabel* imgFigure = nullptr;
    QLabel* lblLoad = nullptr;
    QLabel* lblDesc = nullptr;
    QLabel* lblOverallMark = nullptr; // the whole test's verdict so far
    QLabel* lblOverall = nullptr;     // how many loads were judged
    QLabel* lblAgainst = nullptr;     // the profile and the energy chosen
    QLabel* lblVerdict = nullptr;     // the last load's numbers
    QLabel* lblVerdictMark = nullptr; // its PASS or FAIL

    void SetLoadCaption(const QString& text) override;
    void SetDescription(const QString& text) override;
    void ShowFigure(int loadIndex) override;
    void SetButtons(bool ok, bool back, bool skip) override;
    ProgressStepper* OpenProgress(int maximum, const QString& label) override;
    void CloseProgress() override;
    void OpenLiveViewer(TTestLoad load) override;
    void EditDeviceInfo(bool deviceIDRequired) override;
    void Tell(const AnalyzerNotice& notice) override;
    bool ConfirmExit() override;
    void EndModal(int result) override;
    void LoadStored(TTestLoad load) override;

    void RunOK();
    void PlaceLiveViewer(QWidget& viewer, int index) const;
    void PlaceButtons();
    // On a load step that was fired before (Back), the strip shows that load's verdict.
    void ShowStepVerdict();
    // The whole test so far, or the profile and energy before the first load.
    void ShowOverall();

    TZRTestRec* m_testRec;
    std::optional<TVerdictBasis> m_basis;
    TestSequencer m_sequencer;
    QList<TWaveformViewer*> m_waveViewers;
    std::unique_ptr<TCommProgress> m_commProgress;
    std::unique_ptr<ProgressStepper> m_progressStepper;
    bool m_closePending = false;
    uint32_t m_viewersOpened = 0;
};
