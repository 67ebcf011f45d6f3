#pragma once
// A prepared statement of the engine's SQLite connection.
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace storage {

class SqliteDb;

// A cached statement in use: bindings and position are reset when it goes,
// so a statement is never left holding a read transaction open.
class Statement {
public:
    Statement(SqliteDb& db, sqlite3_stmt* stmt) : m_db(&db), m_stmt(stmt) {}
    Statement(Statement&& other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt) { other.m_stmt = nullptr; }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Statement& bind(int index, std::int64_t value);
    Statement& bindText(int index, std::string_view text);
    Statement& bindBlob(int index, std::string_view bytes);
    Statement& bindNull(int index);
    bool step();  // true while there is a row
    std::int64_t integer(int column) const;
    bool isNull(int column) const;
    std::string text(int column) const;
    std::string blob(int column) const;
    int type(int column) const;

private:
    SqliteDb* m_db;
    sqlite3_stmt* m_stmt;
};

}  // namespace storage
