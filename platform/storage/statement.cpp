#include "platform/storage/statement.h"

#include "platform/storage/sqlitedb.h"

#include <sqlite3.h>

namespace storage {

namespace {
// A non-null pointer for empty values: SQLite binds a null pointer as NULL.
const char kEmpty[1] = {0};
}  // namespace

Statement::~Statement()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

Statement& Statement::bind(int index, std::int64_t value)
{
    if (const int rc = sqlite3_bind_int64(m_stmt, index, value); rc != SQLITE_OK)
        m_db->fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bindText(int index, std::string_view text)
{
    if (const int rc = sqlite3_bind_text64(m_stmt, index, text.empty() ? kEmpty : text.data(), text.size(),
                                           SQLITE_TRANSIENT, SQLITE_UTF8);
        rc != SQLITE_OK)
        m_db->fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes)
{
    if (const int rc = sqlite3_bind_blob64(m_stmt, index, bytes.empty() ? kEmpty : bytes.data(), bytes.size(),
                                           SQLITE_TRANSIENT);
        rc != SQLITE_OK)
        m_db->fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bindNull(int index)
{
    if (const int rc = sqlite3_bind_null(m_stmt, index); rc != SQLITE_OK)
        m_db->fail(rc, "binding a value");
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_db->fail(rc, "reading or writing the table");
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

bool Statement::isNull(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }

int Statement::type(int column) const { return sqlite3_column_type(m_stmt, column); }

std::string Statement::text(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return p ? std::string(p, std::size_t(sqlite3_column_bytes(m_stmt, column))) : std::string();
}

std::string Statement::blob(int column) const
{
    const auto* p = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
    return p ? std::string(p, std::size_t(sqlite3_column_bytes(m_stmt, column))) : std::string();
}

}  // namespace storage
