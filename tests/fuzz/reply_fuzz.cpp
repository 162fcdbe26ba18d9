// Fuzz target: the analyzer's replies. A scripted analyzer (replydevice.h) answers each command with
// bytes from the input (replyscript.h) while the start handshake runs and then, when it succeeds, the
// test steps of one or two loads with the buttons the input chooses, all in virtual time. The
// technician presses Cancel after a while in the discharge wait, which has no time limit of its own,
// so every run ends.
//
// Findings: a crash or sanitizer report; a hang (ten virtual minutes, or the windows pumped far more
// often than any run needs); a write that is not one of the analyzer's commands; a box without text;
// the link left open after a failed start; a step left without its OK button or busy; a download that
// does not reach the record byte for byte; or a change to the record anywhere but in the status block,
// the resistance of a tested load and the block, samples and data flag of a downloaded load.
//
// CORVEX_REPLY_SEEDS=DIR reply_fuzz writes the seed corpus into DIR and exits (replyseeds.h);
// CORVEX_REPLY_VERBOSE=1 prints what each run did (to check seeds: reply_fuzz -runs=0 DIR).
#include "base/clock.h"
#include "link/protocol.h"
#include "link/usbcomm.h"
#include "sim/virtualclock.h"
#include "testrun/sequencer.h"
#include "testrun/starthandshake.h"
#include "tests/fuzz/fuzzcheck.h"
#include "tests/fuzz/fuzzmessages.h"
#include "tests/fuzz/replydevice.h"
#include "tests/fuzz/replyseeds.h"
#include "tests/support/noticeboxes.h"
#include "tests/support/recordbuilder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int MaxPumpCalls = 400'000;
const QString WaitingText = QStringLiteral("Waiting for energy discharge.");

// Offsets of the 16-bit fields of the measurement block that travel big-endian.
constexpr std::array<int, 18> BigEndianFields{22, 24, 26, 28, 30, 32, 34, 36, 38,
                                              40, 42, 44, 46, 48, 50, 52, 54, 63};

// The load in the record holds the "VW" reply as the analyzer sent it, every 16-bit value turned
// into host order.
void CheckDownload(const TZRTest& load, const QByteArray& wire) {
    FuzzCheck(wire.size() == WaveformReplySize, "the download read the whole reply");
    QByteArray expected = wire;
    auto swap = [&expected](qsizetype at) { std::swap(expected[at], expected[at + 1]); };
    for (int offset : BigEndianFields)
        swap(offset);
    for (qsizetype at = MeasurementBlockSize; at < WaveformReplySize; at += 2)
        swap(at);
    FuzzCheck(std::memcmp(&load, expected.constData(), WaveformReplySize) == 0,
              "the record holds the downloaded block and samples");
}

class FuzzView : public TestStepView {
public:
    FuzzView(const TZRTestRec& rec, const ReplyDevice& device, VirtualClock& clock)
        : m_rec(rec), m_device(device), m_clock(clock) {}

    void SetLoadCaption(const QString&) override {}
    void SetDescription(const QString& text) override {
        waiting = text == WaitingText;
        if (waiting) {
            waitStart = m_clock.Milliseconds();
            cancelPressed = false;
        }
    }
    void ShowFigure(int loadIndex) override {
        // The closing step shows no figure.
        FuzzCheck((loadIndex >= 0 && loadIndex < LOAD_COUNT) || loadIndex == TESTS_DONE_STEP,
                  "figure of a load, or none when the tests are done");
    }
    void SetButtons(bool okEnabled, bool, bool) override { ok = okEnabled; }
    ProgressStepper* OpenProgress(int maximum, const QString&) override {
        FuzzCheck(!progressOpen && maximum == static_cast<int>(WaveformReplySize), "one progress display");
        progressOpen = true;
        cancelPressed = false;
        stepper = CountingStepper();
        return &stepper;
    }
    void CloseProgress() override { progressOpen = false; }
    void OpenLiveViewer(TTestLoad load) override {
        FuzzCheck(load >= 0 && load < LOAD_COUNT, "viewer of a load");
        downloaded[load] = true;
        FuzzCheck(m_rec.Loads[load].HasData == 1, "a downloaded load has data");
        if (m_device.WaveformReadWhole())
            CheckDownload(m_rec.Loads[load], m_device.WaveformRead());
    }
    void EditDeviceInfo(bool) override {}
    void Tell(const AnalyzerNotice& notice) override { NoticeBoxes().Tell(notice); }
    bool ConfirmExit() override { return NoticeBoxes::ConfirmExit(); }
    void EndModal(int result) override {
        FuzzCheck(result == 1 || result == 2, "modal result OK or Cancel");
        ended = true;
    }

