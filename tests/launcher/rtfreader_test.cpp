// The RTF reader: the text it shows for each construct, the formats of its runs, code pages and
// Unicode, and input it does not understand.
#include "app/rtfreader.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const QByteArray& rtf)
{
    return ParseRtf(rtf).PlainText().toStdString();
}

// The run holding text (first match).
CRtfRun RunWith(const CRtfDocument& doc, const QString& text)
{
    for (const CRtfParagraph& p : doc.Paragraphs) {
        for (const CRtfRun& r : p.Runs) {
            if (r.Text.contains(text)) {
                return r;
            }
        }
    }
    ADD_FAILURE() << "no run with " << text.toStdString();
    return {};
}

} // namespace

TEST(RtfReader, TextOfEachConstruct)
{
    struct Case
    {
        const char* name;
        QByteArray rtf;
        std::string text;
    };
    const Case cases[] = {
        { "paragraphs", "{\\rtf1 one\\par two\\par}", "one\ntwo" },
        { "no closing par", "{\\rtf1 one\\par two}", "one\ntwo" },
        { "line break", "{\\rtf1 a\\line b}",
            "a\xe2\x80\xa8"
            "b" },
        { "tab", "{\\rtf1 a\\tab b}", "a\tb" },
        { "delimiting space eaten", "{\\rtf1\\b  bold}", " bold" },
        { "escaped characters", "{\\rtf1 \\{x\\} \\\\}", "{x} \\" },
        { "line ends ignored", "{\\rtf1 a\r\nb}", "ab" },
        { "hex bytes in 1252", "{\\rtf1\\ansi caf\\'e9 \\'80}", "caf\xc3\xa9 \xe2\x82\xac" },
        { "unicode with fallback", "{\\rtf1 \\u8364?x}", "\xe2\x82\xacx" },
        { "negative unicode", "{\\rtf1 \\u-3913?}", "\xef\x82\xb7" },
        { "uc2 fallback of two", "{\\rtf1\\uc2 \\u8364\\'80\\'80x}", "\xe2\x82\xacx" },
        { "uc0 no fallback", "{\\rtf1\\uc0 \\u8364 x}", "\xe2\x82\xacx" },
        { "fallback hex skipped", "{\\rtf1 \\u233\\'e9!}", "\xc3\xa9!" },
        { "font table hidden", "{\\rtf1{\\fonttbl{\\f0\\fswiss Tahoma;}{\\f1 Arial;}}Hi}", "Hi" },
        { "colour table hidden", "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}Hi}", "Hi" },
        { "ignorable destination", "{\\rtf1{\\*\\generator Riched20;}{\\*\\unknownthing x}Hi}", "Hi" },
        { "info hidden", "{\\rtf1{\\info{\\title T}{\\author A}}Hi}", "Hi" },
        { "stylesheet hidden", "{\\rtf1{\\stylesheet{\\s0 Normal;}}Hi}", "Hi" },
        { "field result shown", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt site}}}", "site" },
        { "list bullet text", "{\\rtf1{\\pntext\\'b7\\tab}Item}", "\xc2\xb7\tItem" },
        { "binary skipped", "{\\rtf1 a\\bin4 {}\\zb}", "ab" },
        { "special characters", "{\\rtf1\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~}",
            "\xe2\x80\x94\xe2\x80\x93\xe2\x80\xa2\xe2\x80\x98\xe2\x80\x99\xe2\x80\x9c\xe2\x80\x9d\xc2\xa0" },
        { "unknown words ignored", "{\\rtf1\\viewkind4\\nowidctlpar\\lang1033 Hi}", "Hi" },
        { "bad hex shown as written", "{\\rtf1 a\\'zz}", "a\\'zz" },
        { "unbalanced closing braces", "{\\rtf1 a}}}b}", "ab" },
        { "never closed", "{\\rtf1{\\b a", "a" },
        { "page and section breaks", "{\\rtf1 a\\page b\\sect c}", "a\nb\nc" },
        { "table cells", "{\\rtf1 a\\cell b\\cell\\row c}", "a\tb\t\nc" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(c.rtf), c.text) << c.name;
    }
}

TEST(RtfReader, RunFormats)
{
    const CRtfDocument doc
        = ParseRtf("{\\rtf1{\\fonttbl{\\f0 Tahoma;}{\\f1 Courier New;}}"
                   "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
                   "n \\b b\\b0  \\i i\\i0  \\ul u\\ulnone  \\ul0 x \\strike s\\strike0 "
                   "{\\fs32 big} \\cf1 red\\cf2 green\\cf0  {\\f1 mono} {\\b\\i both}\\plain p}");
    ASSERT_TRUE(doc.IsRtf);
    EXPECT_EQ(RunWith(doc, QStringLiteral("n ")).Format, CRtfCharFormat {});
    EXPECT_TRUE(RunWith(doc, QStringLiteral("b")).Format.Bold);
    EXPECT_TRUE(RunWith(doc, QStringLiteral("i")).Format.Italic);
    EXPECT_TRUE(RunWith(doc, QStringLiteral("u")).Format.Underline);
    EXPECT_FALSE(RunWith(doc, QStringLiteral("x")).Format.Underline);
    EXPECT_TRUE(RunWith(doc, QStringLiteral("s")).Format.Strike);
    EXPECT_EQ(RunWith(doc, QStringLiteral("big")).Format.HalfPoints, 32);
    const CRtfRun red = RunWith(doc, QStringLiteral("red"));
    EXPECT_TRUE(red.Format.HasColor);
    EXPECT_EQ(red.Format.Color, 0xFF0000u);
    EXPECT_EQ(RunWith(doc, QStringLiteral("green")).Format.Color, 0x008000u);
    EXPECT_EQ(RunWith(doc, QStringLiteral("mono")).Format.Family, QStringLiteral("Courier New"));
    EXPECT_FALSE(RunWith(doc, QStringLiteral("mono")).Format.HasColor); // \cf0: the automatic colour
    const CRtfRun bi = RunWith(doc, QStringLiteral("both"));
    EXPECT_TRUE(bi.Format.Bold && bi.Format.Italic);
    // Groups restore the format: "big" did not leak.
    EXPECT_EQ(RunWith(doc, QStringLiteral("red")).Format.HalfPoints, 0);
    const CRtfRun p = RunWith(doc, QStringLiteral("p"));
    EXPECT_FALSE(p.Format.Bold || p.Format.Italic || p.Format.HasColor);
}

