// The formatting commands of the rich edit on an unbound control.
#include "richtext/wwcustomrichedit.h"
#include "richtext/wwfontdialog.h"
#include "tests/support/errorrecorder.h"
#include "tests/support/qtprinters.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTimer>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

class RichEditCommandsTest : public ::testing::Test {
protected:
    // "one two three" with "two" selected.
    void SetUp() override
    {
        edit.setText(QStringLiteral("one two three"));
        edit.setSelection(4, 3);
    }
    CharFormat formatAt(int position, int length = 1)
    {
        edit.setSelection(position, length);
        return edit.selectionCharFormat();
    }

    ErrorRecorder errors;
    TwwCustomRichEdit edit;
};

TEST_F(RichEditCommandsTest, DefaultsOfTheProperties)
{
    EXPECT_EQ(edit.PopupOptions(), rpoPopupEdit | rpoPopupCut | rpoPopupCopy | rpoPopupPaste | rpoPopupFont |
                                       rpoPopupBullet | rpoPopupParagraph | rpoPopupTabs | rpoPopupFind |
                                       rpoPopupReplace | rpoPopupInsertObject | rpoPopupMSWordSpellCheck);
    EXPECT_TRUE(edit.EditorOptions().testFlag(reoShowSaveExit));
    EXPECT_TRUE(edit.EditorOptions().testFlag(reoShowMainMenuIcons));
    EXPECT_FALSE(edit.EditorOptions().testFlag(reoShowSaveAs));
    EXPECT_FALSE(edit.EditorOptions().testFlag(reoShowJustifyButton));
    EXPECT_EQ(edit.EditorCaption(), "Edit Rich Text");
    EXPECT_EQ(edit.MeasurementUnits(), TwwMeasurementUnits::muInches);
    EXPECT_EQ(edit.PrintMargins().Left, 1.0);
    EXPECT_EQ(edit.PrintPageSize(), 1);
    EXPECT_EQ(edit.RichEditVersion(), 2);
    EXPECT_EQ(edit.OleOptions(), TwwRichEditOleOptions(reoAdjustPopupMenu));
    EXPECT_EQ(edit.HighlightColor(), QColor(255, 255, 0));
    EXPECT_TRUE(edit.WordWrap());
    EXPECT_TRUE(edit.WantReturns());
    EXPECT_FALSE(edit.WantTabs());
    EXPECT_TRUE(edit.HideSelection());
    EXPECT_EQ(edit.MaxLength(), 0);
    EXPECT_EQ(edit.ScrollBars(), TwwCustomRichEdit::TScrollStyle::ssNone);
    EXPECT_FALSE(edit.ReadOnly());
}

TEST_F(RichEditCommandsTest, ToggleCharEffectChangesOnlyThatEffect)
{
    struct Case {
        TwwCharEffect effect;
        bool CharFormat::*member;
    };
    for (const Case c : {Case{ceBold, &CharFormat::bold}, Case{ceItalic, &CharFormat::italic},
                         Case{ceUnderline, &CharFormat::underline}, Case{ceStrikeOut, &CharFormat::strikeOut}}) {
        edit.setText(QStringLiteral("one two three"));
        // Another effect already on the selection stays.
        edit.setSelection(4, 3);
        edit.ToggleCharEffect(c.effect == ceBold ? ceItalic : ceBold, true);
        edit.setSelection(4, 3);
        edit.ToggleCharEffect(c.effect, true);
        CharFormat two = formatAt(4, 3);
        EXPECT_TRUE(two.*c.member) << c.effect;
        EXPECT_TRUE(c.effect == ceBold ? two.italic : two.bold) << c.effect;
        EXPECT_FALSE(formatAt(0, 3).*c.member) << c.effect;
        EXPECT_FALSE(formatAt(8, 5).*c.member) << c.effect;
        edit.setSelection(4, 3);
        edit.ToggleCharEffect(c.effect, false);
        two = formatAt(4, 3);
        EXPECT_FALSE(two.*c.member) << c.effect;
        EXPECT_TRUE(c.effect == ceBold ? two.italic : two.bold) << c.effect;
    }
}

