// The navigator's buttons follow the table: which are enabled on opening, in
// an empty table, while editing, near the end, with and without a bookmark.
#include "library/wwdbnavigator.h"
#include "library/wwnavbutton.h"
#include "tests/library/navigatorfixture.h"

#include <gmock/gmock.h>

namespace {

class NavigatorState : public NavigatorFixture {};

TEST_F(NavigatorState, OnOpeningAtTheFirstOfSeveralRecords)
{
    openWith(5);
    makeNavigator();
    EXPECT_EQ(enabledStyles(), styles({nbsNext, nbsNextPage, nbsLast, nbsInsert, nbsEdit, nbsDelete, nbsRefresh,
                                       nbsSaveBookmark, nbsFilterDialog, nbsRecordViewDialog, nbsLocateDialog,
                                       nbsSearchDialog}));
}

TEST_F(NavigatorState, InAnEmptyTableEditStartsANewRecord)
{
    openWith(0);
    makeNavigator();
    EXPECT_EQ(enabledStyles(), styles({nbsInsert, nbsEdit, nbsRefresh, nbsSaveBookmark, nbsFilterDialog,
                                       nbsRecordViewDialog, nbsLocateDialog, nbsSearchDialog}));
    clickButton(nbsEdit);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_TRUE(button(nbsPost)->Enabled());
    EXPECT_FALSE(button(nbsEdit)->Enabled());
}

TEST_F(NavigatorState, TypingTurnsEditOffAndPostAndCancelOn)
{
    openWith(5);
    makeNavigator();
    clickButton(nbsSaveBookmark);
    ASSERT_TRUE(button(nbsRestoreBookmark)->Enabled());
    table->Edit();
    field("Titulo")->setAsString(QStringLiteral("changed"));
    EXPECT_FALSE(button(nbsEdit)->Enabled());
    EXPECT_TRUE(button(nbsPost)->Enabled());
    EXPECT_TRUE(button(nbsCancel)->Enabled());
    EXPECT_TRUE(button(nbsRestoreBookmark)->Enabled());
    clickButton(nbsCancel);
    EXPECT_TRUE(button(nbsEdit)->Enabled());
    EXPECT_FALSE(button(nbsPost)->Enabled());
    EXPECT_FALSE(button(nbsCancel)->Enabled());
    EXPECT_EQ(title(), QStringLiteral("T1"));
}

TEST_F(NavigatorState, NextPageNearTheEndStopsOnTheLastRecordAndTurnsOff)
{
    openWith(6);
    makeNavigator();
    clickButton(nbsNext);
    clickButton(nbsNext);  // T3: three records after it
    clickButton(nbsNextPage);
    EXPECT_EQ(title(), QStringLiteral("T6"));
    EXPECT_FALSE(button(nbsNextPage)->Enabled());
    EXPECT_FALSE(button(nbsNext)->Enabled());
    EXPECT_FALSE(button(nbsLast)->Enabled());
    EXPECT_TRUE(button(nbsPriorPage)->Enabled());
    clickButton(nbsPriorPage);
    EXPECT_EQ(title(), QStringLiteral("T1"));
    EXPECT_FALSE(button(nbsPrior)->Enabled());
}

TEST_F(NavigatorState, PageSizeIsTheAbsoluteValueOfMoveBy)
{
    openWith(30);
    makeNavigator();
    nav->setMoveBy(-4);
    clickButton(nbsNextPage);
    EXPECT_EQ(title(), QStringLiteral("T5"));
    clickButton(nbsPriorPage);
    EXPECT_EQ(title(), QStringLiteral("T1"));
    nav->setMoveBy(INT_MIN);  // no overflow: the largest page there is
    clickButton(nbsNextPage);
    EXPECT_EQ(title(), QStringLiteral("T30"));
}

TEST_F(NavigatorState, ClosingTheTableDisablesEverythingAndForgetsTheBookmark)
{
    openWith(5);
    makeNavigator();
    clickButton(nbsSaveBookmark);
    table->Close();
    EXPECT_EQ(enabledStyles(), styles({}));
    EXPECT_EQ(nav->bookmarkCount(), 0);
    table->Open();
    EXPECT_FALSE(button(nbsRestoreBookmark)->Enabled());
    EXPECT_TRUE(button(nbsSaveBookmark)->Enabled());
}

TEST_F(NavigatorState, DisablingTheNavigatorDisablesEveryButtonUntilEnabledAgain)
{
    openWith(5);
    makeNavigator();
    nav->setEnabled(false);
    EXPECT_EQ(enabledStyles(), styles({}));
    table->Next();  // notifications while disabled keep everything off
    EXPECT_EQ(enabledStyles(), styles({}));
    nav->setEnabled(true);
    EXPECT_TRUE(button(nbsPrior)->Enabled());
    EXPECT_TRUE(button(nbsNext)->Enabled());
}

TEST_F(NavigatorState, WithoutADataSourceEveryButtonIsOffAndAClickFails)
{
    TwwDBNavigator navigator;
    TwwNavButton* next = navigator.addButton(nbsNext);
    EXPECT_FALSE(next->Enabled());
    next->setEnabled(true);
    EXPECT_THROW(
        {
            try {
                next->Click();
            } catch (const Exception& e) {
                EXPECT_STREQ(e.what(), "Error, DataSource not assigned");
                throw;
            }
        },
        Exception);
}

TEST_F(NavigatorState, AStateHandlerThatSetsTheStateWins)
{
    openWith(5);
    makeNavigator();
    int rowChanges = 0;
    button(nbsInsert)->OnUpdateState = [](TwwDBNavigator*, TwwNavButton* b, TwwUpdateCause) { b->setEnabled(false); };
    button(nbsInsert)->OnRowChanged = [&](TwwNavButton*) { ++rowChanges; };
    table->Next();
    EXPECT_FALSE(button(nbsInsert)->Enabled());
    EXPECT_EQ(rowChanges, 1);
    // A handler that throws changes nothing for the others.
    button(nbsNext)->OnUpdateState = [](TwwDBNavigator*, TwwNavButton*, TwwUpdateCause) {
        throw Exception("broken handler");
    };
    table->Last();
    EXPECT_FALSE(button(nbsNext)->Enabled());
    EXPECT_TRUE(errors.messages().isEmpty());
}

TEST(NavigatorGlyphs, EveryStyleHasAnEnabledAndADisabledPicture)
{
    for (int style = 0; style < wwNavStyleCount; ++style) {
        const QImage& enabled = TwwNavButton::glyph(2 * style);
        const QImage& disabled = TwwNavButton::glyph(2 * style + 1);
        auto drawn = [](const QImage& image) {
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 0;
            return opaque;
        };
        SCOPED_TRACE(wwNavStyleName(TwwNavButtonStyle(style)));
        EXPECT_EQ(enabled.size(), QSize(18, 18));
        EXPECT_GT(drawn(enabled), 10);
        EXPECT_GT(drawn(disabled), 10);
        EXPECT_NE(enabled, disabled);
    }
    EXPECT_TRUE(TwwNavButton::glyph(2 * nbsCustom).isNull());
}

}  // namespace
