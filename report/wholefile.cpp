#include "report/wholefile.h"

#include "records/tzrtestrec.h"

#include <QSaveFile>

void WriteWholeFile(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(QStringLiteral("Cannot create file %1: %2")
                             .arg(fileName, file.errorString())
                             .toLocal8Bit()
                             .toStdString());
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw EFileError(
            QStringLiteral("Cannot write file %1: %2").arg(fileName, reason).toLocal8Bit().toStdString());
    }
}
