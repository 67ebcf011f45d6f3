// The data-bound rich edit on a texts table.
#include "tests/richtext/dbricheditfixture.h"

#include "platform/richedit/rtfreaderror.h"
#include "platform/ui/messagedlg.h"
#include "richtext/wwfinddialog.h"

#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPushButton>

namespace {

using DBRichEditTest = DBRichEditFixture;

TEST_F(DBRichEditTest, LoadsRichTextOrPlainText)
{
    struct Case {
        const char* memo;
        const char* shown;
        bool bold;  // of the first character
    };
    for (const Case c : {Case{"{\\rtf1\\ansi {\\b Bold} and plain}", "Bold and plain", true},
                         Case{"first\nsecond\rthird\r\nfourth", "first\r\nsecond\r\nthird\r\nfourth", false},
                         Case{"{not rtf at all}", "{not rtf at all}", false}}) {
        openWith({c.memo});
        EXPECT_TRUE(edit->IsLoaded()) << c.memo;
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown)) << c.memo;
        edit->setSelection(0, 1);
        EXPECT_EQ(edit->selectionCharFormat().bold, c.bold) << c.memo;
        EXPECT_FALSE(edit->isModified()) << c.memo;
        EXPECT_EQ(table->State(), dsBrowse) << c.memo;
        // Stored back, a plain text becomes rich text with the same lines.
        edit->setSelection(edit->textLength(), 0);
        type(QStringLiteral("!"));
        table->Post();
        EXPECT_TRUE(stored().startsWith("{\\rtf")) << c.memo;
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown) + QStringLiteral("!")) << c.memo;
    }
    EXPECT_EQ(errors.messages(), QStringList());
}

TEST_F(DBRichEditTest, AFieldNeitherRtfNorPlainShowsTheFailureAndIsKept)
{
    failRead = [](RichEdit::Stream) { throw RtfReadError("unreadable"); };
    openWith({"{\\rtf1 kept}"});
    EXPECT_EQ(edit->text(), "(Failed to Load Stream)");
    EXPECT_EQ(edit->reads, 2);  // as RTF, then as plain text
    EXPECT_EQ(stored(), "{\\rtf1 kept}");
    EXPECT_EQ(errors.messages(), QStringList());
    // Nothing was typed: a post writes nothing over the field.
    table->Edit();
    table->Post();
    EXPECT_EQ(stored(), "{\\rtf1 kept}");
}

TEST_F(DBRichEditTest, TypingInBrowseStartsEditingAtTheCaretWithoutReload)
{
    openWith({"{\\rtf1\\ansi Hello world}"});
    const int reads = edit->reads;
    EXPECT_TRUE(edit->isReadOnly());  // browse: the platform control is read-only
    edit->setSelection(5, 0);
    type(QStringLiteral(","));
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(edit->text(), "Hello, world");
    EXPECT_EQ(edit->selStart(), 6);
    EXPECT_EQ(edit->reads, reads);
    type(QStringLiteral("!"));
    EXPECT_EQ(edit->text(), "Hello,! world");
    EXPECT_EQ(errors.messages(), QStringList());
}

TEST_F(DBRichEditTest, TheChangingKeysStartEditing)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char* text;
        bool edits;
    };
    for (const Case c : {Case{Qt::Key_Delete, Qt::NoModifier, "", true},
                         Case{Qt::Key_Backspace, Qt::NoModifier, "", true},
                         Case{Qt::Key_Return, Qt::NoModifier, "\r", true},
                         Case{Qt::Key_X, Qt::ControlModifier, "", true},
                         Case{Qt::Key_A, Qt::NoModifier, "a", true},
                         Case{Qt::Key_Right, Qt::NoModifier, "", false},
                         Case{Qt::Key_C, Qt::ControlModifier, "", false},
                         Case{Qt::Key_End, Qt::ShiftModifier, "", false}}) {
        openWith({"{\\rtf1\\ansi abc}"});
        edit->setSelection(1, 1);
        key(c.key, c.mods, QString::fromLatin1(c.text));
        EXPECT_EQ(table->State() == dsEdit, c.edits) << c.key;
        if (!c.edits) {
            EXPECT_EQ(edit->text(), "abc") << c.key;
        } else {
            EXPECT_NE(edit->text(), "abc") << c.key;
        }
    }
}

