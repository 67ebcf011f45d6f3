#pragma once
// Small helpers of the RTF tests: read bytes into a fresh document and look
// at what came out.

#include "platform/richedit/documentunits.h"
#include "platform/richedit/plaintext.h"
#include "platform/richedit/rtfreader.h"
#include "tests/support/qtprinters.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

inline std::unique_ptr<QTextDocument> readRtf(const QByteArray& rtf)
{
    auto doc = std::make_unique<QTextDocument>();
    RtfReader::readDocument(rtf, *doc);
    return doc;
}

inline QString textOf(const QTextDocument& doc) { return PlainText::of(doc); }

// The character format at a position (of the character after it).
inline QTextCharFormat charAt(const QTextDocument& doc, int position)
{
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(position + 1);
    return c.charFormat();
}

inline int twips(double pixels) { return DocumentUnits::pixelsToTwips(pixels); }

// The paragraph's alignment without the direction flag.
inline Qt::Alignment alignOf(const QTextBlockFormat& f)
{
    return f.alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify);
}
