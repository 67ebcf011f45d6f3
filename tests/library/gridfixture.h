#pragma once
// The register window's grid over a texts table: its five columns, its size,
// shown in a window of its own.
#include "library/textstable.h"
#include "library/wwdbgrid.h"
#include "tests/library/textsfixture.h"

#include <QTest>

class GridFixture : public TextsFixture {
protected:
    void makeGrid()
    {
        grid = new TwwDBGrid(&window);
        grid->setObjectName(QStringLiteral("wwDBGrid1"));
        grid->setGeometry(13, 192, 332, 353);
        grid->setSelected(TextsTable::gridColumns());
        grid->setDataSource(source);
        window.resize(400, 600);
        window.show();
        grid->setFocus();
        QApplication::processEvents();
    }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(grid, Qt::Key(k), m); }
    QPoint cellCentre(int row, int column) const { return grid->cellRect(row, column).center(); }

    TwwDBGrid* grid = nullptr;
};
