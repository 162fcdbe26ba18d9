#include "tools/figures/jpegwriter.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <memory>

namespace figures {
namespace {

// Owns the compressor and the output buffer that libjpeg allocates, on every path.
class Compressor {
public:
    Compressor() {
        // A build tool: libjpeg's own handler prints the reason and ends the program, which is what
        // a failed generation should do.
        m_info.err = jpeg_std_error(&m_errors);
        jpeg_create_compress(&m_info);
        jpeg_mem_dest(&m_info, &m_buffer, &m_size);
    }
    ~Compressor() {
        jpeg_destroy_compress(&m_info);
        std::free(m_buffer);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct& Info() { return m_info; }
    QByteArray Bytes() const {
        return QByteArray(reinterpret_cast<const char*>(m_buffer), qsizetype(m_size));
    }

private:
    jpeg_error_mgr m_errors{};
    jpeg_compress_struct m_info{};
    unsigned char* m_buffer = nullptr;
    unsigned long m_size = 0;
};

} // namespace

QByteArray EncodeJpeg(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Compressor compressor;
    jpeg_compress_struct& info = compressor.Info();
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the row; its interface predates const.
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return compressor.Bytes();
}

} // namespace figures
