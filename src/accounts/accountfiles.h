#pragma once

#include <QString>

// The accounts' files at rest: scrambled between two runs (the name + ".cry"), restored in use.

// "compte.ini" <-> "compte.ini.cry".
void ScrambleAccountsFile();
void UnscrambleAccountsFile();

// account + ".ini" and account + ".cal" <-> their ".cry" copies. Scrambling handles the food log
// only when the weight file was; restoring handles each copy on its own. A name that cannot be an
// account's file name raises an error and nothing is touched.
void ScrambleAccountFiles(const QString& account);
void UnscrambleAccountFiles(const QString& account);

// The first of an account's files (scrambled copies, then plain files) that exists but cannot be
// read as a file (a folder at its name included), empty when there is none: such an account must not be
// opened, or its journal would be started again from nothing and written over the copy at close.
QString FirstUnreadableAccountFile(const QString& account);
// The accounts file or its copy when something stands at its name that cannot be read as a file,
// empty otherwise.
QString UnreadableAccountsFile();
