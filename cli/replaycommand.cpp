// zrqtool replay: the start handshake and the test steps, run as zrqtool simulate runs them, against a
// recorded wire trace: the scripted driver answers every call as the analyzer did in the trace, in
// virtual time. Prints what the program does, and where it and the trace part ways.
#include "cli/command.h"

#include "cli/headlessrun.h"
#include "cli/replayreport.h"
#include "link/protocol.h"
#include "link/usbcomm.h"
#include "sim/scripteddriver.h"
#include "sim/virtualclock.h"

#include <QFile>
#include <memory>
#include <optional>

namespace {

// A round trip to the driver: short, so that bytes that came in a burst are read as fast as they came.
constexpr int64_t ReplayPollMicroseconds = 100;

struct ReplayOptions {
    QString trace;
    bool loadsGiven = false;
    uint8_t loads[LOAD_COUNT] = {};
};

bool ParseOptions(const QStringList& args, ReplayOptions& o, QTextStream& err) {
    o.trace = args.at(0);
    for (qsizetype i = 1; i < args.size(); i += 2) {
        const QString& name = args[i];
        if (name != QLatin1String("--loads")) {
            err << "zrqtool: replay: unknown option " << name << '\n';
            return false;
        }
        if (i + 1 >= args.size()) {
            err << "zrqtool: replay: " << name << " expects a value\n";
            return false;
        }
        if (!ParseLoadList(args[i + 1], o.loads)) {
            err << "zrqtool: replay: " << name << ": invalid value \"" << args[i + 1] << "\"\n";
            return false;
        }
        o.loadsGiven = true;
    }
    return true;
}

bool IsCommand(const QByteArray& written, std::string_view command) {
    return written == QByteArray(command.data(), static_cast<qsizetype>(command.size())) + CommandTerminator;
}

// The load whose jumpers a reply to "RL" reports, or -1.
int ConfiguredLoad(const QByteArray& reply) {
    for (int load = 0; load < LOAD_COUNT; ++load)
        if (reply.size() >= 2 && IsLoadConfigured(load, reply[0], reply[1]))
            return load;
    return -1;
}

// The loads a trace shows were tested: the 25-ohm load when its step command went out, and each load
// the accessory reported just before a discharge wait or a download (which only a step of that load
// starts). False when it shows none.
bool LoadsOfTrace(const QList<TracedEvent>& trace, uint8_t (&loads)[LOAD_COUNT]) {
    std::fill(std::begin(loads), std::end(loads), 0);
    bool any = false;
    bool configurationAsked = false;
    int configured = -1;
    for (const TracedEvent& traced : trace) {
        const WireEvent& e = traced.event;
        if (e.kind == WireEventKind::Read && configurationAsked && e.bytes.size() == LoadConfigReplySize) {
            configured = ConfiguredLoad(e.bytes);
            configurationAsked = false;
        }
        if (e.kind != WireEventKind::Write)
            continue;
        configurationAsked = IsCommand(e.bytes, CmdLoadConfig);
        int load = -1;
        if (IsCommand(e.bytes, CmdStep25Ohms))
            load = 0;
        else if (IsCommand(e.bytes, CmdDischargeWait) || IsCommand(e.bytes, CmdWaveform))
            load = configured;
        if (load >= 0) {
            loads[load] = 1;
            any = true;
        }
    }
    return any;
}

std::optional<QList<TracedEvent>> ReadTrace(const QString& path, QTextStream& err) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "zrqtool: " << path << ": cannot read the trace: " << file.errorString() << '\n';
        return std::nullopt;
    }
    QList<TracedEvent> trace = ParseWireTrace(QString::fromLatin1(file.readAll()).split(QLatin1Char('\n')));
    if (trace.isEmpty()) {
        err << "zrqtool: " << path << ": holds no wire trace events\n";
        return std::nullopt;
    }
    return trace;
}

QString EndText(const HeadlessResult& result) {
    switch (result.end) {
    case HeadlessResult::End::Done:
        break;
    case HeadlessResult::End::StartFailed:
        return QStringLiteral("the start failed");
    case HeadlessResult::End::StepFailed:
        return QStringLiteral("the %1 step failed").arg(LoadName(result.failedStep));
    }
    return QStringLiteral("the test is done");
}

} // namespace

int RunReplayCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    ReplayOptions o;
    if (!ParseOptions(args, o, err))
        return ExitUsage;
    const std::optional<QList<TracedEvent>> trace = ReadTrace(o.trace, err);
    if (!trace)
        return ExitFailure;
    // Without loads the test ends after its start, as when the options were cancelled.
    QString loads;
    if (o.loadsGiven)
        loads = LoadListText(o.loads);
    else if (LoadsOfTrace(*trace, o.loads))
        loads = LoadListText(o.loads) + QStringLiteral(" (as the trace shows)");
    else
        loads = QStringLiteral("none (the trace shows none; give them with --loads)");
    out << "Replaying " << o.trace << ": " << trace->size() << " events in "
        << FormatWireTime(trace->last().milliseconds).trimmed() << " s, loads " << loads << '\n';

    VirtualClock clock;
    ScopedClock scopedClock(clock);
    ScriptedDriver driver(clock);
    driver.pollMicroseconds = ReplayPollMicroseconds;
    driver.Replay(*trace);
    TracePlayer& player = *driver.Playback();
    {
        ReplayLog log(player, out);
        auto rec = std::make_unique<TZRTestRec>();
        // Pressing OK once more after a failure is what the trace goes on with, if anything.
        const auto traceGoesOn = [&player] {
            return !player.Parting() && player.Played() < player.Trace().size();
        };
        const HeadlessResult result =
            RunHeadlessTest(*rec, HeadlessTest{o.loads, QString(), traceGoesOn}, log);
        log.Line(EndText(result));
        player.Finish();
    }
    if (!player.Parting()) {
        out << "The run reproduces the trace: all " << trace->size() << " events.\n";
        return ExitSuccess;
    }
    PrintParting(*player.Parting(), *trace, o.trace, out);
    return ExitPartedWays;
}
