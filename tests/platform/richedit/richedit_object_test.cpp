#include "platform/richedit/richedit.h"

#include "platform/richedit/documentunits.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

TEST(RichEditObjects, AnEmbeddedFileTravelsInTheRtfAndASaveOfItUpdatesTheObject)
{
    RichEdit edit;
    edit.setText(QStringLiteral("before after"));
    edit.setSelection(7, 0);
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    edit.insertObject(QStringLiteral("Package"), QStringLiteral("/somewhere/notes.txt"), "first", picture);
    EXPECT_EQ(edit.text(), QStringLiteral("before after")) << "an object is no text";
    ASSERT_TRUE(edit.selectedObject().has_value()) << "the new object is selected";
    EXPECT_EQ(edit.objectVerbs(), QStringList{QStringLiteral("&Open")});

    RichEdit copy;
    copy.streamIn(edit.streamOut(RichEdit::Stream::Rtf), RichEdit::Stream::Rtf);
    copy.setSelection(7, 1);
    const std::optional<RichEdit::Object> read = copy.selectedObject();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->className, QStringLiteral("Package"));
    EXPECT_EQ(read->data, QByteArray("first"));
    EXPECT_EQ(read->fileName, QStringLiteral("notes.txt"));

    QString opened;
    copy.setObjectOpener([&](const QString& path) {
        opened = path;
        return true;
    });
    QSignalSpy changed(&copy, &RichEdit::objectChanged);
    copy.doObjectVerb(0);
    ASSERT_FALSE(opened.isEmpty());
    EXPECT_TRUE(opened.endsWith(QStringLiteral("/notes.txt")));
    QFile file(opened);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("first"));
    file.close();

    copy.setModified(false);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("saved by its program");
    file.close();
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_TRUE(copy.isModified());
    copy.setSelection(7, 1);
    EXPECT_EQ(copy.selectedObject()->data, QByteArray("saved by its program"));
    RichEdit third;
    third.streamIn(copy.streamOut(RichEdit::Stream::Rtf), RichEdit::Stream::Rtf);
    third.setSelection(7, 1);
    EXPECT_EQ(third.selectedObject()->data, QByteArray("saved by its program"));
}

TEST(RichEditObjects, VerbsNeedASelectedObject)
{
    RichEdit edit;
    edit.setText(QStringLiteral("text"));
    edit.setSelection(0, 1);
    EXPECT_FALSE(edit.selectedObject().has_value());
    EXPECT_TRUE(edit.objectVerbs().isEmpty());
    EXPECT_THROW(edit.doObjectVerb(0), Exception);
    edit.insertObject(QString(), QStringLiteral("a.bin"), "x", QImage());
    RichEdit copy;
    copy.streamIn(edit.streamOut(RichEdit::Stream::Rtf), RichEdit::Stream::Rtf);
    copy.setSelection(0, 1);  // the object took the place of the selected "t"
    ASSERT_TRUE(copy.selectedObject().has_value());
    EXPECT_EQ(copy.selectedObject()->className, QStringLiteral("Package")) << "an object without class is a package";
    QTextCursor at(copy.document());
    at.setPosition(1);
    const QTextImageFormat shown = at.charFormat().toImageFormat();
    EXPECT_GT(shown.width(), 0) << "an object without a picture shows as an icon";
    EXPECT_FALSE(copy.document()->resource(QTextDocument::ImageResource, QUrl(shown.name())).isNull());
    EXPECT_THROW(edit.doObjectVerb(1), Exception) << "Invalid Verb";
    edit.setObjectOpener([](const QString&) { return false; });
    EXPECT_THROW(edit.doObjectVerb(0), Exception) << "no program for the file";
}

}  // namespace
