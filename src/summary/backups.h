#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// Kalimo keeps dated copies of each account's journal in the folder "sauvegardes" of the data
// folder, one folder "AAAA-MM-JJ" per day, so that a month typed over or a food log emptied by
// mistake can be taken back. A day's folder holds the account's weight file and food log in
// their scrambled form (account + ".ini.cry", account + ".cal.cry"), as they rest in the data
// folder, with "compte.ini.cry" and "calories.ini" of that moment; the accounts that closed
// that day share it. A day's folder is only ever put in place whole: it is written under a
// temporary name, synced, and renamed (or swapped) into place. A journal that has not changed
// since the account's last backup is linked to that backup's file rather than copied again.

inline const QString BackupsFolder = QStringLiteral("sauvegardes");

// The dates to keep among an account's backups: the 14 most recent, plus the earliest of each of
// the 12 months that end with today's.
QList<QDate> BackupDatesToKeep(QList<QDate> dates, const QDate& today);

enum class BackupResult {
    Made,
    AlreadyMadeToday,
    Unchanged,     // the latest backup already holds this journal
    NothingToSave, // the account has no weight file
};

// The backup made when the program closes, at most once a day: the account's files as they
// are at rest now. Raises a KalimoError when it cannot be made; nothing is then left behind.
BackupResult BackupAtClose(const QString& account, const QDate& today);

// Removes the account's backups that BackupDatesToKeep lets go, and what interrupted backups left
// behind. A backup is taken out as a backup is put in, in one step (its day's folder set aside
// under a temporary name, or swapped for a copy without it), so a kill never leaves one cut in
// two. A day's folder goes once no account's journal is left in it. Raises a KalimoError when
// the disk refuses; the backups left are whole, and removed at a later close.
void RemoveOldBackups(const QString& account, const QDate& today);

// Removes every backup of the account, and a restore still waiting for it, each in one step as
// above: the account is being deleted. Raises a KalimoError when the disk refuses.
void RemoveAccountBackups(const QString& account);

// One of an account's backups as the list shows it.
struct BackupInfo {
    QDate date;
    bool readable = false; // false: "illisible", cannot be restored
    int weighedDays = 0;
    std::optional<double> lastWeight;
    QDate lastWeightDate;
    int mealDays = 0;
};

// The account's backups, newest first. Other accounts' backups are never read.
QList<BackupInfo> ListBackups(const QString& account);

// Puts the account's weight file and food log of the backup of that date back in the data
// folder, as plain files (the account is open). The present journal is backed up first under
// today's date. The two files are replaced together: the pair to restore is first put whole
// under "sauvegardes/.restauration", then each file is moved out of it into place; a restore
// stopped after that is finished by FinishInterruptedRestore, and one finished is never applied
// again. A backup whose weight file or food log is not a readable file ("illisible") is refused.
// Raises a KalimoError when it cannot be done.
void RestoreBackup(const QString& account, const QDate& date, const QDate& today);

// Finishes a restore that a crash or a failing disk stopped half-way. Returns whether there was
// one. Called before an account's files are opened.
bool FinishInterruptedRestore();

// The message of the box shown when the backup at close could not be made.
QString BackupFailedMessage(const QString& why);
