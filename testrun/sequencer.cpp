#include "testrun/sequencer.h"

#include "base/clock.h"
#include "base/loadundertest.h"
#include "link/protocol.h"
#include "link/usbcomm.h"

namespace {

using Kind = AnalyzerNotice::Kind;

const QString ConfigureText =
    QStringLiteral("Configure the ZRQ to the correct load resistance by setting the jumpers as shown.");
const QString TestKeyText = QStringLiteral("The analyzer's TEST key ended the wait for the discharge.");

constexpr int DischargePollMs = 200;
// After the energy reading, the rest of the discharge text is taken until a line feed has come, or
// until no byte has come for TrailingQuietMs (a line ended by a carriage return alone), polling every
// TrailingPollMs; an analyzer that keeps on talking is left after TrailingLimitMs or TrailingBytes.
constexpr int64_t TrailingQuietMs = 100;
constexpr int TrailingPollMs = 5;
constexpr int64_t TrailingLimitMs = 1000;
constexpr int TrailingBytes = 256;
// The discharge text that may stand in front of ESC's acknowledgement: a line or two.
constexpr int MaxTextBeforeAbortAck = 64;

// Marks the sequencer busy for the life of one OK run.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
};

} // namespace

TestSequencer::TestSequencer(TestStepView& view, const uint8_t* selectedLoads, TZRTestRec* testRec,
                             AnalyzerLink& link)
    : m_view(view), m_testRec(testRec), m_link(link) {
    for (int load = 0; load < LOAD_COUNT; ++load)
        if (selectedLoads[load] != 0)
            m_steps.push_back(static_cast<TTestLoad>(load));
    m_steps.push_back(TESTS_DONE_STEP);
}

TestSequencer::~TestSequencer() {
    AnnounceLoadUnderTest(NoLoadUnderTest);
}

void TestSequencer::SetButtons(bool ok, bool back, bool skip) {
    m_okEnabled = ok;
    m_view.SetButtons(ok, back, skip);
}

void TestSequencer::ShowStep() {
    Present(true);
}

bool TestSequencer::EnsureLink() {
    return m_link.Answers() || Reopen();
}

bool TestSequencer::Reopen() {
    m_link.Close();
    const LinkError opened = m_link.Open();
    if (opened != LinkError::None)
        m_view.Tell(AnalyzerNotice::OpenFailed(opened));
    return opened == LinkError::None;
}

void TestSequencer::Present(bool checkLink) {
    const TTestLoad load = CurrentStep();
    const bool loadStep = load != TESTS_DONE_STEP;
    AnnounceLoadUnderTest(loadStep ? load : NoLoadUnderTest);
    bool linked = false;
    if (!loadStep) {
        m_link.Close();
        m_view.SetLoadCaption(QStringLiteral("Tests done"));
    } else {
        m_view.SetLoadCaption(LoadName(load));
        linked = checkLink && EnsureLink();
    }

    // Without a link the step command could only fail again; the re-open has told why.
    if (linked && !m_cancelRequested)
        SendStepCommand(load);

    m_view.ShowFigure(load);
    m_view.SetDescription(loadStep ? ConfigureText : QStringLiteral("Press OK to display Test Report."));
    SetButtons(true, m_stepIndex > 0, loadStep);
    if (linked)
        m_link.Purge();
}

void TestSequencer::SendStepCommand(TTestLoad load) {
    // Only reported: the step stays usable.
    const LinkOutcome sent = m_link.SendStep(load);
    TellFaults(sent.faults);
    if (IsNoReply(sent.error))
        m_view.Tell(AnalyzerNotice::Of(Kind::StepNoResponse));
    else if (sent.error == LinkError::Garbled)
        m_view.Tell(AnalyzerNotice::Of(Kind::InvalidResponse));
}

void TestSequencer::TellFaults(const TransportFaults& faults) {
    for (const AnalyzerNotice& notice : FaultNotices(faults))
        m_view.Tell(notice);
}

