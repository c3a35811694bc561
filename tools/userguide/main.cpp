// qrx-userguide: turns a Markdown document into a paginated PDF, with the pictures it names
// (paths relative to the document) embedded.
//   qrx-userguide <input.md> <output.pdf> [--title <document title>]
// Headings are coloured and spaced, every page but the first carries the title and a page number,
// and a level-1 or level-2 heading preceded by a line "<!-- page -->" starts a new page.
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {

const QColor kHeading(28, 63, 120);
const QColor kRule(160, 181, 210);

// Markdown with the page-break markers turned into a token the layout pass recognises.
QString Preprocess(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("<!-- page -->"), QStringLiteral("\n\n\x0C\n\n"));
    return out;
}

// Tables: full width, padded cells, thin rules, a shaded heading row.
void StyleTables(QTextDocument& doc)
{
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) {
            continue;
        }
        QTextTableFormat f = table->format();
        f.setCellPadding(4);
        f.setCellSpacing(0);
        f.setBorder(0.6);
        f.setBorderBrush(kRule);
        f.setBorderCollapse(true);
        f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        f.setHeaderRowCount(1);
        table->setFormat(f);
        for (int c = 0; c < table->columns(); ++c) {
            QTextTableCell cell = table->cellAt(0, c);
            QTextTableCellFormat cf = cell.format().toTableCellFormat();
            cf.setBackground(QColor(232, 239, 248));
            cell.setFormat(cf);
        }
    }
}

void StyleDocument(QTextDocument& doc, qreal textWidth)
{
    StyleTables(doc);
    QTextCursor cursor(&doc);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat bf = block.blockFormat();
        const int level = bf.headingLevel();
        cursor.setPosition(block.position());
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        if (block.text() == QStringLiteral("\x0C")) {
            // A page-break marker: the next block starts a page; the marker itself takes no room.
            cursor.removeSelectedText();
            QTextBlockFormat marker;
            marker.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
            marker.setLineHeight(1, QTextBlockFormat::FixedHeight);
            cursor.setBlockFormat(marker);
            continue;
        }
        if (level > 0) {
            QTextCharFormat cf;
            cf.setForeground(kHeading);
            cf.setFontWeight(QFont::Bold);
            const qreal sizes[] = { 0, 22, 16, 13, 11, 10, 10 };
            cf.setFontPointSize(sizes[std::min(level, 6)]);
            cursor.mergeCharFormat(cf);
            bf.setTopMargin(level <= 2 ? 16 : 10);
            bf.setBottomMargin(6);
            if (level <= 2) {
                bf.setPageBreakPolicy(bf.pageBreakPolicy() | QTextFormat::PageBreak_Auto);
            }
            cursor.setBlockFormat(bf);
        } else if (bf.bottomMargin() < 4) {
            bf.setBottomMargin(4);
            cursor.setBlockFormat(bf);
        }
        // Pictures wider than the text area are scaled down to fit.
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) {
                continue;
            }
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QVariant res = doc.resource(QTextDocument::ImageResource, QUrl(image.name()));
            const QImage picture = res.value<QImage>();
            if (picture.isNull()) {
                continue;
            }
            const qreal width = std::min<qreal>(picture.width(), textWidth);
            image.setWidth(width);
            image.setHeight(picture.height() * width / picture.width());
            QTextCursor ic(&doc);
            ic.setPosition(fragment.position());
            ic.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            ic.setCharFormat(image);
        }
    }
}

bool LoadPictures(QTextDocument& doc, const QString& markdown, const QString& baseDir)
{
    // Every picture named as ![alt](path) is loaded now, so that a missing one fails the build.
    bool ok = true;
    qsizetype from = 0;
    while ((from = markdown.indexOf(QStringLiteral("]("), from)) >= 0) {
        const qsizetype open = markdown.lastIndexOf(QStringLiteral("!["), from);
        const qsizetype close = markdown.indexOf(u')', from);
        if (open < 0 || close < 0 || markdown.lastIndexOf(u'\n', from) > open) {
            from += 2;
            continue;
        }
        const QString path = markdown.mid(from + 2, close - from - 2).trimmed();
        from = close;
        const QString file = QFileInfo(path).isAbsolute() ? path : baseDir + u'/' + path;
        QImage picture(file);
        if (picture.isNull()) {
            std::fprintf(stderr, "qrx-userguide: cannot read the picture %s\n", qPrintable(file));
            ok = false;
            continue;
        }
        doc.addResource(
            QTextDocument::ImageResource, QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()), picture);
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString title;
    const qsizetype t = args.indexOf(QStringLiteral("--title"));
    if (t >= 0 && t + 1 < args.size()) {
        title = args.at(t + 1);
        args.remove(t, 2);
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qrx-userguide <input.md> <output.pdf> [--title <text>]\n");
        return 2;
    }
    QFile in(args.at(0));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "qrx-userguide: cannot read %s\n", qPrintable(args.at(0)));
        return 1;
    }
    const QString markdown = Preprocess(QString::fromUtf8(in.readAll()));
    const QString baseDir = QFileInfo(args.at(0)).absolutePath();

    QPdfWriter pdf(args.at(1));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(18, 16, 18, 18), QPageLayout::Millimeter);
    pdf.setResolution(96);
    pdf.setCreator(QStringLiteral("qrx-userguide"));
    pdf.setTitle(title);

    const QRectF body = pdf.pageLayout().paintRectPixels(pdf.resolution());
    constexpr qreal kFooter = 28;

    QTextDocument doc;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.5);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    // Relative picture names resolve against the document's folder.
    doc.setBaseUrl(QUrl::fromLocalFile(baseDir + u'/'));
    if (!LoadPictures(doc, markdown, baseDir)) {
        return 1;
    }
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    doc.setPageSize(QSizeF(body.width(), body.height() - kFooter));
    StyleDocument(doc, body.width());

    QPainter p;
    if (!p.begin(&pdf)) {
        std::fprintf(stderr, "qrx-userguide: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const int pages = doc.pageCount();
    const QSizeF page = doc.pageSize();
    QFont small = font;
    small.setPointSizeF(7.5);
    for (int i = 0; i < pages; ++i) {
        if (i > 0) {
            pdf.newPage();
        }
        p.save();
        p.translate(0, -i * page.height());
        const QRectF clip(0, i * page.height(), page.width(), page.height());
        p.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = clip;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&p, ctx);
        p.restore();
        // Footer: a rule, the title and the page number.
        const qreal y = body.height() - kFooter + 10;
        p.setPen(QPen(kRule, 0.8));
        p.drawLine(QPointF(0, y), QPointF(body.width(), y));
        p.setFont(small);
        p.setPen(QColor(90, 100, 120));
        const QRectF footer(0, y + 3, body.width(), 14);
        p.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, title);
        p.drawText(
            footer, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
    }
    p.end();
    return 0;
}
