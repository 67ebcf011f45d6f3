#include "library/wwdbgrid.h"

#include "library/dataset/field.h"
#include "library/dataset/memofield.h"
#include "library/dataset/wwtable.h"
#include "library/wwintl.h"
#include "library/wwmemodialog.h"
#include "platform/ui/guard.h"
#include "platform/ui/messagedlg.h"
#include "platform/ui/modal.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr int ResizeGrip = 3;    // pixels either side of a title's edge
constexpr int DragThreshold = 4;
constexpr int MinColumnWidth = 4;
const QColor Silver(192, 192, 192);

}  // namespace

TwwDBGrid::TwwDBGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    m_titleFont = QFont(QStringLiteral("MS Sans Serif"), 8);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setMouseTracking(true);

    m_link.OnStateChange = [this] { stateChanged(); };
    m_link.OnDataChange = [this] { dataChanged(); };
    m_link.OnFieldChange = [this](TField*) { viewport()->update(); };

    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { guarded([&] { verticalAction(action); }); });
    connect(horizontalScrollBar(), &QAbstractSlider::valueChanged, this, [this](int value) {
        if (m_syncing)
            return;
        m_leftColumn = std::clamp(value, 0, std::max(0, columnCount() - 1));
        viewport()->update();
    });
}

void TwwDBGrid::setDataSource(TwwDataSource* source)
{
    m_link.setDataSource(source);
    applyColumns();
}

void TwwDBGrid::setSelected(const QStringList& lines)
{
    m_selected = lines;
    applyColumns();
}

void TwwDBGrid::setTitleColor(const QColor& colour)
{
    m_titleColor = colour;
    viewport()->update();
}

void TwwDBGrid::setTitleFont(const QFont& font)
{
    m_titleFont = font;
    applyColumns();
}

void TwwDBGrid::setTitleLines(int lines)
{
    m_titleLines = std::max(1, lines);
    updateBufferCount();
    viewport()->update();
}

TField* TwwDBGrid::columnField(int column) const
{
    return column >= 0 && column < columnCount() ? m_columns[std::size_t(column)].field.data() : nullptr;
}

QString TwwDBGrid::columnTitle(int column) const
{
    return column >= 0 && column < columnCount() ? m_columns[std::size_t(column)].title : QString();
}

int TwwDBGrid::columnWidth(int column) const
{
    return column >= 0 && column < columnCount() ? m_columns[std::size_t(column)].width : 0;
}

void TwwDBGrid::setSelectedColumn(int column)
{
    if (columnCount() == 0)
        return;
    m_selectedColumn = std::clamp(column, 0, columnCount() - 1);
    ensureColumnVisible();
    viewport()->update();
}

// ---- measures

int TwwDBGrid::rowHeight() const { return QFontMetrics(font()).height() + 3; }

int TwwDBGrid::titleHeight() const { return QFontMetrics(m_titleFont).height() * m_titleLines + 4; }

int TwwDBGrid::visibleRows() const { return std::max(1, (viewport()->height() - titleHeight()) / rowHeight()); }

int TwwDBGrid::columnLeft(int column) const
{
    int x = IndicatorWidth;
    for (int c = m_leftColumn; c < column && c < columnCount(); ++c)
        x += m_columns[std::size_t(c)].width;
    return x;
}

QRect TwwDBGrid::cellRect(int row, int column) const
{
    if (column < m_leftColumn || column >= columnCount())
        return {};
    return QRect(columnLeft(column), titleHeight() + row * rowHeight(), m_columns[std::size_t(column)].width,
                 rowHeight());
}

bool TwwDBGrid::isMemoColumn(int column) const
{
    TField* field = columnField(column);
    return field && field->DataType() == storage::FieldType::Memo;
}

QString TwwDBGrid::cellText(int row, int column) const
{
    TwwTable* table = DataSet();
    TField* field = columnField(column);
    if (!table || !table->Active() || !field || table->IsEmpty())
        return {};
    const std::vector<storage::Row>& rows = table->BufferRows();
    if (row < 0 || row >= int(rows.size()))
        return {};
    if (isMemoColumn(column))
        return TwwIntl::instance().Grid.MemoPlaceholder;
    const std::size_t index = std::size_t(field->FieldNo() - 1);
    const storage::Value& value = index < rows[std::size_t(row)].values.size() ? rows[std::size_t(row)].values[index]
                                                                               : storage::Value();
    return value ? QString::fromStdString(*value) : QString();
}