TEST_F(DBRichEditTest, PostAndLeavingTheControlStoreTheText)
{
    openWith({"{\\rtf1\\ansi one}", "{\\rtf1\\ansi two}"});
    edit->setSelection(3, 0);
    type(QStringLiteral("X"));
    leave();  // the record stays in edit state with the field written
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_TRUE(stored().startsWith("{\\rtf"));
    EXPECT_EQ(edit->text(), "oneX");
    EXPECT_EQ(edit->selStart(), 4);  // no reload after our own write
    table->Post();
    table->Next();
    table->Prior();
    EXPECT_EQ(edit->text(), "oneX");

    // A post straight after typing writes as well.
    edit->setSelection(0, 0);
    type(QStringLiteral("Y"));
    table->Post();
    table->Close();
    table->Open();
    EXPECT_EQ(edit->text(), "YoneX");
    EXPECT_EQ(errors.messages(), QStringList());
}

TEST_F(DBRichEditTest, LeavingWithAFailedWriteShowsTheErrorAndTakesTheFocusBack)
{
    openWith({"{\\rtf1\\ansi one}"});
    edit->setSelection(3, 0);
    type(QStringLiteral("X"));
    // The field refuses the write the focus change asks for.
    table->FieldByName(QStringLiteral("Texto"))->setReadOnly(true);
    other->setFocus();
    leave();
    EXPECT_EQ(errors.messages(), QStringList{QStringLiteral("TabMemoria: Field 'Texto' cannot be modified")});
    EXPECT_EQ(window.focusWidget(), edit);
    EXPECT_EQ(edit->text(), "oneX");  // the change is still there to be stored
    EXPECT_EQ(table->State(), dsEdit);
    table->FieldByName(QStringLiteral("Texto"))->setReadOnly(false);
    table->Post();
    EXPECT_TRUE(stored().contains("oneX"));
}

TEST_F(DBRichEditTest, EscapeBringsBackTheStoredText)
{
    openWith({"{\\rtf1\\ansi stored}"});
    edit->setSelection(6, 0);
    type(QStringLiteral(" and changed"));
    EXPECT_EQ(edit->text(), "stored and changed");
    key(Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "stored");
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_FALSE(edit->isModified());
    table->Post();
    EXPECT_EQ(stored(), "{\\rtf1\\ansi stored}");
}

TEST_F(DBRichEditTest, ANewRecordShowsAPlainEmptyTextAndStaysEmpty)
{
    openWith({"{\\rtf1\\ansi{\\pard\\qc{\\pntext\\'B7\\tab}{\\*\\pn\\pnlvlblt}\\fi-360\\li720 bulleted\\par}}"});
    ASSERT_EQ(edit->paragraphFormat().numbering, ParaFormat::Number::Bullet);
    table->Append();
    EXPECT_EQ(edit->text(), "");
    const ParaFormat p = edit->paragraphFormat();
    EXPECT_EQ(p.numbering, ParaFormat::Number::None);
    EXPECT_EQ(p.offset, 0);
    EXPECT_EQ(p.alignment, ParaFormat::Align::Left);
    EXPECT_TRUE(edit->selectionCharFormat().autoColor);
    for (const char* name : {"Titulo", "Autor", "Assunto", "PrimeiraLinha"})
        table->FieldByName(QString::fromLatin1(name))->setAsString(QStringLiteral("x"));
    // Untouched, the text stays empty and the required field refuses the post.
    EXPECT_THROW(table->Post(), Exception);
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(DBRichEditTest, TheReadOnlyRules)
{
    struct Case {
        bool table;
        bool field;
        bool control;
    };
    for (const Case c : {Case{true, false, false}, Case{false, true, false}, Case{false, false, true}}) {
        openWith({"{\\rtf1\\ansi fixed}"}, c.table);
        table->FieldByName(QStringLiteral("Texto"))->setReadOnly(c.field);
        edit->setReadOnly(c.control);
        EXPECT_TRUE(edit->ReadOnly()) << c.table << c.field << c.control;
        edit->setSelection(5, 0);
        type(QStringLiteral("!"));
        EXPECT_EQ(edit->text(), "fixed") << c.table << c.field << c.control;
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(table->State(), dsBrowse);
        EXPECT_EQ(errors.messages(), QStringList());
    }
    // Unbound, only the control's own flag counts.
    TwwDBRichEdit unbound;
    EXPECT_FALSE(unbound.ReadOnly());
    unbound.setReadOnly(true);
    EXPECT_TRUE(unbound.ReadOnly());
}

TEST_F(DBRichEditTest, PasteAllowedByTheClipboardsContent)
{
    struct Case {
        const char* what;
        std::function<QMimeData*()> make;
        bool allowed;
    };
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const Case cases[] = {
        {"plain text", [] { auto* m = new QMimeData; m->setText(QStringLiteral("pasted")); return m; }, true},
        {"rtf", [] { auto* m = new QMimeData; m->setData(QStringLiteral("text/rtf"), "{\\rtf1 pasted}"); return m; },
         true},
        {"a bitmap alone", [&] { auto* m = new QMimeData; m->setImageData(picture); return m; }, false},
        {"a bitmap with text",
         [&] {
             auto* m = new QMimeData;
             m->setImageData(picture);
             m->setText(QStringLiteral("pasted"));
             return m;
         },
         false},
        {"a metafile", [] { auto* m = new QMimeData; m->setData(QStringLiteral("image/x-wmf"), "WMF"); return m; },
         true},
        {"nothing", [] { return new QMimeData; }, false},
    };
    for (const Case& c : cases) {
        openWith({"{\\rtf1\\ansi text}"});
        QGuiApplication::clipboard()->setMimeData(c.make());
        EXPECT_EQ(edit->PasteAllowed(), c.allowed) << c.what;
        edit->setSelection(4, 0);
        key(Qt::Key_V, Qt::ControlModifier);
        key(Qt::Key_Insert, Qt::ShiftModifier);
        if (!c.allowed) {
            EXPECT_EQ(edit->text(), "text") << c.what;
            EXPECT_EQ(table->State(), dsBrowse) << c.what;
        }
    }
    // Plain text pasted in browse state starts the edit and lands at the caret.
    openWith({"{\\rtf1\\ansi text}"});
    QGuiApplication::clipboard()->setText(QStringLiteral("++"));
    edit->setSelection(2, 0);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "te++xt");
    EXPECT_EQ(table->State(), dsEdit);
}

