#include "scramble.h"

#include "accounts/accountsstore.h"
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

namespace {
// Scrambling: the plain file (found without regard to case) goes to its name + ".cry", replacing
// an old copy whatever the case of its name.
bool scrambleFile(const QString& plainName, QByteArrayView key) {
    const QString source = ResolveDataPath(plainName);
    if (!QFileInfo(source).isFile())
        return false;
    return ConvertDataFile(source, ResolveDataPath(source + CryExtension), key, ScrambleDirection::Scramble);
}

bool unscrambleFile(const QString& plainName, QByteArrayView key) {
    const QString source = ResolveDataPath(plainName + CryExtension);
    if (!QFileInfo(source).isFile())
        return false;
    return ConvertDataFile(source, ResolveDataPath(plainNameOf(source)), key, ScrambleDirection::Unscramble);
}

QByteArrayView keyOf(const char* key) {
    return QByteArrayView(key, qstrlen(key));
}
} // namespace

void ScrambleAccountsFile() {
    scrambleFile(QStringLiteral("compte.ini"), keyOf(AccountsFileKey));
}

void UnscrambleAccountsFile() {
    unscrambleFile(QStringLiteral("compte.ini"), keyOf(AccountsFileKey));
}

void ScrambleAccountFiles(const QString& account) {
    AccountsStore::CheckAccountName(account);
    if (!scrambleFile(account + QStringLiteral(".ini"), keyOf(AccountFilesKey)))
        return;
    scrambleFile(account + QStringLiteral(".cal"), keyOf(AccountFilesKey));
}

void UnscrambleAccountFiles(const QString& account) {
    AccountsStore::CheckAccountName(account);
    // Each copy on its own: a run stopped between the two restores leaves the food log's copy
    // without the weight file's, and it must still come back.
    unscrambleFile(account + QStringLiteral(".ini"), keyOf(AccountFilesKey));
    unscrambleFile(account + QStringLiteral(".cal"), keyOf(AccountFilesKey));
}

namespace {
// Something at a file's name, whatever it is: a folder or a dangling link where a copy should be
// is met at close, when the copy cannot be written, so it keeps the account closed as an
// unreadable copy does.
bool standsThere(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
} // namespace

QString FirstUnreadableAccountFile(const QString& account) {
    for (const QString& suffix : {QStringLiteral(".ini.cry"), QStringLiteral(".cal.cry"),
                                  QStringLiteral(".ini"), QStringLiteral(".cal")}) {
        const QString path = ResolveDataPath(account + suffix);
        if (standsThere(path) && !IsReadableFile(path))
            return path;
    }
    return {};
}

QString UnreadableAccountsFile() {
    for (const QString& name : {QStringLiteral("compte.ini.cry"), QStringLiteral("compte.ini")}) {
        const QString path = ResolveDataPath(name);
        if (standsThere(path) && !IsReadableFile(path))
            return path;
    }
    return {};
}
