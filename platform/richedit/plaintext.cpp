#include "platform/richedit/plaintext.h"

#include <QTextDocument>

#include <algorithm>

namespace {

// One pass over the document's raw characters; U+2029 separates paragraphs,
// U+2028 is a line break and U+FFFC stands for a picture or object.
QString convert(const QString& raw, qsizetype start, qsizetype end)
{
    QString out;
    out.resize((end - start) * 2);
    QChar* dst = out.data();
    const QChar* src = raw.constData();
    for (qsizetype i = start; i < end; ++i) {
        const char16_t c = src[i].unicode();
        if (c == 0x2029 || c == 0x2028) {
            *dst++ = QChar('\r');
            *dst++ = QChar('\n');
        } else if (c != 0xFFFC) {
            *dst++ = src[i];
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

}  // namespace

QString PlainText::of(const QTextDocument& document)
{
    const QString raw = document.toRawText();
    return convert(raw, 0, raw.size());
}

QString PlainText::of(const QTextDocument& document, int start, int end)
{
    const QString raw = document.toRawText();
    const qsizetype s = std::clamp<qsizetype>(start, 0, raw.size());
    const qsizetype e = std::clamp<qsizetype>(end, s, raw.size());
    return convert(raw, s, e);
}

QString PlainText::normalizeLineBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar('\r')) {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == QChar('\n'))
                ++i;
        } else if (c == QChar('\n')) {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}
