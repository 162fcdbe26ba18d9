// The fault matrix: every fault of the simulated analyzer at every stage of a variable load test,
// each cell against the outcome the program is designed to give, and the matrix in
// docs/reliability.md kept the same as the one this test produces.
#include "tests/testrun/faultmatrix.h"
#include "tests/testrun/faultmatrixrun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <iostream>

namespace {

// The messages, exactly as the user reads them.
const Box NoResponseTimeout{"COMMUNICATION TIMEOUT", "Did not receive response from Corvex"};
const Box NoResponseError{"COMMUNICATION ERROR", "Did not receive response from Corvex"};
const Box InvalidResponse{"COMMUNICATION ERROR", "Invalid response from Corvex"};
const Box NoStatus{"COMMUNICATION ERROR",
                   "Unable to read Corvex information.\nMake sure Corvex is set to REMOTE mode."};
const Box ZrqNotConnected{"ZRQ ERROR", "ZRQ not connected to Corvex"};
// The configuration faults all come on the 100-ohm step.
const Box GarbageJumpers{"Load Configured Incorrectly",
                         "Resistance: Unknown Error\nBank: Unknown Error \nError "
                         "code: ?#\nExpected: 100 Ohms, Bank B"};
const Box NotConnectedJumpers{
    "Load Configured Incorrectly",
    "Resistance: Unknown Error\nBank: Unknown Error \nError code: XX\nThe load "
    "accessory (ZRQ) does not answer: check the RS232 serial cable and the ZRU adapter "
    "cable between the Corvex analyzer and the ZRQ."};
const Box WrongJumpers{"Load Configured Incorrectly",
                       "Resistance: 75 Ohms\nBank: Bank B \nError code: B3\nExpected: 100 Ohms, Bank B"};
const Box DeviceNotDetected{"Error", "Device Not Detected.\nPlease check connection.\n\nOperation Canceled."};

// The cable pulled during the download: the download says nothing of its own; showing the step
// again finds the analyzer gone and cannot open it, which is the one message.
const QList<Box> PulledCable{DeviceNotDetected};
// A download that stopped with the analyzer still there.
Box DownloadStopped(int bytes) {
    return {"Download Incomplete",
            QStringLiteral("The download stopped after %1 of 10306 bytes.\nPress OK and "
                           "discharge again to repeat this load.")
                .arg(bytes)};
}
// A reply that comes after its read window, or is cut short, is still there when the step is shown
// again: the step command reads it instead of its acknowledgement.
const QList<Box> TimeoutThenStaleReply{NoResponseTimeout, InvalidResponse};

struct Expected {
    Stage stage;
    Fault fault;
    QList<Box> messages;
    Link link;
    Shown shown;
    RecordChange record;
    Recovery then;
};

using enum Stage;
using enum Fault;
using enum Link;
using enum Shown;
using enum RecordChange;
using enum Recovery;

// Every cell that is run, and what the program is designed to do in it.
const Expected Matrix[] = {
    // The start. A failure closes the link and leaves the start window for another try. Only the
    // length of the status block is checked, and the configuration only for "XX".
    {Status, NoReply, {NoStatus}, Closed, StartWindow, Unchanged, StartTestAgain},
    {Status, LateWithin, {}, Open, Load25, StatusBlock, Nothing},
    {Status, LateBeyond, {NoStatus}, Closed, StartWindow, Unchanged, StartTestAgain},
    {Status, Short, {NoStatus}, Closed, StartWindow, Unchanged, StartTestAgain},
    {Status, Garbage, {}, Open, Load25, StatusGarbage, Nothing},
    {Connect, NoReply, {NoResponseTimeout}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {Connect, LateWithin, {}, Open, Load25, StatusBlock, Nothing},
    {Connect, LateBeyond, {NoResponseTimeout}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {Connect, Short, {NoResponseTimeout}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {Connect, Garbage, {InvalidResponse}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {StartConfig, NoReply, {NoResponseTimeout}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {StartConfig, LateWithin, {}, Open, Load25, StatusBlock, Nothing},
    {StartConfig, LateBeyond, {NoResponseTimeout}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {StartConfig, Short, {NoResponseTimeout}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {StartConfig, Garbage, {}, Open, Load25, StatusBlock, Nothing},
    {StartConfig, NotConnectedOnce, {ZrqNotConnected}, Closed, StartWindow, StatusBlock, StartTestAgain},
    {StartConfig, WrongConfiguration, {}, Open, Load25, StatusBlock, Nothing},

    // The step command: only reported; the step stays usable. A late acknowledgement arrives while
    // its box is read and the purge at the end of the step drops it.
    {FirstStep, NoReply, {NoResponseError}, Open, Load25, Unchanged, Nothing},
    {FirstStep, LateWithin, {}, Open, Load25, Unchanged, Nothing},
    {FirstStep, LateBeyond, {NoResponseError}, Open, Load25, Unchanged, Nothing},
    {FirstStep, Short, {NoResponseError}, Open, Load25, Unchanged, Nothing},
    {FirstStep, Garbage, {InvalidResponse}, Open, Load25, Unchanged, Nothing},
    {StepCommand, NoReply, {NoResponseError}, Open, Load100, Unchanged, Nothing},
    {StepCommand, LateWithin, {}, Open, Load100, Unchanged, Nothing},
    {StepCommand, LateBeyond, {NoResponseError}, Open, Load100, Unchanged, Nothing},
    {StepCommand, Short, {NoResponseError}, Open, Load100, Unchanged, Nothing},
    {StepCommand, Garbage, {InvalidResponse}, Open, Load100, Unchanged, Nothing},

    // The configuration before the discharge: "XX" is answered with a reconnect twice.
    {ConfigBefore, NoReply, {NoResponseTimeout}, Open, Load100, Unchanged, OkOnTheLoad},
    {ConfigBefore, LateWithin, {}, Open, Load175, Filled, Nothing},
    {ConfigBefore, LateBeyond, TimeoutThenStaleReply, Open, Load100, Unchanged, OkOnTheLoad},
    {ConfigBefore, Short, TimeoutThenStaleReply, Open, Load100, Unchanged, OkOnTheLoad},
    {ConfigBefore, Garbage, {GarbageJumpers}, Open, Load100, Unchanged, OkOnTheLoad},
    {ConfigBefore, NotConnectedOnce, {}, Open, Load175, Filled, Nothing},
    {ConfigBefore, NotConnectedTwice, {}, Open, Load175, Filled, Nothing},
    {ConfigBefore, NotConnectedThrice, {NotConnectedJumpers}, Open, Load100, Unchanged, OkOnTheLoad},
    {ConfigBefore, WrongConfiguration, {WrongJumpers}, Open, Load100, Unchanged, OkOnTheLoad},

    // The discharge wait has no time limit; only an energy reading, "TEST", Cancel or a read error
    // end it. "TEST" ends it as a cancel: the step is shown again without its step command, and says
    // that the analyzer's TEST key ended the wait. The line
    // end that follows the reading is taken before the next query, so it cannot stand in its reply.
    {Discharge, NoReply, {}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {Discharge, LateWithin, {}, Open, Load175, Filled, Nothing},
    {Discharge, LateBeyond, {}, Open, Load175, Filled, Nothing},
    {Discharge, Garbage, {}, Open, Load175, Filled, Nothing},
    {Discharge, TestText, {}, Open, Load100TestKey, ResistanceOnly, OkOnTheLoad},
    {Discharge, TrailingText, {}, Open, Load175, Filled, Nothing},

    // The configuration after the discharge: reported at once, "XX" too; the resistance read before
    // the discharge stays in the record.
    {ConfigAfter, NoReply, {NoResponseTimeout}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {ConfigAfter, LateWithin, {}, Open, Load175, Filled, Nothing},
    {ConfigAfter, LateBeyond, TimeoutThenStaleReply, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {ConfigAfter, Short, TimeoutThenStaleReply, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {ConfigAfter, Garbage, {GarbageJumpers}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {ConfigAfter, NotConnectedOnce, {NotConnectedJumpers}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {ConfigAfter, WrongConfiguration, {WrongJumpers}, Open, Load100, ResistanceOnly, OkOnTheLoad},

    // The download: an incomplete one says how far it came and stores nothing; only the length is
    // checked, so garbage of the right length is stored. A reply after the window is still there for
    // the step command.
    {Download, NoReply, {DownloadStopped(0)}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {Download, LateWithin, {}, Open, Load175, Filled, Nothing},
    {Download, LateBeyond, {DownloadStopped(0), InvalidResponse}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {Download, Short, {DownloadStopped(10305)}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {Download, Garbage, {}, Open, Load175, FilledWithGarbage, Nothing},
    {Download, UnplugFirst, PulledCable, Closed, Load100, ResistanceOnly, PlugInAndOk},
    {Download, UnplugMiddle, PulledCable, Closed, Load100, ResistanceOnly, PlugInAndOk},
    {Download, UnplugLast, PulledCable, Closed, Load100, ResistanceOnly, PlugInAndOk},
    {Download, Stall, {DownloadStopped(MiddleByte)}, Open, Load100, ResistanceOnly, OkOnTheLoad},

    // Cancel during the wait: ESC ends the wait whatever its answer; a missing or wrong answer is
    // reported first.
    {Abort, NoReply, {NoResponseTimeout}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {Abort, LateWithin, {}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {Abort, LateBeyond, {NoResponseTimeout}, Open, Load100, ResistanceOnly, OkOnTheLoad},
    {Abort, Garbage, {InvalidResponse}, Open, Load100, ResistanceOnly, OkOnTheLoad},
};

Outcome ExpectedOutcome(const Expected& cell) {
    return Outcome{cell.messages, Label(cell.link), Label(cell.shown), Label(cell.record), Label(cell.then)};
}

std::string Plain(const QList<Box>& boxes) {
    QStringList shown;
    for (const Box& box : boxes)
        shown << box.caption + QStringLiteral(": ") + box.text;
    return shown.join(QStringLiteral(" + ")).toStdString();
}

const QString DocPath = QStringLiteral(CORVEX_SOURCE_DIR "/docs/reliability.md");

// The first line where two texts part, for the message about a stale doc.
std::string FirstDifferentLine(const QString& doc, const QString& run) {
    const QStringList a = doc.split(QLatin1Char('\n'));
    const QStringList b = run.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString left = a.value(i), right = b.value(i);
        if (left != right)
            return QStringLiteral("line %1 of the matrix\n  doc: %2\n  run: %3")
                .arg(i + 1)
                .arg(left, right)
                .toStdString();
    }
    return "nothing";
}

// The doc must hold the matrix as this run produced it; CORVEX_UPDATE_DOCS=1 rewrites it.
void CompareWithDoc(const QString& matrix) {
    QFile file(DocPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "cannot read " << DocPath.toStdString();
    const QString doc = QString::fromUtf8(file.readAll());
    file.close();
    const std::optional<QString> part = GeneratedPart(doc);
    ASSERT_TRUE(part.has_value()) << DocPath.toStdString() << " lacks the lines " << DocBeginMarker << " and "
                                  << DocEndMarker;
    if (*part == matrix.trimmed())
        return;
    if (qEnvironmentVariable("CORVEX_UPDATE_DOCS") == QLatin1String("1")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(WithGeneratedPart(doc, matrix).toUtf8());
        std::cout << "Rewrote the fault matrix in " << DocPath.toStdString() << "\n";
        return;
    }
    ADD_FAILURE()
        << DocPath.toStdString() << " holds another fault matrix than this run produced, first at "
        << FirstDifferentLine(*part, matrix.trimmed())
        << "\nIf the change is meant, rerun with CORVEX_UPDATE_DOCS=1 or paste the matrix printed above "
           "between its markers.";
}

} // namespace

TEST(FaultMatrix, EveryFaultAtEveryStage) {
    QElapsedTimer timer;
    timer.start();
    QList<Cell> cells;
    for (const Expected& cell : Matrix) {
        SCOPED_TRACE((StageName(cell.stage) + QStringLiteral(" × ") + FaultName(cell.fault)).toStdString());
        const Outcome outcome = MatrixRun(cell.stage, cell.fault, cell.record).Run();
        const Outcome expected = ExpectedOutcome(cell);
        EXPECT_EQ(Plain(outcome.messages), Plain(expected.messages)) << "message";
        EXPECT_EQ(outcome.link.toStdString(), expected.link.toStdString()) << "link";
        EXPECT_EQ(outcome.shown.toStdString(), expected.shown.toStdString()) << "step shown";
        EXPECT_EQ(outcome.record.toStdString(), expected.record.toStdString()) << "record";
        EXPECT_EQ(outcome.then.toStdString(), expected.then.toStdString()) << "then";
        cells.append({cell.stage, cell.fault, outcome});
    }
    const qint64 elapsed = timer.elapsed();

    const QString matrix = MatrixMarkdown(cells);
    std::cout << "\n" << matrix.toStdString() << "\n" << cells.size() << " cells in " << elapsed << " ms\n";
    CompareWithDoc(matrix);
}
