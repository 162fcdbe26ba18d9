#pragma once
// JPEG encoding with libjpeg for the figure generator.

#include <QByteArray>
#include <QImage>

namespace figures {

// The picture as a baseline JFIF file: full colour resolution (no chroma subsampling, so that thin
// coloured lines and labels stay crisp) and optimised Huffman tables. The same picture always gives
// the same bytes.
QByteArray EncodeJpeg(const QImage& image, int quality);

} // namespace figures
