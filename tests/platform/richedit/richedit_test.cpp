#include "platform/richedit/richedit.h"

#include "platform/richedit/documentunits.h"
#include "platform/richedit/rtfreaderror.h"
#include "tests/support/qtprinters.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

const QByteArray boldRtf = R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs24 plain {\b bold} end\par second\par})";

TEST(RichEditText, LineBreaksOfEveryKindComeBackAsCrLf)
{
    struct Case {
        const char* in;
        const char* out;
    };
    for (const Case& c : {Case{"a\nb", "a\r\nb"}, Case{"a\rb", "a\r\nb"}, Case{"a\r\nb", "a\r\nb"},
                          Case{"a\n\nb\r\r\n", "a\r\n\r\nb\r\n\r\n"}, Case{"", ""}, Case{"tab\there", "tab\there"}}) {
        RichEdit edit;
        edit.setText(QString::fromUtf8(c.in));
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.out)) << c.in;
    }
    RichEdit edit;
    edit.streamIn(R"({\rtf1 one\line two\par three})", RichEdit::Stream::Rtf);
    EXPECT_EQ(edit.text(), QStringLiteral("one\r\ntwo\r\nthree")) << "a line break reads as a paragraph end does";
}

TEST(RichEditText, SettingTheTextDropsAllFormattingAndClearsModified)
{
    RichEdit edit;
    edit.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    edit.streamIn(boldRtf, RichEdit::Stream::Rtf);
    edit.setModified(true);
    edit.setText(edit.text());
    EXPECT_FALSE(edit.isModified());
    edit.setSelection(0, -1);
    const CharFormat f = edit.selectionCharFormat();
    EXPECT_TRUE(f.mask & CharFormat::Bold) << "no run is bold any more";
    EXPECT_FALSE(f.bold);
    EXPECT_EQ(f.face, QStringLiteral("Arial"));
    EXPECT_EQ(f.sizeTwips, 240);
    edit.setDefaultFont(QFont(QStringLiteral("Arial"), 20, QFont::Bold));
    const CharFormat g = edit.selectionCharFormat();
    EXPECT_TRUE(g.bold) << "the default font is the font of the whole text";
    EXPECT_EQ(g.sizeTwips, 400);
}

TEST(RichEditStreams, ReadAndWriteWholeContentOrSelection)
{
    RichEdit edit;
    edit.streamIn(boldRtf, RichEdit::Stream::Rtf);
    EXPECT_EQ(edit.text(), QStringLiteral("plain bold end\r\nsecond"));
    EXPECT_FALSE(edit.isModified());

    edit.setSelection(6, 4);
    EXPECT_EQ(edit.streamOut(RichEdit::Stream::PlainText, true), QByteArray("bold"));
    const QByteArray selection = edit.streamOut(RichEdit::Stream::Rtf, true);
    RichEdit other;
    other.streamIn(selection, RichEdit::Stream::Rtf);
    EXPECT_EQ(other.text(), QStringLiteral("bold"));
    other.setSelection(0, 4);
    EXPECT_TRUE(other.selectionCharFormat().bold);

    edit.setSelection(0, 5);
    edit.streamIn(R"({\rtf1 {\i new}})", RichEdit::Stream::Rtf, true);
    EXPECT_EQ(edit.text(), QStringLiteral("new bold end\r\nsecond"));
    edit.setSelection(0, 0);
    edit.streamIn(QByteArray("x\ny"), RichEdit::Stream::PlainText, true);
    EXPECT_EQ(edit.text(), QStringLiteral("x\r\nynew bold end\r\nsecond"));

    const QByteArray whole = edit.streamOut(RichEdit::Stream::Rtf);
    other.streamIn(whole, RichEdit::Stream::Rtf);
    EXPECT_EQ(other.streamOut(RichEdit::Stream::Rtf), whole);
    EXPECT_EQ(edit.streamOut(RichEdit::Stream::PlainText), edit.text().toUtf8());
}

