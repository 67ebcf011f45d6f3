#include "platform/storage/rowlocks.h"

#include "platform/storage/storage.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace storage {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<RowLocks>> files;
    pid_t pid = 0;
};

Registry& registry()
{
    static Registry* r = new Registry;  // never destroyed: tables may close after static destruction
    return *r;
}

struct flock byteAt(std::int64_t id, short type)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(id);
    fl.l_len = 1;
    return fl;
}

}  // namespace

std::shared_ptr<RowLocks> RowLocks::forFile(const std::string& lockPath)
{
    Registry& r = registry();
    std::lock_guard guard(r.mutex);
    // A child made by fork() inherits the parent's objects but none of its
    // locks: it starts a registry of its own (the inherited descriptors are
    // left alone, closing them would change nothing for the parent).
    if (r.pid != ::getpid()) {
        for (auto& [path, weak] : r.files)
            new std::weak_ptr<RowLocks>(std::move(weak));  // leaked on purpose, see above
        r.files.clear();
        r.pid = ::getpid();
    }
    if (auto existing = r.files[lockPath].lock())
        return existing;
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw EngineError(code::FileError, std::string("Cannot open the lock file: ") + std::strerror(errno),
                          {"File: " + lockPath});
    std::shared_ptr<RowLocks> locks(new RowLocks(lockPath, fd));
    r.files[lockPath] = locks;
    return locks;
}

RowLocks::RowLocks(std::string path, int fd) : m_path(std::move(path)), m_fd(fd), m_pid(::getpid()) {}

RowLocks::~RowLocks()
{
    if (m_pid == ::getpid())
        ::close(m_fd);
}

bool RowLocks::tryLock(std::int64_t id)
{
    std::lock_guard guard(m_mutex);
    int& holds = m_holds[id];
    if (holds > 0) {
        ++holds;
        return true;
    }
    struct flock fl = byteAt(id, F_WRLCK);
    while (::fcntl(m_fd, F_SETLK, &fl) != 0) {
        if (errno == EINTR)
            continue;
        m_holds.erase(id);
        if (errno == EACCES || errno == EAGAIN)
            return false;
        throw EngineError(code::FileError, std::string("Cannot lock the row: ") + std::strerror(errno),
                          {"File: " + m_path});
    }
    holds = 1;
    return true;
}

void RowLocks::unlock(std::int64_t id)
{
    std::lock_guard guard(m_mutex);
    const auto it = m_holds.find(id);
    if (it == m_holds.end())
        return;
    if (--it->second > 0)
        return;
    m_holds.erase(it);
    struct flock fl = byteAt(id, F_UNLCK);
    ::fcntl(m_fd, F_SETLK, &fl);
}

bool RowLocks::heldHere(std::int64_t id) const
{
    std::lock_guard guard(m_mutex);
    return m_holds.count(id) > 0;
}

bool RowLocks::heldByOtherProcess(std::int64_t id) const
{
    struct flock fl = byteAt(id, F_WRLCK);
    if (::fcntl(m_fd, F_GETLK, &fl) != 0)
        throw EngineError(code::FileError, std::string("Cannot test the row lock: ") + std::strerror(errno),
                          {"File: " + m_path});
    return fl.l_type != F_UNLCK;
}

}  // namespace storage
