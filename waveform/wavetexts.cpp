#include "waveform/wavetexts.h"

#include "base/formatfield.h"
#include "records/measurementfields.h"

#include <array>

QString FormatDecimals(double value, int decimals, const QLocale& locale) {
    // The report's fixed-width field, wide enough never to cut, without its padding: the same
    // rounding (half away from zero on the exact value) and the same texts.
    constexpr int Wide = 40;
    return FormatField(value, Wide, decimals, locale).trimmed();
}

QString FormatCurrentReadout(double value, const QLocale& locale) {
    QString plain = FormatDecimals(value, 3, QLocale::c());
    while (plain.endsWith(QLatin1Char('0')))
        plain.chop(1);
    if (plain.endsWith(QLatin1Char('.')))
        plain.chop(1);
    const qsizetype point = plain.indexOf(QLatin1Char('.'));
    const qsizetype signLength = plain.startsWith(QLatin1Char('-')) ? 1 : 0;
    QString whole = plain.mid(signLength, (point < 0 ? plain.size() : point) - signLength);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, locale.groupSeparator());
    QString text = plain.left(signLength) + whole;
    if (point >= 0)
        text += locale.decimalPoint() + plain.mid(point + 1);
    return text;
}

namespace {

template <TLoadResultIndex Index> float Field(const TLoadResults& r) {
    return r[Index];
}

float SecondPhaseEnergy(const TLoadResults& r) {
    // From the corrected values, so it carries the same correction as both terms.
    return r[lrTotalEnergy] - r[lrEnergy1];
}

template <TLoadResultIndex Index> constexpr WaveDetailRow Row() {
    const TMeasurementField& field = ResultField(Index);
    return {ShownLabel(field.caption), ShownLabel(field.valueLabel), field.Format().panelDecimals,
            field.Format().unit, Field<Index>};
}

constexpr WaveDetailRow Heading(const char* caption) {
    return {caption, nullptr, 0, "", nullptr};
}

// Captioned and rounded as the first phase's energy.
constexpr WaveDetailRow SecondPhaseEnergyRow() {
    WaveDetailRow row = Row<lrEnergy1>();
    row.valueLabel = "lblEnergy2";
    row.value = SecondPhaseEnergy;
    return row;
}

// One row a line, as the panel shows them.
// clang-format off
constexpr std::array<WaveDetailRow, 20> Rows{{
    Row<lrTotalEnergy>(),
    Heading("First Phase:"),
    Row<lrEnergy1>(),
    Row<lrPeakCurrent1>(),
    Row<lrAvgCurrent1>(),
    Row<lrPeakVoltage1>(),
    Row<lrAvgVoltage1>(),
    Row<lrWidth10_1>(),
    Row<lrWidth50_1>(),
    Heading("Second Phase:"),
    SecondPhaseEnergyRow(),
    Row<lrPeakCurrent2>(),
    Row<lrAvgCurrent2>(),
    Row<lrPeakVoltage2>(),
    Row<lrAvgVoltage2>(),
    Row<lrWidth10_2>(),
    Row<lrInterphaseDelay>(),
    Row<lrTilt>(),
    Row<lrModulationFreq>(),
    Row<lrDutyCycle>(),
}};
// clang-format on

} // namespace

std::span<const WaveDetailRow> WaveDetailRows() {
    return Rows;
}

QString WaveDetailText(const WaveDetailRow& row, const TLoadResults& results, const QLocale& locale) {
    if (!row.value)
        return QString();
    return FormatDecimals(row.value(results), row.decimals, locale) + QLatin1String(row.unit);
}

QStringList ChartTitleLines(const QString& deviceId, const QString& dateText) {
    return {QStringLiteral("Device ID: ") + deviceId, dateText};
}

SeriesRgb SeriesColour(int position) {
    static constexpr std::array<SeriesRgb, SERIES_PALETTE_SIZE> Palette{{
        {0, 0, 160},   // dark blue
        {255, 0, 0},   // red
        {0, 128, 0},   // green
        {255, 0, 255}, // fuchsia
        {0, 128, 128}, // teal
        {128, 0, 0},   // maroon
        {128, 0, 128}, // purple
    }};
    return position >= 0 && position < SERIES_PALETTE_SIZE ? Palette[position] : Palette[0];
}