TEST_F(RichEditCommandsTest, FaceSizeAndColourOfTheSelection)
{
    edit.SetSelectionFace(QStringLiteral("Liberation Mono"));
    edit.SetSelectionSize(18);
    edit.SetSelectionColor(QColor(200, 0, 0));
    const CharFormat two = formatAt(4, 3);
    EXPECT_EQ(two.face, "Liberation Mono");
    EXPECT_EQ(two.sizeTwips, 360);
    EXPECT_FALSE(two.autoColor);
    EXPECT_EQ(two.color, QColor(200, 0, 0));
    EXPECT_NE(formatAt(0, 3).face, "Liberation Mono");

    // The window-text colour is the automatic colour, not a colour of its own.
    edit.setSelection(4, 3);
    edit.SetSelectionColor(QApplication::palette().color(QPalette::WindowText));
    EXPECT_TRUE(formatAt(4, 3).autoColor);

    // A face name keeps at most 31 characters.
    edit.setSelection(4, 3);
    edit.SetSelectionFace(QString(40, QLatin1Char('F')));
    EXPECT_EQ(formatAt(4, 3).face, QString(31, QLatin1Char('F')));
}

TEST_F(RichEditCommandsTest, TheFontDialogAppliesWhatWasChosenOnOK)
{
    // "one" red, "two" blue: a selection of mixed colours.
    edit.setSelection(0, 3);
    edit.SetSelectionColor(QColor(Qt::red));
    edit.setSelection(4, 3);
    edit.SetSelectionColor(QColor(Qt::blue));
    struct Case {
        bool ok;
        const char* colour;  // nullptr: left alone
        bool oneRed, twoBlue, bothGreen;
    };
    for (const Case c : {Case{false, "Green", true, true, false}, Case{true, nullptr, true, true, false},
                         Case{true, "Green", false, false, true}}) {
        edit.setSelection(0, 7);
        QFont seen;
        int seenColour = -2;
        QTimer::singleShot(0, &edit, [&] {
            TwwFontDialog* d = edit.FontDialog();
            seen = d->SelectedFont();
            seenColour = d->colorList()->currentIndex();
            d->setSelectedFont(QFont(QStringLiteral("Liberation Serif"), 20, QFont::Bold, true));
            if (c.colour)
                d->colorList()->setCurrentIndex(d->colorList()->findText(QString::fromLatin1(c.colour)));
            if (c.ok)
                d->accept();
            else
                d->reject();
        });
        edit.ShowFontDialog();
        EXPECT_EQ(seenColour, -1) << "mixed colours show no colour";
        const CharFormat one = formatAt(0, 3);
        const CharFormat two = formatAt(4, 3);
        EXPECT_EQ(one.face == "Liberation Serif", c.ok) << c.ok;
        if (c.ok) {
            EXPECT_EQ(two.sizeTwips, 400);
            EXPECT_TRUE(two.bold);
            EXPECT_TRUE(two.italic);
            EXPECT_FALSE(two.underline);
        }
        EXPECT_EQ(one.color == QColor(Qt::red), c.oneRed) << c.ok;
        EXPECT_EQ(two.color == QColor(Qt::blue), c.twoBlue) << c.ok;
        EXPECT_EQ(one.color == QColor(0, 128, 0) && two.color == QColor(0, 128, 0), c.bothGreen) << c.ok;
        EXPECT_FALSE(formatAt(8, 5).bold);
    }
}

