#include "shell/picturebox.h"

#include <QPainter>

TPictureBox::TPictureBox(QWidget* parent)
    : QWidget(parent)
{
}

void TPictureBox::SetPicture(const QImage& picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull()) {
        resize(m_picture.size());
    }
    update();
}

void TPictureBox::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (m_autoSize && !m_picture.isNull()) {
        resize(m_picture.size());
    }
}

void TPictureBox::SetStretch(bool on)
{
    m_stretch = on;
    update();
}

QSize TPictureBox::sizeHint() const
{
    return m_picture.isNull() ? QWidget::sizeHint() : m_picture.size();
}

void TPictureBox::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull()) {
        return;
    }
    QPainter p(this);
    if (m_stretch) {
        p.drawImage(rect(), m_picture);
    } else {
        p.drawImage(0, 0, m_picture);
    }
}
