#include "platform/storage/sqlitedb.h"

#include "platform/storage/storage.h"

#include <sqlite3.h>

namespace storage {

namespace {

// How long a writer waits for another process's transaction before giving up.
constexpr int kBusyTimeoutMs = 10000;

std::string uriEscape(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#' || c < 0x21 || c >= 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace

SqliteDb::SqliteDb(const std::string& path, bool readOnly, bool create, bool immutable) : m_path(path)
{
    std::string uri = "file:" + uriEscape(path);
    if (immutable)
        uri += "?immutable=1";
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX |
                      SQLITE_OPEN_EXRESCODE;
    const int rc = sqlite3_open_v2(uri.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string detail = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw EngineError((rc & 0xFF) == SQLITE_CANTOPEN ? code::FileError : code::BadFile,
                          "Cannot open the table file", {"File: " + path, "Detail: " + detail});
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
}

SqliteDb::~SqliteDb()
{
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    sqlite3_close_v2(m_db);
}

void SqliteDb::exec(const std::string& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        sqlite3_free(message);
        fail(rc, "changing the table");
    }
}

Statement SqliteDb::prepare(const std::string& sql)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                                          nullptr);
        if (rc != SQLITE_OK)
            fail(rc, "reading the table");
        it = m_statements.emplace(sql, stmt).first;
    }
    return Statement(*this, it->second);
}

std::int64_t SqliteDb::scalar(const std::string& sql)
{
    Statement st = prepare(sql);
    return st.step() ? st.integer(0) : 0;
}

void SqliteDb::fail(const std::string& doing) const { fail(sqlite3_extended_errcode(m_db), doing); }

void SqliteDb::fail(int rc, const std::string& doing) const
{
    const std::string detail = "Detail: " + std::string(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
    const std::vector<std::string> context{"File: " + m_path, detail};
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw EngineError(code::TableBusy, "The table is busy in another program; try again", context);
    case SQLITE_READONLY:
        throw EngineError(code::TableReadOnly, "The table is read only", context);
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE)
            throw EngineError(code::KeyViolation, "Key violation", context);
        throw EngineError(code::InvalidValue, "The row breaks a rule of the table", context);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw EngineError(code::BadFile, "The file is not a table or it is damaged", context);
    case SQLITE_FULL:
        throw EngineError(code::FileError, "The disk is full", context);
    default:
        throw EngineError(code::FileError, "Error while " + doing, context);
    }
}

}  // namespace storage
