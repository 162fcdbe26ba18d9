#include "base/uifonts.h"

#include <QFontDatabase>
#include <QStandardPaths>
#include <QStringList>

namespace {

const QString DesignedWindowFamily = QStringLiteral("Tahoma");

// The windows are laid out for Tahoma. Where it is not installed, Wine's Tahoma stands in: it has the
// same character widths (Debian's fonts-wine; its line is two pixels lower at 8 points), so every text
// takes the width it was laid out for. Fontconfig does not list Wine's font folder, so the program adds
// the two files itself.
void AddDesignedWindowFont() {
    static const bool added = [] {
        if (QFontDatabase::hasFamily(DesignedWindowFamily))
            return true;
        for (const QString& file :
             {QStringLiteral("wine/fonts/tahoma.ttf"), QStringLiteral("wine/fonts/tahomabd.ttf")}) {
            const QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation, file);
            if (!path.isEmpty())
                QFontDatabase::addApplicationFont(path);
        }
        return true;
    }();
    Q_UNUSED(added);
}

} // namespace

QFont WindowFont(int pointSize) {
    AddDesignedWindowFont();
    QFont font;
    font.setFamilies(
        {DesignedWindowFamily, QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

QFont ReportFont(int pointSize) {
    // Liberation Mono has Courier New's metrics (Debian's fonts-liberation): the report's columns and the
    // printout's lines come out as designed.
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
}
