// What the grid shows and how the mouse drives it: the columns and their
// measures, "(Memo)", the indicator following the table's state, the focus
// highlight, clicks, the wheel, column dragging, the scroll bars, the memo
// dialog, and reading only the rows it shows.
#include "library/dataset/wwdbedit.h"
#include "library/wwmemodialog.h"
#include "tests/library/gridfixture.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <gmock/gmock.h>

#include <functional>

namespace {

class GridView : public GridFixture {
protected:
    // Runs `inspect` on the memo dialog that the action opens, then closes it
    // if `inspect` did not. Fails when no dialog opens.
    void withModal(const std::function<void()>& action, const std::function<void(TwwMemoDialog*)>& inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TwwMemoDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            inspect(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        action();
        QApplication::processEvents();
        EXPECT_TRUE(seen) << "no memo dialog opened";
    }
    QColor pixel(int row, int column)
    {
        const QImage image = grid->viewport()->grab().toImage();
        const QRect cell = grid->cellRect(row, column);
        return image.pixelColor(cell.right() - 3, cell.top() + 2);
    }
};

TEST_F(GridView, ColumnsComeFromTheListWithDigitWidthsWidenedToTheirTitles)
{
    openWith(2);
    makeGrid();
    ASSERT_EQ(grid->columnCount(), 5);
    const int digit = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char('0'));
    const int widths[] = {50, 40, 25, 70, 10};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(grid->columnWidth(c), widths[c] * digit + 4) << c;
    EXPECT_EQ(grid->columnTitle(3), QStringLiteral("PrimeiraLinha"));

    table->Close();
    grid->setSelected({QStringLiteral("Texto\t1\tO texto inteiro"), QStringLiteral("Nenhum\t5\tSkipped"),
                       QStringLiteral("Autor\t3\tAutor")});
    table->Open();  // the list applies at every opening
    ASSERT_EQ(grid->columnCount(), 2);
    EXPECT_EQ(grid->columnField(0), field("Texto"));
    EXPECT_EQ(grid->columnWidth(0), QFontMetrics(grid->TitleFont()).horizontalAdvance(QStringLiteral("O texto inteiro")) + 4);
    EXPECT_GT(grid->columnWidth(0), digit + 4);
    EXPECT_EQ(field("Autor")->DisplayWidth(), 3);
}

TEST_F(GridView, MemoCellsShowTheirPlaceholderAndAnEmptyTableShowsNothing)
{
    openWith(2);
    makeGrid();
    EXPECT_EQ(grid->cellText(0, 0), QStringLiteral("T1"));
    EXPECT_EQ(grid->cellText(1, 3), QStringLiteral("L2"));
    EXPECT_EQ(grid->cellText(0, 4), QStringLiteral("(Memo)"));
    EXPECT_EQ(grid->cellText(1, 4), QStringLiteral("(Memo)"));
    table->First();
    table->Delete();
    table->Delete();
    EXPECT_EQ(grid->cellText(0, 4), QString());
    EXPECT_EQ(grid->cellText(0, 0), QString());
    EXPECT_EQ(grid->currentMarker(), TwwDBGrid::Marker::None);
}

TEST_F(GridView, TheIndicatorFollowsTheTablesState)
{
    openWith(3);
    makeGrid();
    auto* edit = new TwwDBEdit(&window);
    edit->setDataSource(source);
    edit->setDataField(QStringLiteral("Titulo"));
    edit->show();
    EXPECT_EQ(grid->currentMarker(), TwwDBGrid::Marker::Browse);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(grid->currentMarker(), TwwDBGrid::Marker::Edit);
    table->Post();
    EXPECT_EQ(grid->currentMarker(), TwwDBGrid::Marker::Browse);
    table->Insert();
    EXPECT_EQ(grid->currentMarker(), TwwDBGrid::Marker::Insert);
    table->Cancel();
    EXPECT_EQ(grid->currentMarker(), TwwDBGrid::Marker::Browse);
}

TEST_F(GridView, OnlyTheFocusedGridHighlightsTheSelectedCell)
{
    openWith(3);
    makeGrid();
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    const QColor base = grid->palette().color(QPalette::Base);
    ASSERT_NE(highlight, base);
    EXPECT_EQ(pixel(0, 0), highlight);
    EXPECT_EQ(pixel(1, 0), base);
    auto* other = new QLineEdit(&window);
    other->show();
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(pixel(0, 0), base);
    EXPECT_EQ(grid->currentMarker(), TwwDBGrid::Marker::Browse);
}

TEST_F(GridView, AClickMakesItsRecordAndColumnCurrentAndTheWheelMovesOneRecordANotch)
{
    openWith(10);
    makeGrid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(3, 1));
    EXPECT_EQ(table->RecNo(), 4);
    EXPECT_EQ(grid->selectedColumn(), 1);
    // A click on a title changes nothing.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(grid->cellRect(0, 0).center().x(), 3));
    EXPECT_EQ(table->RecNo(), 4);
    EXPECT_EQ(grid->selectedColumn(), 1);

    const QPoint at = cellCentre(0, 0);
    QWheelEvent down(at, grid->viewport()->mapToGlobal(at), {}, {0, -240}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &down);
    EXPECT_EQ(table->RecNo(), 6);
    QWheelEvent up(at, grid->viewport()->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &up);
    EXPECT_EQ(table->RecNo(), 5);
}

