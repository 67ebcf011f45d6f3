#include "library/dataset/wwtable.h"

#include "library/dataset/field.h"
#include "library/dataset/memofield.h"
#include "library/dataset/stringfield.h"
#include "library/dataset/wwdatasource.h"

#include <algorithm>

namespace {

// How many rows a filtered walk asks the engine for at a time.
constexpr int FilterChunk = 64;

QString typeName(storage::FieldType type) { return QString::fromUtf8(storage::fieldTypeName(type)); }

}  // namespace

TwwTable::TwwTable(QObject* parent) : QObject(parent) {}

TwwTable::~TwwTable()
{
    // Destroying the table drops a pending change without a notification:
    // the controls that would hear of it may already be gone.
    m_table.reset();
    m_state = dsInactive;
    for (const QPointer<TwwDataSource>& source : m_dataSources)
        if (source)
            source->m_dataSet = nullptr;
    for (TField* field : m_fields) {
        field->m_dataSet = nullptr;
        field->m_column = -1;
        if (m_dynamicFields)
            delete field;
    }
}

Exception TwwTable::error(const QString& message) const
{
    if (objectName().isEmpty())
        return Exception(message.toStdString());
    return Exception(QStringLiteral("%1: %2").arg(objectName(), message).toStdString());
}

// ---- settings

void TwwTable::checkInactive() const
{
    if (Active())
        throw error(QStringLiteral("Cannot perform this operation on an open dataset"));
}

void TwwTable::setDatabaseName(const QString& name)
{
    checkInactive();
    m_databaseName = name;
}

void TwwTable::setTableName(const QString& name)
{
    checkInactive();
    m_tableName = name;
}

void TwwTable::setReadOnly(bool readOnly)
{
    checkInactive();
    m_readOnly = readOnly;
}

void TwwTable::setExclusive(bool exclusive)
{
    checkInactive();
    m_exclusive = exclusive;
}

void TwwTable::setOnFilterRecord(TFilterRecordEvent filter)
{
    const bool wasActive = filterActive();
    m_onFilterRecord = std::move(filter);
    if (Active() && (wasActive || filterActive()))
        First();
}

void TwwTable::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    if (Active()) {
        CheckBrowseMode();
        m_filtered = filtered;
        try {
            First();
        } catch (...) {
            m_filtered = !filtered;
            throw;
        }
    } else {
        m_filtered = filtered;
    }
}

void TwwTable::setPictureMasks(const QStringList& masks)
{
    m_pictureMasks = masks;
    m_pictures.reset();
}

void TwwTable::setBufferCount(int count)
{
    m_bufferCount = std::max(1, count);
    if (Active() && m_state == dsBrowse) {
        resync(Anchor::Keep);
        notifyDataChanged();
    }
}

// ---- opening and closing

void TwwTable::setActive(bool active)
{
    if (active)
        Open();
    else
        Close();
}

void TwwTable::Open()
{
    if (Active())
        return;
    if (m_exclusive)
        throw error(QStringLiteral("The storage engine opens tables shared only; exclusive opening is not supported"));
    fire(BeforeOpen);
    storage::Engine& engine = storage::Engine::instance();
    const std::string database = m_databaseName.toStdString();
    const std::string table = m_tableName.toStdString();
    std::unique_ptr<storage::Table> opened;
    if (m_readOnly) {
        opened = engine.openTable(database, table, storage::OpenMode::ReadOnly);
    } else {
        try {
            opened = engine.openTable(database, table, storage::OpenMode::ReadWrite);
        } catch (const storage::EngineError& e) {
            if (e.code() != storage::code::TableReadOnly)
                throw;
            opened = engine.openTable(database, table, storage::OpenMode::ReadOnly);
        }
    }
    m_table = std::move(opened);
    try {
        bindFields();
        m_current.reset();
        setCurrent(firstVisible());
        m_bof = true;
        m_eof = !m_current;
    } catch (...) {
        unbindFields();
        m_table.reset();
        m_current.reset();
        throw;
    }
    resync(Anchor::Top);
    setState(dsBrowse);
    notifyDataChanged();
    fire(AfterOpen);
    if (m_current)
        fire(AfterScroll);
}

