#pragma once
// Row locks between processes: an fcntl write lock on one byte of a lock file
// beside the table, at the offset of the row id. The kernel drops a process's
// locks when it dies, so a crashed editor never leaves a row locked.
//
// fcntl locks belong to the process, not to a descriptor, and closing any
// descriptor of the file drops all of them. So a process keeps one object
// (one descriptor) per lock file, shared by every table opened on it, and
// counts the holds of each row so that one table's unlock does not free a row
// another table of the same process still holds.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>

namespace storage {

class RowLocks {
public:
    // The process's object for this lock file (created on first use).
    // Raises EngineError when the file cannot be opened or created.
    static std::shared_ptr<RowLocks> forFile(const std::string& lockPath);
    ~RowLocks();
    RowLocks(const RowLocks&) = delete;
    RowLocks& operator=(const RowLocks&) = delete;

    bool tryLock(std::int64_t id);   // false: another process holds it
    void unlock(std::int64_t id);
    bool heldByOtherProcess(std::int64_t id) const;
    bool heldHere(std::int64_t id) const;

private:
    RowLocks(std::string path, int fd);

    std::string m_path;
    int m_fd;
    pid_t m_pid;
    mutable std::mutex m_mutex;
    std::map<std::int64_t, int> m_holds;
};

}  // namespace storage