TEST(RichEditStreams, BytesThatAreNotRtfAreRefusedAndReadAsPlainText)
{
    RichEdit edit;
    edit.streamIn(boldRtf, RichEdit::Stream::Rtf);
    const QByteArray before = edit.streamOut(RichEdit::Stream::Rtf);
    for (bool selection : {false, true}) {
        EXPECT_THROW(edit.streamIn("Caf\xe9 au lait", RichEdit::Stream::Rtf, selection), RtfReadError);
        EXPECT_EQ(edit.streamOut(RichEdit::Stream::Rtf), before) << "a refused read changes nothing";
    }
    struct Case {
        QByteArray bytes;
        const char16_t* text;
    };
    for (const Case& c : {Case{"Caf\xe9\r\nau lait", u"Caf\u00E9\r\nau lait"},
                          Case{"Caf\xc3\xa9\nau lait", u"Caf\u00E9\r\nau lait"},
                          Case{"\xef\xbb\xbf" "bom", u"bom"}}) {
        edit.streamIn(c.bytes, RichEdit::Stream::PlainText);
        EXPECT_EQ(edit.text(), QString::fromUtf16(c.text));
    }
}

TEST(RichEditSelection, GetSetReplaceAndClear)
{
    RichEdit edit;
    edit.setText(QStringLiteral("one two\nthree"));
    struct Case {
        int start, length, wantStart, wantLength;
        const char* text;
    };
    for (const Case& c : {Case{4, 3, 4, 3, "two"}, Case{4, 5, 4, 5, "two\r\nt"}, Case{-5, 2, 0, 2, "on"},
                          Case{10, 100, 10, 3, "ree"}, Case{0, -1, 0, 13, "one two\r\nthree"}, Case{99, 1, 13, 0, ""}}) {
        edit.setSelection(c.start, c.length);
        EXPECT_EQ(edit.selStart(), c.wantStart) << c.start << "+" << c.length;
        EXPECT_EQ(edit.selLength(), c.wantLength) << c.start << "+" << c.length;
        EXPECT_EQ(edit.selectedPlainText(), QString::fromUtf8(c.text));
    }
    edit.setSelection(4, 3);
    edit.replaceSelection(QStringLiteral("2\r\n2"));
    EXPECT_EQ(edit.text(), QStringLiteral("one 2\r\n2\r\nthree"));
    edit.setSelection(0, 4);
    edit.clearSelection();
    EXPECT_EQ(edit.text(), QStringLiteral("2\r\n2\r\nthree"));
    EXPECT_EQ(edit.selLength(), 0);
}

TEST(RichEditClipboard, CopyOffersRtfAndPlainTextAndPasteKeepsFormats)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    RichEdit edit;
    edit.streamIn(boldRtf, RichEdit::Stream::Rtf);
    edit.setSelection(6, 4);
    edit.copy();
    const QMimeData* data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    for (const char* type : {"text/rtf", "text/richtext", "application/rtf"})
        EXPECT_TRUE(data->data(QString::fromLatin1(type)).startsWith("{\\rtf1")) << type;
    EXPECT_EQ(data->text(), QStringLiteral("bold"));
    EXPECT_FALSE(data->hasHtml()) << "only the control's own formats";

    RichEdit target;
    target.setText(QStringLiteral("[]"));
    target.setSelection(1, 0);
    EXPECT_TRUE(target.canPaste());
    target.paste();
    EXPECT_EQ(target.text(), QStringLiteral("[bold]"));
    target.setSelection(1, 4);
    EXPECT_TRUE(target.selectionCharFormat().bold);

    clipboard->setText(QStringLiteral("keep"));
    edit.setSelection(3, 0);
    edit.copy();
    EXPECT_EQ(clipboard->text(), QStringLiteral("keep")) << "copying nothing leaves the clipboard alone";

    target.setSelection(0, 1);
    target.paste();
    EXPECT_EQ(target.text(), QStringLiteral("keepbold]")) << "plain text pastes too";

    edit.setSelection(0, 5);
    edit.cut();
    EXPECT_EQ(clipboard->text(), QStringLiteral("plain"));
    EXPECT_EQ(edit.text(), QStringLiteral(" bold end\r\nsecond"));

    clipboard->clear();
    EXPECT_FALSE(target.canPaste());
}

TEST(RichEditClipboard, AReadOnlyControlTakesProgramTextAndCopiesButTakesNoEdits)
{
    RichEdit edit;
    edit.setReadOnly(true);
    edit.setText(QStringLiteral("set by the program"));
    EXPECT_EQ(edit.text(), QStringLiteral("set by the program"));
    edit.streamIn(boldRtf, RichEdit::Stream::Rtf);
    EXPECT_EQ(edit.text(), QStringLiteral("plain bold end\r\nsecond"));
    edit.setSelection(0, 5);
    edit.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("plain"));
    EXPECT_TRUE(edit.canPaste()) << "the clipboard holds text; whether to paste is the caller's rule";
    edit.paste();
    edit.cut();
    QTest::keyClicks(&edit, QStringLiteral("typed"));
    EXPECT_EQ(edit.text(), QStringLiteral("plain bold end\r\nsecond"));
    EXPECT_FALSE(edit.isModified());
}

