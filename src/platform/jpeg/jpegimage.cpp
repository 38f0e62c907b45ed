#include "jpegimage.h"

#include <QByteArray>
#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg's default error handler calls exit(); this one jumps back into decodeJpeg with the
// message. Nothing with a destructor lives between setjmp and the jump.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void failDecoding(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    errors->base.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (a truncated stream that libjpeg pads with a fake end marker) are errors here:
// a picture with grey bands is not a picture to print.
void warnDecoding(j_common_ptr info, int level)
{
    if (level < 0)
        failDecoding(info);
}

void copyScanline(const jpeg_decompress_struct &info, const JSAMPLE *line, QImage &image, int y)
{
    if (info.out_color_space == JCS_GRAYSCALE) {
        std::copy_n(line, info.output_width, image.scanLine(y));
        return;
    }
    auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (JDIMENSION x = 0; x < info.output_width; ++x) {
        const JSAMPLE *pixel = line + x * info.output_components;
        if (info.out_color_space == JCS_CMYK) {
            // Adobe writes CMYK inverted: the stored values are already 255 - ink.
            const int k = pixel[3];
            out[x] = qRgb(pixel[0] * k / 255, pixel[1] * k / 255, pixel[2] * k / 255);
        } else {
            out[x] = qRgb(pixel[0], pixel[1], pixel[2]);
        }
    }
}

bool decodeInto(jpeg_decompress_struct &info, ErrorManager &errors, const QByteArray &data,
                QImage &image)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_GRAYSCALE)
        info.out_color_space = JCS_GRAYSCALE;
    else if (info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK)
        info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height),
                   info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8
                                                         : QImage::Format_RGB32);
    if (image.isNull()) {
        std::snprintf(errors.message, sizeof errors.message, "picture too large");
        return false;
    }
    const int rowBytes = int(info.output_width) * info.output_components;
    JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
                                                JPOOL_IMAGE, JDIMENSION(rowBytes), 1);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        jpeg_read_scanlines(&info, line, 1);
        copyScanline(info, line[0], image, y);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &data, QString *error)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failDecoding;
    errors.base.emit_message = warnDecoding;

    QImage image;
    const bool decoded = !data.isEmpty() && decodeInto(info, errors, data, image);
    jpeg_destroy_decompress(&info);
    if (decoded)
        return image;
    if (error) {
        *error = data.isEmpty()
                     ? QStringLiteral("пустые данные JPEG")
                     : QStringLiteral("ошибка JPEG: %1").arg(QString::fromLocal8Bit(errors.message));
    }
    return {};
}

QImage decodeJpegFile(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("не удалось открыть «%1»: %2").arg(fileName, file.errorString());
        return {};
    }
    return decodeJpeg(file.readAll(), error);
}
