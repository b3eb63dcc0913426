#pragma once

#include "accounts/accountsstore.h"

#include <QString>

// Deleting an account takes everything a new account of the same name could read: its section
// of the accounts file, its weight file and food log with their scrambled copies (whatever the
// letter case of their names), its backups and a restore still waiting for it. A mark naming the
// account is put in the data folder first; whatever stops the deletion after that (a kill, a
// failing disk), it is finished before any account is opened or created, so the account is
// either whole or gone.

// The account whose deletion was begun and not finished, empty when there is none.
QString PendingDeletion();

// Deletes the account. An account whose name cannot name a file of the data folder (written by
// hand into the accounts file) only loses its section. Raises a KalimoError when a step fails;
// the deletion is then finished by FinishInterruptedDeletion.
void DeleteAccount(AccountsStore& accounts, const QString& account);

// Finishes a deletion that was stopped half-way. Returns the account it deleted, empty when there
// was none; raises a KalimoError when it still cannot be done.
QString FinishInterruptedDeletion(AccountsStore& accounts);