void TwwTable::bindFields()
{
    const storage::TableSchema& schema = m_table->schema();
    if (m_fields.empty()) {
        // No persistent fields: one per column, for this opening only.
        for (const storage::FieldDef& def : schema.fields) {
            TField* field = nullptr;
            if (def.type == storage::FieldType::String)
                field = new TStringField(this);
            else if (def.type == storage::FieldType::Memo)
                field = new TMemoField(this);
            else
                continue;  // no field class; the column keeps its stored values
            field->setFieldName(QString::fromStdString(def.name));
            field->setSize(def.size);
            field->setRequired(def.required);
            field->setDisplayWidth(def.type == storage::FieldType::Memo ? 10 : def.size);
            field->setDataSet(this);
        }
        m_dynamicFields = true;
    }
    for (TField* field : m_fields) {
        int column = -1;
        for (std::size_t i = 0; i < schema.fields.size(); ++i)
            if (QString::fromStdString(schema.fields[i].name).compare(field->FieldName(), Qt::CaseInsensitive) == 0)
                column = int(i);
        if (column < 0) {
            unbindFields();
            throw error(QStringLiteral("Field '%1' not found").arg(field->FieldName()));
        }
        const storage::FieldType actual = schema.fields[std::size_t(column)].type;
        if (actual != field->DataType()) {
            unbindFields();
            throw error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                            .arg(field->FieldName(), typeName(field->DataType()), typeName(actual)));
        }
        field->m_column = column;
    }
}

void TwwTable::unbindFields()
{
    if (m_dynamicFields) {
        const std::vector<TField*> fields = m_fields;
        m_fields.clear();
        for (TField* field : fields) {
            field->m_dataSet = nullptr;
            delete field;
        }
        m_dynamicFields = false;
    }
    for (TField* field : m_fields)
        field->m_column = -1;
}

void TwwTable::Close()
{
    if (!Active())
        return;
    fire(BeforeClose);
    closeCursor();
    fire(AfterClose);
}

void TwwTable::closeCursor()
{
    // Closing the engine's table releases the row lock of a pending edit.
    m_edit.clear();
    m_insertBefore.reset();
    m_appending = false;
    m_table.reset();
    m_pictures.reset();
    m_current.reset();
    m_buffer.clear();
    m_activeRecord = 0;
    m_bof = m_eof = true;
    setState(dsInactive);
    notifyDataChanged();
    unbindFields();
}

// ---- state

