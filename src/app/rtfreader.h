#pragma once
// A small reader of rich text (RTF) for the licence box: paragraphs with alignment, indents and
// spacing; bold, italic, underline, font sizes, fonts and colours; \'hh bytes in the declared ANSI
// code page (or the font's character set); \uN characters with their fallbacks. What it does not
// understand is skipped or shown as text; it never fails. QtCore only, so the document model can
// be fuzzed on its own; the widgets turn it into a text document.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

struct CRtfCharFormat
{
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    int HalfPoints = 0; // font size in half points; 0 = not given (the box's own size)
    bool HasColor = false;
    std::uint32_t Color = 0; // 0xRRGGBB when HasColor
    QString Family; // empty = not given

    friend bool operator==(const CRtfCharFormat&, const CRtfCharFormat&) = default;
};

struct CRtfRun
{
    QString Text;
    CRtfCharFormat Format;
};

struct CRtfParagraph
{
    enum Align { Left, Center, Right, Justify };
    Align Alignment = Left;
    int LeftIndent = 0; // twips
    int RightIndent = 0; // twips
    int FirstIndent = 0; // twips, may be negative
    int SpaceBefore = 0; // twips
    int SpaceAfter = 0; // twips
    QList<CRtfRun> Runs;

    QString Text() const;
};

struct CRtfDocument
{
    bool IsRtf = false; // false: the input was not RTF and is held as one text per line
    QList<CRtfParagraph> Paragraphs;

    // The text of every paragraph, joined with '\n'.
    QString PlainText() const;
};

// True when the bytes begin (after an optional UTF-8 byte order mark and white space) with "{\rtf".
bool LooksLikeRtf(const QByteArray& data);

// Reads RTF into paragraphs and runs. Input that is not RTF is decoded as plain text (UTF-8 when
// valid, otherwise Windows-1252) with IsRtf false. Never fails; bounded work per input byte.
CRtfDocument ParseRtf(const QByteArray& data);

// The text of a byte sequence in a Windows code page (1252 built in; others through the system's
// converters, falling back to 1252 when the code page is unknown).
QString DecodeCodePage(const QByteArray& bytes, int codePage);

// The code page of an RTF font character set (\fcharsetN); 0 when it names none.
int CodePageOfCharset(int charset);