TwwDBGrid::Marker TwwDBGrid::currentMarker() const
{
    TwwTable* table = DataSet();
    if (!table || !table->Active())
        return Marker::None;
    switch (table->State()) {
    case dsEdit: return Marker::Edit;
    case dsInsert: return Marker::Insert;
    case dsBrowse: return table->IsEmpty() ? Marker::None : Marker::Browse;
    case dsInactive: break;
    }
    return Marker::None;
}

// ---- following the table

void TwwDBGrid::stateChanged()
{
    TwwTable* table = DataSet();
    const bool active = table && table->Active();
    if (active && m_columns.empty())
        applyColumns();  // just opened
    if (!active) {
        m_columns.clear();
        m_knownRecNo = -1;
    }
    if (!table || table->State() != dsInsert)
        m_appended = false;
    viewport()->update();
}

void TwwDBGrid::dataChanged()
{
    // A move of the grid's own places the thumb itself once it knows how far
    // the cursor went.
    if (!m_ownMove)
        syncScrollBars();
    viewport()->update();
}

int TwwDBGrid::moveBy(int distance)
{
    TwwTable* table = DataSet();
    const bool known = table->State() == dsBrowse && table->IsSequenced() && m_knownRecNo > 0;
    const qint64 before = m_knownRecNo;
    const qint64 count = m_knownCount;
    int moved = 0;
    m_ownMove = true;
    try {
        moved = table->MoveBy(distance);
    } catch (...) {
        m_ownMove = false;
        syncScrollBars();
        throw;
    }
    m_ownMove = false;
    // From browse nothing was stored on the way, so the rows are numbered as
    // before and the number moves by the rows moved.
    if (known && table->State() == dsBrowse && table->RecordCount() == count) {
        m_knownRecNo = before + moved;
        m_trustKnown = true;
    }
    syncScrollBars();
    return moved;
}

void TwwDBGrid::applyColumns()
{
    m_columns.clear();
    TwwTable* table = DataSet();
    if (!table || !table->Active()) {
        viewport()->update();
        return;
    }
    // Only the listed fields are shown, in the list's order.
    const QFontMetrics data(font());
    const QFontMetrics title(m_titleFont);
    for (const QString& line : m_selected) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        TField* field = table->FindField(parts.value(0));
        if (!field)
            continue;
        bool ok = false;
        const int characters = parts.value(1).toInt(&ok);
        if (ok && characters > 0)
            field->setDisplayWidth(characters);
        Column column;
        column.field = field;
        column.title = parts.size() > 2 ? parts[2] : field->FieldName();
        column.width = std::max(field->DisplayWidth() * data.horizontalAdvance(QLatin1Char('0')) + 4,
                                title.horizontalAdvance(column.title) + 4);
        m_columns.push_back(column);
    }
    m_selectedColumn = std::clamp(m_selectedColumn, 0, std::max(0, columnCount() - 1));
    m_leftColumn = std::clamp(m_leftColumn, 0, std::max(0, columnCount() - 1));
    updateBufferCount();
    syncScrollBars();
    viewport()->update();
}

void TwwDBGrid::updateBufferCount()
{
    TwwTable* table = DataSet();
    if (table && table->Active() && table->BufferCount() != visibleRows())
        guarded([&] { table->setBufferCount(visibleRows()); });
}

