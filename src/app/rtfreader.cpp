#include "app/rtfreader.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Windows-1252 characters of the bytes 0x80..0x9F (0: a hole, taken as the control character).
constexpr char16_t kCp1252High[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

// The code page of the Symbol font (character set 2): Latin-1 with the bullet in its place.
constexpr int kSymbolCodePage = 42;

QString Decode1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        if (u >= 0x80 && u <= 0x9F && kCp1252High[u - 0x80] != 0) {
            out.append(QChar(kCp1252High[u - 0x80]));
        } else {
            out.append(QChar(u));
        }
    }
    return out;
}

const char* CodePageName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    default:
        return nullptr;
    }
}

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = d.decode(bytes);
    return !d.hasError();
}

QString DecodePlain(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        return QString::fromUtf8(bytes);
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return d.decode(bytes.mid(2));
    }
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes);
    }
    return Decode1252(bytes);
}

struct CFont
{
    QString Name;
    int Charset = -1;
};

enum class TDest { Normal, Skip, FontTable, ColorTable };

struct CState
{
    CRtfCharFormat Format;
    int Font = -1; // \fN in force, -1 = the default font
    int SkipPerUnicode = 1; // \ucN
    TDest Dest = TDest::Normal;
    CRtfParagraph::Align Align = CRtfParagraph::Left;
    int LeftIndent = 0;
    int RightIndent = 0;
    int FirstIndent = 0;
    int SpaceBefore = 0;
    int SpaceAfter = 0;
};

// Groups deeper than this share their parent's state (their braces are still counted).
constexpr int kMaxDepth = 512;

class CRtfParser
{
public:
    explicit CRtfParser(const QByteArray& data)
        : m_data(data)
    {
    }

    CRtfDocument Run()
    {
        m_doc.IsRtf = true;
        m_doc.Paragraphs.append(CRtfParagraph {});
        const qsizetype n = m_data.size();
        while (m_pos < n) {
            const char c = m_data[m_pos++];
            switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                CloseGroup();
                break;
            case '\\':
                ControlWord();
                break;
            case '\r':
            case '\n':
                break;
            default:
                TextByte(static_cast<unsigned char>(c));
                break;
            }
        }
        Flush();
        FinishParagraph();
        // The closing \par of the last paragraph leaves an empty one behind.
        if (m_doc.Paragraphs.size() > 1 && m_doc.Paragraphs.last().Runs.isEmpty()) {
            m_doc.Paragraphs.removeLast();
        }
        return std::move(m_doc);
    }

