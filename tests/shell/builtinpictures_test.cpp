// The decoders of the built-in pictures against the general image reader, what they refuse, and
// the icon list that is filled on first use.
#include "controls/artwork_table.h"
#include "shell/builtinpictures.h"
#include "shell/imagelist.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

// A picture with a different colour in every pixel; odd width, so BMP rows carry padding.
QImage Pattern(int width = 37, int height = 13)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 19) & 0xFF, (x * y) & 0xFF));
        }
    }
    return image;
}

QByteArray Encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality));
    return bytes;
}

QImage Bmp(const QByteArray& bytes)
{
    return DecodeBmp24(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
}

QImage Jpeg(const QByteArray& bytes)
{
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
}

void PutU32(QByteArray& bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

TEST(BuiltInPictures, BmpDecoderGivesTheGeneralReadersPixelsBothRowOrders)
{
    const QImage original = Pattern();
    const QByteArray bmp = Encoded(original, "BMP");
    ASSERT_EQ(quint8(bmp[28]), 24); // a 24-bit file, as the built-in faces are
    const QImage decoded = Bmp(bmp);
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_EQ(decoded, QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(decoded, original);

    // The same rows stored top-down (a negative height).
    QByteArray topDown = bmp;
    const int offset = int(qFromLittleEndian<quint32>(bmp.constData() + 10));
    const int stride = (original.width() * 3 + 3) & ~3;
    const int height = original.height();
    for (int y = 0; y < height; ++y) {
        topDown.replace(offset + y * stride, stride, bmp.mid(offset + (height - 1 - y) * stride, stride));
    }
    PutU32(topDown, 22, quint32(-height));
    EXPECT_EQ(Bmp(topDown), original);
}

TEST(BuiltInPictures, BmpDecoderRefusesWhatItDoesNotTake)
{
    const QByteArray bmp = Encoded(Pattern(), "BMP");
    struct
    {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        { "empty", QByteArray() },
        { "header cut", bmp.left(40) },
        { "pixels cut", bmp.left(bmp.size() - 10) },
        { "not BMP", QByteArray("XM") + bmp.mid(2) },
        { "32-bit",
            [&] {
                QByteArray b = bmp;
                b[28] = 32;
                return b;
            }() },
        { "compressed",
            [&] {
                QByteArray b = bmp;
                PutU32(b, 30, 1);
                return b;
            }() },
        { "zero width",
            [&] {
                QByteArray b = bmp;
                PutU32(b, 18, 0);
                return b;
            }() },
        { "pixels beyond the end",
            [&] {
                QByteArray b = bmp;
                PutU32(b, 10, quint32(b.size() - 4));
                return b;
            }() },
        { "huge",
            [&] {
                QByteArray b = bmp;
                PutU32(b, 18, 0x7FFFFFFF);
                return b;
            }() },
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Bmp(c.bytes).isNull()) << c.what;
    }
    EXPECT_TRUE(DecodeBmp24(nullptr, 100).isNull());
}

TEST(BuiltInPictures, JpegDecoderGivesTheGeneralReadersPixels)
{
    const QByteArray jpeg = Encoded(Pattern(64, 48), "JPG", 90);
    const QImage decoded = Jpeg(jpeg);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_EQ(decoded, QImage::fromData(jpeg, "JPG"));
}

// A damaged JPEG comes back null instead of ending the program (libjpeg's own error handler
// would), and the general reader gets the pictures it does not take.
TEST(BuiltInPictures, JpegDecoderRefusesDamagedDataWithoutEndingTheProgram)
{
    const QByteArray jpeg = Encoded(Pattern(64, 48), "JPG", 90);
    EXPECT_TRUE(Jpeg(QByteArray()).isNull());
    EXPECT_TRUE(Jpeg(QByteArray("not a picture at all")).isNull());
    EXPECT_TRUE(Jpeg(jpeg.left(20)).isNull());
    // A 12-bit frame: libjpeg stops with an error.
    QByteArray twelveBit = jpeg;
    const qsizetype frame = twelveBit.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    twelveBit[frame + 4] = char(12);
    EXPECT_TRUE(Jpeg(twelveBit).isNull());
    EXPECT_TRUE(Jpeg(Encoded(Pattern(16, 16).convertToFormat(QImage::Format_Grayscale8), "JPG")).isNull());
}

TEST(BuiltInPictures, EveryBuiltInPictureReadsAsTheGeneralReaderReadsIt)
{
    for (const TArtworkEntry& e : kArtworkTable) {
        const QString path = QString::fromUtf8(e.path.data(), qsizetype(e.path.size()));
        const QImage image = ReadBuiltInPicture(path);
        ASSERT_FALSE(image.isNull()) << e.path;
        EXPECT_EQ(image, QImage(path)) << e.path;
    }
    // Outside the program's resources the general reader reads.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.bmp"));
    ASSERT_TRUE(Pattern().save(file));
    EXPECT_EQ(ReadBuiltInPicture(file), Pattern());
    EXPECT_TRUE(ReadBuiltInPicture(dir.filePath(QStringLiteral("missing.jpg"))).isNull());
    EXPECT_TRUE(ReadBuiltInPicture(QStringLiteral(":/images/missing.jpg")).isNull());
}

TEST(ImageList, ALoaderFillsTheListOnFirstUseAndOnlyOnce)
{
    TImageList list;
    int calls = 0;
    QPixmap a(16, 16);
    a.fill(Qt::red);
    list.SetLoader([&] {
        ++calls;
        return QList<QPixmap> { a, a };
    });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Images().size(), 2);
    list.Add(a);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(calls, 1);

    // Adding before any use keeps the loaded pictures first; Clear drops a pending loader.
    TImageList early;
    early.SetLoader([&] { return QList<QPixmap> { a }; });
    early.Add(QPixmap(16, 16));
    EXPECT_EQ(early.Count(), 2);
    TImageList cleared;
    cleared.SetLoader([&] { return QList<QPixmap> { a }; });
    cleared.Clear();
    EXPECT_EQ(cleared.Count(), 0);
}
