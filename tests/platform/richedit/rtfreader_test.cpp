#include "rtfhelpers.h"

#include "platform/richedit/rtfreaderror.h"

#include <QBuffer>
#include <QImage>
#include <QTextList>

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* rtf;
    const char16_t* text;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.rtf; }

class RtfReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, GivesThePlainText)
{
    const auto doc = readRtf(GetParam().rtf);
    EXPECT_EQ(textOf(*doc), QString::fromUtf16(GetParam().text)) << GetParam().rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, RtfReaderText,
    ::testing::Values(
        TextCase{R"({\rtf1 Hello})", u"Hello"},
        TextCase{R"({\rtf1 a\~b\-c\_d})", u"a\u00A0b\u00ADc\u2011d"},
        TextCase{R"({\rtf1 \{x\}\\})", u"{x}\\"},
        TextCase{R"({\rtf1 caf\'e9})", u"caf\u00E9"},
        // \u with its fallback, and \uc scoped to its group.
        TextCase{R"({\rtf1 \u8364?x})", u"\u20ACx"},
        TextCase{R"({\rtf1\uc2 \u8364ab c})", u"\u20AC c"},
        TextCase{R"({\rtf1{\uc2 \u8364 ab}\u8364?z})", u"\u20AC\u20ACz"},
        TextCase{R"({\rtf1\uc0 \u-10179 \u-8697 x})", u"\U0001F607x"},
        TextCase{R"({\rtf1 \u8364\'80y})", u"\u20ACy"},
        // Control word parameters end at the first non-digit; one space is eaten.
        TextCase{R"({\rtf1\b1 bold\b0  two})", u"bold two"},
        // Destinations that hold no text.
        TextCase{R"({\rtf1{\*\unknowndest hidden}shown})", u"shown"},
        TextCase{R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}body})", u"body"},
        TextCase{R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}x})", u"x"},
        TextCase{R"({\rtf1 a\bin3 {}\b})", u"ab"},
        TextCase{R"({\rtf1 ok\unknownword here})", u"okhere"},
        // Breaks: paragraph and line both read as CR LF; the final \par adds nothing.
        TextCase{R"({\rtf1 one\par two\line three\par})", u"one\r\ntwo\r\nthree"},
        TextCase{R"({\rtf1 a\tab b\par\par c})", u"a\tb\r\n\r\nc"},
        TextCase{"{\\rtf1 a\\\r\nb}", u"a\r\nb"},
        TextCase{"{\\rtf1 a\r\nb\nc}", u"abc"},
        TextCase{R"({\rtf1\bullet\emdash\endash\lquote\rquote\ldblquote\rdblquote\emspace\enspace})",
                 u"\u2022\u2014\u2013\u2018\u2019\u201C\u201D\u2003\u2002"},
        // Fields show their result; the instruction is not text.
        TextCase{R"({\rtf1 see {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}} now})", u"see link now"},
        // Tables: a cell ends with a tab, a row with a paragraph.
        TextCase{R"({\rtf1\trowd\cellx1000\cellx2000 a\cell b\cell\row\pard after})", u"a\tb\r\nafter"},
        // List markers are formatting, not text.
        TextCase{R"({\rtf1{\pntext\'b7\tab}{\*\pn\pnlvlblt{\pntxtb\'b7}}item\par})", u"item"},
        TextCase{R"({\rtf1{\listtext 1.\tab}\ls1 item\par})", u"item"},
        // What follows the document's closing brace is not RTF.
        TextCase{R"({\rtf1 in}out)", u"in"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    CodePages, RtfReaderText,
    ::testing::Values(
        TextCase{R"({\rtf1\ansi\ansicpg1251 \'c0\'e1})", u"\u0410\u0431"},
        TextCase{R"({\rtf1\ansi{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset161 G;}}\f1 \'e1\f0 \'e1})", u"\u03B1\u00E1"},
        TextCase{R"({\rtf1\ansi{\fonttbl{\f1\fcharset128 J;}}\f1 \'82\'a0})", u"\u3042"},
        TextCase{R"({\rtf1\ansi{\fonttbl{\f1\cpg1253 G;}}\f1 \'e1})", u"\u03B1"},
        TextCase{R"({\rtf1\ansi\ansicpg99999 \'e9})", u"\u00E9"},
        TextCase{R"({\rtf1\mac \'8e})", u"\u00E9"},
        // A \u in a double-byte font skips a whole two-byte fallback.
        TextCase{R"({\rtf1{\fonttbl{\f1\fcharset128 J;}}\f1\u12354\'82\'a0x})", u"\u3042x"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Damaged, RtfReaderText,
    ::testing::Values(
        TextCase{R"({\rtf1 cut off)", u"cut off"},
        TextCase{R"({\rtf1 {{{deep)", u"deep"},
        TextCase{R"({\rtf1 a}}}}b)", u"a"},
        TextCase{R"({\rtf1 \'zz\'4)", u"zz"},
        TextCase{R"({\rtf1\fs99999999999999999999 big\li-99999999999 x})", u"bigx"},
        TextCase{R"({\rtf1\bin99999999 abc})", u""},
        TextCase{R"({\rtf1\uc99999 \u99999999 abc})", u"\uFFFF"},
        TextCase{"{\\rtf1 a\\", u"a"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(RtfReader, RefusesBytesThatAreNotRtfAndKeepsTheDocument)
{
    for (const char* bytes : {"plain text", "", "{\\rt", " {rtf1}", "\\rtf1"}) {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("kept"));
        EXPECT_THROW(RtfReader::readDocument(QByteArray(bytes), doc), RtfReadError) << bytes;
        EXPECT_EQ(doc.toPlainText(), QStringLiteral("kept"));
    }
    QTextDocument doc;
    RtfReader::readDocument("\xEF\xBB\xBF \r\n{\\rtf1 bom}", doc);
    EXPECT_EQ(textOf(doc), QStringLiteral("bom"));
}

TEST(RtfReader, SurvivesNestingThousandsDeepAndFloodsOfGroups)
{
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(200000, '{') + "x" + QByteArray(200000, '}') + " tail";
    QByteArray flood = "{\\rtf1 ";
    for (int i = 0; i < 20000; ++i)
        flood += "{\\*\\pn\\pnlvlblt{\\pntxtb x}}\\par{\\pict\\pngblip 89}";
    // Work proportional to the input: a quadratic reader would not finish
    // within the suite's time limit on these.
    const auto flooded = readRtf(flood);
    EXPECT_EQ(flooded->blockCount(), 20001);
    EXPECT_EQ(textOf(*readRtf(deep)), QStringLiteral(" tail")) << "text nested beyond the depth limit is dropped";
}

TEST(RtfReader, CharacterFormats)
{
    const auto doc = readRtf(
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern Courier New;}})"
        R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
        R"(\f0\fs24 n{\b b}{\i i}{\ul u}{\uldb d}{\ul\ulnone x}{\strike s}{\f1 c}{\fs40 z})"
        R"({\cf1 r}{\cf1\cf0 a}{\highlight2 h}{\cb1 k}{\b\i\plain p}})");
    struct Expect {
        int pos;
        std::function<bool(const QTextCharFormat&)> holds;
        const char* what;
    };
    const std::vector<Expect> cases = {
        {0, [](auto& f) { return f.fontWeight() == QFont::Normal && !f.fontItalic() && !f.fontUnderline(); }, "normal"},
        {0, [](auto& f) { return f.fontFamilies().toStringList() == QStringList{"Arial"}; }, "face"},
        {0, [](auto& f) { return f.fontPointSize() == 12; }, "size"},
        {1, [](auto& f) { return f.fontWeight() == QFont::Bold; }, "bold"},
        {2, [](auto& f) { return f.fontItalic(); }, "italic"},
        {3, [](auto& f) { return f.fontUnderline(); }, "underline"},
        {4, [](auto& f) { return f.fontUnderline(); }, "double underline reads as underline"},
        {5, [](auto& f) { return !f.fontUnderline(); }, "ulnone"},
        {6, [](auto& f) { return f.fontStrikeOut(); }, "strikeout"},
        {7, [](auto& f) { return f.fontFamilies().toStringList() == QStringList{"Courier New"}; }, "second face"},
        {8, [](auto& f) { return f.fontPointSize() == 20; }, "fs40"},
        {9, [](auto& f) { return f.foreground().color() == QColor(255, 0, 0); }, "colour"},
        {10, [](auto& f) { return !f.hasProperty(QTextFormat::ForegroundBrush); }, "automatic colour"},
        {11, [](auto& f) { return f.background().color() == QColor(0, 0, 255); }, "highlight"},
        {12, [](auto& f) { return f.background().color() == QColor(255, 0, 0); }, "background"},
        {13, [](auto& f) { return f.fontWeight() == QFont::Normal && !f.fontItalic(); }, "plain"},
    };
    ASSERT_EQ(textOf(*doc), QStringLiteral("nbiudxsczrahkp"));
    for (const Expect& e : cases)
        EXPECT_TRUE(e.holds(charAt(*doc, e.pos))) << e.what;
}

TEST(RtfReader, ParagraphFormatsInTwips)
{
    const auto doc = readRtf(
        R"({\rtf1\pard\qc\li720\ri360\fi-240\sb120\sa60\sl360\slmult1\tx1440\tx720 a\par)"
        R"(\pard\qr\sl-300\slmult0 b\par\pard\qj\sl280 c\par\pard d\page e})");
    QTextBlock a = doc->begin();
    const QTextBlockFormat fa = a.blockFormat();
    EXPECT_EQ(alignOf(fa), Qt::AlignHCenter);
    EXPECT_EQ(twips(fa.leftMargin()), 720);
    EXPECT_EQ(twips(fa.rightMargin()), 360);
    EXPECT_EQ(twips(fa.textIndent()), -240);
    EXPECT_EQ(twips(fa.topMargin()), 120);
    EXPECT_EQ(twips(fa.bottomMargin()), 60);
    EXPECT_EQ(fa.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(fa.lineHeight(), 150.0);
    ASSERT_EQ(fa.tabPositions().size(), 2);
    EXPECT_EQ(twips(fa.tabPositions()[0].position), 720) << "tab stops are kept in order";
    EXPECT_EQ(twips(fa.tabPositions()[1].position), 1440);

    const QTextBlockFormat fb = a.next().blockFormat();
    EXPECT_EQ(alignOf(fb), Qt::AlignRight);
    EXPECT_EQ(fb.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_EQ(twips(fb.lineHeight()), 300);
    EXPECT_EQ(twips(fb.leftMargin()), 0) << "\\pard resets the indents";

    const QTextBlockFormat fc = a.next().next().blockFormat();
    EXPECT_EQ(alignOf(fc), Qt::AlignJustify);
    EXPECT_EQ(fc.lineHeightType(), QTextBlockFormat::MinimumHeight);
    EXPECT_EQ(twips(fc.lineHeight()), 280);

    const QTextBlock e = doc->lastBlock();
    EXPECT_EQ(e.text(), QStringLiteral("e"));
    EXPECT_TRUE(e.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

TEST(RtfReader, MoreThan32TabStopsKeepTheFirst32)
{
    QByteArray rtf = "{\\rtf1\\pard";
    for (int i = 1; i <= 40; ++i)
        rtf += "\\tx" + QByteArray::number(i * 100);
    rtf += " x}";
    EXPECT_EQ(readRtf(rtf)->begin().blockFormat().tabPositions().size(), 32);
}

TEST(RtfReader, BulletsInBothWaysOfWritingThem)
{
    const QByteArray platform = R"({\rtf1{\pntext\f0\'b7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'b7}}\fi-360\li360 one\par)"
                                R"({\pntext\f0\'b7\tab}one more\par\pard plain\par})";
    const QByteArray lists = R"({\rtf1{\*\listtable{\list\listtemplateid1{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}}\listid7})"
                             R"({\list{\listlevel\levelnfc0{\leveltext\'02\'00.;}}\listid8}})"
                             R"({\*\listoverridetable{\listoverride\listid7\ls1}{\listoverride\listid8\ls2}})"
                             R"(\pard\ls1\fi-360\li720{\listtext\'b7\tab}one\par{\listtext\'b7\tab}one more\par)"
                             R"(\pard\ls2{\listtext 1.\tab}num\par\pard plain\par})";
    for (const QByteArray& rtf : {platform, lists}) {
        const auto doc = readRtf(rtf);
        const QTextBlock b1 = doc->begin();
        const QTextBlock b2 = b1.next();
        ASSERT_NE(b1.textList(), nullptr) << rtf.constData();
        EXPECT_EQ(b1.textList()->format().style(), QTextListFormat::ListDisc);
        EXPECT_EQ(b1.textList(), b2.textList()) << "consecutive items share one list";
        EXPECT_EQ(b1.blockFormat().intProperty(DocumentUnits::ListFirstIndent), -360);
        EXPECT_EQ(doc->lastBlock().textList(), nullptr) << "\\pard ends the list";
    }
    const auto doc = readRtf(lists);
    ASSERT_NE(doc->begin().next().next().textList(), nullptr);
    EXPECT_EQ(doc->begin().next().next().textList()->format().style(), QTextListFormat::ListDecimal);
}

QByteArray hex(const QByteArray& data) { return data.toHex(); }

QByteArray pngBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(RtfReader, PicturesObjectsAndUnknownPictureKinds)
{
    const QByteArray png = pngBytes(4, 3);
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450 " + hex(png) +
                           "}b{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 0102}c"
                           "{\\object\\objemb{\\*\\objclass Package}\\objw300\\objh200{\\*\\objdata 414243}"
                           "{\\result{\\pict\\pngblip\\picwgoal300\\pichgoal200 " + hex(png) + "}}}d}";
    const auto doc = readRtf(rtf);
    EXPECT_EQ(textOf(*doc), QStringLiteral("abcd")) << "pictures are no text";
    const QTextImageFormat p = charAt(*doc, 1).toImageFormat();
    ASSERT_TRUE(p.isValid());
    EXPECT_EQ(twips(p.width()), 600);
    EXPECT_EQ(twips(p.height()), 450);
    EXPECT_EQ(p.property(DocumentUnits::PictureData).toByteArray(), png);
    EXPECT_FALSE(doc->resource(QTextDocument::ImageResource, QUrl(p.name())).value<QImage>().isNull());

    const QTextImageFormat w = charAt(*doc, 3).toImageFormat();
    ASSERT_TRUE(w.isValid()) << "an unknown picture kind keeps its place";
    EXPECT_EQ(twips(w.width()), 1440);
    EXPECT_EQ(twips(w.height()), 720);
    EXPECT_EQ(w.property(DocumentUnits::PictureData).toByteArray(), QByteArray("\x01\x02"));

    const QTextImageFormat o = charAt(*doc, 5).toImageFormat();
    ASSERT_TRUE(o.isValid());
    EXPECT_EQ(o.stringProperty(DocumentUnits::ObjectClass), QStringLiteral("Package"));
    EXPECT_EQ(o.property(DocumentUnits::ObjectData).toByteArray(), QByteArray("ABC"));
    EXPECT_EQ(o.property(DocumentUnits::PictureData).toByteArray(), png) << "the object keeps its result picture";
}

TEST(RtfReader, FontNamesInTheirCodePageAndWithUnicode)
{
    const auto doc = readRtf(R"({\rtf1{\fonttbl{\f0\fcharset204 \'c0rial;}{\f1 Caf\u233 e;}}\f0 x\f1 y})");
    EXPECT_EQ(charAt(*doc, 0).fontFamilies().toStringList(), QStringList{QString::fromUtf16(u"\u0410rial")});
    EXPECT_EQ(charAt(*doc, 1).fontFamilies().toStringList(), QStringList{QString::fromUtf16(u"Caf\u00E9")});
}

TEST(RtfReader, ReadIntoReplacesTheSelectionOnly)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("before MIDDLE after"));
    QTextCursor c(&doc);
    c.setPosition(7);
    c.setPosition(13, QTextCursor::KeepAnchor);
    RtfReader::readInto(R"({\rtf1 {\b new}})", c);
    EXPECT_EQ(textOf(doc), QStringLiteral("before new after"));
    EXPECT_EQ(c.position(), 10);
    EXPECT_EQ(charAt(doc, 7).fontWeight(), QFont::Bold);

    QTextCursor d(&doc);
    d.setPosition(6);
    RtfReader::readInto(R"({\rtf1 X\par Y})", d);
    EXPECT_EQ(textOf(doc), QStringLiteral("beforeX\r\nY new after"));

    EXPECT_THROW(RtfReader::readInto("not rtf", d), RtfReadError);
    EXPECT_EQ(textOf(doc), QStringLiteral("beforeX\r\nY new after"));
}

}  // namespace
