#include "report/csvexport.h"

#include "base/formatfield.h"
#include "records/measurementfields.h"
#include "report/wholefile.h"

#include <cstring>
#include <string_view>

namespace {

constexpr int FieldWidth = 5;
constexpr int TimeWidth = 7;
constexpr int TimeDecimals = 4;
constexpr int AmpsDecimals = 2;
// Room for the whole file: thirteen lines of labels and results (the longest label is 24
// characters) and the waveform rows of eight quoted fields, seven commas and CR LF.
constexpr int MaxResultLineLength = 2 + 32 + LOAD_COUNT * (3 + FieldWidth) + 2;
constexpr int WaveformLineLength = 2 + TimeWidth + LOAD_COUNT * (3 + FieldWidth) + 2;
constexpr int CsvCapacity = 13 * MaxResultLineLength + SAMPLE_COUNT * WaveformLineLength;

struct CsvRow {
    std::string_view label; // at most 32 characters
    int value;              // TLoadResults index, or NoValue for a label-only row
    int decimals;
};
constexpr int NoValue = -1;

constexpr CsvRow Exported(TLoadResultIndex result) {
    const TMeasurementField& field = ResultField(result);
    return {ShownLabel(field.csvLabel), result, field.Format().decimals};
}

constexpr CsvRow ResultRows[] = {
    Exported(lrActualLoad),
    Exported(lrTotalEnergy),
    Exported(lrPeakVoltage1),
    Exported(lrPeakCurrent1),
    Exported(lrWidth10_1),
    Exported(lrWidth50_1),
    Exported(lrPeakVoltage2),
    Exported(lrPeakCurrent2),
    Exported(lrWidth10_2),
    // No field of the record holds these two; they are written as labels alone.
    {"WIDTH (-) @ 50% (msec)", NoValue, 0},
    {"WIDTH TOTAL @ 10% (msec)", NoValue, 0},
};

consteval bool LabelsFitTheCapacity() {
    for (const CsvRow& row : ResultRows)
        if (row.label.size() > 32)
            return false;
    return true;
}
static_assert(LabelsFitTheCapacity());

// Appends to a buffer that was sized for the whole file up front.
class CsvWriter {
public:
    CsvWriter(QByteArray& out, char separator) : m_out(out), m_separator(separator) {}

    void Text(std::string_view text) {
        Separate();
        *m_p++ = '"';
        std::memcpy(m_p, text.data(), text.size());
        m_p += text.size();
        *m_p++ = '"';
    }
    void Number(double value, int width, int decimals) {
        Separate();
        *m_p++ = '"';
        FormatFieldChars(m_p, value, width, decimals, m_separator);
        m_p += width;
        *m_p++ = '"';
    }
    void EndLine() {
        *m_p++ = '\r';
        *m_p++ = '\n';
        m_first = true;
    }
    void Finish() {
        const qsizetype length = m_p - m_out.data();
        Q_ASSERT(length <= m_out.size());
        m_out.truncate(length);
    }

private:
    void Separate() {
        if (!m_first)
            *m_p++ = ',';
        m_first = false;
    }

    QByteArray& m_out;
    char* m_p = m_out.data();
    char m_separator;
    bool m_first = true;
};

} // namespace

QByteArray BuildCsv(const TZRTestRec& rec, const TLoadResultsTable& table, const QLocale& locale) {
    QByteArray out(CsvCapacity, Qt::Uninitialized);
    const QChar separator = DecimalSeparator(locale);
    CsvWriter csv(out, separator.unicode() <= 0xFF ? static_cast<char>(separator.unicode()) : '.');

    for (std::string_view field : {"TEST LOAD", "25", "50", "75", "100", "125", "150", "175"})
        csv.Text(field);
    csv.EndLine();

    // The table's rows of loads without data are zero already; the flags make it certain.
    bool hasData[LOAD_COUNT];
    for (int load = 0; load < LOAD_COUNT; ++load)
        hasData[load] = rec.Loads[load].HasData != 0;

    for (const CsvRow& row : ResultRows) {
        csv.Text(row.label);
        if (row.value != NoValue)
            for (int load = 0; load < LOAD_COUNT; ++load)
                csv.Number(hasData[load] ? table.Result(load, row.value) : 0.0f, FieldWidth, row.decimals);
        csv.EndLine();
    }

    csv.Text("TIME (msec)");
    csv.Text("WAVEFORM DATA");
    csv.EndLine();

    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        csv.Number(SampleTime(j), TimeWidth, TimeDecimals);
        for (int load = 0; load < LOAD_COUNT; ++load)
            csv.Number(hasData[load] ? table.Amps(load, j) : 0.0f, FieldWidth, AmpsDecimals);
        csv.EndLine();
    }
    csv.Finish();
    return out;
}

void WriteCsvFile(const QString& fileName, const QByteArray& csv) {
    WriteWholeFile(fileName, csv);
}