TEST_F(RichEditCommandsTest, TheFontDialogOpensOnTheSelectionsFont)
{
    edit.SetSelectionFace(QStringLiteral("Liberation Mono"));
    edit.SetSelectionSize(14);
    edit.ToggleCharEffect(ceUnderline, true);
    edit.SetSelectionColor(QColor(Qt::red));
    edit.setSelection(4, 3);
    QFont seen;
    QString colour;
    QTimer::singleShot(0, &edit, [&] {
        seen = edit.FontDialog()->SelectedFont();
        colour = edit.FontDialog()->colorList()->currentText();
        edit.FontDialog()->reject();
    });
    edit.ShowFontDialog();
    EXPECT_EQ(seen.family(), "Liberation Mono");
    EXPECT_EQ(seen.pointSize(), 14);
    EXPECT_TRUE(seen.underline());
    EXPECT_EQ(colour, "Red");
}

TEST_F(RichEditCommandsTest, HighlightOnAndOffCollapsesTheSelection)
{
    edit.SetHighlight(true);
    EXPECT_EQ(edit.selStart(), 4);
    EXPECT_EQ(edit.selLength(), 0);
    CharFormat two = formatAt(4, 3);
    EXPECT_FALSE(two.noBackColor);
    EXPECT_EQ(two.backColor, QColor(255, 255, 0));
    EXPECT_TRUE(formatAt(0, 3).noBackColor);

    edit.setSelection(4, 3);
    edit.SetHighlight(false);
    two = formatAt(4, 3);
    EXPECT_NE(two.backColor, QColor(255, 255, 0));
    EXPECT_EQ(edit.text(), "one two three");
}

TEST_F(RichEditCommandsTest, HighlightNeedsVersionTwo)
{
    edit.setRichEditVersion(1);
    edit.SetHighlight(true);
    EXPECT_TRUE(formatAt(4, 3).noBackColor);
}

TEST_F(RichEditCommandsTest, RemoveHighlightKeepsTheLiteralText)
{
    // The text names the control word itself. Highlighted apart from it, or
    // right after its backslash (where the RTF holds an escaped backslash
    // followed by a real control word).
    struct Case {
        int start;
        int length;
    };
    for (const Case c : {Case{16, 4}, Case{5, 10}, Case{0, 20}}) {
        edit.setText(QStringLiteral("see \\highlight1 here"));
        edit.setSelection(c.start, c.length);
        edit.SetHighlight(true);
        ASSERT_FALSE(formatAt(c.start).noBackColor) << c.start;
        edit.setSelection(0, -1);
        edit.RemoveHighlight();
        EXPECT_EQ(edit.text(), "see \\highlight1 here") << c.start;
        for (int i = 0; i < edit.textLength(); ++i)
            EXPECT_TRUE(formatAt(i).noBackColor) << c.start << " at " << i;
    }
    // The text read back is selected again.
    edit.setSelection(0, -1);
    edit.RemoveHighlight();
    EXPECT_EQ(edit.selStart(), 0);
    EXPECT_EQ(edit.selLength(), edit.textLength());
}

TEST_F(RichEditCommandsTest, BulletsOnOffAndOnAgain)
{
    edit.SetBullets(true);
    ParaFormat p = edit.paragraphFormat();
    EXPECT_EQ(p.numbering, ParaFormat::Number::Bullet);
    EXPECT_EQ(p.offset, 720);
    edit.SetBullets(false);
    p = edit.paragraphFormat();
    EXPECT_EQ(p.numbering, ParaFormat::Number::None);
    EXPECT_EQ(p.offset, 0);
    edit.SetBullets(true);
    p = edit.paragraphFormat();
    EXPECT_EQ(p.numbering, ParaFormat::Number::Bullet);
    EXPECT_EQ(p.offset, 720);
}

