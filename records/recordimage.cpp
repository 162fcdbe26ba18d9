#include "records/recordimage.h"

#include <QCryptographicHash>
#include <cstring>

QByteArray EncodeTestRecord(const TZRTestRec& rec) {
    return QByteArray(reinterpret_cast<const char*>(&rec), TEST_RECORD_SIZE);
}

bool DecodeTestRecord(QByteArrayView bytes, TZRTestRec& rec, QString& why) {
    if (bytes.size() != TEST_RECORD_SIZE) {
        why = QStringLiteral("A test record has %1 bytes, not %2.").arg(TEST_RECORD_SIZE).arg(bytes.size());
        return false;
    }
    std::memcpy(static_cast<void*>(&rec), bytes.data(), TEST_RECORD_SIZE);
    return true;
}

QString RecordSha256(const TZRTestRec& rec) {
    return RecordSha256(EncodeTestRecord(rec));
}

QString RecordSha256(QByteArrayView bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}