TEST(RtfReader, ParagraphFormats)
{
    const CRtfDocument doc
        = ParseRtf("{\\rtf1\\pard\\qc centred\\par\\pard\\qj\\li720\\ri360\\fi-360\\sb120\\sa240 body\\par"
                   "\\pard\\qr right\\par\\pard plain\\par}");
    ASSERT_EQ(doc.Paragraphs.size(), 4);
    EXPECT_EQ(doc.Paragraphs[0].Alignment, CRtfParagraph::Center);
    const CRtfParagraph& body = doc.Paragraphs[1];
    EXPECT_EQ(body.Alignment, CRtfParagraph::Justify);
    EXPECT_EQ(body.LeftIndent, 720);
    EXPECT_EQ(body.RightIndent, 360);
    EXPECT_EQ(body.FirstIndent, -360);
    EXPECT_EQ(body.SpaceBefore, 120);
    EXPECT_EQ(body.SpaceAfter, 240);
    EXPECT_EQ(doc.Paragraphs[2].Alignment, CRtfParagraph::Right);
    EXPECT_EQ(doc.Paragraphs[3].Alignment, CRtfParagraph::Left);
    EXPECT_EQ(doc.Paragraphs[3].LeftIndent, 0);
}

TEST(RtfReader, CodePagesOfTheDocumentAndTheFonts)
{
    struct Case
    {
        const char* name;
        QByteArray rtf;
        QString text;
    };
    const Case cases[] = {
        { "declared Cyrillic code page", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}",
            QStringLiteral("\u041f\u0440\u0438") },
        { "Big5 font character set",
            "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset136 PMingLiU;}}\\f0\\'a7\\'da}",
            QStringLiteral("\u6211") },
        { "default font character set", "{\\rtf1\\deff1{\\fonttbl{\\f1\\fcharset238 Arial CE;}}\\'b9}",
            QStringLiteral("\u0105") },
        { "Symbol font bullet", "{\\rtf1{\\fonttbl{\\f0 Tahoma;}{\\f2\\fcharset2 Symbol;}}{\\f2\\'b7}}",
            QStringLiteral("\u2022") },
        { "unknown code page falls back to 1252", "{\\rtf1\\ansicpg4242 \\'e9}", QStringLiteral("\u00e9") },
        { "Mac Roman", "{\\rtf1\\mac \\'8e}", QStringLiteral("\u00e9") },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseRtf(c.rtf).PlainText(), c.text) << c.name;
    }
}

TEST(RtfReader, InputThatIsNotRtfIsPlainText)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        { "UTF-8", "Caf\xc3\xa9\r\nline 2\n", QStringLiteral("Caf\u00e9\nline 2\n") },
        { "UTF-8 with BOM", "\xef\xbb\xbf\x41\xc3\xa9", QStringLiteral("A\u00e9") },
        { "Windows-1252", "Caf\xe9 \x80", QStringLiteral("Caf\u00e9 \u20ac") },
        { "UTF-16 LE", QByteArray("\xff\xfe\x41\x00\xe9\x00", 6), QStringLiteral("A\u00e9") },
        { "braces without rtf", "{\\b not rtf}", QStringLiteral("{\\b not rtf}") },
        { "empty", "", QString() },
    };
    for (const Case& c : cases) {
        const CRtfDocument doc = ParseRtf(c.bytes);
        EXPECT_FALSE(doc.IsRtf) << c.name;
        EXPECT_EQ(doc.PlainText(), c.text) << c.name;
    }
    EXPECT_TRUE(LooksLikeRtf("\xef\xbb\xbf \r\n{\\rtf1 x}"));
}

TEST(RtfReader, HostileInputStaysBounded)
{
    // Deep nesting, huge numbers, overlong words, a \bin longer than the input.
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(200000, '{');
    deep += "\\b x";
    deep += QByteArray(200000, '}');
    deep += " y}";
    EXPECT_EQ(ParseRtf(deep).PlainText(), QStringLiteral("x y"));
    EXPECT_EQ(
        Text("{\\rtf1\\fs99999999999999999999 a\\cf-5 b\\uc999999 \\u99999999999 c}"), "ab\xef\xbf\xbd");
    EXPECT_EQ(Text("{\\rtf1\\" + QByteArray(10000, 'a') + " z}"), "z");
    EXPECT_EQ(Text("{\\rtf1 a\\bin999999999 bcd}"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\'e"), "a\\'e");
}
