#include "tests/testrun/faultmatrix.h"

#include "records/tzrtestrec.h"

#include <QStringList>

namespace {

QString Loaded(int load) {
    return LoadName(load);
}

// A reply's text as it can stand in a code span: line feeds and other control bytes escaped.
QString Escaped(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c.unicode() < 0x20 || c == QLatin1Char('`') || c == QLatin1Char('|'))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString Verdict(const Outcome& outcome) {
    if (!outcome.messages.isEmpty())
        return QStringLiteral("message");
    return outcome.then == Label(Recovery::Nothing) ? QStringLiteral("goes on")
                                                    : QStringLiteral("no message");
}

QString Row(const QStringList& cells) {
    return QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
}

QString Overview(const QList<Cell>& cells) {
    QStringList header{QStringLiteral("Stage")};
    for (Fault fault : AllFaults)
        header << FaultName(fault);
    QString md = Row(header);
    md += Row(QStringList(header.size(), QStringLiteral("---")));
    for (Stage stage : AllStages) {
        QStringList row{StageName(stage)};
        for (Fault fault : AllFaults) {
            QString entry = QStringLiteral("—");
            for (qsizetype i = 0; i < cells.size(); ++i)
                if (cells[i].stage == stage && cells[i].fault == fault)
                    entry = QStringLiteral("%1 %2").arg(i + 1).arg(Verdict(cells[i].outcome));
            row << entry;
        }
        md += Row(row);
    }
    return md;
}

QString Details(const QList<Cell>& cells) {
    QString md = Row({QStringLiteral("#"), QStringLiteral("Stage"), QStringLiteral("Fault"),
                      QStringLiteral("Message (caption: text)"), QStringLiteral("Link"),
                      QStringLiteral("Step shown"), QStringLiteral("Record"), QStringLiteral("Then")});
    md += Row(QStringList(8, QStringLiteral("---")));
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const Outcome& o = cells[i].outcome;
        md += Row({QString::number(i + 1), StageName(cells[i].stage), FaultName(cells[i].fault),
                   RenderBoxes(o.messages), o.link, o.shown, o.record, o.then});
    }
    return md;
}

QString Legend() {
    const QString configure = QStringLiteral(
        "\"Configure the ZRQ to the correct load resistance by setting the jumpers as shown.\"");
    QStringList lines;
    lines << QStringLiteral(
                 "Every run selects the loads 25, 100 and 175 ohms; the faults of the load steps hit "
                 "100 ohms, after 25 ohms has been stored. The step commands go out as a step is shown: "
                 "\"ECGDJ20\" as the run opens on 25 ohms, \"ECGDJ10\" at the end of the OK that stores "
                 "25 ohms.")
          << QStringLiteral(
                 "Faults: late replies come %1 ms and %2 ms after their command (the read window "
                 "ends 3 to 4 seconds after the first attempt); a short reply lacks its last byte; "
                 "garbage is bytes of the reply's length that mean nothing; \"XX\" is the reply of an "
                 "accessory that is not connected; the wrong jumper is bank B, 75 ohms; the download "
                 "loses the cable before its byte 0, %3 or %4, or stops sending at byte %3; trailing "
                 "text is the line end after the energy reading, coming %5 ms after the reading.")
                 .arg(LateWithinMilliseconds)
                 .arg(LateBeyondMilliseconds)
                 .arg(MiddleByte)
                 .arg(LastByte)
                 .arg(TrailingTextMilliseconds)
          << QStringLiteral(
                 "Each message box is read for %1 ms before its OK is pressed. Cancel is pressed %2 ms "
                 "into the discharge wait for the ESC stage, and after %3 s of a silent wait (the "
                 "wait has no time limit).")
                 .arg(ReadingMilliseconds)
                 .arg(AbortAfterMilliseconds)
                 .arg(SilentWaitCancelSeconds)
          << QStringLiteral("Step shown: \"start window\": the start failed and offers Start Test again; "
                            "\"%1\", \"%2\", \"%3\": that load's step with its figure, the description %4, "
                            "OK and Skip enabled and Back enabled from the second step on.")
                 .arg(Loaded(0), Loaded(3), Loaded(6), configure)
          << QStringLiteral(
                 "Record: compared byte for byte with the record just before the faulted action "
                 "(for \"ECGDJ10\", with 25 ohms stored by that same OK); "
                 "\"filled\" is the analyzer's measurement, swapped to host order, with its data flag "
                 "and the accessory's resistance; \"resistance only\" is the accessory's resistance "
                 "from the configuration read before the failure. Every other byte, the 25-ohm load's "
                 "included, must stay as it was.")
          << QStringLiteral("Then: what finishes the run, each remaining load then being stored from its "
                            "measurement with no message, up to \"Tests done\" with the link closed.")
          << QStringLiteral("Overview: \"goes on\" = no message and the run went on; \"message\" = at least "
                            "one box; \"no message\" = the step is offered again without a word.");
    QString md;
    for (const QString& line : lines)
        md += QStringLiteral("- ") + line + QLatin1Char('\n');
    return md;
}

} // namespace

