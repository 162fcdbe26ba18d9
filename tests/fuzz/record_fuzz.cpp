// Fuzz target: any bytes as a record file, through decoding, the load correction, what the waveform
// viewer computes for each load, the report and the CSV. A crash, a sanitizer report, a failed check
// or "nan"/"inf" in any text is a finding.
//
// The report and the CSV (5167 and 5133 lines) take most of a run. They are built for one input in
// four, picked by the two low bits of the status block's first byte, which nothing else reads (both
// are set in the analyzer's own "C", so every record it writes has its report built): the fuzzer
// still reaches every line of them, and the rest runs four times as often.
#include "base/global.h"
#include "records/loadresults.h"
#include "records/recordimage.h"
#include "records/tzrtestrec.h"
#include "report/csvexport.h"
#include "report/reportlines.h"
#include "tests/fuzz/fuzzcheck.h"
#include "tests/fuzz/viewerchecks.h"

#include <cmath>

namespace {

bool BuildsReport(const TZRTestRec& rec) {
    return (rec.AnalyzerStatus[0] & 3) == 3;
}

void CheckReportAndCsv(const TZRTestRec& rec) {
    const TLoadResultsTable table = ComputeLoadResultsTable(rec);
    const QStringList lines = BuildReportLines(rec, table, QLocale::c());
    FuzzCheck(lines.size() == REPORT_LINE_COUNT, "report line count");
    for (const QString& line : lines)
        FuzzCheck(!HasNonFiniteText(line), "report line holds nan or inf");
    const QByteArray csv = BuildCsv(rec, table, QLocale::c());
    FuzzCheck(csv.count("\r\n") == CSV_LINE_COUNT, "CSV line count");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    auto rec = std::make_unique<TZRTestRec>();
    QString why;
    const bool decoded = DecodeTestRecord(bytes, *rec, why);
    FuzzCheck(decoded == (size == TEST_RECORD_SIZE), "only a record of the right size decodes");
    if (!decoded) {
        FuzzCheck(!why.isEmpty(), "a refused input says why");
        return 0;
    }
    FuzzCheck(EncodeTestRecord(*rec) == bytes, "a record encodes to the bytes it was decoded from");

    for (int load = 0; load < LOAD_COUNT; ++load) {
        const TLoadResults results = ComputeLoadResults(rec->Loads[load], load);
        for (float v : results)
            FuzzCheck(std::isfinite(v), "load result finite");
        CheckViewerOfLoad(rec->Loads[load], results);
    }
    CheckChartTitle(rec->GetDeviceInfo(diDeviceID), FormatStampDateTime(rec->TestDateTime(), QLocale::c()));
    if (BuildsReport(*rec))
        CheckReportAndCsv(*rec);
    return 0;
}
