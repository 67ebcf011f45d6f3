#include "platform/richedit/rtfwriter.h"

#include "platform/richedit/codepage.h"
#include "platform/richedit/documentunits.h"
#include "platform/richedit/rtfname.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <cmath>
#include <vector>

namespace {

using DocumentUnits::pixelsToTwips;

// A run's character format, resolved against the document's default font, so
// that the text reads back the same in a control with another default.
struct Chars {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;  // 0: automatic
    int background = 0;  // 0: none

    bool operator==(const Chars&) const = default;
};

class Writer {
public:
    explicit Writer(const QTextDocument& document) : m_document(document)
    {
        const QFont f = document.defaultFont();
        m_defaultFamily = f.family();
        m_colors.push_back(QColor());
        m_defaultHalfPoints = halfPointsOf(f);
    }

    QByteArray run(int start, int end, bool finalMark);

private:
    static int halfPointsOf(const QFont& font)
    {
        if (font.pointSizeF() > 0)
            return int(std::lround(font.pointSizeF() * 2));
        if (font.pixelSize() > 0)
            return int(std::lround(font.pixelSize() * 72.0 * 2 / 96));
        return 24;
    }
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    Chars charsOf(const QTextCharFormat& format);
    void writeChars(const Chars& c);
    void writeParagraph(const QTextBlock& block);
    void writeText(const QString& text);
    void writeName(const QString& name, bool unicode);
    void writeImage(const QTextImageFormat& format);
    void writePicture(const QTextImageFormat& format);
    void writeHex(const QByteArray& data);
    void writeWord(const char* word, int value) { m_body += word; m_body += QByteArray::number(value); }

    const QTextDocument& m_document;
    std::vector<QString> m_fonts;
    std::vector<QColor> m_colors;
    QString m_defaultFamily;
    int m_defaultHalfPoints = 24;
    QByteArray m_body;
    bool m_haveChars = false;
    Chars m_chars;
};

int Writer::fontIndex(const QString& family)
{
    for (std::size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i] == family)
            return int(i);
    m_fonts.push_back(family);
    return int(m_fonts.size() - 1);
}

int Writer::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb();
    for (std::size_t i = 1; i < m_colors.size(); ++i)
        if (m_colors[i].rgb() == rgb)
            return int(i);
    m_colors.push_back(QColor(rgb));
    return int(m_colors.size() - 1);
}

Chars Writer::charsOf(const QTextCharFormat& format)
{
    Chars c;
    QString family;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty())
        family = RtfName::clean(families.first());
    c.font = fontIndex(family.isEmpty() ? m_defaultFamily : family);
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        c.halfPoints = int(std::lround(format.fontPointSize() * 2));
    else if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0)
        c.halfPoints = int(std::lround(format.intProperty(QTextFormat::FontPixelSize) * 72.0 * 2 / 96));
    else
        c.halfPoints = m_defaultHalfPoints;
    const QFont base = m_document.defaultFont();
    c.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                          : base.weight() >= QFont::DemiBold;
    c.italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    c.underline = format.hasProperty(QTextFormat::TextUnderlineStyle) || format.hasProperty(QTextFormat::FontUnderline)
                      ? format.fontUnderline()
                      : base.underline();
    c.strike = format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut() : base.strikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        c.foreground = colorIndex(format.foreground().color());
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        c.background = colorIndex(format.background().color());
    return c;
}

void Writer::writeChars(const Chars& c)
{
    if (m_haveChars && c == m_chars)
        return;
    m_body += "\\plain";
    writeWord("\\f", c.font);
    writeWord("\\fs", c.halfPoints);
    if (c.bold)
        m_body += "\\b";
    if (c.italic)
        m_body += "\\i";
    if (c.underline)
        m_body += "\\ul";
    if (c.strike)
        m_body += "\\strike";
    if (c.foreground)
        writeWord("\\cf", c.foreground);
    if (c.background)
        writeWord("\\highlight", c.background);
    m_body += ' ';
    m_chars = c;
    m_haveChars = true;
}

