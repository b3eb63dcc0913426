#include "accountdeletion.h"

#include "accounts/accountfiles.h"
#include "store/datafiles.h"
#include "store/kalimoerror.h"
#include "summary/backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {
// Not the form of a temporary file, which a start removes: this mark must outlive a crash.
const QString DeletionMark = QStringLiteral(".kalimo-suppression");

QString failure(const QString& account, const QString& why) {
    return QStringLiteral("Impossible d'achever la suppression du compte %1 : %2. Elle le sera avant que "
                          "Kalimo n'ouvre ou ne crée un compte.")
        .arg(account, why);
}

// Every file of the data folder that an account of that name would read as its own.
void removeAccountFiles(const QString& account) {
    const QStringList names = {account + QStringLiteral(".ini"), account + QStringLiteral(".cal"),
                               account + QStringLiteral(".ini.cry"), account + QStringLiteral(".cal.cry")};
    const QDir here(QStringLiteral("."));
    for (const QFileInfo& entry : here.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        for (const QString& name : names) {
            if (entry.fileName().compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (::unlink(QFile::encodeName(entry.fileName()).constData()) != 0 && errno != ENOENT)
                throw KalimoError(
                    QStringLiteral("Impossible de supprimer le fichier %1").arg(entry.fileName()));
        }
    }
}

void finish(AccountsStore& accounts, const QString& account) {
    // The section is taken from the accounts file as it stands: never from the empty text that an
    // unreadable one, or one still scrambled, reads as.
    if (const QString unreadable = UnreadableAccountsFile(); !unreadable.isEmpty())
        throw KalimoError(Messages::CannotRead(unreadable));
    if (DataFileExists(QStringLiteral("compte.ini.cry")))
        throw KalimoError(Messages::CannotRead(ResolveDataPath(QStringLiteral("compte.ini.cry"))));
    if (accounts.File().ReadSections().contains(account, Qt::CaseInsensitive))
        accounts.Erase(account);
    if (AccountsStore::NameProblem(account).isEmpty()) {
        removeAccountFiles(account);
        RemoveAccountBackups(account);
    }
    if (!SyncFolder(QStringLiteral(".")) || ::unlink(QFile::encodeName(DeletionMark).constData()) != 0)
        throw KalimoError(Messages::CannotWrite(DeletionMark));
    SyncFolder(QStringLiteral("."));
}
} // namespace

QString PendingDeletion() {
    QFile mark(DeletionMark);
    if (!mark.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(mark.readAll());
}

void DeleteAccount(AccountsStore& accounts, const QString& account) {
    FinishInterruptedDeletion(accounts);
    if (!WriteFileAtomically(DeletionMark, account.toUtf8())) {
        // Only the folder's sync may have failed, with the mark in place: it will be finished.
        if (PendingDeletion() == account)
            throw KalimoError(failure(account, Messages::CannotWrite(DeletionMark)));
        throw KalimoError(Messages::CannotWrite(DeletionMark));
    }
    try {
        finish(accounts, account);
    } catch (const KalimoError& e) {
        throw KalimoError(failure(account, e.message()));
    }
}

QString FinishInterruptedDeletion(AccountsStore& accounts) {
    const QString account = PendingDeletion();
    if (account.isEmpty()) {
        // An empty mark (a kill before its text was in place cannot leave one, but a person can).
        if (QFileInfo(DeletionMark).isFile())
            ::unlink(QFile::encodeName(DeletionMark).constData());
        return {};
    }
    try {
        finish(accounts, account);
    } catch (const KalimoError& e) {
        throw KalimoError(failure(account, e.message()));
    }
    return account;
}
