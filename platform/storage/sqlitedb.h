#pragma once
// A SQLite connection of the engine, with its prepared statements cached, and
// SQLite's failures turned into engine errors naming the file.
#include "platform/storage/statement.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

struct sqlite3;

namespace storage {

class SqliteDb {
public:
    // Opens an existing file (or, with create, makes it). Raises EngineError.
    SqliteDb(const std::string& path, bool readOnly, bool create, bool immutable = false);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    sqlite3* handle() const { return m_db; }
    const std::string& path() const { return m_path; }
    void exec(const std::string& sql);
    Statement prepare(const std::string& sql);
    std::int64_t scalar(const std::string& sql);  // the first column of the first row

    // A failed call of SQLite as an engine error of the matching code.
    [[noreturn]] void fail(int rc, const std::string& doing) const;
    [[noreturn]] void fail(const std::string& doing) const;

private:
    std::string m_path;
    sqlite3* m_db = nullptr;
    std::map<std::string, sqlite3_stmt*, std::less<>> m_statements;
};

}  // namespace storage
