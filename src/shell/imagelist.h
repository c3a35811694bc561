#pragma once
// A list of small pictures of one size (the survey lists' icons).

#include <QList>
#include <QObject>
#include <QPixmap>

#include <functional>
#include <utility>

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
    int Count() const { return static_cast<int>(Loaded().size()); }
    const QList<QPixmap>& Images() const { return Loaded(); }
    void Add(const QPixmap& image)
    {
        Loaded();
        m_images.append(image);
    }
    void Clear()
    {
        m_loader = nullptr;
        m_images.clear();
    }
    // The pictures are made by loader when the list is first used (start-up does not wait for
    // pictures nobody shows yet); in place of what the list held.
    void SetLoader(std::function<QList<QPixmap>()> loader)
    {
        m_images.clear();
        m_loader = std::move(loader);
    }

private:
    const QList<QPixmap>& Loaded() const
    {
        if (m_loader) {
            const auto loader = std::exchange(m_loader, nullptr);
            m_images = loader();
        }
        return m_images;
    }

    int m_width;
    int m_height;
    mutable QList<QPixmap> m_images;
    mutable std::function<QList<QPixmap>()> m_loader;
};
