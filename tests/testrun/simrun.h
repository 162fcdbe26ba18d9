#pragma once
// A test run against the simulated analyzer in virtual time: the analyzer installed as the driver,
// the clock virtual, the message boxes scripted and settings in a temporary folder.

#include "link/usbcomm.h"
#include "sim/simulatedanalyzer.h"
#include "sim/virtualclock.h"
#include "testrun/starthandshake.h"
#include "tests/support/noticeboxes.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Lets a test act between two rounds of a wait that keeps the windows alive.
class HookPump : public EventPump {
public:
    void ProcessMessages() override {
        ++calls;
        if (hook)
            hook(calls);
    }
    std::function<void(int)> hook;
    int calls = 0;

private:
    const ScopedInstall<EventPump> m_installed{*this}; // installed for the lifetime of this object
};

// Everything one run needs: the analyzer installed as the driver, the clock virtual, the message
// boxes scripted and settings in a temporary folder. A fixture holds one; a test that runs many
// independent runs makes one per run.
class SimBench {
public:
    SimBench() {
        SimTiming timing;
        timing.bytesPerSecond = 0; // the wire is not what these tests are about
        timing.autoDischargeMilliseconds = 3000;
        sim.SetTiming(timing);
    }
    ~SimBench() { link.Close(); }
    SimBench(const SimBench&) = delete;
    SimBench& operator=(const SimBench&) = delete;

    QStringList Captions() const {
        QStringList captions;
        for (const MessageRequest& box : boxes.Shown())
            captions << box.caption;
        return captions;
    }

    VirtualClock clock;
    ScopedClock scopedClock{clock};
    HookPump pump;
    TempSettings settings;
    ScriptedMessages boxes;
    SimulatedAnalyzer sim{&clock};
    ScopedInstall<FtdiDriver> driverInstalled{sim};
    AnalyzerLink link;
    std::unique_ptr<TZRTestRec> rec = std::make_unique<TZRTestRec>();
};

// The start as the start window runs it, its notices shown as boxes: 0 when it passed, -1 otherwise.
inline int StartAndTell(TZRTestRec& rec, AnalyzerLink& link) {
    NoticeBoxes boxes;
    return RunStartHandshake(rec, link, boxes).ok ? 0 : -1;
}

class SimRun : public ::testing::Test, protected SimBench {};
