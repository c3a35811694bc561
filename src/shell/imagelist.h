#pragma once
// A list of small pictures of one size (the survey lists' icons).

#include <QList>
#include <QObject>
#include <QPixmap>

class TImageList : public QObject
{
    Q_OBJECT
public:
    explicit TImageList(QObject* owner = nullptr, int width = 16, int height = 16)
        : QObject(owner)
        , m_width(width)
        , m_height(height)
    {
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return static_cast<int>(m_images.size()); }
    const QList<QPixmap>& Images() const { return m_images; }
    void Add(const QPixmap& image) { m_images.append(image); }
    void Clear() { m_images.clear(); }

private:
    int m_width;
    int m_height;
    QList<QPixmap> m_images;
};
