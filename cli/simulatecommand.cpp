// zrqtool simulate: a whole variable load test against the simulated analyzer, run by the same
// sequencer as the windows, in virtual time, every question answered automatically.
#include "cli/command.h"
#include "cli/verdictoutput.h"

#include "base/loadundertest.h"
#include "cli/headlessrun.h"
#include "link/wiretrace.h"
#include "sim/simulatedanalyzer.h"
#include "sim/virtualclock.h"

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
    QString profile; // checked against at `energy` when given
};

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
            ok = ParseLoadList(value, o.loads);
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
        } else if (name == QLatin1String("--profile")) {
            o.profile = value;
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

// The loads' lines go to the output, the boxes to the error stream.
class SimulationLog : public HeadlessLog {
public:
    SimulationLog(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}
    void Step(const QString&) override {}
    void Downloaded(const QString& summary) override { m_out << summary << '\n'; }
    void Box(const QString& caption, const QString& text) override {
        m_err << "zrqtool: simulate: " << caption << ": " << text << '\n';
    }

private:
    QTextStream& m_out;
    QTextStream& m_err;
};

int RunSimulation(const SimulateOptions& o, const std::optional<TVerdictBasis>& check, VirtualClock& clock,
                  QTextStream& out, QTextStream& err) {
    SimulatedAnalyzer analyzer(&clock);
    ScopedInstall<FtdiDriver> driver(analyzer);

    SimTiming timing = analyzer.Timing();
    timing.autoDischargeMilliseconds = 4000; // the technician charges and fires within a few seconds
    analyzer.SetTiming(timing);
    DefibSettings defib = analyzer.Defibrillator();
    defib.waveform = o.waveform;
    defib.selectedJoules = o.energy;
    if (o.seed)
        ApplySeed(*o.seed, defib, analyzer.Accessory());
    analyzer.SetDefibrillator(defib);
    analyzer.FollowLoad(LoadUnderTest);

    auto rec = std::make_unique<TZRTestRec>();
    SimulationLog log(out, err);
    const HeadlessResult result = RunHeadlessTest(*rec, HeadlessTest{o.loads, o.deviceId, {}}, log);
    if (result.end == HeadlessResult::End::StepFailed)
        err << "zrqtool: simulate: the " << LoadName(result.failedStep) << " step failed\n";
    if (result.end != HeadlessResult::End::Done)
        return ExitFailure;

    try {
        if (rec->SaveTestFile(o.output) != 0) {
            err << "zrqtool: " << o.output << ": could not be written completely\n";
            return ExitFailure;
        }
    } catch (const EFileError& error) {
        err << "zrqtool: " << QString::fromLocal8Bit(error.what()) << '\n';
        return ExitFailure;
    }
    return check ? PrintVerdict(*rec, *check, false, out, err) : ExitSuccess;
}

} // namespace

int RunSimulateCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    SimulateOptions options;
    if (!ParseOptions(args, options, err))
        return ExitUsage;
    // The profile is looked up before the run, so that a wrong one costs no run.
    std::optional<TVerdictBasis> check;
    if (!options.profile.isEmpty()) {
        check = ResolveVerdictBasis(options.profile, options.energy, err);
        if (!check)
            return ExitFailure;
    }
    // The simulation runs in virtual time, and so does its trace.
    VirtualClock clock;
    ScopedClock scopedClock(clock);
    if (options.trace.isEmpty())
        return RunSimulation(options, check, clock, out, err);
    FileWireTrace trace(options.trace);
    if (!trace.IsOpen()) {
        err << "zrqtool: " << options.trace << ": cannot write the trace: " << trace.ErrorString() << '\n';
        return ExitFailure;
    }
    const ScopedInstall<WireTrace> traced(trace);
    return RunSimulation(options, check, clock, out, err);
}
