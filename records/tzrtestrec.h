#pragma once
// One whole variable load test: the analyzer's status block, the identity of the device under test
// and the seven loads. A *.zrq file is this structure's byte image, exactly 72424 bytes.

#include "base/datestamp.h"
#include "records/tzrtest.h"

#include <QString>
#include <bit>
#include <stdexcept>

constexpr int TEST_RECORD_SIZE = 72424;
constexpr int ANALYZER_STATUS_SIZE = 37;
constexpr int DEVICE_INFO_SLOTS = 7;
constexpr int DEVICE_INFO_SLOT_SIZE = 32;
constexpr int DEVICE_INFO_MAX_CHARS = DEVICE_INFO_SLOT_SIZE - 1;
constexpr int ANALYZER_ID_OFFSET = 12;
constexpr int ANALYZER_ID_SIZE = 16;
constexpr int TEST_DATE_TIME_OFFSET = 28;
// The analyzer ID the simulated analyzer reports; every simulated one starts with the prefix.
constexpr char SIMULATED_ANALYZER_ID[] = "CVX-SIM-0001";
constexpr char SIMULATED_ANALYZER_ID_PREFIX[] = "CVX-SIM-";

static_assert(std::endian::native == std::endian::little,
              "records and *.zrq files hold little-endian values; a big-endian host needs conversions");

enum TDeviceInfoSlot {
    diDeviceID = 0,
    diSerialNo = 1,
    diManufacturer = 2,
    diModel = 3,
    diFacility = 4,
    diLocation = 5,
    diTechID = 6,
};

// Raised when a record file cannot be opened or created at all; carries the message for the user.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

#pragma pack(push, 1)

class TZRTestRec {
public:
    uint8_t AnalyzerStatus[ANALYZER_STATUS_SIZE];
    char DeviceInfo[DEVICE_INFO_SLOTS][DEVICE_INFO_SLOT_SIZE];
    TZRTest Loads[LOAD_COUNT];

    TZRTestRec() { ClearTest(); }
    ~TZRTestRec() { ClearTest(); }
    TZRTestRec(const TZRTestRec&) = delete;
    TZRTestRec& operator=(const TZRTestRec&) = delete;

    void ClearTest();
    void CopyTest(const TZRTestRec& source);

    void SetDeviceInfo(TDeviceInfoSlot slot, const QString& text);
    QString GetDeviceInfo(TDeviceInfoSlot slot) const;

    // The analyzer's identification from the status block: up to 16 characters, ending at the first NUL.
    QString AnalyzerID() const;
    // The date and time of the test from the status block.
    DateStamp TestDateTime() const;
    // The test was run against the simulated analyzer (its ID starts with SIMULATED_ANALYZER_ID_PREFIX),
    // not against a real device.
    bool MadeBySimulatedAnalyzer() const;

    // The file is the record's byte image (records/recordimage.h).
    // 0 on success, -1 on a short write. The previous file of that name stays as it was unless every
    // byte of the new one has been written. Throws EFileError ("Cannot create file ...").
    int SaveTestFile(const QString& fileName) const;
    // 0 on success, -1 on a wrong size or a short read, with the reason in `why` ("NAME is 1024 bytes;
    // a test record is 72424 bytes."); the record is then left as it was. Throws EFileError
    // ("Cannot open file NAME: the system's reason").
    int LoadTestFile(const QString& fileName, QString& why);
    int LoadTestFile(const QString& fileName);

    // The record holds a test: at least one load has data. Loads left out, skipped or failed have none,
    // so a record of no load is nothing to save, export, print or keep.
    bool HasLoadData() const;
};

#pragma pack(pop)

static_assert(sizeof(TZRTestRec) == TEST_RECORD_SIZE);
static_assert(offsetof(TZRTestRec, AnalyzerStatus) == 0);
static_assert(offsetof(TZRTestRec, DeviceInfo) == 37);
static_assert(offsetof(TZRTestRec, Loads) == 261);
static_assert(offsetof(TZRTestRec, Loads) + 6 * sizeof(TZRTest) == 261 + 6 * 10309);

// A step of the test run or a load to show: a load index 0..6, or 7 for the run's closing step.
using TTestLoad = int8_t;
constexpr TTestLoad CLOSING_STEP = 7;

// "25 ohms" ... "175 ohms" for load index 0..6.
QString LoadName(int loadIndex);
// 25 ... 175 for load index 0..6.
constexpr int LoadOhms(int loadIndex) {
    return loadIndex * 25 + 25;
}