void TwwTable::checkActive() const
{
    if (!Active())
        throw error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

bool TwwTable::CanModify() const { return m_table && !m_table->readOnly(); }

void TwwTable::checkCanModify() const
{
    if (!CanModify())
        throw error(QStringLiteral("Cannot modify a read-only dataset"));
}

bool TwwTable::IsEmpty() const { return m_state != dsInsert && !m_current; }

void TwwTable::fire(const TDataSetNotifyEvent& event)
{
    if (event)
        event(this);
}

void TwwTable::setState(TDataSetState state)
{
    if (state == m_state)
        return;
    m_state = state;
    m_modified = false;
    notifyStateChanged();
}

// ---- moving

void TwwTable::First()
{
    checkActive();
    CheckBrowseMode();
    fire(BeforeScroll);
    setCurrent(firstVisible());
    m_bof = true;
    m_eof = !m_current;
    resync(Anchor::Top);
    notifyDataChanged();
    fire(AfterScroll);
}

void TwwTable::Last()
{
    checkActive();
    CheckBrowseMode();
    fire(BeforeScroll);
    setCurrent(lastVisible());
    m_eof = true;
    m_bof = !m_current;
    resync(Anchor::Bottom);
    notifyDataChanged();
    fire(AfterScroll);
}

int TwwTable::MoveBy(int distance)
{
    checkActive();
    CheckBrowseMode();
    fire(BeforeScroll);
    if (distance == 0 || (distance > 0 && m_eof) || (distance < 0 && m_bof))
        return 0;
    std::int64_t moved = 0;
    std::optional<storage::Row> target;
    if (m_current) {
        if (filterActive()) {
            const std::size_t wanted = std::size_t(distance < 0 ? -std::int64_t(distance) : distance);
            std::vector<storage::Row> rows =
                collect(distance > 0 ? Direction::Forward : Direction::Backward, m_current->id, wanted);
            moved = std::int64_t(rows.size()) * (distance > 0 ? 1 : -1);
            target = rows.empty() ? m_current : readFull(rows.back().id);
        } else {
            target = m_table->skip(m_current->id, distance, &moved, storage::Memos::Load);
        }
    } else {
        // The table was empty when last looked at; rows may have come since.
        target = distance > 0 ? firstVisible() : lastVisible();
    }
    setCurrent(target);
    m_bof = m_eof = false;
    if (std::abs(moved) < std::abs(std::int64_t(distance))) {
        if (distance > 0)
            m_eof = true;
        else
            m_bof = true;
    }
    if (!m_current)
        m_bof = m_eof = true;
    resync(Anchor::Keep, int(moved));
    notifyDataChanged();
    fire(AfterScroll);
    return int(moved);
}

// ---- changing rows

void TwwTable::Insert() { beginInsert(false); }

void TwwTable::Append() { beginInsert(true); }

void TwwTable::beginInsert(bool append)
{
    checkActive();
    CheckBrowseMode();
    checkCanModify();
    fire(BeforeInsert);
    fire(BeforeScroll);
    const std::optional<storage::Row> previous = m_current;
    const std::vector<storage::Row> previousBuffer = m_buffer;
    const int previousActive = m_activeRecord;
    const bool previousBof = m_bof, previousEof = m_eof;

    if (append) {
        m_insertBefore.reset();
        setCurrent(lastVisible());
    } else {
        m_insertBefore = m_current ? std::optional<storage::RowId>(m_current->id) : std::nullopt;
    }
    m_appending = append;
    m_edit.assign(m_table->schema().fields.size(), std::nullopt);
    m_bof = m_eof = false;
    // The window shows the blank row where it will be stored.
    resync(append ? Anchor::Bottom : Anchor::Keep);
    storage::Row blank{0, m_edit};
    if (m_buffer.empty() || append) {
        m_buffer.push_back(blank);
        if (int(m_buffer.size()) > m_bufferCount)
            m_buffer.erase(m_buffer.begin());
        m_activeRecord = int(m_buffer.size()) - 1;
    } else {
        m_buffer.insert(m_buffer.begin() + m_activeRecord, blank);
        if (int(m_buffer.size()) > m_bufferCount)
            m_buffer.pop_back();
    }
    setState(dsInsert);
    try {
        fire(OnNewRecord);
    } catch (...) {
        // The new row never showed: go back to where the cursor was.
        m_edit.clear();
        m_insertBefore.reset();
        m_appending = false;
        m_current = previous;
        m_buffer = previousBuffer;
        m_activeRecord = previousActive;
        m_bof = previousBof;
        m_eof = previousEof;
        setState(dsBrowse);
        notifyDataChanged();
        throw;
    }
    notifyDataChanged();
    fire(AfterInsert);
    fire(AfterScroll);
}

void TwwTable::Edit()
{
    checkActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    checkCanModify();
    fire(BeforeEdit);
    const storage::RowId id = m_current->id;
    m_table->lock(id);
    std::optional<storage::Row> row;
    try {
        row = m_table->read(id, storage::Memos::Load);
    } catch (...) {
        m_table->unlock(id);
        throw;
    }
    if (!row) {
        m_table->unlock(id);
        throw error(QStringLiteral("Record not found"));
    }
    // Another program may have changed the row since it was shown.
    const bool changed = row->values != m_current->values;
    setCurrent(std::move(row));
    m_edit = m_current->values;
    if (!m_buffer.empty())
        m_buffer[std::size_t(m_activeRecord)] = *m_current;
    setState(dsEdit);
    if (changed)
        notifyFieldChanged(nullptr);
    fire(AfterEdit);
}

void TwwTable::UpdateRecord()
{
    if (m_state != dsEdit && m_state != dsInsert)
        throw error(QStringLiteral("Dataset not in edit or insert mode"));
    notifyUpdateData();
}

void TwwTable::Post()
{
    checkActive();
    UpdateRecord();
    fire(BeforePost);
    checkPictureMasks();
    checkRequiredFields();
    storage::RowId id = 0;
    if (m_state == dsInsert) {
        id = m_table->insert(m_insertBefore, m_edit);
    } else {
        id = m_current->id;
        m_table->update(id, m_edit);
        m_table->unlock(id);
    }
    m_edit.clear();
    m_insertBefore.reset();
    m_appending = false;
    setCurrent(currentOrNeighbour(id));
    if (!m_current)
        m_bof = m_eof = true;
    setState(dsBrowse);
    resync(Anchor::Keep);
    notifyDataChanged();
    fire(AfterPost);
}

void TwwTable::checkPictureMasks()
{
    if (!m_validateWithMask)
        return;
    if (!m_pictures) {
        // An invalid picture fails the post with the picture's own error, so
        // that a damaged check is never taken for a passed one.
        std::vector<std::optional<storage::Picture>> pictures(m_fields.size());
        const auto pictureOf = [this](const QString& fieldName) -> std::optional<std::string> {
            for (const QString& entry : m_pictureMasks) {
                const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
                if (tab > 0 && entry.left(tab).compare(fieldName, Qt::CaseInsensitive) == 0)
                    return entry.mid(tab + 1).toStdString();
            }
            for (const storage::PictureDef& def : m_table->schema().pictures)
                if (QString::fromStdString(def.field).compare(fieldName, Qt::CaseInsensitive) == 0)
                    return def.picture;
            return std::nullopt;
        };
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            if (const std::optional<std::string> picture = pictureOf(m_fields[i]->FieldName()))
                pictures[i].emplace(*picture);
        m_pictures = std::move(pictures);
    }
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        TField* field = m_fields[i];
        const std::optional<storage::Picture>& picture = (*m_pictures)[i];
        if (!picture || field->ReadOnly() || field->IsNull())
            continue;
        if (!picture->matches(std::u32string_view(field->AsString().toStdU32String()))) {
            focusField(field);
            throw Exception(QStringLiteral("Invalid characters. Field : %1").arg(field->FieldName()).toStdString());
        }
    }
}

