// zrqtool simulate: a whole variable load test against the simulated analyzer, run by the same
// sequencer as the windows, in virtual time, every question answered automatically.
#include "cli/command.h"

#include "app/loadundertest.h"
#include "app/messages.h"
#include "link/analyzerlink.h"
#include "link/wiretrace.h"
#include "records/loadresults.h"
#include "sim/simulatedanalyzer.h"
#include "sim/virtualclock.h"
#include "testrun/sequencer.h"
#include "testrun/starthandshake.h"

#include <optional>
#include <random>

namespace {

struct SimulateOptions {
    QString output;
    uint8_t loads[LOAD_COUNT] = {1, 1, 1, 1, 1, 1, 1};
    DefibWaveform waveform = DefibWaveform::BiphasicTruncatedExponential;
    double energy = 200.0;
    std::optional<uint32_t> seed;
    QString deviceId = QStringLiteral("SIM-0001");
    QString trace;
};

bool ParseLoads(const QString& text, uint8_t (&loads)[LOAD_COUNT]) {
    std::fill(std::begin(loads), std::end(loads), 0);
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int ohms = part.trimmed().toInt(&ok);
        if (!ok || ohms < 25 || ohms > 175 || ohms % 25 != 0)
            return false;
        loads[ohms / 25 - 1] = 1;
    }
    return true;
}

// Parses the options; false with a message on err for anything it does not understand.
bool ParseOptions(const QStringList& args, SimulateOptions& o, QTextStream& err) {
    o.output = args.at(0);
    for (qsizetype i = 1; i < args.size(); i += 2) {
        const QString& name = args[i];
        if (i + 1 >= args.size()) {
            err << "zrqtool: simulate: " << name << " expects a value\n";
            return false;
        }
        const QString& value = args[i + 1];
        bool ok = true;
        if (name == QLatin1String("--loads")) {
            ok = ParseLoads(value, o.loads);
        } else if (name == QLatin1String("--waveform")) {
            if (value == QLatin1String("bte"))
                o.waveform = DefibWaveform::BiphasicTruncatedExponential;
            else if (value == QLatin1String("rlb"))
                o.waveform = DefibWaveform::RectilinearBiphasic;
            else if (value == QLatin1String("mds"))
                o.waveform = DefibWaveform::MonophasicDampedSine;
            else
                ok = false;
        } else if (name == QLatin1String("--energy")) {
            o.energy = value.toDouble(&ok);
            ok = ok && o.energy >= 1.0 && o.energy <= 360.0;
        } else if (name == QLatin1String("--seed")) {
            o.seed = value.toUInt(&ok);
        } else if (name == QLatin1String("--device-id")) {
            o.deviceId = value;
        } else if (name == QLatin1String("--trace")) {
            o.trace = value;
        } else {
            err << "zrqtool: simulate: unknown option " << name << '\n';
            return false;
        }
        if (!ok) {
            err << "zrqtool: simulate: " << name << ": invalid value \"" << value << "\"\n";
            return false;
        }
    }
    return true;
}

// A different, repeatable device and accessory for each seed: component values within the
// tolerances a real unit shows.
void ApplySeed(uint32_t seed, DefibSettings& defib, SimAccessory& accessory) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> tolerance(-1.0, 1.0);
    defib.bteCapacitanceMicrofarads *= 1.0 + 0.05 * tolerance(random);
    defib.bteTiltPercent += 3.0 * tolerance(random);
    defib.bteInternalOhms *= 1.0 + 0.2 * tolerance(random);
    defib.rbInternalOhms *= 1.0 + 0.2 * tolerance(random);
    defib.dsCapacitanceMicrofarads *= 1.0 + 0.05 * tolerance(random);
    defib.dsInternalOhms *= 1.0 + 0.1 * tolerance(random);
    defib.selectedJoules *= 1.0 + 0.02 * tolerance(random);
    for (uint16_t& r : accessory.resistances)
        r = static_cast<uint16_t>(r * (1.0 + 0.004 * tolerance(random)));
}

// Boxes go to the error stream and are answered with their first button.
class StreamMessages : public MessageBoxes {
public:
    explicit StreamMessages(QTextStream& err) : m_err(err) { InstallMessages(this); }
    ~StreamMessages() override { InstallMessages(nullptr); }
    int Show(const MessageRequest& r) override {
        m_err << "zrqtool: simulate: " << r.caption << ": "
              << QString(r.text).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
        ++shown;
        return FirstButton(r.buttons);
    }
    int shown = 0;

private:
    QTextStream& m_err;
};

