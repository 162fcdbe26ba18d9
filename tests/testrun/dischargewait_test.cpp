// The end of the discharge wait against the simulated analyzer: the text that follows the energy
// reading must not reach the reply of the configuration check after it, and a Cancel pressed in any
// round of the wait, the last one included, shows the step again without a word.
#include "testrun/sequencer.h"
#include "tests/testrun/recordingview.h"
#include "tests/testrun/simrun.h"

#include <QStringList>
#include <cmath>

namespace {

const QString ConfigureText =
    QStringLiteral("Configure the ZRQ to the correct load resistance by setting the jumpers as shown.");
const QString WaitingText = QStringLiteral("Waiting for energy discharge.");
constexpr int TestedLoad = 3;

// One load step, shown as the chain shows it, with the wire at the given speed (0: unlimited).
class StepRun : public SimBench {
public:
    explicit StepRun(int bytesPerSecond) {
        SimTiming timing = sim.Timing();
        timing.bytesPerSecond = bytesPerSecond;
        sim.SetTiming(timing);
        uint8_t selected[LOAD_COUNT] = {};
        selected[TestedLoad] = 1;
        EXPECT_EQ(link.Open(), LinkError::None);
        view.rec = rec.get();
        seq = std::make_unique<TestSequencer>(view, selected, rec.get(), link);
        sim.FollowLoad([] { return TestedLoad; });
        seq->ShowStep();
    }

    // The discharge is fired from the pump, as from the Simulator window, and the clock moved on so
    // that the wait's next round finds the energy reading complete and its line end still on the
    // wire: what the 200 ms polls of a real-time run often meet.
    void WakeBetweenReadingAndLineEnd() {
        SimTiming timing = sim.Timing();
        timing.autoDischargeMilliseconds = -1;
        sim.SetTiming(timing);
        pump.hook = [this](int) {
            const int64_t now = clock.Microseconds();
            if (sim.State() == SimState::WaitingForDischarge) {
                m_firedAt = now;
                sim.Discharge();
            } else if (sim.State() == SimState::Measuring && !m_moved && now - m_firedAt >= 300'000) {
                // By now the earlier text has been read; the reading's last byte, its "J", comes
                // one byte time before the line end.
                const QByteArray reading =
                    "E=" + QByteArray::number(sim.LastBlock().TotalEnergy / 10.0, 'f', 1) + "J";
                const double byteMicroseconds = 1e6 / sim.Timing().bytesPerSecond;
                const int64_t textAt = m_firedAt + int64_t{sim.Timing().measureMilliseconds} * 1000;
                clock.AdvanceTo(textAt +
                                std::llround(static_cast<double>(reading.size()) * byteMicroseconds) + 100);
                m_moved = true;
            }
        };
    }

    QString Boxes() const {
        QStringList shown;
        for (const MessageRequest& box : boxes.Shown())
            shown << box.caption + QStringLiteral(": ") + box.text;
        return shown.join(QStringLiteral(" + "));
    }

    RecordingView view;
    std::unique_ptr<TestSequencer> seq;

private:
    int64_t m_firedAt = -1;
    bool m_moved = false;
};

} // namespace

TEST(DischargeWait, TextAfterTheReadingDoesNotReachTheNextReply) {
    {
        SCOPED_TRACE("960 bytes a second, the line end still on the wire when the reading is complete");
        StepRun run(960);
        run.WakeBetweenReadingAndLineEnd();
        run.seq->btnOKClick();
        EXPECT_EQ(run.Boxes(), QString());
        EXPECT_EQ(run.rec->Loads[TestedLoad].HasData, 1);
        EXPECT_EQ(run.view.caption, QStringLiteral("Tests done"));
    }
    {
        SCOPED_TRACE("unlimited wire speed, the line end 50 ms after the reading");
        StepRun run(0);
        run.sim.InjectFault(SimFault::TrailingText(50));
        run.seq->btnOKClick();
        EXPECT_EQ(run.Boxes(), QString());
        EXPECT_EQ(run.rec->Loads[TestedLoad].HasData, 1);
    }
}

TEST(DischargeWait, CancelInAnyRoundShowsTheStepAgainWithoutAWord) {
    for (int bytesPerSecond : {960, 0}) {
        // The rounds of an undisturbed wait: every pump call while the step waits for the discharge.
        int rounds = 0;
        {
            StepRun run(bytesPerSecond);
            run.pump.hook = [&](int call) {
                if (run.view.description == WaitingText)
                    rounds = call;
            };
            run.seq->btnOKClick();
            ASSERT_EQ(run.rec->Loads[TestedLoad].HasData, 1);
        }
        ASSERT_GT(rounds, 20);
        for (int cancelAt = 1; cancelAt <= rounds; ++cancelAt) {
            SCOPED_TRACE(QStringLiteral("%1 bytes/s, Cancel at pump call %2 of %3")
                             .arg(bytesPerSecond)
                             .arg(cancelAt)
                             .arg(rounds)
                             .toStdString());
            StepRun run(bytesPerSecond);
            run.pump.hook = [&](int call) {
                if (call == cancelAt)
                    run.seq->btnCancelClick();
            };
            const qsizetype before = run.sim.Commands().size();
            run.seq->btnOKClick();
            EXPECT_EQ(run.Boxes(), QString());
            EXPECT_EQ(run.sim.Commands().mid(before), (QList<QByteArray>{"RL", "DEHT", "\x1b"}));
            EXPECT_EQ(run.view.description, ConfigureText);
            EXPECT_TRUE(run.view.ok);
            EXPECT_EQ(run.rec->Loads[TestedLoad].HasData, 0);
        }
    }
}
