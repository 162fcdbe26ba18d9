#pragma once
// Stands in for the step window of a test run and records what the sequencer told it. The analyzer's
// notices and the exit question go to the installed message boxes, as the window shows them.

#include "link/progressstepper.h"
#include "testrun/sequencer.h"
#include "tests/support/noticeboxes.h"

#include <QList>
#include <QString>

class RecordingView : public TestStepView {
public:
    void SetLoadCaption(const QString& text) override { caption = text; }
    void SetDescription(const QString& text) override { description = text; }
    void ShowFigure(int loadIndex) override { figure = loadIndex; }
    void SetButtons(bool okEnabled, bool backEnabled, bool skipEnabled) override {
        ok = okEnabled;
        back = backEnabled;
        skip = skipEnabled;
    }
    ProgressStepper* OpenProgress(int maximum, const QString& label) override {
        progressMaximum = maximum;
        progressLabel = label;
        progressOpen = true;
        stepper = CountingStepper();
        return &stepper;
    }
    void CloseProgress() override { progressOpen = false; }
    void OpenLiveViewer(TTestLoad load) override { viewers.append(load); }
    void EditDeviceInfo(bool required) override {
        editorCalls.append(required);
        if (!deviceIdToType.isEmpty())
            rec->SetDeviceInfo(diDeviceID, deviceIdToType);
    }
    void Tell(const AnalyzerNotice& notice) override { NoticeBoxes().Tell(notice); }
    bool ConfirmExit() override { return NoticeBoxes::ConfirmExit(); }
    void EndModal(int result) override { modalResult = result; }

    TZRTestRec* rec = nullptr;
    QString deviceIdToType;
    QString caption, description, progressLabel;
    int figure = -1;
    bool ok = false, back = false, skip = false, progressOpen = false;
    int progressMaximum = 0;
    CountingStepper stepper;
    QList<TTestLoad> viewers;
    QList<bool> editorCalls;
    int modalResult = 0;
};