TEST(RichEditEditing, TypingSetsModifiedAndUndoRedoFollowIt)
{
    RichEdit edit;
    edit.setText(QStringLiteral("abc"));
    EXPECT_FALSE(edit.isModified());
    EXPECT_FALSE(edit.canUndo()) << "set text starts a fresh history";
    edit.setSelection(3, 0);
    QTest::keyClicks(&edit, QStringLiteral("de"));
    EXPECT_EQ(edit.text(), QStringLiteral("abcde"));
    EXPECT_TRUE(edit.isModified());
    EXPECT_TRUE(edit.canUndo());
    EXPECT_FALSE(edit.canRedo());
    edit.undo();
    EXPECT_EQ(edit.text(), QStringLiteral("abc"));
    EXPECT_TRUE(edit.canRedo());
    edit.redo();
    EXPECT_EQ(edit.text(), QStringLiteral("abcde"));
    edit.setModified(false);
    EXPECT_FALSE(edit.isModified());

    edit.streamIn(boldRtf, RichEdit::Stream::Rtf);
    EXPECT_FALSE(edit.canUndo()) << "a whole new content starts a fresh history";
    edit.setSelection(0, 5);
    edit.streamIn(R"({\rtf1 new})", RichEdit::Stream::Rtf, true);
    EXPECT_TRUE(edit.canUndo());
    edit.undo();
    EXPECT_EQ(edit.text(), QStringLiteral("plain bold end\r\nsecond")) << "a read into the selection undoes in one step";
}

TEST(RichEditEditing, ShiftEnterIsALineBreakInTheSameParagraph)
{
    RichEdit edit;
    QTest::keyClicks(&edit, QStringLiteral("a"));
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&edit, QStringLiteral("b"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, QStringLiteral("c"));
    EXPECT_EQ(edit.text(), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(edit.document()->blockCount(), 2);
}

TEST(RichEditEditing, NotificationsOfContentAndSelection)
{
    RichEdit edit;
    QSignalSpy content(&edit, &RichEdit::contentChanged);
    QSignalSpy selection(&edit, &RichEdit::selectionChange);
    edit.setText(QStringLiteral("hello"));
    EXPECT_GE(content.count(), 1);
    content.clear();
    edit.setSelection(1, 2);
    EXPECT_GE(selection.count(), 1);
    EXPECT_EQ(content.count(), 0) << "selecting changes no content";
    selection.clear();
    edit.setSelection(1, 3);
    EXPECT_GE(selection.count(), 1) << "moving only the end of a selection is a selection change";
    CharFormat bold;
    bold.mask = CharFormat::Bold;
    bold.bold = true;
    edit.setSelectionCharFormat(bold);
    EXPECT_GE(content.count(), 1) << "a format change is a content change";
}

TEST(RichEditFormats, CharacterFormatOfASelectionTellsWhatIsMixed)
{
    RichEdit edit;
    edit.streamIn(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red255\green0\blue0;})"
                  R"(\f0\fs24 aa{\b\cf1 bb}{\f1\fs24\b cc}})",
                  RichEdit::Stream::Rtf);
    edit.setSelection(2, 4);
    CharFormat f = edit.selectionCharFormat();
    EXPECT_TRUE(f.mask & CharFormat::Bold);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.mask & CharFormat::Size);
    EXPECT_EQ(f.sizeTwips, 240);
    EXPECT_FALSE(f.mask & CharFormat::Face) << "Arial and Courier New";
    EXPECT_FALSE(f.mask & CharFormat::Color) << "red and automatic";
    edit.setSelection(0, 4);
    f = edit.selectionCharFormat();
    EXPECT_FALSE(f.mask & CharFormat::Bold);
    EXPECT_TRUE(f.mask & CharFormat::Face);

    // Applying names only what the mask says; the rest of each run stays.
    CharFormat apply;
    apply.mask = CharFormat::Italic | CharFormat::Size | CharFormat::Color | CharFormat::BackColor;
    apply.italic = true;
    apply.sizeTwips = 300;
    apply.autoColor = true;
    apply.noBackColor = false;
    apply.backColor = QColor(1, 2, 3);
    edit.setSelection(0, 6);
    edit.setSelectionCharFormat(apply);
    edit.setSelection(2, 2);
    f = edit.selectionCharFormat();
    EXPECT_TRUE(f.bold) << "bold was not named";
    EXPECT_TRUE(f.italic);
    EXPECT_EQ(f.sizeTwips, 300);
    EXPECT_TRUE(f.autoColor) << "automatic colour clears the red";
    EXPECT_FALSE(f.noBackColor);
    EXPECT_EQ(f.backColor, QColor(1, 2, 3));
    edit.setSelection(4, 2);
    EXPECT_EQ(edit.selectionCharFormat().face, QStringLiteral("Courier New"));
    EXPECT_EQ(edit.selectionCharFormat().sizeTwips, 300);
}

