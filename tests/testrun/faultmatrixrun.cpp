#include "tests/testrun/faultmatrixrun.h"

#include "base/loadundertest.h"
#include "link/usbcomm.h"
#include "testrun/starthandshake.h"
#include "tests/support/recordbuilder.h"

#include <cstddef>
#include <cstring>

namespace {

const QString ConfigureText =
    QStringLiteral("Configure the ZRQ to the correct load resistance by setting the jumpers as shown.");

// The load steps as the window must show them when the run is idle on them.
struct StepView {
    Shown shown;
    const char* caption;
    int load;
    bool back;
};
const StepView StepViews[] = {
    {Shown::Load25, "25 ohms", 0, false},
    {Shown::Load100, "100 ohms", 3, true},
    {Shown::Load175, "175 ohms", 6, true},
};

// Past this long in one OK the run counts as hung (the longest wait of a cell, the silent discharge
// wait that is cancelled after 60 s, ends well before): the test presses Cancel, and later pulls the
// cable.
constexpr int HangSeconds = 120;
constexpr int64_t HangMicroseconds = int64_t{HangSeconds} * 1'000'000;

QByteArray WithLoad(QByteArray bytes, int load, const TZRTest& test) {
    bytes.replace(LoadByteOffset(load), sizeof(TZRTest),
                  QByteArray(reinterpret_cast<const char*>(&test), sizeof(TZRTest)));
    return bytes;
}

QByteArray WithStatus(QByteArray bytes, const QByteArray& status) {
    bytes.replace(0, ANALYZER_STATUS_SIZE, status.left(ANALYZER_STATUS_SIZE));
    return bytes;
}

// Which part of the record a byte offset lies in.
QString Region(qsizetype offset) {
    if (offset < ANALYZER_STATUS_SIZE)
        return QStringLiteral("status block");
    if (offset < LoadByteOffset(0))
        return QStringLiteral("device information");
    const qsizetype within = (offset - LoadByteOffset(0)) % qsizetype(sizeof(TZRTest));
    const int load = static_cast<int>((offset - LoadByteOffset(0)) / qsizetype(sizeof(TZRTest)));
    const char* field = within < qsizetype(offsetof(TZRTest, Samples))    ? "Results"
                        : within < qsizetype(offsetof(TZRTest, HasData))  ? "Samples"
                        : within == qsizetype(offsetof(TZRTest, HasData)) ? "HasData"
                                                                          : "AccessoryResistance";
    return LoadName(load) + QLatin1Char(' ') + QLatin1String(field);
}

QString FirstDifference(const QByteArray& a, const QByteArray& b) {
    const qsizetype size = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < size; ++i)
        if (a[i] != b[i])
            return Region(i);
    return a.size() == b.size() ? QStringLiteral("nothing") : QStringLiteral("the size");
}

SimFault MakeFault(Stage stage, Fault fault) {
    const QByteArray command = StageCommand(stage);
    switch (fault) {
    case Fault::NoReply:
        return SimFault::NoReply(command);
    case Fault::LateWithin:
        return SimFault::LateReply(command, LateWithinMilliseconds);
    case Fault::LateBeyond:
        return SimFault::LateReply(command, LateBeyondMilliseconds);
    case Fault::Short:
        return SimFault::ShortReply(command, static_cast<int>(StageReplySize(stage)) - 1);
    case Fault::Garbage:
        return SimFault::Garbage(command);
    case Fault::NotConnectedOnce:
        return SimFault::AccessoryNotConnected(1);
    case Fault::NotConnectedTwice:
        return SimFault::AccessoryNotConnected(2);
    case Fault::NotConnectedThrice:
        return SimFault::AccessoryNotConnected(3);
    case Fault::WrongConfiguration:
        return SimFault::WrongConfiguration('B', '3');
    case Fault::TestText:
        return SimFault::TestText();
    case Fault::UnplugFirst:
        return SimFault::UnplugAtByte(0);
    case Fault::UnplugMiddle:
        return SimFault::UnplugAtByte(MiddleByte);
    case Fault::UnplugLast:
        return SimFault::UnplugAtByte(LastByte);
    case Fault::Stall:
        return SimFault::StallAtByte(MiddleByte);
    case Fault::TrailingText:
        return SimFault::TrailingText(TrailingTextMilliseconds);
    }
    return {};
}

} // namespace

