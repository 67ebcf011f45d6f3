// Find and replace through the rich edit's own dialogs.
#include "platform/ui/messagedlg.h"
#include "richtext/wwcustomrichedit.h"
#include "richtext/wwfinddialog.h"
#include "tests/support/errorrecorder.h"
#include "tests/support/qtprinters.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class RichEditSearchTest : public ::testing::Test {
protected:
    // Presses find next on the find dialog; answers where the selection went
    // (-1 when "No more matches found" was shown instead).
    int findNext(TwwFindDialog* dialog = nullptr)
    {
        dialog = dialog ? dialog : edit.FindDialog();
        const std::size_t before = script.requests().size();
        dialog->findNextButton()->click();
        if (script.requests().size() > before)
            return -1;
        return edit.selStart();
    }
    void expectNoMoreMatches(std::size_t count)
    {
        ASSERT_EQ(script.requests().size(), count);
        const MessageRequest& r = script.requests().back();
        EXPECT_EQ(r.text, "No more matches found");
        EXPECT_EQ(r.type, MsgDlgType::mtInformation);
        EXPECT_EQ(r.buttons, mbOK);
    }

    ErrorRecorder errors;
    MessageDlgScript script;
    TwwCustomRichEdit edit;
};

TEST_F(RichEditSearchTest, FindNextFromTheStartSkipsAMatchAtPositionZero)
{
    edit.setText(QStringLiteral("ab ab ab"));
    edit.setSelection(0, 0);
    edit.ShowFindDialog();
    edit.FindDialog()->setFindText(QStringLiteral("ab"));
    // The round began at 0: after the two later matches the search wraps,
    // finds the one at 0 (not beyond the start), and then stops.
    EXPECT_EQ(findNext(), 3);
    EXPECT_EQ(edit.selLength(), 2);
    EXPECT_EQ(findNext(), 6);
    EXPECT_EQ(findNext(), 0);
    EXPECT_EQ(findNext(), -1);
    expectNoMoreMatches(1);
    // The next round starts where the caret is.
    EXPECT_EQ(findNext(), 3);
    EXPECT_EQ(errors.messages(), QStringList());
}

TEST_F(RichEditSearchTest, FindNextWrapsAndStopsAtTheSearchStart)
{
    edit.setText(QStringLiteral("x ab x ab x ab"));
    edit.setSelection(5, 0);  // between the first and the second match
    edit.ShowFindDialog();
    edit.FindDialog()->setFindText(QStringLiteral("ab"));
    EXPECT_EQ(findNext(), 7);
    EXPECT_EQ(findNext(), 12);
    EXPECT_EQ(findNext(), 2);   // wrapped to the start
    EXPECT_EQ(findNext(), -1);  // the one at 7 lies beyond where the round began
    expectNoMoreMatches(1);
}

TEST_F(RichEditSearchTest, TheSelectionBecomesTheFindText)
{
    struct Case {
        int start;
        int length;
        const char* expected;
    };
    edit.setText(QStringLiteral("first line\r\nsecond"));
    edit.setSelection(0, 5);
    edit.ShowFindDialog();
    EXPECT_EQ(edit.FindDialog()->FindText(), "first");
    edit.FindDialog()->findNextButton()->click();  // "first" becomes the last search text
    for (const Case c : {Case{6, 4, "line"}, Case{0, 0, "first"}, Case{6, 8, "first"}}) {
        edit.FindDialog()->hide();
        edit.setSelection(c.start, c.length);
        edit.ShowFindDialog();
        // An empty selection or one across a line break leaves the last text.
        EXPECT_EQ(edit.FindDialog()->FindText(), c.expected) << c.start << "," << c.length;
    }
}

TEST_F(RichEditSearchTest, MatchCaseAndWholeWord)
{
    struct Case {
        bool matchCase;
        bool wholeWord;
        int found;
    };
    for (const Case c : {Case{false, false, 2}, Case{true, false, 10}, Case{false, true, 14}, Case{true, true, 18}}) {
        // "Cat" inside a word at 2, "cat" inside one at 10, "CAT" alone at 14,
        // "cat" alone at 18
        edit.setText(QStringLiteral("x Cats bobcat CAT cat"));
        edit.setSelection(0, 0);
        edit.FindDialog()->setFindText(QStringLiteral("cat"));
        edit.FindDialog()->setMatchCase(c.matchCase);
        edit.FindDialog()->setWholeWord(c.wholeWord);
        EXPECT_EQ(findNext(), c.found) << c.matchCase << c.wholeWord;
    }
}