TEST(RichEditFormats, ParagraphFormatInTwipsRoundTripsThroughTheControlAndRtf)
{
    RichEdit edit;
    edit.setText(QStringLiteral("one\ntwo\nthree"));
    edit.setSelection(0, 5);  // the first two paragraphs
    ParaFormat p;
    p.mask = ParaFormat::All;
    p.alignment = ParaFormat::Align::Justify;
    p.numbering = ParaFormat::Number::Bullet;
    p.startIndent = 360;
    p.rightIndent = 180;
    p.offset = 720;
    for (int i = 1; i <= 40; ++i)
        p.tabs.push_back(i * 100);
    p.spaceBefore = 120;
    p.spaceAfter = 60;
    p.lineSpacingRule = 4;
    p.lineSpacing = 300;
    edit.setParagraphFormat(p);

    RichEdit copy;
    copy.streamIn(edit.streamOut(RichEdit::Stream::Rtf), RichEdit::Stream::Rtf);
    for (RichEdit* e : {&edit, &copy}) {
        e->setSelection(0, 5);
        const ParaFormat got = e->paragraphFormat();
        EXPECT_EQ(got.mask, unsigned(ParaFormat::All)) << "both paragraphs have the same format";
        EXPECT_EQ(got.alignment, ParaFormat::Align::Justify);
        EXPECT_EQ(got.numbering, ParaFormat::Number::Bullet);
        EXPECT_EQ(got.startIndent, 360);
        EXPECT_EQ(got.rightIndent, 180);
        EXPECT_EQ(got.offset, 720);
        ASSERT_EQ(got.tabs.size(), 32u) << "at most 32 tab stops";
        EXPECT_EQ(got.tabs.back(), 3200);
        EXPECT_EQ(got.spaceBefore, 120);
        EXPECT_EQ(got.spaceAfter, 60);
        EXPECT_EQ(got.lineSpacingRule, 4);
        EXPECT_EQ(got.lineSpacing, 300);
        EXPECT_EQ(e->text(), QStringLiteral("one\r\ntwo\r\nthree")) << "bullets are not text";
        EXPECT_EQ(e->document()->begin().textList(), e->document()->begin().next().textList());
        e->setSelection(0, 13);
        EXPECT_FALSE(e->paragraphFormat().mask & ParaFormat::Numbering) << "the third paragraph has none";
    }

    struct Spacing {
        int rule, value, wantRule, wantValue;
    };
    for (const Spacing& s : {Spacing{0, 0, 0, 0}, Spacing{1, 0, 1, 0}, Spacing{2, 0, 2, 0}, Spacing{3, 280, 3, 280},
                             Spacing{5, 30, 1, 0}, Spacing{5, 25, 5, 25}, Spacing{5, 20, 0, 0}}) {
        ParaFormat q;
        q.mask = ParaFormat::LineSpacing;
        q.lineSpacingRule = s.rule;
        q.lineSpacing = s.value;
        edit.setSelection(0, 0);
        edit.setParagraphFormat(q);
        copy.streamIn(edit.streamOut(RichEdit::Stream::Rtf), RichEdit::Stream::Rtf);
        for (RichEdit* e : {&edit, &copy}) {
            e->setSelection(0, 0);
            EXPECT_EQ(e->paragraphFormat().lineSpacingRule, s.wantRule) << s.rule << "/" << s.value;
            EXPECT_EQ(e->paragraphFormat().lineSpacing, s.wantValue) << s.rule << "/" << s.value;
        }
    }

    // Bullets off: the offset goes first, then the numbering.
    ParaFormat off;
    off.mask = ParaFormat::Offset;
    off.offset = 0;
    edit.setSelection(0, 5);
    edit.setParagraphFormat(off);
    off.mask = ParaFormat::Numbering;
    off.numbering = ParaFormat::Number::None;
    edit.setParagraphFormat(off);
    const ParaFormat after = edit.paragraphFormat();
    EXPECT_EQ(after.numbering, ParaFormat::Number::None);
    EXPECT_EQ(after.offset, 0);
    EXPECT_EQ(after.startIndent, 360);
    EXPECT_EQ(edit.document()->begin().textList(), nullptr);
}