MatrixRun::MatrixRun(Stage stage, Fault fault, RecordChange expected)
    : m_stage(stage), m_fault(fault), m_expectedRecord(expected) {
    sim.SetStatusDate(DateStamp{5, 7, 14, 3, 9, 26});
    m_view.rec = rec.get();
    boxes.whileShown = [this](const MessageRequest&) { clock.Advance(int64_t{ReadingMilliseconds} * 1000); };
    pump.hook = [this](int) { OnPump(); };
    QObject::connect(&sim, &SimulatedAnalyzer::CommandReceived,
                     [this](const QByteArray& c) { OnCommand(c); });
}

Outcome MatrixRun::Run() {
    return IsStartStage(m_stage) ? RunStart() : RunLoadStep();
}

void MatrixRun::Arm() {
    const SimFault fault = MakeFault(m_stage, m_fault);
    if (m_stage == Stage::ConfigAfter)
        m_faultOnDischarge = fault; // the query before the discharge must go through
    else
        sim.InjectFault(fault);
    if (m_stage == Stage::Abort)
        m_cancelAfterMilliseconds = AbortAfterMilliseconds;
    if (m_stage == Stage::Discharge && m_fault == Fault::NoReply)
        m_cancelAfterMilliseconds = SilentWaitCancelSeconds * 1000;
}

void MatrixRun::StartSequencer() {
    uint8_t selected[LOAD_COUNT] = {};
    for (int load : MatrixLoads)
        selected[load] = 1;
    m_seq = std::make_unique<TestSequencer>(m_view, selected, rec.get(), link);
    sim.FollowLoad(LoadUnderTest);
    m_seq->ShowStep();
}

void MatrixRun::PressOk() {
    m_okPressedAt = clock.Microseconds();
    m_seq->btnOKClick();
}

void MatrixRun::OnCommand(const QByteArray& command) {
    if (command != "DEHT")
        return;
    if (m_faultOnDischarge) {
        sim.InjectFault(*m_faultOnDischarge);
        m_faultOnDischarge.reset();
    }
    if (m_cancelAfterMilliseconds > 0) {
        m_cancelAt = clock.Microseconds() + int64_t{m_cancelAfterMilliseconds} * 1000;
        m_cancelAfterMilliseconds = 0;
    }
}

void MatrixRun::OnPump() {
    if (!m_seq || !m_seq->Busy())
        return;
    const int64_t now = clock.Microseconds();
    if (m_cancelAt >= 0 && now >= m_cancelAt) {
        m_cancelAt = -1;
        m_seq->btnCancelClick();
    } else if (!m_hung && now - m_okPressedAt > HangMicroseconds) {
        m_hung = true;
        m_seq->btnCancelClick();
    } else if (m_hung && now - m_okPressedAt > 2 * HangMicroseconds) {
        sim.Unplug(); // Cancel did not end it either
    }
}

QList<Box> MatrixRun::Messages() const {
    QList<Box> shown;
    if (m_hung)
        shown.append(
            {QStringLiteral("HUNG"),
             QStringLiteral("still running %1 s after OK; the test pressed Cancel").arg(HangSeconds)});
    for (const MessageRequest& box : boxes.Shown())
        shown.append({box.caption, box.text});
    return shown;
}

QString MatrixRun::LinkLabel() const {
    const bool open = link.IsOpen();
    if (open != sim.IsOpen())
        return QStringLiteral("handle and analyzer disagree");
    return Label(open ? Link::Open : Link::Closed);
}

