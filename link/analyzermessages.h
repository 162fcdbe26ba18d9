#pragma once
// What the program tells the technician about the analyzer, in one table. The exchanges return typed
// results and the start handshake and the step sequencer tell a sink which of these notices a result
// calls for; the windows show each as the message box this table makes of it, and zrqtool writes the
// same caption and text to its log. Nothing here shows a box.

#include "base/messages.h"
#include "link/analyzerlink.h"

#include <QList>

struct AnalyzerNotice {
    enum class Kind {
        TransportFault,          // a failed or short read or write (`fault`)
        NotDetected,             // the open found no analyzer (`openError`: NotDetected or NotPermitted)
        NotConnectedToPc,        // the start could not open the analyzer
        StatusUnreadable,        // the start's status query did not complete
        NoResponse,              // an acknowledgement or a reply did not come
        StepNoResponse,          // the step command's acknowledgement did not come
        ConfigurationNoResponse, // the load configuration did not come during a step
        InvalidResponse,         // a reply came, but not the one expected
        AccessoryNotConnected,   // the start found the accessory silent ("XX")
        WrongConfiguration,      // the jumpers do not match the load (`load`, `bank`, `resistance`)
        DischargeReadError,      // the discharge wait's read failed
        DownloadIncomplete,      // the download stopped after `bytes` bytes
    };
    Kind kind = Kind::NoResponse;
    TransportFault fault{};
    LinkError openError = LinkError::NotDetected;
    int load = 0;
    char bank = 0;
    char resistance = 0;
    uint32_t bytes = 0;

    static AnalyzerNotice Of(Kind kind) { return AnalyzerNotice{kind}; }
    static AnalyzerNotice Fault(TransportFault fault);
    static AnalyzerNotice OpenFailed(LinkError error);
    static AnalyzerNotice Wrong(int load, const LoadConfiguration& config);
    static AnalyzerNotice Incomplete(uint32_t bytes);
};
using AnalyzerNotices = QList<AnalyzerNotice>;

// Who tells the technician, as things happen: a window shows the box, zrqtool writes a line.
class AnalyzerNoticeSink {
public:
    virtual ~AnalyzerNoticeSink() = default;
    // Returns when the technician has seen it (a box has been answered).
    virtual void Tell(const AnalyzerNotice& notice) = 0;
};

// The notices of an exchange's transport faults, in the order they happened.
AnalyzerNotices FaultNotices(const TransportFaults& faults);

// The message box of a notice.
MessageRequest AnalyzerMessage(const AnalyzerNotice& notice);

// The question before a test's data is discarded (No, the default, keeps the test).
MessageRequest ExitTestQuestion();
