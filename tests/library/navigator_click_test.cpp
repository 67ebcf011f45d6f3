// What the navigator's buttons do when clicked and held: the delete question,
// auto-repeat on a clock the test drives, bookmarks, hints, the record dialogs
// found or made by class name, and the layout of the buttons.
#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwdbedit.h"
#include "library/wwcustomdialog.h"
#include "library/wwdialogregistry.h"
#include "library/wwrepeattimer.h"
#include "platform/ui/messagedlg.h"
#include "tests/library/navigatorfixture.h"

#include <QMouseEvent>

#include <gmock/gmock.h>

#include <algorithm>

namespace {

// Ticks of the repeat timers happen when the test moves the clock on.
class FakeClock {
public:
    class Timer : public TwwRepeatTimer {
    public:
        explicit Timer(FakeClock* clock) : m_clock(clock) { clock->m_timers.push_back(this); }
        ~Timer() override { std::erase(m_clock->m_timers, this); }
        void start(int ms) override
        {
            m_running = true;
            m_interval = ms;
            m_due = m_clock->m_now + ms;
        }
        void setInterval(int ms) override
        {
            m_interval = ms;
            if (m_running)
                m_due = m_clock->m_now + ms;
        }
        void stop() override { m_running = false; }

    private:
        friend class FakeClock;
        FakeClock* m_clock;
        bool m_running = false;
        int m_interval = 0;
        long m_due = 0;
    };

    FakeClock()
        : m_previous(TwwRepeatTimer::setFactory([this] { return std::make_unique<Timer>(this); }))
    {
    }
    ~FakeClock() { TwwRepeatTimer::setFactory(std::move(m_previous)); }

    void advance(long ms)
    {
        const long end = m_now + ms;
        for (;;) {
            Timer* next = nullptr;
            for (Timer* t : m_timers)
                if (t->m_running && t->m_due <= end && (!next || t->m_due < next->m_due))
                    next = t;
            if (!next)
                break;
            m_now = next->m_due;
            next->m_due = m_now + next->m_interval;
            if (next->onTick)
                next->onTick();
        }
        m_now = end;
    }

private:
    long m_now = 0;
    std::vector<Timer*> m_timers;
    TwwRepeatTimer::Factory m_previous;
};

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void press(QWidget* w) { mouse(w, QEvent::MouseButtonPress, {12, 12}, Qt::LeftButton); }
void moveTo(QWidget* w, QPoint at) { mouse(w, QEvent::MouseMove, at, Qt::LeftButton); }
void release(QWidget* w, QPoint at = {12, 12}) { mouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton); }

class NavigatorClick : public NavigatorFixture {
protected:
    // The buttons, with any timer they keep, go before the clock.
    void TearDown() override
    {
        delete nav;
        nav = nullptr;
    }

    FakeClock clock;
};

// ---- delete

struct DeleteCase {
    int answer;  // mrCancel also stands for closing the box with Escape
    int rowsLeft;
    const char* current;
};

class NavigatorDelete : public NavigatorClick, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(NavigatorDelete, DeleteAsksAndOnlyOkDeletes)
{
    openWith(5);
    makeNavigator();
    MessageDlgScript script({GetParam().answer});
    clickButton(nbsDelete);
    ASSERT_EQ(script.requests().size(), 1u);
    EXPECT_EQ(script.requests()[0].text, QStringLiteral("Delete record?"));
    EXPECT_EQ(script.requests()[0].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(script.requests()[0].type, MsgDlgType::mtConfirmation);
    EXPECT_EQ(script.requests()[0].buttons, mbOK | mbCancel);
    EXPECT_EQ(table->RecordCount(), GetParam().rowsLeft);
    EXPECT_EQ(title(), QString::fromLatin1(GetParam().current));
}

INSTANTIATE_TEST_SUITE_P(Answers, NavigatorDelete,
                         ::testing::Values(DeleteCase{mrCancel, 5, "T1"}, DeleteCase{mrOk, 4, "T2"}));

TEST_F(NavigatorClick, WithoutConfirmDeleteNothingIsAsked)
{
    openWith(3);
    makeNavigator();
    nav->setOptions({});
    MessageDlgScript script;
    clickButton(nbsDelete);
    EXPECT_TRUE(script.requests().empty());
    EXPECT_EQ(table->RecordCount(), 2);
}

TEST_F(NavigatorClick, ATextIsAddedChangedAndDeletedThroughTheButtonsAndAnEdit)
{
    openWith(2);
    makeNavigator();
    auto* edit = new TwwDBEdit(&window);
    edit->setDataSource(source);
    edit->setDataField(QStringLiteral("Titulo"));
    edit->show();

    clickButton(nbsInsert);
    ASSERT_EQ(table->State(), dsInsert);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("Novo"));
    for (const char* name : {"Autor", "Assunto", "PrimeiraLinha", "Texto"})
        field(name)->setAsString(QStringLiteral("x"));
    clickButton(nbsPost);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(title(), QStringLiteral("Novo"));

