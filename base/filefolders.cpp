#include "base/filefolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString Section = QStringLiteral("Folders");

} // namespace

QString LastFolder(const TSettings& settings, const QString& kind) {
    const QString folder = settings.ReadString(Section, kind, QString());
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(TSettings& settings, const QString& kind, const QString& filePath) {
    settings.WriteString(Section, kind, QDir::toNativeSeparators(QFileInfo(filePath).absolutePath()));
}
