#include "datafiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString stripPrefix(const QString& name) {
    if (name.startsWith(QLatin1String("./")) || name.startsWith(QLatin1String(".\\")))
        return name.mid(2);
    return name;
}
} // namespace

QString ResolveDataPath(const QString& name) {
    const QString plain = stripPrefix(name);
    if (plain.isEmpty() || QFileInfo::exists(plain))
        return plain;
    const QFileInfo info(plain);
    const QDir dir = info.dir();
    const QString wanted = info.fileName();
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return info.path() == QLatin1String(".") ? entry : dir.filePath(entry);
    }
    return plain;
}

bool DataFileExists(const QString& name) {
    return QFileInfo(ResolveDataPath(name)).isFile();
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    // Written by hand rather than with QSaveFile: every short write, the sync and the close are
    // checked, since a temporary file cut short by a full disk must never be renamed into place.
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;

    bool ok = true;
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        data += n;
        left -= n;
    }
    // The new file keeps the old one's permissions; a new file gets the usual ones.
    struct stat old {};
    const mode_t umaskNow = ::umask(0);
    ::umask(umaskNow);
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~umaskNow);
    ok = ok && ::fchmod(fd, mode) == 0;
    ok = ok && ::fdatasync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}