TEST_F(RichEditSearchTest, ReplaceAllSkipsTheCharacterAfterEachReplacement)
{
    edit.setText(QStringLiteral("aaa"));
    edit.setSelection(0, 0);
    edit.ShowReplaceDialog();
    TwwFindDialog* d = edit.ReplaceDialog();
    d->setFindText(QStringLiteral("a"));
    d->setReplaceText(QStringLiteral("b"));
    d->replaceAllButton()->click();
    EXPECT_EQ(edit.text(), "bba");
    expectNoMoreMatches(1);
    EXPECT_FALSE(d->ReplaceAllPressed());
}

TEST_F(RichEditSearchTest, ReplaceReplacesTheSelectedMatchAndFindsTheNext)
{
    edit.setText(QStringLiteral("one cat, two cats"));
    edit.setSelection(0, 0);
    edit.ShowReplaceDialog();
    TwwFindDialog* d = edit.ReplaceDialog();
    d->setFindText(QStringLiteral("cat"));
    d->setReplaceText(QStringLiteral("dog"));
    // The first press only finds: nothing was selected.
    d->replaceButton()->click();
    EXPECT_EQ(edit.text(), "one cat, two cats");
    EXPECT_EQ(edit.selStart(), 4);
    d->replaceButton()->click();
    EXPECT_EQ(edit.text(), "one dog, two cats");
    EXPECT_EQ(edit.selStart(), 13);
    EXPECT_EQ(edit.selLength(), 3);
    // Find next on the replace dialog moves without replacing.
    d->findNextButton()->click();
    EXPECT_EQ(edit.text(), "one dog, two cats");
    EXPECT_EQ(edit.LastSearchText(), "cat");
    expectNoMoreMatches(1);
}

TEST_F(RichEditSearchTest, ReplacingAfterWrappingMovesTheSearchStart)
{
    // The round begins after "ab" at 0; wrapping replaces it with a longer
    // text, so the search start moves with the text and the match at the old
    // start is not taken again.
    edit.setText(QStringLiteral("ab x ab"));
    edit.setSelection(3, 0);
    edit.ShowReplaceDialog();
    TwwFindDialog* d = edit.ReplaceDialog();
    d->setFindText(QStringLiteral("ab"));
    d->setReplaceText(QStringLiteral("abab"));
    d->replaceAllButton()->click();
    EXPECT_EQ(edit.text(), "abab x abab");
    expectNoMoreMatches(1);
}

TEST_F(RichEditSearchTest, AReadOnlyControlIsSearchedButNotChanged)
{
    edit.setText(QStringLiteral("aaa"));
    edit.setReadOnly(true);
    edit.setSelection(0, 0);
    edit.ShowReplaceDialog();
    edit.ReplaceDialog()->setFindText(QStringLiteral("a"));
    edit.ReplaceDialog()->setReplaceText(QStringLiteral("b"));
    edit.ReplaceDialog()->replaceAllButton()->click();
    EXPECT_EQ(edit.text(), "aaa");
    ASSERT_EQ(script.requests().size(), 1u);
}

TEST_F(RichEditSearchTest, TheSelectionStaysVisibleWhileADialogIsOpen)
{
    EXPECT_TRUE(edit.HideSelection());
    edit.ShowFindDialog();
    edit.ShowReplaceDialog();
    EXPECT_FALSE(edit.HideSelection());
    edit.FindDialog()->close();
    EXPECT_FALSE(edit.HideSelection());
    edit.ReplaceDialog()->close();
    EXPECT_TRUE(edit.HideSelection());
}

TEST_F(RichEditSearchTest, TheMenusFindNextUsesTheFindDialog)
{
    edit.setText(QStringLiteral("to be or not to be"));
    edit.setSelection(0, 0);
    edit.FindDialog()->setFindText(QStringLiteral("be"));
    edit.FindNext();
    EXPECT_EQ(edit.selStart(), 3);
    edit.FindNext();
    EXPECT_EQ(edit.selStart(), 16);
}

}  // namespace
