#include "testrun/sequencer.h"

#include "app/clock.h"
#include "app/messages.h"
#include "link/protocol.h"
#include "link/usbcomm.h"

#include <cstring>

namespace {

const QString CommunicationError = QStringLiteral("COMMUNICATION ERROR");
const QString CommunicationTimeout = QStringLiteral("COMMUNICATION TIMEOUT");
const QString NoResponse = QStringLiteral("Did not receive response from Corvex");
const QString InvalidResponse = QStringLiteral("Invalid response from Corvex");
const QString WrongConfiguration = QStringLiteral("Load Configured Incorrectly");

constexpr int DischargePollMs = 200;

void Report(const QString& text, const QString& caption, int flags = mfNone) {
    ShowMessage(text, caption, MsgIcon::Error, MsgButtons::OK, flags);
}

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
                             FtHandle* deviceHandle)
    : m_view(view), m_testRec(testRec), m_deviceHandle(deviceHandle) {
    for (int load = 0; load < LOAD_COUNT; ++load)
        if (selectedLoads[load] != 0)
            m_steps.push_back(static_cast<TTestLoad>(load));
    m_steps.push_back(TESTS_DONE_STEP);
}

void TestSequencer::SetButtons(bool ok, bool back, bool skip) {
    m_okEnabled = ok;
    m_view.SetButtons(ok, back, skip);
}

void TestSequencer::ShowStep() {
    const TTestLoad load = CurrentStep();
    const bool loadStep = load != TESTS_DONE_STEP;
    if (!loadStep) {
        UsbClose(m_deviceHandle);
        m_view.SetLoadCaption(QStringLiteral("Tests done"));
    } else {
        m_view.SetLoadCaption(LoadName(load));
        if (UsbCheckLink(m_deviceHandle) != 0) {
            UsbClose(m_deviceHandle);
            UsbOpen(m_deviceHandle); // reports itself when the analyzer cannot be found
        }
    }

    if (loadStep && !m_cancelRequested) {
        ReplyBuffer reply;
        ClearReply(reply);
        SendCommand(m_deviceHandle, StepCommand(load));
        if (UsbRead(m_deviceHandle, reply.data(), AckReplySize) != 0)
            Report(NoResponse, CommunicationError);
        else if (!IsAcknowledgement(reply))
            Report(InvalidResponse, CommunicationError);
    }

    if (loadStep)
        m_view.ShowFigure(load); // the closing step keeps the last load's figure
    m_view.SetDescription(
        loadStep ? QStringLiteral("Configure the ZRQ to the correct load resistance by setting the "
                                  "jumpers as shown.")
                 : QStringLiteral("Press OK to display Test Report."));
    SetButtons(true, m_stepIndex > 0, loadStep);
    if (loadStep)
        UsbPurge(m_deviceHandle);
}

void TestSequencer::ReconnectAccessory() {
    ReplyBuffer reply;
    SendCommand(m_deviceHandle, CmdAccessoryConnect);
    ClearReply(reply);
    if (UsbRead(m_deviceHandle, reply.data(), AckReplySize) != 0)
        Report(NoResponse, CommunicationTimeout);
    else if (!IsAcknowledgement(reply))
        Report(InvalidResponse, CommunicationError);
}

bool TestSequencer::ConfigurationMatches(TTestLoad load, bool retryNotConnected) {
    // Before the discharge an accessory reporting "XX" is reconnected twice; a third "XX" is an error.
    // After the discharge any mismatch is reported at once.
    for (int notConnected = 0;;) {
        ReplyBuffer reply;
        UsbPurge(m_deviceHandle);
        ClearReply(reply);
        SendCommand(m_deviceHandle, CmdLoadConfig);
        if (UsbRead(m_deviceHandle, reply.data(), LoadConfigReplySize) != 0) {
            Report(NoResponse, CommunicationTimeout, mfTopMost);
            return false;
        }
        const char bank = reply[0];
        const char resistance = reply[1];
        if (IsLoadConfigured(load, bank, resistance)) {
            m_testRec->Loads[load].AccessoryResistance = AccessoryResistanceOf(reply);
            return true;
        }
        if (retryNotConnected && IsAccessoryNotConnected(bank, resistance) && ++notConnected <= 2) {
            ReconnectAccessory();
            continue;
        }
        Report(DescribeLoadConfig(bank, resistance), WrongConfiguration, mfTopMost);
        return false;
    }
}

