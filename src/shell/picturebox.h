#pragma once
// A picture control: shows one image at its top-left corner, like a form's picture component.
// With AutoSize on it takes the size of every picture it is given.

#include <QImage>
#include <QWidget>

class TPictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);

    // Stretches the picture over the whole control instead of drawing it at its own size.
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage m_picture;
    bool m_autoSize = false;
    bool m_stretch = false;
};
