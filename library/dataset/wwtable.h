#pragma once
// The table component: one table of the storage engine with a record cursor
// over it. The cursor holds the current row (with its memos) and, for controls
// that show several rows, a window of BufferCount rows around it, read through
// the engine without their memos; it never loads the whole table.
//
// Every operation fires its notifications in one fixed order (the table of
// steps below is the contract the controls rely on). "Leave edits" stores a
// changed row, or drops a new row nobody typed into, before the cursor moves.
//
//   Open         before-open; engine open; bind fields; browse; data-changed;
//                after-open; after-scroll unless empty
//   Close        before-close; pending change dropped; inactive; after-close
//   First/Last   leave edits; before-scroll; go; data-changed; after-scroll
//   MoveBy(n)    leave edits; before-scroll; stop when n is 0 or the end flag
//                of that direction is set; move; data-changed; after-scroll
//   Insert       leave edits; refuse read-only; before-insert; before-scroll;
//   Append       blank row; insert state; new-record; data-changed;
//                after-insert; after-scroll
//   Edit         (browse only; an empty table inserts) leave edits; refuse
//                read-only; before-edit; read and lock; edit state; after-edit
//   Post         controls write; before-post; pictures; required fields; store;
//                browse; data-changed; after-post
//   Cancel       before-cancel; [insert: before-scroll]; drop; browse;
//                data-changed; after-cancel; [insert: after-scroll]
//   Delete       (insert: Cancel) refuse empty, read-only; before-delete;
//                before-scroll; delete; browse; data-changed; after-delete;
//                after-scroll
//   Refresh      before-refresh; leave edits; re-read; data-changed;
//                after-refresh (no after-scroll)
//   GotoBookmark leave edits; before-scroll; go; data-changed; after-scroll
//   setRecNo     leave edits; stop at the current number; before-scroll; go;
//                when found data-changed and after-scroll
//   Locate       before-scroll; leave edits; search; when found data-changed
//                and after-scroll
//
// A failed operation leaves the cursor as it was, except that a move whose
// leave-edits step failed stays in edit or insert state. Errors that belong to
// the table carry its object name: "TabMemoria: Cannot modify a read-only
// dataset".

#include "library/dataset/bookmark.h"
#include "library/dataset/datasetstate.h"
#include "platform/storage/picture.h"
#include "platform/storage/storage.h"

#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TField;
class TwwDataSource;

enum TLocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

class TwwTable : public QObject {
    Q_OBJECT
public:
    using TDataSetNotifyEvent = std::function<void(TwwTable* DataSet)>;
    using TFilterRecordEvent = std::function<void(TwwTable* DataSet, bool& Accept)>;

    explicit TwwTable(QObject* parent = nullptr);
    // Closes without firing before-close and after-close.
    ~TwwTable() override;

    // Settings; they take effect at the next opening.
    QString DatabaseName() const { return m_databaseName; }
    void setDatabaseName(const QString& name);
    QString TableName() const { return m_tableName; }
    void setTableName(const QString& name);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    // The engine opens tables shared only; an exclusive opening is refused.
    bool Exclusive() const { return m_exclusive; }
    void setExclusive(bool exclusive);
    // Key searches on SQL servers and for lookup fields; this engine has
    // neither, so they are kept only as settings.
    bool SyncSQLByRange() const { return m_syncSQLByRange; }
    void setSyncSQLByRange(bool value) { m_syncSQLByRange = value; }
    bool NarrowSearch() const { return m_narrowSearch; }
    void setNarrowSearch(bool value) { m_narrowSearch = value; }
    // Whether each post checks field values against picture masks.
    bool ValidateWithMask() const { return m_validateWithMask; }
    void setValidateWithMask(bool value) { m_validateWithMask = value; }
    // The program's own masks, "FieldName<TAB>mask" per entry; they take the
    // place of a picture the table file stores for the same field. A blank
    // value is left to the required-field check.
    QStringList PictureMasks() const { return m_pictureMasks; }
    void setPictureMasks(const QStringList& masks);

    // Notifications; the before- handlers may raise to stop the operation.
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh, OnNewRecord;

    // A record filter hides the rows it refuses from every move while Filtered
    // is set. While it runs, the fields read the row it is asked about.
    TFilterRecordEvent OnFilterRecord() const { return m_onFilterRecord; }
    void setOnFilterRecord(TFilterRecordEvent filter);
    bool Filtered() const { return m_filtered; }
    // Changing it on an open table leaves edits and goes to the first row.
    void setFiltered(bool filtered);
    // Row numbers and the row count place a row only while no filter is set.
    bool IsSequenced() const { return !filterActive(); }

    bool Active() const { return m_state != dsInactive; }
    void setActive(bool active);
    void Open();
    void Close();

