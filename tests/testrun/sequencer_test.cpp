// The variable load test against the simulated analyzer: whole runs, each failure with its message
// and what the step shows afterwards, and what reaches the record.
#include "testrun/sequencer.h"
#include "tests/support/recordbuilder.h"
#include "tests/testrun/recordingview.h"
#include "tests/testrun/simrun.h"

#include "base/loadundertest.h"
#include "link/protocol.h"

namespace {

class Sequencer : public SimRun {
protected:
    // A run started as the chain starts it: the link opened by the start window.
    void Start(std::initializer_list<int> loads) {
        uint8_t selected[LOAD_COUNT] = {};
        for (int load : loads)
            selected[load] = 1;
        ASSERT_EQ(link.Open(), LinkError::None);
        view.rec = rec.get();
        seq = std::make_unique<TestSequencer>(view, selected, rec.get(), link);
        sim.FollowLoad(LoadUnderTest); // as the demo's accessory does
        seq->ShowStep();
    }

    QList<QByteArray> CommandsSince(qsizetype from) const { return sim.Commands().mid(from); }

    RecordingView view;
    std::unique_ptr<TestSequencer> seq;
};

const QString NoResponse = QStringLiteral("Did not receive response from Corvex");
const QString ConfigureText =
    QStringLiteral("Configure the ZRQ to the correct load resistance by setting the jumpers as shown.");

} // namespace