QString StageName(Stage stage) {
    switch (stage) {
    case Stage::Status:
        return QStringLiteral("`GS` status (start)");
    case Stage::Connect:
        return QStringLiteral("`VN` accessory connect (start)");
    case Stage::StartConfig:
        return QStringLiteral("`RL` configuration (start)");
    case Stage::FirstStep:
        return QStringLiteral("`ECGDJ20` step command");
    case Stage::StepCommand:
        return QStringLiteral("`ECGDJ10` step command");
    case Stage::ConfigBefore:
        return QStringLiteral("`RL` before the discharge");
    case Stage::Discharge:
        return QStringLiteral("`DEHT` discharge wait");
    case Stage::ConfigAfter:
        return QStringLiteral("`RL` after the discharge");
    case Stage::Download:
        return QStringLiteral("`VW` download");
    case Stage::Abort:
        return QStringLiteral("`ESC` of Cancel in the wait");
    }
    return {};
}

QString FaultName(Fault fault) {
    switch (fault) {
    case Fault::NoReply:
        return QStringLiteral("no reply");
    case Fault::LateWithin:
        return QStringLiteral("late, within");
    case Fault::LateBeyond:
        return QStringLiteral("late, beyond");
    case Fault::Short:
        return QStringLiteral("short");
    case Fault::Garbage:
        return QStringLiteral("garbage");
    case Fault::NotConnectedOnce:
        return QStringLiteral("XX once");
    case Fault::NotConnectedTwice:
        return QStringLiteral("XX twice");
    case Fault::NotConnectedThrice:
        return QStringLiteral("XX 3 times");
    case Fault::WrongConfiguration:
        return QStringLiteral("wrong jumper");
    case Fault::TestText:
        return QStringLiteral("TEST text");
    case Fault::UnplugFirst:
        return QStringLiteral("unplug, first byte");
    case Fault::UnplugMiddle:
        return QStringLiteral("unplug, middle byte");
    case Fault::UnplugLast:
        return QStringLiteral("unplug, last byte");
    case Fault::Stall:
        return QStringLiteral("stall");
    case Fault::TrailingText:
        return QStringLiteral("trailing text");
    }
    return {};
}

QByteArray StageCommand(Stage stage) {
    switch (stage) {
    case Stage::Status:
        return QByteArray(CmdStatus.data(), CmdStatus.size());
    case Stage::Connect:
        return QByteArray(CmdAccessoryConnect.data(), CmdAccessoryConnect.size());
    case Stage::StartConfig:
    case Stage::ConfigBefore:
    case Stage::ConfigAfter:
        return QByteArray(CmdLoadConfig.data(), CmdLoadConfig.size());
    case Stage::FirstStep:
        return QByteArray(CmdStep25Ohms.data(), CmdStep25Ohms.size());
    case Stage::StepCommand:
        return QByteArray(CmdStepOtherLoads.data(), CmdStepOtherLoads.size());
    case Stage::Discharge:
        return QByteArray(CmdDischargeWait.data(), CmdDischargeWait.size());
    case Stage::Download:
        return QByteArray(CmdWaveform.data(), CmdWaveform.size());
    case Stage::Abort:
        return QByteArray(CmdAbort.data(), CmdAbort.size());
    }
    return {};
}

