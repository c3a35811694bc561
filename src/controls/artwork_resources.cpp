#include "controls/artwork_resources.h"

#include "controls/artwork_table.h"

static void InitQrxResource()
{
    Q_INIT_RESOURCE(qrx);
}

void InitArtworkResources()
{
    static const bool done = [] {
        InitQrxResource();
        return true;
    }();
    (void)done;
}

QString ArtworkResourcePath(const QString& name, int index)
{
    const QByteArray utf8 = name.toUtf8();
    const std::string_view path = ArtworkPath(std::string_view(utf8.constData(), size_t(utf8.size())), index);
    return QString::fromUtf8(path.data(), qsizetype(path.size()));
}

QImage LoadArtwork(const QString& name, int index)
{
    InitArtworkResources();
    const QString path = ArtworkResourcePath(name, index);
    return path.isEmpty() ? QImage() : QImage(path);
}