TEST_F(Sequencer, SevenLoadsFillTheRecordAndEndWithTheReport) {
    Start({0, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(view.caption, QStringLiteral("25 ohms"));
    EXPECT_EQ(view.figure, 0);
    EXPECT_TRUE(view.ok);
    EXPECT_FALSE(view.back);
    EXPECT_TRUE(view.skip);
    EXPECT_EQ(sim.Commands(), (QList<QByteArray>{"ECGDJ20"}));

    for (int load = 0; load < LOAD_COUNT; ++load) {
        SCOPED_TRACE(load);
        const qsizetype before = sim.Commands().size();
        seq->btnOKClick();
        const QByteArray step = load + 1 < LOAD_COUNT ? "ECGDJ10" : QByteArray();
        QList<QByteArray> expected{"RL", "DEHT", "RL", "VW"};
        if (!step.isEmpty())
            expected << step;
        EXPECT_EQ(CommandsSince(before), expected);
        ASSERT_EQ(rec->Loads[load].HasData, 1);
        EXPECT_EQ(uint16_t{rec->Loads[load].AccessoryResistance}, sim.Accessory().resistances[load]);
        // What the analyzer measured, in host order after the swaps.
        EXPECT_EQ(std::memcmp(&rec->Loads[load].Results, &sim.LastBlock(), sizeof(TMeasurementBlock)), 0);
        EXPECT_EQ(
            std::memcmp(rec->Loads[load].Samples, sim.LastSamples().data(), sizeof rec->Loads[load].Samples),
            0);
        EXPECT_EQ(view.stepper.steps, 10306);
        EXPECT_EQ(view.progressMaximum, 10306);
        EXPECT_EQ(view.progressLabel, QStringLiteral("Downloading real-time wave data..."));
        EXPECT_FALSE(view.progressOpen);
    }
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(view.viewers, (QList<TTestLoad>{0, 1, 2, 3, 4, 5, 6}));

    // The closing step: the link is closed, no jumper figure (none of a load), Skip is off.
    EXPECT_EQ(view.caption, QStringLiteral("Tests done"));
    EXPECT_EQ(view.description, QStringLiteral("Press OK to display Test Report."));
    EXPECT_EQ(view.figure, TESTS_DONE_STEP);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_TRUE(view.back);
    EXPECT_FALSE(view.skip);

    view.deviceIdToType = QStringLiteral("BME-1");
    seq->btnOKClick();
    EXPECT_EQ(view.editorCalls, QList<bool>{true});
    EXPECT_EQ(view.modalResult, 1);
    EXPECT_TRUE(seq->FormCloseQuery(true)); // no question once the test has ended
    EXPECT_TRUE(boxes.Shown().isEmpty());
}

TEST_F(Sequencer, NoLoadSelectedOpensOnTheClosingStep) {
    Start({});
    EXPECT_EQ(view.caption, QStringLiteral("Tests done"));
    EXPECT_EQ(view.figure, TESTS_DONE_STEP);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_FALSE(view.back);
    EXPECT_FALSE(view.skip);
    seq->btnOKClick(); // the editor is left without a Device ID: the test ends all the same
    EXPECT_EQ(view.editorCalls, QList<bool>{true});
    EXPECT_EQ(view.modalResult, 1);
}

TEST_F(Sequencer, DeviceIdAlreadyThereOpensNoEditor) {
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("BME-2"));
    Start({});
    seq->btnOKClick();
    EXPECT_TRUE(view.editorCalls.isEmpty());
    EXPECT_EQ(view.modalResult, 1);
}

TEST_F(Sequencer, OneLoadThenBackFromTheClosingStepReopensTheLink) {
    Start({3});
    EXPECT_FALSE(view.back);
    EXPECT_TRUE(view.skip);
    seq->btnOKClick();
    EXPECT_EQ(view.caption, QStringLiteral("Tests done"));
    EXPECT_TRUE(view.back);
    EXPECT_FALSE(sim.IsOpen());

    const qsizetype before = sim.Commands().size();
    EXPECT_EQ(LoadUnderTest(), NoLoadUnderTest);
    seq->btnBackClick();
    EXPECT_TRUE(sim.IsOpen());
    EXPECT_EQ(view.caption, QStringLiteral("100 ohms"));
    EXPECT_EQ(CommandsSince(before), QList<QByteArray>{"ECGDJ10"});
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(LoadUnderTest(), 3);
    seq.reset(); // the test ends
    EXPECT_EQ(LoadUnderTest(), NoLoadUnderTest);
}

TEST_F(Sequencer, SecondRunOfALoadOverwritesIt) {
    Start({1});
    seq->btnOKClick();
    const QByteArray first = QByteArray(reinterpret_cast<const char*>(&rec->Loads[1]), sizeof(TZRTest));
    seq->btnBackClick();
    DefibSettings lower = sim.Defibrillator();
    lower.selectedJoules = 100.0;
    sim.SetDefibrillator(lower);
    seq->btnOKClick();
    EXPECT_EQ(rec->Loads[1].HasData, 1);
    EXPECT_NE(QByteArray(reinterpret_cast<const char*>(&rec->Loads[1]), sizeof(TZRTest)), first);
    EXPECT_EQ(std::memcmp(&rec->Loads[1].Results, &sim.LastBlock(), sizeof(TMeasurementBlock)), 0);
}

TEST_F(Sequencer, SkippedLoadKeepsNoData) {
    Start({0, 2});
    seq->btnSkipClick();
    EXPECT_EQ(view.caption, QStringLiteral("75 ohms"));
    EXPECT_TRUE(view.back);
    seq->btnOKClick();
    EXPECT_EQ(rec->Loads[0].HasData, 0);
    EXPECT_EQ(rec->Loads[2].HasData, 1);
}

TEST_F(Sequencer, ThreeXXRepliesReconnectTwiceThenReport) {
    Start({0});
    sim.InjectFault(SimFault::AccessoryNotConnected(3));
    const qsizetype before = sim.Commands().size();
    seq->btnOKClick();
    EXPECT_EQ(CommandsSince(before), (QList<QByteArray>{"RL", "VN", "RL", "VN", "RL", "ECGDJ20"}));
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("Resistance: Unknown Error\nBank: Unknown Error \nError code: XX\n"
                             "The load accessory (ZRQ) does not answer: check the RS232 serial cable and the "
                             "ZRU adapter cable between the Corvex analyzer and the ZRQ."));
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Load Configured Incorrectly"));
    EXPECT_TRUE(boxes.Shown()[0].flags & mfTopMost);
    EXPECT_EQ(view.caption, QStringLiteral("25 ohms"));
    EXPECT_TRUE(view.ok);
    EXPECT_EQ(rec->Loads[0].HasData, 0);
}

TEST_F(Sequencer, TwoXXRepliesAreRecoveredFrom) {
    Start({0});
    sim.InjectFault(SimFault::AccessoryNotConnected(2));
    seq->btnOKClick();
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(rec->Loads[0].HasData, 1);
}

