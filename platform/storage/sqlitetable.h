#pragma once
// An open table of the engine: a SQLite file laid out as TableLayout says.
//
// Reads run outside transactions, each on SQLite's latest committed state, so
// another process's changes are seen at the next call. Writes are one
// IMMEDIATE transaction each, committed with full sync in WAL mode. Row locks
// are fcntl locks on a file beside the table (RowLocks).
#include "platform/storage/storage.h"
#include "platform/storage/tablelayout.h"

#include <map>
#include <memory>
#include <set>

namespace storage {

class RowLocks;
class SqliteDb;
class Statement;

class SqliteTable : public Table {
public:
    // `context` names the table in errors (the alias or directory, the file).
    SqliteTable(std::string name, std::string path, OpenMode mode, std::vector<std::string> context);
    ~SqliteTable() override;

    const std::string& name() const override { return m_name; }
    const std::string& path() const override { return m_path; }
    bool readOnly() const override { return m_readOnly; }
    const TableSchema& schema() const override { return m_layout->schema(); }

    std::int64_t rowCount() const override;
    std::optional<Row> first(Memos memos) const override;
    std::optional<Row> last(Memos memos) const override;
    std::optional<Row> read(RowId id, Memos memos) const override;
    std::vector<Row> after(RowId id, int count, Memos memos) const override;
    std::vector<Row> before(RowId id, int count, Memos memos) const override;
    std::optional<Row> skip(RowId id, std::int64_t n, std::int64_t* moved, Memos memos) const override;
    std::int64_t rowNumber(RowId id) const override;
    std::optional<Row> rowAt(std::int64_t number, Memos memos) const override;
    std::optional<RowId> locate(const std::vector<int>& fields, const std::vector<std::string>& values,
                                LocateOptions options, std::optional<RowId> after) const override;

    RowId insert(std::optional<RowId> before, const std::vector<Value>& values) override;
    void update(RowId id, const std::vector<Value>& values) override;
    void remove(RowId id) override;
    void lock(RowId id) override;
    void unlock(RowId id) override;

    // The file's lock file: the table's path with this suffix.
    static constexpr const char* kLockSuffix = "-rowlocks";

private:
    std::vector<Row> rows(Statement& st, Memos memos) const;
    std::optional<Row> one(Statement& st, Memos memos) const;
    // A row's place in the order; for a row gone since it was read, the place
    // it had (nullopt when it was never seen).
    std::optional<std::int64_t> placeOf(RowId id) const;
    std::int64_t requirePlace(RowId id) const;
    void checkValues(const std::vector<Value>& values) const;
    // Binds the columns of assignList() from `firstParameter`; gives the next parameter.
    int bindValues(Statement& st, const std::vector<Value>& values, int firstParameter) const;
    std::string assignList() const;  // "v1 = ?, k1 = ?, ..." in bind order
    void refuseWhenReadOnly() const;
    void refuseWhenLockedElsewhere(RowId id) const;
    void renumber();
    [[noreturn]] void fail(std::uint16_t code, const std::string& text) const;

    std::string m_name;
    std::string m_path;
    bool m_readOnly;
    std::vector<std::string> m_context;
    std::unique_ptr<SqliteDb> m_db;
    std::unique_ptr<TableLayout> m_layout;
    std::shared_ptr<RowLocks> m_locks;  // null when read-only
    std::set<RowId> m_held;
    mutable std::map<RowId, std::int64_t> m_places;
};

}  // namespace storage
