#pragma once
// Writes a text document, whole or a range of it, as a complete RTF document.
//
// The bytes depend on the content alone: a fixed header, a font table and a
// colour table in the order of first use (colour 0 is the automatic colour),
// then each paragraph as \pard with its formats and each run with its full
// character format, resolved against the document's default font so that it
// reads the same in any control. Lengths are twips.
// Text outside ASCII is written as \'hh when code page 1252 has it and as \uN
// with a "?" fallback otherwise, so any reader recovers it.
//
// Reading the output with RtfReader gives back the same text and formats, and
// writing that again gives the same bytes.

#include <QByteArray>

class QTextDocument;

class RtfWriter {
public:
    static QByteArray write(const QTextDocument& document);

    // The characters from position `start` up to `end` (document positions,
    // as a QTextCursor counts them). A range that ends inside a paragraph
    // leaves that paragraph open: no paragraph mark follows its text.
    static QByteArray writeRange(const QTextDocument& document, int start, int end);
};
