#include "records/recordimage.h"

#include "records/measurementfields.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <cstring>

namespace {

// The image is read and written one part at a time, each 16-bit value little-endian, so that the file
// format is the same whatever the host's byte order.
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

// The loads, added up, are the whole image: nothing of it is left unread or unwritten.
static_assert(MEASUREMENT_BLOCK_SIZE + SAMPLE_COUNT * 2 + 1 + 2 == LOAD_RECORD_SIZE);
static_assert(ANALYZER_STATUS_SIZE + DEVICE_INFO_SLOTS * DEVICE_INFO_SLOT_SIZE +
                  LOAD_COUNT * LOAD_RECORD_SIZE ==
              TEST_RECORD_SIZE);

// The block's bytes as the analyzer sent them but for the named fields, each little-endian in the image.
void WriteBlock(TImageWriter& out, const TMeasurementBlock& block) {
    uchar bytes[MEASUREMENT_BLOCK_SIZE];
    std::memcpy(bytes, &block, sizeof bytes);
    for (const TMeasurementField& field : MeasurementFields)
        qToLittleEndian(FieldCounts(block, field), bytes + field.offset);
    out.Bytes(bytes, sizeof bytes);
}

void ReadBlock(TImageReader& in, TMeasurementBlock& block) {
    uchar bytes[MEASUREMENT_BLOCK_SIZE];
    in.Bytes(bytes, sizeof bytes);
    std::memcpy(&block, bytes, sizeof bytes);
    for (const TMeasurementField& field : MeasurementFields)
        SetFieldCounts(block, field, qFromLittleEndian<uint16_t>(bytes + field.offset));
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