private:
    // ---- groups
    void OpenGroup()
    {
        Flush();
        m_skipFallback = 0;
        if (int(m_stack.size()) < kMaxDepth) {
            m_stack.push_back(m_state);
        } else {
            ++m_overflow;
        }
        m_groupStart = true;
    }

    void CloseGroup()
    {
        Flush();
        m_skipFallback = 0;
        if (m_state.Dest == TDest::FontTable) {
            EndFont();
        }
        if (m_overflow > 0) {
            --m_overflow;
        } else if (!m_stack.empty()) {
            m_state = m_stack.back();
            m_stack.pop_back();
        }
        m_groupStart = false;
        m_ignorable = false;
    }

    // ---- control words and symbols
    void ControlWord()
    {
        const qsizetype n = m_data.size();
        if (m_pos >= n) {
            return;
        }
        const char c = m_data[m_pos];
        if (!IsLetter(c)) {
            ++m_pos;
            ControlSymbol(c);
            return;
        }
        QByteArray word;
        while (m_pos < n && IsLetter(m_data[m_pos]) && word.size() < 32) {
            word.append(m_data[m_pos++]);
        }
        while (m_pos < n && IsLetter(m_data[m_pos])) {
            ++m_pos; // an overlong word is cut
        }
        bool hasParam = false;
        bool negative = false;
        long long value = 0;
        if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n && IsDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        int digits = 0;
        while (m_pos < n && IsDigit(m_data[m_pos])) {
            if (digits < 10) {
                value = value * 10 + (m_data[m_pos] - '0');
            }
            ++digits;
            ++m_pos;
            hasParam = true;
        }
        if (m_pos < n && m_data[m_pos] == ' ') {
            ++m_pos; // the delimiting space belongs to the word
        }
        value = std::clamp(
            negative ? -value : value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX));
        const bool groupStart = m_groupStart;
        const bool ignorable = m_ignorable;
        m_groupStart = false;
        m_ignorable = false;

        if (word == "u") {
            Unicode(static_cast<int>(value));
            return;
        }
        m_skipFallback = 0;
        Flush();
        if (word == "bin") {
            // Binary data of the given length follows: never text.
            const qsizetype len = hasParam && value > 0 ? static_cast<qsizetype>(value) : 0;
            m_pos = std::min(n, m_pos + len);
            return;
        }
        if (Destination(word, groupStart, ignorable)) {
            return;
        }
        if (m_state.Dest == TDest::Skip) {
            return;
        }
        if (m_state.Dest == TDest::FontTable) {
            FontTableWord(word, static_cast<int>(value));
            return;
        }
        if (m_state.Dest == TDest::ColorTable) {
            ColorTableWord(word, static_cast<int>(value));
            return;
        }
        Word(word, hasParam, static_cast<int>(value));
    }

    // A destination word at the start of a group; true when handled.
    bool Destination(const QByteArray& word, bool groupStart, bool ignorable)
    {
        static const QList<QByteArray> skipped = { "stylesheet", "info", "pict", "object", "header",
            "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote",
            "annotation", "fldinst", "xe", "tc", "txe", "rxe", "listtable", "listoverridetable", "revtbl",
            "rsidtbl", "generator", "filetbl", "themedata", "colorschememapping", "latentstyles", "datastore",
            "xmlnstbl", "pgdsctbl", "pn", "bkmkstart", "bkmkend", "atnid", "atnauthor", "template",
            "userprops", "nonshppict", "shppict", "mmathPr", "wgrffmtfilter", "fchars", "lchars", "ftnsep",
            "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "docvar", "blipuid", "panose", "falt",
            "fontemb", "fontfile", "leveltext", "levelnumbers", "listname", "operator", "company", "title",
            "subject", "author", "keywords", "doccomm", "comment", "hlinkbase", "creatim", "revtim",
            "printim", "buptim" };
        if (m_state.Dest == TDest::Skip) {
            return true;
        }
        if (word == "fonttbl") {
            m_state.Dest = TDest::FontTable;
            m_font = CFont {};
            m_fontNumber = -1;
            m_fontName.clear();
            return true;
        }
        if (word == "colortbl") {
            m_state.Dest = TDest::ColorTable;
            m_red = m_green = m_blue = -1;
            return true;
        }
        if (skipped.contains(word)) {
            m_state.Dest = TDest::Skip;
            return true;
        }
        if (groupStart && ignorable && !IsKnownInline(word)) {
            // {\*\unknown ...}: a destination this reader does not know.
            m_state.Dest = TDest::Skip;
            return true;
        }
        return false;
    }

    static bool IsKnownInline(const QByteArray& word)
    {
        // Words that may follow \* and still carry visible text.
        return word == "fldrslt" || word == "pntext" || word == "listtext";
    }

    void ControlSymbol(char c)
    {
        const bool keepFallback = c == '\'';
        if (!keepFallback) {
            m_skipFallback = 0;
        }
        switch (c) {
        case '\'': {
            const qsizetype n = m_data.size();
            int hi = m_pos < n ? HexValue(m_data[m_pos]) : -1;
            int lo = m_pos + 1 < n ? HexValue(m_data[m_pos + 1]) : -1;
            if (hi < 0 || lo < 0) {
                // Not a byte: shown as written.
                Flush();
                AppendText(QStringLiteral("\\'"));
                return;
            }
            m_pos += 2;
            if (m_skipFallback > 0) {
                --m_skipFallback;
                return;
            }
            if (m_state.Dest == TDest::Normal) {
                m_pending.append(static_cast<char>(hi * 16 + lo));
            } else if (m_state.Dest == TDest::FontTable) {
                m_fontName.append(static_cast<char>(hi * 16 + lo));
            }
            return;
        }
        case '*':
            Flush();
            m_ignorable = true;
            // \* keeps the group start for the destination word that follows.
            return;
        case '\\':
        case '{':
        case '}':
            TextByte(static_cast<unsigned char>(c));
            break;
        case '~':
            Flush();
            AppendText(QString(QChar(0x00A0)));
            break;
        case '_':
            Flush();
            AppendText(QString(QChar(0x2011)));
            break;
        case '\r':
        case '\n':
            Flush();
            if (m_state.Dest == TDest::Normal) {
                NewParagraph();
            }
            break;
        case '\t':
            Flush();
            AppendText(QStringLiteral("\t"));
            break;
        default:
            // \- (optional hyphen), \| and \: (index entries) and anything else: nothing to show.
            Flush();
            break;
        }
        m_groupStart = false;
        m_ignorable = false;
    }

    void Word(const QByteArray& w, bool hasParam, int value)
    {
        CRtfCharFormat& f = m_state.Format;
        const bool on = !hasParam || value != 0;
        if (w == "par" || w == "sect" || w == "page" || w == "row") {
            NewParagraph();
        } else if (w == "line") {
            AppendText(QString(QChar::LineSeparator));
        } else if (w == "tab" || w == "cell") {
            AppendText(QStringLiteral("\t"));
        } else if (w == "b") {
            f.Bold = on;
        } else if (w == "i") {
            f.Italic = on;
        } else if (w == "ul" || w == "uld" || w == "uldash" || w == "uldb" || w == "ulth" || w == "ulw"
            || w == "ulwave" || w == "uldashd" || w == "uldashdd" || w == "ulhair" || w == "ulthd") {
            f.Underline = on;
        } else if (w == "ulnone") {
            f.Underline = false;
        } else if (w == "strike" || w == "striked") {
            f.Strike = on;
        } else if (w == "fs") {
            // Half points; nonsense sizes fall back to the box's own size.
            f.HalfPoints = hasParam && value >= 2 && value <= 3276 ? value : 0;
        } else if (w == "cf") {
            SetColor(hasParam ? value : 0);
        } else if (w == "f") {
            SetFont(hasParam ? value : 0);
        } else if (w == "plain") {
            f = CRtfCharFormat {};
            SetFont(m_defaultFont);
        } else if (w == "pard") {
            m_state.Align = CRtfParagraph::Left;
            m_state.LeftIndent = m_state.RightIndent = m_state.FirstIndent = 0;
            m_state.SpaceBefore = m_state.SpaceAfter = 0;
        } else if (w == "ql") {
            m_state.Align = CRtfParagraph::Left;
        } else if (w == "qc") {
            m_state.Align = CRtfParagraph::Center;
        } else if (w == "qr") {
            m_state.Align = CRtfParagraph::Right;
        } else if (w == "qj" || w == "qd") {
            m_state.Align = CRtfParagraph::Justify;
        } else if (w == "li") {
            m_state.LeftIndent = Twips(value);
        } else if (w == "ri") {
            m_state.RightIndent = Twips(value);
        } else if (w == "fi") {
            m_state.FirstIndent = Twips(value);
        } else if (w == "sb") {
            m_state.SpaceBefore = Twips(value);
        } else if (w == "sa") {
            m_state.SpaceAfter = Twips(value);
        } else if (w == "uc") {
            m_state.SkipPerUnicode = std::clamp(value, 0, 16);
        } else if (w == "ansicpg") {
            m_codePage = value;
        } else if (w == "ansi") {
            m_codePage = 1252;
        } else if (w == "mac") {
            m_codePage = 10000;
        } else if (w == "pc") {
            m_codePage = 437;
        } else if (w == "pca") {
            m_codePage = 850;
        } else if (w == "deff") {
            m_defaultFont = value;
        } else if (w == "emdash") {
            AppendText(QString(QChar(0x2014)));
        } else if (w == "endash") {
            AppendText(QString(QChar(0x2013)));
        } else if (w == "bullet") {
            AppendText(QString(QChar(0x2022)));
        } else if (w == "lquote") {
            AppendText(QString(QChar(0x2018)));
        } else if (w == "rquote") {
            AppendText(QString(QChar(0x2019)));
        } else if (w == "ldblquote") {
            AppendText(QString(QChar(0x201C)));
        } else if (w == "rdblquote") {
            AppendText(QString(QChar(0x201D)));
        } else if (w == "emspace") {
            AppendText(QString(QChar(0x2003)));
        } else if (w == "enspace") {
            AppendText(QString(QChar(0x2002)));
        } else if (w == "qmspace") {
            AppendText(QString(QChar(0x2005)));
        }
        // Any other word changes nothing that this reader shows.
    }

    static int Twips(int value) { return std::clamp(value, -31680, 31680); }

    void Unicode(int value)
    {
        Flush();
        m_skipFallback = 0;
        if (m_state.Dest == TDest::Normal) {
            long long cp = value;
            if (cp < 0) {
                cp += 65536;
            }
            if (cp > 0 && cp <= 0xFFFF) {
                AppendText(QString(QChar(static_cast<char16_t>(cp))));
            } else if (cp > 0xFFFF && cp <= 0x10FFFF) {
                const char32_t c32 = static_cast<char32_t>(cp);
                AppendText(QString::fromUcs4(&c32, 1));
            } else if (cp != 0) {
                AppendText(QString(QChar::ReplacementCharacter));
            }
        }
        m_skipFallback = m_state.SkipPerUnicode;
    }

    void TextByte(unsigned char c)
    {
        m_groupStart = false;
        m_ignorable = false;
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return;
        }
        switch (m_state.Dest) {
        case TDest::Normal:
            if (c == '\t') {
                Flush();
                AppendText(QStringLiteral("\t"));
            } else if (c >= 0x20 || c == 0) {
                if (c != 0) {
                    m_pending.append(static_cast<char>(c));
                }
            }
            break;
        case TDest::FontTable:
            if (c == ';') {
                EndFont();
            } else if (c >= 0x20) {
                m_fontName.append(static_cast<char>(c));
            }
            break;
        case TDest::ColorTable:
            if (c == ';') {
                CRtfCharFormat color;
                if (m_red >= 0 || m_green >= 0 || m_blue >= 0) {
                    color.HasColor = true;
                    color.Color = (std::uint32_t(std::clamp(m_red, 0, 255)) << 16)
                        | (std::uint32_t(std::clamp(m_green, 0, 255)) << 8)
                        | std::uint32_t(std::clamp(m_blue, 0, 255));
                }
                if (m_colors.size() < 4096) {
                    m_colors.append(color);
                }
                m_red = m_green = m_blue = -1;
            }
            break;
        case TDest::Skip:
            break;
        }
    }

    // ---- font and colour tables
    void FontTableWord(const QByteArray& w, int value)
    {
        if (w == "f") {
            EndFont();
            m_fontNumber = value;
        } else if (w == "fcharset") {
            m_font.Charset = value;
        }
    }

    void EndFont()
    {
        if (m_fontNumber >= 0 || !m_fontName.isEmpty()) {
            m_font.Name = Decode1252(m_fontName).trimmed();
            if (m_fontNumber >= 0 && m_fonts.size() < 4096) {
                m_fonts.insert(m_fontNumber, m_font);
            }
        }
        m_font = CFont {};
        m_fontNumber = -1;
        m_fontName.clear();
    }

    void ColorTableWord(const QByteArray& w, int value)
    {
        if (w == "red") {
            m_red = value;
        } else if (w == "green") {
            m_green = value;
        } else if (w == "blue") {
            m_blue = value;
        }
    }

    void SetColor(int index)
    {
        CRtfCharFormat& f = m_state.Format;
        if (index > 0 && index < m_colors.size() && m_colors.at(index).HasColor) {
            f.HasColor = true;
            f.Color = m_colors.at(index).Color;
        } else if (index == 0 && !m_colors.isEmpty() && m_colors.first().HasColor) {
            f.HasColor = true;
            f.Color = m_colors.first().Color;
        } else {
            f.HasColor = false;
            f.Color = 0;
        }
    }

    void SetFont(int index)
    {
        m_state.Font = index;
        const auto it = m_fonts.constFind(index);
        m_state.Format.Family = it != m_fonts.constEnd() ? it->Name : QString();
    }

    int CurrentCodePage() const
    {
        int font = m_state.Font >= 0 ? m_state.Font : m_defaultFont;
        const auto it = m_fonts.constFind(font);
        if (it != m_fonts.constEnd()) {
            const int cp = CodePageOfCharset(it->Charset);
            if (cp != 0) {
                return cp;
            }
        }
        return m_codePage;
    }

    // ---- text and paragraphs
    void Flush()
    {
        if (m_pending.isEmpty()) {
            return;
        }
        const QByteArray bytes = m_pending;
        m_pending.clear();
        AppendText(DecodeCodePage(bytes, CurrentCodePage()));
    }

    void AppendText(const QString& text)
    {
        if (m_state.Dest != TDest::Normal || text.isEmpty()) {
            return;
        }
        CRtfParagraph& p = m_doc.Paragraphs.last();
        if (!p.Runs.isEmpty() && p.Runs.last().Format == m_state.Format) {
            p.Runs.last().Text += text;
        } else {
            p.Runs.append(CRtfRun { text, m_state.Format });
        }
    }

    void FinishParagraph()
    {
        CRtfParagraph& p = m_doc.Paragraphs.last();
        p.Alignment = m_state.Align;
        p.LeftIndent = m_state.LeftIndent;
        p.RightIndent = m_state.RightIndent;
        p.FirstIndent = m_state.FirstIndent;
        p.SpaceBefore = m_state.SpaceBefore;
        p.SpaceAfter = m_state.SpaceAfter;
    }

    void NewParagraph()
    {
        if (m_state.Dest != TDest::Normal) {
            return;
        }
        FinishParagraph();
        m_doc.Paragraphs.append(CRtfParagraph {});
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexValue(char c)
    {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    }

    const QByteArray& m_data;
    qsizetype m_pos = 0;
    CRtfDocument m_doc;
    CState m_state;
    std::vector<CState> m_stack;
    int m_overflow = 0;
    bool m_groupStart = false;
    bool m_ignorable = false;
    int m_skipFallback = 0;
    QByteArray m_pending;
    int m_codePage = 1252;
    int m_defaultFont = 0;
    QHash<int, CFont> m_fonts;
    CFont m_font;
    int m_fontNumber = -1;
    QByteArray m_fontName;
    QList<CRtfCharFormat> m_colors;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;
};

} // namespace