void TwwTable::checkRequiredFields()
{
    for (TField* field : m_fields) {
        if (field->Required() && !field->ReadOnly() && field->IsNull()) {
            focusField(field);
            throw Exception(QStringLiteral("Field '%1' must have a value").arg(field->FieldName()).toStdString());
        }
    }
}

void TwwTable::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    const bool inserting = m_state == dsInsert;
    fire(BeforeCancel);
    if (inserting)
        fire(BeforeScroll);
    if (!inserting)
        m_table->unlock(m_current->id);
    std::optional<storage::Row> row;
    if (inserting && m_appending)
        row = lastVisible();
    else if (m_current)
        row = currentOrNeighbour(m_current->id);
    m_edit.clear();
    m_insertBefore.reset();
    m_appending = false;
    setCurrent(std::move(row));
    if (!m_current)
        m_bof = m_eof = true;
    setState(dsBrowse);
    resync(Anchor::Keep);
    notifyDataChanged();
    fire(AfterCancel);
    if (inserting)
        fire(AfterScroll);
}

void TwwTable::Delete()
{
    checkActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (IsEmpty())
        throw error(QStringLiteral("Cannot perform this operation on an empty dataset"));
    checkCanModify();
    fire(BeforeDelete);
    fire(BeforeScroll);
    const storage::RowId id = m_current->id;
    m_table->remove(id);
    m_edit.clear();
    setCurrent(currentOrNeighbour(id));
    if (!m_current)
        m_bof = m_eof = true;
    setState(dsBrowse);
    resync(Anchor::Keep);
    notifyDataChanged();
    fire(AfterDelete);
    fire(AfterScroll);
}