uint32_t StageReplySize(Stage stage) {
    switch (stage) {
    case Stage::Status:
        return StatusReplySize;
    case Stage::Connect:
    case Stage::FirstStep:
    case Stage::StepCommand:
        return AckReplySize;
    case Stage::StartConfig:
    case Stage::ConfigBefore:
    case Stage::ConfigAfter:
        return LoadConfigReplySize;
    case Stage::Discharge:
        return 7; // "READY" CR LF
    case Stage::Download:
        return WaveformReplySize;
    case Stage::Abort:
        return AbortReplySize;
    }
    return 0;
}

bool IsStartStage(Stage stage) {
    return stage == Stage::Status || stage == Stage::Connect || stage == Stage::StartConfig;
}

QString RenderBoxes(const QList<Box>& boxes) {
    if (boxes.isEmpty())
        return QStringLiteral("none");
    QStringList shown;
    for (const Box& box : boxes)
        shown << QStringLiteral("`%1: %2`").arg(Escaped(box.caption), Escaped(box.text));
    return shown.join(QStringLiteral("<br>"));
}

QString Label(Shown shown) {
    switch (shown) {
    case Shown::StartWindow:
        return QStringLiteral("start window");
    case Shown::Load25:
        return Loaded(0);
    case Shown::Load100:
        return Loaded(3);
    case Shown::Load175:
        return Loaded(6);
    case Shown::Load100TestKey:
        return Loaded(3) +
               QStringLiteral(", adding \"The analyzer's TEST key ended the wait for the discharge.\"");
    }
    return {};
}

QString Label(Link link) {
    return link == Link::Open ? QStringLiteral("open") : QStringLiteral("closed");
}

QString Label(RecordChange change) {
    switch (change) {
    case RecordChange::Unchanged:
        return QStringLiteral("unchanged");
    case RecordChange::StatusBlock:
        return QStringLiteral("status block");
    case RecordChange::StatusGarbage:
        return QStringLiteral("status block = the garbage");
    case RecordChange::ResistanceOnly:
        return Loaded(FaultedLoad) + QStringLiteral(": resistance only");
    case RecordChange::Filled:
        return Loaded(FaultedLoad) + QStringLiteral(" filled");
    case RecordChange::FilledWithGarbage:
        return Loaded(FaultedLoad) + QStringLiteral(" filled with the garbage");
    }
    return {};
}

QString Label(Recovery recovery) {
    const QString completes = QStringLiteral("run completes");
    const QString fills = QStringLiteral("OK fills %1; ").arg(Loaded(FaultedLoad));
    switch (recovery) {
    case Recovery::Nothing:
        return completes;
    case Recovery::OkOnTheLoad:
        return fills + completes;
    case Recovery::StartTestAgain:
        return QStringLiteral("Start Test again; ") + completes;
    case Recovery::PlugInAndOk:
        return QStringLiteral("plug in; OK re-opens the link and fills %1; ").arg(Loaded(FaultedLoad)) +
               completes;
    }
    return {};
}

QString MatrixMarkdown(const QList<Cell>& cells) {
    return QStringLiteral("### Overview\n\n") + Overview(cells) + QStringLiteral("\n### Cells\n\n") +
           Details(cells) + QStringLiteral("\n") + Legend();
}

std::optional<QString> GeneratedPart(const QString& doc) {
    const qsizetype begin = doc.indexOf(QLatin1String(DocBeginMarker));
    const qsizetype end = doc.indexOf(QLatin1String(DocEndMarker));
    if (begin < 0 || end < begin)
        return std::nullopt;
    const qsizetype from = begin + qsizetype(sizeof DocBeginMarker - 1);
    return doc.mid(from, end - from).trimmed();
}

QString WithGeneratedPart(const QString& doc, const QString& part) {
    const qsizetype begin = doc.indexOf(QLatin1String(DocBeginMarker));
    const qsizetype end = doc.indexOf(QLatin1String(DocEndMarker));
    const qsizetype from = begin + qsizetype(sizeof DocBeginMarker - 1);
    return doc.left(from) + QStringLiteral("\n\n") + part.trimmed() + QStringLiteral("\n\n") + doc.mid(end);
}