TEST_F(GridView, DraggingTitlesResizesAndMovesColumns)
{
    openWith(2);
    makeGrid();
    QWidget* vp = grid->viewport();
    const int edge = grid->cellRect(0, 0).right() + 1;
    const int y = grid->titleHeight() / 2;
    QTest::mousePress(vp, Qt::LeftButton, {}, {edge, y});
    QTest::mouseMove(vp, {edge - 200, y});
    QTest::mouseRelease(vp, Qt::LeftButton, {}, {edge - 200, y});
    EXPECT_EQ(grid->columnWidth(0), edge - 200 - TwwDBGrid::IndicatorWidth);
    EXPECT_EQ(table->RecNo(), 1);

    // Drag the author's title onto the title's column.
    const QPoint from(grid->cellRect(0, 1).center().x(), y);
    const QPoint to(grid->cellRect(0, 0).center().x(), y);
    QTest::mousePress(vp, Qt::LeftButton, {}, from);
    QTest::mouseMove(vp, from - QPoint(10, 0));
    QTest::mouseMove(vp, to);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, to);
    EXPECT_EQ(grid->columnField(0), field("Autor"));
    EXPECT_EQ(grid->columnField(1), field("Titulo"));
    EXPECT_EQ(grid->cellText(0, 0), QStringLiteral("A1"));
}

TEST_F(GridView, TheVerticalBarPlacesRowsByNumberWhileNoFilterIsSet)
{
    openWith(50);
    makeGrid();
    QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 49);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(table->RecNo(), 2);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(table->RecNo(), 2 + grid->visibleRows());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(table->RecNo(), 50);
    EXPECT_EQ(bar->value(), 49);
    bar->setSliderDown(true);
    bar->setSliderPosition(29);  // the thumb dragged to row 30
    bar->setSliderDown(false);
    EXPECT_EQ(table->RecNo(), 30);
    EXPECT_EQ(bar->value(), 29);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(bar->value(), 31);  // carried along by the moves

    table->setOnFilterRecord([](TwwTable* t, bool& accept) {
        accept = t->FieldByName(QStringLiteral("Autor"))->AsString().endsWith(QLatin1Char('0'));
    });
    table->setFiltered(true);
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(title(), QStringLiteral("T50"));
    EXPECT_EQ(bar->value(), 2);
}

TEST_F(GridView, TheGridReadsOnlyTheRowsItShows)
{
    openWith(500);
    makeGrid();
    EXPECT_EQ(table->BufferCount(), grid->visibleRows());
    EXPECT_LE(int(table->BufferRows().size()), grid->visibleRows());
    grid->resize(332, 200);
    QApplication::processEvents();
    EXPECT_EQ(table->BufferCount(), grid->visibleRows());
}

TEST_F(GridView, DoubleClickOnTheTextOpensTheViewOnlyMemoDialog)
{
    openWith(3, "{\\rtf1\\ansi Ode \\b bold\\b0}");
    makeGrid();
    // On another column, nothing opens.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(1, 0));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(table->RecNo(), 2);

    grid->setSelectedColumn(4);
    withModal([&] { QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(2, 4).center()); },
              [&](TwwMemoDialog* dialog) {
                  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Texto"));
                  EXPECT_EQ(dialog->memo()->toPlainText(), QStringLiteral("{\\rtf1\\ansi Ode \\b bold\\b0}"));
                  EXPECT_TRUE(dialog->memo()->isReadOnly());
                  EXPECT_EQ(dialog->okButton()->text(), QStringLiteral("&OK"));
                  EXPECT_EQ(dialog->size(), QSize(561, 395));
                  EXPECT_EQ(dialog->memo()->pos(), QPoint(6, 6));
                  const QRect memo = dialog->memo()->geometry();
                  const QRect ok = dialog->okButton()->geometry();
                  EXPECT_EQ(ok.top() - memo.bottom() - 1, 17);
                  EXPECT_LE(std::abs(ok.left() + ok.right() + 1 - dialog->width()), 1);  // centred
                  dialog->resize(700, 500);
                  EXPECT_EQ(dialog->memo()->width(), 700 - 12);
              });
    EXPECT_EQ(table->RecNo(), 3);
    EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(GridView, AMemoInAnOlderCodePageShowsOneCharacterAByte)
{
    openWith(1, "{\\rtf1 Can\xE7\xE3o}");  // Latin-1 bytes, not UTF-8
    makeGrid();
    grid->setSelectedColumn(4);
    withModal([&] { key(Qt::Key_F2); },
              [&](TwwMemoDialog* dialog) {
                  EXPECT_EQ(dialog->memo()->toPlainText(), QString::fromUtf8("{\\rtf1 Canção}"));
              });
}

TEST_F(GridView, TheMemoDialogClosesOnEscF2AndCtrlEnter)
{
    openWith(1);
    makeGrid();
    grid->setSelectedColumn(4);
    struct Close {
        int key;
        Qt::KeyboardModifiers mods;
    };
    for (const Close& c : {Close{Qt::Key_Escape, {}}, Close{Qt::Key_F2, {}}, Close{Qt::Key_Return, Qt::ControlModifier}}) {
        bool closed = false;
        withModal([&] { key(Qt::Key_F2); },
                  [&](TwwMemoDialog* dialog) {
                      QTest::keyClick(dialog->memo(), Qt::Key(c.key), c.mods);
                      closed = !dialog->isVisible();
                  });
        EXPECT_TRUE(closed) << c.key;
    }
    EXPECT_EQ(table->State(), dsBrowse);
}

}  // namespace