QString MatrixRun::ShownLabel() const {
    if (!m_seq)
        return Label(Shown::StartWindow);
    // The configuration text, with a sentence of its own after it when the step has more to say.
    const bool configure = m_view.description.startsWith(ConfigureText);
    const QString more = m_view.description.mid(ConfigureText.size()).trimmed();
    for (const StepView& step : StepViews) {
        if (m_seq->CurrentStep() == step.load && m_view.caption == QLatin1String(step.caption) && configure &&
            m_view.figure == step.load && m_view.ok && m_view.back == step.back && m_view.skip &&
            !m_view.progressOpen)
            return more.isEmpty() ? Label(step.shown)
                                  : QStringLiteral("%1, adding \"%2\"").arg(Label(step.shown), more);
    }
    return QStringLiteral("other: %1 / %2 / OK %3, Back %4, Skip %5, figure %6, progress %7")
        .arg(m_view.caption, m_view.description)
        .arg(m_view.ok)
        .arg(m_view.back)
        .arg(m_view.skip)
        .arg(m_view.figure)
        .arg(m_view.progressOpen);
}

QByteArray MatrixRun::WithLoadFilled(const QByteArray& base, int load) const {
    TZRTest measured;
    std::memcpy(&measured.Results, &sim.LastBlock(), sizeof(TMeasurementBlock));
    std::memcpy(measured.Samples, sim.LastSamples().data(), sizeof measured.Samples);
    measured.HasData = 1;
    measured.AccessoryResistance = sim.Accessory().resistances[load];
    return WithLoad(base, load, measured);
}

QByteArray MatrixRun::Candidate(RecordChange change, const QByteArray& base) const {
    const uint16_t resistance = sim.Accessory().resistances[FaultedLoad];
    switch (change) {
    case RecordChange::Unchanged:
        return base;
    case RecordChange::StatusBlock:
        return WithStatus(base, sim.StatusBlock());
    case RecordChange::StatusGarbage:
        return WithStatus(base, SimFault::GarbageBytes(ANALYZER_STATUS_SIZE));
    case RecordChange::ResistanceOnly: {
        QByteArray bytes = base;
        const qsizetype at = LoadByteOffset(FaultedLoad) + qsizetype(offsetof(TZRTest, AccessoryResistance));
        bytes[at] = static_cast<char>(resistance & 0xFF);
        bytes[at + 1] = static_cast<char>(resistance >> 8);
        return bytes;
    }
    case RecordChange::Filled:
        return WithLoadFilled(base, FaultedLoad);
    case RecordChange::FilledWithGarbage: {
        // Stored as any reply is.
        const QByteArray garbage = SimFault::GarbageBytes(WaveformReplySize);
        TZRTest stored;
        StoreWaveformReply(reinterpret_cast<const uint8_t*>(garbage.constData()), stored);
        stored.AccessoryResistance = resistance;
        return WithLoad(base, FaultedLoad, stored);
    }
    }
    return {};
}

QString MatrixRun::RecordLabel(const QByteArray& base) const {
    const QByteArray actual = RecordBytes(*rec);
    static const RecordChange atStart[] = {RecordChange::Unchanged, RecordChange::StatusBlock,
                                           RecordChange::StatusGarbage};
    static const RecordChange onLoad[] = {RecordChange::Unchanged, RecordChange::ResistanceOnly,
                                          RecordChange::Filled, RecordChange::FilledWithGarbage};
    for (RecordChange change : IsStartStage(m_stage)
                                   ? QList<RecordChange>(std::begin(atStart), std::end(atStart))
                                   : QList<RecordChange>(std::begin(onLoad), std::end(onLoad)))
        if (Candidate(change, base) == actual)
            return Label(change);
    return QStringLiteral("other: %1 differs from \"%2\"")
        .arg(FirstDifference(Candidate(m_expectedRecord, base), actual), Label(m_expectedRecord));
}

Outcome MatrixRun::RunStart() {
    Arm();
    const QByteArray before = RecordBytes(*rec);
    const bool started = StartAndTell(*rec, link) == 0;
    Outcome out;
    out.record = RecordLabel(before); // the sequencer writes nothing when it shows its first step
    if (started)
        StartSequencer();
    out.messages = Messages();
    out.link = LinkLabel();
    out.shown = ShownLabel();
    out.then = Then(!started, -1);
    return out;
}