    bool waiting = false;
    int64_t waitStart = 0;
    bool cancelPressed = false; // in this discharge wait or download
    bool progressOpen = false;
    CountingStepper stepper;
    bool ok = false;
    bool ended = false;
    std::array<bool, LOAD_COUNT> downloaded{};

private:
    const TZRTestRec& m_rec;
    const ReplyDevice& m_device;
    VirtualClock& m_clock;
};

// The technician and the windows: presses the buttons, and Cancel from the pump while the program
// waits for a discharge or downloads.
class Technician : public EventPump {
public:
    Technician(const ReplyScript& script, VirtualClock& clock, ReplyDevice& device, FuzzMessages& boxes,
               TZRTestRec& rec)
        : m_script(script), m_clock(clock), m_device(device), m_boxes(boxes), m_rec(rec),
          m_view(rec, device, clock) {}
    Technician(const Technician&) = delete;
    Technician& operator=(const Technician&) = delete;

    void ProcessMessages() override {
        FuzzCheck(++m_pumpCalls <= MaxPumpCalls, "hang: the windows were pumped too often");
        m_device.CheckTime();
        if (!m_seq || m_view.cancelPressed)
            return;
        const bool waitedEnough = m_view.waiting && m_clock.Milliseconds() - m_view.waitStart >=
                                                        m_script.DischargeWaitMilliseconds();
        const bool downloadBlock = m_view.progressOpen && m_script.CancelAtBlock() > 0 &&
                                   m_view.stepper.steps == m_script.CancelAtBlock();
        if (waitedEnough || downloadBlock) {
            m_view.cancelPressed = true;
            m_seq->btnCancelClick();
        }
    }

    // The whole run; the link stays as the run leaves it.
    void Run(AnalyzerLink& link) {
        NoticeBoxes boxes;
        if (!RunStartHandshake(m_rec, link, boxes).ok) {
            FuzzCheck(!link.IsOpen() && !m_device.IsOpen(), "a failed start leaves the link closed");
            return;
        }
        FuzzCheck(link.IsOpen() && m_device.IsOpen(), "a good start leaves the link open");
        uint8_t selected[LOAD_COUNT] = {};
        selected[m_script.FirstLoad()] = 1;
        if (const std::optional<int> second = m_script.SecondLoad())
            selected[*second] = 1;
        TestSequencer seq(m_view, selected, &m_rec, link);
        m_seq = &seq;
        seq.ShowStep();
        Press(ButtonPress::OK);
        for (int i = 0; i < ReplyScript::ButtonCount && !m_view.ended; ++i)
            Press(m_script.Button(i));
        for (int load = 0; load < LOAD_COUNT; ++load)
            if (selected[load] != 0)
                m_tested[load] = true;
        m_seq = nullptr;
    }

