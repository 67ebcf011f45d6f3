#include "rtfhelpers.h"

#include "platform/richedit/rtfwriter.h"

#include <QBuffer>
#include <QImage>
#include <QTextList>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Everything the writer promises to keep, one line per fragment and block.
QStringList describe(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        out << QStringLiteral("P align=%1 li=%2 ri=%3 fi=%4 sb=%5 sa=%6 lh=%7/%8 tabs=%9 list=%10 brk=%11")
                   .arg(int(alignOf(f)))
                   .arg(twips(f.leftMargin()))
                   .arg(twips(f.rightMargin()))
                   .arg(b.textList() ? f.intProperty(DocumentUnits::ListFirstIndent) : twips(f.textIndent()))
                   .arg(twips(f.topMargin()))
                   .arg(twips(f.bottomMargin()))
                   .arg(f.lineHeightType())
                   .arg(f.lineHeightType() == QTextBlockFormat::ProportionalHeight ? int(f.lineHeight())
                                                                                   : twips(f.lineHeight()))
                   .arg([&] {
                       QStringList t;
                       for (const auto& tab : f.tabPositions())
                           t << QString::number(twips(tab.position));
                       return t.join(',');
                   }())
                   .arg(b.textList() ? int(b.textList()->format().style()) : 0)
                   .arg(bool(f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const QTextCharFormat c = fr.charFormat();
            const QFont font = c.font();
            QString line = QStringLiteral("  [%1] %2 %3pt b%4 i%5 u%6 s%7 fg=%8 bg=%9")
                               .arg(fr.text())
                               .arg(font.family())
                               .arg(font.pointSizeF())
                               .arg(font.bold())
                               .arg(font.italic())
                               .arg(font.underline())
                               .arg(font.strikeOut())
                               .arg(c.hasProperty(QTextFormat::ForegroundBrush) ? c.foreground().color().name() : "auto")
                               .arg(c.hasProperty(QTextFormat::BackgroundBrush) ? c.background().color().name() : "none");
            if (c.isImageFormat()) {
                const QTextImageFormat im = c.toImageFormat();
                line += QStringLiteral(" img %1x%2 kind=%3 data=%4 obj=%5/%6")
                            .arg(twips(im.width()))
                            .arg(twips(im.height()))
                            .arg(im.stringProperty(DocumentUnits::PictureKind))
                            .arg(QString::fromLatin1(im.property(DocumentUnits::PictureData).toByteArray().toHex()))
                            .arg(im.stringProperty(DocumentUnits::ObjectClass))
                            .arg(QString::fromLatin1(im.property(DocumentUnits::ObjectData).toByteArray().toHex()));
            }
            out << line;
        }
    }
    return out;
}

QByteArray pngBytes()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A document with every format the writer knows, built through the
// document's own interface as the control's commands build it.
void buildRichDocument(QTextDocument& doc)
{
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    QTextCursor c(&doc);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLeftMargin(720 / 15.0);
    centred.setRightMargin(365 / 15.0);
    centred.setTextIndent(-241 / 15.0);
    centred.setTopMargin(120 / 15.0);
    centred.setBottomMargin(61 / 15.0);
    centred.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    centred.setTabPositions({QTextOption::Tab(720 / 15.0, QTextOption::LeftTab),
                             QTextOption::Tab(1447 / 15.0, QTextOption::LeftTab)});
    c.setBlockFormat(centred);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Bold "), bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    italic.setFontFamilies({QStringLiteral("Courier New")});
    c.insertText(QStringLiteral("italic\t"), italic);
    QTextCharFormat mixed;
    mixed.setFontUnderline(true);
    mixed.setFontStrikeOut(true);
    mixed.setFontPointSize(17.5);
    mixed.setForeground(QColor(200, 10, 20));
    mixed.setBackground(QColor(250, 250, 0));
    c.insertText(QString::fromUtf16(u"ação € \u0416 \U0001F600 {\\} \u00A0\u00AD\u2011"), mixed);
    c.insertText(QString(QChar::LineSeparator) + QStringLiteral("next line"), QTextCharFormat());

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLineHeight(300 / 15.0, QTextBlockFormat::FixedHeight);
    right.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(right);
    QTextCharFormat sized;
    sized.setFontPointSize(20);
    c.setBlockCharFormat(sized);  // an empty paragraph keeps its font size

    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    justified.setLineHeight(280 / 15.0, QTextBlockFormat::MinimumHeight);
    c.insertBlock(justified, QTextCharFormat());
    c.insertText(QStringLiteral("picture "));
    QTextImageFormat pic;
    pic.setName(QStringLiteral("p1"));
    doc.addResource(QTextDocument::ImageResource, QUrl("p1"), QImage::fromData(pngBytes()));
    pic.setWidth(600 / 15.0);
    pic.setHeight(450 / 15.0);
    pic.setProperty(DocumentUnits::PictureData, pngBytes());
    pic.setProperty(DocumentUnits::PictureKind, QStringLiteral("png"));
    pic.setProperty(DocumentUnits::PicturePixelWidth, 3);
    pic.setProperty(DocumentUnits::PicturePixelHeight, 2);
    c.insertImage(pic);
    QTextImageFormat obj = pic;
    obj.setName(QStringLiteral("o1"));
    obj.setProperty(DocumentUnits::ObjectClass, QStringLiteral("Package"));
    obj.setProperty(DocumentUnits::ObjectData, QByteArray("file bytes\0\xff", 12));
    c.insertImage(obj);

    for (QTextListFormat::Style style : {QTextListFormat::ListDisc, QTextListFormat::ListDecimal}) {
        QTextBlockFormat item;
        item.setLeftMargin(360 / 15.0);
        item.setProperty(DocumentUnits::ListFirstIndent, -360);
        c.insertBlock(item);
        QTextListFormat lf;
        lf.setStyle(style);
        lf.setIndent(0);
        c.createList(lf);
        c.insertText(QStringLiteral("item one"));
        c.insertBlock();
        c.insertText(QStringLiteral("item two"));
    }
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("end"));
}

