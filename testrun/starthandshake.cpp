#include "testrun/starthandshake.h"

#include "base/clock.h"
#include "base/messages.h"
#include "link/protocol.h"
#include "link/usbcomm.h"

namespace {

const QString CommunicationError = QStringLiteral("COMMUNICATION ERROR");
const QString CommunicationTimeout = QStringLiteral("COMMUNICATION TIMEOUT");

int Fail(AnalyzerLink& link, const QString& text, const QString& caption) {
    ShowMessage(text, caption, MsgIcon::Error);
    link.Close();
    return -1;
}

} // namespace

int RunStartHandshake(TZRTestRec& testRec, AnalyzerLink& link) {
    if (link.Open() != 0) {
        ShowMessage(QStringLiteral("Corvex not connected to PC USB"), CommunicationError, MsgIcon::Error);
        return -1;
    }
    if (UsbQueryStatus(link, testRec.AnalyzerStatus) != 0) {
        ShowMessage(
            QStringLiteral("Unable to read Corvex information.\nMake sure Corvex is set to REMOTE mode."),
            CommunicationError, MsgIcon::Error);
        return -1; // the transport has closed the link
    }

    ReplyBuffer reply;
    SendCommand(link.Handle(), CmdAccessoryConnect);
    ClearReply(reply);
    if (UsbRead(link.Handle(), reply.data(), AckReplySize) != 0)
        return Fail(link, QStringLiteral("Did not receive response from Corvex"), CommunicationTimeout);
    if (!IsAcknowledgement(reply))
        return Fail(link, QStringLiteral("Invalid response from Corvex"), CommunicationError);

    // The accessory needs a moment after "VN" before it reports its configuration.
    TheClock().Sleep(1000);

    SendCommand(link.Handle(), CmdLoadConfig);
    ClearReply(reply);
    if (UsbRead(link.Handle(), reply.data(), LoadConfigReplySize) != 0)
        return Fail(link, QStringLiteral("Did not receive response from Corvex"), CommunicationTimeout);
    if (IsAccessoryNotConnectedText(reply))
        return Fail(link, QStringLiteral("ZRQ not connected to Corvex"), QStringLiteral("ZRQ ERROR"));
    return 0;
}
