#include "platform/core/inireader.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// Windows-1252 characters of the bytes 0x80..0x9F (0 where the code page leaves a hole: those
// bytes are taken as the same-numbered control characters).
constexpr char16_t kCp1252High[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

bool IsValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) {
            return false;
        }
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

QString Trimmed(const QString& s)
{
    // Spaces and tabs around names and values.
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t')) {
        ++b;
    }
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t')) {
        --e;
    }
    return s.mid(b, e - b);
}

QString FoldName(const QString& name)
{
    return name.toCaseFolded();
}

std::optional<qint64> ParseHex(QStringView digits)
{
    while (digits.size() > 1 && digits[0] == u'0') {
        digits = digits.mid(1);
    }
    if (digits.isEmpty() || digits.size() > 8) {
        return std::nullopt;
    }
    qint64 v = 0;
    for (QChar ch : digits) {
        const char16_t u = ch.unicode();
        int d = -1;
        if (u >= u'0' && u <= u'9') {
            d = u - u'0';
        } else if (u >= u'a' && u <= u'f') {
            d = u - u'a' + 10;
        } else if (u >= u'A' && u <= u'F') {
            d = u - u'A' + 10;
        }
        if (d < 0) {
            return std::nullopt;
        }
        v = v * 16 + d;
    }
    return v;
}

} // namespace

CIniReader::CIniReader(const QString& fileName)
    : fileName_(fileName)
{
}

QString CIniReader::DecodeText(const QByteArray& bytes)
{
    if (IsValidUtf8(bytes)) {
        QByteArray b = bytes;
        if (b.startsWith("\xEF\xBB\xBF")) {
            b.remove(0, 3);
        }
        return QString::fromUtf8(b);
    }
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 && u <= 0x9F && kCp1252High[u - 0x80] != 0) {
            out.append(QChar(kCp1252High[u - 0x80]));
        } else {
            out.append(QChar(static_cast<char16_t>(u)));
        }
    }
    return out;
}

void CIniReader::Refresh() const
{
    struct stat st
    {
    };
    const QByteArray path = QFile::encodeName(fileName_);
    if (fileName_.isEmpty() || ::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        sections_.clear();
        loaded_ = false;
        size_ = -1;
        return;
    }
    const QDateTime modified = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000, Qt::UTC);
    if (loaded_ && size_ == st.st_size && modified_ == modified && inode_ == st.st_ino) {
        return;
    }
    sections_.clear();
    loaded_ = false;
    QFile f(fileName_);
    if (!f.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString text = DecodeText(f.readAll());
    size_ = st.st_size;
    modified_ = modified;
    inode_ = st.st_ino;
    loaded_ = true;

    QHash<QString, bool> seenSections;
    Section* current = nullptr; // null: outside any section, or inside a repeated one
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    for (QStringView raw : lines) {
        if (raw.endsWith(u'\r')) {
            raw.chop(1);
        }
        const QString line = Trimmed(raw.toString());
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close > 0) {
                const QString name = FoldName(Trimmed(line.mid(1, close - 1)));
                if (seenSections.contains(name)) {
                    current = nullptr; // the first of repeated sections is the one read
                } else {
                    seenSections.insert(name, true);
                    current = &sections_[name];
                }
                continue;
            }
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || current == nullptr) {
            continue;
        }
        const QString key = FoldName(Trimmed(line.left(eq)));
        if (key.isEmpty() || current->values.contains(key)) {
            continue;
        }
        QString value = Trimmed(line.mid(eq + 1));
        if (value.size() >= 2
            && ((value.startsWith(u'"') && value.endsWith(u'"'))
                || (value.startsWith(u'\'') && value.endsWith(u'\'')))) {
            value = value.mid(1, value.size() - 2);
        }
        current->values.insert(key, value);
    }
}

std::optional<QString> CIniReader::Find(const QString& section, const QString& key) const
{
    Refresh();
    const auto s = sections_.constFind(FoldName(Trimmed(section)));
    if (s == sections_.constEnd()) {
        return std::nullopt;
    }
    const auto v = s->values.constFind(FoldName(Trimmed(key)));
    if (v == s->values.constEnd()) {
        return std::nullopt;
    }
    QString value = *v;
    if (value.size() > MaxValueLength) {
        // Cut by characters; never leave half of a surrogate pair.
        qsizetype n = MaxValueLength;
        if (value.at(n - 1).isHighSurrogate()) {
            --n;
        }
        value.truncate(n);
    }
    return value;
}

QString CIniReader::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const auto v = Find(section, key);
    return v ? *v : def;
}

bool CIniReader::SectionExists(const QString& section) const
{
    Refresh();
    return sections_.contains(FoldName(Trimmed(section)));
}

std::optional<int> CIniReader::ParseInteger(const QString& text)
{
    if (text.size() >= 3 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const auto v = ParseHex(QStringView(text).mid(2));
        if (!v) {
            return std::nullopt;
        }
        return static_cast<int>(static_cast<quint32>(*v));
    }
    QStringView t(text);
    bool negative = false;
    if (!t.isEmpty() && (t[0] == u'+' || t[0] == u'-')) {
        negative = t[0] == u'-';
        t = t.mid(1);
    }
    if (t.startsWith(u'$')) {
        const auto v = ParseHex(t.mid(1));
        if (!v) {
            return std::nullopt;
        }
        const auto u = static_cast<quint32>(*v);
        return static_cast<int>(negative ? 0u - u : u);
    }
    if (t.isEmpty() || t.size() > 10) {
        return std::nullopt;
    }
    qint64 v = 0;
    for (QChar ch : t) {
        if (ch.unicode() < u'0' || ch.unicode() > u'9') {
            return std::nullopt;
        }
        v = v * 10 + (ch.unicode() - u'0');
    }
    if (negative) {
        v = -v;
    }
    if (v < INT32_MIN || v > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(v);
}

int CIniReader::ReadInteger(const QString& section, const QString& key, int def) const
{
    const auto v = Find(section, key);
    if (!v) {
        return def;
    }
    const auto n = ParseInteger(*v);
    return n ? *n : def;
}

bool CIniReader::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}
