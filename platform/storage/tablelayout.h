#pragma once
// The layout of a table file: one SQLite database per table.
//
//   tess_table(key PRIMARY KEY, value)   format = "tessalind-table", version = 1,
//                                        rows = the number of rows (kept by
//                                        every write, so counting costs nothing)
//   tess_fields(number, name, type, size, required)   number from 1, field order
//   tess_indexes(number, name, fields, case_insensitive, is_unique)
//                                        fields: field numbers, comma-separated
//   tess_pictures(field, picture)        field: a field number
//   tess_rows(id, pos, v1..vN, k..)      the rows
//
// Rows: `id` names a row for its life (AUTOINCREMENT: never reused); `pos`
// orders the table (unique; stored order, with gaps so that a row inserted
// before another takes a place between its neighbours). Column vN holds field
// N: strings as TEXT (UTF-8), memos as BLOB (their bytes as they are),
// integers as INTEGER; a blank field, and an empty string or memo, is NULL.
// A field that some case-insensitive index covers has a column kN with its
// folded text, and each index is a SQLite index over those columns (then
// `pos`, so that the first match in table order is found without a scan).
#include "platform/storage/storage.h"

#include <optional>
#include <string>

namespace storage {

class SqliteDb;

class TableLayout {
public:
    explicit TableLayout(TableSchema schema);

    const TableSchema& schema() const { return m_schema; }
    std::size_t fieldCount() const { return m_schema.fields.size(); }
    int fieldIndex(const std::string& name) const;  // -1 when absent; names compare ignoring ASCII case

    static std::string valueColumn(std::size_t field) { return "v" + std::to_string(field + 1); }
    bool hasFoldColumn(std::size_t field) const;
    static std::string foldColumn(std::size_t field) { return "k" + std::to_string(field + 1); }

    // "id, pos, v1, ..." with NULL in place of memos when they are skipped.
    std::string selectList(Memos memos) const;

    // Checks a schema before a table is made of it (InvalidSchema).
    static void validate(const TableSchema& schema);
    // Creates the tables of an empty file and records the schema.
    void create(SqliteDb& db) const;
    // The schema a file records (BadFile when it is not a table file).
    static TableSchema read(SqliteDb& db);

private:
    TableSchema m_schema;
};

}  // namespace storage
