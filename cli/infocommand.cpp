#include "base/global.h"
#include "cli/command.h"
#include "cli/recordinput.h"
#include "base/formatfield.h"
#include "records/measurementfields.h"
#include "report/loadresultstable.h"
#include "report/reportlines.h"

namespace {

struct InfoColumn {
    const char* title;
    int result;
    int decimals;
};

// The same decimals as the report's results rows.
constexpr InfoColumn Column(TLoadResultIndex result) {
    const TMeasurementField& field = ResultField(result);
    return {ShownLabel(field.infoTitle), result, field.Format().decimals};
}

constexpr InfoColumn LoadColumns[] = {
    Column(lrActualLoad),
    Column(lrTotalEnergy),
    Column(lrPeakCurrent1),
    Column(lrPeakVoltage1),
};
constexpr int LoadNameWidth = 9;
constexpr int LabelWidth = 17;

} // namespace

int RunInfoCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const auto rec = ReadTestRecord(args.at(0), err);
    if (!rec)
        return ExitFailure;
    const QLocale locale;
    const DateStamp stamp = rec->TestDateTime();
    auto line = [&out](const char* label, const QString& value) {
        out << QString::fromLatin1(label).leftJustified(LabelWidth)
            << (value.isEmpty() ? QStringLiteral("(none)") : PrintableText(value)) << '\n';
    };
    line("Analyzer ID:", rec->AnalyzerID());
    line("Date of test:", FormatStampDate(stamp, locale));
    line("Time of test:", FormatStampTime(stamp, locale));
    line("Device ID:", rec->GetDeviceInfo(diDeviceID));
    line("Serial number:", rec->GetDeviceInfo(diSerialNo));
    line("Manufacturer:", rec->GetDeviceInfo(diManufacturer));
    line("Model:", rec->GetDeviceInfo(diModel));
    line("Facility:", rec->GetDeviceInfo(diFacility));
    line("Location:", rec->GetDeviceInfo(diLocation));
    line("Technician ID:", rec->GetDeviceInfo(diTechID));

    int tested = 0;
    for (const TZRTest& load : rec->Loads)
        tested += load.HasData != 0 ? 1 : 0;
    if (tested == 0) {
        line("Loads with data:", QString());
        return ExitSuccess;
    }
    line("Loads with data:", QStringLiteral("%1 of %2").arg(tested).arg(LOAD_COUNT));
    out << '\n' << QStringLiteral("Load").leftJustified(LoadNameWidth);
    for (const InfoColumn& column : LoadColumns)
        out << "  " << column.title;
    out << '\n';
    const TLoadResultsTable table = ComputeLoadResultsTable(*rec);
    for (int load = 0; load < LOAD_COUNT; ++load) {
        if (rec->Loads[load].HasData == 0)
            continue;
        out << LoadName(load).leftJustified(LoadNameWidth);
        for (const InfoColumn& column : LoadColumns) {
            const int width = static_cast<int>(qstrlen(column.title));
            out << "  " << FormatField(table.Result(load, column.result), width, column.decimals, locale);
        }
        out << '\n';
    }
    return ExitSuccess;
}
