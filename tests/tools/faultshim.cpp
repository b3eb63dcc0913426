// Preloaded into the program by the crash-point test. Counts every change the program makes to
// the files of its working directory (opening a file to write it, writing, changing its mode,
// flushing, renaming, deleting, linking, making and removing a folder), writes each one to a log, and at the
// chosen one kills the process or makes the call fail, as a power cut or a failing disk would.
//   KALIMO_FAULT_LOG   file the changes are appended to, one line each: "M <n> <call> <name>"
//   KALIMO_FAULT_AT    number of the change (from 1) to act on; none when unset
//   KALIMO_FAULT_KIND  "kill" (default), "ENOSPC" or "EIO"
// Only names relative to the working directory count: the program names its data files so.
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#define MAX_FDS 4096
static char tracked[MAX_FDS][128]; // name of each descriptor opened on a relative name
static long counter;

template <typename F> F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

extern "C" {

static void logLine(const char* call, const char* name) {
    const char* path = getenv("KALIMO_FAULT_LOG");
    if (!path)
        return;
    static int (*realOpen)(const char*, int, ...);
    static ssize_t (*realWrite)(int, const void*, size_t);
    if (!realOpen) {
        realOpen = next<int (*)(const char*, int, ...)>("open");
        realWrite = next<ssize_t (*)(int, const void*, size_t)>("write");
    }
    char line[512];
    const int n = snprintf(line, sizeof line, "M %ld %s %s\n", counter, call, name);
    const int fd = realOpen(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) {
        realWrite(fd, line, (size_t)(n < (int)sizeof line ? n : (int)sizeof line - 1));
        close(fd);
    }
}

// Counts one change; returns the error to fail it with, or 0 to let it happen.
static int change(const char* call, const char* name) {
    ++counter;
    logLine(call, name);
    const char* at = getenv("KALIMO_FAULT_AT");
    if (!at || atol(at) != counter)
        return 0;
    const char* kind = getenv("KALIMO_FAULT_KIND");
    if (!kind || strcmp(kind, "kill") == 0) {
        kill(getpid(), SIGKILL);
        return 0;
    }
    return strcmp(kind, "ENOSPC") == 0 ? ENOSPC : EIO;
}

static int relative(const char* path) {
    return path && path[0] != '/';
}

static const char* nameOf(int fd) {
    return fd >= 0 && fd < MAX_FDS && tracked[fd][0] ? tracked[fd] : NULL;
}

static int opened(int fd, const char* path) {
    if (fd >= 0 && fd < MAX_FDS) {
        if (relative(path)) {
            strncpy(tracked[fd], path, sizeof tracked[fd] - 1);
            tracked[fd][sizeof tracked[fd] - 1] = 0;
        } else
            tracked[fd][0] = 0;
    }
    return fd;
}

int openCommon(const char* symbol, int dirfd, const char* path, int flags, mode_t mode) {
    const int writes = (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
    if (writes && relative(path)) {
        const int error = change(symbol, path);
        if (error) {
            errno = error;
            return -1;
        }
    }
    int fd;
    if (dirfd == AT_FDCWD - 1) {
        auto real = next<int (*)(const char*, int, ...)>(symbol);
        fd = real(path, flags, mode);
    } else {
        auto real = next<int (*)(int, const char*, int, ...)>(symbol);
        fd = real(dirfd, path, flags, mode);
    }
    return opened(fd, path);
}

#define MODE_ARG                                                                                             \
    mode_t mode = 0;                                                                                         \
    if (flags & (O_CREAT | O_TMPFILE)) {                                                                     \
        va_list ap;                                                                                          \
        va_start(ap, flags);                                                                                 \
        mode = va_arg(ap, mode_t);                                                                           \
        va_end(ap);                                                                                          \
    }

int open(const char* path, int flags, ...) {
    MODE_ARG
    return openCommon("open", AT_FDCWD - 1, path, flags, mode);
}
int open64(const char* path, int flags, ...) {
    MODE_ARG
    return openCommon("open64", AT_FDCWD - 1, path, flags, mode);
}
int openat(int dirfd, const char* path, int flags, ...) {
    MODE_ARG
    return openCommon("openat", dirfd, path, flags, mode);
}
int openat64(int dirfd, const char* path, int flags, ...) {
    MODE_ARG
    return openCommon("openat64", dirfd, path, flags, mode);
}

int close(int fd) {
    static auto real = next<int (*)(int)>("close");
    if (fd >= 0 && fd < MAX_FDS)
        tracked[fd][0] = 0;
    return real(fd);
}

#define ON_TRACKED_FD(symbol, fd)                                                                            \
    if (nameOf(fd)) {                                                                                        \
        const int error = change(symbol, nameOf(fd));                                                        \
        if (error) {                                                                                         \
            errno = error;                                                                                   \
            return -1;                                                                                       \
        }                                                                                                    \
    }

ssize_t write(int fd, const void* buffer, size_t count) {
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    ON_TRACKED_FD("write", fd)
    return real(fd, buffer, count);
}

int fchmod(int fd, mode_t mode) {
    static auto real = next<int (*)(int, mode_t)>("fchmod");
    ON_TRACKED_FD("fchmod", fd)
    return real(fd, mode);
}

int fsync(int fd) {
    static auto real = next<int (*)(int)>("fsync");
    ON_TRACKED_FD("fsync", fd)
    return real(fd);
}

int fdatasync(int fd) {
    static auto real = next<int (*)(int)>("fdatasync");
    ON_TRACKED_FD("fdatasync", fd)
    return real(fd);
}

int ftruncate(int fd, off_t length) {
    static auto real = next<int (*)(int, off_t)>("ftruncate");
    ON_TRACKED_FD("ftruncate", fd)
    return real(fd, length);
}

int rename(const char* from, const char* to) {
    static auto real = next<int (*)(const char*, const char*)>("rename");
    if (relative(to)) {
        const int error = change("rename", to);
        if (error) {
            errno = error;
            return -1;
        }
    }
    return real(from, to);
}

// Renames that swap two names (RENAME_EXCHANGE) count once, under the second name.
int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) {
    static auto real = next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    if (relative(to)) {
        const int error = change("renameat2", to);
        if (error) {
            errno = error;
            return -1;
        }
    }
    return real(fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to) {
    static auto real = next<int (*)(const char*, const char*)>("link");
    if (relative(to)) {
        const int error = change("link", to);
        if (error) {
            errno = error;
            return -1;
        }
    }
    return real(from, to);
}

int mkdir(const char* path, mode_t mode) {
    static auto real = next<int (*)(const char*, mode_t)>("mkdir");
    if (relative(path)) {
        const int error = change("mkdir", path);
        if (error) {
            errno = error;
            return -1;
        }
    }
    return real(path, mode);
}

int rmdir(const char* path) {
    static auto real = next<int (*)(const char*)>("rmdir");
    if (relative(path)) {
        const int error = change("rmdir", path);
        if (error) {
            errno = error;
            return -1;
        }
    }
    return real(path);
}

int unlink(const char* path) {
    static auto real = next<int (*)(const char*)>("unlink");
    if (relative(path)) {
        const int error = change("unlink", path);
        if (error) {
            errno = error;
            return -1;
        }
    }
    return real(path);
}

} // extern "C"
