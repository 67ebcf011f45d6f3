// RTF between this control and LibreOffice: what it writes reads here with
// the same text and formats, and what this control writes opens there with
// the same text and formats (converted back to RTF by LibreOffice and read
// here, and to plain text).
//
// fixtures/libreoffice_*.rtf are LibreOffice's RTF of the HTML files beside
// them, made with
//   soffice --headless --convert-to 'rtf:Rich Text Format' libreoffice_*.html

#include "platform/richedit/richedit.h"

#include "platform/richedit/documentunits.h"

#include "tests/support/qtprinters.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QByteArray fixture(const char* name)
{
    QFile f(qEnvironmentVariable("TESS_SOURCE_DIR", QStringLiteral(TESS_SOURCE_DIR)) +
            QStringLiteral("/tests/platform/richedit/fixtures/") + QString::fromLatin1(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

// The character format of the text `word` (its first occurrence).
CharFormat formatOf(RichEdit& edit, const QString& word)
{
    const int at = edit.findText(word, 0, edit.textLength(), {true, false});
    EXPECT_GE(at, 0) << word.toStdString();
    edit.setSelection(at, int(word.size()));
    const CharFormat f = edit.selectionCharFormat();
    EXPECT_EQ(f.mask, unsigned(CharFormat::All)) << word.toStdString() << " has one format";
    return f;
}

ParaFormat paragraphOf(RichEdit& edit, const QString& word)
{
    edit.setSelection(edit.findText(word, 0, edit.textLength(), {true, false}), 0);
    return edit.paragraphFormat();
}

TEST(LibreOfficeRtf, ReadsWithTheSameTextAndFormats)
{
    RichEdit edit;
    edit.streamIn(fixture("libreoffice_formats.rtf"), RichEdit::Stream::Rtf);
    EXPECT_EQ(edit.text(), QString::fromUtf16(u"Título negrito itálico sublinhado riscado vermelho marcado\r\n"
                                              u"Courier à direita\r\n"
                                              u"Justificado: minha terra tem palmeiras\r\nonde canta o sabiá.\r\n"
                                              u"primeiro item\r\nsegundo item\r\n"
                                              u"Fim € “aspas” — travessão"));
    const CharFormat title = formatOf(edit, QStringLiteral("Título"));
    EXPECT_EQ(title.face, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(title.sizeTwips, 280);
    EXPECT_FALSE(title.bold || title.italic || title.underline || title.strikeOut);
    EXPECT_TRUE(formatOf(edit, QStringLiteral("negrito")).bold);
    EXPECT_TRUE(formatOf(edit, QString::fromUtf16(u"itálico")).italic);
    EXPECT_TRUE(formatOf(edit, QStringLiteral("sublinhado")).underline);
    EXPECT_TRUE(formatOf(edit, QStringLiteral("riscado")).strikeOut);
    const CharFormat red = formatOf(edit, QStringLiteral("vermelho"));
    EXPECT_FALSE(red.autoColor);
    EXPECT_EQ(red.color, QColor(255, 0, 0));
    const CharFormat marked = formatOf(edit, QStringLiteral("marcado"));
    EXPECT_FALSE(marked.noBackColor);
    EXPECT_EQ(marked.backColor, QColor(255, 255, 0));
    const CharFormat mono = formatOf(edit, QStringLiteral("Courier"));
    EXPECT_EQ(mono.face, QStringLiteral("Liberation Mono"));
    EXPECT_EQ(mono.sizeTwips, 200);

    const ParaFormat centred = paragraphOf(edit, QStringLiteral("Título"));
    EXPECT_EQ(centred.alignment, ParaFormat::Align::Center);
    EXPECT_EQ(centred.startIndent, 1440);
    EXPECT_EQ(centred.spaceBefore, 144);
    EXPECT_EQ(centred.spaceAfter, 283);
    EXPECT_EQ(paragraphOf(edit, QStringLiteral("Courier")).alignment, ParaFormat::Align::Right);
    EXPECT_EQ(paragraphOf(edit, QStringLiteral("Justificado")).alignment, ParaFormat::Align::Justify);
    const ParaFormat item = paragraphOf(edit, QStringLiteral("segundo"));
    EXPECT_EQ(item.numbering, ParaFormat::Number::Bullet);
    EXPECT_EQ(item.startIndent, 709 - 283);
    EXPECT_EQ(item.offset, 283);
    EXPECT_EQ(paragraphOf(edit, QStringLiteral("Fim")).numbering, ParaFormat::Number::None);
}

TEST(LibreOfficeRtf, ReadsTablesLinksAndPictures)
{
    RichEdit edit;
    edit.streamIn(fixture("libreoffice_objects.rtf"), RichEdit::Stream::Rtf);
    EXPECT_EQ(edit.text(), QString::fromUtf16(u"Antes o elo depois\r\num\tdois\r\ntrês\tquatro\r\nFigura:  fim"))
        << "a link shows its text, a table cell ends with a tab and a row with a paragraph";
    // One picture, though LibreOffice writes it twice (and a metafile for
    // older readers); 4 × 2 pixels scaled by 1200 %.
    int pictures = 0;
    for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
                EXPECT_EQ(DocumentUnits::pixelsToTwips(image.width()), 720);
                EXPECT_EQ(DocumentUnits::pixelsToTwips(image.height()), 360);
                EXPECT_FALSE(edit.document()->resource(QTextDocument::ImageResource, QUrl(image.name())).isNull());
                ++pictures;
            }
    EXPECT_EQ(pictures, 1);
}

class LibreOfficeOpens : public ::testing::Test {
protected:
    void SetUp() override
    {
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    // Converts `input` with LibreOffice; answers the converted file's bytes.
    QByteArray convert(const QString& input, const QString& filter, const QString& extension)
    {
        const QString out = dir.filePath(extension);
        QProcess p;
        p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter,
                          QStringLiteral("--outdir"), out, input});
        EXPECT_TRUE(p.waitForFinished(240000)) << "soffice did not finish";
        QFile f(out + QStringLiteral("/") + QFileInfo(input).completeBaseName() + QStringLiteral(".") + extension);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << p.readAllStandardError().constData();
        return f.readAll();
    }
    QString soffice;
    QTemporaryDir dir;
};

TEST_F(LibreOfficeOpens, WhatThisControlWritesWithTheSameTextAndFormats)
{
    RichEdit edit;
    edit.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 12));
    edit.setText(QString::fromUtf16(u"Título negrito itálico sublinhado riscado vermelho marcado\n"
                                    u"Mono à direita\nJustificado\nprimeiro item\nsegundo item\nFim € “aspas” ☺"));
    auto apply = [&](const QString& word, auto change) {
        edit.setSelection(edit.findText(word, 0, edit.textLength(), {true, false}), int(word.size()));
        CharFormat f;
        change(f);
        edit.setSelectionCharFormat(f);
    };
    apply(QStringLiteral("negrito"), [](CharFormat& f) { f.mask = CharFormat::Bold; f.bold = true; });
    apply(QString::fromUtf16(u"itálico"), [](CharFormat& f) { f.mask = CharFormat::Italic; f.italic = true; });
    apply(QStringLiteral("sublinhado"), [](CharFormat& f) { f.mask = CharFormat::Underline; f.underline = true; });
    apply(QStringLiteral("riscado"), [](CharFormat& f) { f.mask = CharFormat::StrikeOut; f.strikeOut = true; });
    apply(QStringLiteral("vermelho"), [](CharFormat& f) {
        f.mask = CharFormat::Color;
        f.autoColor = false;
        f.color = QColor(200, 0, 0);
    });
    apply(QStringLiteral("marcado"), [](CharFormat& f) {
        f.mask = CharFormat::BackColor;
        f.noBackColor = false;
        f.backColor = QColor(255, 255, 0);
    });
    apply(QString::fromUtf16(u"Mono à direita"), [](CharFormat& f) {
        f.mask = CharFormat::Face | CharFormat::Size;
        f.face = QStringLiteral("Liberation Mono");
        f.sizeTwips = 200;
    });
    auto paragraph = [&](const QString& word, auto change) {
        edit.setSelection(edit.findText(word, 0, edit.textLength(), {true, false}), 0);
        ParaFormat p;
        change(p);
        edit.setParagraphFormat(p);
    };
    paragraph(QStringLiteral("Título"), [](ParaFormat& p) {
        p.mask = ParaFormat::Alignment | ParaFormat::StartIndent | ParaFormat::SpaceBefore | ParaFormat::SpaceAfter;
        p.alignment = ParaFormat::Align::Center;
        p.startIndent = 1440;
        p.spaceBefore = 120;
        p.spaceAfter = 240;
    });
    paragraph(QStringLiteral("Mono"), [](ParaFormat& p) {
        p.mask = ParaFormat::Alignment | ParaFormat::RightIndent;
        p.alignment = ParaFormat::Align::Right;
        p.rightIndent = 720;
    });
    paragraph(QStringLiteral("Justificado"), [](ParaFormat& p) {
        p.mask = ParaFormat::Alignment | ParaFormat::LineSpacing;
        p.alignment = ParaFormat::Align::Justify;
        p.lineSpacingRule = 4;
        p.lineSpacing = 360;
    });
    edit.setSelection(edit.findText(QStringLiteral("primeiro"), 0, edit.textLength(), {}), 15);
    ParaFormat bullets;
    bullets.mask = ParaFormat::Numbering | ParaFormat::StartIndent | ParaFormat::Offset;
    bullets.numbering = ParaFormat::Number::Bullet;
    bullets.startIndent = 360;
    bullets.offset = 360;
    edit.setParagraphFormat(bullets);

    const QString ours = dir.filePath(QStringLiteral("ours.rtf"));
    {
        QFile f(ours);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(edit.streamOut(RichEdit::Stream::Rtf));
    }
    const QByteArray text = convert(ours, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt"));
    QString plain = QString::fromUtf8(text);
    if (plain.startsWith(QChar(0xFEFF)))
        plain.remove(0, 1);
    // LibreOffice indents list items in its plain text and may write their
    // bullets there; ours are formats. Compare the lines' words.
    QStringList lines = plain.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n');
    for (QString& line : lines) {
        line = line.trimmed();
        if (line.startsWith(QChar(0x2022)))
            line = line.mid(1).trimmed();
    }
    EXPECT_EQ(lines, edit.text().split(QStringLiteral("\r\n")));

    RichEdit back;
    back.streamIn(convert(ours, QStringLiteral("rtf:Rich Text Format"), QStringLiteral("rtf")), RichEdit::Stream::Rtf);
    EXPECT_EQ(back.text(), edit.text());
    for (const char16_t* word : {u"Título", u"negrito", u"itálico", u"sublinhado", u"riscado", u"vermelho", u"marcado",
                                 u"Mono", u"Fim"}) {
        const QString w = QString::fromUtf16(word);
        const CharFormat want = formatOf(edit, w);
        const CharFormat got = formatOf(back, w);
        EXPECT_EQ(got.bold, want.bold) << w.toStdString();
        EXPECT_EQ(got.italic, want.italic) << w.toStdString();
        EXPECT_EQ(got.underline, want.underline) << w.toStdString();
        EXPECT_EQ(got.strikeOut, want.strikeOut) << w.toStdString();
        EXPECT_EQ(got.face, want.face) << w.toStdString();
        EXPECT_EQ(got.sizeTwips, want.sizeTwips) << w.toStdString();
        EXPECT_EQ(got.autoColor ? QColor() : got.color, want.autoColor ? QColor() : want.color) << w.toStdString();
        EXPECT_EQ(got.noBackColor ? QColor() : got.backColor, want.noBackColor ? QColor() : want.backColor)
            << w.toStdString();
    }
    for (const char16_t* word : {u"Título", u"Mono", u"Justificado", u"primeiro", u"segundo", u"Fim"}) {
        const QString w = QString::fromUtf16(word);
        const ParaFormat want = paragraphOf(edit, w);
        const ParaFormat got = paragraphOf(back, w);
        EXPECT_EQ(got.alignment, want.alignment) << w.toStdString();
        EXPECT_EQ(got.numbering, want.numbering) << w.toStdString();
        EXPECT_EQ(got.startIndent, want.startIndent) << w.toStdString();
        EXPECT_EQ(got.rightIndent, want.rightIndent) << w.toStdString();
        EXPECT_EQ(got.offset, want.offset) << w.toStdString();
        EXPECT_EQ(got.spaceBefore, want.spaceBefore) << w.toStdString();
        EXPECT_EQ(got.spaceAfter, want.spaceAfter) << w.toStdString();
        EXPECT_EQ(got.lineSpacingRule, want.lineSpacingRule) << w.toStdString();
        EXPECT_EQ(got.lineSpacing, want.lineSpacing) << w.toStdString();
    }
}

}  // namespace
