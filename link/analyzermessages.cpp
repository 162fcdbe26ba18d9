#include "link/analyzermessages.h"

#include "link/protocol.h"

namespace {

const QString CommunicationError = QStringLiteral("COMMUNICATION ERROR");
const QString CommunicationTimeout = QStringLiteral("COMMUNICATION TIMEOUT");
const QString NoResponseText = QStringLiteral("Did not receive response from Corvex");

MessageRequest ErrorBox(const QString& text, const QString& caption, int flags = mfNone) {
    return MessageRequest{text, caption, MsgIcon::Error, MsgButtons::OK, flags};
}

MessageRequest FaultBox(const TransportFault& fault) {
    const QString read = QStringLiteral("Error reading from device");
    const QString write = QStringLiteral("Error writing to device");
    switch (fault.kind) {
    case TransportFault::Kind::ReadStatus:
        return ErrorBox(QStringLiteral("Read status is: %1").arg(fault.value), read);
    case TransportFault::Kind::ShortRead:
        return ErrorBox(QStringLiteral("Bytes read: %1").arg(fault.value), read);
    case TransportFault::Kind::WriteStatus:
        return MessageRequest{QStringLiteral("Write status is: %1").arg(fault.value), write};
    case TransportFault::Kind::ShortWrite:
        break;
    }
    return MessageRequest{QStringLiteral("Bytes written: %1").arg(fault.value), write};
}

MessageRequest NotDetectedBox(LinkError error) {
    QString text = QStringLiteral("Device Not Detected.\nPlease check connection.\n\nOperation Canceled.");
    // Checking the cable does not help here: the account needs access to the device.
    if (error == LinkError::NotPermitted)
        text += QStringLiteral("\n\nThe analyzer is connected, but this user account may not use it: see "
                               "\"Giving your Linux account access to the analyzer\" in the help.");
    return ErrorBox(text, QStringLiteral("Error"), mfNoOwner);
}

} // namespace

AnalyzerNotice AnalyzerNotice::Fault(TransportFault fault) {
    AnalyzerNotice notice{Kind::TransportFault};
    notice.fault = fault;
    return notice;
}

AnalyzerNotice AnalyzerNotice::OpenFailed(LinkError error) {
    AnalyzerNotice notice{Kind::NotDetected};
    notice.openError = error;
    return notice;
}

AnalyzerNotice AnalyzerNotice::Wrong(int load, const LoadConfiguration& config) {
    AnalyzerNotice notice{Kind::WrongConfiguration};
    notice.load = load;
    notice.bank = config.Bank();
    notice.resistance = config.Resistance();
    return notice;
}

AnalyzerNotice AnalyzerNotice::Incomplete(uint32_t bytes) {
    AnalyzerNotice notice{Kind::DownloadIncomplete};
    notice.bytes = bytes;
    return notice;
}

AnalyzerNotices FaultNotices(const TransportFaults& faults) {
    AnalyzerNotices notices;
    for (const TransportFault& fault : faults)
        notices << AnalyzerNotice::Fault(fault);
    return notices;
}

MessageRequest AnalyzerMessage(const AnalyzerNotice& notice) {
    using Kind = AnalyzerNotice::Kind;
    switch (notice.kind) {
    case Kind::TransportFault:
        return FaultBox(notice.fault);
    case Kind::NotDetected:
        return NotDetectedBox(notice.openError);
    case Kind::NotConnectedToPc:
        return ErrorBox(QStringLiteral("Corvex not connected to PC USB"), CommunicationError);
    case Kind::StatusUnreadable:
        return ErrorBox(
            QStringLiteral("Unable to read Corvex information.\nMake sure Corvex is set to REMOTE mode."),
            CommunicationError);
    case Kind::NoResponse:
        return ErrorBox(NoResponseText, CommunicationTimeout);
    case Kind::StepNoResponse:
        return ErrorBox(NoResponseText, CommunicationError);
    case Kind::ConfigurationNoResponse:
        return ErrorBox(NoResponseText, CommunicationTimeout, mfTopMost);
    case Kind::InvalidResponse:
        return ErrorBox(QStringLiteral("Invalid response from Corvex"), CommunicationError);
    case Kind::AccessoryNotConnected:
        return ErrorBox(QStringLiteral("ZRQ not connected to Corvex"), QStringLiteral("ZRQ ERROR"));
    case Kind::WrongConfiguration:
        return ErrorBox(DescribeLoadConfigForLoad(notice.load, notice.bank, notice.resistance),
                        QStringLiteral("Load Configured Incorrectly"), mfTopMost);
    case Kind::DischargeReadError:
        return ErrorBox(QStringLiteral("Error reading from device"), QStringLiteral("Error In Read"));
    case Kind::DownloadIncomplete:
        break;
    }
    return ErrorBox(QStringLiteral("The download stopped after %1 of %2 bytes.\nPress OK and discharge again "
                                   "to repeat this load.")
                        .arg(notice.bytes)
                        .arg(WaveformBytes),
                    QStringLiteral("Download Incomplete"), mfTopMost);
}

MessageRequest ExitTestQuestion() {
    return MessageRequest{
        QStringLiteral("Are you sure you want to exit the test?\nAcquired test data will be discarded."),
        QStringLiteral("Exit Test?"),
        MsgIcon::Warning,
        MsgButtons::YesNo,
        mfNone,
        mrNo};
}
