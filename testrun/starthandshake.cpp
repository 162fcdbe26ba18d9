#include "testrun/starthandshake.h"

#include "base/clock.h"

namespace {

using Kind = AnalyzerNotice::Kind;

// Tells what the start runs into: the faults of each exchange as they come, then why it failed.
class Start {
public:
    Start(AnalyzerLink& link, AnalyzerNoticeSink& tell) : m_link(link), m_tell(tell) {}
    // True when the exchange went well.
    bool Went(const LinkOutcome& outcome) {
        for (const AnalyzerNotice& notice : FaultNotices(outcome.faults))
            m_tell.Tell(notice);
        return outcome.Ok();
    }
    StartResult Fail(Kind why) {
        m_tell.Tell(AnalyzerNotice::Of(why));
        m_link.Close();
        return StartResult{false, why};
    }

private:
    AnalyzerLink& m_link;
    AnalyzerNoticeSink& m_tell;
};

} // namespace

StartResult RunStartHandshake(TZRTestRec& testRec, AnalyzerLink& link, AnalyzerNoticeSink& tell) {
    Start start(link, tell);
    const LinkError opened = link.Open();
    if (opened != LinkError::None) {
        tell.Tell(AnalyzerNotice::OpenFailed(opened));
        return start.Fail(Kind::NotConnectedToPc);
    }
    if (!start.Went(link.QueryStatus(std::span<uint8_t, StatusBlockSize>(testRec.AnalyzerStatus))))
        return start.Fail(Kind::StatusUnreadable); // the query has closed the link

    const LinkOutcome connected = link.ConnectAccessory();
    if (!start.Went(connected))
        return start.Fail(IsNoReply(connected.error) ? Kind::NoResponse : Kind::InvalidResponse);

    // The accessory needs a moment after "VN" before it reports its configuration.
    TheClock().Sleep(1000);

    const LinkResult<LoadConfiguration> config = link.ReadLoadConfiguration();
    start.Went(config);
    if (IsNoReply(config.error))
        return start.Fail(Kind::NoResponse);
    if (config.value.IsNotConnectedText())
        return start.Fail(Kind::AccessoryNotConnected);
    return StartResult{true};
}
