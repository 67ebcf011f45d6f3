// The grid's keys in its read-only configuration: moving between records and
// columns, appending with Down and Tab, cancelling an untouched new record,
// and Esc asking before it drops changes.
#include "platform/ui/messagedlg.h"
#include "tests/library/gridfixture.h"

#include <QScrollBar>

#include <gmock/gmock.h>

namespace {

class GridKeys : public GridFixture {};

TEST_F(GridKeys, DownOnTheLastRecordAppendsAndUpCancelsTheUntouchedNewRecord)
{
    openWith(3);
    makeGrid();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(title(), QStringLiteral("T3"));
    key(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->ActiveRecord(), 3);
    key(Qt::Key_Down);  // an untouched new record at the end stays
    EXPECT_EQ(table->State(), dsInsert);
    key(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(title(), QStringLiteral("T3"));
    EXPECT_EQ(table->RecordCount(), 3);
}

TEST_F(GridKeys, DownOnAnUntouchedRecordInsertedInTheMiddleCancelsIt)
{
    openWith(5);
    makeGrid();
    table->MoveBy(2);
    table->Insert();
    key(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->RecordCount(), 5);
    EXPECT_EQ(title(), QStringLiteral("T3"));
}

TEST_F(GridKeys, DownOnAChangedNewRecordStoresItBeforeMoving)
{
    openWith(2);
    makeGrid();
    table->MoveBy(1);
    key(Qt::Key_Down);
    for (const char* name : {"Titulo", "Autor", "Assunto", "PrimeiraLinha", "Texto"})
        field(name)->setAsString(QStringLiteral("new"));
    key(Qt::Key_Up);
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(title(), QStringLiteral("T2"));
    key(Qt::Key_Down);
    EXPECT_EQ(title(), QStringLiteral("new"));
}

TEST_F(GridKeys, AnEmptyTableGetsItsFirstRecordFromDown)
{
    openWith(0);
    makeGrid();
    key(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsInsert);
    key(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_TRUE(table->IsEmpty());
}

TEST_F(GridKeys, MovesByRecords)
{
    openWith(100);
    makeGrid();
    const int rows = grid->visibleRows();
    ASSERT_GT(rows, 5);
    struct Step {
        int key;
        Qt::KeyboardModifiers mods;
        qint64 recNo;
    };
    const Step steps[] = {
        {Qt::Key_PageDown, Qt::NoModifier, 1 + rows},
        {Qt::Key_PageUp, Qt::NoModifier, 1},
        {Qt::Key_End, Qt::ControlModifier, 100},
        {Qt::Key_Home, Qt::ControlModifier, 1},
        {Qt::Key_Down, Qt::ControlModifier, rows},       // the bottom visible row
        {Qt::Key_Down, Qt::NoModifier, rows + 1},
        {Qt::Key_PageUp, Qt::ControlModifier, 2},        // the top visible row
        {Qt::Key_PageDown, Qt::ControlModifier, rows + 1},
        {Qt::Key_Up, Qt::ControlModifier, 2},
    };
    for (const Step& s : steps) {
        key(s.key, s.mods);
        EXPECT_EQ(table->RecNo(), s.recNo) << QKeySequence(s.key | s.mods).toString().toStdString();
        // The thumb, carried along without counting, agrees with the count.
        EXPECT_EQ(grid->verticalScrollBar()->value(), s.recNo - 1);
    }
}

TEST_F(GridKeys, MovesBetweenColumnsAndTabWrapsToTheNeighbouringRecords)
{
    openWith(3);
    makeGrid();
    key(Qt::Key_Right);
    EXPECT_EQ(grid->selectedColumn(), 1);
    key(Qt::Key_End);
    EXPECT_EQ(grid->selectedColumn(), 4);
    EXPECT_GT(grid->leftColumn(), 0);  // scrolled sideways to show it
    key(Qt::Key_Home);
    EXPECT_EQ(grid->selectedColumn(), 0);
    EXPECT_EQ(grid->leftColumn(), 0);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(grid->selectedColumn(), 4);
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(grid->selectedColumn(), 0);

    key(Qt::Key_End);
    key(Qt::Key_Tab);
    EXPECT_EQ(title(), QStringLiteral("T2"));
    EXPECT_EQ(grid->selectedColumn(), 0);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(title(), QStringLiteral("T1"));
    EXPECT_EQ(grid->selectedColumn(), 4);
    key(Qt::Key_Home);
    key(Qt::Key_Backtab, Qt::ShiftModifier);  // nothing before the first record
    EXPECT_EQ(title(), QStringLiteral("T1"));
    EXPECT_EQ(grid->selectedColumn(), 0);
    EXPECT_TRUE(grid->hasFocus());

    table->Last();
    key(Qt::Key_End);
    key(Qt::Key_Tab);  // past the last record: a new one, as Down does
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(grid->selectedColumn(), 0);
}

TEST_F(GridKeys, EscAsksBeforeDroppingChangesAndDropsAnUntouchedEditAtOnce)
{
    openWith(3);
    makeGrid();
    table->Edit();
    {
        MessageDlgScript script;
        key(Qt::Key_Escape);
        EXPECT_TRUE(script.requests().empty());
        EXPECT_EQ(table->State(), dsBrowse);
    }
    table->Edit();
    field("Titulo")->setAsString(QStringLiteral("typed"));
    {
        MessageDlgScript script({mrNo});
        key(Qt::Key_Escape);
        ASSERT_EQ(script.requests().size(), 1u);
        EXPECT_EQ(script.requests()[0].text, QStringLiteral("Discard changes to this record?"));
        EXPECT_EQ(script.requests()[0].buttons, mbYes | mbNo);
        EXPECT_EQ(table->State(), dsEdit);
        EXPECT_EQ(title(), QStringLiteral("typed"));
    }
    {
        MessageDlgScript script({mrYes});
        key(Qt::Key_Escape);
        EXPECT_EQ(table->State(), dsBrowse);
        EXPECT_EQ(title(), QStringLiteral("T1"));
    }
}

TEST_F(GridKeys, KeysThatWouldChangeDataDoNothing)
{
    openWith(3);
    makeGrid();
    MessageDlgScript script;
    for (int k : {int(Qt::Key_Insert), int(Qt::Key_Delete), int(Qt::Key_Return), int(Qt::Key_A), int(Qt::Key_Space)})
        key(k);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(title(), QStringLiteral("T1"));
    EXPECT_TRUE(script.requests().empty());
    EXPECT_TRUE(errors.messages().isEmpty());
}

TEST_F(GridKeys, AFailingStoreReachesTheErrorBoxAndTheRecordStays)
{
    openWith(3);
    makeGrid();
    table->Edit();
    field("Autor")->setAsString(QString());
    key(Qt::Key_Down);
    EXPECT_EQ(errors.messages(), QStringList{QStringLiteral("Field 'Autor' must have a value")});
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(title(), QStringLiteral("T1"));
}

}  // namespace
