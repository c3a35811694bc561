#pragma once
// The pictures built into the program (Qt resources), by the image form's component names.

#include <QImage>
#include <QList>
#include <QString>

// The resource path of the built-in picture of that name (the resources registered); empty for an
// unknown name.
QString BuiltInPicturePath(const QString& name);
// The nine 16 x 16 icons of the survey lists, in index order.
QList<QImage> BuiltInSurveyIcons();

// Reads a picture built into the program. The JPEG and 24-bit BMP pictures are decoded straight
// from the program's data (the same pixels as the general image reader gives, without its search
// for format plugins, which costs about a millisecond at start-up); any other picture, or one these
// decoders do not take, goes through the general reader. A path outside the program's resources is
// read by the general reader as well.
QImage ReadBuiltInPicture(const QString& path);
// The two decoders: RGB32 pictures, or the null image for data they do not take (anything but an
// uncompressed 24-bit BMP, or a 3-component JPEG; damaged or cut data).
QImage DecodeBmp24(const unsigned char* data, qint64 size);
QImage DecodeJpeg(const unsigned char* data, qint64 size);