TEST_F(DBRichEditTest, CutAndCopyCarryRtfAndPlainText)
{
    openWith({"{\\rtf1\\ansi keep {\\b bold} here}"});
    edit->setSelection(5, 4);
    edit->CopyToClipboard();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "bold");
    EXPECT_TRUE(copied->data(QStringLiteral("text/rtf")).contains("\\b"));
    EXPECT_EQ(table->State(), dsBrowse);
    edit->CutToClipboard();
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(edit->text(), "keep  here");
}

TEST_F(DBRichEditTest, FormattingCommandsStartEditing)
{
    struct Case {
        const char* what;
        std::function<void(TwwDBRichEdit&)> command;
    };
    const Case cases[] = {
        {"bold", [](TwwDBRichEdit& e) { e.ToggleCharEffect(ceBold, true); }},
        {"bullets", [](TwwDBRichEdit& e) { e.SetBullets(true); }},
        {"paragraph",
         [](TwwDBRichEdit& e) {
             e.SetParagraphFormat(ParaFormat::Alignment, QStringLiteral("Right"), 0, 0, 0, 0, nullptr, 0, 0, 0, 0,
                                  false);
         }},
    };
    for (const Case& c : cases) {
        openWith({"{\\rtf1\\ansi formatted}"});
        edit->setSelection(0, 4);
        c.command(*edit);
        EXPECT_EQ(table->State(), dsEdit) << c.what;
        table->Post();
        EXPECT_NE(stored(), "{\\rtf1\\ansi formatted}") << c.what;
        EXPECT_EQ(edit->text(), "formatted") << c.what;
    }
}

TEST_F(DBRichEditTest, AnInvisibleControlLoadsWhenPainted)
{
    openWith({"{\\rtf1\\ansi first}", "{\\rtf1\\ansi second}"});
    edit->hide();
    table->Next();
    EXPECT_FALSE(edit->IsLoaded());
    EXPECT_EQ(edit->text(), "first");  // the old content stays until it shows
    edit->show();
    (void)edit->viewport()->grab();  // paints it
    EXPECT_TRUE(edit->IsLoaded());
    EXPECT_EQ(edit->text(), "second");
}

TEST_F(DBRichEditTest, BeforeLoadingKeysAreDroppedAndEnterLoads)
{
    openWith({"{\\rtf1\\ansi first}", "{\\rtf1\\ansi second}"});
    edit->hide();
    table->Next();
    type(QStringLiteral("z"));
    EXPECT_EQ(table->State(), dsBrowse);
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(edit->IsLoaded());
    EXPECT_EQ(edit->text(), "second");
    EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(DBRichEditTest, DoubleClickLoadsFirstThenFiresTheEvent)
{
    openWith({"{\\rtf1\\ansi first}", "{\\rtf1\\ansi second}"});
    int fired = 0;
    edit->OnDblClick = [&fired](TwwDBRichEdit*) { ++fired; };
    edit->hide();
    table->Next();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(edit->viewport(), &dbl);
    EXPECT_TRUE(edit->IsLoaded());
    EXPECT_EQ(fired, 0);
    QMouseEvent again(QEvent::MouseButtonDblClick, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit->viewport(), &again);
    EXPECT_EQ(fired, 1);
}

}  // namespace

