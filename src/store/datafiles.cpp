#include "datafiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

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

bool IsReadableFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) > 0) {
    }
    return file.error() == QFileDevice::NoError;
}

namespace {
// ".kalimo-" + six letters or digits + ".tmp", in the folder of the file being written.
const QLatin1String TempPrefix(".kalimo-");
const QLatin1String TempSuffix(".tmp");

int createTemporaryFile(const QByteArray& folder, QByteArray& name) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray random;
        for (int i = 0; i < 6; ++i)
            random += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
        name = folder + '/' + QByteArray(TempPrefix.data(), TempPrefix.size()) + random +
               QByteArray(TempSuffix.data(), TempSuffix.size());
        // Created readable by its owner only: until it is renamed it may be all that is left of a
        // journal in plain text.
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool isTemporaryName(const QString& name) {
    static const QRegularExpression current(QStringLiteral("^\\.kalimo-[A-Za-z0-9]{6}\\.tmp$"));
    return current.match(name).hasMatch();
}

// Earlier versions put six random characters after the target's own name. Such a name may as
// well be a person's own copy ("Paul.ini.backup"), so these are never deleted: they are only made
// readable by their owner, as they may hold a journal or the passwords in plain text.
bool isEarlierTemporaryName(const QString& name) {
    static const QRegularExpression earlier(QStringLiteral("^.+\\.(ini|cal)(\\.cry)?\\.[A-Za-z0-9]{6}$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return earlier.match(name).hasMatch();
}
} // namespace

bool SyncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Some file systems cannot sync a folder (EINVAL): there is nothing more to do for it, and
    // the file itself is already in place.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == EOPNOTSUPP;
    return (::close(fd) == 0) && ok;
}

bool WriteAllAndSync(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return ::fdatasync(fd) == 0;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, unsigned newFileMode) {
    // Written by hand rather than with QSaveFile: every short write, the sync and the close are
    // checked, since a temporary file cut short by a full disk must never be renamed into place.
    const QByteArray target = QFile::encodeName(path);
    const QString folder = QFileInfo(path).path();
    QByteArray temp;
    const int fd = createTemporaryFile(QFile::encodeName(folder), temp);
    if (fd < 0)
        return false;

    struct stat old {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : mode_t(newFileMode);
    bool ok = ::fchmod(fd, mode) == 0 && WriteAllAndSync(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    return SyncFolder(folder);
}

int RemoveInterruptedWrites(const QString& folder) {
    const QDir dir(folder);
    int removed = 0;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryName(name) && QFile::remove(dir.filePath(name)))
            ++removed;
        else if (isEarlierTemporaryName(name))
            ::chmod(QFile::encodeName(dir.filePath(name)).constData(), 0600);
    }
    if (removed > 0)
        SyncFolder(folder);
    return removed;
}

unsigned UsualNewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