    clickButton(nbsEdit);
    QTest::keyClicks(edit, QStringLiteral("!"));
    clickButton(nbsCancel);
    EXPECT_EQ(title(), QStringLiteral("Novo"));
    EXPECT_EQ(edit->text(), QStringLiteral("Novo"));

    MessageDlgScript ok({mrOk});
    clickButton(nbsDelete);
    EXPECT_EQ(table->RecordCount(), 2);
    EXPECT_EQ(title(), QStringLiteral("T1"));
    EXPECT_TRUE(errors.messages().isEmpty());
}

// ---- auto-repeat

TEST_F(NavigatorClick, HoldingNextForASecondMovesSixTimesAndOnceMoreOnRelease)
{
    openWith(20);
    makeNavigator();
    press(button(nbsNext));
    clock.advance(499);
    EXPECT_EQ(title(), QStringLiteral("T1"));
    clock.advance(501);  // ticks at 500, 600, ..., 1000
    EXPECT_EQ(title(), QStringLiteral("T7"));
    release(button(nbsNext));
    EXPECT_EQ(title(), QStringLiteral("T8"));
    EXPECT_FALSE(button(nbsNext)->Repeating());
    clock.advance(1000);
    EXPECT_EQ(title(), QStringLiteral("T8"));
}

TEST_F(NavigatorClick, AQuickClickMovesExactlyOnceAndOtherStylesNeverRepeat)
{
    openWith(20);
    makeNavigator();
    clickButton(nbsNext);
    clock.advance(2000);
    EXPECT_EQ(title(), QStringLiteral("T2"));
    press(button(nbsEdit));
    EXPECT_FALSE(button(nbsEdit)->Repeating());
    release(button(nbsEdit));
    EXPECT_EQ(table->State(), dsEdit);
}

TEST_F(NavigatorClick, MovingOffStopsTheRepeatAndMovingBackStartsItAfresh)
{
    openWith(20);
    makeNavigator();
    TwwNavButton* next = button(nbsNext);
    press(next);
    clock.advance(600);  // two moves
    moveTo(next, {40, 12});
    EXPECT_FALSE(next->Repeating());
    clock.advance(1000);
    EXPECT_EQ(title(), QStringLiteral("T3"));
    moveTo(next, {12, 12});
    clock.advance(499);
    EXPECT_EQ(title(), QStringLiteral("T3"));
    clock.advance(1);
    EXPECT_EQ(title(), QStringLiteral("T4"));
    moveTo(next, {40, 12});
    release(next, {40, 12});  // released off the button: no click
    EXPECT_EQ(title(), QStringLiteral("T4"));
}

TEST_F(NavigatorClick, RepeatStopsAtTheEndWhenTheButtonTurnsOff)
{
    openWith(3);
    makeNavigator();
    press(button(nbsNext));
    clock.advance(5000);
    EXPECT_EQ(title(), QStringLiteral("T3"));
    EXPECT_FALSE(button(nbsNext)->Enabled());
    EXPECT_FALSE(button(nbsNext)->Repeating());
}

TEST_F(NavigatorClick, AFailingMoveStopsTheRepeatAndReachesTheErrorBox)
{
    openWith(20);
    makeNavigator();
    table->Edit();
    field("Titulo")->setAsString(QString());  // the post before the move is refused
    press(button(nbsNext));
    clock.advance(2000);
    EXPECT_EQ(errors.messages(), QStringList{QStringLiteral("Field 'Titulo' must have a value")});
    EXPECT_FALSE(button(nbsNext)->Repeating());
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(table->RecNo(), 1);
}

// ---- bookmarks

TEST_F(NavigatorClick, RestoreGoesBackToTheLastSavedPlace)
{
    openWith(12);
    makeNavigator();
    table->MoveBy(4);  // T5
    clickButton(nbsSaveBookmark);
    EXPECT_TRUE(button(nbsRestoreBookmark)->Enabled());
    table->First();
    clickButton(nbsRestoreBookmark);
    EXPECT_EQ(title(), QStringLiteral("T5"));
    table->MoveBy(3);  // T8 replaces T5
    clickButton(nbsSaveBookmark);
    EXPECT_EQ(nav->bookmarkCount(), 1);
    table->Last();
    clickButton(nbsRestoreBookmark);
    EXPECT_EQ(title(), QStringLiteral("T8"));
}