void TestSequencer::TellWhileLinked(const AnalyzerNotice& notice) {
    if (m_link.Answers())
        m_view.Tell(notice);
}

void TestSequencer::TellUnfinished(const LinkOutcome& outcome) {
    TellFaults(outcome.faults);
    if (IsNoReply(outcome.error))
        TellWhileLinked(AnalyzerNotice::Of(Kind::NoResponse));
    else if (outcome.error == LinkError::Garbled)
        m_view.Tell(AnalyzerNotice::Of(Kind::InvalidResponse));
}

void TestSequencer::ReconnectAccessory() {
    TellUnfinished(m_link.ConnectAccessory());
}

bool TestSequencer::ConfigurationMatches(TTestLoad load, bool retryNotConnected) {
    // Before the discharge an accessory reporting "XX" is reconnected twice; a third "XX" is an error.
    // After the discharge any mismatch is reported at once.
    for (int notConnected = 0;;) {
        m_link.Purge();
        const LinkResult<LoadConfiguration> config = m_link.ReadLoadConfiguration();
        TellFaults(config.faults);
        if (IsNoReply(config.error)) {
            TellWhileLinked(AnalyzerNotice::Of(Kind::ConfigurationNoResponse));
            return false;
        }
        const char bank = config.value.Bank();
        const char resistance = config.value.Resistance();
        if (IsLoadConfigured(load, bank, resistance)) {
            m_testRec->Loads[load].AccessoryResistance = config.value.ResistanceHundredths();
            return true;
        }
        if (retryNotConnected && config.error == LinkError::NotConnected && ++notConnected <= 2) {
            ReconnectAccessory();
            continue;
        }
        m_view.Tell(AnalyzerNotice::Wrong(load, config.value));
        return false;
    }
}

TestSequencer::WaitEnd TestSequencer::WaitForDischarge() {
    m_view.SetDescription(QStringLiteral("Waiting for energy discharge."));
    TellFaults(m_link.StartDischargeWait());
    ThePump().ProcessMessages();

    // No time limit: the technician may take as long as needed to charge and fire the defibrillator.
    QByteArray text;
    bool discharged = false;
    bool testKey = false;
    while (!discharged && !m_cancelRequested) {
        const ByteTry got = m_link.TryReadByte();
        TellFaults(got.faults);
        if (got.end == ByteTry::End::Byte) {
            text.append(got.byte);
            discharged = HasEnergyReading(text);
            if (!discharged && HasTestText(text))
                m_cancelRequested = testKey = true;
        } else if (got.end == ByteTry::End::Failed) {
            TellWhileLinked(AnalyzerNotice::Of(Kind::DischargeReadError));
            return WaitEnd::ReadError;
        } else {
            TheClock().Sleep(DischargePollMs);
        }
        ThePump().ProcessMessages();
    }
    // A Cancel pressed while the reading came in (in the last round's pump) counts all the same.
    if (m_cancelRequested)
        return testKey ? WaitEnd::TestKey : WaitEnd::Cancelled;
    TakeRestOfDischargeText();
    return WaitEnd::Discharged;
}

void TestSequencer::TakeRestOfDischargeText() {
    // The analyzer's text goes on after the reading, at the wire's speed, in practice with a line end.
    // Left on the wire it would come after the purge of the next query and stand in front of its reply.
    Clock& clock = TheClock();
    const int64_t start = clock.Milliseconds();
    int64_t lastByte = start;
    for (int taken = 0; taken < TrailingBytes;) {
        const ByteTry got = m_link.TryReadByte();
        TellFaults(got.faults);
        const int64_t now = clock.Milliseconds();
        if (got.end == ByteTry::End::Failed || (got.end == ByteTry::End::Byte && got.byte == '\n'))
            return; // the line has ended, or a failed read shows in the query that follows
        if (got.end == ByteTry::End::Byte) {
            lastByte = now;
            ++taken;
        } else if (now - lastByte >= TrailingQuietMs) {
            return;
        } else {
            clock.Sleep(TrailingPollMs);
        }
        if (now - start >= TrailingLimitMs)
            return;
    }
}

