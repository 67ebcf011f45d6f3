// A text formatted through the context menu and stored comes back the same.
#include "tests/richtext/dbricheditfixture.h"

namespace {

using StoredFormatTest = DBRichEditFixture;

struct Expected {
    int start;
    int length;
    bool bold, italic, underline;
    const char* face;  // nullptr: the text's own
    int sizeTwips;     // 0: the text's own
    bool red;
};

void expectFormats(TwwDBRichEdit& edit, const char* when)
{
    for (const Expected e : {Expected{0, 4, true, false, false, nullptr, 0, false},
                             Expected{5, 6, false, true, false, nullptr, 0, false},
                             Expected{12, 5, false, false, true, nullptr, 0, false},
                             Expected{18, 4, false, false, false, "Liberation Mono", 360, true},
                             Expected{24, 11, false, false, false, nullptr, 0, false}}) {
        edit.setSelection(e.start, e.length);
        const CharFormat f = edit.selectionCharFormat();
        EXPECT_EQ(f.mask & (CharFormat::Bold | CharFormat::Italic | CharFormat::Underline),
                  unsigned(CharFormat::Bold | CharFormat::Italic | CharFormat::Underline))
            << when << " at " << e.start;
        EXPECT_EQ(f.bold, e.bold) << when << " at " << e.start;
        EXPECT_EQ(f.italic, e.italic) << when << " at " << e.start;
        EXPECT_EQ(f.underline, e.underline) << when << " at " << e.start;
        if (e.face) {
            EXPECT_EQ(f.face, QString::fromLatin1(e.face)) << when;
            EXPECT_EQ(f.sizeTwips, e.sizeTwips) << when;
        }
        EXPECT_EQ(!f.autoColor && f.color == QColor(Qt::red), e.red) << when << " at " << e.start;
    }
    edit.setSelection(0, 0);
    EXPECT_EQ(edit.paragraphFormat().numbering, ParaFormat::Number::None) << when;
    edit.setSelection(24, 0);
    const ParaFormat bullet = edit.paragraphFormat();
    EXPECT_EQ(bullet.numbering, ParaFormat::Number::Bullet) << when;
    EXPECT_EQ(bullet.offset, 720) << when;
}

TEST_F(StoredFormatTest, AFormattedTextComesBackAfterReopeningTheTable)
{
    openWith({unformatted});
    formatThroughTheMenu();
    ASSERT_EQ(errors.messages(), QStringList());
    EXPECT_EQ(table->State(), dsBrowse);
    expectFormats(*edit, "as formatted");
    const QByteArray rtf = stored();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    const QByteArray shown = edit->streamOut(RichEdit::Stream::Rtf);

    table->Close();
    EXPECT_EQ(edit->text(), "");
    table->Open();
    EXPECT_EQ(edit->text(), "Bold italic under font\r\nbullet line");
    expectFormats(*edit, "reopened");
    EXPECT_EQ(edit->streamOut(RichEdit::Stream::Rtf), shown);

    // Stored again unchanged, the field keeps the same bytes.
    edit->setSelection(0, 0);
    type(QStringLiteral("x"));
    key(Qt::Key_Backspace);
    table->Post();
    EXPECT_EQ(stored(), rtf);
}

}  // namespace
