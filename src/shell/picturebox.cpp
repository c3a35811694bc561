#include "shell/picturebox.h"

#include "shell/builtinpictures.h"

#include <QImageReader>
#include <QPainter>

#include <utility>

TPictureBox::TPictureBox(QWidget* parent)
    : QWidget(parent)
{
}

const QImage& TPictureBox::Picture() const
{
    if (!m_pendingFile.isEmpty()) {
        const QString file = std::exchange(m_pendingFile, QString());
        m_picture = ReadBuiltInPicture(file);
    }
    return m_picture;
}

QSize TPictureBox::PictureSize() const
{
    return m_pendingFile.isEmpty() ? m_picture.size() : m_pendingSize;
}

void TPictureBox::SetPicture(const QImage& picture)
{
    m_pendingFile.clear();
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull()) {
        resize(m_picture.size());
    }
    update();
}

void TPictureBox::SetPictureFile(const QString& path, QSize knownSize)
{
    m_picture = QImage();
    m_pendingFile.clear();
    const QSize size = knownSize.isValid() && !path.isEmpty() ? knownSize : QImageReader(path).size();
    if (size.isEmpty()) {
        return; // unreadable: the empty picture
    }
    m_pendingFile = path;
    m_pendingSize = size;
    if (m_autoSize) {
        resize(size);
    }
    update();
}

void TPictureBox::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (m_autoSize && !PictureSize().isEmpty()) {
        resize(PictureSize());
    }
}

void TPictureBox::SetStretch(bool on)
{
    m_stretch = on;
    update();
}

QSize TPictureBox::sizeHint() const
{
    return PictureSize().isEmpty() ? QWidget::sizeHint() : PictureSize();
}

void TPictureBox::paintEvent(QPaintEvent*)
{
    const QImage& picture = Picture();
    if (picture.isNull()) {
        return;
    }
    QPainter p(this);
    if (m_stretch) {
        p.drawImage(rect(), picture);
    } else {
        p.drawImage(0, 0, picture);
    }
}