bool TestSequencer::Download(TTestLoad load) {
    m_view.SetDescription(QStringLiteral("Downloading wave data."));
    std::vector<uint8_t> buffer(WaveformReplySize, 0);
    m_link.Purge();
    ProgressStepper* progress =
        m_view.OpenProgress(WaveformReplySize, QStringLiteral("Downloading real-time wave data..."));
    const DownloadResult read = m_link.Download(WaveformReply(buffer.data(), WaveformBytes), progress);
    m_view.CloseProgress();
    TellFaults(read.faults);
    if (!read.Ok()) {
        // The load keeps what it had. A read error is told by its fault alone.
        if (read.error != LinkError::ReadError)
            TellWhileLinked(AnalyzerNotice::Incomplete(read.bytes));
        return false;
    }

    StoreWaveformReply(buffer.data(), m_testRec->Loads[load]);
    m_view.SetDescription(QStringLiteral("Test completed."));
    return true;
}

void TestSequencer::btnOKClick() {
    BusyScope busy(m_busy);
    m_cancelRequested = false;
    const TTestLoad load = CurrentStep();
    if (load == TESTS_DONE_STEP) {
        // The report needs to name the device; the test ends all the same if the user declines.
        if (m_testRec->GetDeviceInfo(diDeviceID).isEmpty())
            m_view.EditDeviceInfo(true);
        m_closeAllowed = true;
        m_view.EndModal(1);
        return;
    }

    SetButtons(false, false, false);
    // A link lost since the step was shown (the cable pulled) is re-opened first and the analyzer
    // told the step again; when it cannot be, its one message has been shown and nothing is sent.
    if (!m_link.Answers()) {
        if (!Reopen()) {
            Present(false);
            return;
        }
        SendStepCommand(load);
    }
    m_view.SetDescription(QStringLiteral("Getting load configuration."));
    if (!ConfigurationMatches(load, true)) {
        ShowStep();
        return;
    }
    const WaitEnd waited = WaitForDischarge();
    if (waited != WaitEnd::Discharged) {
        ShowStep();
        if (waited == WaitEnd::TestKey)
            m_view.SetDescription(ConfigureText + QStringLiteral(" ") + TestKeyText);
        return;
    }
    if (!ConfigurationMatches(load, false) || !Download(load)) {
        ShowStep();
        return;
    }
    m_view.OpenLiveViewer(load);
    m_view.LoadStored(load);
    ++m_stepIndex;
    ShowStep();
}

void TestSequencer::btnBackClick() {
    if (m_stepIndex == 0)
        return;
    --m_stepIndex;
    ShowStep();
}

void TestSequencer::btnSkipClick() {
    if (m_stepIndex + 1 >= m_steps.size())
        return;
    ++m_stepIndex;
    ShowStep();
}

void TestSequencer::btnCancelClick() {
    if (m_okEnabled) {
        if (!m_view.ConfirmExit())
            return;
        m_cancelRequested = true;
        if (m_okEnabled) {
            m_link.Close();
            m_closeAllowed = true;
            m_view.EndModal(2);
        }
        return;
    }
    // An exchange is running (the discharge wait): ask the analyzer to stop waiting.
    // Discharge text already on its way when ESC went out (the energy reading, a line end) comes
    // before the acknowledgement; it is passed over.
    TellUnfinished(m_link.Abort(MaxTextBeforeAbortAck));
    m_cancelRequested = true;
}

void TestSequencer::btnEditInfoClick() {
    m_view.EditDeviceInfo(false);
}

bool TestSequencer::FormCloseQuery(bool visible) {
    if (!visible || m_closeAllowed)
        return true;
    if (!m_view.ConfirmExit())
        return false;
    m_view.EndModal(2);
    return true;
}
