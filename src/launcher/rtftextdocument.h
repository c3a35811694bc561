#pragma once
// Rich text into the text widgets: a document read by the RTF reader becomes a QTextDocument with
// its paragraphs and character formats; a file becomes the content of a read-only text box.

#include "app/rtfreader.h"

#include <QFont>

class QTextDocument;
class QTextEdit;

// Replaces the document's content with the paragraphs and runs of rtf. Sizes, families and colours
// that the RTF does not give are left to the document's default font and the widget's palette.
void FillTextDocument(QTextDocument* document, const CRtfDocument& rtf);

// Empties the box and loads the bytes: rich text shown formatted, anything else as plain text.
void LoadRichTextBox(QTextEdit* box, const QByteArray& data);

// Reads the file and loads it; false (box emptied) when the file cannot be read.
bool LoadRichTextFile(QTextEdit* box, const QString& fileName);