void TwwTable::Refresh()
{
    checkActive();
    fire(BeforeRefresh);
    CheckBrowseMode();
    setCurrent(m_current ? currentOrNeighbour(m_current->id) : firstVisible());
    if (!m_current)
        m_bof = m_eof = true;
    resync(Anchor::Keep);
    notifyDataChanged();
    fire(AfterRefresh);
}

void TwwTable::CheckBrowseMode()
{
    checkActive();
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    UpdateRecord();
    if (m_modified)
        Post();
    else
        Cancel();
}

// ---- bookmarks, row numbers, locate

TBookmark TwwTable::GetBookmark() const
{
    if (!Active() || m_state == dsInsert || !m_current)
        return TBookmark();
    return TBookmark(m_current->id);
}

bool TwwTable::BookmarkValid(const TBookmark& bookmark) const
{
    return Active() && !bookmark.isEmpty() && m_table->read(*bookmark.m_row, storage::Memos::Skip).has_value();
}

void TwwTable::GotoBookmark(const TBookmark& bookmark)
{
    checkActive();
    if (bookmark.isEmpty())
        return;
    CheckBrowseMode();
    fire(BeforeScroll);
    std::optional<storage::Row> row = readFull(*bookmark.m_row);
    if (!row)
        throw error(QStringLiteral("Record not found"));
    setCurrent(std::move(row));
    m_bof = m_eof = false;
    resync(Anchor::Centre);
    notifyDataChanged();
    fire(AfterScroll);
}

std::int64_t TwwTable::RecordCount() const
{
    if (!Active())
        return -1;
    if (!filterActive())
        return m_table->rowCount();
    std::optional<storage::Row> row = firstVisible();
    if (!row)
        return 0;
    return 1 + std::int64_t(collect(Direction::Forward, row->id, std::size_t(-1)).size());
}

std::int64_t TwwTable::RecNo() const
{
    if (!Active() || m_state == dsInsert || !m_current)
        return -1;
    if (!filterActive())
        return m_table->rowNumber(m_current->id);
    return 1 + std::int64_t(collect(Direction::Backward, m_current->id, std::size_t(-1)).size());
}

void TwwTable::setRecNo(std::int64_t number)
{
    checkActive();
    CheckBrowseMode();
    if (number == RecNo())
        return;
    fire(BeforeScroll);
    std::optional<storage::Row> row;
    if (number >= 1) {
        if (!filterActive()) {
            row = m_table->rowAt(number, storage::Memos::Load);
        } else if (std::optional<storage::Row> first = firstVisible()) {
            if (number == 1) {
                row = first;
            } else {
                std::vector<storage::Row> rows =
                    collect(Direction::Forward, first->id, std::size_t(number - 1));
                if (std::int64_t(rows.size()) == number - 1)
                    row = readFull(rows.back().id);
            }
        }
    }
    if (!row)
        return;
    setCurrent(std::move(row));
    m_bof = m_eof = false;
    resync(Anchor::Centre);
    notifyDataChanged();
    fire(AfterScroll);
}