// The step window's part, played without a window: one line per downloaded load.
class AutomaticView : public TestStepView {
public:
    AutomaticView(TZRTestRec& rec, const QString& deviceId, QTextStream& out)
        : m_rec(rec), m_deviceId(deviceId), m_out(out) {}
    void SetLoadCaption(const QString&) override {}
    void SetDescription(const QString&) override {}
    void ShowFigure(int) override {}
    void SetButtons(bool, bool, bool) override {}
    ProgressStepper* OpenProgress(int, const QString&) override {
        m_stepper = CountingStepper();
        return &m_stepper;
    }
    void CloseProgress() override {}
    void OpenLiveViewer(TTestLoad load) override {
        const TLoadResults r = ComputeLoadResults(m_rec.Loads[load], load);
        m_out << QStringLiteral(
                     "%1: actual load %2 ohms, energy %3 J, peak current %4 A, peak voltage %5 V\n")
                     .arg(LoadName(load), 8)
                     .arg(r[lrActualLoad], 0, 'f', 2)
                     .arg(r[lrTotalEnergy], 0, 'f', 1)
                     .arg(r[lrPeakCurrent1], 0, 'f', 2)
                     .arg(r[lrPeakVoltage1], 0, 'f', 0);
    }
    void EditDeviceInfo(bool) override {
        if (m_rec.GetDeviceInfo(diDeviceID).isEmpty())
            m_rec.SetDeviceInfo(diDeviceID, m_deviceId);
    }
    void EndModal(int result) override { modalResult = result; }
    int modalResult = 0;

private:
    TZRTestRec& m_rec;
    QString m_deviceId;
    QTextStream& m_out;
    CountingStepper m_stepper;
};

int RunSimulation(const SimulateOptions& o, VirtualClock& clock, QTextStream& out, QTextStream& err) {
    SimulatedAnalyzer analyzer(&clock);
    ScopedFtdiDriver driver(analyzer);
    StreamMessages boxes(err);

    SimTiming timing = analyzer.Timing();
    timing.autoDischargeMilliseconds = 4000; // the technician charges and fires within a few seconds
    analyzer.SetTiming(timing);
    DefibSettings defib = analyzer.Defibrillator();
    defib.waveform = o.waveform;
    defib.selectedJoules = o.energy;
    if (o.seed)
        ApplySeed(*o.seed, defib, analyzer.Accessory());
    analyzer.SetDefibrillator(defib);

    auto rec = std::make_unique<TZRTestRec>();
    AnalyzerLink link;
    if (RunStartHandshake(*rec, link) != 0) {
        link.Close();
        return ExitFailure;
    }

    AutomaticView view(*rec, o.deviceId, out);
    TestSequencer sequencer(view, o.loads, rec.get(), link);
    analyzer.FollowLoad(LoadUnderTest);
    sequencer.ShowStep();
    while (view.modalResult == 0) {
        const uint32_t before = sequencer.StepIndex();
        sequencer.btnOKClick();
        if (view.modalResult == 0 && sequencer.StepIndex() == before) {
            err << "zrqtool: simulate: the " << LoadName(sequencer.CurrentStep()) << " step failed\n";
            link.Close();
            return ExitFailure;
        }
    }
    link.Close();

    try {
        if (rec->SaveTestFile(o.output) != 0) {
            err << "zrqtool: " << o.output << ": could not be written completely\n";
            return ExitFailure;
        }
    } catch (const EFileError& error) {
        err << "zrqtool: " << QString::fromLocal8Bit(error.what()) << '\n';
        return ExitFailure;
    }
    return ExitSuccess;
}

} // namespace

int RunSimulateCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    SimulateOptions options;
    if (!ParseOptions(args, options, err))
        return ExitUsage;
    // The simulation's time from the start: the trace takes its start time from the clock installed.
    VirtualClock clock;
    ScopedClock scopedClock(clock);
    if (options.trace.isEmpty())
        return RunSimulation(options, clock, out, err);
    FileWireTrace trace(options.trace);
    if (!trace.IsOpen()) {
        err << "zrqtool: " << options.trace << ": cannot write the trace: " << trace.ErrorString() << '\n';
        return ExitFailure;
    }
    InstallWireTrace(&trace);
    const int status = RunSimulation(options, clock, out, err);
    InstallWireTrace(nullptr);
    return status;
}
