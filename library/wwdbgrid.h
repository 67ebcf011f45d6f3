#pragma once
// The texts grid: a read-only grid over a data source, one row per record and
// one column per field of its column list, the current record marked in the
// indicator column.
//
// It shows the table's row window (BufferRows) and sizes that window to the
// rows it has room for, so it never reads more of the table than it shows.
// It follows the table's current record and moves it on clicks, the wheel,
// the scroll bar and navigation keys; it never writes a field.
//
// The column list (Selected) has one line per column: field name, width in
// characters and title, separated by tabs. It is applied at every opening of
// the table; lines naming no field are skipped. Columns moved or resized by
// dragging keep their place and width until the grid goes.

#include "library/wwgriddatalink.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QStringList>

#include <vector>

class TField;
class TwwDataSource;
class TwwTable;

class TwwDBGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TwwDBGrid(QWidget* parent = nullptr);

    TwwDataSource* DataSource() const { return m_link.DataSource(); }
    void setDataSource(TwwDataSource* source);
    TwwTable* DataSet() const { return m_link.DataSet(); }

    QStringList Selected() const { return m_selected; }
    void setSelected(const QStringList& lines);

    bool ReadOnly() const { return true; }
    QColor TitleColor() const { return m_titleColor; }
    void setTitleColor(const QColor& colour);
    QFont TitleFont() const { return m_titleFont; }
    void setTitleFont(const QFont& font);
    int TitleLines() const { return m_titleLines; }
    void setTitleLines(int lines);

    // The columns as laid out: their fields, titles and widths in pixels.
    int columnCount() const { return int(m_columns.size()); }
    TField* columnField(int column) const;
    QString columnTitle(int column) const;
    int columnWidth(int column) const;
    int selectedColumn() const { return m_selectedColumn; }
    void setSelectedColumn(int column);
    int leftColumn() const { return m_leftColumn; }

    // Measures, in pixels.
    static constexpr int IndicatorWidth = 11;
    int rowHeight() const;
    int titleHeight() const;
    // Data rows there is room for (at least one).
    int visibleRows() const;
    // The rectangle of a data cell in the viewport (row within the window).
    QRect cellRect(int row, int column) const;
    // The text a data cell shows ("(Memo)" for a memo column).
    QString cellText(int row, int column) const;

    // The marker the indicator of the current row shows.
    enum class Marker { None, Browse, Edit, Insert };
    Marker currentMarker() const;

    // Opens the view-only memo dialog on the current record's field of the
    // column, when that is a memo field.
    void ShowMemo(int column);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Column {
        QPointer<TField> field;
        QString title;
        int width = 0;
    };
    struct Hit {
        int row = -1;     // data row in the window; -1 for the title row or below the rows
        int column = -1;  // -1 for the indicator column or right of the columns
        bool title = false;
        int edge = -1;    // the column whose right edge the point is on
    };

    void stateChanged();
    void dataChanged();
    void applyColumns();
    void updateBufferCount();
    void syncScrollBars();
    void verticalAction(int action);
    // MoveBy on the table, keeping the thumb's row number without counting.
    int moveBy(int distance);
    void ensureColumnVisible();
    bool isMemoColumn(int column) const;
    Hit hitTest(QPoint at) const;
    int columnLeft(int column) const;

    // Keys.
    bool unchanged() const;
    bool newRowAtEnd() const;
    void keyUp();
    void keyDown();
    void keyTab(bool back);
    void keyEscape();
    void appendRow();

    void paintTitleRow(QPainter& painter);
    void paintRow(QPainter& painter, int row, const QRect& area);
    void paintMarker(QPainter& painter, const QRect& cell, Marker marker);

    TwwGridDataLink m_link;
    QStringList m_selected;
    std::vector<Column> m_columns;
    int m_selectedColumn = 0;
    int m_leftColumn = 0;
    QColor m_titleColor{0, 0, 160};
    QFont m_titleFont;
    int m_titleLines = 1;
    bool m_appended = false;  // the grid appended the row being inserted
    bool m_syncing = false;
    int m_wheelRest = 0;

    // The thumb: the current row's number, carried along by moves within the
    // row window rather than counted again at every move.
    qint64 m_knownRecNo = -1;
    qint64 m_knownCount = -1;
    std::vector<qint64> m_knownIds;
    int m_knownActive = -1;
    bool m_ownMove = false;     // inside moveBy
    bool m_trustKnown = false;  // m_knownRecNo was set by moveBy

    // Dragging in the title row.
    enum class Drag { None, Pending, Resize, Move };
    Drag m_drag = Drag::None;
    int m_dragColumn = -1;
    QPoint m_dragStart;
};