bool TwwTable::Locate(const QString& keyFields, const QStringList& keyValues, TLocateOptions options)
{
    checkActive();
    fire(BeforeScroll);
    CheckBrowseMode();
    const QStringList names = keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    std::vector<int> columns;
    for (const QString& name : names) {
        TField* field = FieldByName(name.trimmed());
        columns.push_back(field->m_column);
    }
    if (columns.empty() || qsizetype(columns.size()) != keyValues.size())
        throw error(QStringLiteral("Locate needs one value for each of the fields '%1'").arg(keyFields));
    std::vector<std::string> values;
    for (const QString& value : keyValues)
        values.push_back(value.toStdString());
    storage::LocateOptions engineOptions;
    engineOptions.caseInsensitive = options.testFlag(loCaseInsensitive);
    engineOptions.partialKey = options.testFlag(loPartialKey);

    std::optional<storage::RowId> after;
    std::optional<storage::Row> found;
    for (;;) {
        after = m_table->locate(columns, values, engineOptions, after);
        if (!after)
            return false;
        found = readFull(*after);
        if (found && accepts(*found))
            break;
    }
    setCurrent(std::move(found));
    m_bof = m_eof = false;
    resync(Anchor::Centre);
    notifyDataChanged();
    fire(AfterScroll);
    return true;
}

// ---- fields

TField* TwwTable::FindField(const QString& name) const
{
    for (TField* field : m_fields)
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field;
    return nullptr;
}

TField* TwwTable::FieldByName(const QString& name) const
{
    TField* field = FindField(name);
    if (!field)
        throw error(QStringLiteral("Field '%1' not found").arg(name));
    return field;
}

void TwwTable::addField(TField* field)
{
    checkInactive();
    m_fields.push_back(field);
}

void TwwTable::removeField(TField* field) { std::erase(m_fields, field); }

const storage::Value& TwwTable::valueAt(int column) const
{
    static const storage::Value none;
    const std::size_t c = std::size_t(column);
    if (m_filterRow)
        return c < m_filterRow->values.size() ? m_filterRow->values[c] : none;
    if (m_state == dsEdit || m_state == dsInsert)
        return c < m_edit.size() ? m_edit[c] : none;
    if (m_current && c < m_current->values.size())
        return m_current->values[c];
    return none;
}

void TwwTable::setValueAt(TField* field, storage::Value value)
{
    if (m_state != dsEdit && m_state != dsInsert)
        throw error(QStringLiteral("Dataset not in edit or insert mode"));
    if (field->ReadOnly())
        throw error(QStringLiteral("Field '%1' cannot be modified").arg(field->FieldName()));
    m_edit[std::size_t(field->m_column)] = std::move(value);
    if (!m_buffer.empty())
        m_buffer[std::size_t(m_activeRecord)].values = m_edit;
    m_modified = true;
    notifyFieldChanged(field);
}

void TwwTable::focusField(TField* field)
{
    for (const QPointer<TwwDataSource>& source : std::vector(m_dataSources))
        if (source && source->notifyFocus(field))
            return;
}

// ---- rows through the filter

bool TwwTable::filterActive() const { return m_filtered && m_onFilterRecord; }

bool TwwTable::accepts(const storage::Row& row) const
{
    if (!filterActive())
        return true;
    struct Restore {
        const storage::Row*& slot;
        const storage::Row* saved;
        ~Restore() { slot = saved; }
    } restore{m_filterRow, m_filterRow};
    m_filterRow = &row;
    bool accept = true;
    m_onFilterRecord(const_cast<TwwTable*>(this), accept);
    return accept;
}

std::vector<storage::Row> TwwTable::collect(Direction direction, storage::RowId from, std::size_t count) const
{
    std::vector<storage::Row> out;
    if (count == 0)
        return out;
    // A filter may look at any field, memos included.
    const storage::Memos memos = filterActive() ? storage::Memos::Load : storage::Memos::Skip;
    storage::RowId cursor = from;
    while (out.size() < count) {
        const int chunk = filterActive() ? FilterChunk : int(std::min<std::size_t>(count - out.size(), 1 << 20));
        const std::vector<storage::Row> rows = direction == Direction::Forward
                                                   ? m_table->after(cursor, chunk, memos)
                                                   : m_table->before(cursor, chunk, memos);
        for (const storage::Row& row : rows) {
            if (accepts(row)) {
                out.push_back(row);
                if (out.size() == count)
                    break;
            }
        }
        if (rows.empty() || int(rows.size()) < chunk)
            break;
        cursor = rows.back().id;
    }
    return out;
}