namespace {

using DBRichEditDropTest = DBRichEditFixture;

TEST_F(DBRichEditDropTest, ADropStartsTheEditWhenTheControlMayChange)
{
    for (const bool readOnlyTable : {false, true}) {
        openWith({"{\\rtf1\\ansi dropped here}"}, readOnlyTable);
        QMimeData data;
        data.setText(QStringLiteral("NEW "));
        const QPoint at = edit->cursorRect(QTextCursor(edit->document())).center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit->viewport(), &enter);
        // Passing over starts nothing.
        EXPECT_EQ(table->State(), dsBrowse);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit->viewport(), &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit->viewport(), &drop);
        if (readOnlyTable) {
            EXPECT_EQ(edit->text(), "dropped here");
            EXPECT_EQ(table->State(), dsBrowse);
            EXPECT_TRUE(edit->isReadOnly());
        } else {
            EXPECT_EQ(edit->text(), "NEW dropped here");
            EXPECT_EQ(table->State(), dsEdit);
            table->Post();
            EXPECT_TRUE(stored().contains("NEW dropped here"));
        }
    }
    EXPECT_EQ(errors.messages(), QStringList());
}

}  // namespace

namespace {

using DBRichEditFontTest = DBRichEditFixture;

TEST_F(DBRichEditFontTest, TheFontDialogStartsEditingOnlyOnOK)
{
    openWith({"{\\rtf1\\ansi some text}"});
    for (const bool ok : {false, true}) {
        edit->setSelection(0, 4);
        QTimer::singleShot(0, edit, [this, ok] {
            edit->FontDialog()->setSelectedFont(QFont(QStringLiteral("Liberation Serif"), 16));
            ok ? edit->FontDialog()->accept() : edit->FontDialog()->reject();
        });
        edit->ShowFontDialog();
        EXPECT_EQ(table->State(), ok ? dsEdit : dsBrowse) << ok;
    }
    table->Post();
    EXPECT_TRUE(stored().contains("Liberation Serif"));
}

}  // namespace

namespace {

using DBRichEditOtherFieldTest = DBRichEditFixture;

TEST_F(DBRichEditOtherFieldTest, AStringFieldShowsAndStoresPlainText)
{
    openWith({"{\\rtf1 memo}"});
    edit->setDataField(QStringLiteral("Titulo"));
    EXPECT_EQ(edit->text(), "T1");
    edit->setSelection(2, 0);
    type(QStringLiteral("b"));
    EXPECT_EQ(table->State(), dsEdit);
    table->Post();
    EXPECT_EQ(table->FieldByName(QStringLiteral("Titulo"))->AsString(), "T1b");
    EXPECT_EQ(stored(), "{\\rtf1 memo}");
}

TEST_F(DBRichEditOtherFieldTest, MaxLengthRefusesWhatWouldNotFit)
{
    openWith({"{\\rtf1\\ansi abcd}"});
    edit->setMaxLength(5);
    edit->setSelection(4, 0);
    type(QStringLiteral("ef"));
    EXPECT_EQ(edit->text(), "abcde");
    // A paste that would go beyond the limit is refused whole.
    QGuiApplication::clipboard()->setText(QStringLiteral("xy"));
    edit->setSelection(0, 1);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "abcde");
    // In place of a selection as long as itself, it fits.
    edit->setSelection(0, 2);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "xycde");
}

}  // namespace

namespace {

using DBRichEditAutoDisplayTest = DBRichEditFixture;

TEST_F(DBRichEditAutoDisplayTest, WithoutAutoDisplayARowsTextWaitsForEnter)
{
    openWith({"{\\rtf1\\ansi first}", "{\\rtf1\\ansi second}"});
    edit->setAutoDisplay(false);
    table->Next();
    // Not the first row's text under the second row.
    EXPECT_FALSE(edit->IsLoaded());
    EXPECT_EQ(edit->text(), "");
    (void)edit->viewport()->grab();
    EXPECT_FALSE(edit->IsLoaded());
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(edit->text(), "second");
    EXPECT_EQ(table->State(), dsBrowse);
}

}  // namespace

namespace {

using DBRichEditReplaceTest = DBRichEditFixture;

TEST_F(DBRichEditReplaceTest, ReplacingInBrowseStateStartsTheEditAndIsStored)
{
    openWith({"{\\rtf1\\ansi old text, old ways}"});
    MessageDlgScript script;
    edit->setSelection(0, 0);
    edit->ShowReplaceDialog();
    edit->ReplaceDialog()->setFindText(QStringLiteral("old"));
    edit->ReplaceDialog()->setReplaceText(QStringLiteral("new"));
    edit->ReplaceDialog()->replaceAllButton()->click();
    EXPECT_EQ(edit->text(), "new text, new ways");
    EXPECT_EQ(table->State(), dsEdit);
    table->Post();
    EXPECT_TRUE(stored().contains("new text, new ways"));
    EXPECT_EQ(errors.messages(), QStringList());
}

}  // namespace
