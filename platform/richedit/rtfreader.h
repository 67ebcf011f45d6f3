#pragma once
// Reads RTF into a text document: the whole document, or in place of a
// cursor's selection.
//
// What it keeps: text in every code page the document or its fonts name;
// bold, italic, underline, strikeout, face, size, colour and background;
// paragraph alignment, indents, spacing, line spacing, tab stops and page
// breaks; bullets and numbered lists in both of RTF's ways of writing them;
// pictures, embedded objects with their result picture, field results and the
// text of tables (a cell ends with a tab, a row with a paragraph).
//
// Bytes that do not begin with "{\rtf" raise RtfReadError before anything is
// changed. Anything after that reads as far as it makes sense: unbalanced
// groups, a cut-off end and absurd numbers never fail, and time and memory
// stay proportional to the input however deep its groups nest.

#include <QByteArray>

class QTextCursor;
class QTextDocument;

class RtfReader {
public:
    // Whether `bytes` begin as an RTF document (leading white space allowed).
    static bool looksLikeRtf(const QByteArray& bytes);

    // Replaces the whole content of `document` and starts its undo history
    // afresh. A final paragraph mark ends the last paragraph and adds no
    // empty one after it.
    static void readDocument(const QByteArray& bytes, QTextDocument& document);

    // Replaces the selection of `cursor` (or inserts at it) and leaves the
    // cursor after what was read. A final paragraph mark breaks the paragraph
    // there; paragraph formats apply only to paragraphs the RTF ends.
    static void readInto(const QByteArray& bytes, QTextCursor& cursor);
};