std::optional<storage::Row> TwwTable::readFull(storage::RowId id) const
{
    return m_table->read(id, storage::Memos::Load);
}

std::optional<storage::Row> TwwTable::firstVisible() const
{
    std::optional<storage::Row> row = m_table->first(storage::Memos::Load);
    if (!row || accepts(*row))
        return row;
    std::vector<storage::Row> next = collect(Direction::Forward, row->id, 1);
    return next.empty() ? std::nullopt : readFull(next.front().id);
}

std::optional<storage::Row> TwwTable::lastVisible() const
{
    std::optional<storage::Row> row = m_table->last(storage::Memos::Load);
    if (!row || accepts(*row))
        return row;
    std::vector<storage::Row> prior = collect(Direction::Backward, row->id, 1);
    return prior.empty() ? std::nullopt : readFull(prior.front().id);
}

std::optional<storage::Row> TwwTable::currentOrNeighbour(storage::RowId id) const
{
    if (std::optional<storage::Row> row = readFull(id))
        return row;
    std::vector<storage::Row> next = collect(Direction::Forward, id, 1);
    if (next.empty())
        next = collect(Direction::Backward, id, 1);
    return next.empty() ? std::nullopt : readFull(next.front().id);
}

void TwwTable::setCurrent(std::optional<storage::Row> row) { m_current = std::move(row); }

void TwwTable::resync(Anchor anchor, int moved)
{
    m_buffer.clear();
    if (!m_current) {
        m_activeRecord = 0;
        return;
    }
    const int n = m_bufferCount;
    int wantBefore = 0;
    switch (anchor) {
    case Anchor::Top: wantBefore = 0; break;
    case Anchor::Bottom: wantBefore = n - 1; break;
    case Anchor::Centre: wantBefore = (n - 1) / 2; break;
    case Anchor::Keep: wantBefore = std::clamp(m_activeRecord + moved, 0, n - 1); break;
    }
    std::vector<storage::Row> before = collect(Direction::Backward, m_current->id, std::size_t(wantBefore));
    std::vector<storage::Row> after =
        collect(Direction::Forward, m_current->id, std::size_t(n - 1) - before.size());
    // Near the end of the table the window fills up with rows before.
    const std::size_t missing = std::size_t(n - 1) - before.size() - after.size();
    if (missing > 0 && int(before.size()) == wantBefore) {
        const storage::RowId from = before.empty() ? m_current->id : before.back().id;
        std::vector<storage::Row> more = collect(Direction::Backward, from, missing);
        before.insert(before.end(), more.begin(), more.end());
    }
    m_buffer.assign(before.rbegin(), before.rend());
    m_activeRecord = int(m_buffer.size());
    m_buffer.push_back(*m_current);
    m_buffer.insert(m_buffer.end(), after.begin(), after.end());
}

// ---- notifications to the controls

void TwwTable::addDataSource(TwwDataSource* source) { m_dataSources.emplace_back(source); }

void TwwTable::removeDataSource(TwwDataSource* source)
{
    std::erase_if(m_dataSources, [source](const QPointer<TwwDataSource>& s) { return !s || s == source; });
}

void TwwTable::notifyStateChanged()
{
    for (const QPointer<TwwDataSource>& source : std::vector(m_dataSources))
        if (source)
            source->notifyStateChanged();
}

void TwwTable::notifyDataChanged()
{
    for (const QPointer<TwwDataSource>& source : std::vector(m_dataSources))
        if (source)
            source->notifyDataChanged();
}

void TwwTable::notifyFieldChanged(TField* field)
{
    for (const QPointer<TwwDataSource>& source : std::vector(m_dataSources))
        if (source)
            source->notifyFieldChanged(field);
}

void TwwTable::notifyUpdateData()
{
    for (const QPointer<TwwDataSource>& source : std::vector(m_dataSources))
        if (source)
            source->notifyUpdateData();
}