// The rightmost inked column of the first text line, as the user sees it.
int firstLineRightEdge(RichEdit& edit)
{
    edit.show();
    QApplication::processEvents();
    const QImage shot = edit.viewport()->grab().toImage();
    const QTextLine line = edit.document()->begin().layout()->lineAt(0);
    int right = -1;
    for (int y = int(line.y()) + 4; y < int(line.y() + line.height()) && y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) < 128)
                right = std::max(right, x);
    return right;
}

TEST(RichEditFormats, JustifiedParagraphsShowJustifiedOnScreen)
{
    const QString words = QStringLiteral("Minha terra tem palmeiras onde canta o sabiá, as aves que aqui gorjeiam "
                                         "não gorjeiam como lá. Nosso céu tem mais estrelas.");
    int edges[2] = {0, 0};
    for (ParaFormat::Align align : {ParaFormat::Align::Left, ParaFormat::Align::Justify}) {
        RichEdit edit;
        edit.resize(300, 200);
        edit.setText(words);
        ParaFormat p;
        p.mask = ParaFormat::Alignment;
        p.alignment = align;
        edit.setParagraphFormat(p);
        edges[int(align == ParaFormat::Align::Justify)] = firstLineRightEdge(edit);
    }
    EXPECT_GT(edges[1], edges[0] + 4) << "the justified line reaches further right than the ragged one";
}

TEST(RichEditFind, ForwardsInARangeWithMatchCaseAndWholeWord)
{
    RichEdit edit;
    edit.setText(QStringLiteral("Cat catalog cat\nCAT"));
    struct Case {
        const char* text;
        int start, end;
        bool matchCase, wholeWord;
        int found;
    };
    for (const Case& c : {Case{"cat", 0, 100, false, false, 0}, Case{"cat", 1, 100, false, false, 4},
                          Case{"cat", 0, 100, true, false, 4}, Case{"cat", 1, 100, false, true, 12},
                          Case{"CAT", 1, 100, true, true, 16}, Case{"cat", 5, 14, false, false, -1},
                          Case{"cat", 5, 15, false, false, 12}, Case{"dog", 0, 100, false, false, -1},
                          Case{"", 0, 100, false, false, -1}}) {
        EXPECT_EQ(edit.findText(QString::fromUtf8(c.text), c.start, c.end, {c.matchCase, c.wholeWord}), c.found)
            << c.text << " from " << c.start << " to " << c.end;
    }
}

TEST(RichEditVersion, TheOlderControlTakesNoBackgroundAndNoSpacings)
{
    for (int version : {1, 2}) {
        RichEdit edit;
        EXPECT_EQ(edit.version(), 2);
        edit.setVersion(version);
        edit.setText(QStringLiteral("text"));
        edit.setSelection(0, 4);
        CharFormat c;
        c.mask = CharFormat::BackColor | CharFormat::Bold;
        c.noBackColor = false;
        c.backColor = QColor(0, 255, 0);
        c.bold = true;
        edit.setSelectionCharFormat(c);
        ParaFormat p;
        p.mask = ParaFormat::SpaceBefore | ParaFormat::LineSpacing | ParaFormat::StartIndent;
        p.spaceBefore = 240;
        p.lineSpacingRule = 2;
        p.startIndent = 720;
        edit.setParagraphFormat(p);
        const CharFormat gotChar = edit.selectionCharFormat();
        const ParaFormat gotPara = edit.paragraphFormat();
        EXPECT_TRUE(gotChar.bold) << version;
        EXPECT_EQ(gotChar.noBackColor, version == 1) << version;
        EXPECT_EQ(gotPara.startIndent, 720) << version;
        EXPECT_EQ(gotPara.spaceBefore, version == 1 ? 0 : 240) << version;
        EXPECT_EQ(gotPara.lineSpacingRule, version == 1 ? 0 : 2) << version;
        EXPECT_THROW(edit.setVersion(3), Exception);
        EXPECT_EQ(edit.version(), version);
    }
}

}  // namespace