QString CRtfParagraph::Text() const
{
    QString s;
    for (const CRtfRun& r : Runs) {
        s += r.Text;
    }
    return s;
}

QString CRtfDocument::PlainText() const
{
    QStringList lines;
    for (const CRtfParagraph& p : Paragraphs) {
        lines << p.Text();
    }
    return lines.join(u'\n');
}

bool LooksLikeRtf(const QByteArray& data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) {
        ++i;
    }
    return data.mid(i, 5) == "{\\rtf";
}

int CodePageOfCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return kSymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    default:
        return 0;
    }
}

QString DecodeCodePage(const QByteArray& bytes, int codePage)
{
    switch (codePage) {
    case 1252:
    case 0:
        return Decode1252(bytes);
    case 65001:
        return QString::fromUtf8(bytes);
    case 28591:
        return QString::fromLatin1(bytes);
    case kSymbolCodePage: {
        QString s = QString::fromLatin1(bytes);
        s.replace(QChar(0xB7), QChar(0x2022));
        return s;
    }
    default:
        break;
    }
    if (const char* name = CodePageName(codePage)) {
        QStringDecoder d(name);
        if (d.isValid()) {
            return d.decode(bytes);
        }
    }
    return Decode1252(bytes);
}

CRtfDocument ParseRtf(const QByteArray& data)
{
    if (!LooksLikeRtf(data)) {
        CRtfDocument doc;
        QString text = DecodePlain(data);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
        const QStringList lines = text.split(u'\n');
        for (const QString& line : lines) {
            CRtfParagraph p;
            if (!line.isEmpty()) {
                p.Runs.append(CRtfRun { line, CRtfCharFormat {} });
            }
            doc.Paragraphs.append(p);
        }
        return doc;
    }
    CRtfParser parser(data);
    return parser.Run();
}
