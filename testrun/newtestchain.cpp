#include "testrun/newtestchain.h"

#include "base/settings.h"
#include "report/keepmessages.h"
#include "link/analyzerlink.h"
#include "report/testreportviewer.h"
#include "testrun/testoptionsform.h"
#include "testrun/teststartform.h"
#include "testrun/teststepform.h"

#include <memory>

TTestReportViewer* RunNewTestChain(QWidget* owner) {
    auto testRec = std::make_unique<TZRTestRec>();
    // Closes the analyzer however the chain ends, exceptions included.
    AnalyzerLink link;
    uint8_t selectedLoads[LOAD_COUNT] = {};
    // What the loads are checked against, kept in memory only: the record has no room for it.
    std::optional<TVerdictBasis> verdictBasis;
    TVerdictChoice verdictChoice;

    {
        TTestStart start(owner, testRec.get(), link);
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
        TTestStep step(owner, selectedLoads, testRec.get(), link);
        step.CheckLoadsAgainst(verdictBasis);
        if (step.exec() != mrFormOK)
            return nullptr;
    }
    link.Close();
    // The load selection's choice, now that the test has named the device, is the one offered for the
    // next test of this make and model.
    TVerdictSettings(ProgramSettings())
        .RememberFor(verdictChoice, testRec->GetDeviceInfo(diManufacturer), testRec->GetDeviceInfo(diModel));
    // Kept before anything else can happen to it (for a shared library: in the outbox, on its way to
    // the server); Save still writes the record file. What a shared library answers is told over the
    // viewer.
    auto* viewer = new TTestReportViewer(owner, *testRec);
    KeepFinishedTestAndTell(*testRec, verdictBasis, viewer);
    viewer->ChooseVerdict(verdictChoice);
    return viewer;
}
