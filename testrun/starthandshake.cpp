#include "testrun/starthandshake.h"

#include "base/clock.h"
#include "base/messages.h"
#include "link/protocol.h"

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
    if (link.Open() != LinkError::None) {
        ShowMessage(QStringLiteral("Corvex not connected to PC USB"), CommunicationError, MsgIcon::Error);
        return -1;
    }
    if (!link.QueryStatus(std::span<uint8_t, StatusBlockSize>(testRec.AnalyzerStatus)).Ok()) {
        ShowMessage(
            QStringLiteral("Unable to read Corvex information.\nMake sure Corvex is set to REMOTE mode."),
            CommunicationError, MsgIcon::Error);
        return -1; // the query has closed the link
    }

    const LinkOutcome connected = link.ConnectAccessory();
    if (!connected.Ok())
        return IsNoReply(connected.error)
                   ? Fail(link, QStringLiteral("Did not receive response from Corvex"), CommunicationTimeout)
                   : Fail(link, QStringLiteral("Invalid response from Corvex"), CommunicationError);

    // The accessory needs a moment after "VN" before it reports its configuration.
    TheClock().Sleep(1000);

    const LinkResult<LoadConfiguration> config = link.ReadLoadConfiguration();
    if (IsNoReply(config.error))
        return Fail(link, QStringLiteral("Did not receive response from Corvex"), CommunicationTimeout);
    if (config.value.IsNotConnectedText())
        return Fail(link, QStringLiteral("ZRQ not connected to Corvex"), QStringLiteral("ZRQ ERROR"));
    return 0;
}
