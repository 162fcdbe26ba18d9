#include "cli/headlessrun.h"

#include "link/usbcomm.h"
#include "records/loadresults.h"
#include "testrun/sequencer.h"
#include "testrun/starthandshake.h"

#include <QStringList>
#include <algorithm>

namespace {

// What a window would show as a message box, on one line of the log.
class LoggedNotices : public AnalyzerNoticeSink {
public:
    explicit LoggedNotices(HeadlessLog& log) : m_log(log) {}
    void Tell(const AnalyzerNotice& notice) override {
        const MessageRequest box = AnalyzerMessage(notice);
        m_log.Box(box.caption, QString(box.text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }

private:
    HeadlessLog& m_log;
};

// The step window's part, played without a window.
class AutomaticView : public TestStepView {
public:
    AutomaticView(TZRTestRec& rec, const QString& deviceId, HeadlessLog& log)
        : m_rec(rec), m_deviceId(deviceId), m_log(log) {}
    void SetLoadCaption(const QString& text) override { m_log.Step(text); }
    void SetDescription(const QString&) override {}
    void ShowFigure(int) override {}
    void SetButtons(bool, bool, bool) override {}
    ProgressStepper* OpenProgress(int, const QString&) override {
        m_stepper = CountingStepper();
        return &m_stepper;
    }
    void CloseProgress() override {}
    void OpenLiveViewer(TTestLoad load) override {
        const TLoadResults r = ComputeLoadResults(m_rec.Loads[load], load);
        m_log.Downloaded(
            QStringLiteral("%1: actual load %2 ohms, energy %3 J, peak current %4 A, peak voltage %5 V")
                .arg(LoadName(load), 8)
                .arg(r[lrActualLoad], 0, 'f', 2)
                .arg(r[lrTotalEnergy], 0, 'f', 1)
                .arg(r[lrPeakCurrent1], 0, 'f', 2)
                .arg(r[lrPeakVoltage1], 0, 'f', 0));
    }
    void EditDeviceInfo(bool) override {
        if (m_rec.GetDeviceInfo(diDeviceID).isEmpty())
            m_rec.SetDeviceInfo(diDeviceID, m_deviceId);
    }
    void Tell(const AnalyzerNotice& notice) override { LoggedNotices(m_log).Tell(notice); }
    bool ConfirmExit() override { return true; } // the run never cancels
    void EndModal(int result) override { modalResult = result; }
    int modalResult = 0;

private:
    TZRTestRec& m_rec;
    QString m_deviceId;
    HeadlessLog& m_log;
    CountingStepper m_stepper;
};

bool PressOn(const HeadlessTest& test) {
    return test.pressOn && test.pressOn();
}

HeadlessResult RunSteps(TZRTestRec& rec, const HeadlessTest& test, HeadlessLog& log, AnalyzerLink& link) {
    AutomaticView view(rec, test.deviceId, log);
    TestSequencer sequencer(view, test.loads, &rec, link);
    sequencer.ShowStep();
    while (view.modalResult == 0) {
        const uint32_t before = sequencer.StepIndex();
        sequencer.btnOKClick();
        if (view.modalResult == 0 && sequencer.StepIndex() == before && !PressOn(test))
            return {HeadlessResult::End::StepFailed, sequencer.CurrentStep()};
    }
    return {};
}

} // namespace

bool ParseLoadList(const QString& text, uint8_t (&loads)[LOAD_COUNT]) {
    std::fill(std::begin(loads), std::end(loads), 0);
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int ohms = part.trimmed().toInt(&ok);
        if (!ok || ohms < 25 || ohms > 175 || ohms % 25 != 0)
            return false;
        loads[ohms / 25 - 1] = 1;
    }
    return true;
}

QString LoadListText(const uint8_t (&loads)[LOAD_COUNT]) {
    QStringList ohms;
    for (int load = 0; load < LOAD_COUNT; ++load)
        if (loads[load] != 0)
            ohms << QString::number(LoadOhms(load));
    return ohms.join(QStringLiteral(", ")) + QStringLiteral(" ohms");
}

HeadlessResult RunHeadlessTest(TZRTestRec& rec, const HeadlessTest& test, HeadlessLog& log) {
    AnalyzerLink link;
    HeadlessResult result{HeadlessResult::End::StartFailed};
    bool started = false;
    do {
        LoggedNotices notices(log);
        started = RunStartHandshake(rec, link, notices).ok;
    } while (!started && PressOn(test));
    if (started)
        result = RunSteps(rec, test, log, link);
    link.Close();
    return result;
}
