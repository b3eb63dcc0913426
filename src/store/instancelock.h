// store/, with the other file helpers: the lock that keeps a second run out of the data folder.
#pragma once

// Two runs in one data folder would scramble each other's files away. The lock is taken on the
// folder itself, so it creates no file and dies with the process.
class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Whether this run may use the working directory.
    bool Acquire();

  private:
    int m_fd = -1;
};
