#include "base/jpegimage.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <limits>

#include <jpeglib.h>

// Registers the pictures compiled into this library (figures.qrc); outside any namespace, as
// Q_INIT_RESOURCE requires.
static void RegisterFigureResources() {
    Q_INIT_RESOURCE(figures);
}

namespace {

// A damaged header may claim up to 65500 x 65500 pixels; refuse anything far beyond a figure before
// taking memory for it.
constexpr qint64 kMaxPixels = qint64(1) << 26;

struct ErrorState {
    jpeg_error_mgr manager; // first, so that libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" {

// libjpeg's own handler would end the program. Jump back to the decoding step that is running instead;
// the steps below keep their frames free of C++ objects with destructors, so nothing is skipped.
[[noreturn]] static void FailDecoding(j_common_ptr info) {
    ErrorState* state = reinterpret_cast<ErrorState*>(info->err);
    (*info->err->format_message)(info, state->message);
    std::longjmp(state->jump, 1);
}

// Level -1 is a warning: data ending early, corrupt entropy-coded data, stray bytes. libjpeg would
// patch over it and deliver garbage; the picture counts as damaged. Trace messages are dropped.
static void OnMessage(j_common_ptr info, int level) {
    if (level < 0)
        FailDecoding(info);
}

static void DropMessage(j_common_ptr) {}

} // extern "C"

// The decompressor and its error state, destroyed on every path.
struct Decompressor {
    Decompressor() {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = FailDecoding;
        errors.manager.emit_message = OnMessage;
        errors.manager.output_message = DropMessage;
    }
    ~Decompressor() {
        // Safe before creation (no memory manager yet) and after any failure.
        jpeg_destroy_decompress(&info);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    ErrorState errors{};
    jpeg_decompress_struct info{};
};

// The two steps that call into libjpeg, each with its own jump target. False, with the reason in
// errors.message, when libjpeg failed or warned.
bool ReadHeader(Decompressor& d, const unsigned char* data, unsigned long size) {
    if (setjmp(d.errors.jump) != 0)
        return false;
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, data, size);
    jpeg_read_header(&d.info, TRUE);
    // Grey pictures too come out as RGB; a colour space libjpeg cannot turn into RGB fails here.
    d.info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&d.info);
    return true;
}

bool ReadPixels(Decompressor& d, unsigned char* bits, qsizetype bytesPerLine) {
    if (setjmp(d.errors.jump) != 0)
        return false;
    jpeg_start_decompress(&d.info);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = bits + qsizetype(d.info.output_scanline) * bytesPerLine;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) {
            std::snprintf(d.errors.message, sizeof d.errors.message, "Decoding stopped before the last line");
            return false;
        }
    }
    // Reads on to the end marker, so that a file cut short after its last line is caught too.
    jpeg_finish_decompress(&d.info);
    return true;
}

JpegImageResult Failure(const QString& error) {
    return JpegImageResult{QImage(), error};
}

QString DecodingError(const Decompressor& d) {
    return QStringLiteral("The JPEG picture cannot be decoded: %1.")
        .arg(QString::fromLocal8Bit(d.errors.message));
}

} // namespace

JpegImageResult DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return Failure(QStringLiteral("The picture is empty."));
    if (bytes.size() < 2 || uchar(bytes[0]) != 0xFF || uchar(bytes[1]) != 0xD8)
        return Failure(QStringLiteral("The picture is not a JPEG image."));
    if (quint64(bytes.size()) > std::numeric_limits<unsigned long>::max())
        return Failure(QStringLiteral("The JPEG picture is too large."));

    Decompressor d;
    if (!ReadHeader(d, reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size())))
        return Failure(DecodingError(d));

    const qint64 width = d.info.output_width;
    const qint64 height = d.info.output_height;
    const QString size = QStringLiteral("%1 x %2 pixels").arg(width).arg(height);
    if (d.info.output_components != 3)
        return Failure(QStringLiteral("The JPEG picture cannot be decoded: it does not give RGB colours."));
    if (width * height > kMaxPixels)
        return Failure(QStringLiteral("The JPEG picture is too large to show (%1).").arg(size));
    QImage image(int(width), int(height), QImage::Format_RGB888);
    if (image.isNull())
        return Failure(QStringLiteral("There is not enough memory for the JPEG picture (%1).").arg(size));

    if (!ReadPixels(d, image.bits(), image.bytesPerLine()))
        return Failure(DecodingError(d));
    return JpegImageResult{image, QString()};
}

QString FigureResourceName(int loadIndex) {
    return QStringLiteral("JPG_FIG%1").arg(25 * loadIndex + 25, 3, 10, QLatin1Char('0'));
}

JpegImageResult LoadFigure(const QString& resourceName) {
    static const bool registered = (RegisterFigureResources(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/figures/") + resourceName);
    if (!file.open(QIODevice::ReadOnly))
        return Failure(QStringLiteral("The picture %1 is missing from the program.").arg(resourceName));
    JpegImageResult result = DecodeJpeg(file.readAll());
    if (!result.ok())
        result.error = QStringLiteral("Picture %1: %2").arg(resourceName, result.error);
    return result;
}
