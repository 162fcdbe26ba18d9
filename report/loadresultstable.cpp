#include "report/loadresultstable.h"

#include <algorithm>

TLoadResultsTable ComputeLoadResultsTable(const TZRTestRec& rec) {
    TLoadResultsTable table;
    for (int load = 0; load < LOAD_COUNT; ++load) {
        const TZRTest& test = rec.Loads[load];
        if (test.HasData == 0)
            continue;
        const TLoadResults results = ComputeLoadResults(test, load);
        const TSampleAmps amps = SampleToAmps(test, results);
        auto row = table.LoadRow(load);
        std::copy(results.begin(), results.end(), row.begin());
        std::copy(amps.begin(), amps.end(), row.begin() + LOAD_RESULT_COUNT);
    }
    return table;
}
