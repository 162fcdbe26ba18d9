// Draws the connection diagram and the seven jumper figures and writes them as JPEG files into the
// folder given. Built with the rest of the program but run only by hand, after a change to a drawing:
//
//   cmake --build build --target makefigures && build/bin/makefigures resources/figures
//
// then look at the pictures and commit them. The output is the same on every run (no time stamps, no
// randomness, fonts loaded from their files).

#include "tools/figures/drawkit.h"
#include "tools/figures/figurelayout.h"
#include "tools/figures/figures.h"
#include "tools/figures/jpegwriter.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

namespace {

constexpr int kQuality = 90;

bool WriteJpeg(const QDir& folder, const QString& name, const QImage& image, QTextStream& out) {
    const QByteArray bytes = figures::EncodeJpeg(image, kQuality);
    QSaveFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        out << "makefigures: cannot write " << file.fileName() << ": " << file.errorString() << Qt::endl;
        return false;
    }
    out << file.fileName() << "  " << image.width() << " x " << image.height() << "  " << bytes.size()
        << " bytes" << Qt::endl;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // Text needs a GUI application object; no screen is needed to paint into an image.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        out << "usage: makefigures OUTPUT-FOLDER   (normally resources/figures)" << Qt::endl;
        return 2;
    }
    QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        out << "makefigures: cannot create " << folder.path() << Qt::endl;
        return 1;
    }
    QString error;
    if (!figures::LoadFigureFonts(error)) {
        out << "makefigures: " << error << Qt::endl;
        return 1;
    }

    bool ok = WriteJpeg(folder, QStringLiteral("connection.jpg"), figures::DrawConnectionDiagram(), out);
    for (int load = 0; load < figures::kLoadCount; ++load) {
        const QString name =
            QStringLiteral("jumper%1.jpg").arg(figures::LoadOhms(load), 3, 10, QLatin1Char('0'));
        ok = WriteJpeg(folder, name, figures::DrawJumperFigure(load), out) && ok;
    }
    return ok ? 0 : 1;
}