void Writer::writeParagraph(const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    m_body += "\\pard";
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        m_body += "\\qj";
    else if (a & Qt::AlignHCenter)
        m_body += "\\qc";
    else if (a & Qt::AlignRight)
        m_body += "\\qr";
    QTextList* list = block.textList();
    const int first = list ? f.intProperty(DocumentUnits::ListFirstIndent) : pixelsToTwips(f.textIndent());
    if (first)
        writeWord("\\fi", first);
    if (const int li = pixelsToTwips(f.leftMargin()))
        writeWord("\\li", li);
    if (const int ri = pixelsToTwips(f.rightMargin()))
        writeWord("\\ri", ri);
    if (const int sb = pixelsToTwips(f.topMargin()))
        writeWord("\\sb", sb);
    if (const int sa = pixelsToTwips(f.bottomMargin()))
        writeWord("\\sa", sa);
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (f.lineHeight() != 100)
            m_body += "\\sl" + QByteArray::number(int(std::lround(f.lineHeight() * 240 / 100))) + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        writeWord("\\sl", pixelsToTwips(f.lineHeight()));
        m_body += "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        writeWord("\\sl-", pixelsToTwips(f.lineHeight()));
        m_body += "\\slmult0";
        break;
    default: break;
    }
    for (const QTextOption::Tab& tab : f.tabPositions())
        writeWord("\\tx", pixelsToTwips(tab.position));
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_body += "\\pagebb";
    if (list) {
        // Numbering as the old paragraph-numbering group, with the marker's
        // text beside it for readers that show \pntext rather than number.
        const QTextListFormat::Style style = list->format().style();
        const char* kind = "\\pnlvlblt";
        switch (style) {
        case QTextListFormat::ListDecimal: kind = "\\pnlvlbody\\pndec"; break;
        case QTextListFormat::ListLowerAlpha: kind = "\\pnlvlbody\\pnlcltr"; break;
        case QTextListFormat::ListUpperAlpha: kind = "\\pnlvlbody\\pnucltr"; break;
        case QTextListFormat::ListLowerRoman: kind = "\\pnlvlbody\\pnlcrm"; break;
        case QTextListFormat::ListUpperRoman: kind = "\\pnlvlbody\\pnucrm"; break;
        default: break;
        }
        m_body += "{\\*\\pn";
        m_body += kind;
        if (!(style == QTextListFormat::ListDecimal || style == QTextListFormat::ListLowerAlpha ||
              style == QTextListFormat::ListUpperAlpha || style == QTextListFormat::ListLowerRoman ||
              style == QTextListFormat::ListUpperRoman))
            m_body += "{\\pntxtb\\'b7}";
        else
            m_body += "\\pnstart1{\\pntxta.}";
        m_body += '}';
    }
    m_haveChars = false;  // every paragraph's first run states its format
}

void Writer::writeText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x20 && c < 0x80) {
            if (c == '\\' || c == '{' || c == '}')
                m_body += '\\';
            m_body += char(c);
            continue;
        }
        switch (c) {
        case '\t': m_body += "\\tab "; continue;
        case QChar::LineSeparator: m_body += "\\line "; continue;
        case 0x00A0: m_body += "\\~"; continue;
        case 0x00AD: m_body += "\\-"; continue;
        case 0x2011: m_body += "\\_"; continue;
        default: break;
        }
        if (c >= 0x80) {
            if (const auto b = CodePage::encode1252(c)) {
                static const char hex[] = "0123456789abcdef";
                m_body += "\\'";
                m_body += hex[*b >> 4];
                m_body += hex[*b & 15];
                continue;
            }
        }
        if (c != 0)  // \u0 means nothing to a reader; a NUL from \'00 goes
            m_body += "\\u" + QByteArray::number(int(int16_t(c))) + '?';
    }
}

// Names (of fonts and object classes) take no control symbols: the
// characters outside ASCII go as \'hh or, in font names, \uN; a ';' would
// end the name. Class names are identifiers, so there the rest becomes '?'.
void Writer::writeName(const QString& raw, bool unicode)
{
    const QString name = RtfName::clean(raw);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (c >= 0x20 && c < 0x80 && c != ';') {
            if (c == '\\' || c == '{' || c == '}')
                m_body += '\\';
            m_body += char(c);
        } else if (const auto b = c >= 0x80 ? CodePage::encode1252(c) : std::nullopt) {
            static const char hex[] = "0123456789abcdef";
            m_body += "\\'";
            m_body += hex[*b >> 4];
            m_body += hex[*b & 15];
        } else if (c >= 0x80) {
            if (unicode)
                m_body += "\\u" + QByteArray::number(int(int16_t(c)));
            m_body += '?';
        }
    }
}

void Writer::writeHex(const QByteArray& data)
{
    static const char hex[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i % 64 == 0)
            m_body += "\r\n";
        const unsigned char b = static_cast<unsigned char>(data[i]);
        m_body += hex[b >> 4];
        m_body += hex[b & 15];
    }
}

