#include "waveform/wavetexts.h"

#include "base/formatfield.h"

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

template <int Index> float Field(const TLoadResults& r) {
    return r[Index];
}

float SecondPhaseEnergy(const TLoadResults& r) {
    // From the corrected values, so it carries the same correction as both terms.
    return r[lrTotalEnergy] - r[lrEnergy1];
}

constexpr std::array<WaveDetailRow, 20> Rows{{
    {"Total Energy:", "lblEnergy", 2, " J", Field<lrTotalEnergy>},
    {"First Phase:", nullptr, 0, "", nullptr},
    {"Energy:", "lblEnergy1", 2, " J", Field<lrEnergy1>},
    {"Peak Current:", "lblAmpsP1", 2, " A", Field<lrPeakCurrent1>},
    {"Average Current:", "lblAmpsA1", 2, " A", Field<lrAvgCurrent1>},
    {"Peak Voltage:", "lblVoltsP1", 2, " V", Field<lrPeakVoltage1>},
    {"Average Voltage:", "lblVoltsA1", 2, " V", Field<lrAvgVoltage1>},
    {"Pulse Width 10%:", "lblWidthPos10", 2, " msec", Field<lrWidth10_1>},
    {"Pulse Width 50%:", "lblWidthPos50", 2, " msec", Field<lrWidth50_1>},
    {"Second Phase:", nullptr, 0, "", nullptr},
    {"Energy:", "lblEnergy2", 2, " J", SecondPhaseEnergy},
    {"Peak Current:", "lblAmpsP2", 2, " A", Field<lrPeakCurrent2>},
    {"Average Current:", "lblAmpsA2", 2, " A", Field<lrAvgCurrent2>},
    {"Peak Voltage:", "lblVoltsP2", 2, " V", Field<lrPeakVoltage2>},
    {"Average Voltage:", "lblVoltsA2", 2, " V", Field<lrAvgVoltage2>},
    {"Pulse Width 10%:", "lblWidthNeg10", 2, " msec", Field<lrWidth10_2>},
    {"Interphase Delay:", "lblDelay", 2, " msec", Field<lrInterphaseDelay>},
    {"Tilt:", "lblTilt", 1, " %", Field<lrTilt>},
    {"Frequency:", "lblFreq", 0, " Hz", Field<lrModulationFreq>},
    {"Duty Cycle:", "lblDuty", 1, " %", Field<lrDutyCycle>},
}};

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
