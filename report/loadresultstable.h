#pragma once
// The numbers behind the report and the CSV export: for each load index 0..6 a row of 5138 floats,
// the 18 corrected results (TLoadResults order) followed by the 5120 samples in amperes. Rows of
// loads without data stay zero.

#include "records/loadresults.h"
#include "records/tzrtestrec.h"

#include <span>
#include <vector>

constexpr int LOAD_RESULTS_ROW_SIZE = LOAD_RESULT_COUNT + SAMPLE_COUNT;

class TLoadResultsTable {
public:
    using Row = std::span<const float, LOAD_RESULTS_ROW_SIZE>;

    // All zero. Held on the heap (144 KB): cheap to move, safe on small thread stacks.
    TLoadResultsTable() : m_values(static_cast<size_t>(LOAD_COUNT) * LOAD_RESULTS_ROW_SIZE, 0.0f) {}

    Row LoadRow(int loadIndex) const {
        return Row(m_values.data() + Offset(loadIndex), LOAD_RESULTS_ROW_SIZE);
    }
    std::span<float, LOAD_RESULTS_ROW_SIZE> LoadRow(int loadIndex) {
        return std::span<float, LOAD_RESULTS_ROW_SIZE>(m_values.data() + Offset(loadIndex),
                                                       LOAD_RESULTS_ROW_SIZE);
    }

    float Result(int loadIndex, int resultIndex) const { return LoadRow(loadIndex)[resultIndex]; }
    // Sample j (0..5119) of the load in amperes.
    float Amps(int loadIndex, int j) const { return LoadRow(loadIndex)[LOAD_RESULT_COUNT + j]; }

private:
    static size_t Offset(int loadIndex) { return static_cast<size_t>(loadIndex) * LOAD_RESULTS_ROW_SIZE; }

    std::vector<float> m_values;
};

// ComputeLoadResults and SampleToAmps for every load whose HasData is nonzero.
TLoadResultsTable ComputeLoadResultsTable(const TZRTestRec& rec);
