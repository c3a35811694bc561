#include "shell/builtinpictures.h"

#include "controls/artwork_table.h"

namespace {
QImage LoadResource(std::string_view path)
{
    if (path.empty()) {
        return {};
    }
    return QImage(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}
} // namespace

QImage BuiltInPicture(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    return LoadResource(ArtworkPath(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()))));
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
