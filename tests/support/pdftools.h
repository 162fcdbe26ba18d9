#pragma once
// What the poppler-utils tools (pdfinfo, pdftotext, pdfimages, pdffonts) say about a PDF file.

#include <QProcess>
#include <QRegularExpression>
#include <QString>

// A tool's standard output, empty when it could not be run.
inline QString PopplerOutput(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(20000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline bool HasPoppler() {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-v")});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit;
}

struct PdfInfo {
    int pages = 0;
    double width = 0.0; // points
    double height = 0.0;
};

inline PdfInfo ReadPdfInfo(const QString& path) {
    const QString out = PopplerOutput(QStringLiteral("pdfinfo"), {path});
    PdfInfo info;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    if (pages.hasMatch())
        info.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(out);
    if (size.hasMatch()) {
        info.width = size.captured(1).toDouble();
        info.height = size.captured(2).toDouble();
    }
    return info;
}

// The text as pdftotext -layout lays it out, a form feed after each page.
inline QString PdfText(const QString& path) {
    return PopplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}