void Writer::writePicture(const QTextImageFormat& f)
{
    QByteArray data = f.property(DocumentUnits::PictureData).toByteArray();
    QString kind = f.stringProperty(DocumentUnits::PictureKind);
    int picw = f.intProperty(DocumentUnits::PicturePixelWidth);
    int pich = f.intProperty(DocumentUnits::PicturePixelHeight);
    if (data.isEmpty() && !f.hasProperty(DocumentUnits::ObjectClass)) {
        // A picture put in by the program: store it as PNG.
        const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(f.name()));
        const QImage image = resource.value<QImage>();
        if (!image.isNull()) {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            kind = QStringLiteral("png");
            picw = image.width();
            pich = image.height();
        }
    }
    const int w = pixelsToTwips(f.width());
    const int h = pixelsToTwips(f.height());
    m_body += "{\\pict";
    if (kind == QLatin1String("png"))
        m_body += "\\pngblip";
    else if (kind == QLatin1String("jpeg"))
        m_body += "\\jpegblip";
    else if (kind == QLatin1String("wmf"))
        m_body += "\\wmetafile8";
    else if (kind == QLatin1String("emf"))
        m_body += "\\emfblip";
    else if (kind == QLatin1String("dib"))
        m_body += "\\dibitmap0";
    else if (kind == QLatin1String("bmp"))
        m_body += "\\wbitmap0";
    else if (kind == QLatin1String("pict"))
        m_body += "\\macpict";
    writeWord("\\picw", picw);
    writeWord("\\pich", pich);
    writeWord("\\picwgoal", w);
    writeWord("\\pichgoal", h);
    writeHex(data);
    m_body += '}';
}

void Writer::writeImage(const QTextImageFormat& f)
{
    if (!f.hasProperty(DocumentUnits::ObjectClass)) {
        writePicture(f);
        return;
    }
    m_body += "{\\object\\objemb{\\*\\objclass ";
    writeName(f.stringProperty(DocumentUnits::ObjectClass), false);
    m_body += '}';
    if (const QString file = f.stringProperty(DocumentUnits::ObjectFileName); !file.isEmpty()) {
        m_body += "{\\*\\objname ";
        writeName(file, false);
        m_body += '}';
    }
    writeWord("\\objw", pixelsToTwips(f.width()));
    writeWord("\\objh", pixelsToTwips(f.height()));
    m_body += "{\\*\\objdata";
    writeHex(f.property(DocumentUnits::ObjectData).toByteArray());
    m_body += '}';
    if (f.hasProperty(DocumentUnits::PictureKind)) {
        m_body += "{\\result";
        writePicture(f);
        m_body += '}';
    }
    m_body += '}';
}

QByteArray Writer::run(int start, int end, bool finalMark)
{
    for (QTextBlock block = m_document.findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        const int blockStart = block.position();
        const int markPos = blockStart + block.length() - 1;
        const bool last = !block.next().isValid();
        const bool withMark = last ? finalMark : markPos < end;
        if (blockStart >= end && !withMark && blockStart != start)
            break;  // the range ends where this paragraph begins
        writeParagraph(block);
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fs = fragment.position();
            const int fe = fs + fragment.length();
            const int from = std::max(fs, start);
            const int to = std::min(fe, end);
            if (from >= to)
                continue;
            const QTextCharFormat cf = fragment.charFormat();
            writeChars(charsOf(cf));
            const QString text = fragment.text().mid(from - fs, to - from);
            if (cf.isImageFormat()) {
                for (qsizetype i = 0; i < text.size(); ++i)
                    writeImage(cf.toImageFormat());
            } else {
                writeText(text);
            }
        }
        if (!withMark)
            break;
        if (block.length() <= 1)
            writeChars(charsOf(block.charFormat()));  // an empty line keeps its height
        m_body += "\\par\r\n";
    }

    if (m_fonts.empty())
        m_fonts.push_back(m_defaultFamily);
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(int(i)) + "\\fnil\\fcharset0 ";
        QByteArray name;
        std::swap(name, m_body);
        writeName(m_fonts[i], true);
        std::swap(name, m_body);
        out += name + ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (std::size_t i = 1; i < m_colors.size(); ++i)
        out += "\\red" + QByteArray::number(m_colors[i].red()) + "\\green" + QByteArray::number(m_colors[i].green()) +
               "\\blue" + QByteArray::number(m_colors[i].blue()) + ';';
    out += "}\r\n";
    out += m_body;
    out += "}\r\n";
    return out;
}

}  // namespace

QByteArray RtfWriter::write(const QTextDocument& document)
{
    return Writer(document).run(0, document.characterCount() - 1, true);
}

QByteArray RtfWriter::writeRange(const QTextDocument& document, int start, int end)
{
    const int limit = document.characterCount() - 1;
    start = std::clamp(start, 0, limit);
    end = std::clamp(end, start, limit);
    return Writer(document).run(start, end, false);
}
