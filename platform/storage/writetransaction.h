#pragma once
#include "platform/storage/sqlitedb.h"

namespace storage {

// One write transaction: BEGIN IMMEDIATE at construction, COMMIT by commit(),
// ROLLBACK when it goes without a commit (an error on the way).
class WriteTransaction {
public:
    explicit WriteTransaction(SqliteDb& db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    SqliteDb& m_db;
    bool m_done = false;
};

}  // namespace storage
