// The built-in pictures: each file exists in the resources in its listed format and size.
#include "controls/artwork_resources.h"
#include "controls/artwork_table.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QSet>

namespace {

QString Q(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Bits per pixel from a BMP file's header.
int BmpBitCount(const QByteArray& data)
{
    if (data.size() < 30 || !data.startsWith("BM")) {
        return -1;
    }
    return uchar(data[28]) | (uchar(data[29]) << 8);
}

TEST(Artwork, EveryPictureInItsFormatAndSize)
{
    InitArtworkResources();
    QSet<QString> paths;
    for (const TArtworkEntry& e : kArtworkTable) {
        const QString path = Q(e.path);
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(paths.contains(path)) << "each picture has a file of its own";
        paths.insert(path);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        QImageReader reader(path);
        const QByteArray fmt = reader.format();
        if (e.format == "JPEG") {
            EXPECT_EQ(fmt, "jpeg");
        } else if (e.format == "BMP") {
            EXPECT_EQ(fmt, "bmp");
            EXPECT_EQ(BmpBitCount(data), 24);
        } else {
            EXPECT_EQ(fmt, "png");
        }
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.size(), QSize(e.width, e.height));
        if (e.kind == TArtKind::TypeIcon) {
            EXPECT_TRUE(img.hasAlphaChannel());
        }
    }
}

TEST(Artwork, ButtonFacesAreFuchsiaOutsideTheirRoundedShape)
{
    for (const char* name :
        { "ImgBtnN", "ImgBtnH", "ImgBtnD", "ImgBtnSetupWizardN", "ImgBtnSetupWizardD", "ImgBtnUGN",
            "ImgBtnUGD", "ImgBtnProductRegN", "ImgBtnProductRegD", "ImgBtnExitN", "ImgBtnExitD" }) {
        const QImage img = LoadArtwork(QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        const QRgb key = qRgb(255, 0, 255);
        EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, key & 0xFFFFFF) << name;
        EXPECT_EQ(img.pixel(img.width() - 1, img.height() - 1) & 0xFFFFFF, key & 0xFFFFFF) << name;
        EXPECT_NE(img.pixel(img.width() / 2, img.height() / 2) & 0xFFFFFF, key & 0xFFFFFF) << name;
    }
}

TEST(Artwork, TableLookups)
{
    EXPECT_EQ(ArtworkResourcePath(QStringLiteral("ImgBGMain")), QStringLiteral(":/images/ImgBGMain.jpg"));
    EXPECT_EQ(ArtworkResourcePath(QStringLiteral("ImgsType"), 8), QStringLiteral(":/images/ImgsType8.png"));
    EXPECT_TRUE(ArtworkResourcePath(QStringLiteral("ImgsType")).isEmpty());
    EXPECT_TRUE(LoadArtwork(QStringLiteral("NoSuchPicture")).isNull());
    int pictures = 0;
    for (const TArtworkEntry& e : kArtworkTable) {
        pictures += e.kind == TArtKind::Picture;
    }
    EXPECT_EQ(pictures, 23);
}

} // namespace
