#include "platform/storage/writetransaction.h"

namespace storage {

WriteTransaction::WriteTransaction(SqliteDb& db) : m_db(db) { m_db.exec("BEGIN IMMEDIATE"); }

WriteTransaction::~WriteTransaction()
{
    if (!m_done) {
        try {
            m_db.exec("ROLLBACK");
        } catch (...) {
            // The connection rolls back on its own when the statement failed.
        }
    }
}

void WriteTransaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

}  // namespace storage
