#include "records/tzrtestrec.h"

#include "records/recordimage.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

void TZRTestRec::ClearTest() {
    std::memset(AnalyzerStatus, 0, sizeof AnalyzerStatus);
    std::memset(DeviceInfo, 0, sizeof DeviceInfo);
    for (TZRTest& load : Loads)
        load.ClearTest();
}

void TZRTestRec::CopyTest(const TZRTestRec& source) {
    if (&source == this)
        return;
    std::memcpy(AnalyzerStatus, source.AnalyzerStatus, sizeof AnalyzerStatus);
    for (int slot = 0; slot < DEVICE_INFO_SLOTS; ++slot) {
        // A bounded string copy: the characters up to the first NUL, zeros after them.
        const char* from = source.DeviceInfo[slot];
        const size_t length = strnlen(from, DEVICE_INFO_SLOT_SIZE);
        std::memset(DeviceInfo[slot], 0, DEVICE_INFO_SLOT_SIZE);
        std::memcpy(DeviceInfo[slot], from, length);
    }
    for (int i = 0; i < LOAD_COUNT; ++i)
        Loads[i].CopyTest(source.Loads[i]);
}

void TZRTestRec::SetDeviceInfo(TDeviceInfoSlot slot, const QString& text) {
    char* target = DeviceInfo[slot];
    std::memset(target, 0, DEVICE_INFO_SLOT_SIZE);
    const QByteArray bytes = text.left(DEVICE_INFO_MAX_CHARS).toLatin1();
    // A NUL typed into the text would end it early when read back; store the characters before it.
    std::memcpy(target, bytes.constData(), strnlen(bytes.constData(), DEVICE_INFO_MAX_CHARS));
}

QString TZRTestRec::GetDeviceInfo(TDeviceInfoSlot slot) const {
    const char* from = DeviceInfo[slot];
    return QString::fromLatin1(from, static_cast<qsizetype>(strnlen(from, DEVICE_INFO_SLOT_SIZE)));
}

QString TZRTestRec::AnalyzerID() const {
    const char* from = reinterpret_cast<const char*>(AnalyzerStatus + ANALYZER_ID_OFFSET);
    return QString::fromLatin1(from, static_cast<qsizetype>(strnlen(from, ANALYZER_ID_SIZE)));
}

DateStamp TZRTestRec::TestDateTime() const {
    DateStamp stamp;
    std::memcpy(&stamp, AnalyzerStatus + TEST_DATE_TIME_OFFSET, sizeof stamp);
    return stamp;
}

bool TZRTestRec::MadeBySimulatedAnalyzer() const {
    return AnalyzerID().startsWith(QLatin1String(SIMULATED_ANALYZER_ID_PREFIX));
}

int TZRTestRec::SaveTestFile(const QString& fileName) const {
    // Written to a temporary file beside the target, which replaces the target only once every byte
    // is on disk: a save that fails half-way (disk full, stick pulled out) keeps the previous copy.
    // Only where no file may be created in the folder, but the target itself may be written, is the
    // target written in place.
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(QStringLiteral("Cannot create file %1").arg(fileName).toStdString());

    const QByteArray bytes = EncodeTestRecord(*this);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return -1;
    }
    return file.commit() ? 0 : -1;
}

int TZRTestRec::LoadTestFile(const QString& fileName, QString& why) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(
            QStringLiteral("Cannot open file %1: %2").arg(fileName, file.errorString()).toStdString());
    // A file of the wrong size is not read at all; one that shrinks while it is read is refused by the
    // decoder, and the record stays as it was either way.
    const qint64 size = file.size();
    if (size != TEST_RECORD_SIZE) {
        why = QStringLiteral("%1 is %2 byte%3; a test record is %4 bytes.")
                  .arg(fileName)
                  .arg(size)
                  .arg(size == 1 ? QString() : QStringLiteral("s"))
                  .arg(TEST_RECORD_SIZE);
        return -1;
    }
    const QByteArray bytes = file.read(TEST_RECORD_SIZE);
    QString decodeWhy;
    if (!DecodeTestRecord(bytes, *this, decodeWhy)) {
        // The system's reason where it gives one; else the file shrank while it was read.
        why = QStringLiteral("%1 could not be read whole (%2).")
                  .arg(fileName, file.error() != QFileDevice::NoError ? file.errorString() : decodeWhy);
        return -1;
    }
    return 0;
}

int TZRTestRec::LoadTestFile(const QString& fileName) {
    QString why;
    return LoadTestFile(fileName, why);
}

bool TZRTestRec::HasLoadData() const {
    for (const TZRTest& load : Loads)
        if (load.HasData != 0)
            return true;
    return false;
}

QString LoadName(int loadIndex) {
    return QStringLiteral("%1 ohms").arg(LoadOhms(loadIndex));
}