TEST_F(Sequencer, WrongJumperIsDescribed) {
    Start({0});
    sim.InjectFault(SimFault::WrongConfiguration('B', '3'));
    seq->btnOKClick();
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(
        boxes.Shown()[0].text,
        QStringLiteral("Resistance: 75 Ohms\nBank: Bank B \nError code: B3\nExpected: 25 Ohms, Bank A"));
    EXPECT_EQ(rec->Loads[0].HasData, 0);
    EXPECT_EQ(uint16_t{rec->Loads[0].AccessoryResistance}, 0);
}

TEST_F(Sequencer, XXAfterTheDischargeIsReportedAtOnce) {
    Start({4});
    // The first query matches; the second (after the discharge) says "XX".
    sim.InjectFault(SimFault::Reply("RL", QByteArray("B5\x10\x27", 4)));
    sim.InjectFault(SimFault::AccessoryNotConnected(1));
    const qsizetype before = sim.Commands().size();
    seq->btnOKClick();
    EXPECT_EQ(CommandsSince(before), (QList<QByteArray>{"RL", "DEHT", "RL", "ECGDJ10"}));
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Load Configured Incorrectly"));
    EXPECT_EQ(rec->Loads[4].HasData, 0);
    EXPECT_EQ(uint16_t{rec->Loads[4].AccessoryResistance}, 10000); // written before the failure
}

TEST_F(Sequencer, NoConfigurationReplyIsATimeout) {
    Start({2});
    sim.InjectFault(SimFault::NoReply("RL"));
    seq->btnOKClick();
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text, NoResponse);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("COMMUNICATION TIMEOUT"));
    EXPECT_EQ(
        view.description,
        QStringLiteral("Configure the ZRQ to the correct load resistance by setting the jumpers as shown."));
}

TEST_F(Sequencer, StepCommandTimeoutShowsExactlyOneMessage) {
    sim.InjectFault(SimFault::NoReply("ECGDJ20"));
    Start({0});
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text, NoResponse);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("COMMUNICATION ERROR"));
    EXPECT_TRUE(view.ok); // the step stays usable
}

TEST_F(Sequencer, TestTextEndsTheWaitAsACancel) {
    Start({1});
    sim.InjectFault(SimFault::TestText());
    const qsizetype before = sim.Commands().size();
    seq->btnOKClick();
    EXPECT_EQ(CommandsSince(before),
              (QList<QByteArray>{"RL", "DEHT"})); // shown again without the step command
    EXPECT_TRUE(boxes.Shown().isEmpty());         // the technician pressed the key: the step says so
    EXPECT_EQ(view.description, ConfigureText + QStringLiteral(" The analyzer's TEST key ended the wait for "
                                                               "the discharge."));
    EXPECT_TRUE(view.ok);
    EXPECT_EQ(rec->Loads[1].HasData, 0);
    // Skip and Back send no step command either while the cancel stands.
    seq->btnSkipClick();
    EXPECT_EQ(CommandsSince(before), (QList<QByteArray>{"RL", "DEHT"}));
}

TEST_F(Sequencer, CancelDuringTheWaitSendsEscape) {
    SimTiming manual = sim.Timing();
    manual.autoDischargeMilliseconds = -1;
    sim.SetTiming(manual);
    Start({5});
    pump.hook = [this](int call) {
        if (call == 20)
            seq->btnCancelClick();
    };
    const qsizetype before = sim.Commands().size();
    seq->btnOKClick();
    EXPECT_EQ(CommandsSince(before), (QList<QByteArray>{"RL", "DEHT", "\x1b"}));
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_TRUE(view.ok);
    EXPECT_EQ(rec->Loads[5].HasData, 0);
}

TEST_F(Sequencer, CancelDuringTheWaitWithoutAnAnswerStillEndsIt) {
    SimTiming manual = sim.Timing();
    manual.autoDischargeMilliseconds = -1;
    sim.SetTiming(manual);
    Start({5});
    sim.InjectFault(SimFault::NoReply("\x1b"));
    pump.hook = [this](int call) {
        if (call == 20)
            seq->btnCancelClick();
    };
    seq->btnOKClick();
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text, NoResponse);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("COMMUNICATION TIMEOUT"));
    EXPECT_TRUE(view.ok);
}

