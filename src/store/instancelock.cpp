// store/, with the other file helpers: the lock that keeps a second run out of the data folder.
#include "instancelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InstanceLock::Acquire() {
    if (m_fd >= 0)
        return true;
    m_fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        return true; // nothing to lock on: do not keep the user out for it
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    const bool held = errno == EWOULDBLOCK;
    ::close(m_fd);
    m_fd = -1;
    return !held;
}
