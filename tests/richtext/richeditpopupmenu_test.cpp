// The rich edit's context menu: which items show, which are enabled and
// checked, and what they do.
#include "richtext/wwfinddialog.h"
#include "richtext/wwrichpopupmenu.h"
#include "tests/richtext/dbricheditfixture.h"

#include <QAction>
#include <QClipboard>

namespace {

// The register window's configuration: every item but spelling.
const TwwRichEditPopupOptions editaTexto = rpoPopupEdit | rpoPopupCut | rpoPopupCopy | rpoPopupPaste | rpoPopupBold |
                                           rpoPopupItalic | rpoPopupUnderline | rpoPopupFont | rpoPopupBullet |
                                           rpoPopupParagraph | rpoPopupTabs | rpoPopupFind | rpoPopupReplace |
                                           rpoPopupInsertObject;

QStringList shown(const QMenu& menu)
{
    QStringList names;
    for (const QAction* a : menu.actions())
        if (a->isVisible())
            names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

QStringList enabled(const QMenu& menu)
{
    QStringList names;
    for (const QAction* a : menu.actions())
        if (a->isVisible() && !a->isSeparator() && a->isEnabled())
            names << a->objectName();
    return names;
}

TEST(RichEditPopupMenuTest, ItemsAndSeparatorsFollowTheOptions)
{
    struct Case {
        const char* what;
        TwwRichEditPopupOptions options;
        const char* items;
    };
    const Case cases[] = {
        {"the register window's", editaTexto,
         "Cut1 Copy1 Paste1 - Bold1 Italic1 Underline1 - Font1 BulletStyle1 - Find1 Replace1"},
        {"the defaults", TwwCustomRichEdit().PopupOptions(), "Cut1 Copy1 Paste1 - Font1 BulletStyle1 - Find1 Replace1"},
        {"find alone", rpoPopupFind, "Find1"},
        {"copy and find", rpoPopupCopy | rpoPopupFind, "Copy1 - Find1"},
        {"cut and font", rpoPopupCut | rpoPopupFont, "Cut1 - Font1"},
        {"effects and search", rpoPopupBold | rpoPopupReplace, "Bold1 - Replace1"},
        {"font and search", rpoPopupFont | rpoPopupFind, "Font1 - Find1"},
        // Items this control does not offer count as not set.
        {"paragraph and tabs", rpoPopupParagraph | rpoPopupTabs | rpoPopupEdit | rpoPopupInsertObject, ""},
        {"copy and paragraph", rpoPopupCopy | rpoPopupParagraph, "Copy1"},
        {"spelling", rpoPopupCopy | rpoPopupMSWordSpellCheck, "Copy1"},
    };
    for (const Case& c : cases) {
        TwwCustomRichEdit edit;
        edit.setPopupOptions(c.options);
        edit.PreparePopupMenu();
        EXPECT_EQ(shown(*edit.PopupMenu()).join(QLatin1Char(' ')), QString::fromLatin1(c.items)) << c.what;
        EXPECT_FALSE(edit.PopupOptions().testFlag(rpoPopupMSWordSpellCheck)) << c.what;
    }
}

TEST(RichEditPopupMenuTest, CaptionsAreTheMenusOwn)
{
    TwwCustomRichEdit edit;
    QStringList captions;
    for (const QAction* a : edit.PopupMenu()->actions())
        if (!a->isSeparator())
            captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Cu&t", "&Copy", "&Paste", "B&old", "&Italic", "&Underline", "&Font",
                                     "&Bullet Style", "Fin&d", "&Replace"}));
}

TEST(RichEditPopupMenuTest, EnablingAndChecksFollowTheSelection)
{
    ErrorRecorder errors;
    TwwCustomRichEdit edit;
    edit.setPopupOptions(editaTexto);
    edit.streamIn("{\\rtf1\\ansi plain {\\b\\i bold} {\\ul under}\\par}", RichEdit::Stream::Rtf);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    TwwRichEditPopupMenu& menu = *edit.PopupMenu();

    edit.setSelection(2, 0);
    edit.PreparePopupMenu();
    EXPECT_EQ(enabled(menu).join(QLatin1Char(' ')),
              "Paste1 Bold1 Italic1 Underline1 Font1 BulletStyle1 Find1 Replace1");
    EXPECT_FALSE(menu.boldItem()->isChecked());

    edit.setSelection(6, 4);  // "bold"
    edit.PreparePopupMenu();
    EXPECT_TRUE(menu.cutItem()->isEnabled());
    EXPECT_TRUE(menu.copyItem()->isEnabled());
    EXPECT_TRUE(menu.boldItem()->isChecked());
    EXPECT_TRUE(menu.italicItem()->isChecked());
    EXPECT_FALSE(menu.underlineItem()->isChecked());

    edit.setSelection(6, 10);  // bold and underlined, in part
    edit.PreparePopupMenu();
    EXPECT_FALSE(menu.boldItem()->isChecked());
    EXPECT_FALSE(menu.underlineItem()->isChecked());

    // With nothing to paste, paste is disabled.
    QGuiApplication::clipboard()->clear();
    edit.PreparePopupMenu();
    EXPECT_FALSE(menu.pasteItem()->isEnabled());

    edit.SetBullets(true);
    edit.PreparePopupMenu();
    EXPECT_TRUE(menu.bulletItem()->isChecked());
}