TEST_F(Sequencer, StalledDownloadLeavesTheLoadAsItWasButItsResistance) {
    auto full = MakeFullRecord();
    rec->CopyTest(*full);
    Start({3});
    const QByteArray before = QByteArray(reinterpret_cast<const char*>(&rec->Loads[3]), sizeof(TZRTest));
    sim.InjectFault(SimFault::StallAtByte(5000));
    seq->btnOKClick();
    EXPECT_FALSE(view.progressOpen);
    EXPECT_EQ(view.stepper.steps, 5000);
    TZRTest& load = rec->Loads[3];
    EXPECT_EQ(uint16_t{load.AccessoryResistance}, sim.Accessory().resistances[3]);
    load.AccessoryResistance = full->Loads[3].AccessoryResistance;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&load), sizeof(TZRTest)), before);
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Download Incomplete"));
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("The download stopped after 5000 of 10306 bytes.\nPress OK "
                             "and discharge again to repeat this load."));
    EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Error);
    EXPECT_EQ(view.caption, QStringLiteral("100 ohms"));
    EXPECT_EQ(view.description, ConfigureText);
}

TEST_F(Sequencer, ALostLinkIsToldOnceAtEachOkUntilTheCableIsBack) {
    Start({2, 3});
    sim.InjectFault(SimFault::UnplugAtByte(4000));
    seq->btnOKClick();
    EXPECT_EQ(rec->Loads[2].HasData, 0);
    EXPECT_FALSE(view.progressOpen);
    // No word on the download: the step shown again cannot re-open the link, and that is the message.
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("Error")});
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("Device Not Detected.\nPlease check connection.\n\nOperation Canceled."));

    for (int retry = 0; retry < 2; ++retry) { // OK again with the cable still out
        boxes.Clear();
        const qsizetype before = sim.Commands().size();
        seq->btnOKClick();
        EXPECT_EQ(Captions(), QStringList{QStringLiteral("Error")});
        EXPECT_EQ(CommandsSince(before), QList<QByteArray>{});
        EXPECT_TRUE(view.ok);
        EXPECT_EQ(view.description, ConfigureText);
    }

    boxes.Clear();
    sim.Plug();
    const qsizetype before = sim.Commands().size();
    seq->btnOKClick(); // the cable back: OK re-opens the link, tells the analyzer the step, runs the load
    EXPECT_EQ(CommandsSince(before).mid(0, 3), (QList<QByteArray>{"ECGDJ10", "RL", "DEHT"}));
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_EQ(rec->Loads[2].HasData, 1);
    EXPECT_EQ(view.caption, QStringLiteral("100 ohms"));
    EXPECT_TRUE(sim.IsOpen());
}

TEST_F(Sequencer, CancelOnAnIdleStepAsksFirst) {
    Start({0});
    boxes.Answer({mrNo});
    seq->btnCancelClick();
    EXPECT_EQ(view.modalResult, 0);
    EXPECT_TRUE(sim.IsOpen());
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(
        boxes.Shown()[0].text,
        QStringLiteral("Are you sure you want to exit the test?\nAcquired test data will be discarded."));
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Exit Test?"));
    EXPECT_EQ(boxes.Shown()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.Shown()[0].defaultButton, mrNo);

    boxes.Answer({ScriptedMessages::PressEnter}); // a stray Enter keeps the test
    seq->btnCancelClick();
    EXPECT_EQ(view.modalResult, 0);

    boxes.Answer({mrYes});
    seq->btnCancelClick();
    EXPECT_EQ(view.modalResult, 2);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(Sequencer, CloseBoxAsksTheSameQuestion) {
    Start({0});
    boxes.Answer({ScriptedMessages::PressEnter, mrYes});
    EXPECT_FALSE(seq->FormCloseQuery(true));
    EXPECT_TRUE(seq->FormCloseQuery(true));
    EXPECT_EQ(view.modalResult, 2);
    EXPECT_TRUE(sim.IsOpen()); // the chain closes the link
    EXPECT_TRUE(seq->FormCloseQuery(false));
    EXPECT_EQ(boxes.Shown().size(), 2);
}
