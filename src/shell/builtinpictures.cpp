#include "shell/builtinpictures.h"

#include "controls/artwork_table.h"

#include <QResource>
#include <QtGlobal>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

// The resources live in a static library: register them before the first look-up, since the
// linker may leave out their automatic registration.
static void EnsureResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(qrx);
        return true;
    }();
    (void)registered;
}

namespace {

std::uint32_t U32At(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
        | std::uint32_t(p[3]) << 24;
}

// An uncompressed 24-bit BMP (BITMAPINFOHEADER or later, rows bottom-up or top-down) into RGB32;
// the null image for anything else.
QImage Bmp24(const unsigned char* data, qint64 size)
{
    if (size < 54 || data[0] != 'B' || data[1] != 'M') {
        return {};
    }
    const std::uint32_t offset = U32At(data + 10);
    const std::uint32_t header = U32At(data + 14);
    const auto width = std::int32_t(U32At(data + 18));
    const auto rawHeight = std::int32_t(U32At(data + 22));
    const unsigned bits = unsigned(data[28]) | unsigned(data[29]) << 8;
    const std::uint32_t compression = U32At(data + 30);
    if (header < 40 || bits != 24 || compression != 0 || width <= 0 || rawHeight == 0 || width > 16384
        || rawHeight > 16384 || rawHeight < -16384) {
        return {};
    }
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const qint64 stride = (qint64(width) * 3 + 3) & ~qint64(3);
    if (offset > size || stride * height > size - qint64(offset)) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = data + offset + stride * (bottomUp ? height - 1 - y : y);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, src += 3) {
            dst[x] = qRgb(src[2], src[1], src[0]);
        }
    }
    return image;
}

struct CJpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<CJpegError*>(info->err)->jump, 1);
}

void JpegNoMessage(j_common_ptr) { }

// The libjpeg calls of one JPEG, with C locals only, since an error leaves them by longjmp. With
// bits null only the size is read; otherwise the pixels go into bits as RGB32 rows (the size must
// be the one read before). False on any error.
bool RunJpeg(const unsigned char* data, qint64 size, int& width, int& height, uchar* bits, qsizetype stride)
{
    jpeg_decompress_struct info;
    CJpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.output_message = JpegNoMessage;
    jpeg_create_decompress(&info);
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.num_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (!bits) {
        width = int(info.image_width);
        height = int(info.image_height);
        jpeg_destroy_decompress(&info);
        return width > 0 && height > 0;
    }
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    if (int(info.output_width) != width || int(info.output_height) != height) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bits + stride * qsizetype(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// A JPEG into RGB32 through libjpeg, as the general reader does; the null image on any error.
QImage Jpeg(const unsigned char* data, qint64 size)
{
    int width = 0;
    int height = 0;
    if (!RunJpeg(data, size, width, height, nullptr, 0) || width > 16384 || height > 16384) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull() || !RunJpeg(data, size, width, height, image.bits(), image.bytesPerLine())) {
        return {};
    }
    return image;
}

QImage LoadResource(std::string_view path)
{
    if (path.empty()) {
        return {};
    }
    EnsureResources();
    return ReadBuiltInPicture(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}
} // namespace

QImage DecodeBmp24(const unsigned char* data, qint64 size)
{
    return data ? Bmp24(data, size) : QImage();
}

QImage DecodeJpeg(const unsigned char* data, qint64 size)
{
    return data && size > 0 ? Jpeg(data, size) : QImage();
}

QImage ReadBuiltInPicture(const QString& path)
{
    if (path.startsWith(u':')) {
        EnsureResources();
        const QResource resource(path);
        if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression) {
            const auto* data = resource.data();
            const qint64 size = resource.size();
            QImage image;
            if (path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) {
                image = DecodeJpeg(data, size);
            } else if (path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)) {
                image = DecodeBmp24(data, size);
            }
            if (!image.isNull()) {
                return image;
            }
        }
    }
    return QImage(path);
}

QString BuiltInPicturePath(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    const std::string_view path
        = ArtworkPath(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    if (path.empty()) {
        return {};
    }
    EnsureResources();
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

QList<QImage> BuiltInSurveyIcons()
{
    QList<QImage> icons;
    for (const TArtworkEntry& e : kArtworkTable) {
        if (e.kind == TArtKind::TypeIcon) {
            icons.append(LoadResource(e.path));
        }
    }
    return icons;
}
