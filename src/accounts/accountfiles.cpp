#include "accountfiles.h"

#include "accounts/accountsstore.h"
#include "store/datafiles.h"
#include "store/scramble.h"

void ScrambleAccountsFile() {
    ScrambleDataFile(QStringLiteral("compte.ini"), AccountsFileKey);
}

void UnscrambleAccountsFile() {
    UnscrambleDataFile(QStringLiteral("compte.ini"), AccountsFileKey);
}

void ScrambleAccountFiles(const QString& account) {
    AccountsStore::CheckAccountName(account);
    if (!ScrambleDataFile(account + QStringLiteral(".ini"), AccountFilesKey))
        return;
    ScrambleDataFile(account + QStringLiteral(".cal"), AccountFilesKey);
}

void UnscrambleAccountFiles(const QString& account) {
    AccountsStore::CheckAccountName(account);
    // Each copy on its own: a run stopped between the two restores leaves the food log's copy
    // without the weight file's, and it must still come back.
    UnscrambleDataFile(account + QStringLiteral(".ini"), AccountFilesKey);
    UnscrambleDataFile(account + QStringLiteral(".cal"), AccountFilesKey);
}

namespace {
// Something other than a file at a copy's name (a folder, a dangling link) is met at close, when
// the copy cannot be written, so it keeps the account closed as an unreadable copy does.
QString firstUnreadable(std::initializer_list<QString> names) {
    for (const QString& name : names)
        if (const QString path = ResolveDataPath(name); StandsThere(path) && !IsReadableFile(path))
            return path;
    return {};
}
} // namespace

QString FirstUnreadableAccountFile(const QString& account) {
    return firstUnreadable({account + QStringLiteral(".ini.cry"), account + QStringLiteral(".cal.cry"),
                            account + QStringLiteral(".ini"), account + QStringLiteral(".cal")});
}

QString UnreadableAccountsFile() {
    return firstUnreadable({QStringLiteral("compte.ini.cry"), QStringLiteral("compte.ini")});
}
