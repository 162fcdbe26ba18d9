// Whole reports and CSV files of fixed records against their golden files.
#include "report/csvexport.h"
#include "report/reportlines.h"
#include "tests/report/golden.h"
#include "tests/report/goldenrecords.h"

#include <gtest/gtest.h>

namespace {

class Golden : public ::testing::TestWithParam<GoldenRecord> {};

TEST_P(Golden, ReportMatchesGoldenFile) {
    const auto rec = GetParam().make();
    const QStringList lines = BuildReportLines(*rec, ComputeLoadResultsTable(*rec), QLocale::c());
    EXPECT_TRUE(MatchesGolden(QStringLiteral("report/%1.txt").arg(GetParam().name), ReportText(lines)));
}

TEST_P(Golden, CsvMatchesGoldenFile) {
    const auto rec = GetParam().make();
    const QByteArray csv = BuildCsv(*rec, ComputeLoadResultsTable(*rec), QLocale::c());
    EXPECT_TRUE(MatchesGolden(QStringLiteral("report/%1.csv").arg(GetParam().name), csv));
}

INSTANTIATE_TEST_SUITE_P(Records, Golden, ::testing::ValuesIn(GoldenRecords()),
                         [](const auto& param) { return param.param.name.toStdString(); });

} // namespace