TEST_F(NavigatorClick, ARowDeletedElsewhereTurnsRestoreOffAndRestoreDoesNothing)
{
    openWith(5);
    makeNavigator();
    table->MoveBy(2);
    clickButton(nbsSaveBookmark);
    const storage::RowId gone = [&] {
        auto t = storage::Engine::instance().openTable(dir.path(), "Memorizar.DB", storage::OpenMode::ReadWrite);
        const storage::RowId id = t->rowAt(3)->id;
        t->remove(id);
        return id;
    }();
    (void)gone;
    table->First();
    EXPECT_FALSE(button(nbsRestoreBookmark)->Enabled());
    button(nbsRestoreBookmark)->Click();
    EXPECT_EQ(title(), QStringLiteral("T1"));
    EXPECT_TRUE(errors.messages().isEmpty());
}

TEST_F(NavigatorClick, ARefusedPostWhileRestoringIsShownAndKeepsTheSavedPlace)
{
    openWith(5);
    makeNavigator();
    table->MoveBy(3);
    clickButton(nbsSaveBookmark);
    table->First();
    table->Edit();
    field("Autor")->setAsString(QString());
    clickButton(nbsRestoreBookmark);
    EXPECT_EQ(errors.messages(), QStringList{QStringLiteral("Field 'Autor' must have a value")});
    EXPECT_EQ(table->State(), dsEdit);
    field("Autor")->setAsString(QStringLiteral("A1"));
    clickButton(nbsRestoreBookmark);
    EXPECT_EQ(title(), QStringLiteral("T4"));
}

// ---- hints

TEST_F(NavigatorClick, HintsAreTheButtonsOwnOrTheSharedDefaultsWithThePageSize)
{
    openWith(1);
    makeNavigator();
    EXPECT_EQ(button(nbsNext)->toolTip(), QStringLiteral("Próximo Registro"));
    EXPECT_EQ(button(nbsNextPage)->toolTip(), QStringLiteral("Avança 10 registros"));
    nav->setOptions(noConfirmDelete | noUseInternationalText);
    const std::pair<TwwNavButtonStyle, const char*> defaults[] = {
        {nbsFirst, "Move to first record"},
        {nbsPriorPage, "Move backward 10 records"},
        {nbsNextPage, "Move forward 10 records"},
        {nbsCancel, "Cancel changes made to current record"},
        {nbsRecordViewDialog, "View current record"},
    };
    for (const auto& [style, hint] : defaults)
        EXPECT_EQ(button(style)->toolTip(), QString::fromLatin1(hint)) << wwNavStyleName(style);
    nav->setMoveBy(-25);
    EXPECT_EQ(button(nbsPriorPage)->toolTip(), QStringLiteral("Move backward 25 records"));
    nav->setOptions(noConfirmDelete);
    button(nbsNextPage)->setHint(QStringLiteral("Avança %d registros"));
    EXPECT_EQ(button(nbsNextPage)->toolTip(), QStringLiteral("Avança 25 registros"));
    button(nbsNextPage)->setShowHint(false);
    EXPECT_TRUE(button(nbsNextPage)->toolTip().isEmpty());
    EXPECT_EQ(button(nbsNextPage)->accessibleName(), QStringLiteral("Avança 25 registros"));
}

// ---- layout

TEST_F(NavigatorClick, ButtonsSitInIndexOrderAndTheNavigatorFitsThem)
{
    openWith(1);
    makeNavigator();
    EXPECT_EQ(nav->size(), QSize(450, 25));
    for (int i = 0; i < nav->Buttons().Count(); ++i)
        EXPECT_EQ(nav->Buttons().Items(i)->geometry(), QRect(25 * i, 0, 25, 25)) << i;
    EXPECT_EQ(button(nbsEdit)->Index(), 7);
    EXPECT_EQ(button(nbsDelete)->Index(), 9);
    button(nbsDelete)->setIndex(0);
    EXPECT_EQ(button(nbsDelete)->pos(), QPoint(0, 0));
    EXPECT_EQ(button(nbsFirst)->Index(), 1);
    button(nbsRefresh)->setLineBreak(true);  // index 11 starts a second row
    EXPECT_EQ(nav->size(), QSize(275, 50));
    EXPECT_EQ(button(nbsRefresh)->pos(), QPoint(0, 25));
    button(nbsRefresh)->setLineBreak(false);
    nav->setLayout(nlVertical);
    EXPECT_EQ(nav->size(), QSize(25, 450));
}

TEST_F(NavigatorClick, WithAFixedSizeButtonsWrapAtTheEdgeOrShareTheArea)
{
    openWith(1);
    makeNavigator();
    nav->setAutosizeStyle(asNone);
    nav->resize(200, 75);
    EXPECT_EQ(button(nbsNextPage)->pos(), QPoint(100, 0));
    EXPECT_EQ(nav->Buttons().Items(8)->pos(), QPoint(0, 25));  // 8 x 25 = 200 fills the first row
    nav->setAutosizeStyle(asSizeNavButtons);
    nav->resize(180, 20);
    EXPECT_EQ(nav->Buttons().Items(0)->geometry(), QRect(0, 0, 10, 20));
    EXPECT_EQ(nav->Buttons().Items(17)->geometry(), QRect(170, 0, 10, 20));
}

