#pragma once
// JPEG pictures decoded with libjpeg: the connection diagram and the jumper figures built into the
// program, or any JPEG bytes. A damaged, truncated or foreign picture gives a readable error instead
// of garbage or a crash.

#include <QByteArray>
#include <QImage>
#include <QString>

struct JpegImageResult {
    QImage image;  // null when decoding failed
    QString error; // empty when decoding succeeded

    bool ok() const { return error.isEmpty(); }
};

// Decodes a whole JPEG file from its first byte. Anything libjpeg warns about (data ending early,
// corrupt entropy-coded data, stray bytes) counts as an error: such a picture would show garbage.
JpegImageResult DecodeJpeg(const QByteArray& bytes);

// Resource name of the jumper figure of a load (index 0..6 = 25..175 ohms): "JPG_FIG025" ... "JPG_FIG175".
QString FigureResourceName(int loadIndex);
// Resource name of the start window's connection diagram.
inline constexpr char kConnectionFigure[] = "JPG_CONNECTION";

// Decodes one of the built-in pictures by its resource name.
JpegImageResult LoadFigure(const QString& resourceName);
