#pragma once
// A picture control: shows one image at its top-left corner, like a form's picture component.
// With AutoSize on it takes the size of every picture it is given.

#include <QImage>
#include <QString>
#include <QWidget>

class TPictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // The picture; one given as a file is read from it on this first use.
    const QImage& Picture() const;
    void SetPicture(const QImage& picture);
    // Takes the picture of an image file (or resource) without reading it yet: only its size is
    // read now (or taken as given, for a picture whose size is known), the pixels when the picture
    // is first used. A file that cannot be read gives the empty picture.
    void SetPictureFile(const QString& path, QSize knownSize = {});

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);

    // Stretches the picture over the whole control instead of drawing it at its own size.
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QSize PictureSize() const;

    mutable QImage m_picture;
    // The file of a picture not read yet, and the size its header gives.
    mutable QString m_pendingFile;
    QSize m_pendingSize;
    bool m_autoSize = false;
    bool m_stretch = false;
};