bool TestSequencer::WaitForDischarge() {
    m_view.SetDescription(QStringLiteral("Waiting for energy discharge."));
    UsbPurge(m_deviceHandle);
    SendCommand(m_deviceHandle, CmdDischargeWait);
    ThePump().ProcessMessages();

    // No time limit: the technician may take as long as needed to charge and fire the defibrillator.
    QByteArray text;
    bool discharged = false;
    while (!discharged && !m_cancelRequested) {
        char byte = 0;
        const int r = UsbReadAttempt(m_deviceHandle, &byte, 1);
        if (r == 0) {
            text.append(byte);
            discharged = HasEnergyReading(text);
            if (!discharged && HasTestText(text))
                m_cancelRequested = true;
        } else if (r < 0) {
            Report(QStringLiteral("Error reading from device"), QStringLiteral("Error In Read"));
            return false;
        } else {
            TheClock().Sleep(DischargePollMs);
        }
        ThePump().ProcessMessages();
    }
    return discharged;
}

bool TestSequencer::Download(TTestLoad load) {
    m_view.SetDescription(QStringLiteral("Downloading wave data."));
    std::vector<uint8_t> buffer(WaveformReplySize, 0);
    UsbPurge(m_deviceHandle);
    ProgressStepper* progress =
        m_view.OpenProgress(WaveformReplySize, QStringLiteral("Downloading real-time wave data..."));
    SendCommand(m_deviceHandle, CmdWaveform);
    const int result = UsbReadBlocks(m_deviceHandle, buffer.data(), WaveformReplySize, progress, 1);
    m_view.CloseProgress();
    if (result != 0)
        return false; // the load keeps what it had

    TZRTest& target = m_testRec->Loads[load];
    std::memcpy(&target.Results, buffer.data(), MeasurementBlockSize);
    std::memcpy(target.Samples, buffer.data() + MeasurementBlockSize,
                WaveformReplySize - MeasurementBlockSize);
    SwapMeasurementBlock(&target.Results);
    SwapWaveform(target.Samples);
    target.HasData = 1;
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
    m_view.SetDescription(QStringLiteral("Getting load configuration."));
    if (!ConfigurationMatches(load, true) || !WaitForDischarge() || !ConfigurationMatches(load, false) ||
        !Download(load)) {
        ShowStep();
        return;
    }
    m_view.OpenLiveViewer(load);
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

bool TestSequencer::AskExit() {
    return ShowMessage(QStringLiteral(
                           "Are you sure you want to exit the test?\nAcquired test data will be discarded."),
                       QStringLiteral("Exit Test?"), MsgIcon::Warning, MsgButtons::YesNo) == mrYes;
}

void TestSequencer::btnCancelClick() {
    if (m_okEnabled) {
        if (!AskExit())
            return;
        m_cancelRequested = true;
        if (m_okEnabled) {
            UsbClose(m_deviceHandle);
            m_closeAllowed = true;
            m_view.EndModal(2);
        }
        return;
    }
    // An exchange is running (the discharge wait): ask the analyzer to stop waiting.
    ReplyBuffer reply;
    ClearReply(reply);
    SendCommand(m_deviceHandle, CmdAbort);
    if (UsbRead(m_deviceHandle, reply.data(), AbortReplySize) != 0)
        Report(NoResponse, CommunicationTimeout);
    else if (!IsAbortAcknowledgement(reply))
        Report(InvalidResponse, CommunicationError);
    m_cancelRequested = true;
}

void TestSequencer::btnEditInfoClick() {
    m_view.EditDeviceInfo(false);
}

bool TestSequencer::FormCloseQuery(bool visible) {
    if (!visible || m_closeAllowed)
        return true;
    if (!AskExit())
        return false;
    m_view.EndModal(2);
    return true;
}