    const std::array<bool, LOAD_COUNT>& Tested() const { return m_tested; }
    const std::array<bool, LOAD_COUNT>& Downloaded() const { return m_view.downloaded; }

private:
    void Press(ButtonPress button) {
        switch (button) {
        case ButtonPress::OK:
            m_seq->btnOKClick();
            break;
        case ButtonPress::Back:
            m_seq->btnBackClick();
            break;
        case ButtonPress::Skip:
            m_seq->btnSkipClick();
            break;
        case ButtonPress::CancelYes:
        case ButtonPress::CancelNo:
            m_boxes.questionAnswer = button == ButtonPress::CancelYes ? mrYes : mrNo;
            m_seq->btnCancelClick();
            break;
        case ButtonPress::CloseYes:
            m_boxes.questionAnswer = mrYes;
            if (m_seq->FormCloseQuery(true))
                m_view.ended = true;
            break;
        }
        FuzzCheck(!m_seq->Busy() && !m_view.progressOpen, "a button's work is done when it returns");
        FuzzCheck(m_view.ended || m_view.ok, "a step that goes on can go on with OK");
    }

    const ReplyScript& m_script;
    VirtualClock& m_clock;
    ReplyDevice& m_device;
    FuzzMessages& m_boxes;
    TZRTestRec& m_rec;
    FuzzView m_view;
    TestSequencer* m_seq = nullptr;
    int m_pumpCalls = 0;
    std::array<bool, LOAD_COUNT> m_tested{};
    const ScopedInstall<EventPump> m_installed{*this};
};

// Every byte of the record is as before, except where a run may write.
void CheckRecordChanges(const QByteArray& before, const QByteArray& after,
                        const std::array<bool, LOAD_COUNT>& tested,
                        const std::array<bool, LOAD_COUNT>& downloaded) {
    auto same = [&](qsizetype from, qsizetype count) {
        return std::memcmp(before.constData() + from, after.constData() + from, static_cast<size_t>(count)) ==
               0;
    };
    constexpr qsizetype info = ANALYZER_STATUS_SIZE;
    FuzzCheck(same(info, DEVICE_INFO_SLOTS * DEVICE_INFO_SLOT_SIZE), "the device information is unchanged");
    for (int load = 0; load < LOAD_COUNT; ++load) {
        const qsizetype at = LoadByteOffset(load);
        if (!downloaded[load])
            FuzzCheck(same(at, offsetof(TZRTest, AccessoryResistance)),
                      "a load not downloaded keeps its block, samples and data flag");
        if (!tested[load])
            FuzzCheck(same(at + offsetof(TZRTest, AccessoryResistance), sizeof(uint16_t)),
                      "a load not tested keeps its accessory resistance");
    }
}

void PrintRun(const ReplyDevice& device, const FuzzMessages& boxes, const Technician& technician,
              VirtualClock& clock) {
    QByteArray downloads;
    for (int load = 0; load < LOAD_COUNT; ++load)
        if (technician.Downloaded()[load])
            downloads += QByteArray::number(load) + ' ';
    std::fprintf(stderr, "commands: %s\nboxes: %d, downloaded loads: %s, virtual seconds: %lld\n",
                 device.Commands().join(' ').replace('\x1b', "ESC").constData(), boxes.shown,
                 downloads.constData(), static_cast<long long>(clock.Milliseconds() / 1000));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = std::getenv("CORVEX_REPLY_SEEDS")) {
        WriteReplySeeds(QString::fromLocal8Bit(dir));
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ReplyScript script = ParseReplyScript(data, size);
    VirtualClock clock;
    ScopedClock scopedClock(clock);
    ReplyDevice device(script, clock);
    ScopedInstall<FtdiDriver> scopedDriver(device);
    FuzzMessages boxes;
    // Every byte recognisable; the first load selected starts without data, so that its data flag
    // shows whether its download reached the record.
    const std::unique_ptr<TZRTestRec> rec = MakeFullRecord();
    rec->Loads[script.FirstLoad()].HasData = 0;
    const QByteArray before = RecordBytes(*rec);

    AnalyzerLink link;
    {
        Technician technician(script, clock, device, boxes, *rec);
        technician.Run(link);
        CheckRecordChanges(before, RecordBytes(*rec), technician.Tested(), technician.Downloaded());
        if (std::getenv("CORVEX_REPLY_VERBOSE"))
            PrintRun(device, boxes, technician, clock);
    }
    link.Close();
    FuzzCheck(!device.IsOpen(), "the link closes");
    return 0;
}
