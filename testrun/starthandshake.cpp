#include "testrun/starthandshake.h"

#include "base/clock.h"
#include "base/messages.h"
#include "link/protocol.h"
#include "link/usbcomm.h"

namespace {

const QString CommunicationError = QStringLiteral("COMMUNICATION ERROR");
const QString CommunicationTimeout = QStringLiteral("COMMUNICATION TIMEOUT");

int Fail(FtHandle* deviceHandle, const QString& text, const QString& caption) {
    ShowMessage(text, caption, MsgIcon::Error);
    UsbClose(deviceHandle);
    return -1;
}

} // namespace

int RunStartHandshake(TZRTestRec& testRec, FtHandle* deviceHandle) {
    if (UsbOpen(deviceHandle) != 0) {
        ShowMessage(QStringLiteral("Corvex not connected to PC USB"), CommunicationError, MsgIcon::Error);
        return -1;
    }
    if (UsbQueryStatus(deviceHandle, testRec.AnalyzerStatus) != 0) {
        ShowMessage(
            QStringLiteral("Unable to read Corvex information.\nMake sure Corvex is set to REMOTE mode."),
            CommunicationError, MsgIcon::Error);
        return -1; // the transport has closed the link
    }

    ReplyBuffer reply;
    SendCommand(deviceHandle, CmdAccessoryConnect);
    ClearReply(reply);
    if (UsbRead(deviceHandle, reply.data(), AckReplySize) != 0)
        return Fail(deviceHandle, QStringLiteral("Did not receive response from Corvex"),
                    CommunicationTimeout);
    if (!IsAcknowledgement(reply))
        return Fail(deviceHandle, QStringLiteral("Invalid response from Corvex"), CommunicationError);

    // The accessory needs a moment after "VN" before it reports its configuration.
    TheClock().Sleep(1000);

    SendCommand(deviceHandle, CmdLoadConfig);
    ClearReply(reply);
    if (UsbRead(deviceHandle, reply.data(), LoadConfigReplySize) != 0)
        return Fail(deviceHandle, QStringLiteral("Did not receive response from Corvex"),
                    CommunicationTimeout);
    if (IsAccessoryNotConnectedText(reply))
        return Fail(deviceHandle, QStringLiteral("ZRQ not connected to Corvex"), QStringLiteral("ZRQ ERROR"));
    return 0;
}