TEST_F(RichEditCommandsTest, SetParagraphFormatReadsItsArguments)
{
    struct Case {
        const char* alignment;
        ParaFormat::Align expected;
        int spacingIndex;
        int lineSpacing;
        int rule;
        int value;
    };
    const unsigned all = ParaFormat::Alignment | ParaFormat::Offset | ParaFormat::RightIndent |
                         ParaFormat::StartIndent | ParaFormat::SpaceBefore | ParaFormat::SpaceAfter |
                         ParaFormat::LineSpacing;
    for (const Case c : {Case{"Left", ParaFormat::Align::Left, 0, 0, 0, 0},
                         Case{"Right", ParaFormat::Align::Right, 1, 0, 1, 0},
                         Case{"Justify", ParaFormat::Align::Justify, 2, 0, 2, 0},
                         Case{"Center", ParaFormat::Align::Center, 4, 480, 4, 480},
                         Case{"anything else", ParaFormat::Align::Center, 3, 300, 3, 300}}) {
        edit.SetParagraphFormat(all, QString::fromLatin1(c.alignment), c.spacingIndex, c.lineSpacing, 120, 240,
                                nullptr, 0, 1440, 360, -360, false);
        const ParaFormat p = edit.paragraphFormat();
        EXPECT_EQ(p.alignment, c.expected) << c.alignment;
        // One and a half and double lines are sent as 30 and 40 twentieths,
        // which the control reports by their names.
        EXPECT_EQ(p.lineSpacingRule, c.rule) << c.alignment;
        if (c.rule >= 3) {
            EXPECT_NEAR(p.lineSpacing, c.value, 15) << c.alignment;
        }
        EXPECT_NEAR(p.startIndent, 1440, 15);
        EXPECT_NEAR(p.rightIndent, 360, 15);
        EXPECT_NEAR(p.offset, -360, 15);
        EXPECT_NEAR(p.spaceBefore, 240, 15);
        EXPECT_NEAR(p.spaceAfter, 120, 15);
    }
}

TEST_F(RichEditCommandsTest, SetParagraphFormatAppliesOnlyTheMask)
{
    edit.SetParagraphFormat(ParaFormat::Alignment, QStringLiteral("Right"), 0, 0, 0, 0, nullptr, 0, 2880, 0, 0,
                            false);
    ParaFormat p = edit.paragraphFormat();
    EXPECT_EQ(p.alignment, ParaFormat::Align::Right);
    EXPECT_EQ(p.startIndent, 0);

    // At most 32 tab stops are taken.
    std::vector<int> tabs;
    for (int i = 1; i <= 40; ++i)
        tabs.push_back(i * 360);
    edit.SetParagraphFormat(ParaFormat::TabStops, QString(), 0, 0, 0, 0, tabs.data(), int(tabs.size()), 0, 0, 0,
                            false);
    p = edit.paragraphFormat();
    EXPECT_EQ(p.alignment, ParaFormat::Align::Right);
    ASSERT_EQ(p.tabs.size(), 32u);
    EXPECT_NEAR(p.tabs.back(), 32 * 360, 15);

    // The short record of version 1 has no spacings.
    edit.setRichEditVersion(1);
    edit.SetParagraphFormat(ParaFormat::SpaceBefore | ParaFormat::Alignment, QStringLiteral("Left"), 0, 0, 0, 600,
                            nullptr, 0, 0, 0, 0, false);
    p = edit.paragraphFormat();
    EXPECT_EQ(p.alignment, ParaFormat::Align::Left);
    EXPECT_EQ(p.spaceBefore, 0);
}

TEST_F(RichEditCommandsTest, ReadOnlyControlMovesButDoesNotType)
{
    edit.setReadOnly(true);
    EXPECT_TRUE(edit.ReadOnly());
    EXPECT_TRUE(edit.isReadOnly());
    edit.setSelection(0, 0);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&edit, &right);
    EXPECT_EQ(edit.selStart(), 1);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&edit, &x);
    EXPECT_EQ(edit.text(), "one two three");
    edit.setReadOnly(false);
    QApplication::sendEvent(&edit, &x);
    EXPECT_EQ(edit.text(), "oxne two three");
}

}  // namespace
