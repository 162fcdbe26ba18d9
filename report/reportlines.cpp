#include "report/reportlines.h"

#include "base/global.h"
#include "base/formatfield.h"
#include "records/measurementfields.h"

#include <cstring>
#include <string_view>

namespace {

constexpr int LabelWidth = 25;
constexpr int CellWidth = 5;
constexpr int CellGap = 2;
constexpr int TimeIndent = 14;
constexpr int TimeWidth = 7;
constexpr int TimeDecimals = 4;
constexpr int TimeGap = 4;
constexpr int AmpsDecimals = 2;
static_assert(LabelWidth + LOAD_COUNT * CellWidth + (LOAD_COUNT - 1) * CellGap == REPORT_TABLE_LINE_WIDTH);
static_assert(TimeIndent + TimeWidth + TimeGap == LabelWidth);

constexpr int NoValue = -1;
// The header's lines, before the first line of the results section.
constexpr int HeaderLineCount = 18;

// One line of the results section: a literal line, or a label followed by the cells of a TLoadResults
// value (minus another one, for the second phase's energy).
struct ResultLine {
    std::string_view text;
    int value = NoValue;
    int minus = NoValue;
    int decimals = 0;
};

constexpr ResultLine Result(TLoadResultIndex result) {
    const TMeasurementField& field = ResultField(result);
    return {ShownLabel(field.reportLabel), result, NoValue, field.Format().decimals};
}

// The total less the first phase's energy, labelled and rounded as the first phase's.
constexpr ResultLine SecondPhaseEnergy() {
    ResultLine line = Result(lrTotalEnergy);
    line.text = ResultField(lrEnergy1).reportLabel;
    line.minus = lrEnergy1;
    return line;
}

constexpr ResultLine ResultLines[] = {
    Result(lrActualLoad),
    Result(lrTotalEnergy),
    {""},
    {"--- FIRST PHASE ---"},
    Result(lrEnergy1),
    Result(lrPeakCurrent1),
    Result(lrAvgCurrent1),
    Result(lrPeakVoltage1),
    Result(lrAvgVoltage1),
    Result(lrWidth10_1),
    Result(lrWidth50_1),
    {""},
    {"--- SECOND PHASE ---"},
    SecondPhaseEnergy(),
    Result(lrPeakCurrent2),
    Result(lrAvgCurrent2),
    Result(lrPeakVoltage2),
    Result(lrAvgVoltage2),
    Result(lrWidth10_2),
    {""},
    Result(lrInterphaseDelay),
    Result(lrTilt),
    Result(lrModulationFreq),
    Result(lrDutyCycle),
};

static_assert(HeaderLineCount + std::size(ResultLines) == REPORT_SUMMARY_LINE_COUNT);

consteval bool LabelsFitTheColumn() {
    for (const ResultLine& line : ResultLines)
        if (line.value != NoValue && line.text.size() > LabelWidth)
            return false;
    return true;
}
static_assert(LabelsFitTheColumn(), "every results label fits the 25-character column");

constexpr std::string_view Ruler = "--25-----50-----75----100----125----150----175-";
constexpr std::string_view TestLoadTitle = "------------------ TEST LOAD ------------------";
static_assert(Ruler.size() == REPORT_TABLE_LINE_WIDTH - LabelWidth);
static_assert(TestLoadTitle.size() == Ruler.size());

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Spaces(int count) {
    return QString(count, QLatin1Char(' '));
}

// Writes the table lines of the report into an 8-bit line buffer and widens each finished line.
class TableWriter {
public:
    TableWriter(const TZRTestRec& rec, const QLocale& locale)
        : m_separator(DecimalSeparator(locale)), m_latin1Separator(Latin1Separator(m_separator)) {
        for (int load = 0; load < LOAD_COUNT; ++load)
            m_hasData[load] = rec.Loads[load].HasData != 0;
    }

    // The label (or time column), padded, occupies the first 25 characters; value(load) gives each cell.
    template <typename Value> QString Line(std::string_view label, int decimals, Value value) {
        char* p = m_line;
        std::memset(p, ' ', LabelWidth);
        std::memcpy(p, label.data(), label.size());
        p += LabelWidth;
        for (int load = 0; load < LOAD_COUNT; ++load) {
            if (load > 0) {
                std::memset(p, ' ', CellGap);
                p += CellGap;
            }
            if (m_hasData[load])
                FormatFieldChars(p, value(load), CellWidth, decimals, m_latin1Separator);
            else
                std::memset(p, ' ', CellWidth);
            p += CellWidth;
        }
        return Widen();
    }

