#include "app/utils.h"

#include <cstring>

QString MacToText(const unsigned char* mac)
{
    if (mac == nullptr) {
        return {};
    }
    return QString::asprintf("%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}

bool IsHexText(const QString& text)
{
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        const bool hex = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
        if (!hex) {
            return false;
        }
    }
    return true;
}

int CopyTextToField(const QString& text, char* field, int size, int maxChars)
{
    if (field == nullptr || size <= 0) {
        return 0;
    }
    std::memset(field, 0, static_cast<std::size_t>(size));
    QByteArray out;
    int chars = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (maxChars >= 0 && chars >= maxChars) {
            break;
        }
        // One whole character (a surrogate pair counts as one).
        qsizetype len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            len = 2;
        }
        const QByteArray bytes = text.mid(i, len).toUtf8();
        if (out.size() + bytes.size() > size - 1) {
            break;
        }
        out += bytes;
        ++chars;
        i += len;
    }
    std::memcpy(field, out.constData(), static_cast<std::size_t>(out.size()));
    return static_cast<int>(out.size());
}

QString FieldToText(const char* field, int size)
{
    if (field == nullptr || size <= 0) {
        return {};
    }
    const void* nul = std::memchr(field, 0, static_cast<std::size_t>(size));
    const qsizetype n = nul ? static_cast<const char*>(nul) - field : size;
    return QString::fromUtf8(field, n);
}