TEST(RtfWriter, ReadingWhatItWroteGivesTheSameTextAndFormatsAndWritingAgainTheSameBytes)
{
    QTextDocument original;
    buildRichDocument(original);
    const QByteArray first = RtfWriter::write(original);
    QTextDocument again;
    again.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));  // another control's default
    RtfReader::readDocument(first, again);
    EXPECT_EQ(textOf(again), textOf(original));
    const QStringList want = describe(original);
    const QStringList got = describe(again);
    EXPECT_EQ(got.join('\n').toStdString(), want.join('\n').toStdString());
    again.setDefaultFont(original.defaultFont());
    EXPECT_EQ(RtfWriter::write(again), first);
}

TEST(RtfWriter, TheOutputIsPortableRtf)
{
    QTextDocument doc;
    buildRichDocument(doc);
    const QByteArray rtf = RtfWriter::write(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_TRUE(rtf.endsWith("}\r\n"));
    for (char ch : rtf)
        ASSERT_TRUE(static_cast<unsigned char>(ch) < 0x80) << "non-ASCII text is escaped";
    EXPECT_TRUE(rtf.contains("a\\'e7\\'e3o \\'80 \\u1046?")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?")) << "characters beyond 16 bits go as surrogate pairs";
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Courier New;}}"))
        << "the default font first, then fonts in order of use";
    int depth = 0;
    for (char ch : rtf) {
        depth += ch == '{' ? 1 : ch == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0) << "escaped braces leave the groups balanced";
}

TEST(RtfWriter, AnEmptyDocumentIsStillACompleteDocument)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    const QByteArray rtf = RtfWriter::write(doc);
    EXPECT_TRUE(RtfReader::looksLikeRtf(rtf));
    EXPECT_TRUE(rtf.contains("\\fs24"));
    const auto back = readRtf(rtf);
    EXPECT_EQ(back->blockCount(), 1);
    EXPECT_TRUE(textOf(*back).isEmpty());
    EXPECT_EQ(RtfWriter::write(*back), rtf);
}

TEST(RtfWriter, ARangeWritesOnlyItsCharacters)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("first para"));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centred);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("second"), bold);
    c.insertBlock();
    c.insertText(QStringLiteral("third"));

    struct Case {
        int start, end;
        const char* text;
    };
    for (const Case& k : {Case{6, 14, "para\r\nsec"}, Case{0, 5, "first"}, Case{3, 3, ""},
                          Case{11, 18, "second"}, Case{0, 1000, "first para\r\nsecond\r\nthird"}}) {
        const auto back = readRtf(RtfWriter::writeRange(doc, k.start, k.end));
        EXPECT_EQ(textOf(*back), QString::fromUtf8(k.text)) << k.start << ".." << k.end;
    }
    const auto back = readRtf(RtfWriter::writeRange(doc, 6, 14));
    EXPECT_EQ(alignOf(back->lastBlock().blockFormat()), Qt::AlignHCenter)
        << "the open last paragraph keeps its format";
    EXPECT_EQ(charAt(*back, 6).fontWeight(), QFont::Bold);
}

TEST(RtfWriter, ProgramPicturesAreStoredAsPng)
{
    QTextDocument doc;
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    doc.addResource(QTextDocument::ImageResource, QUrl("mem:1"), image);
    QTextCursor c(&doc);
    QTextImageFormat f;
    f.setName(QStringLiteral("mem:1"));
    f.setWidth(5);
    f.setHeight(4);
    c.insertImage(f);
    const auto back = readRtf(RtfWriter::write(doc));
    const QTextImageFormat p = charAt(*back, 0).toImageFormat();
    ASSERT_TRUE(p.isValid());
    EXPECT_EQ(p.stringProperty(DocumentUnits::PictureKind), QStringLiteral("png"));
    const QImage read = back->resource(QTextDocument::ImageResource, QUrl(p.name())).value<QImage>();
    EXPECT_EQ(read.size(), QSize(5, 4));
    EXPECT_EQ(twips(p.width()), 75);
}

}  // namespace
