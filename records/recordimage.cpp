#include "records/recordimage.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <cstring>

namespace {

// The image is read and written one field at a time, each 16-bit value little-endian, so that the file
// format is the same whatever the host's byte order or its packing of the structure.
class TImageWriter {
public:
    explicit TImageWriter(QByteArray& image) : At(reinterpret_cast<uchar*>(image.data())) {}
    void Bytes(const void* from, size_t count) {
        std::memcpy(At, from, count);
        At += count;
    }
    void U8(uint8_t value) { *At++ = value; }
    void U16(uint16_t value) {
        qToLittleEndian(value, At);
        At += sizeof value;
    }
    void I16(int16_t value) { U16(static_cast<uint16_t>(value)); }

private:
    uchar* At;
};

class TImageReader {
public:
    explicit TImageReader(QByteArrayView image) : At(reinterpret_cast<const uchar*>(image.data())) {}
    void Bytes(void* to, size_t count) {
        std::memcpy(to, At, count);
        At += count;
    }
    uint8_t U8() { return *At++; }
    uint16_t U16() {
        const uint16_t value = qFromLittleEndian<uint16_t>(At);
        At += sizeof value;
        return value;
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }

private:
    const uchar* At;
};

// The fields below, added up, are the whole image: nothing of it is left unread or unwritten.
static_assert(sizeof TMeasurementBlock::Head + 17 * 2 + sizeof TMeasurementBlock::Middle + 2 + 1 ==
              MEASUREMENT_BLOCK_SIZE);
static_assert(MEASUREMENT_BLOCK_SIZE + SAMPLE_COUNT * 2 + 1 + 2 == LOAD_RECORD_SIZE);
static_assert(ANALYZER_STATUS_SIZE + DEVICE_INFO_SLOTS * DEVICE_INFO_SLOT_SIZE +
                  LOAD_COUNT * LOAD_RECORD_SIZE ==
              TEST_RECORD_SIZE);

void WriteBlock(TImageWriter& out, const TMeasurementBlock& block) {
    out.Bytes(block.Head, sizeof block.Head);
    for (uint16_t value :
         {block.PeakVoltage1, block.PeakCurrent1, block.Width10_1, block.Width50_1, block.Energy1,
          block.PeakVoltage2, block.PeakCurrent2, block.AvgVoltage1, block.AvgVoltage2, block.AvgCurrent1,
          block.AvgCurrent2, block.Tilt, block.Width10_2, block.InterphaseDelay, block.ModulationFreq,
          block.DutyCycle, block.TotalEnergy})
        out.U16(value);
    out.Bytes(block.Middle, sizeof block.Middle);
    out.U16(block.AnalyzerLoad);
    out.U8(block.Tail);
}

void ReadBlock(TImageReader& in, TMeasurementBlock& block) {
    in.Bytes(block.Head, sizeof block.Head);
    block.PeakVoltage1 = in.U16();
    block.PeakCurrent1 = in.U16();
    block.Width10_1 = in.U16();
    block.Width50_1 = in.U16();
    block.Energy1 = in.U16();
    block.PeakVoltage2 = in.U16();
    block.PeakCurrent2 = in.U16();
    block.AvgVoltage1 = in.U16();
    block.AvgVoltage2 = in.U16();
    block.AvgCurrent1 = in.U16();
    block.AvgCurrent2 = in.U16();
    block.Tilt = in.U16();
    block.Width10_2 = in.U16();
    block.InterphaseDelay = in.U16();
    block.ModulationFreq = in.U16();
    block.DutyCycle = in.U16();
    block.TotalEnergy = in.U16();
    in.Bytes(block.Middle, sizeof block.Middle);
    block.AnalyzerLoad = in.U16();
    block.Tail = in.U8();
}

void WriteLoad(TImageWriter& out, const TZRTest& load) {
    WriteBlock(out, load.Results);
    for (int i = 0; i < SAMPLE_COUNT; ++i)
        out.I16(load.Samples[i]);
    out.U8(load.HasData);
    out.U16(load.AccessoryResistance);
}

void ReadLoad(TImageReader& in, TZRTest& load) {
    ReadBlock(in, load.Results);
    for (int i = 0; i < SAMPLE_COUNT; ++i)
        load.Samples[i] = in.I16();
    load.HasData = in.U8();
    load.AccessoryResistance = in.U16();
}

} // namespace

QByteArray EncodeTestRecord(const TZRTestRec& rec) {
    QByteArray image(TEST_RECORD_SIZE, Qt::Uninitialized);
    TImageWriter out(image);
    out.Bytes(rec.AnalyzerStatus, sizeof rec.AnalyzerStatus);
    out.Bytes(rec.DeviceInfo, sizeof rec.DeviceInfo);
    for (const TZRTest& load : rec.Loads)
        WriteLoad(out, load);
    return image;
}

bool DecodeTestRecord(QByteArrayView bytes, TZRTestRec& rec, QString& why) {
    if (bytes.size() != TEST_RECORD_SIZE) {
        why = QStringLiteral("A test record has %1 bytes, not %2.").arg(TEST_RECORD_SIZE).arg(bytes.size());
        return false;
    }
    TImageReader in(bytes);
    in.Bytes(rec.AnalyzerStatus, sizeof rec.AnalyzerStatus);
    in.Bytes(rec.DeviceInfo, sizeof rec.DeviceInfo);
    for (TZRTest& load : rec.Loads)
        ReadLoad(in, load);
    return true;
}

QString RecordSha256(const TZRTestRec& rec) {
    return RecordSha256(EncodeTestRecord(rec));
}

QString RecordSha256(QByteArrayView bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}
