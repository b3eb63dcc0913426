#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Between two runs the accounts file and each account's two files are kept only as scrambled
// copies (the name + ".cry"): every byte shifted by the matching byte of a repeating key,
// modulo 256. It keeps the journals from being read at a glance; it is not encryption.

inline constexpr char AccountsFileKey[] = "moulinet";
inline constexpr char AccountFilesKey[] = "tambourinage";

enum class ScrambleDirection { Scramble, Unscramble };

void TransformBytes(QByteArray& bytes, QByteArrayView key, ScrambleDirection direction);

// Converts source into target (any old target replaced), then deletes source. The target is
// written under a temporary name, flushed and renamed into place before the source goes, so
// whatever fails, neither is lost. Returns false, changing nothing, when source is missing;
// raises a KalimoError when the conversion fails.
bool ConvertDataFile(const QString& source, const QString& target, QByteArrayView key,
                     ScrambleDirection direction);

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