// ---- record dialogs

class StandInDialog : public TwwCustomDialog {
    Q_OBJECT
public:
    explicit StandInDialog(QObject* owner) : TwwCustomDialog(owner) {}
    bool Execute() override
    {
        ++executions;
        return true;
    }
    TwwTable* GetPrimaryDataSet() const override
    {
        if (searchTable)
            return searchTable;
        return dataSource ? dataSource->DataSet() : nullptr;
    }
    void setDataSource(TwwDataSource* source) override { dataSource = source; }
    void setSearchTable(TwwTable* table) override { searchTable = table; }

    int executions = 0;
    TwwDataSource* dataSource = nullptr;
    TwwTable* searchTable = nullptr;
};

class NavigatorDialogs : public NavigatorClick {
protected:
    void SetUp() override
    {
        for (const char* name : {"TwwLocateDialog", "TwwSearchDialog", "TwwFilterDialog"})
            TwwDialogRegistry::registerClass(QString::fromLatin1(name), &StandInDialog::staticMetaObject,
                                             [](QObject* owner) { return new StandInDialog(owner); });
    }
    void TearDown() override
    {
        for (const char* name : {"TwwLocateDialog", "TwwSearchDialog", "TwwFilterDialog"})
            TwwDialogRegistry::unregisterClass(QString::fromLatin1(name));
        NavigatorClick::TearDown();
    }
    StandInDialog* dialogOf(TwwNavButtonStyle style) { return static_cast<StandInDialog*>(button(style)->Dialog()); }
};

TEST_F(NavigatorDialogs, TheFirstClickMakesTheDialogAndLaterClicksShowTheSameOne)
{
    openWith(3);
    makeNavigator();
    int created = 0;
    button(nbsLocateDialog)->OnAfterCreateDialog = [&](TwwNavButton*) { ++created; };
    clickButton(nbsLocateDialog);
    StandInDialog* dialog = dialogOf(nbsLocateDialog);
    ASSERT_NE(dialog, nullptr);
    clickButton(nbsLocateDialog);
    EXPECT_EQ(dialogOf(nbsLocateDialog), dialog);
    EXPECT_EQ(dialog->executions, 2);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(dialog->parent(), nav);
    EXPECT_EQ(dialog->dataSource, source);
    EXPECT_EQ(dialog->searchTable, nullptr);
}

TEST_F(NavigatorDialogs, OwnersAndBindingsFollowTheStyle)
{
    openWith(3);
    makeNavigator();
    clickButton(nbsFilterDialog);
    clickButton(nbsSearchDialog);
    ASSERT_NE(dialogOf(nbsFilterDialog), nullptr);
    EXPECT_EQ(dialogOf(nbsFilterDialog)->parent(), table);
    EXPECT_EQ(dialogOf(nbsFilterDialog)->dataSource, source);
    ASSERT_NE(dialogOf(nbsSearchDialog), nullptr);
    EXPECT_EQ(dialogOf(nbsSearchDialog)->parent(), nav);
    EXPECT_EQ(dialogOf(nbsSearchDialog)->searchTable, table);
    EXPECT_EQ(dialogOf(nbsSearchDialog)->dataSource, nullptr);
    // Destroying the component clears the button's reference.
    delete dialogOf(nbsFilterDialog);
    EXPECT_EQ(button(nbsFilterDialog)->Dialog(), nullptr);
}

TEST_F(NavigatorDialogs, ADialogAlreadyOwnedForTheTableIsFoundNotMade)
{
    openWith(3);
    makeNavigator();
    auto* unbound = new StandInDialog(nav);  // for no table: not taken
    auto* placed = new StandInDialog(nav);
    placed->setDataSource(source);
    clickButton(nbsLocateDialog);
    EXPECT_EQ(dialogOf(nbsLocateDialog), placed);
    EXPECT_EQ(placed->executions, 1);
    EXPECT_EQ(unbound->executions, 0);
}

TEST_F(NavigatorDialogs, ADialogWithoutATableTurnsItsButtonOffAndUnknownClassesDoNothing)
{
    openWith(3);
    makeNavigator();
    clickButton(nbsLocateDialog);
    dialogOf(nbsLocateDialog)->dataSource = nullptr;
    table->Next();
    EXPECT_FALSE(button(nbsLocateDialog)->Enabled());
    // No record view class is registered: the click shows nothing and fails
    // nothing.
    clickButton(nbsRecordViewDialog);
    EXPECT_EQ(button(nbsRecordViewDialog)->Dialog(), nullptr);
    EXPECT_TRUE(errors.messages().isEmpty());
}

}  // namespace

#include "navigator_click_test.moc"
