// A text formatted through the context menu and stored opens in LibreOffice
// with the same text and formats. LibreOffice converts the stored field to
// HTML; Qt's HTML reader (not our RTF code) then says what LibreOffice saw.
#include "tests/richtext/dbricheditfixture.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

class LibreOfficeOpensTheStoredText : public DBRichEditFixture {
protected:
    void SetUp() override
    {
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    QByteArray toHtml(const QByteArray& rtf)
    {
        const QString input = dir.filePath(QStringLiteral("stored.rtf"));
        QFile in(input);
        EXPECT_TRUE(in.open(QIODevice::WriteOnly));
        in.write(rtf);
        in.close();
        QProcess p;
        p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("html"),
                          QStringLiteral("--outdir"), dir.path(), input});
        EXPECT_TRUE(p.waitForFinished(240000)) << "soffice did not finish";
        QFile out(dir.filePath(QStringLiteral("stored.html")));
        EXPECT_TRUE(out.open(QIODevice::ReadOnly)) << p.readAllStandardError().constData();
        return out.readAll();
    }
    QString soffice;
    QTemporaryDir dir;
};

// The format of the first occurrence of `word`.
QTextCharFormat formatOf(QTextDocument& doc, const QString& word)
{
    QTextCursor found = doc.find(word, 0, QTextDocument::FindCaseSensitively);
    EXPECT_FALSE(found.isNull()) << word.toStdString();
    QTextCursor inside(&doc);
    inside.setPosition(found.selectionStart() + 1);
    return inside.charFormat();
}

TEST_F(LibreOfficeOpensTheStoredText, WithTheSameTextAndFormats)
{
    openWith({unformatted});
    formatThroughTheMenu();
    ASSERT_EQ(errors.messages(), QStringList());
    const QByteArray html = toHtml(stored());
    ASSERT_FALSE(html.isEmpty());

    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(html));
    const QString text = doc.toPlainText().trimmed();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Bold italic under font"))) << html.constData();
    EXPECT_TRUE(text.endsWith(QStringLiteral("bullet line"))) << html.constData();

    struct Case {
        const char* word;
        bool bold, italic, underline;
    };
    for (const Case c : {Case{"Bold", true, false, false}, Case{"italic", false, true, false},
                         Case{"under", false, false, true}, Case{"font", false, false, false},
                         Case{"bullet", false, false, false}}) {
        const QTextCharFormat f = formatOf(doc, QString::fromLatin1(c.word));
        EXPECT_EQ(f.fontWeight() >= QFont::DemiBold, c.bold) << c.word << "\n" << html.constData();
        EXPECT_EQ(f.fontItalic(), c.italic) << c.word;
        EXPECT_EQ(f.fontUnderline(), c.underline) << c.word;
    }
    const QTextCharFormat font = formatOf(doc, QStringLiteral("font"));
    EXPECT_TRUE(font.fontFamilies().toStringList().join(QLatin1Char(',')).contains(QStringLiteral("Liberation Mono")))
        << html.constData();
    EXPECT_EQ(font.fontPointSize(), 18) << html.constData();
    EXPECT_EQ(font.foreground().color(), QColor(Qt::red)) << html.constData();

    const QTextCursor bullet = doc.find(QStringLiteral("bullet line"));
    ASSERT_FALSE(bullet.isNull());
    const QTextList* list = doc.findBlock(bullet.selectionStart()).textList();
    ASSERT_NE(list, nullptr) << html.constData();
    EXPECT_EQ(list->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(doc.findBlock(0).textList(), nullptr);
}

}  // namespace
