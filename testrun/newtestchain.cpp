#include "testrun/newtestchain.h"

#include "link/usbcomm.h"
#include "report/testreportviewer.h"
#include "testrun/testoptionsform.h"
#include "testrun/teststartform.h"
#include "testrun/teststepform.h"

#include <memory>

namespace {

// Closes the analyzer however the chain ends, exceptions included.
class LinkCloser {
public:
    explicit LinkCloser(FtHandle& handle) : m_handle(handle) {}
    ~LinkCloser() { UsbClose(&m_handle); }
    LinkCloser(const LinkCloser&) = delete;
    LinkCloser& operator=(const LinkCloser&) = delete;

private:
    FtHandle& m_handle;
};

} // namespace

TTestReportViewer* RunNewTestChain(QWidget* owner) {
    auto testRec = std::make_unique<TZRTestRec>();
    FtHandle deviceHandle = FtHandle::Null;
    uint8_t selectedLoads[LOAD_COUNT] = {};
    // What the loads are checked against, kept in memory only: the record has no room for it.
    std::optional<TVerdictBasis> verdictBasis;
    TVerdictChoice verdictChoice;
    LinkCloser closer(deviceHandle);

    {
        TTestStart start(owner, testRec.get(), &deviceHandle);
        if (start.exec() == mrFormCancel)
            return nullptr;
    }
    {
        TTestOptions options(owner, selectedLoads);
        if (options.exec() == mrFormCancel)
            return nullptr;
        verdictBasis = options.VerdictBasis();
        verdictChoice = options.VerdictChoice();
    }
    {
        TTestStep step(owner, selectedLoads, testRec.get(), &deviceHandle);
        step.CheckLoadsAgainst(verdictBasis);
        if (step.exec() != mrFormOK)
            return nullptr;
    }
    UsbClose(&deviceHandle);
    auto* viewer = new TTestReportViewer(owner, *testRec);
    viewer->ChooseVerdict(verdictChoice);
    return viewer;
}