void TwwDBGrid::syncScrollBars()
{
    m_syncing = true;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, columnCount() - 1));
    h->setPageStep(1);
    h->setValue(m_leftColumn);

    QScrollBar* v = verticalScrollBar();
    TwwTable* table = DataSet();
    if (!table || !table->Active() || table->IsEmpty()) {
        v->setRange(0, 0);
        m_knownRecNo = -1;
    } else if (!table->IsSequenced()) {
        // Without row numbers the thumb only tells the ends from the middle.
        v->setRange(0, 2);
        v->setPageStep(1);
        v->setValue(table->Bof() ? 0 : table->Eof() ? 2 : 1);
        m_knownRecNo = -1;
    } else if (table->State() != dsInsert) {
        const std::vector<storage::Row>& rows = table->BufferRows();
        const int active = table->ActiveRecord();
        const qint64 count = table->RecordCount();
        qint64 recNo = -1;
        // A move within the window carries the number along; anything else
        // (a jump, rows added or deleted) counts it again.
        if (m_trustKnown) {
            recNo = m_knownRecNo;
        } else if (m_knownRecNo > 0 && count == m_knownCount && active < int(rows.size()) && m_knownActive >= 0 &&
                   m_knownActive < int(m_knownIds.size())) {
            for (int i = 0; i < int(m_knownIds.size()) && recNo < 0; ++i)
                if (m_knownIds[std::size_t(i)] == rows[std::size_t(active)].id)
                    recNo = m_knownRecNo + (i - m_knownActive);
            for (int i = 0; i < int(rows.size()) && recNo < 0; ++i)
                if (rows[std::size_t(i)].id == m_knownIds[std::size_t(m_knownActive)])
                    recNo = m_knownRecNo + (active - i);
        }
        m_trustKnown = false;
        if (recNo < 0)
            recNo = table->RecNo();
        m_knownRecNo = recNo;
        m_knownCount = count;
        m_knownActive = active;
        m_knownIds.clear();
        for (const storage::Row& row : rows)
            m_knownIds.push_back(row.id);
        const int maximum = int(std::min<qint64>(std::max<qint64>(count - 1, 0), INT_MAX));
        v->setRange(0, maximum);
        v->setPageStep(visibleRows());
        v->setValue(int(std::clamp<qint64>(recNo - 1, 0, maximum)));
    }
    m_syncing = false;
}

void TwwDBGrid::verticalAction(int action)
{
    TwwTable* table = DataSet();
    if (!table || !table->Active()) {
        syncScrollBars();
        return;
    }
    QScrollBar* v = verticalScrollBar();
    const int position = v->sliderPosition();
    // The bar shows where the table is; put it back before moving, so a
    // failing move leaves it right.
    syncScrollBars();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: moveBy(1); break;
    case QAbstractSlider::SliderSingleStepSub: moveBy(-1); break;
    case QAbstractSlider::SliderPageStepAdd: moveBy(visibleRows()); break;
    case QAbstractSlider::SliderPageStepSub: moveBy(-visibleRows()); break;
    case QAbstractSlider::SliderToMinimum: table->First(); break;
    case QAbstractSlider::SliderToMaximum: table->Last(); break;
    case QAbstractSlider::SliderMove:
        if (table->IsSequenced())
            table->setRecNo(qint64(position) + 1);
        else if (position <= v->minimum())
            table->First();
        else if (position >= v->maximum())
            table->Last();
        break;
    default: break;
    }
    syncScrollBars();
}

void TwwDBGrid::ensureColumnVisible()
{
    if (m_selectedColumn < m_leftColumn)
        m_leftColumn = m_selectedColumn;
    while (m_leftColumn < m_selectedColumn &&
           columnLeft(m_selectedColumn) + columnWidth(m_selectedColumn) > viewport()->width())
        ++m_leftColumn;
    syncScrollBars();
}

void TwwDBGrid::scrollContentsBy(int, int)
{
    // The rows follow the table, not the bar's pixels.
    viewport()->update();
}

void TwwDBGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateBufferCount();
    syncScrollBars();
}

void TwwDBGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TwwDBGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- keys

