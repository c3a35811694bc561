#include "launcher/rtftextdocument.h"

#include <QColor>
#include <QFile>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// RTF measures indents and spacing in twips: 1440 to the inch, 96 pixels to the inch on screen.
qreal TwipsToPixels(int twips)
{
    return twips / 15.0;
}

QTextBlockFormat BlockFormat(const CRtfParagraph& p)
{
    QTextBlockFormat f;
    switch (p.Alignment) {
    case CRtfParagraph::Left:
        f.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        break;
    case CRtfParagraph::Center:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case CRtfParagraph::Right:
        f.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        break;
    case CRtfParagraph::Justify:
        f.setAlignment(Qt::AlignJustify);
        break;
    }
    f.setLeftMargin(TwipsToPixels(std::max(0, p.LeftIndent)));
    f.setRightMargin(TwipsToPixels(std::max(0, p.RightIndent)));
    f.setTextIndent(TwipsToPixels(p.FirstIndent));
    f.setTopMargin(TwipsToPixels(std::max(0, p.SpaceBefore)));
    f.setBottomMargin(TwipsToPixels(std::max(0, p.SpaceAfter)));
    if (p.FirstIndent < 0 && p.LeftIndent > 0) {
        // A hanging indent: the first tab of the first line goes to the left indent (bullets and
        // numbered items).
        f.setTabPositions({ QTextOption::Tab(TwipsToPixels(-p.FirstIndent), QTextOption::LeftTab) });
    }
    return f;
}

QTextCharFormat CharFormat(const CRtfCharFormat& r)
{
    QTextCharFormat f;
    f.setFontWeight(r.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.Italic);
    f.setFontUnderline(r.Underline);
    f.setFontStrikeOut(r.Strike);
    if (r.HalfPoints > 0) {
        f.setFontPointSize(r.HalfPoints / 2.0);
    }
    if (r.HasColor) {
        f.setForeground(QColor::fromRgb(r.Color));
    }
    if (!r.Family.isEmpty()) {
        f.setFontFamilies({ r.Family });
    }
    return f;
}

} // namespace

void FillTextDocument(QTextDocument* document, const CRtfDocument& rtf)
{
    document->clear();
    // The default tab stops of rich text: every half inch.
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(TwipsToPixels(720));
    document->setDefaultTextOption(option);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool first = true;
    for (const CRtfParagraph& p : rtf.Paragraphs) {
        if (first) {
            cursor.setBlockFormat(BlockFormat(p));
            first = false;
        } else {
            cursor.insertBlock(BlockFormat(p), QTextCharFormat());
        }
        for (const CRtfRun& run : p.Runs) {
            cursor.insertText(run.Text, CharFormat(run.Format));
        }
    }
    cursor.endEditBlock();
}

void LoadRichTextBox(QTextEdit* box, const QByteArray& data)
{
    box->clear();
    const CRtfDocument rtf = ParseRtf(data);
    if (rtf.IsRtf) {
        FillTextDocument(box->document(), rtf);
    } else {
        box->setPlainText(rtf.PlainText());
    }
    box->moveCursor(QTextCursor::Start);
}

bool LoadRichTextFile(QTextEdit* box, const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        box->clear();
        return false;
    }
    LoadRichTextBox(box, f.readAll());
    return true;
}
