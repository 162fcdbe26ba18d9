#include "cli/recordinput.h"

#include "records/recordimage.h"

#include <QFile>
#include <QFileInfo>

std::optional<QByteArray> ReadRecordBytes(const QString& path, QString& error) {
    const QFileInfo info(path);
    auto fail = [&](const QString& problem) {
        error = QStringLiteral("%1: %2").arg(path, problem);
        return std::nullopt;
    };
    if (!info.exists())
        return fail(QStringLiteral("no such file"));
    if (info.isDir())
        return fail(QStringLiteral("is a folder, not a test record"));
    if (!info.isFile())
        return fail(QStringLiteral("is not a regular file"));

    // Read here, once, so that an unreadable file says why and its size is the size of what is read.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot be read (%1)").arg(file.errorString()));
    const qint64 size = file.size();
    if (size != TEST_RECORD_SIZE)
        return fail(QStringLiteral("holds %1 byte%2 where a test record holds %3")
                        .arg(size)
                        .arg(size == 1 ? QString() : QStringLiteral("s"))
                        .arg(TEST_RECORD_SIZE));
    QByteArray bytes = file.read(TEST_RECORD_SIZE);
    if (bytes.size() != TEST_RECORD_SIZE)
        return fail(QStringLiteral("could not be read whole"));
    return bytes;
}

std::unique_ptr<TZRTestRec> ReadTestRecord(const QString& path, QString& error) {
    const std::optional<QByteArray> bytes = ReadRecordBytes(path, error);
    if (!bytes)
        return nullptr;
    auto rec = std::make_unique<TZRTestRec>();
    QString why;
    if (!DecodeTestRecord(*bytes, *rec, why)) {
        error = QStringLiteral("%1: could not be read whole").arg(path);
        return nullptr;
    }
    return rec;
}

std::unique_ptr<TZRTestRec> ReadTestRecord(const QString& path, QTextStream& err) {
    QString error;
    auto rec = ReadTestRecord(path, error);
    if (!rec)
        err << "zrqtool: " << error << '\n';
    return rec;
}

bool OutputIsTheRecord(const QString& input, const QString& output, const char* kind, QTextStream& err) {
    if (QFileInfo(output).canonicalFilePath() != QFileInfo(input).canonicalFilePath())
        return false;
    err << "zrqtool: " << output << ": is the test record itself; the " << kind
        << " file needs another name\n";
    return true;
}