    // The 25 characters before the cells of waveform line j: indent, time, gap.
    void TimeColumn(int j, char* label) const {
        std::memset(label, ' ', LabelWidth);
        FormatFieldChars(label + TimeIndent, SampleTime(j), TimeWidth, TimeDecimals, m_latin1Separator);
    }

private:
    QString Widen() const {
        QString line = QString::fromLatin1(m_line, REPORT_TABLE_LINE_WIDTH);
        if (m_separator.unicode() > 0xFF) // a separator outside Latin-1 was written as a comma
            line.replace(QLatin1Char(m_latin1Separator), m_separator);
        return line;
    }

    QChar m_separator;
    char m_latin1Separator;
    bool m_hasData[LOAD_COUNT] = {};
    char m_line[REPORT_TABLE_LINE_WIDTH];
};

void AppendHeader(QStringList& lines, const TZRTestRec& rec, const QLocale& locale) {
    const DateStamp stamp = rec.TestDateTime();
    auto info = [&rec](TDeviceInfoSlot slot) { return PrintableText(rec.GetDeviceInfo(slot)); };
    const QString indent = Spaces(26);

    lines << Spaces(25) + QStringLiteral("CORVEX DEFIBRILLATOR ANALYZER");
    lines << Spaces(30) + QStringLiteral("Velmora Systems Inc.");
    lines << QString();
    lines << Spaces(35) + QStringLiteral("TEST REPORT");
    lines << QString();
    lines << indent + QStringLiteral("DATE OF TEST: ") + FormatStampDate(stamp, locale);
    lines << indent + QStringLiteral("TIME OF TEST: ") + FormatStampTime(stamp, locale);
    lines << indent + QStringLiteral("CORVEX I.D.:  ") + PrintableText(rec.AnalyzerID());
    lines << indent + QStringLiteral("DEVICE I.D.:  ") + info(diDeviceID);
    lines << indent + QStringLiteral("TEST TYPE:    PER IEC 60601-2-4 2002(E)");
    lines << Spaces(40) + QStringLiteral("SECTION 6.8.3");
    lines << QString();
    lines << QStringLiteral("MANUFACTURER: ") + PadInfo(info(diManufacturer)) +
                 QStringLiteral("  MODEL:    ") + PadInfo(info(diModel));
    lines << QStringLiteral("SERIAL NO:    ") + PadInfo(info(diSerialNo)) + QStringLiteral("  FACILITY: ") +
                 PadInfo(info(diFacility));
    lines << QStringLiteral("LOCATION:     ") + PadInfo(info(diLocation)) + QStringLiteral("  TECH ID:  ") +
                 PadInfo(info(diTechID));
    lines << QString();
    lines << Spaces(LabelWidth) + Latin1(TestLoadTitle);
    lines << Spaces(LabelWidth) + Latin1(Ruler);
}

} // namespace

QString PrintableText(const QString& text) {
    QString printable = text;
    for (QChar& c : printable) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            c = QLatin1Char('?');
    }
    return printable;
}

QStringList BuildReportLines(const TZRTestRec& rec, const TLoadResultsTable& table, const QLocale& locale) {
    QStringList lines;
    lines.reserve(REPORT_LINE_COUNT);
    AppendHeader(lines, rec, locale);
    Q_ASSERT(lines.size() == HeaderLineCount);

    TableWriter writer(rec, locale);
    for (const ResultLine& row : ResultLines) {
        if (row.value == NoValue) {
            lines << Latin1(row.text);
            continue;
        }
        lines << writer.Line(row.text, row.decimals, [&](int load) {
            const float value = table.Result(load, row.value);
            return row.minus == NoValue ? value : value - table.Result(load, row.minus);
        });
    }

    lines << Spaces(36) + QStringLiteral("DISCHARGE WAVEFORM DATA (Amps)");
    lines << Spaces(16) + QStringLiteral("TIME     ") + Latin1(TestLoadTitle);
    lines << Spaces(15) + QStringLiteral("(msec)    ") + Latin1(Ruler);
    char timeColumn[LabelWidth];
    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        writer.TimeColumn(j, timeColumn);
        lines << writer.Line(std::string_view(timeColumn, LabelWidth), AmpsDecimals,
                             [&](int load) { return table.Amps(load, j); });
    }
    lines << QString();
    lines << QStringLiteral("END OF DATA");
    return lines;
}

QList<ReportResultRow> ReportResultRows(const QStringList& reportLines) {
    QList<ReportResultRow> rows;
    int index = HeaderLineCount;
    for (const ResultLine& line : ResultLines) {
        const QString text = reportLines.value(index++);
        ReportResultRow row;
        row.label = text.left(LabelWidth).trimmed();
        row.heading = line.value == NoValue;
        if (!row.heading)
            for (int load = 0; load < LOAD_COUNT; ++load)
                row.cells[load] = text.mid(LabelWidth + load * (CellWidth + CellGap), CellWidth).trimmed();
        rows << row;
    }
    return rows;
}