TEST(RichEditPopupMenuTest, ItemsApplyTheOppositeOfTheirCheck)
{
    ErrorRecorder errors;
    TwwCustomRichEdit edit;
    edit.setPopupOptions(editaTexto);
    edit.setText(QStringLiteral("some words"));
    TwwRichEditPopupMenu& menu = *edit.PopupMenu();
    edit.setSelection(0, 4);
    for (int round = 0; round < 2; ++round) {
        const bool on = round == 0;
        for (QAction* item : {menu.boldItem(), menu.italicItem(), menu.underlineItem(), menu.bulletItem()}) {
            edit.PreparePopupMenu();
            EXPECT_NE(item->isChecked(), on) << item->objectName().toStdString();
            item->trigger();
        }
        edit.setSelection(0, 4);
        const CharFormat f = edit.selectionCharFormat();
        EXPECT_EQ(f.bold, on);
        EXPECT_EQ(f.italic, on);
        EXPECT_EQ(f.underline, on);
        EXPECT_EQ(edit.paragraphFormat().numbering != ParaFormat::Number::None, on);
    }
    EXPECT_EQ(errors.messages(), QStringList());
}

TEST(RichEditPopupMenuTest, TheSearchItemsOpenTheDialogs)
{
    TwwCustomRichEdit edit;
    edit.setText(QStringLiteral("find me"));
    edit.setSelection(5, 2);
    edit.PopupMenu()->findItem()->trigger();
    EXPECT_TRUE(edit.FindDialog()->isVisible());
    EXPECT_EQ(edit.FindDialog()->FindText(), "me");
    edit.PopupMenu()->replaceItem()->trigger();
    EXPECT_TRUE(edit.ReplaceDialog()->isVisible());
    edit.FindDialog()->close();
    edit.ReplaceDialog()->close();
}

using DBRichEditPopupMenuTest = DBRichEditFixture;

TEST_F(DBRichEditPopupMenuTest, AReadOnlyControlNarrowsTheMenu)
{
    openWith({"{\\rtf1\\ansi read only}"}, true);
    edit->setPopupOptions(editaTexto);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    edit->setSelection(0, 4);
    edit->PreparePopupMenu();
    EXPECT_EQ(shown(*edit->PopupMenu()).join(QLatin1Char(' ')), "Cut1 Copy1 Paste1 - Find1");
    EXPECT_EQ(enabled(*edit->PopupMenu()).join(QLatin1Char(' ')), "Copy1 Find1");
    // The configured set is back right after.
    EXPECT_EQ(edit->PopupOptions(), editaTexto);
    // Once editable, everything shows again.
    openWith({"{\\rtf1\\ansi writable}"}, false);
    edit->setPopupOptions(editaTexto);
    edit->setSelection(0, 4);
    edit->PreparePopupMenu();
    EXPECT_EQ(enabled(*edit->PopupMenu()).join(QLatin1Char(' ')),
              "Cut1 Copy1 Paste1 Bold1 Italic1 Underline1 Font1 BulletStyle1 Find1 Replace1");
}

TEST_F(DBRichEditPopupMenuTest, MenuCommandsStartEditingAndAreStored)
{
    openWith({"{\\rtf1\\ansi one two}"});
    edit->setPopupOptions(editaTexto);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted "));
    edit->setSelection(0, 0);
    edit->PreparePopupMenu();
    edit->PopupMenu()->pasteItem()->trigger();
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(edit->text(), "pasted one two");
    table->Post();
    edit->setSelection(7, 3);
    edit->PreparePopupMenu();
    edit->PopupMenu()->cutItem()->trigger();
    EXPECT_EQ(table->State(), dsEdit);
    table->Post();
    EXPECT_TRUE(stored().contains("pasted  two"));
    EXPECT_EQ(errors.messages(), QStringList());
}

}  // namespace
