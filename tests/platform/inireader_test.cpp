// The settings file reader: private-profile syntax, encodings, the integer and boolean rules.
#include "platform/core/inireader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class IniReaderTest : public ::testing::Test
{
protected:
    QString Write(const QByteArray& bytes, const QString& name = QStringLiteral("settings.ini"))
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(IniReaderTest, PrivateProfileSyntax)
{
    const QString path = Write("; leading comment\r\n"
                               "stray=outside any section\r\n"
                               "[Product]\r\n"
                               "  ShortName  =  QRX-700  \r\n"
                               "Quoted=\"  spaced value  \"\r\n"
                               "Single='single'\r\n"
                               "HalfQuote=\"open only\r\n"
                               "Inner=a \"quoted\" word\r\n"
                               "Empty=\r\n"
                               "Spaces=    \r\n"
                               "no equals sign here\r\n"
                               "# hash comment=ignored\r\n"
                               "; ShortName=commented\r\n"
                               "ShortName=second copy\r\n"
                               "Equals=a=b=c\r\n"
                               "[ Message ]\r\n"
                               "Hello=World\r\n"
                               "[PRODUCT]\r\n"
                               "OnlyInRepeat=x\r\n"
                               "[Tab]\n"
                               "\tKey\t=\tvalue\t\n");
    const CIniReader r(path);
    const QString def = QStringLiteral("<def>");
    struct Case
    {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        { "Product", "ShortName", "QRX-700" }, // spaces trimmed, first of repeated keys
        { "product", "SHORTNAME", "QRX-700" }, // names compare without letter case
        { "Product", "Quoted", "  spaced value  " }, // one pair of quotes removed, inside kept
        { "Product", "Single", "single" },
        { "Product", "HalfQuote", "\"open only" },
        { "Product", "Inner", "a \"quoted\" word" },
        { "Product", "Empty", "" }, // present but empty: the empty text, not the default
        { "Product", "Spaces", "" },
        { "Product", "no equals sign here", "<def>" },
        { "Product", "# hash comment", "<def>" },
        { "Product", "Equals", "a=b=c" },
        { "Product", "OnlyInRepeat", "<def>" }, // the first of repeated sections is the one read
        { "Product", "stray", "<def>" },
        { "Message", "Hello", "World" }, // spaces inside brackets trimmed
        { " Message ", " Hello ", "World" },
        { "Tab", "Key", "value" },
        { "Missing", "Hello", "<def>" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), def),
            QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;
    }
    EXPECT_TRUE(r.SectionExists(QStringLiteral("message")));
    EXPECT_FALSE(r.SectionExists(QStringLiteral("Missing")));
}

TEST_F(IniReaderTest, MissingFileGivesDefaults)
{
    const CIniReader r(dir.filePath(QStringLiteral("absent.ini")));
    EXPECT_EQ(r.ReadString(QStringLiteral("Product"), QStringLiteral("ShortName"), QStringLiteral("QRX-512")),
        QStringLiteral("QRX-512"));
    EXPECT_EQ(r.ReadInteger(QStringLiteral("A"), QStringLiteral("B"), 7), 7);
    EXPECT_TRUE(r.ReadBool(QStringLiteral("A"), QStringLiteral("B"), true));
}

TEST_F(IniReaderTest, LongValueIsCutAt2047Characters)
{
    const QByteArray value(3000, 'v');
    const CIniReader r(Write("[S]\nK=" + value + "\n"));
    const QString got = r.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString());
    EXPECT_EQ(got.size(), 2047);
    EXPECT_EQ(got, QString(2047, u'v'));
}

TEST_F(IniReaderTest, Utf8WithAndWithoutBom)
{
    const QByteArray body = "[String]\nName=Caf\xC3\xA9 \xE2\x82\xAC\n";
    const CIniReader plain(Write(body, QStringLiteral("a.ini")));
    const CIniReader bom(Write("\xEF\xBB\xBF" + body, QStringLiteral("b.ini")));
    const QString expected = QStringLiteral("Caf\u00E9 \u20AC");
    EXPECT_EQ(plain.ReadString(QStringLiteral("String"), QStringLiteral("Name"), QString()), expected);
    EXPECT_EQ(bom.ReadString(QStringLiteral("String"), QStringLiteral("Name"), QString()), expected);
}

TEST_F(IniReaderTest, Windows1252File)
{
    // Not valid UTF-8: e-acute, euro sign, left/right double quotes, o-umlaut in a section name.
    const CIniReader r(Write("[Gr\xF6\xDF"
                             "e]\nText=Caf\xE9 \x80 \x96 \x93quoted\x94\n"));
    EXPECT_EQ(r.ReadString(QStringLiteral("GR\u00D6\u00DFE"), QStringLiteral("text"), QString()),
        QStringLiteral("Caf\u00E9 \u20AC \u2013 \u201Cquoted\u201D"));
}

TEST_F(IniReaderTest, ChangedFileIsReadAgain)
{
    const QString path = Write("[S]\nK=one\n");
    const CIniReader r(path);
    EXPECT_EQ(r.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("one"));
    Write("[S]\nK=two, longer\n");
    EXPECT_EQ(
        r.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("two, longer"));
    QFile::remove(path);
    EXPECT_EQ(r.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("gone")),
        QStringLiteral("gone"));
}

TEST(IniIntegerRule, Table)
{
    struct Case
    {
        const char* text;
        std::optional<int> expected;
    };
    const Case cases[] = {
        { "0", 0 },
        { "1", 1 },
        { "-1", -1 },
        { "+12", 12 },
        { "2147483647", 2147483647 },
        { "-2147483648", INT32_MIN },
        { "2147483648", std::nullopt },
        { "0x10", 16 },
        { "0X1f", 31 },
        { "0x0", 0 },
        { "0xFFFFFFFF", -1 },
        { "0x", std::nullopt }, // fewer than three characters: decimal, which fails
        { "0xZZ", std::nullopt },
        { "$10", 16 },
        { "$", std::nullopt },
        { "", std::nullopt },
        { "yes", std::nullopt },
        { "true", std::nullopt },
        { "12abc", std::nullopt },
        { "1 2", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CIniReader::ParseInteger(QString::fromUtf8(c.text)), c.expected) << c.text;
    }
}

TEST_F(IniReaderTest, BooleanRuleTable)
{
    const CIniReader r(Write("[Setting]\n"
                             "One=1\nMinusOne=-1\nHex10=0x10\nZero=0\nHex0=0x0\nHex1=0x1\n"
                             "Yes=yes\nTrue=true\nEmpty=\nDollar=$0\n"));
    struct Case
    {
        const char* key;
        bool def;
        bool expected;
    };
    const Case cases[] = {
        { "One", false, true },
        { "MinusOne", false, true },
        { "Hex10", false, true },
        { "Hex1", false, true },
        { "Zero", true, false },
        { "Hex0", true, false },
        { "Dollar", true, false },
        { "Yes", false, false }, // words give the default
        { "Yes", true, true },
        { "True", false, false },
        { "True", true, true },
        { "Empty", false, false }, // present but empty: the default
        { "Empty", true, true },
        { "Missing", true, true },
        { "Missing", false, false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.ReadBool(QStringLiteral("setting"), QString::fromUtf8(c.key), c.def), c.expected)
            << c.key << " default " << c.def;
    }
}

} // namespace
