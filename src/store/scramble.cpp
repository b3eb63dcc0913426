#include "scramble.h"

#include "datafiles.h"
#include "kalimoerror.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString CryExtension = QStringLiteral(".cry");

QString plainNameOf(const QString& scrambledPath) {
    return scrambledPath.chopped(CryExtension.size());
}
} // namespace

void TransformBytes(QByteArray& bytes, QByteArrayView key, ScrambleDirection direction) {
    const qsizetype keyLength = key.size();
    if (keyLength == 0)
        return;
    char* p = bytes.data();
    const qsizetype n = bytes.size();
    const bool scramble = direction == ScrambleDirection::Scramble;
    // Key by key rather than with a division per byte: backups read megabytes of journals.
    for (qsizetype start = 0; start < n; start += keyLength) {
        const qsizetype end = std::min(n, start + keyLength);
        for (qsizetype i = start; i < end; ++i) {
            const auto k = static_cast<unsigned char>(key[i - start]);
            const auto b = static_cast<unsigned char>(p[i]);
            p[i] = static_cast<char>(static_cast<unsigned char>(scramble ? b + k : b - k));
        }
    }
}

bool ConvertDataFile(const QString& source, const QString& target, QByteArrayView key,
                     ScrambleDirection direction) {
    QFile in(source);
    if (!QFileInfo(source).isFile())
        return false;
    // A source that cannot be read is left as it is, never deleted.
    if (!in.open(QIODevice::ReadOnly))
        throw KalimoError(Messages::CannotRead(source));
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        throw KalimoError(Messages::CannotRead(source));
    in.close();
    // Nor is a target that cannot be read replaced: it may be the only copy of a journal that
    // could not be restored.
    if (QFileInfo(target).isFile() && !IsReadableFile(target))
        throw KalimoError(Messages::CannotRead(target));

    TransformBytes(bytes, key, direction);
    if (!WriteFileAtomically(target, bytes))
        throw KalimoError(Messages::CannotCreate(target));
    // Only now that the copy is safely in place may the source go.
    if (!QFile::remove(source))
        throw KalimoError(QStringLiteral("Impossible de supprimer le fichier %1").arg(source));
    return true;
}

bool ScrambleDataFile(const QString& plainName, QByteArrayView key) {
    const QString source = ResolveDataPath(plainName);
    if (!QFileInfo(source).isFile())
        return false;
    return ConvertDataFile(source, ResolveDataPath(source + CryExtension), key, ScrambleDirection::Scramble);
}

bool UnscrambleDataFile(const QString& plainName, QByteArrayView key) {
    const QString source = ResolveDataPath(plainName + CryExtension);
    if (!QFileInfo(source).isFile())
        return false;
    return ConvertDataFile(source, ResolveDataPath(plainNameOf(source)), key, ScrambleDirection::Unscramble);
}

bool StandsThere(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
