#pragma once
// Reader of classic INI settings files. It accepts every file the Windows private-profile reader
// accepts: section and key names compare without regard to letter case, spaces around names and
// values are trimmed, one pair of surrounding quotes is removed from a value, lines starting with
// ';' or '#' are comments, lines without '=' are ignored, the first of repeated sections (and the
// first of repeated keys inside it) is the one read, a value is cut at 2047 characters, and a key
// present with an empty value gives the empty text. The file is UTF-8 (byte order mark optional)
// when its bytes are valid UTF-8, Windows-1252 otherwise.
//
// Every read looks at the file: the parsed content is reused only while the file's size,
// modification time and identity are unchanged.

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>

class CIniReader
{
public:
    explicit CIniReader(const QString& fileName);
    virtual ~CIniReader() = default;

    const QString& FileName() const { return fileName_; }

    // The value of the key in the section, or def when the file, section or key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The value read by the integer rule below, or def when missing, empty or not a number.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // ReadInteger(section, key, def ? 1 : 0) != 0.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // True when the section (any letter case) is in the file.
    bool SectionExists(const QString& section) const;

    // The value of the key, or nothing when missing (no default involved).
    std::optional<QString> Find(const QString& section, const QString& key) const;

    // Longest value returned; longer ones are cut.
    static constexpr int MaxValueLength = 2047;

    // The integer rule of the settings store: a text of at least three characters beginning with
    // "0x" or "0X" is hexadecimal; a text beginning with "$" is hexadecimal; otherwise a signed
    // decimal integer. Hexadecimal values take up to 32 bits (0xFFFFFFFF is -1). Anything else
    // (empty, words, trailing garbage, out of range) gives nothing.
    static std::optional<int> ParseInteger(const QString& text);

    // Decodes the bytes of a settings file: UTF-8 (BOM removed) when valid, else Windows-1252.
    static QString DecodeText(const QByteArray& bytes);

private:
    struct Section
    {
        QHash<QString, QString> values; // case-folded key -> value
    };
    void Refresh() const;

    QString fileName_;
    mutable QHash<QString, Section> sections_; // case-folded section name -> section
    mutable bool loaded_ = false;
    mutable qint64 size_ = -1;
    mutable QDateTime modified_;
    mutable quint64 inode_ = 0;
};