bool TwwDBGrid::event(QEvent* event)
{
    // Tab moves between cells instead of leaving the grid; a grid with no
    // open table lets it move the focus on.
    TwwTable* table = DataSet();
    if (event->type() == QEvent::KeyPress && table && table->Active() && columnCount() > 0) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !key->modifiers().testFlag(Qt::ControlModifier) && !key->modifiers().testFlag(Qt::AltModifier)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TwwDBGrid::unchanged() const
{
    TwwTable* table = DataSet();
    // What the other controls hold counts as a change too.
    if (table->State() == dsEdit || table->State() == dsInsert)
        table->UpdateRecord();
    return !table->Modified();
}

bool TwwDBGrid::newRowAtEnd() const
{
    TwwTable* table = DataSet();
    if (table->State() != dsInsert)
        return false;
    if (m_appended)
        return true;
    // A window with room to spare that ends with the new row holds the end of
    // the table.
    const std::vector<storage::Row>& rows = table->BufferRows();
    return table->ActiveRecord() == int(rows.size()) - 1 && int(rows.size()) < table->BufferCount();
}

void TwwDBGrid::appendRow()
{
    TwwTable* table = DataSet();
    if (!table->CanModify())
        return;  // a read-only table has nothing to append to
    m_appended = true;
    try {
        table->Append();
    } catch (...) {
        m_appended = false;
        throw;
    }
    if (table->State() != dsInsert)
        m_appended = false;
}

void TwwDBGrid::keyUp()
{
    TwwTable* table = DataSet();
    if (table->State() == dsInsert && unchanged() && newRowAtEnd()) {
        table->Cancel();
        return;
    }
    moveBy(-1);
}

void TwwDBGrid::keyDown()
{
    TwwTable* table = DataSet();
    if (table->State() == dsInsert && unchanged()) {
        if (!newRowAtEnd())
            table->Cancel();
        return;
    }
    if (moveBy(1) == 0 && table->Eof() && table->State() == dsBrowse)
        appendRow();
}

void TwwDBGrid::keyTab(bool back)
{
    if (columnCount() == 0)
        return;
    if (back ? m_selectedColumn > 0 : m_selectedColumn < columnCount() - 1) {
        setSelectedColumn(m_selectedColumn + (back ? -1 : 1));
        return;
    }
    // Past the edge of the row: on to the next (previous) record, whose first
    // (last) column is then selected; at the end of the table Tab appends.
    TwwTable* table = DataSet();
    const TBookmark before = table->GetBookmark();
    const TDataSetState state = table->State();
    if (back)
        keyUp();
    else
        keyDown();
    if (table->State() != state || !(table->GetBookmark() == before))
        setSelectedColumn(back ? columnCount() - 1 : 0);
}

void TwwDBGrid::keyEscape()
{
    TwwTable* table = DataSet();
    if (table->State() != dsEdit && table->State() != dsInsert)
        return;
    if (unchanged()) {
        table->Cancel();
        return;
    }
    if (messageDlg(TwwIntl::instance().Grid.ConfirmCancelEdit, MsgDlgType::mtConfirmation, mbYes | mbNo, QString(),
                   window()) == mrYes)
        table->Cancel();
}

void TwwDBGrid::keyPressEvent(QKeyEvent* event)
{
    guarded([&] {
        TwwTable* table = DataSet();
        if (!table || !table->Active())
            return;
        const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
        const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
        const int rows = int(table->BufferRows().size());
        const int active = table->ActiveRecord();
        switch (event->key()) {
        case Qt::Key_Up:
            if (ctrl) {
                if (active > 0)
                    moveBy(-active);
            } else {
                keyUp();
            }
            break;
        case Qt::Key_Down:
            if (ctrl) {
                if (active < rows - 1)
                    moveBy(rows - 1 - active);
            } else {
                keyDown();
            }
            break;
        case Qt::Key_Left:
            setSelectedColumn(ctrl ? 0 : m_selectedColumn - 1);
            break;
        case Qt::Key_Right:
            setSelectedColumn(ctrl ? columnCount() - 1 : m_selectedColumn + 1);
            break;
        case Qt::Key_Home:
            if (ctrl)
                table->First();
            else
                setSelectedColumn(0);
            break;
        case Qt::Key_End:
            if (ctrl)
                table->Last();
            else
                setSelectedColumn(columnCount() - 1);
            break;
        case Qt::Key_PageUp:
            if (ctrl) {
                if (active > 0)
                    moveBy(-active);
            } else {
                moveBy(-visibleRows());
            }
            break;
        case Qt::Key_PageDown:
            if (ctrl) {
                if (active < rows - 1)
                    moveBy(rows - 1 - active);
            } else {
                moveBy(visibleRows());
            }
            break;
        case Qt::Key_Tab: keyTab(shift); break;
        case Qt::Key_Backtab: keyTab(true); break;
        case Qt::Key_Escape: keyEscape(); break;
        case Qt::Key_F2:
            if (isMemoColumn(m_selectedColumn))
                ShowMemo(m_selectedColumn);
            break;
        default:
            // Insert, Delete, Enter and typed characters do nothing: the grid
            // is read-only.
            break;
        }
    });
    event->accept();
}

// ---- mouse

TwwDBGrid::Hit TwwDBGrid::hitTest(QPoint at) const
{
    Hit hit;
    hit.title = at.y() < titleHeight();
    if (!hit.title) {
        const int row = (at.y() - titleHeight()) / rowHeight();
        TwwTable* table = DataSet();
        const int rows = table && table->Active() ? int(table->BufferRows().size()) : 0;
        hit.row = row < rows ? row : -1;
    }
    int x = IndicatorWidth;
    for (int c = m_leftColumn; c < columnCount(); ++c) {
        const int right = x + m_columns[std::size_t(c)].width;
        if (std::abs(at.x() - right) <= ResizeGrip)
            hit.edge = c;
        if (at.x() >= x && at.x() < right)
            hit.column = c;
        x = right;
    }
    return hit;
}

void TwwDBGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const Hit hit = hitTest(event->position().toPoint());
    if (hit.title) {
        m_dragStart = event->position().toPoint();
        if (hit.edge >= 0) {
            m_drag = Drag::Resize;
            m_dragColumn = hit.edge;
        } else if (hit.column >= 0) {
            m_drag = Drag::Pending;
            m_dragColumn = hit.column;
        }
        return;
    }
    if (hit.row < 0 || hit.column < 0)
        return;
    guarded([&] {
        TwwTable* table = DataSet();
        setSelectedColumn(hit.column);
        const int distance = hit.row - table->ActiveRecord();
        if (distance != 0)
            moveBy(distance);
    });
}

void TwwDBGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_drag == Drag::None) {
        const Hit hit = hitTest(at);
        viewport()->setCursor(hit.title && hit.edge >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        return;
    }
    if (m_drag == Drag::Resize) {
        Column& column = m_columns[std::size_t(m_dragColumn)];
        column.width = std::max(MinColumnWidth, at.x() - columnLeft(m_dragColumn));
        viewport()->update();
        return;
    }
    if (m_drag == Drag::Pending && (at - m_dragStart).manhattanLength() >= DragThreshold)
        m_drag = Drag::Move;
}

void TwwDBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag == Drag::Move) {
        const Hit hit = hitTest(event->position().toPoint());
        int target = hit.column;
        if (target < 0)
            target = event->position().x() < IndicatorWidth ? m_leftColumn : columnCount() - 1;
        if (target != m_dragColumn) {
            const Column moved = m_columns[std::size_t(m_dragColumn)];
            TField* selected = columnField(m_selectedColumn);
            m_columns.erase(m_columns.begin() + m_dragColumn);
            m_columns.insert(m_columns.begin() + target, moved);
            for (int c = 0; c < columnCount(); ++c)
                if (columnField(c) == selected)
                    m_selectedColumn = c;
        }
        viewport()->update();
    }
    m_drag = Drag::None;
    m_dragColumn = -1;
}

void TwwDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like the first.
    mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_drag = Drag::None;
    const Hit hit = hitTest(event->position().toPoint());
    if (!hit.title && hit.row >= 0 && isMemoColumn(hit.column))
        guarded([&] { ShowMemo(hit.column); });
}

void TwwDBGrid::wheelEvent(QWheelEvent* event)
{
    m_wheelRest += event->angleDelta().y();
    guarded([&] {
        TwwTable* table = DataSet();
        while (std::abs(m_wheelRest) >= 120) {
            const bool down = m_wheelRest < 0;
            m_wheelRest += down ? 120 : -120;
            if (table && table->Active())
                moveBy(down ? 1 : -1);
        }
    });
    event->accept();
}

// ---- the memo dialog

void TwwDBGrid::ShowMemo(int column)
{
    TwwTable* table = DataSet();
    TField* field = columnField(column);
    if (!table || !table->Active() || table->IsEmpty() || !field || !isMemoColumn(column))
        return;
    // The stored bytes as they are: rich text shows its markup. Bytes that are
    // not UTF-8 (an older file's code page) are shown one character a byte
    // rather than as replacement marks.
    const QByteArray bytes = static_cast<TMemoField*>(field)->AsBytes();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    auto* dialog = new TwwMemoDialog(columnTitle(column), text, font(), this);
    dialog->setObjectName(QStringLiteral("MemoDialog"));
    showModalAndRelease(dialog);
    viewport()->update();
}

// ---- painting

void TwwDBGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    paintTitleRow(painter);
    TwwTable* table = DataSet();
    const int rows = table && table->Active() ? int(table->BufferRows().size()) : 0;
    // An empty table shows one blank row.
    for (int row = 0; row < std::max(rows, 1); ++row)
        paintRow(painter, row, viewport()->rect());
}

void TwwDBGrid::paintTitleRow(QPainter& painter)
{
    const int h = titleHeight();
    auto bevel = [&](const QRect& r) {
        painter.fillRect(r, m_titleColor);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    bevel(QRect(0, 0, IndicatorWidth, h));
    painter.setFont(m_titleFont);
    int x = IndicatorWidth;
    for (int c = m_leftColumn; c < columnCount() && x < viewport()->width(); ++c) {
        const QRect r(x, 0, m_columns[std::size_t(c)].width, h);
        bevel(r);
        painter.setPen(Qt::white);
        painter.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextSingleLine, m_columns[std::size_t(c)].title);
        x += r.width();
    }
}

void TwwDBGrid::paintRow(QPainter& painter, int row, const QRect& area)
{
    const int top = titleHeight() + row * rowHeight();
    if (top > area.bottom())
        return;
    TwwTable* table = DataSet();
    const bool current = table && table->Active() && row == table->ActiveRecord() && !table->IsEmpty();
    const QRect indicator(0, top, IndicatorWidth, rowHeight());
    painter.fillRect(indicator, m_titleColor);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(indicator.bottomLeft(), indicator.bottomRight());
    if (current)
        paintMarker(painter, indicator, currentMarker());

    painter.setFont(font());
    int x = IndicatorWidth;
    for (int c = m_leftColumn; c < columnCount() && x < area.right(); ++c) {
        const QRect cell(x, top, m_columns[std::size_t(c)].width, rowHeight());
        const bool highlighted = current && hasFocus() && c == m_selectedColumn;
        const QColor background = highlighted ? palette().color(QPalette::Highlight) : palette().color(QPalette::Base);
        painter.fillRect(cell, background);
        // Silver lines around white cells, 3-D lines elsewhere.
        if (background == Qt::white) {
            painter.setPen(Silver);
            painter.drawLine(cell.topRight(), cell.bottomRight());
            painter.drawLine(cell.bottomLeft(), cell.bottomRight());
        } else {
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawLine(cell.topRight(), cell.bottomRight());
            painter.drawLine(cell.bottomLeft(), cell.bottomRight());
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(cell.topLeft(), cell.topRight());
        }
        painter.setPen(highlighted ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::Text));
        painter.save();
        painter.setClipRect(cell.adjusted(0, 0, -1, -1));
        painter.drawText(cell.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         cellText(row, c));
        painter.restore();
        x += cell.width();
    }
}

void TwwDBGrid::paintMarker(QPainter& painter, const QRect& cell, Marker marker)
{
    const QPointF c = QRectF(cell).center();
    QPainterPath path;
    bool filled = false;
    switch (marker) {
    case Marker::Browse:
        // A small arrow head pointing at the row.
        path.moveTo(c + QPointF(-2, -4));
        path.lineTo(c + QPointF(2, 0));
        path.lineTo(c + QPointF(-2, 4));
        path.closeSubpath();
        filled = true;
        break;
    case Marker::Edit:
        // An I-beam: the row is being typed into.
        path.moveTo(c + QPointF(0, -4));
        path.lineTo(c + QPointF(0, 4));
        path.moveTo(c + QPointF(-2, -4));
        path.lineTo(c + QPointF(2, -4));
        path.moveTo(c + QPointF(-2, 4));
        path.lineTo(c + QPointF(2, 4));
        break;
    case Marker::Insert:
        // An asterisk: a new row.
        path.moveTo(c + QPointF(0, -3));
        path.lineTo(c + QPointF(0, 3));
        path.moveTo(c + QPointF(-3, -2));
        path.lineTo(c + QPointF(3, 2));
        path.moveTo(c + QPointF(-3, 2));
        path.lineTo(c + QPointF(3, -2));
        break;
    case Marker::None: return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The black marker gets a thin white rim: black alone hardly shows on the
    // dark title colour behind it.
    painter.strokePath(path, QPen(Qt::white, 3));
    if (filled)
        painter.fillPath(path, Qt::black);
    painter.strokePath(path, QPen(Qt::black, 1));
    painter.restore();
}