    TDataSetState State() const { return m_state; }
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    bool Modified() const { return m_modified; }
    bool IsEmpty() const;
    // False for a table the engine opened read-only.
    bool CanModify() const;

    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int distance);
    void Insert();
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void Refresh();
    // Leave edits: store a changed row, drop an untouched one.
    void CheckBrowseMode();
    // The controls write their values into the fields (edit or insert state).
    void UpdateRecord();

    TBookmark GetBookmark() const;
    void FreeBookmark(TBookmark& bookmark) const { bookmark = TBookmark(); }
    // Whether the marked row still exists.
    bool BookmarkValid(const TBookmark& bookmark) const;
    void GotoBookmark(const TBookmark& bookmark);

    // Rows as the engine counts them (counted through the filter when one is
    // set); -1 while closed.
    std::int64_t RecordCount() const;
    // The current row's number from 1; -1 while closed, empty or inserting.
    std::int64_t RecNo() const;
    void setRecNo(std::int64_t number);

    // Fields separated by ';', one value per field.
    bool Locate(const QString& keyFields, const QStringList& keyValues, TLocateOptions options = {});

    const std::vector<TField*>& Fields() const { return m_fields; }
    int FieldCount() const { return int(m_fields.size()); }
    TField* FindField(const QString& name) const;  // case-insensitive; nullptr
    TField* FieldByName(const QString& name) const;  // "Field '%s' not found"

    // The window of rows for controls that show several; the current row is
    // ActiveRecord within it. In insert state the new row is part of it.
    int BufferCount() const { return m_bufferCount; }
    void setBufferCount(int count);
    const std::vector<storage::Row>& BufferRows() const { return m_buffer; }
    int ActiveRecord() const { return m_activeRecord; }

    // "%s: %s" with this object's name.
    Exception error(const QString& message) const;

private:
    friend class TField;
    friend class TwwDataSource;

    enum class Anchor { Top, Bottom, Centre, Keep };
    enum class Direction { Forward, Backward };

    void checkActive() const;
    void checkCanModify() const;
    void checkInactive() const;
    void fire(const TDataSetNotifyEvent& event);
    void setState(TDataSetState state);
    void bindFields();
    void unbindFields();
    void closeCursor();
    void beginInsert(bool append);
    void focusField(TField* field);
    void checkPictureMasks();
    void checkRequiredFields();

    bool filterActive() const;
    bool accepts(const storage::Row& row) const;
    std::vector<storage::Row> collect(Direction direction, storage::RowId from, std::size_t count) const;
    std::optional<storage::Row> firstVisible() const;
    std::optional<storage::Row> lastVisible() const;
    // The current row read again; a row gone meanwhile gives way to the next
    // visible row, or the previous one at the end.
    std::optional<storage::Row> currentOrNeighbour(storage::RowId id) const;
    std::optional<storage::Row> readFull(storage::RowId id) const;
    void setCurrent(std::optional<storage::Row> row);
    void resync(Anchor anchor, int moved = 0);

    // Field access for TField.
    const storage::Value& valueAt(int column) const;
    void setValueAt(TField* field, storage::Value value);
    void addField(TField* field);
    void removeField(TField* field);

    void addDataSource(TwwDataSource* source);
    void removeDataSource(TwwDataSource* source);
    void notifyStateChanged();
    void notifyDataChanged();
    void notifyFieldChanged(TField* field);
    void notifyUpdateData();

    QString m_databaseName;
    QString m_tableName;
    bool m_readOnly = false;
    bool m_exclusive = false;
    bool m_syncSQLByRange = false;
    bool m_narrowSearch = false;
    bool m_validateWithMask = false;
    QStringList m_pictureMasks;
    // The picture of each field (by position in m_fields), compiled the first
    // time a post needs them; dropped at close and when the masks change.
    std::optional<std::vector<std::optional<storage::Picture>>> m_pictures;
    TFilterRecordEvent m_onFilterRecord;
    bool m_filtered = false;

    std::unique_ptr<storage::Table> m_table;
    TDataSetState m_state = dsInactive;
    bool m_bof = true;
    bool m_eof = true;
    bool m_modified = false;
    std::optional<storage::Row> m_current;     // nullopt: no row (empty table)
    std::vector<storage::Value> m_edit;        // the values being changed
    std::optional<storage::RowId> m_insertBefore;  // insert state; nullopt appends
    bool m_appending = false;
    mutable const storage::Row* m_filterRow = nullptr;  // while a filter runs

    int m_bufferCount = 1;
    std::vector<storage::Row> m_buffer;
    int m_activeRecord = 0;

    std::vector<TField*> m_fields;
    bool m_dynamicFields = false;
    std::vector<QPointer<TwwDataSource>> m_dataSources;
};