Outcome MatrixRun::RunLoadStep() {
    Outcome out;
    if (StartAndTell(*rec, link) != 0) {
        out.then = QStringLiteral("setup failed: the start did not pass");
        return out;
    }
    if (m_stage == Stage::FirstStep) {
        Arm();
        const QByteArray before = RecordBytes(*rec);
        StartSequencer();
        return Observe(before, -1);
    }
    StartSequencer();
    if (m_stage != Stage::StepCommand) {
        const QByteArray before = RecordBytes(*rec);
        PressOk();
        if (!boxes.Shown().isEmpty() || RecordBytes(*rec) != WithLoadFilled(before, 0)) {
            out.then = QStringLiteral("setup failed: 25 ohms was not stored cleanly");
            return out;
        }
        m_firstLoad = RecordBytes(*rec).mid(LoadByteOffset(0), sizeof(TZRTest));
    }

    Arm();
    boxes.Clear();
    const TTestLoad faultedStep = m_seq->CurrentStep();
    QByteArray before = RecordBytes(*rec);
    PressOk();
    if (m_stage == Stage::StepCommand) {
        // The step command goes out as the 100-ohm step is shown, at the end of the OK that stores 25 ohms.
        before = WithLoadFilled(before, 0);
        m_firstLoad = RecordBytes(*rec).mid(LoadByteOffset(0), sizeof(TZRTest));
    }
    return Observe(before, faultedStep);
}

Outcome MatrixRun::Observe(const QByteArray& before, TTestLoad faultedStep) {
    Outcome out;
    out.messages = Messages();
    out.link = LinkLabel();
    out.shown = ShownLabel();
    out.record = RecordLabel(before);
    out.then = Then(false, faultedStep);
    return out;
}

QString MatrixRun::Then(bool startFailed, TTestLoad faultedStep) {
    if (startFailed) {
        boxes.Clear();
        if (StartAndTell(*rec, link) != 0)
            return QStringLiteral("does not finish: Start Test fails again with ") + RenderBoxes(Messages());
        StartSequencer();
        return Completed(Label(Recovery::StartTestAgain));
    }
    if (!sim.IsOpen()) {
        sim.Plug();
        return Completed(Label(Recovery::PlugInAndOk));
    }
    if (m_seq && m_seq->CurrentStep() == faultedStep)
        return Completed(Label(Recovery::OkOnTheLoad));
    return Completed(Label(Recovery::Nothing));
}

QString MatrixRun::Completed(const QString& label) {
    for (int guard = 0; guard < LOAD_COUNT && m_seq->CurrentStep() != TESTS_DONE_STEP; ++guard) {
        const int load = m_seq->CurrentStep();
        const QByteArray before = RecordBytes(*rec);
        boxes.Clear();
        PressOk();
        if (!boxes.Shown().isEmpty())
            return QStringLiteral("does not finish: OK on %1 shows %2")
                .arg(LoadName(load), RenderBoxes(Messages()));
        const QByteArray expected = WithLoadFilled(before, load);
        if (RecordBytes(*rec) != expected)
            return QStringLiteral("does not finish: OK on %1 leaves %2 other than measured")
                .arg(LoadName(load), FirstDifference(expected, RecordBytes(*rec)));
        if (load == 0)
            m_firstLoad = RecordBytes(*rec).mid(LoadByteOffset(0), sizeof(TZRTest));
    }
    if (m_view.caption != QLatin1String("Tests done") ||
        m_view.description != QLatin1String("Press OK to display Test Report.") || !m_view.ok ||
        !m_view.back || m_view.skip)
        return QStringLiteral("does not finish: ends on %1 / %2 / OK %3, Back %4, Skip %5")
            .arg(m_view.caption, m_view.description)
            .arg(m_view.ok)
            .arg(m_view.back)
            .arg(m_view.skip);
    if (sim.IsOpen() || link.IsOpen())
        return QStringLiteral("does not finish: the link is still open at Tests done");
    if (RecordBytes(*rec).mid(LoadByteOffset(0), sizeof(TZRTest)) != m_firstLoad)
        return QStringLiteral("does not finish: 25 ohms changed after it was stored");
    for (int load : MatrixLoads)
        if (rec->Loads[load].HasData != 1)
            return QStringLiteral("does not finish: %1 holds no data").arg(LoadName(load));
    return label;
}
