#include "shell/builtinpictures.h"

#include "controls/artwork_table.h"

#include <QtGlobal>

// The resources live in a static library: register them before the first look-up, since the
// linker may leave out their automatic registration.
static void EnsureResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(qrx);
        return true;
    }();
    (void)registered;
}

namespace {
QImage LoadResource(std::string_view path)
{
    if (path.empty()) {
        return {};
    }
    EnsureResources();
    return QImage(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}
} // namespace

QString BuiltInPicturePath(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    const std::string_view path
        = ArtworkPath(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    if (path.empty()) {
        return {};
    }
    EnsureResources();
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

QList<QImage> BuiltInSurveyIcons()
{
    QList<QImage> icons;
    for (const TArtworkEntry& e : kArtworkTable) {
        if (e.kind == TArtKind::TypeIcon) {
            icons.append(LoadResource(e.path));
        }
    }
    return icons;
}
