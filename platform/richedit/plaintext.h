#pragma once
// The plain text of a document as the rich edit control gives it: paragraph
// ends and line breaks both become CR LF, a tab stays a tab, list markers are
// formatting and not text, and pictures and objects leave no character.
// A final paragraph end adds nothing: a document of one line gives that line.

#include <QString>

class QTextDocument;

class PlainText {
public:
    static QString of(const QTextDocument& document);
    // Positions as a QTextCursor counts them; `end` is clamped to the text.
    static QString of(const QTextDocument& document, int start, int end);
    // Lone LF or lone CR become CR LF; CR LF stays.
    static QString normalizeLineBreaks(const QString& text);
};
