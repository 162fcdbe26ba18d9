// Fuzz target: any bytes as a record file, through loading, the load correction, the report and the
// CSV. A crash, a sanitizer report, or "nan"/"inf" in any text is a finding.
#include "records/loadresults.h"
#include "records/tzrtestrec.h"
#include "report/csvexport.h"
#include "report/reportlines.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.zrq"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    auto rec = std::make_unique<TZRTestRec>();
    const int loaded = rec->LoadTestFile(path);
    if ((loaded == 0) != (size == TEST_RECORD_SIZE))
        std::abort(); // only a record of the right size loads
    if (loaded != 0)
        return 0;

    for (int load = 0; load < LOAD_COUNT; ++load) {
        const TLoadResults results = ComputeLoadResults(rec->Loads[load], load);
        for (float v : results)
            if (!std::isfinite(v))
                std::abort();
        for (float a : SampleToAmps(rec->Loads[load], results))
            if (!std::isfinite(a))
                std::abort();
    }
    const TLoadResultsTable table = ComputeLoadResultsTable(*rec);
    const QStringList lines = BuildReportLines(*rec, table, QLocale::c());
    if (lines.size() != 5167)
        std::abort();
    for (const QString& line : lines)
        if (line.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
            line.contains(QLatin1String("inf"), Qt::CaseInsensitive))
            std::abort();
    const QByteArray csv = BuildCsv(*rec, table, QLocale::c());
    if (csv.count("\r\n") != 5133)
        std::abort();
    return 0;
}
